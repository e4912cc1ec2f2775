// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PrivateFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSet>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

// Folders still alive when the process ends through exit() (as Qt does when the display goes away)
// would skip their destructors; this one runs with the other static destructors and removes them.
class LiveFolders
{
public:
    ~LiveFolders() { removeAll(); }
    void removeAll()
    {
        const QMutexLocker lock(&m_mutex);
        for (const QString &path : std::as_const(m_paths))
            QDir(path).removeRecursively();
        m_paths.clear();
    }
    void add(const QString &path)
    {
        const QMutexLocker lock(&m_mutex);
        m_paths.insert(path);
    }
    void remove(const QString &path)
    {
        const QMutexLocker lock(&m_mutex);
        m_paths.remove(path);
    }

private:
    QMutex m_mutex;
    QSet<QString> m_paths;
};

LiveFolders &liveFolders()
{
    static LiveFolders folders;
    return folders;
}

QString folderTemplate()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("SFG-%1-XXXXXX").arg(QCoreApplication::applicationPid()));
}
} // namespace

PrivateFolder::PrivateFolder()
    : m_dir(folderTemplate())
{
    if (m_dir.isValid())
        liveFolders().add(m_dir.path());
}

PrivateFolder::~PrivateFolder()
{
    if (m_dir.isValid())
        liveFolders().remove(m_dir.path());
}

QString PrivateFolder::magickFolder()
{
    static PrivateFolder folder;
    return folder.isValid() ? folder.path() : QString();
}

void PrivateFolder::removeAll()
{
    liveFolders().removeAll();
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
