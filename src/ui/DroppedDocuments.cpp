// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DroppedDocuments.h"

#include "tools/Problem.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace DroppedDocuments {

QStringList pdfs(const QList<QUrl> &urls, QString *refusal)
{
    const QString onlyLocal =
        QCoreApplication::translate("MainWindow", "Only PDF documents on this computer can be dropped here.");
    QStringList paths;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile()) {
            *refusal = onlyLocal;
            return {};
        }
        const QString path = url.toLocalFile();
        if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
            *refusal = QCoreApplication::translate("MainWindow", "\"%1\" is not a PDF document.")
                           .arg(Problem::escapeName(QFileInfo(path).fileName()));
            return {};
        }
        paths << path;
    }
    if (paths.isEmpty())
        *refusal = onlyLocal;
    return paths;
}

} // namespace DroppedDocuments
