// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Registry.h"

#ifndef Q_OS_WIN
namespace {
class NoRegistry : public IRegistry
{
public:
    std::optional<QStringList> subkeys(const QString &) const override { return std::nullopt; }
    QString readString(const QString &, const QString &) const override { return {}; }
};
} // namespace

const IRegistry &systemRegistry()
{
    static const NoRegistry registry;
    return registry;
}
#endif
