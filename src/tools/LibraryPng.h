// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ImageEncoding.h"

#include <QByteArray>

#include <atomic>
#include <optional>
#include <wand/MagickWand.h>

// The image library's image, as rows for our own PNG writer.
namespace LibraryPng {

// The library's PNG writer analyses every pixel again before it writes, and took longer than reducing the
// colours. The forms the encoding names (a palette, gray, true colour at 8 bits, or for a transparent image the least
// form that holds its alpha), for an image that is not too large, are written by our own writer instead: the same
// pixels in a quarter of the time. Nothing for the rest,
// which the library writes; an empty result when cancelled.
std::optional<QByteArray> write(const Image *image, const ImageEncoding &encoding, const std::atomic_bool *cancel,
                                ExceptionInfo *exception);

} // namespace LibraryPng
