// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Per-user text values by key, in the section "General" of the application "sheetforge".
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString value(const QString &key, const QString &defaultValue) const = 0;
    virtual void setValue(const QString &key, const QString &value) = 0;
};

// QSettings: ~/.config/sheetforge/sheetforge.conf here, or the file given.
class QSettingsStore : public SettingsStore
{
public:
    QSettingsStore() = default;
    explicit QSettingsStore(const QString &iniFile)
        : m_iniFile(iniFile)
    {}

    QString value(const QString &key, const QString &defaultValue) const override;
    void setValue(const QString &key, const QString &value) override;

private:
    QString m_iniFile;
};
