// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/CommandRunner.h"

#include <QList>
#include <functional>

// Records commands; a handler may answer each one (and write the files a real program would).
class FakeCommandRunner : public ICommandRunner
{
public:
    using Handler = std::function<QString(const QStringList &command, ProcessStatus &status)>;

    FakeCommandRunner() = default;
    explicit FakeCommandRunner(Handler handler) : handler(std::move(handler)) {}

    QString ExecuteCommand(const QStringList &command) override;
    ProcessStatus lastStatus() const override { return status; }

    // The value of "-sOutputFile=" in a command, unescaped.
    static QString outputFile(const QStringList &command);
    int countContaining(const QString &argument) const;

    Handler handler;
    QList<QStringList> commands;
    ProcessStatus status{ProcessStatus::Exited, 0};

private:
    CommandRunnerOverride m_override{*this};
};
