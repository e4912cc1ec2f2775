// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/OutputSize.h"

#include "tools/GhostscriptCommands.h"

#include <cmath>

namespace OutputSize {

QSize pixels(QSizeF pagePoints, int dpi, bool antialias)
{
    return {GhostscriptCommands::renderedPixels(pagePoints.width(), dpi, antialias),
            GhostscriptCommands::renderedPixels(pagePoints.height(), dpi, antialias)};
}

QSize trimmedEstimate(QSizeF trimmedPoints, int dpi)
{
    return {int(std::lround(trimmedPoints.width() * dpi / 72.0)),
            int(std::lround(trimmedPoints.height() * dpi / 72.0))};
}

int fittingDpi(QSizeF pagePoints, QSize box)
{
    if (pagePoints.width() <= 0 || pagePoints.height() <= 0 || box.isEmpty())
        return 1;
    const double scale = std::min(box.width() / pagePoints.width(), box.height() / pagePoints.height());
    return std::max(1, int(std::floor(72.0 * scale)));
}

} // namespace OutputSize
