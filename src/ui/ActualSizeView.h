// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractScrollArea>
#include <QImage>

class QPainter;

// The output at 100%, one of its pixels to a pixel of the screen, panned by dragging or the scroll bars. It
// holds only the part last rendered, and says which part is in view.
class ActualSizeView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit ActualSizeView(QWidget *parent = nullptr);

    void setOutputSize(QSize size);
    QSize outputSize() const { return m_outputSize; }
    // The output's pixels in view.
    QRect visibleRegion() const;
    // image holds the output's pixels of region.
    void show(const QImage &image, QRect region);
    // The output's pixels the image shown holds: the part in view once its rendering has come.
    QRect shownRegion() const { return m_region; }
    // What is on the screen, in device pixels: the output's pixels over the checks.
    QImage shown() const;
    // The usual grey checks behind what is transparent.
    static void drawChecks(QPainter &painter, const QRect &area);

signals:
    void visibleRegionChanged();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QSize viewportPixels() const;
    // Where the output's origin lies in the viewport, in device pixels: centred when it is the smaller.
    QPoint origin() const;
    void updateRanges();
    void draw(QPainter &painter) const;

    QSize m_outputSize;
    QImage m_image;
    QRect m_region;
    QPoint m_dragFrom;
    bool m_dragging = false;
};
