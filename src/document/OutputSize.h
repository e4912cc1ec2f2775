// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QSizeF>

struct ConversionOptions;

namespace OutputSize {

// The size of the image a page of this size in points becomes: exactly what Ghostscript renders.
QSize pixels(QSizeF pagePoints, int dpi);
// A trimmed page is measured on the preview, so its size at another resolution is an estimate.
QSize trimmedEstimate(QSizeF trimmedPoints, int dpi);
// The largest whole resolution at which a page fits the box (in device pixels); at least 1.
int fittingDpi(QSizeF pagePoints, QSize box);
// A size scaled to fit box as the image library's resize does: a side of 0 in box is free, and the
// side that governs comes out exact.
QSize fitted(QSizeF size, QSize box);
// The least resolution at which a page of pagePoints covers box, to be scaled down to it.
int boxDpi(QSizeF pagePoints, QSize box);
// What a page of pagePoints is written as under options; trimmedPoints, when valid, is the page after
// trimming.
QSize written(const ConversionOptions &options, QSizeF pagePoints, QSizeF trimmedPoints = {});

} // namespace OutputSize
