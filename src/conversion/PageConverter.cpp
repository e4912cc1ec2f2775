// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/PageConverter.h"

#include "tools/CommandRunner.h"
#include "tools/GhostscriptCommands.h"
#include "tools/GhostscriptLocator.h"
#include "tools/ImageObject.h"
#include "tools/Logging.h"
#include "tools/NumberText.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

constexpr int MaxReportedFailures = 20;

// Ghostscript's own complaint, without its banner.
QString ghostscriptReason(const QString &output, const ProcessStatus &status)
{
    QStringList lines;
    for (const QString &line : output.split(QLatin1Char('\n'))) {
        const QString text = line.trimmed();
        if (!text.isEmpty() && !text.startsWith(QLatin1String("GPL Ghostscript")) && !text.startsWith(QLatin1String("Copyright"))
            && !text.contains(QLatin1String("ABSOLUTELY NO WARRANTY")) && !text.startsWith(QLatin1String("see the file"))
            && !text.startsWith(QLatin1String("Processing pages")) && !text.startsWith(QLatin1String("Page ")))
            lines << text;
    }
    QString reason = QStringLiteral("Ghostscript made no image");
    if (!status.isCleanExit())
        reason += QStringLiteral(" (") + status.describe() + QLatin1Char(')');
    if (!lines.isEmpty())
        reason += QStringLiteral(": ") + lines.mid(0, 3).join(QLatin1Char(' '));
    return reason;
}

QString magickReason(const QString &error)
{
    static const QRegularExpression tooLarge(
        QStringLiteral("resources exhausted|exceeds limit|no images defined|width or height exceeds|memory allocation failed"));
    if (tooLarge.match(error).hasMatch())
        return QStringLiteral("the image is too large at this resolution; choose a lower resolution (") + error
            + QLatin1Char(')');
    return error.isEmpty() ? QStringLiteral("the image could not be written") : error;
}

// The library reads %d, [..] and the like in file names as its own syntax, so it only ever writes
// plain names of ours; the extension tells it the format.
QString formatSuffix(const QString &destination, const QString &fallback)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9]{1,8}$"));
    const QString name = QFileInfo(destination).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot > 0 ? name.mid(dot + 1) : QString();
    return plain.match(suffix).hasMatch() ? suffix : fallback;
}

// Copies the finished image over the destination in one step: an existing file is replaced only by a
// complete one.
QString moveIntoPlace(const QString &finished, const QString &destination)
{
    QFile source(finished);
    if (!source.open(QIODevice::ReadOnly))
        return source.errorString();
    QSaveFile target(destination);
    if (!target.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write ") + destination + QStringLiteral(": ") + target.errorString();
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (target.write(block) != block.size())
            return QStringLiteral("cannot write ") + destination + QStringLiteral(": ") + target.errorString();
    }
    if (!target.commit())
        return QStringLiteral("cannot write ") + destination + QStringLiteral(": ") + target.errorString();
    return {};
}

} // namespace

ConversionResult PageConverter::ConvertPages(const ConversionJob &job, IProgressReport *progress)
{
    ConversionResult result;
    // A folder of our own: nothing else can slip a file or link under the names we write.
    QTemporaryDir work(QDir(QDir::tempPath()).filePath(QStringLiteral("SFGXXXXXX")));
    if (!work.isValid()) {
        messageBox().inform(QStringLiteral("No temporary folder could be created: ") + work.errorString(),
                            IMessageBox::Icon::Critical);
        return result;
    }
    const int last = job.lastPage();
    for (int page = job.firstPage(); page <= last; ++page) {
        if (progress) {
            QCoreApplication::processEvents();
            if (progress->Cancel()) {
                if (messageBox().askYesNo(QStringLiteral("Are you sure you want to cancel the operation?"))) {
                    result.cancelled = true;
                    break;
                }
                progress->setCancel(false);
            }
            progress->SetPercentage(int(NumberText::roundHalfEven(100.0 * page / last)));
            progress->SetStatus(QStringLiteral("Processing page ") + QString::number(page) + QStringLiteral("..."));
        }
        const QString failure = convertPage(job, page, work.path());
        if (failure.isNull()) {
            result.written << job.outputFileName(page);
            continue;
        }
        result.failures << QStringLiteral("Page ") + QString::number(page) + QStringLiteral(": ") + failure;
        // Without Ghostscript every page fails alike, and the runner has said so already.
        if (commandRunner().lastStatus().outcome == ProcessStatus::NotStarted)
            return result;
    }
    if (!result.failures.isEmpty()) {
        QStringList shown = result.failures.mid(0, MaxReportedFailures);
        if (result.failures.size() > MaxReportedFailures)
            shown << QStringLiteral("... and %1 more").arg(result.failures.size() - MaxReportedFailures);
        messageBox().inform(QStringLiteral("These pages could not be converted:\n") + shown.join(QLatin1Char('\n')),
                            IMessageBox::Icon::Critical);
    }
    return result;
}

QString PageConverter::convertPage(const ConversionJob &job, int page, const QString &workFolder)
{
    const QString bitmap = QDir(workFolder).filePath(QStringLiteral("SFGpage.png"));
    const QString destination = job.outputFileName(page);
    const QString finished =
        QDir(workFolder).filePath(QStringLiteral("SFGimage.") + formatSuffix(destination, job.imageFormat));
    struct Cleanup
    {
        QString a, b;
        ~Cleanup()
        {
            QFile::remove(a);
            QFile::remove(b);
        }
    } cleanup{bitmap, finished};

    QStringList command =
        GhostscriptCommands::pageConversion(GhostscriptPath(), job.renderResolution(), bitmap, page, job.sourceFile);
    if (job.downscaleInGhostscript())
        command.insert(command.size() - 1, QStringLiteral("-dDownScaleFactor=2"));
    ICommandRunner &runner = commandRunner();
    const QString output = runner.ExecuteCommand(command);
    const ProcessStatus status = runner.lastStatus();
    if (status.outcome == ProcessStatus::NotStarted)
        return QStringLiteral("Ghostscript could not be started");
    if (!GhostscriptCommands::renderSucceeded(output, status, bitmap))
        return ghostscriptReason(output, status);

    IImageObject &magick = imageObject();
    if (!magick.convert(job.convertVector(bitmap, finished)) || QFileInfo(finished).size() == 0)
        return magickReason(magick.lastError());
    const QString moveError = moveIntoPlace(finished, destination);
    if (!moveError.isEmpty())
        return moveError;
    qCDebug(lcConversion) << "wrote" << destination;
    return {};
}
