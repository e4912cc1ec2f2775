// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/GrayPalettePng.h"

#include "tools/PngEncoder.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <array>
#include <memory>
#include <tiffio.h>
#include <vector>

namespace GrayPalettePng {

namespace {

// Our writer holds the packed rows whole and deflates them in one pass: a 4-bit A4 page at 2400 dpi is 280 MB.
constexpr qint64 MaxPackedBytes = qint64(600) << 20;

struct TiffCloser
{
    void operator()(TIFF *tiff) const { TIFFClose(tiff); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

// The library's warnings and errors go nowhere: a page it cannot read here goes to the image library, which tells.
void quiet(const char *, const char *, va_list) {}

// Ghostscript's 8-bit RGB page, strips of interleaved samples; nothing for any other TIFF.
TiffFile openPage(const QString &path, QSize *size)
{
    TIFFSetWarningHandler(quiet);
    TIFFSetErrorHandler(quiet);
    TiffFile file(TIFFOpen(QFile::encodeName(path).constData(), "rm"));
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

// Calls take(y, levels) for each row as its gray levels; false at the first pixel that is not gray, or when
// the file or the wait fails.
template <typename Take>
bool readGrayRows(TIFF *file, QSize size, const std::atomic_bool *cancel, Take take)
{
    std::vector<uchar> row(size_t(TIFFScanlineSize(file)));
    std::vector<uchar> levels(size_t(size.width()));
    for (int y = 0; y < size.height(); ++y) {
        if ((cancel && *cancel) || TIFFReadScanline(file, row.data(), uint32_t(y)) < 0)
            return false;
        const uchar *in = row.data();
        for (int x = 0; x < size.width(); ++x, in += 3) {
            if (in[0] != in[1] || in[0] != in[2])
                return false;
            levels[size_t(x)] = in[0];
        }
        take(y, levels.data());
    }
    return true;
}

} // namespace

std::optional<Page> write(const QString &tiff, int levels, int dpi, const std::atomic_bool *cancel, qint64 heldPixels)
{
    QElapsedTimer clock;
    clock.start();
    Page result;
    TiffFile file = openPage(tiff, &result.size);
    if (!file)
        return std::nullopt;
    const qint64 pixels = qint64(result.size.width()) * result.size.height();
    if (PngEncoder::packedBytes(result.size, PngEncoder::bitDepthFor(levels)) > MaxPackedBytes)
        return std::nullopt;

    // How often each level is used; the page's levels too while it is small enough to keep.
    std::array<qint64, 256> uses{};
    std::vector<uchar> held(pixels <= heldPixels ? size_t(pixels) : 0);
    const bool gray = readGrayRows(file.get(), result.size, cancel, [&](int y, const uchar *row) {
        for (int x = 0; x < result.size.width(); ++x)
            ++uses[row[x]];
        if (!held.empty())
            std::copy_n(row, result.size.width(), held.data() + size_t(y) * size_t(result.size.width()));
    });
    std::vector<int> byUse;
    for (int level = 0; level < 256; ++level) {
        if (uses[size_t(level)] > 0)
            byUse.push_back(level);
    }
    if (!gray || int(byUse.size()) > levels)
        return std::nullopt;
    result.reading = double(clock.nsecsElapsed()) / 1e9;

    // The commonest level first, as our writer orders the library's palette (its gray palette runs from dark to
    // light, the order ties keep).
    std::stable_sort(byUse.begin(), byUse.end(), [&uses](int a, int b) { return uses[size_t(a)] > uses[size_t(b)]; });
    std::array<uchar, 256> slotOf{};
    QList<QRgb> palette;
    for (size_t slot = 0; slot < byUse.size(); ++slot) {
        slotOf[size_t(byUse[slot])] = uchar(slot);
        palette << qRgb(byUse[slot], byUse[slot], byUse[slot]);
    }
    const qint64 encodingStart = clock.nsecsElapsed();
    PngEncoder encoder(result.size, PngEncoder::Indexed, PngEncoder::bitDepthFor(int(palette.size())), palette);
    encoder.setDotsPerMeter(quint32((100.0 * dpi + 0.5) / 2.54));
    std::vector<uchar> indexes(size_t(result.size.width()));
    const auto addRow = [&](int, const uchar *row) {
        for (size_t x = 0; x < indexes.size(); ++x)
            indexes[x] = slotOf[row[x]];
        encoder.addRow(indexes.data());
    };
    if (!held.empty()) {
        for (int y = 0; y < result.size.height(); ++y) {
            if (cancel && *cancel)
                return std::nullopt;
            addRow(y, held.data() + size_t(y) * indexes.size());
        }
    } else {
        file = openPage(tiff, &result.size);
        if (!file || !readGrayRows(file.get(), result.size, cancel, addRow))
            return std::nullopt;
    }
    result.png = encoder.finish();
    if (result.png.isEmpty())
        return std::nullopt;
    result.levels = int(palette.size());
    result.encoding = double(clock.nsecsElapsed() - encodingStart) / 1e9;
    return result;
}

} // namespace GrayPalettePng
