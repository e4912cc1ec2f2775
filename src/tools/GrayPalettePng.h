// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <atomic>
#include <optional>

// A gray page whose levels already fit the palette, written without the image library. The library's reduction
// ("+dither -colors N") keeps each level of such a page exactly, and its gray scan and 16-bit pixel cache were most
// of a text page's cost. Nothing when the page is not a gray 8-bit RGB TIFF of at most `levels` levels: the
// library then does the work.
namespace GrayPalettePng {

struct Page
{
    QByteArray png;
    QSize size;
    int levels = 0;
    double reading = 0; // seconds, the gray scan included
    double encoding = 0;
};

// A page up to this many pixels keeps its levels from the scan for the writing; a larger one is read twice, so that
// a page at 2400 dpi never needs more than its packed PNG rows in memory.
constexpr qint64 HeldPixels = 48'000'000;

std::optional<Page> write(const QString &tiff, int levels, int dpi, const std::atomic_bool *cancel,
                          qint64 heldPixels = HeldPixels);

} // namespace GrayPalettePng
