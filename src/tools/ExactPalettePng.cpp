// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ExactPalettePng.h"

#include "tools/ColourTree.h"
#include "tools/PageTiff.h"
#include "tools/PngEncoder.h"

#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace ExactPalettePng {

namespace {

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
            if (m_list.size() >= m_limit) {
                m_overflowed = true;
                return -1;
            }
            found = m_numbers.insert(colour, int(m_list.size()));
            m_list << colour;
        }
        m_last = colour;
        return m_lastNumber = found.value();
    }
    const QList<QRgb> &list() const { return m_list; }
    bool overflowed() const { return m_overflowed; }

private:
    int m_limit;
    bool m_overflowed = false;
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
    std::vector<quint16> numbers(size_t(size.width()));
    for (int y = 0; y < size.height(); ++y) {
        if ((cancel && *cancel) || TIFFReadScanline(file, row.data(), uint32_t(y)) < 0)
            return false;
        const uchar *in = row.data();
        for (int x = 0; x < size.width(); ++x, in += 3) {
            const int number = colours.numberOf(qRgb(in[0], in[1], in[2]));
            if (number < 0)
                return false;
            numbers[size_t(x)] = quint16(number);
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

// The commonest colour first, as our writer orders the library's palette; ties in the library's own order. slotOf
// gets each colour's place in it.
QList<QRgb> paletteOf(const QList<QRgb> &list, const std::vector<qint64> &uses, std::vector<uchar> *slotOf)
{
    std::vector<int> order(size_t(list.size()));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return uses[size_t(a)] != uses[size_t(b)] ? uses[size_t(a)] > uses[size_t(b)]
                                                  : treeOrder(list[a]) < treeOrder(list[b]);
    });
    slotOf->assign(order.size(), 0);
    QList<QRgb> palette;
    for (size_t slot = 0; slot < order.size(); ++slot) {
        (*slotOf)[size_t(order[slot])] = uchar(slot);
        palette << list[order[slot]];
    }
    return palette;
}

// Hands each row of a page held whole to addRow; false at a stop.
template <typename Sample, typename AddRow>
bool addHeldRows(const std::vector<Sample> &held, size_t width, int height, const std::atomic_bool *cancel,
                 AddRow addRow)
{
    for (int y = 0; y < height; ++y) {
        if (cancel && *cancel)
            return false;
        addRow(held.data() + size_t(y) * width);
    }
    return true;
}

// Reads every row of the page into take(y, rgb); false when the file or the wait fails.
template <typename Take>
bool readRgbRows(TIFF *file, QSize size, const std::atomic_bool *cancel, Take take)
{
    std::vector<uchar> row(size_t(TIFFScanlineSize(file)));
    for (int y = 0; y < size.height(); ++y) {
        if ((cancel && *cancel) || TIFFReadScanline(file, row.data(), uint32_t(y)) < 0)
            return false;
        take(y, row.data());
    }
    return true;
}

// The file of a reduced page, and what the library tells of it: the entries of its palette, and whether every pixel
// is one colour. False when the compressor fails.
bool finish(PngEncoder &encoder, const std::vector<ColourTree::Entry> &entries, const std::vector<qint64> &uses,
            Page *result)
{
    result->png = encoder.finish();
    result->colours = int(entries.size());
    std::vector<ColourTree::Entry> used;
    for (size_t i = 0; i < entries.size() && used.size() < 2; ++i) {
        if (uses[i] > 0 && std::find(used.begin(), used.end(), entries[i]) == used.end())
            used.push_back(entries[i]);
    }
    result->uniform = used.size() == 1;
    return !result->png.isEmpty();
}

// A page of more colours than the palette, reduced as the library reduces it: one reading to build the colour
// tree, one to give each pixel its entry, and for a page too large to hold a third to write the rows. Nothing for a
// page of gray alone, which the library makes gray first, or for a palette of more than 256 colours.
std::optional<Page> reduced(const QString &tiff, int colours, int dpi, const std::atomic_bool *cancel,
                            qint64 heldPixels)
{
    QElapsedTimer clock;
    clock.start();
    Page result;
    PageTiff::File file = PageTiff::openRgb(tiff, &result.size);
    if (!file || colours > ColourTree::MaxColours)
        return std::nullopt;
    const size_t width = size_t(result.size.width());
    ColourTree tree(colours);
    bool gray = true;
    const bool read = readRgbRows(file.get(), result.size, cancel, [&](int, const uchar *rgb) {
        for (size_t x = 0; gray && x < width; ++x)
            gray = rgb[3 * x] == rgb[3 * x + 1] && rgb[3 * x] == rgb[3 * x + 2];
        tree.addRow(rgb, int(width));
    });
    if (!read || gray)
        return std::nullopt;
    tree.reduce();
    const auto &entries = tree.palette();

    // Each pixel's entry, and how often each entry is used; the page's entries too while it is small enough.
    const qint64 pixels = qint64(result.size.width()) * result.size.height();
    std::vector<uchar> held(pixels <= heldPixels ? size_t(pixels) : 0);
    std::vector<uchar> rowEntries(width);
    std::vector<qint64> uses(entries.size(), 0);
    const auto entriesOf = [&](const uchar *rgb) {
        int entry = tree.entryOf(rgb[0], rgb[1], rgb[2]);
        rowEntries[0] = uchar(entry);
        for (size_t x = 1; x < width; ++x) {
            const uchar *pixel = rgb + 3 * x;
            if (pixel[0] != pixel[-3] || pixel[1] != pixel[-2] || pixel[2] != pixel[-1])
                entry = tree.entryOf(pixel[0], pixel[1], pixel[2]);
            rowEntries[x] = uchar(entry);
        }
    };
    file = PageTiff::openRgb(tiff, &result.size);
    if (!file || !readRgbRows(file.get(), result.size, cancel, [&](int y, const uchar *rgb) {
            entriesOf(rgb);
            for (const uchar entry : rowEntries)
                ++uses[entry];
            if (!held.empty())
                std::copy(rowEntries.begin(), rowEntries.end(), held.begin() + qsizetype(y) * qsizetype(width));
        }))
        return std::nullopt;
    result.reading = double(clock.nsecsElapsed()) / 1e9;

    const qint64 encodingStart = clock.nsecsElapsed();
    std::vector<QRgb> colourOf(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        colourOf[i] = qRgb(PngEncoder::scaledSample(entries[i][0], 8), PngEncoder::scaledSample(entries[i][1], 8),
                           PngEncoder::scaledSample(entries[i][2], 8));
    std::vector<uchar> slotOf;
    const QList<QRgb> palette = PngEncoder::paletteByUse(colourOf, uses, &slotOf);
    const int bitDepth = PngEncoder::bitDepthFor(int(palette.size()));
    if (PngEncoder::packedBytes(result.size, bitDepth) > PageTiff::MaxPackedBytes)
        return std::nullopt;
    PngEncoder encoder(result.size, PngEncoder::Indexed, bitDepth, palette);
    encoder.setDotsPerMeter(PngEncoder::dotsPerMeterFor(dpi));
    std::vector<uchar> indexes(width);
    const auto addRow = [&](const uchar *rowOfEntries) {
        for (size_t x = 0; x < width; ++x)
            indexes[x] = slotOf[rowOfEntries[x]];
        encoder.addRow(indexes.data());
    };
    if (!held.empty()) {
        if (!addHeldRows(held, width, result.size.height(), cancel, addRow))
            return std::nullopt;
    } else {
        file = PageTiff::openRgb(tiff, &result.size);
        if (!file || !readRgbRows(file.get(), result.size, cancel, [&](int, const uchar *rgb) {
                entriesOf(rgb);
                addRow(rowEntries.data());
            }))
            return std::nullopt;
    }
    if (!finish(encoder, entries, uses, &result))
        return std::nullopt;
    result.encoding = double(clock.nsecsElapsed() - encodingStart) / 1e9;
    return result;
}

// "-channel A -level 2%,100%" after the reduction, on an opacity: the faintest edges of the ink become clear paper.
quint16 levelledOpacity(quint16 opacity)
{
    constexpr double QuantumRange = 65535.0;
    const double black = 2.0 * (QuantumRange / 100.0), white = 100.0 * (QuantumRange / 100.0);
    const double span = white - black;
    const double scale = span >= 1.0e-12 ? 1.0 / span : 1.0e12;
    const double level = QuantumRange * (scale * (double(65535 - opacity) - black));
    const quint16 alpha = level <= 0.0 ? 0 : level >= QuantumRange ? quint16(65535) : quint16(level + 0.5);
    return quint16(65535 - alpha);
}

} // namespace

std::optional<Page> write(const QString &tiff, int colours, int dpi, const std::atomic_bool *cancel, qint64 heldPixels)
{
    QElapsedTimer clock;
    clock.start();
    Page result;
    PageTiff::File file = PageTiff::openRgb(tiff, &result.size);
    if (!file || colours < 1 || colours > MaxColours)
        return std::nullopt;
    const qint64 pixels = qint64(result.size.width()) * result.size.height();
    // Judged again once the colours are known.
    if (PngEncoder::packedBytes(result.size, 1) > PageTiff::MaxPackedBytes)
        return std::nullopt;

    // How often each colour is used; the page's colours too while it is small enough to keep.
    Colours met(colours);
    std::vector<qint64> uses;
    std::vector<quint16> held(pixels <= heldPixels ? size_t(pixels) : 0);
    const size_t width = size_t(result.size.width());
    const bool fits = readRows(file.get(), result.size, met, cancel, [&](int y, const quint16 *row) {
        uses.resize(size_t(met.list().size()), 0);
        for (size_t x = 0; x < width; ++x)
            ++uses[row[x]];
        if (!held.empty())
            std::copy_n(row, width, held.data() + size_t(y) * width);
    });
    if (!fits) {
        file.reset();
        return met.overflowed() && !(cancel && *cancel) ? reduced(tiff, colours, dpi, cancel, heldPixels)
                                                        : std::nullopt;
    }
    result.reading = double(clock.nsecsElapsed()) / 1e9;

    const QList<QRgb> &list = met.list();
    const bool indexed = list.size() <= 256;
    if ((indexed ? PngEncoder::packedBytes(result.size, PngEncoder::bitDepthFor(int(list.size())))
                 : PngEncoder::packedBytes(result.size, 8, PngEncoder::Rgb))
        > PageTiff::MaxPackedBytes)
        return std::nullopt;
    const qint64 encodingStart = clock.nsecsElapsed();
    std::optional<PngEncoder> encoder;
    // Indexes into the palette, or the colours themselves where a palette cannot hold them.
    std::vector<uchar> samples;
    std::function<void(const quint16 *)> addRow;
    if (!indexed) {
        encoder.emplace(result.size, PngEncoder::Rgb, 8);
        samples.resize(width * 3);
        addRow = [&](const quint16 *row) {
            uchar *out = samples.data();
            for (size_t x = 0; x < width; ++x, out += 3) {
                const QRgb colour = list[row[x]];
                out[0] = uchar(qRed(colour));
                out[1] = uchar(qGreen(colour));
                out[2] = uchar(qBlue(colour));
            }
            encoder->addRow(samples.data());
        };
    } else {
        encoder.emplace(result.size, PngEncoder::Indexed, PngEncoder::bitDepthFor(int(list.size())),
                        paletteOf(list, uses, &samples));
        addRow = [&, slotOf = samples, indexes = std::vector<uchar>(width)](const quint16 *row) mutable {
            for (size_t x = 0; x < width; ++x)
                indexes[x] = slotOf[row[x]];
            encoder->addRow(indexes.data());
        };
    }
    encoder->setDotsPerMeter(PngEncoder::dotsPerMeterFor(dpi));
    if (!held.empty()) {
        if (!addHeldRows(held, width, result.size.height(), cancel, addRow))
            return std::nullopt;
    } else {
        // The second reading meets the colours in the same order, so they keep their numbers.
        file = PageTiff::openRgb(tiff, &result.size);
        if (!file || !readRows(file.get(), result.size, met, cancel, [&](int, const quint16 *row) { addRow(row); }))
            return std::nullopt;
    }
    result.png = encoder->finish();
    if (result.png.isEmpty())
        return std::nullopt;
    result.colours = int(list.size());
    result.uniform = list.size() == 1;
    result.encoding = double(clock.nsecsElapsed() - encodingStart) / 1e9;
    return result;
}

} // namespace ExactPalettePng

namespace ExactPalettePng {

std::optional<Page> writeTransparent(const QString &png, int colours, int dpi, const std::atomic_bool *cancel)
{
    QElapsedTimer clock;
    clock.start();
    QImageReader reader(png, "png");
    const QSize size = reader.size();
    if (reader.imageFormat() != QImage::Format_ARGB32 || colours > ColourTree::MaxColours || size.isEmpty()
        || qint64(size.width()) * size.height() > HeldPixels)
        return std::nullopt;
    QImage image;
    if (!reader.read(&image) || image.format() != QImage::Format_ARGB32 || image.size() != size)
        return std::nullopt;
    const int width = size.width();
    const auto rowOf = [&image](int y) { return reinterpret_cast<const QRgb *>(image.constScanLine(y)); };
    bool gray = true;
    for (int y = 0; gray && y < size.height(); ++y) {
        for (const QRgb pixel : std::span(rowOf(y), size_t(width)))
            gray = gray && qRed(pixel) == qGreen(pixel) && qRed(pixel) == qBlue(pixel);
    }
    ColourTree tree(colours, true, gray);
    for (int y = 0; y < size.height(); ++y) {
        if (cancel && *cancel)
            return std::nullopt;
        tree.addRow(rowOf(y), width);
    }
    tree.reduce();
    Page result;
    result.size = size;
    result.reading = double(clock.nsecsElapsed()) / 1e9;
    const qint64 encodingStart = clock.nsecsElapsed();

    // Each entry as the file holds it: its opacity levelled, then cut to 8 bits as the library's writer cuts it.
    const std::vector<ColourTree::Entry> &entries = tree.palette();
    std::vector<ColourTree::Entry> levelled(entries.size());
    std::vector<QRgb> colourOf(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        levelled[i] = entries[i];
        levelled[i][3] = levelledOpacity(entries[i][3]);
        colourOf[i] =
            qRgba(PngEncoder::scaledSample(levelled[i][0], 8), PngEncoder::scaledSample(levelled[i][1], 8),
                  PngEncoder::scaledSample(levelled[i][2], 8), 255 - PngEncoder::scaledSample(levelled[i][3], 8));
    }
    std::vector<uchar> held(size_t(width) * size_t(size.height()));
    std::vector<qint64> uses(entries.size(), 0);
    for (int y = 0; y < size.height(); ++y) {
        const QRgb *row = rowOf(y);
        uchar *out = held.data() + size_t(y) * size_t(width);
        int entry = -1;
        for (int x = 0; x < width; ++x) {
            if (x == 0 || row[x] != row[x - 1])
                entry = tree.entryOf(uchar(qRed(row[x])), uchar(qGreen(row[x])), uchar(qBlue(row[x])),
                                     uchar(qAlpha(row[x])));
            out[x] = uchar(entry);
            ++uses[size_t(entry)];
        }
    }
    QHash<QRgb, qint64> usesOf;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (uses[i] > 0)
            usesOf[colourOf[i]] += uses[i];
    }
    const QList<QRgb> palette = PngEncoder::paletteByUse(usesOf);
    std::vector<uchar> slotOf(entries.size(), 0);
    for (size_t i = 0; i < entries.size(); ++i)
        slotOf[i] = uchar(std::max<qsizetype>(0, palette.indexOf(colourOf[i])));
    PngEncoder encoder(size, PngEncoder::Indexed, PngEncoder::bitDepthFor(int(palette.size())), palette);
    encoder.setDotsPerMeter(PngEncoder::dotsPerMeterFor(dpi));
    std::vector<uchar> indexes(static_cast<size_t>(width));
    const bool added = addHeldRows(held, size_t(width), size.height(), cancel, [&](const uchar *rowOfEntries) {
        for (size_t x = 0; x < size_t(width); ++x)
            indexes[x] = slotOf[rowOfEntries[x]];
        encoder.addRow(indexes.data());
    });
    if (!added)
        return std::nullopt;
    if (!finish(encoder, levelled, uses, &result))
        return std::nullopt;
    result.encoding = double(clock.nsecsElapsed() - encodingStart) / 1e9;
    return result;
}

} // namespace ExactPalettePng
