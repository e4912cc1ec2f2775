// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionJob.h"

#include "document/OutputSize.h"
#include "tools/ImageObject.h"
#include "tools/MagickCommands.h"
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
    job.pageSize = document.info.pageSize(options.pageBox);
    return job;
}

void ConversionJob::applyDrawingTo(RenderRequest &render) const
{
    render.pageBox = options.pageBox;
    render.drawing = options.drawing;
    render.cmyk = options.isCmyk();
    // A palette of 16 colours or fewer cannot keep 16 levels of every ink's edge: they would only cost the
    // reduction time and the file bytes, and the edges of before (4 levels and the paper) look the same.
    render.textAlphaBits = options.colorCount() > 16 ? 4 : 2;
    render.simulateOverprint =
        options.overprint == Overprint::On || (options.overprint == Overprint::Auto && printIntent);
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
    const QSize size = OutputSize::pixels(pageSize, dpi);
    return qint64(size.width()) * size.height() * (keepsTransparency() ? 4 : 3);
}

qint64 ConversionJob::pixelCacheBytesAt(int dpi) const
{
    // Measured with the library's memory limit at 1 MiB, so that every image spills: reducing the colours
    // (or trimming, or scaling) of a page peaked at 18 bytes a pixel, two images; black and white that keeps
    // the transparency clones the page twice more and peaked at 34.
    const int copies = options.isMonochrome() && keepsTransparency() ? 4 : 2;
    const QSize size = OutputSize::pixels(pageSize, dpi);
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
        const QSize size = OutputSize::pixels(pageSize, dpi);
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
    const QSize size = OutputSize::pixels(pageSize, dpi);
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

QStringList ConversionJob::magickArguments(const QString &bitmap) const
{
    // For a box, the resolution of the page it was fitted for.
    int dpi = options.dpi;
    if (options.usesBox() && pageSize.width() > 0)
        dpi = std::max(1, int(std::lround(OutputSize::written(options, pageSize).width() * 72.0 / pageSize.width())));
    return MagickCommands::pageArguments(
        {.bitmap = bitmap, .options = options, .written = format(), .box = options.box(), .dpi = dpi});
}

namespace {

// Whether the bitmap needs nothing but its colours changed for a PNG, with its transparency or without.
bool onlyColoursChange(const ConversionJob &job, bool transparent = false)
{
    const ConversionOptions &o = job.options;
    return job.format() == ImageFormat::Png && !o.trim && !o.usesBox() && job.keepsTransparency() == transparent;
}

// The palette's size where the bitmap needs nothing but the library's tree reduction of its colours.
int reducedColours(const ConversionJob &job, bool transparent)
{
    const ConversionOptions &o = job.options;
    const bool reductionOnly = onlyColoursChange(job, transparent) && OptionLists::facts(o.colorDepth).palette
                               && !o.isGray() && !o.isMonochrome() && !o.isCmyk() && !o.dither && !o.iccProfile;
    return reductionOnly ? o.colorCount() : 0;
}

} // namespace

int ConversionJob::exactPaletteColours() const
{
    return reducedColours(*this, false);
}

int ConversionJob::transparentPaletteColours() const
{
    return reducedColours(*this, true);
}

bool ConversionJob::writesGrayDirectly() const
{
    // Dithering changes nothing here: there are no fewer levels than the file holds.
    return onlyColoursChange(*this) && options.colorDepth == ColorDepth::Grayscale;
}

ImageEncoding ConversionJob::imageEncoding() const
{
    return MagickCommands::encoding({.options = options, .written = format()});
}
