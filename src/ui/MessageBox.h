// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QWidget;

// The questions and notices the windows put to the user. Each is modal and titled "sheetforge".
class MessageBox
{
public:
    enum class Icon { None, Warning, Critical };

    virtual ~MessageBox() = default;
    // details go under "Show Details...".
    virtual void inform(QWidget *owner, const QString &text, const QString &details = {}, Icon icon = Icon::Critical);
    virtual bool askYesNo(QWidget *owner, const QString &text);
    // Asks for a document's password; nothing when the user cancels.
    virtual std::optional<QString> askPassword(QWidget *owner, const QString &fileName, bool retry);
};
