// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QSizeF>

namespace OutputSize {

// The size of the image a page of this size in points becomes: exactly what Ghostscript renders, with
// or without its halving for antialiasing.
QSize pixels(QSizeF pagePoints, int dpi, bool antialias);
// A trimmed page is measured on the preview, so its size at another resolution is an estimate.
QSize trimmedEstimate(QSizeF trimmedPoints, int dpi);
// The largest whole resolution at which a page fits the box (in device pixels); at least 1.
int fittingDpi(QSizeF pagePoints, QSize box);

} // namespace OutputSize
