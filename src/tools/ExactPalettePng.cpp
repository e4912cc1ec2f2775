// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ExactPalettePng.h"

#include "tools/PngEncoder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <climits>
#include <memory>
#include <tiffio.h>
#include <vector>

namespace ExactPalettePng {

namespace {

// Our writer holds the packed rows whole and deflates them in one pass: a 4-bit A4 page at 2400 dpi is 280 MB.
constexpr qint64 MaxPackedBytes = qint64(600) << 20;

struct TiffCloser
{
    void operator()(TIFF *tiff) const { TIFFClose(tiff); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

// libtiff's warnings and errors go nowhere: a page it cannot read here goes to the image library, which tells.
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

// The colours of a page in the order they are met, at most `limit` of them.
class Colours
{
public:
    explicit Colours(int limit)
        : m_limit(limit)
    {}
    // The colour's number, or -1 when it is one too many.
    int numberOf(QRgb colour)
    {
        if (colour == m_last)
            return m_lastNumber;
        auto found = m_numbers.constFind(colour);
        if (found == m_numbers.cend()) {
            if (m_list.size() >= m_limit)
                return -1;
            found = m_numbers.insert(colour, int(m_list.size()));
            m_list << colour;
        }
        m_last = colour;
        return m_lastNumber = found.value();
    }
    const QList<QRgb> &list() const { return m_list; }

private:
    int m_limit;
    QHash<QRgb, int> m_numbers;
    QList<QRgb> m_list;
    QRgb m_last = 0;
    int m_lastNumber = -1;
};

// Calls take(y, numbers) with each row as the numbers of its colours; false at one colour too many, or when the
// file or the wait fails.
template <typename Take>
bool readRows(TIFF *file, QSize size, Colours &colours, const std::atomic_bool *cancel, Take take)
{
    std::vector<uchar> row(size_t(TIFFScanlineSize(file)));
    std::vector<uchar> numbers(size_t(size.width()));
    for (int y = 0; y < size.height(); ++y) {
        if ((cancel && *cancel) || TIFFReadScanline(file, row.data(), uint32_t(y)) < 0)
            return false;
        const uchar *in = row.data();
        for (int x = 0; x < size.width(); ++x, in += 3) {
            const int number = colours.numberOf(qRgb(in[0], in[1], in[2]));
            if (number < 0)
                return false;
            numbers[size_t(x)] = uchar(number);
        }
        take(y, numbers.data());
    }
    return true;
}

// Where the library's colour tree puts a colour: its bits from the most significant, red, green and blue in turn.
quint32 treeOrder(QRgb colour)
{
    quint32 key = 0;
    for (int bit = 7; bit >= 0; --bit)
        key = (key << 3) | (((qBlue(colour) >> bit) & 1) << 2) | (((qGreen(colour) >> bit) & 1) << 1)
              | ((qRed(colour) >> bit) & 1);
    return key;
}

} // namespace

std::optional<Page> write(const QString &tiff, int colours, int dpi, const std::atomic_bool *cancel, qint64 heldPixels)
{
    QElapsedTimer clock;
    clock.start();
    Page result;
    TiffFile file = openPage(tiff, &result.size);
    if (!file || colours < 1 || colours > 256)
        return std::nullopt;
    const qint64 pixels = qint64(result.size.width()) * result.size.height();
    if (PngEncoder::packedBytes(result.size, PngEncoder::bitDepthFor(colours)) > MaxPackedBytes)
        return std::nullopt;

    // How often each colour is used; the page's colours too while it is small enough to keep.
    Colours met(colours);
    std::vector<qint64> uses;
    std::vector<uchar> held(pixels <= heldPixels ? size_t(pixels) : 0);
    const size_t width = size_t(result.size.width());
    const bool fits = readRows(file.get(), result.size, met, cancel, [&](int y, const uchar *row) {
        uses.resize(size_t(met.list().size()), 0);
        for (size_t x = 0; x < width; ++x)
            ++uses[row[x]];
        if (!held.empty())
            std::copy_n(row, width, held.data() + size_t(y) * width);
    });
    if (!fits)
        return std::nullopt;
    result.reading = double(clock.nsecsElapsed()) / 1e9;

    // The commonest colour first, as our writer orders the library's palette; ties in the library's own order.
    const QList<QRgb> &list = met.list();
    std::vector<int> order(size_t(list.size()));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return uses[size_t(a)] != uses[size_t(b)] ? uses[size_t(a)] > uses[size_t(b)]
                                                  : treeOrder(list[a]) < treeOrder(list[b]);
    });
    std::vector<uchar> slotOf(order.size());
    QList<QRgb> palette;
    for (size_t slot = 0; slot < order.size(); ++slot) {
        slotOf[size_t(order[slot])] = uchar(slot);
        palette << list[order[slot]];
    }
    const qint64 encodingStart = clock.nsecsElapsed();
    PngEncoder encoder(result.size, PngEncoder::Indexed, PngEncoder::bitDepthFor(int(palette.size())), palette);
    encoder.setDotsPerMeter(PngEncoder::dotsPerMeterFor(dpi));
    std::vector<uchar> indexes(width);
    const auto addRow = [&](int, const uchar *row) {
        for (size_t x = 0; x < width; ++x)
            indexes[x] = slotOf[row[x]];
        encoder.addRow(indexes.data());
    };
    if (!held.empty()) {
        for (int y = 0; y < result.size.height(); ++y) {
            if (cancel && *cancel)
                return std::nullopt;
            addRow(y, held.data() + size_t(y) * width);
        }
    } else {
        // The second reading meets the colours in the same order, so they keep their numbers.
        file = openPage(tiff, &result.size);
        if (!file || !readRows(file.get(), result.size, met, cancel, addRow))
            return std::nullopt;
    }
    result.png = encoder.finish();
    if (result.png.isEmpty())
        return std::nullopt;
    result.colours = int(palette.size());
    result.encoding = double(clock.nsecsElapsed() - encodingStart) / 1e9;
    return result;
}

} // namespace ExactPalettePng
