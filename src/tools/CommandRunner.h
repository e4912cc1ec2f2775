// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/SeamOverride.h"

#include <QString>
#include <QStringList>

// How the last command ended. The captured text alone cannot tell a crash from a quiet success.
struct ProcessStatus
{
    enum Outcome { NotStarted, Exited, Crashed };
    Outcome outcome = NotStarted;
    int exitCode = 0; // the exit code, or the signal number for a crash

    bool isCleanExit() const { return outcome == Exited && exitCode == 0; }
    QString describe() const;
};

// Runs a program with an argument list (no shell) and returns everything it wrote to either stream.
class ICommandRunner
{
public:
    virtual ~ICommandRunner() = default;
    // command[0] is the program; an empty list runs the previous command again.
    virtual QString ExecuteCommand(const QStringList &command) = 0;
    virtual ProcessStatus lastStatus() const = 0;
};

ICommandRunner &commandRunner();
using CommandRunnerOverride = SeamOverride<ICommandRunner>;
