// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Problem.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <atomic>

class ImageObject;
struct ConversionJob;
struct StageTimes;

// What a page's image holds, besides its pixels.
struct PageFacts
{
    QSize size;
    int colors = 0; // in its palette; 0 for an image without one
    bool blank = false;
};

// Turns one rendered page into its image file. Runs on a worker thread.
namespace PageWriter {

// Processes the bitmap into the page's encoded image; nothing when cancelled. times, when given, gets where
// the time went.
Problem encode(const ConversionJob &job, const QString &bitmap, const ImageObject &images,
               const std::atomic_bool &cancel, const std::atomic_bool *hold, QByteArray *encoded,
               StageTimes *times = nullptr, PageFacts *facts = nullptr);
// Processes the bitmap and writes the page's file. Nothing partial is ever left under the output name,
// and an existing file is replaced only by a complete one.
// While *hold is set, nothing new is begun or written.
Problem process(const ConversionJob &job, int page, const QString &bitmap, const ImageObject &images,
                const std::atomic_bool &cancel, const std::atomic_bool *hold = nullptr, StageTimes *times = nullptr,
                PageFacts *facts = nullptr);
// Writes data to path in one step; nothing at all once *cancel is set. Only a regular file, or nothing, is
// replaced under that name.
Problem writeAtomically(const QString &path, const QByteArray &data, const std::atomic_bool *cancel = nullptr);
// A folder that cannot take a new file fails every page alike, so it is checked before any rendering.
Problem checkWritable(const QString &folder);
// A name that is a link or a special file, or a file the user may not change, fails before any rendering.
Problem checkReplaceable(const QString &path);

} // namespace PageWriter
