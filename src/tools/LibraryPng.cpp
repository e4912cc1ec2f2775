// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/LibraryPng.h"

#include "tools/PngEncoder.h"

#include <QHash>
#include <QList>

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

namespace {

// The largest page written by our own PNG writer, which holds the packed page whole; the library's writer
// streams the larger ones.
constexpr qint64 MaxOwnPngPixels = 48'000'000;

uchar scaled(Quantum value, int bits)
{
    return PngEncoder::scaledSample(value, bits);
}

quint32 dotsPerMeter(const Image *image)
{
    if (image->units == PixelsPerInchResolution)
        return PngEncoder::dotsPerMeterFor(image->x_resolution);
    if (image->units == PixelsPerCentimeterResolution)
        return quint32(100.0 * image->x_resolution + 0.5);
    return 0;
}

// The colour profile still attached to the image (only one asked for is, by now); empty for none.
QByteArray profileOf(const Image *image)
{
    const StringInfo *icc = GetImageProfile(image, "icc");
    return icc ? QByteArray(reinterpret_cast<const char *>(GetStringInfoDatum(icc)),
                            qsizetype(GetStringInfoLength(icc)))
               : QByteArray();
}

// Rows of a palette image as indexes into the palette its pixels use, each colour once at 8 bits a sample.
// Nothing when the image has no palette or its colours do not fit one.
std::optional<QByteArray> ownIndexedPng(const Image *image, const std::atomic_bool *cancel, ExceptionInfo *exception)
{
    if (image->storage_class != PseudoClass || !image->colormap || image->colors == 0)
        return std::nullopt;
    const auto width = qsizetype(image->columns);
    std::vector<qint64> uses(image->colors, 0);
    for (ssize_t y = 0; y < ssize_t(image->rows); ++y) {
        if (!GetVirtualPixels(image, 0, y, image->columns, 1, exception))
            return std::nullopt;
        const IndexPacket *indexes = GetVirtualIndexQueue(image);
        for (qsizetype x = 0; x < width; ++x) {
            if (size_t(indexes[x]) >= image->colors)
                return std::nullopt;
            ++uses[size_t(indexes[x])];
        }
    }
    // Two entries of the library's palette can be the same colour at 8 bits; they share one of ours.
    std::vector<QRgb> colourOf(image->colors);
    for (size_t i = 0; i < image->colors; ++i) {
        const PixelPacket &entry = image->colormap[i];
        colourOf[i] = qRgb(scaled(entry.red, 8), scaled(entry.green, 8), scaled(entry.blue, 8));
    }
    std::vector<uchar> slotOf;
    const QList<QRgb> palette = PngEncoder::paletteByUse(colourOf, uses, &slotOf);
    if (palette.size() > 256)
        return std::nullopt;
    PngEncoder encoder(QSize(int(image->columns), int(image->rows)), PngEncoder::Indexed,
                       PngEncoder::bitDepthFor(int(palette.size())), palette);
    encoder.setDotsPerMeter(dotsPerMeter(image));
    encoder.setProfile(profileOf(image));
    std::vector<uchar> samples(static_cast<size_t>(width));
    for (ssize_t y = 0; y < ssize_t(image->rows); ++y) {
        if (cancel && *cancel)
            return QByteArray();
        if (!GetVirtualPixels(image, 0, y, image->columns, 1, exception))
            return std::nullopt;
        const IndexPacket *indexes = GetVirtualIndexQueue(image);
        for (qsizetype x = 0; x < width; ++x)
            samples[size_t(x)] = slotOf[size_t(indexes[x])];
        encoder.addRow(samples.data());
    }
    return encoder.finish();
}

// Whether a sample is one of the 256 levels an 8-bit file holds: the library's reading, rounding and scaling agree
// on those, and on nothing else.
bool isEightBit(Quantum value)
{
    return value % (QuantumRange / 255) == 0;
}

// Rows of a gray image at bitDepth, or of the colours themselves at 8 bits. Nothing when a pixel of a gray image is
// not gray, or an 8-bit sample is not one of the levels.
std::optional<QByteArray> ownDirectPng(const Image *image, PngEncoder::ColorType type, int bitDepth,
                                       const std::atomic_bool *cancel, ExceptionInfo *exception)
{
    PngEncoder encoder(QSize(int(image->columns), int(image->rows)), type, bitDepth);
    encoder.setDotsPerMeter(dotsPerMeter(image));
    // A gray image never carries one.
    if (type == PngEncoder::Rgb)
        encoder.setProfile(profileOf(image));
    std::vector<uchar> samples(image->columns * size_t(PngEncoder::samplesPerPixel(type)));
    for (ssize_t y = 0; y < ssize_t(image->rows); ++y) {
        if (cancel && *cancel)
            return QByteArray();
        const PixelPacket *pixels = GetVirtualPixels(image, 0, y, image->columns, 1, exception);
        if (!pixels)
            return std::nullopt;
        uchar *out = samples.data();
        for (size_t x = 0; x < image->columns; ++x) {
            const PixelPacket &pixel = pixels[x];
            if (type == PngEncoder::Rgb) {
                if (!isEightBit(pixel.red) || !isEightBit(pixel.green) || !isEightBit(pixel.blue))
                    return std::nullopt;
                *out++ = scaled(pixel.red, 8);
                *out++ = scaled(pixel.green, 8);
                *out++ = scaled(pixel.blue, 8);
                continue;
            }
            if (pixel.red != pixel.green || pixel.red != pixel.blue || (bitDepth == 8 && !isEightBit(pixel.red)))
                return std::nullopt;
            *out++ = scaled(pixel.red, bitDepth);
        }
        encoder.addRow(samples.data());
    }
    return encoder.finish();
}

// An image with transparency at 8 bits a sample, how often each colour is used while there are at most 257 of
// them, and whether every pixel is gray.
struct AlphaPixels
{
    std::vector<QRgb> pixels;
    QHash<QRgb, qint64> usesOf;
    bool gray = true;
};

std::optional<AlphaPixels> alphaPixels(const Image *image, const std::atomic_bool *cancel, ExceptionInfo *exception)
{
    const auto width = size_t(image->columns);
    AlphaPixels read;
    read.pixels.resize(width * image->rows);
    // Counted by runs of one colour, which a page of paper and ink mostly is: a look-up for every pixel cost as
    // much as the rest of the writing.
    QRgb runColour = 0;
    qint64 run = 0;
    const auto countRun = [&read, &runColour, &run] {
        if (run > 0 && read.usesOf.size() <= 256)
            read.usesOf[runColour] += run;
        run = 0;
    };
    for (ssize_t y = 0; y < ssize_t(image->rows); ++y) {
        if (cancel && *cancel)
            return AlphaPixels();
        const PixelPacket *row = GetVirtualPixels(image, 0, y, image->columns, 1, exception);
        if (!row)
            return std::nullopt;
        for (size_t x = 0; x < width; ++x) {
            const PixelPacket &p = row[x];
            // Cut to 8 bits, as the library's writer does; it keeps opacity rather than alpha, and cuts that.
            const QRgb colour =
                qRgba(scaled(p.red, 8), scaled(p.green, 8), scaled(p.blue, 8), 255 - scaled(p.opacity, 8));
            read.gray = read.gray && p.red == p.green && p.red == p.blue;
            read.pixels[size_t(y) * width + x] = colour;
            if (colour != runColour)
                countRun();
            runColour = colour;
            ++run;
        }
    }
    countRun();
    return read;
}

// Rows of an image with transparency: in a palette with its alpha where at most 256 colours, as 8-bit gray and
// alpha where every pixel is gray, or else as 8-bit colour and alpha. A gray depth stays gray; nothing when a pixel
// of it is not.
std::optional<QByteArray> ownAlphaPng(const Image *image, bool grayDepth, const std::atomic_bool *cancel,
                                      ExceptionInfo *exception)
{
    const std::optional<AlphaPixels> read = alphaPixels(image, cancel, exception);
    if (!read)
        return std::nullopt;
    if (cancel && *cancel)
        return QByteArray();
    const auto &[pixels, usesOf, gray] = *read;
    const auto width = size_t(image->columns);
    const QSize size(int(image->columns), int(image->rows));
    if (grayDepth && !gray)
        return std::nullopt;
    QList<QRgb> palette;
    QHash<QRgb, uchar> slotOf;
    if (usesOf.size() <= 256 && !grayDepth) {
        palette = PngEncoder::paletteByUse(usesOf);
        for (qsizetype slot = 0; slot < palette.size(); ++slot)
            slotOf.insert(palette.at(slot), uchar(slot));
    }
    const PngEncoder::ColorType type = !palette.isEmpty() ? PngEncoder::Indexed
                                       : gray             ? PngEncoder::GrayAlpha
                                                          : PngEncoder::Rgba;
    PngEncoder encoder(size, type, type == PngEncoder::Indexed ? PngEncoder::bitDepthFor(int(palette.size())) : 8,
                       palette);
    encoder.setDotsPerMeter(dotsPerMeter(image));
    std::vector<uchar> samples(width * size_t(PngEncoder::samplesPerPixel(type)));
    QRgb lastColour = pixels.empty() ? 0 : ~pixels.front();
    uchar lastSlot = 0;
    for (size_t y = 0; y < size_t(image->rows); ++y) {
        uchar *out = samples.data();
        for (const QRgb colour : std::span(pixels.data() + y * width, width)) {
            if (type == PngEncoder::Indexed) {
                if (colour != lastColour) {
                    lastColour = colour;
                    lastSlot = slotOf.value(colour);
                }
                *out++ = lastSlot;
                continue;
            }
            *out++ = uchar(qRed(colour));
            if (type == PngEncoder::Rgba) {
                *out++ = uchar(qGreen(colour));
                *out++ = uchar(qBlue(colour));
            }
            *out++ = uchar(qAlpha(colour));
        }
        encoder.addRow(samples.data());
    }
    return encoder.finish();
}

} // namespace

std::optional<QByteArray> LibraryPng::write(const Image *image, const ImageEncoding &encoding,
                                            const std::atomic_bool *cancel, ExceptionInfo *exception)
{
    // An image of more than 8 bits a sample the library writes at 16 bits, or scales otherwise.
    if (encoding.format != QLatin1String("PNG") || image->depth > 8
        || qint64(image->columns) * qint64(image->rows) > MaxOwnPngPixels)
        return std::nullopt;
    if (image->matte != MagickFalse)
        return encoding.pngAlpha && !GetImageProfile(image, "icc")
                   ? ownAlphaPng(image, encoding.pngColorType == PngEncoder::GrayAlpha, cancel, exception)
                   : std::nullopt;
    const int colorType = encoding.pngColorType;
    const int bitDepth = encoding.pngBitDepth;
    if (colorType == PngEncoder::Indexed)
        return ownIndexedPng(image, cancel, exception);
    if (colorType == PngEncoder::Gray && (bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8))
        return ownDirectPng(image, PngEncoder::Gray, bitDepth, cancel, exception);
    if (colorType == PngEncoder::Rgb && bitDepth == 8) {
        // Every colour kept: in a palette where they fit one and are each one of the 256 levels.
        const bool levels =
            image->storage_class == PseudoClass && image->colormap
            && std::all_of(image->colormap, image->colormap + image->colors, [](const PixelPacket &entry) {
                   return isEightBit(entry.red) && isEightBit(entry.green) && isEightBit(entry.blue);
               });
        if (levels) {
            if (std::optional<QByteArray> png = ownIndexedPng(image, cancel, exception))
                return png;
        }
        return ownDirectPng(image, PngEncoder::Rgb, 8, cancel, exception);
    }
    return std::nullopt;
}
