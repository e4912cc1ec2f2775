// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRgb>
#include <QSize>

#include <vector>

// Writes the PNG forms whose layout the conversion already knows. Rows of a palette or of gray below 8 bits go
// unfiltered, as PNG advises for them; rows of 8-bit samples get the filter that leaves the smallest sum, as
// libpng chooses it. The whole image is deflated in one pass, which is what makes this several times quicker than
// a general writer. The image is held in memory whole, packed.
class PngEncoder
{
public:
    enum ColorType { Gray = 0, Rgb = 2, Indexed = 3, GrayAlpha = 4, Rgba = 6 };

    // bitDepth is 1, 2, 4 or 8 for gray and a palette, 8 for the rest; an indexed image takes its palette (at most
    // 2^bitDepth entries), whose alpha goes in a tRNS chunk when any entry is not opaque.
    PngEncoder(QSize size, ColorType type, int bitDepth, const QList<QRgb> &palette = {});
    // The resolution tag, in pixels per metre; none is written without it.
    void setDotsPerMeter(quint32 dotsPerMeter) { m_dotsPerMeter = dotsPerMeter; }
    // A colour profile to embed, as the ICC bytes; none by default.
    void setProfile(const QByteArray &icc) { m_profile = icc; }
    // The next row: below 8 bits, one byte a pixel, the palette index or the gray level (below 2^bitDepth); at 8
    // bits, each pixel's samples in the file's order (gray, alpha; red, green, blue, alpha).
    void addRow(const uchar *samples);
    // The file; empty if a row is missing or the compressor fails.
    QByteArray finish();

    // The least bit depth that holds count palette entries.
    static int bitDepthFor(int count);
    // A resolution in dots per inch in the PNG's unit, rounded as the image library rounds it.
    static quint32 dotsPerMeterFor(double dotsPerInch) { return quint32((100.0 * dotsPerInch + 0.5) / 2.54); }
    // The bytes of the unfiltered image before deflating.
    static qint64 packedBytes(QSize size, int bitDepth, ColorType type = Indexed);
    static int samplesPerPixel(ColorType type);
    // A 16-bit sample at bits below 16, as the image library's writers scale it: truncated, not rounded (a palette
    // entry of 14778 is written 57, not 58).
    static uchar scaledSample(quint16 value, int bits) { return uchar(double((1 << bits) - 1) * value / 65535.0); }
    // The palette of the colours that entries of another palette come to, each once, the commonest first (ties in
    // the entries' order): the paper's index 0 runs on into the 0 that opens every row, and a 93-page manual came
    // out 8% smaller than in the library's order. colourOf and uses are per entry; slotOf gets each used entry's
    // place in the palette. Entries used by no pixel are left out.
    static QList<QRgb> paletteByUse(const std::vector<QRgb> &colourOf, const std::vector<qint64> &uses,
                                    std::vector<uchar> *slotOf);
    // The colours counted, the commonest first and ties by their value, as a palette with alpha is ordered.
    static QList<QRgb> paletteByUse(const QHash<QRgb, qint64> &usesOf);

private:
    void addFilteredRow(const uchar *samples);

    QSize m_size;
    ColorType m_type;
    int m_bitDepth;
    QList<QRgb> m_palette;
    quint32 m_dotsPerMeter = 0;
    QByteArray m_profile;
    QByteArray m_packed;
    qsizetype m_rowBytes;
    int m_rows = 0;
    QByteArray m_previous; // the last row unfiltered, for the filters that look up
};
