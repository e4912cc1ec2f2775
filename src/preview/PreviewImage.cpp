// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewImage.h"

#include "settings/ConversionSettings.h"
#include "tools/NumberText.h"


namespace PreviewImage {

double innerFrameSize(double twipsPerPixel)
{
    return FrameSizeTwips / twipsPerPixel - 2;
}

QString previewBox(double frameInner, bool trimmed, QSize untrimmed, QSize trimmedSize)
{
    // A failed measurement must not become a division by zero: show the whole frame instead.
    if (!trimmed || untrimmed.width() <= 0 || untrimmed.height() <= 0) {
        const QString side = QString::number(float(frameInner), 'g', 9);
        return side + QLatin1Char('x') + side;
    }
    const double scale = untrimmed.width() > untrimmed.height() ? frameInner / untrimmed.width()
                                                                 : frameInner / untrimmed.height();
    const qint64 width =
        NumberText::roundHalfEven(frameInner - (untrimmed.width() - trimmedSize.width()) * scale);
    const qint64 height =
        NumberText::roundHalfEven(frameInner - (untrimmed.height() - trimmedSize.height()) * scale);
    return QString::number(width) + QLatin1Char('x') + QString::number(height);
}

ArgVector previewVector(const QString &bitmap, const QString &box, bool monochrome, qint32 colorCount)
{
    ArgVector vector{bitmap, QStringLiteral("-resize"), box, QStringLiteral("-dither")};
    if (monochrome)
        vector << QStringLiteral("-monochrome");
    else
        vector << QStringLiteral("-colors") << colorCount;
    vector << QString(bitmap + QStringLiteral(".bmp"));
    return vector;
}

QPoint centredPosition(QSize picture)
{
    // The 2 here is in twips, unlike the 2-pixel margin of the inner size.
    const double top = FrameTopTwips + (FrameSizeTwips - 2 - picture.height() * Twips::PerPixel) / 2;
    const double left = FrameLeftTwips + (FrameSizeTwips - 2 - picture.width() * Twips::PerPixel) / 2;
    return {Twips::toPixels(left), Twips::toPixels(top)};
}

QImage make(const QString &bitmap, const ConversionSettings &settings, QSize untrimmed, QSize trimmedSize,
            QString *error)
{
    const QString box = previewBox(innerFrameSize(), !settings.TrimOption.isEmpty(), untrimmed, trimmedSize);
    const QString preview = bitmap + QStringLiteral(".bmp");
    IImageObject &magick = imageObject();
    QImage image;
    if (magick.convert(previewVector(bitmap, box, settings.MonochromeFlag, settings.ColorCount)))
        image.load(preview);
    if (image.isNull() && error)
        *error = magick.lastError().isEmpty() ? QStringLiteral("The preview bitmap could not be read.")
                                              : magick.lastError();
    return image;
}

} // namespace PreviewImage
