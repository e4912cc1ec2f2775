// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ImageObject.h"

#include <QElapsedTimer>
#include <QHash>
#include <QString>

// Where a conversion run's time went, while the timing log category is on: Ghostscript's CPU time next to
// the workers' time in each stage, and how busy each worker was.
class RunTiming
{
public:
    // Starts measuring when the category is on; off otherwise.
    void start();
    bool isOn() const { return m_on; }
    // A page a worker thread spent busy seconds on.
    void add(quintptr thread, double busy, const StageTimes &times);
    // One line: each stage's seconds and share, and each worker's load.
    QString summary(int pages) const;

private:
    bool m_on = false;
    QElapsedTimer m_wall;
    double m_childrenCpuAtStart = 0;
    StageTimes m_stages;
    QHash<quintptr, double> m_busy;
};
