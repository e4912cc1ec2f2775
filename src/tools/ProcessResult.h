// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaType>
#include <QString>

// How a child process ended. The captured text alone cannot tell a crash or a kill from a quiet success.
struct ProcessResult
{
    enum Outcome { NotStarted, Exited, Crashed, Cancelled };
    Outcome outcome = NotStarted;
    int exitCode = 0; // the exit code; for a crash, the signal when known
    QString output;   // both streams, in the order written

    bool isCleanExit() const { return outcome == Exited && exitCode == 0; }
    QString describe() const;
};
