// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

struct ProcessStatus;

// The Ghostscript command lines, as program plus arguments. The document always goes in as an absolute
// path, so a name such as "-x.pdf" can never be read as a switch.
namespace GhostscriptCommands {

// One page at 72 dpi as a 24-bit BMP into tempFile.
QStringList previewRender(const QString &ghostscript, const QString &tempFile, int page, const QString &document);
// Reports "File has N pages" without rasterising anything.
QStringList pageCount(const QString &ghostscript, const QString &document);
// One page at the given resolution as a 24-bit PNG into tempFile.
QStringList pageConversion(const QString &ghostscript, const QString &resolution, const QString &tempFile, int page,
                           const QString &document);

// Whether a render made its bitmap. Ghostscript exits 0 without a page for many failures (past the last
// page, a damaged or encrypted file), so the bitmap itself is the proof.
bool renderSucceeded(const QString &output, const ProcessStatus &status, const QString &bitmap);

// Reads the page count out of pageCount's output; -1 when it holds none.
int parsePageCount(const QString &output);

} // namespace GhostscriptCommands
