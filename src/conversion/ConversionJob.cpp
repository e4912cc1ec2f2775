// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionJob.h"

#include "document/OutputSize.h"
#include "tools/ImageObject.h"
#include "tools/PrivateFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cmath>

ConversionJob ConversionJob::forDocument(const ConversionOptions &options, const QString &ghostscript,
                                         const OpenedDocument &document, int first, int last, bool numbered)
{
    ConversionJob job;
    job.options = options;
    job.ghostscript = ghostscript;
    job.firstPage = first;
    job.lastPage = last;
    job.numbered = numbered;
    job.pageCount = document.info.pageCount;
    job.password = document.password;
    job.legacyInterpreter = document.info.legacyInterpreter;
    job.pageSize = document.info.pageSize;
    return job;
}

QList<int> ConversionJob::pages() const
{
    if (!pageList.isEmpty())
        return pageList;
    QList<int> pages;
    for (qint64 page = firstPage; page <= lastPage; ++page)
        pages << int(page);
    return pages;
}

ImageFormat ConversionJob::format() const
{
    return OptionLists::formatForFileName(destination).value_or(options.format);
}

int ConversionJob::renderDpi() const
{
    int dpi = options.usesBox() ? OutputSize::boxDpi(pageSize, options.box()) : 0;
    // What trimming keeps is scaled up to the box: rendered at twice the resolution, a part down to half the
    // page still comes from enough pixels.
    if (options.trim)
        dpi *= 2;
    return dpi > 0 ? dpi : options.dpi;
}

qint64 ConversionJob::bitmapBytes() const
{
    const int dpi = renderDpi();
    return qint64(pageSize.width() * dpi / 72.0) * qint64(pageSize.height() * dpi / 72.0) * 3;
}

qint64 ConversionJob::bitmapBytesAt(int dpi) const
{
    const QSize size = OutputSize::pixels(pageSize, dpi, options.antialias);
    return qint64(size.width()) * size.height() * (keepsTransparency() ? 4 : 3);
}

qint64 ConversionJob::pixelCacheBytesAt(int dpi) const
{
    // Measured with the library's memory limit at 1 MiB, so that every image spills: reducing the colours
    // (or trimming, or scaling) of a page peaked at 18 bytes a pixel, two images; black and white that keeps
    // the transparency clones the page twice more and peaked at 34.
    // Taking the paper back out of antialiased edges holds the page, its alpha and its colours at once.
    const int copies =
        (options.isMonochrome() && keepsTransparency() ? 4 : 2) + (keepsTransparency() && options.antialias ? 2 : 0);
    const QSize size = OutputSize::pixels(pageSize, dpi, options.antialias);
    return qint64(size.width()) * size.height() * ImageObject::CacheBytesPerPixel * copies;
}

Problem ConversionJob::checkSize(const ImageRoom &room) const
{
    const int dpi = renderDpi();
    const int boxDpi = options.usesBox() ? OutputSize::boxDpi(pageSize, options.box()) : 0;
    if (boxDpi > OptionLists::resolutions().last()) {
        Problem problem = Problem::make(Problem::TooLarge);
        problem.message =
            QCoreApplication::translate("ConversionJob", "Pages cannot be made %1 x %2 pixels: it would take %3 dpi, "
                                                         "and the most is %4 dpi.")
                .arg(options.boxWidth > 0 ? QString::number(options.boxWidth) : QStringLiteral("*"))
                .arg(options.boxHeight > 0 ? QString::number(options.boxHeight) : QStringLiteral("*"))
                .arg(boxDpi)
                .arg(OptionLists::resolutions().last());
        return problem;
    }
    const auto withinLimits = [this](int dpi) {
        const QSize size = OutputSize::pixels(pageSize, dpi, options.antialias);
        return size.width() <= ImageObject::MaxSide && size.height() <= ImageObject::MaxSide
               && qint64(size.width()) * size.height() <= ImageObject::MaxArea;
    };
    // The bitmap lies in the temporary folder while the library works; what of the pixel cache exceeds the
    // library's memory spills there too, up to its disk limit.
    const auto usable = [this, &room](int dpi) {
        return room.disk >= room.free ? room.free : std::min(room.free, bitmapBytesAt(dpi) + room.disk);
    };
    const auto needed = [this, &room](int dpi) {
        return bitmapBytesAt(dpi) + std::max<qint64>(0, pixelCacheBytesAt(dpi) - room.memory);
    };
    const auto fits = [&](int dpi) { return withinLimits(dpi) && needed(dpi) <= usable(dpi); };
    if (!pageSize.isValid() || fits(dpi))
        return {};
    const QSize size = OutputSize::pixels(pageSize, dpi, options.antialias);
    int largest = 0;
    for (int listed : OptionLists::resolutions()) {
        if (listed < dpi && fits(listed))
            largest = listed;
    }
    const QLocale locale;
    const auto bytes = [&locale](qint64 count) {
        return locale.formattedDataSize(count, 1, QLocale::DataSizeSIFormat);
    };
    QString why =
        withinLimits(dpi)
            ? QCoreApplication::translate("ConversionJob", "The page is too large to convert at %1 dpi: at %2 x "
                                                           "%3 pixels it needs %4 in the temporary folder "
                                                           "\"%5\", and %6 can be used there.")
                  .arg(dpi)
                  .arg(size.width())
                  .arg(size.height())
                  .arg(bytes(needed(dpi)), Problem::escapeControls(PrivateFolder::temporaryRoot()),
                       bytes(std::max<qint64>(0, usable(dpi))))
            : QCoreApplication::translate("ConversionJob", "The page is too large to convert at %1 dpi: it "
                                                           "would be %2 x %3 pixels.")
                  .arg(dpi)
                  .arg(size.width())
                  .arg(size.height());
    why += QLatin1Char(' ')
           + (largest > 0 ? QCoreApplication::translate("ConversionJob", "At most %1 dpi fits.").arg(largest)
                          : QCoreApplication::translate("ConversionJob", "No resolution fits."));
    Problem problem = Problem::make(Problem::TooLarge);
    problem.message = why;
    return problem;
}

QString ConversionJob::outputFileName(int page) const
{
    const QFileInfo chosen(destination);
    const bool ownSuffix = OptionLists::formatForFileName(destination).has_value();
    if (isOneFile())
        return ownSuffix ? destination : destination + QLatin1Char('.') + OptionLists::suffix(format());
    const QString name = chosen.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString suffix = ownSuffix ? chosen.suffix() : OptionLists::suffix(format());
    const int digits = std::max(3, int(QString::number(pageCount).size()));
    return chosen.dir().filePath(base + QStringLiteral("%1").arg(page, digits, 10, QLatin1Char('0')) + QLatin1Char('.')
                                 + suffix);
}

QStringList ConversionJob::outputFileNames() const
{
    if (isOneFile())
        return {outputFileName(firstPage)};
    QStringList names;
    for (int page : pages())
        names << outputFileName(page);
    return names;
}

QStringList ConversionJob::outputsToReplace(const std::function<bool(const QString &)> &exists, bool dialogAsked) const
{
    QStringList replaced;
    for (const QString &name : outputFileNames()) {
        if ((!dialogAsked || name != destination) && exists(name))
            replaced << name;
    }
    return replaced;
}

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

// Halved by Ghostscript, an edge pixel's colour is the plain mean of ink and white paper, so it shows lighter
// than the same page on opaque paper. Its alpha is the ink's share, so the ink's own colour is
// 255 - (255 - colour) / alpha, and the page over white comes out as the opaque page does.
QStringList unmixedPaper()
{
    return {QStringLiteral("("),           QStringLiteral("+clone"),     QStringLiteral("-alpha"),
            QStringLiteral("extract"),     QStringLiteral(")"),          QStringLiteral("("),
            QStringLiteral("-clone"),      QStringLiteral("0"),          QStringLiteral("-alpha"),
            QStringLiteral("off"),         QStringLiteral("-negate"),    QStringLiteral("-clone"),
            QStringLiteral("1"),           QStringLiteral("-compose"),   QStringLiteral("Divide_Src"),
            QStringLiteral("-composite"),  QStringLiteral("-negate"),    QStringLiteral(")"),
            QStringLiteral("-delete"),     QStringLiteral("0"),          QStringLiteral("+swap"),
            QStringLiteral("-alpha"),      QStringLiteral("off"),        QStringLiteral("-compose"),
            QStringLiteral("CopyOpacity"), QStringLiteral("-composite"), QStringLiteral("-compose"),
            QStringLiteral("Over")};
}

// The writer would analyse the pixels again and pick its own form: left to itself it wrote a text manual in
// 16 colours as 8-bit gray, 13% larger. So gray is written as gray at the depth chosen (black and white as
// 1-bit gray), a palette as indexed colour at the least depth that holds the colours the page kept, and
// Hicolor as true colour; the forms below 8 bits go to our own writer. Left out: the background colour (in
// the palette it would take an entry more than the depth holds), Ghostscript's sRGB profile (2.5 KB a page;
// a PNG without one is sRGB already) and the times of writing, so the same page always gives the same bytes.
// Where the library writes, zlib at level 8 with its strategy for filtered data: on a 93-page manual in 16
// colours, 4.9% smaller than its level 7.
void pngForm(const ConversionOptions &options, bool alpha, ImageEncoding &encoding)
{
    encoding.defines << QStringLiteral("png:exclude-chunk=bKGD,iCCP,tEXt,zTXt,tIME")
                     << QStringLiteral("png:compression-level=8") << QStringLiteral("png:compression-strategy=1");
    if (alpha)
        return;
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

QStringList ConversionJob::reductionArguments(const ConversionOptions &options, ImageFormat written, QSize box)
{
    const bool alpha = options.keepsTransparencyIn(written);
    QStringList args;
    if (alpha && options.antialias)
        args << unmixedPaper();
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
    // The reduction averages the paper with the faintest edges of the ink; the paper must stay clear. A GIF
    // has one clear colour of its own, and its writer turned the paper black after this.
    if (alpha && written != ImageFormat::Gif)
        args << QStringLiteral("-channel") << QStringLiteral("A") << QStringLiteral("-level")
             << QStringLiteral("2%,100%") << QStringLiteral("+channel");
    return args;
}

QStringList ConversionJob::magickArguments(const QString &bitmap) const
{
    // The bitmap's format is named, so that nothing else is ever decoded from the work folder, whatever lies
    // there.
    const bool alpha = keepsTransparency();
    QStringList args = QStringList{GhostscriptCommands::bitmapForLibrary(bitmap)}
                       + reductionArguments(options, format(), options.box());
    // For a box, the resolution of the page it was fitted for.
    int dpi = options.dpi;
    if (options.usesBox() && pageSize.width() > 0)
        dpi = std::max(1, int(std::lround(OutputSize::written(options, pageSize).width() * 72.0 / pageSize.width())));
    args << QStringLiteral("-units") << QStringLiteral("PixelsPerInch") << QStringLiteral("-density")
         << QString::number(dpi);
    if (format() == ImageFormat::Tiff) {
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

ImageEncoding ConversionJob::imageEncoding() const
{
    ImageEncoding encoding{.format = OptionLists::facts(format()).libraryName};
    // The quality means something else to PNG (zlib level and filter), so it goes to the lossy formats only.
    // The library reads quality 0 as "its default"; the user asked for the smallest file.
    if (options.usesQualityFor(format()) && options.jpegQuality >= 0)
        encoding.quality = std::max(1, options.jpegQuality);
    if (format() == ImageFormat::Png)
        pngForm(options, keepsTransparency(), encoding);
    if (format() == ImageFormat::Webp && !options.usesQualityFor(ImageFormat::Webp))
        encoding.defines << QStringLiteral("webp:lossless=true");
    return encoding;
}
