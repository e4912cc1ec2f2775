// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/DestinationFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStorageInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Attempts = 100;

QString errorText(int error)
{
    return qt_error_string(error);
}

// Whatever stands under a name: nothing, a regular file, or something that is not replaced.
struct Entry
{
    int error = 0; // of fstatat; ENOENT when nothing is there
    struct stat status = {};

    bool isAbsent() const { return error == ENOENT; }
    bool isRegular() const { return error == 0 && S_ISREG(status.st_mode); }
};

Entry entry(int dir, const QByteArray &name)
{
    Entry found;
    if (::fstatat(dir, name.constData(), &found.status, AT_SYMLINK_NOFOLLOW) != 0)
        found.error = errno;
    return found;
}

bool writeAll(int fd, const char *data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size_t(size), off_t(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        data += written;
        size -= written;
        offset += written;
    }
    return true;
}

} // namespace

Problem DestinationFile::writeProblem(const QString &folder, int error, const QString &why)
{
    if (error == ENOSPC || error == EDQUOT || error == EFBIG)
        return Problem::make(Problem::DiskFull, why, folder);
    if (error == EACCES || error == EPERM || error == EROFS || error == ENOENT || !QFileInfo(folder).isDir())
        return Problem::make(Problem::DestinationNotWritable, why, folder);
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.bytesAvailable() < 1024 * 1024)
        return Problem::make(Problem::DiskFull, why, folder);
    return Problem::make(Problem::DestinationNotWritable, why, folder);
}

Problem DestinationFile::makeFolder(const QString &folder)
{
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    const auto cannot = [&absolute](Problem problem, const QString &why) {
        problem.details.clear();
        problem.message = QCoreApplication::translate("DestinationFile", "The folder \"%1\" cannot be made: %2")
                              .arg(Problem::escapeName(absolute), why);
        return problem;
    };
    // Only what is missing is made: from the deepest name that stands, downwards.
    QStringList missing;
    QString existing = absolute;
    while (!QFileInfo(existing).exists() && !QFileInfo(existing).isSymLink() && existing != QLatin1String("/")) {
        missing.prepend(QFileInfo(existing).fileName());
        existing = QFileInfo(existing).absolutePath();
    }
    if (!QFileInfo(existing).isDir())
        return cannot(
            Problem::make(Problem::DestinationNotWritable, errorText(ENOTDIR), existing),
            QCoreApplication::translate("DestinationFile", "\"%1\" is a file, not a folder. Choose another name.")
                .arg(Problem::escapeName(existing)));
    QString made = existing;
    for (const QString &name : std::as_const(missing)) {
        const QString parent = made;
        made = QDir(parent).filePath(name);
        if (::mkdir(QFile::encodeName(made).constData(), 0777) == 0 || (errno == EEXIST && QFileInfo(made).isDir()))
            continue;
        const int error = errno;
        const Problem problem = writeProblem(parent, error, errorText(error));
        if (problem.kind == Problem::DiskFull)
            return problem;
        if (error == EACCES || error == EPERM || error == EROFS)
            return cannot(problem, QCoreApplication::translate(
                                       "DestinationFile",
                                       "you are not allowed to write to \"%1\". Choose a folder you are allowed to "
                                       "write to.")
                                       .arg(Problem::escapeName(parent)));
        return cannot(problem, errorText(error) + QLatin1Char('.'));
    }
    return {};
}

DestinationFile::DestinationFile(const QString &path, Temporary temporary)
    : m_path(path)
    , m_folder(QFileInfo(path).absolutePath())
    , m_name(QFile::encodeName(QFileInfo(path).fileName()))
    , m_kind(temporary)
{}

DestinationFile::~DestinationFile()
{
    discard();
}

Problem DestinationFile::checkReplaceable(const QString &path)
{
    DestinationFile file(path);
    Problem problem = file.openFolder();
    if (problem.isNone())
        problem = file.checkName();
    file.closeAll();
    return problem;
}

Problem DestinationFile::folderProblem(int error) const
{
    return writeProblem(m_folder, error, errorText(error));
}

Problem DestinationFile::openFolder()
{
    // The folder is looked up once; from here on every name is taken relative to it.
    m_dir = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return m_dir < 0 ? folderProblem(errno) : Problem();
}

Problem DestinationFile::checkName() const
{
    const Entry existing = entry(m_dir, m_name);
    if (existing.isAbsent())
        return {};
    if (existing.error != 0)
        return folderProblem(existing.error);
    if (!existing.isRegular())
        return Problem::make(Problem::NotRegularFile, {}, m_path);
    // As QSaveFile does: a file the user may not change is not replaced behind their back.
    if (::faccessat(m_dir, m_name.constData(), W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EPERM))
        return Problem::make(Problem::FileNotWritable, errorText(EACCES), m_path);
    return {};
}

Problem DestinationFile::open()
{
    Problem problem = openFolder();
    if (problem.isNone())
        problem = checkName();
    if (problem.isNone())
        problem = m_kind == Temporary::Unique ? createUnique() : createExclusive();
    if (!problem.isNone())
        discard();
    return problem;
}

Problem DestinationFile::createUnique()
{
    // Until the permissions of a file it replaces are copied, the temporary is the owner's alone.
    const mode_t mode = entry(m_dir, m_name).isAbsent() ? 0666 : 0600;
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        QByteArray name = m_name + '.';
        for (int i = 0; i < 6; ++i)
            name += Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)];
        m_fd = ::openat(m_dir, name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (m_fd >= 0) {
            m_temporary = name;
            return {};
        }
        if (errno != EEXIST)
            return folderProblem(errno);
    }
    return folderProblem(EEXIST);
}

Problem DestinationFile::createExclusive()
{
    // One temporary name per file, locked for as long as it is written: a second writer finds it locked.
    // A temporary no one holds is left from a run that ended without cleaning up, and is taken over. The
    // kernel drops the lock of a process that dies, so no lock outlives its writer.
    const QByteArray name = m_name + ".sheetforge-part";
    const mode_t mode = entry(m_dir, m_name).isAbsent() ? 0666 : 0600;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        const int fd = ::openat(m_dir, name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
                // Another writer took it over in the moment between.
                ::close(fd);
                return Problem::make(Problem::DestinationBusy, {}, m_path);
            }
            m_fd = fd;
            // Another writer may have taken the name over before the lock, thinking it left behind.
            struct stat status = {};
            const Entry now = entry(m_dir, name);
            if (::fstat(fd, &status) != 0 || now.error != 0 || now.status.st_ino != status.st_ino
                || now.status.st_dev != status.st_dev) {
                closeAll();
                return Problem::make(Problem::DestinationBusy, {}, m_path);
            }
            m_temporary = name;
            return {};
        }
        if (errno != EEXIST)
            return folderProblem(errno);
        // Only a regular file is opened to test its lock; anything else under the name is no writer's, and
        // is removed (a link itself, never what it points to).
        const Entry there = entry(m_dir, name);
        if (there.isAbsent())
            continue;
        if (there.error != 0)
            return folderProblem(there.error);
        if (!there.isRegular()) {
            if (::unlinkat(m_dir, name.constData(), 0) != 0 && errno != ENOENT)
                return folderProblem(errno);
            continue;
        }
        const int held = ::openat(m_dir, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (held < 0) {
            if (errno == ENOENT || errno == ELOOP)
                continue;
            // Another user's temporary: it may be in use, and is not ours to take.
            if (errno == EACCES)
                return Problem::make(Problem::DestinationBusy, {}, m_path);
            return folderProblem(errno);
        }
        struct stat status = {};
        if (::fstat(held, &status) != 0 || !S_ISREG(status.st_mode)) {
            ::close(held);
            continue;
        }
        if (::flock(held, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(held);
            if (error == EWOULDBLOCK)
                return Problem::make(Problem::DestinationBusy, {}, m_path);
            return folderProblem(error);
        }
        // Only what still stands under the name is removed, never a file another writer has just renamed.
        const Entry now = entry(m_dir, name);
        const bool same = now.error == 0 && now.status.st_dev == status.st_dev && now.status.st_ino == status.st_ino;
        const int removed = same ? ::unlinkat(m_dir, name.constData(), 0) : 0;
        const int error = errno;
        ::close(held);
        if (removed != 0 && error != ENOENT)
            return folderProblem(error);
    }
    return Problem::make(Problem::DestinationBusy, {}, m_path);
}

Problem DestinationFile::write(const QByteArray &data)
{
    return writeAt(m_size, data);
}

Problem DestinationFile::writeAt(qint64 offset, const QByteArray &data)
{
    if (m_fd < 0)
        return folderProblem(EBADF);
    if (!writeAll(m_fd, data.constData(), data.size(), offset))
        return folderProblem(errno);
    m_size = std::max(m_size, offset + data.size());
    return {};
}

qint64 DestinationFile::readAt(qint64 offset, char *data, qint64 size) const
{
    qint64 done = 0;
    while (m_fd >= 0 && done < size) {
        const ssize_t read = ::pread(m_fd, data + done, size_t(size - done), off_t(offset + done));
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            return read < 0 ? -1 : done;
        done += read;
    }
    return m_fd >= 0 ? done : -1;
}

void DestinationFile::truncate()
{
    if (m_fd >= 0 && ::ftruncate(m_fd, 0) == 0)
        m_size = 0;
}

Problem DestinationFile::checkFolder() const
{
    struct stat temporary = {}, folder = {}, named = {};
    if (m_fd < 0 || ::fstat(m_fd, &temporary) != 0 || ::fstat(m_dir, &folder) != 0)
        return folderProblem(EBADF);
    if (temporary.st_nlink == 0)
        return folderProblem(ENOENT);
    if (::stat(QFile::encodeName(m_folder).constData(), &named) != 0)
        return folderProblem(errno);
    if (named.st_dev != folder.st_dev || named.st_ino != folder.st_ino)
        return folderProblem(ENOENT);
    return {};
}

Problem DestinationFile::commit()
{
    if (m_fd < 0)
        return folderProblem(EBADF);
    // The name is judged again just before it is replaced: something may have been put there meanwhile. The
    // rename replaces a link itself rather than what it points to, so nothing is followed after this either.
    Problem problem = checkFolder();
    if (problem.isNone())
        problem = checkName();
    const Entry existing = entry(m_dir, m_name);
    if (problem.isNone() && existing.isRegular() && ::fchmod(m_fd, existing.status.st_mode & 0777) != 0)
        problem = folderProblem(errno);
    // As QSaveFile: flushed to the disk before the rename, so a crash leaves the old file or the whole new one.
    if (problem.isNone() && ::fdatasync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        problem = folderProblem(errno);
    if (problem.isNone() && ::renameat(m_dir, m_temporary.constData(), m_dir, m_name.constData()) != 0)
        problem = folderProblem(errno);
    if (!problem.isNone()) {
        discard();
        return problem;
    }
    m_temporary.clear();
    closeAll();
    return {};
}

void DestinationFile::discard()
{
    if (!m_temporary.isEmpty() && m_dir >= 0)
        ::unlinkat(m_dir, m_temporary.constData(), 0);
    m_temporary.clear();
    closeAll();
}

void DestinationFile::closeAll()
{
    // The temporary's lock goes with its descriptor, so it is closed only after the rename or unlink.
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_dir >= 0)
        ::close(m_dir);
    m_fd = -1;
    m_dir = -1;
    m_size = 0;
}
