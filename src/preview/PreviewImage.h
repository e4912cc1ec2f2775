// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ImageObject.h"
#include "tools/Twips.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

struct ConversionSettings;

// The reduced, colour-limited copy of a page shown in the main window's square frame.
namespace PreviewImage {

// The frame, in twips.
constexpr int FrameLeftTwips = 120;
constexpr int FrameTopTwips = 1860;
constexpr int FrameSizeTwips = 3900;

// Inside size of the frame in pixels (258 at 15 twips per pixel).
double innerFrameSize(double twipsPerPixel = Twips::PerPixel);
// The "-resize" box. With trimming the box shrinks by what the trim cut, scaled like the untrimmed page.
QString previewBox(double frameInner, bool trimmed, QSize untrimmed, QSize trimmedSize);
// Colours are reduced after the resize: resizing a reduced image blends its palette back into many colours.
ArgVector previewVector(const QString &bitmap, const QString &box, bool monochrome, qint32 colorCount);
// Top-left pixel of a picture centred in the frame.
QPoint centredPosition(QSize picture);

// Makes the preview from the page bitmap, by way of a copy named bitmap + ".bmp"; the caller owns and
// deletes both files. A null image and the library's message on failure.
QImage make(const QString &bitmap, const ConversionSettings &settings, QSize untrimmed, QSize trimmedSize,
            QString *error);

} // namespace PreviewImage
