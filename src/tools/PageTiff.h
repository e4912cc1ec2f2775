// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <memory>
#include <tiffio.h>

// Ghostscript's page bitmap as our own writers read it, and what they make of it.
namespace PageTiff {

struct Closer
{
    void operator()(TIFF *tiff) const { TIFFClose(tiff); }
};
using File = std::unique_ptr<TIFF, Closer>;

// An 8-bit RGB page in strips of interleaved samples, and its size; nothing for any other TIFF, which the image
// library reads and tells about.
File openRgb(const QString &path, QSize *size);

// Our writers hold the packed rows whole and deflate them in one pass: a 4-bit A4 page at 2400 dpi is 280 MB.
constexpr qint64 MaxPackedBytes = qint64(600) << 20;

struct EncodedPage
{
    QByteArray png;
    QSize size;
    int colours = 0;      // of a palette; 0 for none
    bool uniform = false; // every pixel the same
    double reading = 0;   // seconds, counting the colours included
    double encoding = 0;
};

} // namespace PageTiff
