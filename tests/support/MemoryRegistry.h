// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/Registry.h"

#include <QList>
#include <QMap>
#include <QPair>

// A registry held in memory; subkeys keep the order in which they were added.
class MemoryRegistry : public IRegistry
{
public:
    void addKey(const QString &path) { m_subkeys[path]; }
    void addVersion(const QString &product, const QString &version, const QString &gsDll)
    {
        const QString productKey = QStringLiteral("SOFTWARE\\") + product;
        m_subkeys[productKey] << version;
        m_values.insert(productKey + QLatin1Char('\\') + version + QStringLiteral("|GS_DLL"), gsDll);
    }

    std::optional<QStringList> subkeys(const QString &keyPath) const override
    {
        if (!m_subkeys.contains(keyPath))
            return std::nullopt;
        return m_subkeys.value(keyPath);
    }
    QString readString(const QString &keyPath, const QString &valueName) const override
    {
        return m_values.value(keyPath + QLatin1Char('|') + valueName);
    }

private:
    QMap<QString, QStringList> m_subkeys;
    QMap<QString, QString> m_values;
};
