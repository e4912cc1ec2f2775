// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PrivateFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {
QString folderTemplate()
{
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("SFG-%1-XXXXXX").arg(QCoreApplication::applicationPid()));
}
} // namespace

PrivateFolder::PrivateFolder()
    : m_dir(folderTemplate())
{
}

QString PrivateFolder::magickFolder()
{
    static PrivateFolder folder;
    return folder.isValid() ? folder.path() : QString();
}

void PrivateFolder::removeStale()
{
    const QDir temp(QDir::tempPath());
    const QFileInfoList folders =
        temp.entryInfoList({QStringLiteral("SFG-*-*")}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &folder : folders) {
        bool ok = false;
        const qint64 pid = folder.fileName().section(QLatin1Char('-'), 1, 1).toLongLong(&ok);
        if (!ok || pid <= 0 || folder.ownerId() != ::getuid())
            continue;
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue;
        QDir(folder.filePath()).removeRecursively();
    }
}
