// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Helpers on paths separated by the platform's separator. They never fail loudly; only CheckFileExists
// may tell the user something.
namespace PathHelpers {

QChar separator();

// Everything up to and including the last separator; empty when there is none.
QString GetDirectoryPart(const QString &path);
// The text after the last separator; empty for a blank path, a path ending in a separator, or one without any.
QString GetFileNamePart(const QString &path);
// The text after the last separator; the whole text when there is none.
QString StripDirectory(const QString &path);
// Cuts the last "." and what follows; the first character is never taken as the dot.
QString RemoveExtension(const QString &path);
// An ordinary file (not a folder) of exactly that name exists.
bool FileExists(const QString &path);
// Like FileExists for a non-blank path; on false optionally says "File not found".
bool CheckFileExists(const QString &path, bool showMessage);
// Creates a new empty file named SFG... in the temporary folder, without a name race; empty on failure.
QString CreateTempFileName();
// Creates a new empty file named SFG... with the given suffix in the given folder; empty on failure.
QString CreateTempFileIn(const QString &folder, const QString &suffix);

} // namespace PathHelpers
