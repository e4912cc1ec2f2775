// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PrivateFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const char LockName[] = ".sheetforge-lock";
// Room below which a failed bitmap is put down to the temporary folder rather than to the page.
constexpr qint64 FullBelowBytes = 1024 * 1024;

// Removes what lies in the folder open as dirFd, descending into real folders only: a link is removed as a
// link, never followed, and every step goes through the open folder, so nothing renamed meanwhile can
// redirect it elsewhere.
void removeContents(int dirFd)
{
    const int listFd = ::dup(dirFd);
    DIR *dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        return;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat info = {};
        if (::fstatat(dirFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            const int child = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child >= 0) {
                removeContents(child);
                ::close(child);
            }
            ::unlinkat(dirFd, name, AT_REMOVEDIR);
        } else {
            ::unlinkat(dirFd, name, 0);
        }
    }
    ::closedir(dir);
}

// Removes the folder name in parentFd with everything in it, provided it is a real folder.
void removeFolder(int parentFd, const QByteArray &name)
{
    const int dirFd = ::openat(parentFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0)
        return;
    removeContents(dirFd);
    ::close(dirFd);
    ::unlinkat(parentFd, name.constData(), AT_REMOVEDIR);
}

void removeFolder(const QString &path)
{
    const QFileInfo info(path);
    const int parentFd = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0)
        return;
    removeFolder(parentFd, QFile::encodeName(info.fileName()));
    ::close(parentFd);
}

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
            removeFolder(path);
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

// The lock file is locked before it takes its name, so a sweep never finds it unlocked while we live.
int createLock(const QByteArray &folder)
{
    const QByteArray pending = folder + "/.lock-pending";
    const int fd = ::open(pending.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    const QByteArray final = folder + '/' + LockName;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::rename(pending.constData(), final.constData()) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

PrivateFolder::PrivateFolder()
{
    const QString root = temporaryRoot();
    if (!QFileInfo(root).isDir()) {
        m_problem = Problem::make(Problem::TemporaryFolderMissing, {}, root);
        return;
    }
    QByteArray name =
        QFile::encodeName(QDir(root).filePath(QStringLiteral("SFG-%1-XXXXXX").arg(QCoreApplication::applicationPid())));
    errno = 0;
    if (!::mkdtemp(name.data())) {
        m_problem = full(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_path = QFile::decodeName(name);
    m_lockFd = createLock(name);
    if (m_lockFd < 0) {
        m_problem = full(QString::fromLocal8Bit(std::strerror(errno)));
        removeFolder(m_path);
        m_path.clear();
        return;
    }
    liveFolders().add(m_path);
}

PrivateFolder::~PrivateFolder()
{
    if (!isValid())
        return;
    liveFolders().remove(m_path);
    removeFolder(m_path);
    ::close(m_lockFd);
}

bool PrivateFolder::lacksRoomFor(qint64 bytes) const
{
    struct statvfs info = {};
    const QByteArray where = QFile::encodeName(isValid() ? m_path : temporaryRoot());
    return ::statvfs(where.constData(), &info) == 0
           && qint64(info.f_bavail) * qint64(info.f_frsize) < std::max(bytes, FullBelowBytes);
}

Problem PrivateFolder::full(const QString &details)
{
    return Problem::make(Problem::TemporaryFolderFull, details, temporaryRoot());
}

QString PrivateFolder::temporaryRoot()
{
    // QDir::tempPath() resolves the folder and is empty when it is missing, which would put our files in
    // the current folder.
    const QString chosen = qEnvironmentVariable("TMPDIR");
    return QDir::cleanPath(QDir::current().absoluteFilePath(chosen.isEmpty() ? QStringLiteral("/tmp") : chosen));
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
    static const QRegularExpression ours(QStringLiteral("^SFG-\\d+-[A-Za-z0-9]{6}$"));
    const QByteArray root = QFile::encodeName(temporaryRoot());
    const int rootFd = ::open(root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0)
        return;
    const QStringList names = QDir(QFile::decodeName(root))
                                  .entryList({QStringLiteral("SFG-*")}, QDir::AllEntries | QDir::System | QDir::Hidden);
    for (const QString &name : names) {
        if (!ours.match(name).hasMatch())
            continue;
        const QByteArray encoded = QFile::encodeName(name);
        const int dirFd = ::openat(rootFd, encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (dirFd < 0)
            continue;
        struct stat folder = {};
        struct stat lock = {};
        const int lockFd = ::openat(dirFd, LockName, O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        // Only a private folder of our own user with our lock file in it, which no running instance holds.
        const bool stale = ::fstat(dirFd, &folder) == 0 && folder.st_uid == ::geteuid() && (folder.st_mode & 077) == 0
                           && lockFd >= 0 && ::fstat(lockFd, &lock) == 0 && S_ISREG(lock.st_mode)
                           && ::flock(lockFd, LOCK_EX | LOCK_NB) == 0;
        if (stale) {
            removeContents(dirFd);
            ::unlinkat(rootFd, encoded.constData(), AT_REMOVEDIR);
        }
        if (lockFd >= 0)
            ::close(lockFd);
        ::close(dirFd);
    }
    ::close(rootFd);
}
