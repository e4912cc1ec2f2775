// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PathHelpers.h"

#include "ui/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace PathHelpers {

QChar separator()
{
    return QDir::separator();
}

QString GetDirectoryPart(const QString &path)
{
    const qsizetype i = path.lastIndexOf(separator());
    return i < 0 ? QString() : path.left(i + 1);
}

QString GetFileNamePart(const QString &path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty() || trimmed.endsWith(separator()))
        return {};
    const qsizetype i = path.lastIndexOf(separator());
    return i < 0 ? QString() : path.mid(i + 1);
}

QString StripDirectory(const QString &path)
{
    const qsizetype i = path.lastIndexOf(separator());
    return i < 0 ? path : path.mid(i + 1);
}

QString RemoveExtension(const QString &path)
{
    if (path.trimmed().isEmpty())
        return {};
    const qsizetype i = path.lastIndexOf(QLatin1Char('.'));
    return i > 0 ? path.left(i) : path;
}

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
#ifdef Q_OS_WIN
    if (info.isHidden())
        return false;
#endif
    return info.isFile();
}

bool CheckFileExists(const QString &path, bool showMessage)
{
    if (!path.trimmed().isEmpty() && FileExists(path))
        return true;
    if (showMessage)
        messageBox().inform(QStringLiteral("File not found"), IMessageBox::Icon::Critical);
    return false;
}

QString CreateTempFileIn(const QString &folder, const QString &suffix)
{
    // QTemporaryFile opens with O_EXCL, so two callers can never be handed the same name.
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("SFGXXXXXX") + suffix));
    file.setAutoRemove(false);
    if (!file.open())
        return {};
    return file.fileName();
}

QString CreateTempFileName()
{
    return CreateTempFileIn(QDir::tempPath(), QStringLiteral(".tmp"));
}

} // namespace PathHelpers
