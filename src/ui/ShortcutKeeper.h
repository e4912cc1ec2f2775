// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// Lets a window's menu shortcuts through its text and number fields. A field takes keys such as Ctrl+E
// (the end of the line) for editing before any shortcut sees them, so without this the shortcut does nothing
// while the cursor is in a field.
class ShortcutKeeper : public QObject
{
    Q_OBJECT
public:
    explicit ShortcutKeeper(QWidget *window);

    // Watches the fields the window holds at the time of the call.
    void watchFields();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
};
