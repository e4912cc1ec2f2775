// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QWidget *dialogParent()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}
} // namespace

void MessageBox::inform(const QString &text, Icon icon)
{
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, kApplicationTitle, text,
                    QMessageBox::Ok, dialogParent());
    box.exec();
}

bool MessageBox::askYesNo(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, text, QMessageBox::Yes | QMessageBox::No,
                    dialogParent());
    return box.exec() == QMessageBox::Yes;
}

IMessageBox &messageBox()
{
    if (auto *fake = MessageBoxOverride::current())
        return *fake;
    static MessageBox real;
    return real;
}
