// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/GhostscriptCommands.h"

#include "tools/ProcessRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>

namespace GhostscriptCommands {

namespace {

QString absolute(const QString &document)
{
    return QFileInfo(document).absoluteFilePath();
}

// Ghostscript expands %d and friends in output names; %% is its literal percent sign.
QString escapedForOutput(const QString &path)
{
    QString escaped = path;
    return escaped.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

QSizeF boxSize(const QString &box)
{
    const QStringList numbers = box.simplified().split(QLatin1Char(' '));
    if (numbers.size() != 4)
        return {};
    return {std::abs(numbers.at(2).toDouble() - numbers.at(0).toDouble()),
            std::abs(numbers.at(3).toDouble() - numbers.at(1).toDouble())};
}

} // namespace

QStringList renderArguments(const RenderRequest &request)
{
    QStringList args{QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"),
                     QStringLiteral("-dUseCropBox"), QStringLiteral("-sDEVICE=tiffscaled24")};
    // Above 600 dpi an uncompressed page runs to gigabytes in the temporary folder.
    args << (request.dpi >= 600 ? QStringLiteral("-sCompression=lzw") : QStringLiteral("-sCompression=none"));
    if (request.downscaleTwice)
        args << QStringLiteral("-r%1").arg(2 * request.dpi) << QStringLiteral("-dDownScaleFactor=2");
    else
        args << QStringLiteral("-r%1").arg(request.dpi);
    args << QStringLiteral("-dFirstPage=%1").arg(request.firstPage)
         << QStringLiteral("-dLastPage=%1").arg(request.lastPage)
         << QStringLiteral("-sOutputFile=") + escapedForOutput(QDir(request.outputFolder).path())
                + QStringLiteral("/p%06d.tif");
    if (!request.passwordFile.isEmpty())
        args << QLatin1Char('@') + request.passwordFile;
    args << absolute(request.document);
    return args;
}

QString bitmapPath(const QString &folder, int index)
{
    return QDir(folder).filePath(QStringLiteral("p%1.tif").arg(index, 6, 10, QLatin1Char('0')));
}

QStringList infoArguments(const QString &document, int page, const QString &passwordFile)
{
    QStringList args{QStringLiteral("-q"),
                     QStringLiteral("-dNODISPLAY"),
                     QStringLiteral("-dSAFER"),
                     QStringLiteral("-dBATCH"),
                     QStringLiteral("-dNOPAUSE"),
                     QStringLiteral("-dPDFINFO"),
                     QStringLiteral("-dFirstPage=%1").arg(page),
                     QStringLiteral("-dLastPage=%1").arg(page)};
    if (!passwordFile.isEmpty())
        args << QLatin1Char('@') + passwordFile;
    args << absolute(document);
    return args;
}

DocumentInfo parseInfo(const QString &output, int page)
{
    DocumentInfo info;
    static const QRegularExpression count(QStringLiteral("File has (\\d+) pages?"));
    const QRegularExpressionMatch countMatch = count.match(output);
    if (countMatch.hasMatch())
        info.pageCount = countMatch.captured(1).toInt();
    const QRegularExpression box(
        QStringLiteral("Page %1 MediaBox: \\[([^\\]]*)\\](?: CropBox: \\[([^\\]]*)\\])?(?:[^\\n]*?Rotate = (-?\\d+))?")
            .arg(page));
    const QRegularExpressionMatch boxMatch = box.match(output);
    if (boxMatch.hasMatch()) {
        const QSizeF media = boxSize(boxMatch.captured(1));
        const QSizeF crop = boxSize(boxMatch.captured(2));
        // Ghostscript renders the crop box within the media box.
        QSizeF size = crop.isValid() ? crop.boundedTo(media) : media;
        if (((boxMatch.captured(3).toInt() % 360 + 360) % 360 / 90) % 2 == 1)
            size.transpose();
        info.pageSize = size;
    }
    return info;
}

QList<int> startedPages(const QString &lines)
{
    static const QRegularExpression pageLine(QStringLiteral("^Page (\\d+)$"), QRegularExpression::MultilineOption);
    QList<int> pages;
    for (auto it = pageLine.globalMatch(lines); it.hasNext();)
        pages << it.next().captured(1).toInt();
    return pages;
}

int renderedPixels(double points, int dpi, bool downscaleTwice)
{
    // The device rounds to the nearest pixel; the downscaler drops an odd last pixel.
    if (downscaleTwice)
        return int(std::floor(points * 2 * dpi / 72.0 + 0.5)) / 2;
    return int(std::floor(points * dpi / 72.0 + 0.5));
}

QString writePasswordFile(const QString &folder, const QString &password)
{
    // Ghostscript's argument files read \" as a quote and keep every other backslash as it is. A password
    // with blanks needs quotes and a line end, and then cannot end in a backslash.
    const bool blanks = std::any_of(password.begin(), password.end(), [](QChar c) { return c.isSpace(); });
    if (password.contains(QLatin1Char('\n')) || (blanks && password.endsWith(QLatin1Char('\\'))))
        return {};
    QString escaped = password;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    const QByteArray argument = blanks ? QByteArray("-sPDFPassword=\"" + escaped.toUtf8() + "\"\n")
                                       : QByteArray("-sPDFPassword=" + escaped.toUtf8());
    const QString path = QDir(folder).filePath(QStringLiteral("password.args"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(argument);
    return file.commit() ? path : QString();
}

QString details(const QString &output)
{
    static const QRegularExpression noise(QStringLiteral(
        "^(GPL Ghostscript [0-9.]+ \\(|Copyright \\(C\\)|This software is supplied under|see the file COPYING|"
        "Processing pages |Page \\d+$|Loading font |Querying operating system for font files)"));
    static const QRegularExpression prefix(QStringLiteral("^GPL Ghostscript [0-9.]+: ?"));
    QStringList lines;
    for (QString line : output.split(QLatin1Char('\n'))) {
        line.remove(prefix);
        if (!line.trimmed().isEmpty() && !noise.match(line).hasMatch())
            lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

Problem checkDocument(const QString &ghostscript, const QString &document)
{
    if (ghostscript.isEmpty())
        return Problem::make(Problem::GhostscriptMissing);
    const QFileInfo info(document);
    const QString name = info.fileName();
    if (!info.exists())
        return Problem::make(Problem::FileGone, {}, name);
    if (!info.isFile())
        return Problem::make(Problem::NotPdf, {}, name);
    QFile file(document);
    if (!file.open(QIODevice::ReadOnly))
        return Problem::make(Problem::PermissionDenied, file.errorString(), name);
    if (info.size() == 0)
        return Problem::make(Problem::EmptyFile, {}, name);
    return {};
}

Problem madeNothing(const QString &document, const QString &output)
{
    return Problem::make(Problem::NotPdf, details(output), QFileInfo(document).fileName());
}

Problem classify(const QString &document, const ProcessResult &result, bool passwordGiven)
{
    const QString name = QFileInfo(document).fileName();
    const QString said = details(result.output);
    const auto has = [&result](const char *text) { return result.output.contains(QLatin1String(text)); };
    switch (result.outcome) {
    case ProcessResult::NotStarted:
        return Problem::make(Problem::GhostscriptMissing, result.output);
    case ProcessResult::Cancelled:
        return {};
    case ProcessResult::Crashed:
        // Ghostscript 10 crashes on a wrong AES-256 password.
        if (passwordGiven)
            return Problem::make(Problem::WrongPassword, said, name);
        return Problem::make(Problem::GhostscriptFailed, said);
    case ProcessResult::Exited:
        break;
    }
    if (has("Password did not work") || (passwordGiven && has("requires a password")))
        return Problem::make(Problem::WrongPassword, said, name);
    if (has("requires a password"))
        return Problem::make(Problem::NeedsPassword, said, name);
    if (has("No space left on device") || has("Could not open the file"))
        return Problem::make(Problem::TemporaryFolderFull, said);
    if (has("Permission denied") || has("/invalidfileaccess"))
        return Problem::make(Problem::PermissionDenied, said, name);
    if (has("/undefinedfilename"))
        return Problem::make(Problem::FileGone, said, name);
    if (result.exitCode != 0 || has("Unrecoverable error") || has("Couldn't initialise file") || has("couldn't repair")
        || has("has no pages"))
        return Problem::make(Problem::NotPdf, said, name);
    return {};
}

} // namespace GhostscriptCommands

QString GhostscriptLocator::locate() const
{
    return QStandardPaths::findExecutable(QStringLiteral("gs"));
}
