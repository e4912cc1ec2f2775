// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>

// A folder of this process's own (0700) in the temporary folder, removed with everything in it when the
// object goes. Its name carries the process id, so a later start can remove what a killed run left.
class PrivateFolder
{
public:
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder &) = delete;
    PrivateFolder &operator=(const PrivateFolder &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString errorString() const { return m_dir.errorString(); }

    // The image library's folder for its policy and spill files; it lives as long as the process.
    static QString magickFolder();
    // Removes every folder of this process, for an exit that skips destructors.
    static void removeAll();
    // Removes the folders of earlier runs whose process is gone.
    static void removeStale();

private:
    QTemporaryDir m_dir;
};
