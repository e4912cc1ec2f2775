// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ShortcutKeeper.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

ShortcutKeeper::ShortcutKeeper(QWidget *window)
    : QObject(window)
    , m_window(window)
{}

void ShortcutKeeper::watchFields()
{
    // A number field and an editable list hand the key to their inner line edit themselves, so all three are
    // watched, not only the line edit that has the focus.
    for (QWidget *field : m_window->findChildren<QWidget *>()) {
        if (qobject_cast<QLineEdit *>(field) || qobject_cast<QAbstractSpinBox *>(field)
            || qobject_cast<QComboBox *>(field))
            field->installEventFilter(this);
    }
}

bool ShortcutKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    // Unaccepted and kept from the field, the key goes on to the window's shortcuts.
    const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
    for (const QAction *action : m_window->findChildren<QAction *>()) {
        if (action->isEnabled() && action->shortcuts().contains(pressed)) {
            event->ignore();
            return true;
        }
    }
    return false;
}
