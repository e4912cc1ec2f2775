// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ConversionOptions.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

bool ConversionOptions::isGray() const
{
    return OptionLists::facts(colorDepth).gray;
}

bool ConversionOptions::usesQualityFor(ImageFormat written) const
{
    const QualityUse use = OptionLists::facts(written).quality;
    return use == QualityUse::Always || (use == QualityUse::InTrueColor && bitsPerPixel() == 0);
}

bool ConversionOptions::holdsTransparency(ImageFormat written)
{
    return OptionLists::facts(written).holdsTransparency;
}

int ConversionOptions::colorCount() const
{
    return OptionLists::facts(colorDepth).colors;
}

int ConversionOptions::bitsPerPixel() const
{
    return OptionLists::facts(colorDepth).bits;
}

namespace OptionLists {

const QList<ColorDepthFacts> &colorDepthTable()
{
    using L = QLatin1String;
    // clang-format off
    static const QList<ColorDepthFacts> table{
        {.depth = ColorDepth::BlackAndWhite, .name = QT_TRANSLATE_NOOP("OptionLists", "Black and White (1bpp)"),
         .commandLineNames = {L("bw"), L("2"), L("mono")}, .colors = 2, .bits = 1, .gray = false, .palette = true},
        {.depth = ColorDepth::FourColors, .name = QT_TRANSLATE_NOOP("OptionLists", "4 colors (2bpp)"),
         .commandLineNames = {L("4")}, .colors = 4, .bits = 2, .gray = false, .palette = true},
        {.depth = ColorDepth::SixteenColors, .name = QT_TRANSLATE_NOOP("OptionLists", "16 colors (4bpp)"),
         .commandLineNames = {L("16")}, .colors = 16, .bits = 4, .gray = false, .palette = true},
        {.depth = ColorDepth::TwoHundredFiftySixColors, .name = QT_TRANSLATE_NOOP("OptionLists", "256 colors (8bpp)"),
         .commandLineNames = {L("256")}, .colors = 256, .bits = 8, .gray = false, .palette = true},
        {.depth = ColorDepth::HiColor, .name = QT_TRANSLATE_NOOP("OptionLists", "Hicolor (16bpp)"),
         .commandLineNames = {L("hicolor"), L("65536")}, .colors = 65536, .bits = 0, .gray = false, .palette = true},
        {.depth = ColorDepth::Grayscale, .name = QT_TRANSLATE_NOOP("OptionLists", "Grayscale (8bpp)"),
         .commandLineNames = {L("gray"), L("grey"), L("gray256")}, .colors = 256, .bits = 8, .gray = true,
         .palette = false},
        {.depth = ColorDepth::SixteenGrays, .name = QT_TRANSLATE_NOOP("OptionLists", "16 grays (4bpp)"),
         .commandLineNames = {L("gray16"), L("grey16")}, .colors = 16, .bits = 4, .gray = true, .palette = true},
        {.depth = ColorDepth::FourGrays, .name = QT_TRANSLATE_NOOP("OptionLists", "4 grays (2bpp)"),
         .commandLineNames = {L("gray4"), L("grey4")}, .colors = 4, .bits = 2, .gray = true, .palette = true},
    };
    // clang-format on
    return table;
}

namespace {

// The row of table whose key is value; every value of the enum has one.
template <typename Row, typename Key>
const Row &rowOf(const QList<Row> &table, Key Row::*key, Key value)
{
    const auto found = std::find_if(table.cbegin(), table.cend(), [&](const Row &row) { return row.*key == value; });
    return found != table.cend() ? *found : table.constFirst();
}

} // namespace

const ColorDepthFacts &facts(ColorDepth depth)
{
    return rowOf(colorDepthTable(), &ColorDepthFacts::depth, depth);
}

const QList<ImageFormatFacts> &formatTable()
{
    using L = QLatin1String;
    // clang-format off
    static const QList<ImageFormatFacts> table{
        {.format = ImageFormat::Png, .suffix = L("png"), .otherSuffixes = {}, .libraryName = L("PNG"),
         .holdsTransparency = true, .quality = QualityUse::Never},
        {.format = ImageFormat::Gif, .suffix = L("gif"), .otherSuffixes = {}, .libraryName = L("GIF"),
         .holdsTransparency = true, .quality = QualityUse::Never},
        {.format = ImageFormat::Jpg, .suffix = L("jpg"), .otherSuffixes = {L("jpeg")}, .libraryName = L("JPEG"),
         .holdsTransparency = false, .quality = QualityUse::Always},
        {.format = ImageFormat::Tiff, .suffix = L("tif"), .otherSuffixes = {L("tiff")}, .libraryName = L("TIFF"),
         .holdsTransparency = true, .quality = QualityUse::Never},
        {.format = ImageFormat::Webp, .suffix = L("webp"), .otherSuffixes = {}, .libraryName = L("WEBP"),
         .holdsTransparency = true, .quality = QualityUse::InTrueColor},
    };
    // clang-format on
    return table;
}

const ImageFormatFacts &facts(ImageFormat format)
{
    return rowOf(formatTable(), &ImageFormatFacts::format, format);
}

QList<ColorDepth> colorDepths()
{
    QList<ColorDepth> list;
    for (const ColorDepthFacts &row : colorDepthTable())
        list << row.depth;
    return list;
}

QStringList colorDepthNames()
{
    QStringList names;
    for (const ColorDepthFacts &row : colorDepthTable())
        names << QCoreApplication::translate("OptionLists", row.name);
    return names;
}

QList<ImageFormat> formats()
{
    QList<ImageFormat> list;
    for (const ImageFormatFacts &row : formatTable())
        list << row.format;
    return list;
}

const QList<int> &resolutions()
{
    static const QList<int> list{72, 96, 120, 144, 192, 300, 600, 1200, 2400};
    return list;
}

QString suffix(ImageFormat format)
{
    return facts(format).suffix;
}

QStringList suffixes()
{
    QStringList list;
    for (const ImageFormatFacts &row : formatTable())
        list << row.suffix;
    return list;
}

std::optional<ImageFormat> formatForFileName(const QString &fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    for (const ImageFormatFacts &row : formatTable()) {
        if (ext == row.suffix || row.otherSuffixes.contains(ext))
            return row.format;
    }
    return std::nullopt;
}

} // namespace OptionLists
