// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Problem.h"

#include <QString>

// A folder of this process's own (0700) in the temporary folder, removed with everything in it when the
// object goes. It holds a lock file, locked for as long as the folder is in use: the lock, not a process
// id, tells a later start that the folder's owner is gone, whatever process namespace it ran in.
class PrivateFolder
{
public:
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder &) = delete;
    PrivateFolder &operator=(const PrivateFolder &) = delete;

    bool isValid() const { return m_lockFd >= 0; }
    QString path() const { return m_path; }
    // Why the folder could not be made.
    Problem problem() const { return m_problem; }
    // Whether the temporary folder lacks room for bytes (or is nearly full), to tell a full disk from a
    // damaged page after the evidence is gone.
    bool lacksRoomFor(qint64 bytes) const;

    // TMPDIR, or /tmp, as given: never the current folder, even when it does not exist.
    static QString temporaryRoot();
    // The temporary folder full or not writable, named, with the system's words.
    static Problem full(const QString &details = {});
    // The image library's folder for its policy and spill files; it lives as long as the process.
    static QString magickFolder();
    // Removes every folder of this process, for an exit that skips destructors.
    static void removeAll();
    // Removes the folders that earlier runs made and no running instance holds. Anything else is left
    // alone: other names, links, other owners' folders, and folders without our lock file.
    static void removeStale();

private:
    QString m_path;
    Problem m_problem;
    int m_lockFd = -1;
};
