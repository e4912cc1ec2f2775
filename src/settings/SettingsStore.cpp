// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsStore.h"

#include <QSettings>

namespace {
// QSettings files its top-level keys under [General] and would escape a group of that name as [%General].
QString settingsKey(const QString &section, const QString &key)
{
    return section == QLatin1String("General") ? key : section + QLatin1Char('/') + key;
}

QSettings openStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("sheetforge"),
                     QStringLiteral("sheetforge"));
}
} // namespace

QString SettingsStore::GetSetting(const QString &section, const QString &key, const QString &defaultValue)
{
    return openStore().value(settingsKey(section, key), defaultValue).toString();
}

void SettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    openStore().setValue(settingsKey(section, key), value);
}

ISettingsStore &settingsStore()
{
    if (auto *fake = SettingsStoreOverride::current())
        return *fake;
    static SettingsStore real;
    return real;
}
