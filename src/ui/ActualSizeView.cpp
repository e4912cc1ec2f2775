// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ActualSizeView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

ActualSizeView::ActualSizeView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    viewport()->setCursor(Qt::OpenHandCursor);
}

QSize ActualSizeView::viewportPixels() const
{
    return viewport()->size() * viewport()->devicePixelRatioF();
}

void ActualSizeView::setOutputSize(QSize size)
{
    if (size == m_outputSize)
        return;
    m_outputSize = size;
    updateRanges();
    viewport()->update();
}

void ActualSizeView::updateRanges()
{
    const QSize room = viewportPixels();
    horizontalScrollBar()->setRange(0, std::max(0, m_outputSize.width() - room.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_outputSize.height() - room.height()));
    horizontalScrollBar()->setPageStep(room.width());
    verticalScrollBar()->setPageStep(room.height());
    horizontalScrollBar()->setSingleStep(std::max(1, room.width() / 20));
    verticalScrollBar()->setSingleStep(std::max(1, room.height() / 20));
}

QPoint ActualSizeView::origin() const
{
    const QSize room = viewportPixels();
    return {std::max(0, (room.width() - m_outputSize.width()) / 2) - horizontalScrollBar()->value(),
            std::max(0, (room.height() - m_outputSize.height()) / 2) - verticalScrollBar()->value()};
}

QRect ActualSizeView::visibleRegion() const
{
    return QRect(-origin(), viewportPixels()).intersected(QRect(QPoint(), m_outputSize));
}

void ActualSizeView::show(const QImage &image, QRect region)
{
    m_image = image;
    m_region = region;
    viewport()->update();
}

void ActualSizeView::draw(QPainter &painter) const
{
    const QRect output(origin(), m_outputSize);
    painter.fillRect(QRect(QPoint(), viewportPixels()), palette().color(QPalette::Dark));
    // What is not rendered yet stays plain paper until it is.
    painter.fillRect(output, Qt::white);
    if (m_image.isNull())
        return;
    const QRect target = m_region.translated(output.topLeft());
    if (m_image.hasAlphaChannel())
        drawChecks(painter, target);
    painter.drawImage(target.topLeft(), m_image);
}

void ActualSizeView::drawChecks(QPainter &painter, const QRect &area)
{
    constexpr int Square = 8;
    painter.save();
    painter.setClipRect(area);
    for (int y = area.top(); y <= area.bottom(); y += Square) {
        for (int x = area.left(); x <= area.right(); x += Square) {
            const int row = (y - area.top()) / Square, column = (x - area.left()) / Square;
            painter.fillRect(x, y, Square, Square, (row + column) % 2 ? QColor(204, 204, 204) : QColor(Qt::white));
        }
    }
    painter.restore();
}

QImage ActualSizeView::shown() const
{
    QImage image(viewportPixels(), QImage::Format_RGB32);
    QPainter painter(&image);
    draw(painter);
    return image;
}

void ActualSizeView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    // Drawn in device pixels, so that one pixel of the output is one of the screen.
    const qreal ratio = viewport()->devicePixelRatioF();
    painter.scale(1 / ratio, 1 / ratio);
    draw(painter);
}

void ActualSizeView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateRanges();
    emit visibleRegionChanged();
}

void ActualSizeView::scrollContentsBy(int, int)
{
    viewport()->update();
    emit visibleRegionChanged();
}

void ActualSizeView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    m_dragging = true;
    m_dragFrom = event->position().toPoint();
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void ActualSizeView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return QAbstractScrollArea::mouseMoveEvent(event);
    const QPoint moved = (event->position().toPoint() - m_dragFrom) * viewport()->devicePixelRatioF();
    m_dragFrom = event->position().toPoint();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - moved.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - moved.y());
}

void ActualSizeView::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    viewport()->setCursor(Qt::OpenHandCursor);
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void ActualSizeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}
