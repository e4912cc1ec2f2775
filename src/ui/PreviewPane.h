// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class ActualSizeView;
class QLabel;
class QStackedLayout;
struct PreviewResult;

// The framed page preview: the page fitted to the frame, or the output at 100%. It follows the window's
// size and never pushes the window wider.
class PreviewPane : public QFrame
{
    Q_OBJECT
public:
    enum class Zoom { Fitted, ActualPixels };

    explicit PreviewPane(QWidget *parent = nullptr);

    // Device pixels the fitted preview may fill.
    QSize box() const;
    Zoom zoom() const { return m_zoom; }
    void setZoom(Zoom zoom);
    // At 100%: the output's size, and the part of it in view, in its own pixels.
    void setOutputSize(QSize size);
    QRect visibleRegion() const;
    void show(const PreviewResult &result);
    // Shown while a preview is being made; for the status bar.
    QWidget *busyIndicator() const;

signals:
    void zoomChanged(PreviewPane::Zoom zoom);
    // At 100%, the part in view moved.
    void visibleRegionChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_label = nullptr;
    ActualSizeView *m_actual = nullptr;
    QStackedLayout *m_stack = nullptr;
    QWidget *m_busy = nullptr;
    Zoom m_zoom = Zoom::Fitted;
};
