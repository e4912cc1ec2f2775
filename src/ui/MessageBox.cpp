// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MessageBox.h"

#include "tools/Logging.h"
#include "tools/Problem.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {
QString title()
{
    return QStringLiteral("sheetforge");
}
} // namespace

void MessageBox::inform(QWidget *owner, const QString &text, const QString &details, Icon icon)
{
    qCInfo(lcMessages).noquote() << text;
    const QMessageBox::Icon shown = icon == Icon::Critical  ? QMessageBox::Critical
                                    : icon == Icon::Warning ? QMessageBox::Warning
                                                            : QMessageBox::NoIcon;
    QMessageBox box(shown, title(), text, QMessageBox::Ok, owner);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}

bool MessageBox::askYesNo(QWidget *owner, const QString &text)
{
    qCInfo(lcMessages).noquote() << text;
    QMessageBox box(QMessageBox::Question, title(), text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> MessageBox::askPassword(QWidget *owner, const QString &rawName, bool retry)
{
    const QString fileName = Problem::escapeName(rawName);
    const QString text =
        retry ? QApplication::translate("MessageBox", "The password was not correct. Enter the password of "
                                                      "\"%1\":")
                    .arg(fileName)
              : QApplication::translate("MessageBox", "Enter the password of \"%1\":").arg(fileName);
    qCInfo(lcMessages).noquote() << text;
    QInputDialog dialog(owner);
    dialog.setWindowTitle(QApplication::translate("MessageBox", "Password for %1").arg(fileName));
    dialog.setLabelText(text);
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}
