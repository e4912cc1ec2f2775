// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsStore.h"

#include <QSettings>

#include <memory>

namespace {
// QSettings files its top-level keys under [General]; a group of that name would become [%General].
std::unique_ptr<QSettings> openStore(const QString &iniFile)
{
    if (!iniFile.isEmpty())
        return std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("sheetforge"),
                                       QStringLiteral("sheetforge"));
}
} // namespace

QString QSettingsStore::value(const QString &key, const QString &defaultValue) const
{
    return openStore(m_iniFile)->value(key, defaultValue).toString();
}

void QSettingsStore::setValue(const QString &key, const QString &value)
{
    openStore(m_iniFile)->setValue(key, value);
}
