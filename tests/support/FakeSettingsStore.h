// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/SettingsStore.h"

#include <QMap>
#include <QStringList>

// Keys as "section/key"; remembers the order of saves.
class FakeSettingsStore : public ISettingsStore
{
public:
    QString GetSetting(const QString &section, const QString &key, const QString &defaultValue) override
    {
        return values.value(section + QLatin1Char('/') + key, defaultValue);
    }
    void SaveSetting(const QString &section, const QString &key, const QString &value) override
    {
        values.insert(section + QLatin1Char('/') + key, value);
        savedKeys << key;
    }
    void set(const QString &key, const QString &value) { values.insert(QStringLiteral("General/") + key, value); }

    QMap<QString, QString> values;
    QStringList savedKeys;

private:
    SettingsStoreOverride m_override{*this};
};
