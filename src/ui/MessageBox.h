// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/SeamOverride.h"

#include <QString>

class QWidget;

// Every message box is modal, titled with the application's title and has OK (or Yes and No).
class IMessageBox
{
public:
    enum class Icon { None, Critical };

    virtual ~IMessageBox() = default;
    virtual void inform(const QString &text, Icon icon = Icon::None) = 0;
    virtual bool askYesNo(const QString &text) = 0;
};

class MessageBox : public IMessageBox
{
public:
    void inform(const QString &text, Icon icon) override;
    bool askYesNo(const QString &text) override;
};

IMessageBox &messageBox();
using MessageBoxOverride = SeamOverride<IMessageBox>;

inline const QString kApplicationTitle = QStringLiteral("sheetforge");
