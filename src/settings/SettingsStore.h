// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class QSettings;

// Per-user text values by key, in the section "General" of the application "sheetforge".
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString value(const QString &key, const QString &defaultValue) const = 0;
    virtual void setValue(const QString &key, const QString &value) = 0;
    // Writes what was set to permanent storage.
    virtual void sync() {}
};

// QSettings: ~/.config/sheetforge/sheetforge.conf here, or the file given.
class QSettingsStore : public SettingsStore
{
public:
    QSettingsStore();
    explicit QSettingsStore(const QString &iniFile);
    ~QSettingsStore() override;

    QString value(const QString &key, const QString &defaultValue) const override;
    void setValue(const QString &key, const QString &value) override;
    void sync() override;

private:
    std::unique_ptr<QSettings> m_settings;
};
