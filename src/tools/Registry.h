// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Read-only view of the machine-wide registry (HKEY_LOCAL_MACHINE on Windows).
class IRegistry
{
public:
    virtual ~IRegistry() = default;
    // The subkey names in enumeration order; nullopt when the key cannot be opened.
    virtual std::optional<QStringList> subkeys(const QString &keyPath) const = 0;
    // A string value as stored, a 32-bit value in decimal, empty on any failure or other type.
    virtual QString readString(const QString &keyPath, const QString &valueName) const = 0;
};

// The registry of this machine; on platforms without one it holds no keys.
const IRegistry &systemRegistry();
