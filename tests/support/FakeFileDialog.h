// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/FileDialog.h"

#include <QList>
#include <QStringList>

// Answers each dialog with the next queued name (empty, as for Cancel, when the queue is empty).
class FakeFileDialog : public IFileDialog
{
public:
    struct Call
    {
        QString initialFolder;
        FileDialogMode mode;
        QString extension;
    };

    QString ShowFileDialog(QWidget *, const QString &initialFolder, FileDialogMode mode,
                           const QString &extension) override
    {
        calls << Call{initialFolder, mode, extension};
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QList<Call> calls;

private:
    FileDialogOverride m_override{*this};
};
