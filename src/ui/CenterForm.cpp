// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CenterForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QPoint centredFormPosition(QSize form, std::optional<QRect> owner, QSize screen)
{
    if (!owner)
        return {(screen.width() - form.width()) / 2, (screen.height() - form.height()) / 2};
    int left = owner->left() + (owner->width() - form.width()) / 2;
    int top = owner->top() + (owner->height() - form.height()) / 2;
    if (left + form.width() > screen.width())
        left = screen.width() - form.width();
    if (top + form.height() > screen.height())
        top = screen.height() - form.height();
    return {left, top};
}

void CenterForm(QWidget *form, QWidget *owner)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    std::optional<QRect> ownerRect;
    if (owner)
        ownerRect = owner->frameGeometry();
    form->move(centredFormPosition(form->frameGeometry().size(), ownerRect, screen->geometry().size()));
}
