// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class QLabel;

// The framed page preview. It follows the window's size and never pushes the window wider.
class PreviewPane : public QFrame
{
    Q_OBJECT
public:
    explicit PreviewPane(QWidget *parent = nullptr);

    // Device pixels the preview may fill.
    QSize box() const;
    void show(QImage image);
    // Shown while a preview is being made; for the status bar.
    QWidget *busyIndicator() const;

private:
    QLabel *m_label = nullptr;
    QWidget *m_busy = nullptr;
};
