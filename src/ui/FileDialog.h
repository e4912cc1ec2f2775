// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/SeamOverride.h"

#include <QString>
#include <QStringList>

class QWidget;

enum class FileDialogMode { SaveImage = 0, OpenDocument = 1 };

// The two dialog configurations, as the dialog is set up.
struct FileDialogRequest
{
    QString title;
    QStringList filters;
    QString defaultSuffix; // without the dot, as Qt takes it
    bool mustExist = false;

    static FileDialogRequest forMode(FileDialogMode mode, const QString &extension);
};

// The only way the program asks for a file. Returns the chosen path, or empty when cancelled.
class IFileDialog
{
public:
    virtual ~IFileDialog() = default;
    virtual QString ShowFileDialog(QWidget *owner, const QString &initialFolder, FileDialogMode mode,
                                   const QString &extension) = 0;
};

// The platform's dialog. The save dialog never asks about overwriting: the conversion replaces
// files safely and the user has already chosen the name.
class FileDialog : public IFileDialog
{
public:
    QString ShowFileDialog(QWidget *owner, const QString &initialFolder, FileDialogMode mode,
                           const QString &extension) override;
};

IFileDialog &fileDialog();
using FileDialogOverride = SeamOverride<IFileDialog>;
