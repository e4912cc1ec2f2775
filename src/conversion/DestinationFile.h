// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Problem.h"

#include <QByteArray>
#include <QString>

// A file written under a temporary name beside its final one and renamed over it when complete. Every step
// goes through one descriptor of the destination folder and no name in it is followed: only a regular file,
// or nothing, is ever replaced, and a link, a device, a FIFO or a socket of that name is refused. The folder
// itself may be a link. A replaced file's permissions carry over, as QSaveFile keeps them.
class DestinationFile
{
public:
    enum class Temporary {
        Unique,    // a fresh name each time
        Exclusive, // one name per file, locked while written, so a second writer of the same file is refused
    };

    explicit DestinationFile(const QString &path, Temporary temporary = Temporary::Unique);
    ~DestinationFile();
    DestinationFile(const DestinationFile &) = delete;
    DestinationFile &operator=(const DestinationFile &) = delete;

    const QString &path() const { return m_path; }
    bool isOpen() const { return m_fd >= 0; }
    Problem open();
    Problem write(const QByteArray &data);
    Problem writeAt(qint64 offset, const QByteArray &data);
    // What has been written, read back; the bytes read, or -1.
    qint64 readAt(qint64 offset, char *data, qint64 size) const;
    // Gives the room back while the name stays held.
    void truncate();
    qint64 size() const { return m_size; }
    // A long write checks as it goes that its folder still stands under its name and still holds the
    // temporary, since writing to a file whose folder was removed succeeds until the final rename.
    Problem checkFolder() const;
    Problem commit();
    // Removes the temporary; what had the name before stays as it was.
    void discard();

    // Whether a file of this name may be replaced: nothing there, or a regular file the user may change.
    static Problem checkReplaceable(const QString &path);
    // Makes folder and the folders above it that are missing, as mkdir -p does; the reason when one cannot be
    // made: not allowed, a file in the way, a full disk.
    static Problem makeFolder(const QString &folder);
    // What a failed write in folder means to the user, from errno; the folder is the one named.
    static Problem writeProblem(const QString &folder, int error, const QString &why);

private:
    Problem openFolder();
    Problem checkName() const;
    Problem createUnique();
    Problem createExclusive();
    Problem folderProblem(int error) const;
    void closeAll();

    QString m_path;
    QString m_folder;
    QByteArray m_name;
    QByteArray m_temporary;
    Temporary m_kind;
    int m_dir = -1;
    int m_fd = -1;
    qint64 m_size = 0;
};
