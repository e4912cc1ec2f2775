// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestDocuments.h"

#include "tools/MagickImageObject.h"

#include <QDir>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace TestDocuments {

bool writePdf(const QString &path, const QList<QSizeF> &pageSizesPt)
{
    if (pageSizesPt.isEmpty())
        return false;
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    for (qsizetype i = 0; i < pageSizesPt.size(); ++i) {
        const QSizeF size = pageSizesPt.at(i);
        writer.setPageSize(QPageSize(size, QPageSize::Point, QString(), QPageSize::ExactMatch));
        if (i == 0) {
            if (!painter.begin(&writer))
                return false;
        } else {
            writer.newPage();
        }
        // A frame with a margin, so trimming has something to cut, and a few colours.
        const QRectF box(size.width() * 0.2, size.height() * 0.2, size.width() * 0.6, size.height() * 0.5);
        QLinearGradient gradient(box.topLeft(), box.bottomRight());
        gradient.setColorAt(0, Qt::red);
        gradient.setColorAt(0.5, Qt::green);
        gradient.setColorAt(1, Qt::blue);
        painter.fillRect(box, gradient);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("Page %1").arg(i + 1));
    }
    return painter.end();
}

bool writeGradientPng(const QString &path, int width, int height, int margin)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QRect box(margin, margin, width - 2 * margin, height - 2 * margin);
    QLinearGradient gradient(box.topLeft(), box.bottomRight());
    gradient.setColorAt(0, Qt::red);
    gradient.setColorAt(0.5, Qt::yellow);
    gradient.setColorAt(1, Qt::blue);
    painter.fillRect(box, gradient);
    painter.end();
    return image.save(path, "PNG");
}

int colorCount(const QString &path)
{
    MagickImageObject magick;
    return magick.identify({QStringLiteral("-format"), QStringLiteral("%k"), path}).toInt();
}

QSize imageSize(const QString &path)
{
    MagickImageObject magick;
    const QString text = magick.identify({QStringLiteral("-format"), QStringLiteral("%w %h"), path});
    const QStringList parts = text.split(QLatin1Char(' '));
    return parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
}

QStringList sfgFilesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("SFG*")}, QDir::Files | QDir::Hidden);
}

} // namespace TestDocuments
