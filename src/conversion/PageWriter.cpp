// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/PageWriter.h"

#include "conversion/ConversionJob.h"
#include "conversion/DestinationFile.h"
#include "tools/ImageObject.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>

#include <cerrno>

namespace PageWriter {

Problem writeAtomically(const QString &path, const QByteArray &data, const std::atomic_bool *cancel)
{
    DestinationFile file(path);
    Problem problem = file.open();
    if (problem.isNone())
        problem = file.write(data);
    // A run stopped meanwhile no longer counts this page, so it must not appear either.
    if (!problem.isNone() || (cancel && *cancel))
        return problem;
    return file.commit();
}

Problem checkReplaceable(const QString &path)
{
    return DestinationFile::checkReplaceable(path);
}

Problem checkWritable(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".sheetforge-XXXXXX")));
    errno = 0;
    if (probe.open())
        return {};
    return DestinationFile::writeProblem(QFileInfo(folder).absoluteFilePath(), errno, probe.errorString());
}

Problem encode(const ConversionJob &job, const QString &bitmap, const ImageObject &images,
               const std::atomic_bool &cancel, const std::atomic_bool *hold, QByteArray *encoded, StageTimes *times,
               PageFacts *facts)
{
    const auto waitWhileHeld = [&cancel, hold] {
        while (hold && *hold && !cancel)
            QThread::msleep(20);
    };
    waitWhileHeld();
    if (cancel)
        return {};
    std::optional<ImageResult> quick;
    if (const int colours = job.exactPaletteColours(); colours > 0)
        quick = images.exactPalettePage(bitmap, colours, job.options.dpi, &cancel);
    else if (job.writesGrayDirectly())
        quick = images.grayPage(bitmap, job.options.dpi, &cancel);
    else if (const int transparent = job.transparentPaletteColours(); transparent > 0)
        quick = images.transparentPalettePage(bitmap, transparent, job.options.dpi, &cancel);
    // Our writers give up on a stop as on a page they cannot take; the library would start reading it.
    if (!quick && cancel)
        return {};
    const ImageResult image =
        quick ? *quick : images.convert(job.magickArguments(bitmap), job.imageEncoding(), &cancel);
    if (times)
        *times += image.times;
    if (image.cancelled || cancel)
        return {};
    if (!image.ok)
        return Problem::make(image.tooLarge ? Problem::TooLarge : Problem::PageFailed, image.error);
    waitWhileHeld();
    *encoded = image.data;
    // A lossy encoder keeps none of the palette's colours exactly.
    const ImageFormat format = job.format();
    const bool lossy =
        format == ImageFormat::Jpg || (format == ImageFormat::Webp && job.options.usesQualityFor(format));
    if (facts)
        *facts = PageFacts{image.size, lossy ? 0 : image.colors, image.uniform};
    return {};
}

Problem process(const ConversionJob &job, int page, const QString &bitmap, const ImageObject &images,
                const std::atomic_bool &cancel, const std::atomic_bool *hold, StageTimes *times, PageFacts *facts)
{
    QByteArray encoded;
    const Problem problem = encode(job, bitmap, images, cancel, hold, &encoded, times, facts);
    if (!problem.isNone() || cancel)
        return problem;
    QElapsedTimer writing;
    writing.start();
    const Problem written = writeAtomically(job.outputFileName(page), encoded, &cancel);
    if (times)
        times->writing += double(writing.nsecsElapsed()) / 1e9;
    return written;
}

} // namespace PageWriter
