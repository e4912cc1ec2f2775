// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/RenderPlan.h"

#include "conversion/ConversionJob.h"

#include <QCoreApplication>

#include <algorithm>

RenderPlan renderPlan(const ConversionJob &job, const QList<int> &pages, const QList<QSizeF> &sizes,
                      const ImageRoom &room)
{
    RenderPlan plan;
    const bool mixed = std::any_of(sizes.cbegin(), sizes.cend(), [&](QSizeF size) { return size != sizes.first(); });
    ConversionJob page = job;
    for (int index = 0; index < pages.size() && index < sizes.size(); ++index) {
        page.pageSize = sizes.at(index);
        plan.problem = page.checkSize(room);
        if (!plan.problem.isNone()) {
            if (mixed)
                plan.problem.message = QCoreApplication::translate("ConversionEngine", "Page %1: %2")
                                           .arg(pages.at(index))
                                           .arg(plan.problem.message);
            plan.runs.clear();
            return plan;
        }
        const int dpi = page.renderDpi();
        if (!plan.runs.isEmpty() && plan.runs.last().dpi == dpi)
            plan.runs.last().end = index + 1;
        else
            plan.runs << PlannedRun{index, index + 1, dpi};
    }
    return plan;
}
