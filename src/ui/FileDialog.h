// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The only way the program asks for a file. Each returns the chosen path, or empty when cancelled.
class FileDialog
{
public:
    virtual ~FileDialog() = default;
    // One document or several.
    virtual QStringList openDocuments(QWidget *owner, const QString &folder);
    virtual QString chooseFolder(QWidget *owner, const QString &folder);
    // proposed is a full path; suffix is the chosen format's extension, without the dot. confirmOverwrite
    // is off where the caller asks about the files it will really write.
    virtual QString saveImage(QWidget *owner, const QString &proposed, const QString &suffix, bool confirmOverwrite);
};
