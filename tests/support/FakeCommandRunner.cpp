// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeCommandRunner.h"

QString FakeCommandRunner::ExecuteCommand(const QStringList &command)
{
    commands << command;
    status = {ProcessStatus::Exited, 0};
    return handler ? handler(command, status) : QString();
}

QString FakeCommandRunner::outputFile(const QStringList &command)
{
    for (const QString &arg : command) {
        if (arg.startsWith(QLatin1String("-sOutputFile=")))
            return arg.mid(13).replace(QStringLiteral("%%"), QStringLiteral("%"));
    }
    return {};
}

int FakeCommandRunner::countContaining(const QString &argument) const
{
    int n = 0;
    for (const QStringList &command : commands)
        n += command.contains(argument) ? 1 : 0;
    return n;
}
