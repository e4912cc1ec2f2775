// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Problem.h"

#include <QList>
#include <QSizeF>

class ConversionJob;
struct ImageRoom;

// Pages rendered by one Ghostscript run, all at one resolution: positions begin to end - 1 among the
// conversion's pages.
struct PlannedRun
{
    int begin = 0;
    int end = 0;
    int dpi = 0;
    bool operator==(const PlannedRun &) const = default;
};

// The runs, or why the pages cannot be converted.
struct RenderPlan
{
    QList<PlannedRun> runs;
    Problem problem;
};

// How pages of these sizes (in points, one for each page, in order) are rendered for job: neighbours of one
// resolution in one run. Each page is judged on its own, as a page the size of the one before it may still be
// taller; the first that does not fit refuses them all, named by its number when the sizes differ.
RenderPlan renderPlan(const ConversionJob &job, const QList<int> &pages, const QList<QSizeF> &sizes,
                      const ImageRoom &room);
