// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionJob.h"

#include "tools/NumberText.h"
#include "tools/PathHelpers.h"

namespace {
constexpr double DownscaleFromDpi = 1200;
}

QString ConversionJob::renderResolution() const
{
    const double dpi = NumberText::leadingNumber(resolution);
    return settings.AntialiasFlag ? QString::number(NumberText::roundHalfEven(2 * dpi)) : resolution;
}

bool ConversionJob::downscaleInGhostscript() const
{
    return settings.AntialiasFlag && 2 * NumberText::leadingNumber(resolution) >= DownscaleFromDpi;
}

QString ConversionJob::pageFileName(int page) const
{
    const int digits = std::max(3, int(QString::number(pageCount).size()));
    return PathHelpers::GetDirectoryPart(destination)
        + PathHelpers::RemoveExtension(PathHelpers::GetFileNamePart(destination))
        + QString::number(page).rightJustified(digits, QLatin1Char('0')) + QLatin1Char('.') + imageFormat;
}

QString ConversionJob::outputFileName(int page) const
{
    return allPages ? pageFileName(page) : destination;
}

ArgVector ConversionJob::convertVector(const QString &bitmap, const QString &output) const
{
    ArgVector vector{bitmap, settings.TrimOption};
    // Without +repage a trimmed image keeps the page canvas, and viewers show the whole page again.
    if (!settings.TrimOption.isEmpty())
        vector << QStringLiteral("+repage");
    const bool halve = settings.AntialiasFlag && !downscaleInGhostscript();
    // Colours are reduced after the halving: resizing blends a reduced palette back into thousands.
    vector << QStringLiteral("-resize") << (halve ? QStringLiteral("50%") : QStringLiteral("100%"));
    vector << settings.DitherOption;
    if (settings.MonochromeFlag)
        vector << QStringLiteral("-monochrome");
    else
        vector << QStringLiteral("-colors") << settings.ColorCount;
    const QString suffix = output.section(QLatin1Char('.'), -1).toLower();
    if ((suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) && !compression.isEmpty()) {
        // The library reads quality 0 as "its default"; the user asked for the smallest file.
        const qint64 quality = std::clamp<qint64>(NumberText::roundHalfEven(NumberText::leadingNumber(compression)), 1, 100);
        vector << QStringLiteral("-quality") << QString::number(quality);
    }
    // Halving keeps the doubled density; the file should say the resolution the user chose.
    vector << QStringLiteral("-units") << QStringLiteral("PixelsPerInch") << QStringLiteral("-density") << resolution;
    vector << output;
    return vector;
}
