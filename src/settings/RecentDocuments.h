// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class SettingsStore;

// The documents opened last, most recent first, kept under "RecentDocuments".
namespace RecentDocuments {

constexpr int Kept = 10;

// As stored, whether or not the files still exist; a value that is not a list of names reads as none.
QStringList load(const SettingsStore &store);
// Puts path first, once, and forgets what falls past Kept.
void add(SettingsStore &store, const QString &path);

} // namespace RecentDocuments
