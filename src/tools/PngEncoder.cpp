// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PngEncoder.h"

#include <QtEndian>

#include <algorithm>
#include <libdeflate.h>
#include <memory>

namespace {

// libdeflate at level 8: on a 93-page manual in 16 colours, 1.5% smaller than zlib at its level 8 and in
// about a third of its time. Level 10 is 5% smaller again but takes three times as long.
constexpr int CompressionLevel = 8;

void appendBigEndian(QByteArray &out, quint32 value)
{
    uchar bytes[4];
    qToBigEndian(value, bytes);
    out.append(reinterpret_cast<const char *>(bytes), 4);
}

void appendChunk(QByteArray &out, const char type[4], const QByteArray &data)
{
    appendBigEndian(out, quint32(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    appendBigEndian(out, libdeflate_crc32(0, out.constData() + start, size_t(out.size() - start)));
}

QByteArray bigEndian(std::initializer_list<quint32> values)
{
    QByteArray data;
    for (quint32 value : values)
        appendBigEndian(data, value);
    return data;
}

} // namespace

PngEncoder::PngEncoder(QSize size, ColorType type, int bitDepth, const QList<QRgb> &palette)
    : m_size(size)
    , m_type(type)
    , m_bitDepth(bitDepth)
    , m_palette(palette)
    , m_rowBytes(qsizetype((qint64(size.width()) * bitDepth + 7) / 8))
{
    m_packed.reserve(qsizetype(packedBytes(size, bitDepth)));
}

int PngEncoder::bitDepthFor(int count)
{
    int depth = 1;
    while (depth < 8 && (1 << depth) < count)
        depth *= 2;
    return depth;
}

qint64 PngEncoder::packedBytes(QSize size, int bitDepth)
{
    return (1 + (qint64(size.width()) * bitDepth + 7) / 8) * size.height();
}

void PngEncoder::addRow(const uchar *samples)
{
    // Each row opens with its filter type, 0 for none.
    const qsizetype start = m_packed.size() + 1;
    m_packed.append(1 + m_rowBytes, '\0');
    auto *row = reinterpret_cast<uchar *>(m_packed.data() + start);
    if (m_bitDepth == 8) {
        memcpy(row, samples, size_t(m_size.width()));
    } else {
        // Byte by byte, leftmost pixel in the high bits; the row's last byte is padded with zero bits.
        const int perByte = 8 / m_bitDepth;
        const int width = m_size.width();
        for (int x = 0; x < width; x += perByte) {
            uint packed = 0;
            const int count = std::min(perByte, width - x);
            for (int i = 0; i < count; ++i)
                packed = (packed << m_bitDepth) | samples[x + i];
            *row++ = uchar(packed << (m_bitDepth * (perByte - count)));
        }
    }
    ++m_rows;
}

namespace {

// data as a zlib stream; empty when the compressor fails.
QByteArray zlibCompressed(libdeflate_compressor *compressor, const QByteArray &data)
{
    QByteArray deflated(qsizetype(libdeflate_zlib_compress_bound(compressor, size_t(data.size()))), Qt::Uninitialized);
    const size_t length = libdeflate_zlib_compress(compressor, data.constData(), size_t(data.size()), deflated.data(),
                                                   size_t(deflated.size()));
    deflated.truncate(qsizetype(length));
    return deflated;
}

} // namespace

QByteArray PngEncoder::finish()
{
    if (m_rows != m_size.height() || m_size.isEmpty())
        return {};
    const std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor *)> compressor(
        libdeflate_alloc_compressor(CompressionLevel), libdeflate_free_compressor);
    if (!compressor)
        return {};
    const QByteArray deflated = zlibCompressed(compressor.get(), m_packed);
    if (deflated.isEmpty())
        return {};
    m_packed = QByteArray();

    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    QByteArray header = bigEndian({quint32(m_size.width()), quint32(m_size.height())});
    header.append(char(m_bitDepth)).append(char(m_type)).append(3, '\0');
    appendChunk(out, "IHDR", header);
    // The profile's name, then deflate as its compression.
    if (!m_profile.isEmpty())
        appendChunk(out, "iCCP", QByteArray("sRGB\0\0", 6) + zlibCompressed(compressor.get(), m_profile));
    // The sRGB gamma and primaries, as the library's writer states them for a rendered page.
    appendChunk(out, "gAMA", bigEndian({45455}));
    if (m_type == Indexed) {
        appendChunk(out, "cHRM", bigEndian({31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000}));
        QByteArray palette;
        for (QRgb colour : m_palette)
            palette.append(char(qRed(colour))).append(char(qGreen(colour))).append(char(qBlue(colour)));
        appendChunk(out, "PLTE", palette);
    }
    if (m_dotsPerMeter > 0) {
        QByteArray resolution = bigEndian({m_dotsPerMeter, m_dotsPerMeter});
        resolution.append(char(1)); // the unit: metres
        appendChunk(out, "pHYs", resolution);
    }
    appendChunk(out, "IDAT", deflated);
    appendChunk(out, "IEND", {});
    return out;
}
