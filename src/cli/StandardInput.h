// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

#include <optional>

// What a conversion reads from standard input: a document's password, or the document itself.
namespace StandardInput {

// The longest password line read from standard input: endless input (/dev/zero) must not fill the memory.
constexpr int MaxPasswordBytes = 4096;
// The first line of standard input. From a terminal, it prompts on standard error and does not echo. Returns
// nothing when the line is too long (and sets *refused) or when a termination signal arrives meanwhile (the
// signal is left for the event loop).
std::optional<QString> readPassword(const QString &documentName, QString *refused);
// Copies standard input to the end into file. False when it could not (with *error set) or when a termination
// signal arrived meanwhile (with *error empty: the signal is left for the event loop).
bool copyTo(QFile &file, QString *error);

} // namespace StandardInput
