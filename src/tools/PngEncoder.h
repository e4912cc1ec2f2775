// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QSize>

// Writes the PNG forms whose layout the conversion already knows: indexed colour, and gray below 8 bits.
// Their rows go unfiltered, as PNG advises for them, and the whole image is deflated in one pass, which is
// what makes this several times quicker than a general writer. The image is held in memory whole, packed.
class PngEncoder
{
public:
    enum ColorType { Gray = 0, Indexed = 3 };

    // bitDepth is 1, 2, 4 or 8; an indexed image takes its palette (at most 2^bitDepth entries, opaque).
    PngEncoder(QSize size, ColorType type, int bitDepth, const QList<QRgb> &palette = {});
    // The resolution tag, in pixels per metre; none is written without it.
    void setDotsPerMeter(quint32 dotsPerMeter) { m_dotsPerMeter = dotsPerMeter; }
    // A colour profile to embed, as the ICC bytes; none by default.
    void setProfile(const QByteArray &icc) { m_profile = icc; }
    // The next row: one byte a pixel, the palette index or the gray level (below 2^bitDepth).
    void addRow(const uchar *samples);
    // The file; empty if a row is missing or the compressor fails.
    QByteArray finish();

    // The least bit depth that holds count palette entries.
    static int bitDepthFor(int count);
    // A resolution in dots per inch in the PNG's unit, rounded as the image library rounds it.
    static quint32 dotsPerMeterFor(double dotsPerInch) { return quint32((100.0 * dotsPerInch + 0.5) / 2.54); }
    // The bytes of the unfiltered image before deflating.
    static qint64 packedBytes(QSize size, int bitDepth);

private:
    QSize m_size;
    ColorType m_type;
    int m_bitDepth;
    QList<QRgb> m_palette;
    quint32 m_dotsPerMeter = 0;
    QByteArray m_profile;
    QByteArray m_packed;
    qsizetype m_rowBytes;
    int m_rows = 0;
};
