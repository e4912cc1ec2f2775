// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/GhostscriptCommands.h"

#include "tools/CommandRunner.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace GhostscriptCommands {

namespace {

QString outputFileArgument(const QString &file)
{
    // Ghostscript expands %d and friends in output names; %% is its literal percent sign.
    QString escaped = file;
    escaped.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return QStringLiteral("-sOutputFile=") + escaped;
}

QString absolute(const QString &document)
{
    return QFileInfo(document).absoluteFilePath();
}

QStringList pageRange(int page)
{
    return {QStringLiteral("-dFirstPage=") + QString::number(page),
            QStringLiteral("-dLastPage=") + QString::number(page)};
}

} // namespace

QStringList previewRender(const QString &ghostscript, const QString &tempFile, int page, const QString &document)
{
    return QStringList{ghostscript,
                       QStringLiteral("-dSAFER"),
                       QStringLiteral("-dBATCH"),
                       QStringLiteral("-dUseCropBox"),
                       QStringLiteral("-sDEVICE=bmp16m"),
                       QStringLiteral("-dNOPAUSE"),
                       QStringLiteral("-r72"),
                       outputFileArgument(tempFile)}
        + pageRange(page) + QStringList{absolute(document)};
}

QStringList pageCount(const QString &ghostscript, const QString &document)
{
    return {ghostscript,
            QStringLiteral("-q"),
            QStringLiteral("-dNODISPLAY"),
            QStringLiteral("-dSAFER"),
            QStringLiteral("-dBATCH"),
            QStringLiteral("-dNOPAUSE"),
            QStringLiteral("-dPDFINFO"),
            QStringLiteral("-dFirstPage=1"),
            QStringLiteral("-dLastPage=1"),
            absolute(document)};
}

QStringList pageConversion(const QString &ghostscript, const QString &resolution, const QString &tempFile, int page,
                           const QString &document)
{
    return QStringList{ghostscript,
                       QStringLiteral("-dSAFER"),
                       QStringLiteral("-dBATCH"),
                       QStringLiteral("-dUseCropBox"),
                       QStringLiteral("-sDEVICE=png16m"),
                       QStringLiteral("-dNOPAUSE"),
                       QStringLiteral("-r") + resolution,
                       outputFileArgument(tempFile)}
        + pageRange(page) + QStringList{absolute(document)};
}

bool renderSucceeded(const QString &output, const ProcessStatus &status, const QString &bitmap)
{
    return status.isCleanExit() && !output.contains(QLatin1String("Unrecoverable error"))
        && QFileInfo(bitmap).size() > 0;
}

int parsePageCount(const QString &output)
{
    static const QRegularExpression pattern(QStringLiteral("File has (\\d+) pages?"));
    const QRegularExpressionMatch match = pattern.match(output);
    if (!match.hasMatch())
        return -1;
    bool ok = false;
    const int count = match.captured(1).toInt(&ok);
    return ok ? count : -1;
}

} // namespace GhostscriptCommands
