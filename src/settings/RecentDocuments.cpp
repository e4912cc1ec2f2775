// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RecentDocuments.h"

#include "settings/SettingsStore.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString Key = QStringLiteral("RecentDocuments");

} // namespace

namespace RecentDocuments {

// A JSON list, because a file name may hold any character a separator could be.
QStringList load(const SettingsStore &store)
{
    QStringList paths;
    const QJsonArray stored = QJsonDocument::fromJson(store.value(Key, QString()).toUtf8()).array();
    for (const QJsonValue &value : stored) {
        if (value.isString() && !value.toString().isEmpty() && !paths.contains(value.toString()))
            paths << value.toString();
    }
    return paths.mid(0, Kept);
}

void add(SettingsStore &store, const QString &path)
{
    QStringList paths = load(store);
    paths.removeAll(path);
    paths.prepend(path);
    store.setValue(Key,
                   QString::fromUtf8(
                       QJsonDocument(QJsonArray::fromStringList(paths.mid(0, Kept))).toJson(QJsonDocument::Compact)));
}

} // namespace RecentDocuments
