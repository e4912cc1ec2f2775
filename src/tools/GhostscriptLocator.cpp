// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/GhostscriptLocator.h"

#include "tools/NumberText.h"
#include "tools/PathHelpers.h"
#include "tools/Registry.h"

#include <QStandardPaths>

namespace {
QString g_ghostscriptPath;
}

QString GhostscriptPath()
{
    return g_ghostscriptPath;
}

void setGhostscriptPath(const QString &path)
{
    g_ghostscriptPath = path;
}

namespace GhostscriptLocator {

const QStringList &GhostscriptProductNames()
{
    static const QStringList names{QStringLiteral("AFPL Ghostscript"), QStringLiteral("GPL Ghostscript"),
                                   QStringLiteral("GNU Ghostscript")};
    return names;
}

QString consoleProgramName()
{
    return QStringLiteral("gswin32c.exe");
}

QString FindGhostscript(const IRegistry &registry, const QString &productName)
{
    const QString productKey = QStringLiteral("SOFTWARE\\") + productName;
    const std::optional<QStringList> versions = registry.subkeys(productKey);
    if (!versions)
        return {};
    double bestVersion = 0.0;
    QString bestPath;
    for (const QString &version : *versions) {
        // "9.10" must lose to "9.5": versions compare as numbers, as the installers write them.
        const double number = NumberText::leadingNumber(version);
        if (!(number > bestVersion))
            continue;
        const QString dll =
            registry.readString(productKey + QLatin1Char('\\') + version, QStringLiteral("GS_DLL")).trimmed();
        const QString candidate = PathHelpers::GetDirectoryPart(dll) + consoleProgramName();
        if (PathHelpers::FileExists(candidate)) {
            bestVersion = number;
            bestPath = candidate;
        }
    }
    return bestPath;
}

QString LocateGhostscript(const IRegistry &registry)
{
    for (const QString &name : GhostscriptProductNames()) {
        const QString path = FindGhostscript(registry, name);
        if (!path.isEmpty())
            return path;
    }
#ifdef Q_OS_WIN
    const QStringList programs{QStringLiteral("gswin64c"), QStringLiteral("gswin32c")};
#else
    const QStringList programs{QStringLiteral("gs")};
#endif
    for (const QString &program : programs) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

} // namespace GhostscriptLocator
