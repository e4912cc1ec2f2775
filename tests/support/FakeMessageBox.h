// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/MessageBox.h"

#include <QList>
#include <QStringList>

// Records every message and answers questions from a queue (No when it runs dry).
class FakeMessageBox : public IMessageBox
{
public:
    FakeMessageBox() = default;

    void inform(const QString &text, Icon icon) override
    {
        messages << text;
        icons << icon;
    }
    bool askYesNo(const QString &text) override
    {
        questions << text;
        return answers.isEmpty() ? false : answers.takeFirst();
    }

    QStringList messages;
    QList<Icon> icons;
    QStringList questions;
    QList<bool> answers;

private:
    MessageBoxOverride m_override{*this};
};
