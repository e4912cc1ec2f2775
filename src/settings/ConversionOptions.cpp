// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ConversionOptions.h"

#include <QCoreApplication>
#include <QFileInfo>

bool ConversionOptions::isGray() const
{
    return colorDepth == ColorDepth::Grayscale || colorDepth == ColorDepth::SixteenGrays
           || colorDepth == ColorDepth::FourGrays;
}

bool ConversionOptions::usesQualityFor(ImageFormat written) const
{
    return written == ImageFormat::Jpg || (written == ImageFormat::Webp && colorDepth == ColorDepth::HiColor);
}

int ConversionOptions::colorCount() const
{
    switch (colorDepth) {
    case ColorDepth::BlackAndWhite:
        return 2;
    case ColorDepth::FourColors:
    case ColorDepth::FourGrays:
        return 4;
    case ColorDepth::SixteenColors:
    case ColorDepth::SixteenGrays:
        return 16;
    case ColorDepth::TwoHundredFiftySixColors:
    case ColorDepth::Grayscale:
        return 256;
    case ColorDepth::HiColor:
        break;
    }
    return 65536;
}

int ConversionOptions::bitsPerPixel() const
{
    switch (colorCount()) {
    case 2:
        return 1;
    case 4:
        return 2;
    case 16:
        return 4;
    case 256:
        return 8;
    default:
        return 0;
    }
}

namespace OptionLists {

const QList<ColorDepth> &colorDepths()
{
    static const QList<ColorDepth> list{ColorDepth::BlackAndWhite, ColorDepth::FourColors,
                                        ColorDepth::SixteenColors, ColorDepth::TwoHundredFiftySixColors,
                                        ColorDepth::HiColor,       ColorDepth::Grayscale,
                                        ColorDepth::SixteenGrays,  ColorDepth::FourGrays};
    return list;
}

const QList<ImageFormat> &formats()
{
    static const QList<ImageFormat> list{ImageFormat::Png, ImageFormat::Gif, ImageFormat::Jpg, ImageFormat::Tiff,
                                         ImageFormat::Webp};
    return list;
}

QStringList colorDepthNames()
{
    return {QCoreApplication::translate("OptionLists", "Black and White (1bpp)"),
            QCoreApplication::translate("OptionLists", "4 colors (2bpp)"),
            QCoreApplication::translate("OptionLists", "16 colors (4bpp)"),
            QCoreApplication::translate("OptionLists", "256 colors (8bpp)"),
            QCoreApplication::translate("OptionLists", "Hicolor (16bpp)"),
            QCoreApplication::translate("OptionLists", "Grayscale (8bpp)"),
            QCoreApplication::translate("OptionLists", "16 grays (4bpp)"),
            QCoreApplication::translate("OptionLists", "4 grays (2bpp)")};
}

const QList<int> &resolutions()
{
    static const QList<int> list{72, 96, 120, 144, 192, 300, 600, 1200, 2400};
    return list;
}

QString suffix(ImageFormat format)
{
    switch (format) {
    case ImageFormat::Gif:
        return QStringLiteral("gif");
    case ImageFormat::Jpg:
        return QStringLiteral("jpg");
    case ImageFormat::Tiff:
        return QStringLiteral("tif");
    case ImageFormat::Webp:
        return QStringLiteral("webp");
    case ImageFormat::Png:
        break;
    }
    return QStringLiteral("png");
}

QStringList suffixes()
{
    QStringList list;
    for (ImageFormat format : formats())
        list << suffix(format);
    return list;
}

std::optional<ImageFormat> formatForFileName(const QString &fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("jpeg"))
        return ImageFormat::Jpg;
    if (ext == QLatin1String("tiff"))
        return ImageFormat::Tiff;
    const qsizetype index = suffixes().indexOf(ext);
    if (index < 0)
        return std::nullopt;
    return formats().at(index);
}

} // namespace OptionLists
