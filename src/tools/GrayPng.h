// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/PageTiff.h"

#include <QString>

#include <atomic>
#include <optional>

// A page in 8-bit gray, written without the image library. Its "-colorspace Gray" is the Rec. 709 luma of the sRGB
// samples, rounded to 16 bits, then cut to 8: checked on all 16,777,216 colours, dithered or not. Nothing when the
// page is not an 8-bit RGB TIFF or its rows are too large to hold: the library then does the work.
namespace GrayPng {

// The gray level the library gives a colour.
uchar levelOf(uchar red, uchar green, uchar blue);

std::optional<PageTiff::EncodedPage> write(const QString &tiff, int dpi, const std::atomic_bool *cancel);

} // namespace GrayPng
