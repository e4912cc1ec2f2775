// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/OutputSize.h"

#include "settings/ConversionOptions.h"
#include "tools/GhostscriptCommands.h"

#include <cmath>

namespace OutputSize {

QSize pixels(QSizeF pagePoints, int dpi)
{
    return {GhostscriptCommands::renderedPixels(pagePoints.width(), dpi),
            GhostscriptCommands::renderedPixels(pagePoints.height(), dpi)};
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

QSize fitted(QSizeF size, QSize box)
{
    if (size.width() <= 0 || size.height() <= 0 || (box.width() <= 0 && box.height() <= 0))
        return size.toSize();
    const double byWidth = box.width() > 0 ? box.width() / size.width() : HUGE_VAL;
    const double byHeight = box.height() > 0 ? box.height() / size.height() : HUGE_VAL;
    if (byWidth < byHeight)
        return {box.width(), std::max(1, int(std::floor(byWidth * size.height() + 0.5)))};
    return {std::max(1, int(std::floor(byHeight * size.width() + 0.5))), box.height()};
}

int boxDpi(QSizeF pagePoints, QSize box)
{
    if (pagePoints.width() <= 0 || pagePoints.height() <= 0)
        return 0;
    const double byWidth = box.width() > 0 ? box.width() / pagePoints.width() : HUGE_VAL;
    const double byHeight = box.height() > 0 ? box.height() / pagePoints.height() : HUGE_VAL;
    const double scale = std::min(byWidth, byHeight);
    if (!std::isfinite(scale))
        return 0;
    return std::max(1, int(std::ceil(72.0 * scale - 1e-9)));
}

QSize written(const ConversionOptions &options, QSizeF pagePoints, QSizeF trimmedPoints)
{
    const bool trimmed = options.trim && trimmedPoints.isValid();
    if (options.usesBox() && trimmed)
        return fitted(trimmedPoints, options.box());
    // Scaled from the bitmap as rendered, whose sides are rounded to whole pixels.
    if (options.usesBox())
        return fitted(QSizeF(pixels(pagePoints, boxDpi(pagePoints, options.box()))), options.box());
    if (trimmed)
        return trimmedEstimate(trimmedPoints, options.dpi);
    return pixels(pagePoints, options.dpi);
}

} // namespace OutputSize
