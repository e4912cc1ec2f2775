// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

namespace DroppedDocuments {

// The PDFs among dropped urls: all of them, or nothing and *refusal saying why.
QStringList pdfs(const QList<QUrl> &urls, QString *refusal);

} // namespace DroppedDocuments
