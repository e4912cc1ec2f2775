// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QString>

// Names a new widget for the tests and accessibility tools that look it up.
template <class Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A field that shows a value the user cannot type over. It looks like a label with a frame, not like a
// field waiting for input, and still lets its text be selected and copied.
inline QLineEdit *readOnlyField(const char *name)
{
    auto *field = named(new QLineEdit, name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
    return field;
}
