// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/CommandRunner.h"

#include <QObject>

// Runs one console program as a child with no standard input; standard output and standard error
// share one pipe, read in chunks of at most 256 bytes, so their order is kept.
class DOSOutputs : public QObject, public ICommandRunner
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The command as text, arguments joined with blanks; for display only.
    QString CommandLine() const { return m_command.join(QLatin1Char(' ')); }
    void setCommand(const QStringList &command) { m_command = command; }
    QString Outputs() const { return m_outputs; }

    QString ExecuteCommand(const QStringList &command = {}) override;
    ProcessStatus lastStatus() const override { return m_status; }

    static constexpr int ReadChunkSize = 256;

signals:
    // Once per read from the pipe; the last one carries an empty text.
    void ReceiveOutputs(const QString &CommandOutputs);

private:
    QStringList m_command;
    QString m_outputs;
    ProcessStatus m_status;
};
