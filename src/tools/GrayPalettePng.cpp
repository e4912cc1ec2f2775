// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/GrayPalettePng.h"

#include "tools/PngEncoder.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <array>
#include <memory>
#include <numeric>
#include <tiffio.h>
#include <vector>

namespace GrayPalettePng {

namespace {

// As large as our own PNG writer takes; the larger pages stream through the library.
constexpr qint64 MaxPixels = 48'000'000;

struct TiffCloser
{
    void operator()(TIFF *tiff) const { TIFFClose(tiff); }
};

// The library's warnings and errors go nowhere: a page it cannot read here goes to the library, which tells.
void quiet(const char *, const char *, va_list) {}

} // namespace

std::optional<Page> write(const QString &tiff, int levels, int dpi, const std::atomic_bool *cancel)
{
    QElapsedTimer clock;
    clock.start();
    Page result;
    TIFFSetWarningHandler(quiet);
    TIFFSetErrorHandler(quiet);
    const std::unique_ptr<TIFF, TiffCloser> file(TIFFOpen(QFile::encodeName(tiff).constData(), "rm"));
    if (!file)
        return std::nullopt;
    uint32_t width = 0, height = 0;
    uint16_t bits = 0, samples = 0, planar = PLANARCONFIG_CONTIG, photometric = 0;
    TIFFGetField(file.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(file.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(file.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(file.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(file.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetField(file.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    if (width == 0 || height == 0 || qint64(width) * height > MaxPixels || bits != 8 || samples != 3
        || planar != PLANARCONFIG_CONTIG || photometric != PHOTOMETRIC_RGB || TIFFIsTiled(file.get()))
        return std::nullopt;

    // Each pixel's level, and how often each level is used; the first colour pixel ends it.
    std::vector<uchar> gray(size_t(width) * height);
    std::vector<uchar> row(size_t(TIFFScanlineSize(file.get())));
    if (row.size() < size_t(width) * 3)
        return std::nullopt;
    std::array<qint64, 256> uses{};
    for (uint32_t y = 0; y < height; ++y) {
        if (cancel && *cancel)
            return std::nullopt;
        if (TIFFReadScanline(file.get(), row.data(), y) < 0)
            return std::nullopt;
        uchar *out = gray.data() + size_t(y) * width;
        const uchar *in = row.data();
        for (uint32_t x = 0; x < width; ++x, in += 3) {
            if (in[0] != in[1] || in[0] != in[2])
                return std::nullopt;
            out[x] = in[0];
            ++uses[in[0]];
        }
    }
    QList<QRgb> palette;
    std::vector<int> byUse;
    for (int level = 0; level < 256; ++level) {
        if (uses[size_t(level)] > 0)
            byUse.push_back(level);
    }
    if (int(byUse.size()) > levels)
        return std::nullopt;
    result.reading = double(clock.nsecsElapsed()) / 1e9;

    // The commonest level first, as our writer orders the library's palette (its gray palette runs from dark to
    // light, the order ties keep).
    std::stable_sort(byUse.begin(), byUse.end(), [&uses](int a, int b) { return uses[size_t(a)] > uses[size_t(b)]; });
    std::array<uchar, 256> slotOf{};
    for (size_t slot = 0; slot < byUse.size(); ++slot) {
        slotOf[size_t(byUse[slot])] = uchar(slot);
        palette << qRgb(byUse[slot], byUse[slot], byUse[slot]);
    }
    const qint64 encodingStart = clock.nsecsElapsed();
    PngEncoder encoder(QSize(int(width), int(height)), PngEncoder::Indexed,
                       PngEncoder::bitDepthFor(int(palette.size())), palette);
    encoder.setDotsPerMeter(quint32((100.0 * dpi + 0.5) / 2.54));
    std::vector<uchar> indexes(width);
    for (uint32_t y = 0; y < height; ++y) {
        if (cancel && *cancel)
            return std::nullopt;
        const uchar *levelsOfRow = gray.data() + size_t(y) * width;
        for (uint32_t x = 0; x < width; ++x)
            indexes[x] = slotOf[levelsOfRow[x]];
        encoder.addRow(indexes.data());
    }
    result.png = encoder.finish();
    if (result.png.isEmpty())
        return std::nullopt;
    result.size = QSize(int(width), int(height));
    result.levels = int(palette.size());
    result.encoding = double(clock.nsecsElapsed() - encodingStart) / 1e9;
    return result;
}

} // namespace GrayPalettePng
