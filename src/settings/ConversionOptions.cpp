// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ConversionOptions.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <limits>

bool ConversionOptions::isGray() const
{
    return OptionLists::facts(colorDepth).gray;
}

bool ConversionOptions::isCmyk() const
{
    return OptionLists::facts(colorDepth).cmyk;
}

bool ConversionOptions::holdsCmyk(ImageFormat written)
{
    return OptionLists::facts(written).holdsCmyk;
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
        {.depth = ColorDepth::Cmyk, .name = QT_TRANSLATE_NOOP("OptionLists", "CMYK (32bpp)"),
         .commandLineNames = {L("cmyk")}, .colors = std::numeric_limits<int>::max(), .bits = 0, .gray = false,
         .palette = false, .cmyk = true},
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

template <typename Row>
QStringList translatedNames(const QList<Row> &table)
{
    QStringList names;
    for (const Row &row : table)
        names << QCoreApplication::translate("OptionLists", row.name);
    return names;
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
         .holdsTransparency = false, .quality = QualityUse::Always, .holdsCmyk = true},
        {.format = ImageFormat::Tiff, .suffix = L("tif"), .otherSuffixes = {L("tiff")}, .libraryName = L("TIFF"),
         .holdsTransparency = true, .quality = QualityUse::Never, .holdsCmyk = true},
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
    return translatedNames(colorDepthTable());
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

const QList<ChoiceFacts<PageBox>> &pageBoxTable()
{
    using L = QLatin1String;
    static const QList<ChoiceFacts<PageBox>> table{
        {PageBox::Crop, QT_TRANSLATE_NOOP("OptionLists", "Crop box"), L("crop")},
        {PageBox::Media, QT_TRANSLATE_NOOP("OptionLists", "Media box"), L("media")},
        {PageBox::Trim, QT_TRANSLATE_NOOP("OptionLists", "Trim box"), L("trim")},
        {PageBox::Bleed, QT_TRANSLATE_NOOP("OptionLists", "Bleed box"), L("bleed")},
        {PageBox::Art, QT_TRANSLATE_NOOP("OptionLists", "Art box"), L("art")},
    };
    return table;
}

const QList<ChoiceFacts<Overprint>> &overprintTable()
{
    using L = QLatin1String;
    static const QList<ChoiceFacts<Overprint>> table{
        {Overprint::Auto, QT_TRANSLATE_NOOP("OptionLists", "For print documents"), L("auto")},
        {Overprint::On, QT_TRANSLATE_NOOP("OptionLists", "Always"), L("on")},
        {Overprint::Off, QT_TRANSLATE_NOOP("OptionLists", "Never"), L("off")},
    };
    return table;
}

const QList<ContentFacts> &contentTable()
{
    using L = QLatin1String;
    static const QList<ContentFacts> table{
        {&Drawing::text, QT_TRANSLATE_NOOP("OptionLists", "Text"), L("text")},
        {&Drawing::images, QT_TRANSLATE_NOOP("OptionLists", "Images"), L("images")},
        {&Drawing::vectors, QT_TRANSLATE_NOOP("OptionLists", "Vector graphics"), L("vectors")},
    };
    return table;
}

const ChoiceFacts<PageBox> &facts(PageBox box)
{
    return rowOf(pageBoxTable(), &ChoiceFacts<PageBox>::value, box);
}

QStringList pageBoxNames()
{
    return translatedNames(pageBoxTable());
}

QStringList overprintNames()
{
    return translatedNames(overprintTable());
}

QString omittedContent(const Drawing &drawing)
{
    QStringList names;
    for (const ContentFacts &row : contentTable()) {
        if (!(drawing.*row.member))
            names << row.commandLineName;
    }
    return names.join(QLatin1Char(','));
}

bool setOmittedContent(const QString &list, Drawing &drawing)
{
    Drawing changed = drawing;
    for (const ContentFacts &row : contentTable())
        changed.*row.member = true;
    if (list.trimmed().toLower() != QLatin1String("none")) {
        for (const QString &name : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const auto row = std::find_if(contentTable().cbegin(), contentTable().cend(), [&](const ContentFacts &r) {
                return r.commandLineName == name.trimmed().toLower();
            });
            if (row == contentTable().cend())
                return false;
            changed.*row->member = false;
        }
    }
    drawing = changed;
    return true;
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
