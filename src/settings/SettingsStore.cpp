// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsStore.h"

#include <QSettings>

// QSettings files its top-level keys under [General]; a group of that name would become [%General].
QSettingsStore::QSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("sheetforge"), QStringLiteral("sheetforge")))
{}

QSettingsStore::QSettingsStore(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{}

QSettingsStore::~QSettingsStore() = default;

QString QSettingsStore::value(const QString &key, const QString &defaultValue) const
{
    return m_settings->value(key, defaultValue).toString();
}

void QSettingsStore::setValue(const QString &key, const QString &value)
{
    m_settings->setValue(key, value);
}

void QSettingsStore::sync()
{
    m_settings->sync();
}
