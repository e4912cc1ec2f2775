// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace TestDocuments {

// A PDF with one page per size (in points), each page with a framed page number in it.
bool writePdf(const QString &path, const QList<QSizeF> &pageSizesPt);
// A PNG of the given size: a colour gradient with a white margin of `margin` pixels.
bool writeGradientPng(const QString &path, int width, int height, int margin = 0);
// Number of distinct colours, width and height of an image file, read through ImageMagick.
int colorCount(const QString &path);
QSize imageSize(const QString &path);
// Files in a folder whose names start with SFG.
QStringList sfgFilesIn(const QString &folder);

inline QSizeF letter()
{
    return {612, 792};
}
inline QSizeF a4()
{
    return {595, 842};
}

} // namespace TestDocuments
