// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/MagickCommands.h"

#include "tools/GhostscriptCommands.h"

#include <algorithm>

namespace {

QStringList ditherArguments(const ConversionOptions &options)
{
    // The dither setting must come before the reduction it governs.
    if (options.dither)
        return {QStringLiteral("-dither"), QStringLiteral("Riemersma")};
    return {QStringLiteral("+dither")};
}

// Black and white keeps the page's ink where it covers at least half a pixel; the rest is transparent. The
// library's black and white would drop the transparency, so it is done on the page laid on white, and the
// coverage put back as a mask.
QStringList monochromeWithAlpha(const ConversionOptions &options)
{
    return QStringList{QStringLiteral("("),       QStringLiteral("+clone"),      QStringLiteral("-alpha"),
                       QStringLiteral("extract"), QStringLiteral("-threshold"),  QStringLiteral("50%"),
                       QStringLiteral(")"),       QStringLiteral("("),           QStringLiteral("-clone"),
                       QStringLiteral("0"),       QStringLiteral("-background"), QStringLiteral("white"),
                       QStringLiteral("-alpha"),  QStringLiteral("remove")}
           + ditherArguments(options)
           + QStringList{QStringLiteral("-monochrome"), QStringLiteral(")"),        QStringLiteral("-delete"),
                         QStringLiteral("0"),           QStringLiteral("+swap"),    QStringLiteral("-alpha"),
                         QStringLiteral("off"),         QStringLiteral("-compose"), QStringLiteral("CopyOpacity"),
                         QStringLiteral("-composite")};
}

// The writer would analyse the pixels again and pick its own form: left to itself it wrote a text manual in
// 16 colours as 8-bit gray, 13% larger. So gray is written as gray at the depth chosen (black and white as
// 1-bit gray), a palette as indexed colour at the least depth that holds the colours the page kept, and
// Hicolor as true colour, and a transparent page in the least form that holds its colours and their alpha (gray and
// alpha for a gray depth); our own writer takes what it can. Left out: the background colour (in
// the palette it would take an entry more than the depth holds), the sRGB profile unless asked for (2.5 KB
// a page; a PNG without one is sRGB already) and the times of writing, so the same page always gives the same bytes.
// Where the library writes, zlib at level 8 with its strategy for filtered data: on a 93-page manual in 16
// colours, 4.9% smaller than its level 7.
void pngForm(const ConversionOptions &options, bool alpha, ImageEncoding &encoding)
{
    encoding.defines << (options.iccProfile ? QStringLiteral("png:exclude-chunk=bKGD,tIME,date")
                                            : QStringLiteral("png:exclude-chunk=bKGD,iCCP,tEXt,zTXt,tIME"))
                     << QStringLiteral("png:compression-level=8") << QStringLiteral("png:compression-strategy=1");
    if (alpha) {
        encoding.pngAlpha = true;
        if (options.isGray())
            encoding.pngColorType = 4;
        return;
    }
    if (options.isGray() || options.isMonochrome()) {
        encoding.pngColorType = 0;
        encoding.pngBitDepth = options.bitsPerPixel();
    } else if (options.bitsPerPixel() > 0) {
        encoding.pngColorType = 3;
    } else {
        encoding.pngColorType = 2;
        encoding.pngBitDepth = 8;
    }
}

} // namespace

QStringList MagickCommands::reduction(const MagickRequest &request)
{
    const ConversionOptions &options = request.options;
    const ImageFormat written = request.written;
    const QSize box = request.box;
    const bool alpha = options.keepsTransparencyIn(written);
    QStringList args;
    // Without +repage a trimmed image keeps the page canvas, and viewers show the whole page again.
    if (options.trim)
        args << QStringLiteral("-trim") << QStringLiteral("+repage");
    // Scaled before the colours are reduced: scaling afterwards blends the palette back into many colours.
    if (box.width() > 0 || box.height() > 0)
        args << QStringLiteral("-resize")
             << (box.width() > 0 ? QString::number(box.width()) : QString()) + QLatin1Char('x')
                    + (box.height() > 0 ? QString::number(box.height()) : QString());
    if (options.isMonochrome() && alpha)
        return args + monochromeWithAlpha(options);
    if (options.isGray())
        args << QStringLiteral("-colorspace") << QStringLiteral("Gray");
    args << ditherArguments(options);
    if (options.isMonochrome()) {
        args << QStringLiteral("-monochrome");
    } else if (options.isGray() && !alpha) {
        // Evenly spaced levels, the ones the file's bit depth holds exactly: levels chosen from the page would
        // fall together when stored at that depth.
        if (OptionLists::facts(options.colorDepth).palette)
            args << QStringLiteral("-size") << QStringLiteral("1x%1").arg(options.colorCount())
                 << QStringLiteral("-remap") << QStringLiteral("gradient:black-white");
        args << QStringLiteral("-depth") << QString::number(options.bitsPerPixel()) << QStringLiteral("-type")
             << QStringLiteral("Grayscale");
    } else if (OptionLists::facts(options.colorDepth).palette) {
        args << QStringLiteral("-colors") << QString::number(options.colorCount());
    }
    // A CMYK page written where CMYK cannot go (the preview) is seen through the profile it was rendered to.
    if (options.isCmyk() && !ConversionOptions::holdsCmyk(written)) {
        const QString srgb = GhostscriptCommands::srgbProfile();
        args << (srgb.isEmpty() ? QStringList{QStringLiteral("-colorspace"), QStringLiteral("sRGB")}
                                : QStringList{QStringLiteral("-profile"), srgb});
    }
    // The reduction averages the paper with the faintest edges of the ink; the paper must stay clear. A GIF
    // has one clear colour of its own, and its writer turned the paper black after this.
    if (alpha && written != ImageFormat::Gif)
        args << QStringLiteral("-channel") << QStringLiteral("A") << QStringLiteral("-level")
             << QStringLiteral("2%,100%") << QStringLiteral("+channel");
    return args;
}

QStringList MagickCommands::pageArguments(const MagickRequest &request)
{
    const ConversionOptions &options = request.options;
    const bool alpha = options.keepsTransparencyIn(request.written);
    // The bitmap's format is named, so that nothing else is ever decoded from the work folder, whatever lies
    // there.
    QStringList args = QStringList{GhostscriptCommands::bitmapForLibrary(request.bitmap)} + reduction(request);
    // A CMYK page keeps the profile it was rendered to.
    if (!options.isCmyk()) {
        const QString srgb = GhostscriptCommands::srgbProfile();
        // Ghostscript tags its bitmap with its own RGB profile. A colour file carries the sRGB profile only when
        // asked; a gray one never, as its pixels are no RGB.
        args << QStringLiteral("+profile") << QStringLiteral("*");
        if (options.iccProfile && !options.isGray() && !options.isMonochrome() && !srgb.isEmpty())
            args << QStringLiteral("-profile") << srgb;
    }
    args << QStringLiteral("-units") << QStringLiteral("PixelsPerInch") << QStringLiteral("-density")
         << QString::number(request.dpi);
    if (request.written == ImageFormat::Tiff) {
        // Fax machines and archives read black and white as Group 4; the rest is lossless too.
        args << QStringLiteral("-compress")
             << (options.isMonochrome() && !alpha ? QStringLiteral("Group4") : QStringLiteral("LZW"));
        // The library writes the alpha of a palette TIFF wrongly (a red square came out clear): with
        // transparency, the colours are stored whole.
        if (alpha)
            args << QStringLiteral("-type")
                 << (options.isGray() ? QStringLiteral("GrayscaleAlpha") : QStringLiteral("TrueColorAlpha"));
    }
    return args;
}

ImageEncoding MagickCommands::encoding(const MagickRequest &request)
{
    const ConversionOptions &options = request.options;
    ImageEncoding encoding{.format = OptionLists::facts(request.written).libraryName};
    // The quality means something else to PNG (zlib level and filter), so it goes to the lossy formats only.
    // The library reads quality 0 as "its default"; the user asked for the smallest file.
    if (options.usesQualityFor(request.written) && options.jpegQuality >= 0)
        encoding.quality = std::max(1, options.jpegQuality);
    if (request.written == ImageFormat::Png)
        pngForm(options, options.keepsTransparencyIn(request.written), encoding);
    if (request.written == ImageFormat::Webp && !options.usesQualityFor(ImageFormat::Webp))
        encoding.defines << QStringLiteral("webp:lossless=true");
    return encoding;
}
