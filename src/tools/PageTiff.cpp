// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PageTiff.h"

#include <QFile>

#include <climits>

namespace PageTiff {

namespace {

// libtiff's warnings and errors go nowhere: a page it cannot read here goes to the image library, which tells.
void quiet(const char *, const char *, va_list) {}

} // namespace

File openRgb(const QString &path, QSize *size)
{
    TIFFSetWarningHandler(quiet);
    TIFFSetErrorHandler(quiet);
    File file(TIFFOpen(QFile::encodeName(path).constData(), "rm"));
    if (!file)
        return {};
    uint32_t width = 0, height = 0;
    uint16_t bits = 0, samples = 0, planar = PLANARCONFIG_CONTIG, photometric = 0;
    TIFFGetField(file.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(file.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(file.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(file.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(file.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetField(file.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    if (width == 0 || height == 0 || width > uint32_t(INT_MAX) || height > uint32_t(INT_MAX) || bits != 8
        || samples != 3 || planar != PLANARCONFIG_CONTIG || photometric != PHOTOMETRIC_RGB || TIFFIsTiled(file.get())
        || TIFFScanlineSize(file.get()) < tmsize_t(width) * 3)
        return {};
    *size = QSize(int(width), int(height));
    return file;
}

} // namespace PageTiff
