// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/SeamOverride.h"

#include <QString>

// Per-user text values by section and key, under the application "sheetforge".
class ISettingsStore
{
public:
    virtual ~ISettingsStore() = default;
    virtual QString GetSetting(const QString &section, const QString &key, const QString &defaultValue) = 0;
    virtual void SaveSetting(const QString &section, const QString &key, const QString &value) = 0;
};

// QSettings for organisation and application "sheetforge": ~/.config/sheetforge/sheetforge.conf here.
class SettingsStore : public ISettingsStore
{
public:
    QString GetSetting(const QString &section, const QString &key, const QString &defaultValue) override;
    void SaveSetting(const QString &section, const QString &key, const QString &value) override;
};

ISettingsStore &settingsStore();
using SettingsStoreOverride = SeamOverride<ISettingsStore>;
