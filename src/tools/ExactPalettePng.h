// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/PageTiff.h"

#include <QString>

#include <atomic>
#include <optional>

// A page reduced to a palette without the image library, as the library's reduction ("+dither -colors N") makes it.
// A page whose colours already fit the palette keeps every colour exactly; one of more colours goes through our own
// run of the library's colour tree (ColourTree). The library's gray scan, 16-bit pixel cache and colour tree were
// most of a text page's cost, and at 2400 dpi its pixel cache spilled gigabytes to disk. Up to 256 colours the file
// holds a palette, beyond that (Hicolor) the colours themselves. Nothing when the page is not an 8-bit RGB TIFF, is
// gray alone but has more levels than `colours`, or in Hicolor has more colours than it holds: the library then does
// the work.
namespace ExactPalettePng {

using Page = PageTiff::EncodedPage;

// A page up to this many pixels keeps its colours from the count for the writing; a larger one is read twice, so
// that a page at 2400 dpi never needs more than its packed PNG rows in memory.
constexpr qint64 HeldPixels = 48'000'000;
constexpr int MaxColours = 65536;

std::optional<Page> write(const QString &tiff, int colours, int dpi, const std::atomic_bool *cancel,
                          qint64 heldPixels = HeldPixels);

// A page of Ghostscript's with alpha (an 8-bit RGBA PNG) reduced to at most 256 colours and its alpha levelled, as
// "+dither -colors N -channel A -level 2%,100% +channel" makes it, in an indexed PNG with the palette's alpha.
// Nothing for a page larger than HeldPixels, or any other PNG: the library then does the work.
std::optional<Page> writeTransparent(const QString &png, int colours, int dpi, const std::atomic_bool *cancel);

} // namespace ExactPalettePng
