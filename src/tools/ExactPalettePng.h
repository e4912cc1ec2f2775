// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/PageTiff.h"

#include <QString>

#include <atomic>
#include <optional>

// A page whose colours already fit the palette, written without the image library. The library's reduction
// ("+dither -colors N") keeps every colour of such a page exactly, and its gray scan, 16-bit pixel cache and colour
// tree were most of a text page's cost. Up to 256 colours the file holds a palette, beyond that (Hicolor) the colours
// themselves. Nothing when the page is not an 8-bit RGB TIFF of at most `colours` colours: the library then does the
// work.
namespace ExactPalettePng {

using Page = PageTiff::EncodedPage;

// A page up to this many pixels keeps its colours from the count for the writing; a larger one is read twice, so
// that a page at 2400 dpi never needs more than its packed PNG rows in memory.
constexpr qint64 HeldPixels = 48'000'000;
constexpr int MaxColours = 65536;

std::optional<Page> write(const QString &tiff, int colours, int dpi, const std::atomic_bool *cancel,
                          qint64 heldPixels = HeldPixels);

} // namespace ExactPalettePng
