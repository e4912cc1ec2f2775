// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/RunTiming.h"

#include "tools/Logging.h"

#include <QStringList>

#include <sys/resource.h>

namespace {

// CPU seconds of the children that have ended: Ghostscript's.
double childrenCpu()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

void RunTiming::start()
{
    *this = {};
    m_on = lcTiming().isInfoEnabled();
    if (!m_on)
        return;
    m_wall.start();
    m_childrenCpuAtStart = childrenCpu();
}

void RunTiming::add(quintptr thread, double busy, const StageTimes &times)
{
    m_stages += times;
    m_busy[thread] += busy;
}

QString RunTiming::summary(int pages) const
{
    // Ghostscript's CPU time next to the wall time of each worker stage: on a busy core, much the same.
    const double wall = double(m_wall.nsecsElapsed()) / 1e9;
    const double rendering = childrenCpu() - m_childrenCpuAtStart;
    const double total = std::max(1e-9, rendering + m_stages.total());
    QStringList shares;
    for (const auto &[name, seconds] :
         {std::pair{"rendering", rendering}, std::pair{"reading", m_stages.reading},
          std::pair{"trimming", m_stages.trimming}, std::pair{"scaling", m_stages.scaling},
          std::pair{"reducing", m_stages.reducing}, std::pair{"encoding", m_stages.encoding},
          std::pair{"writing", m_stages.writing}})
        shares << QStringLiteral("%1 %2 s %3%")
                      .arg(QLatin1String(name))
                      .arg(seconds, 0, 'f', 3)
                      .arg(qRound(100 * seconds / total));
    QStringList busy;
    for (const double seconds : m_busy)
        busy << QStringLiteral("%1%").arg(qRound(100 * seconds / std::max(1e-9, wall)));
    return QStringLiteral("%1 pages in %2 s; %3; workers busy %4")
        .arg(pages)
        .arg(wall, 0, 'f', 2)
        .arg(shares.join(QStringLiteral(", ")))
        .arg(busy.isEmpty() ? QStringLiteral("none") : busy.join(QLatin1Char(' ')));
}
