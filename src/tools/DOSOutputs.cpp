// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DOSOutputs.h"

#include "tools/Logging.h"
#include "ui/MessageBox.h"

#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

QString ProcessStatus::describe() const
{
    switch (outcome) {
    case NotStarted:
        return QStringLiteral("the program could not be started");
    case Crashed:
        return QStringLiteral("the program crashed (signal %1)").arg(exitCode);
    case Exited:
        break;
    }
    return QStringLiteral("the program ended with exit code %1").arg(exitCode);
}

namespace {

struct SpawnActions
{
    posix_spawn_file_actions_t actions;
    SpawnActions() { posix_spawn_file_actions_init(&actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
};

ProcessStatus waitForChild(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return {ProcessStatus::Crashed, 0};
    }
    if (WIFSIGNALED(status))
        return {ProcessStatus::Crashed, WTERMSIG(status)};
    return {ProcessStatus::Exited, WEXITSTATUS(status)};
}

} // namespace

QString DOSOutputs::ExecuteCommand(const QStringList &command)
{
    if (!command.isEmpty())
        m_command = command;
    if (m_command.isEmpty() || m_command.first().isEmpty()) {
        m_status = {};
        messageBox().inform(QStringLiteral("Command Line empty"), IMessageBox::Icon::Critical);
        return {};
    }
    qCDebug(lcTools) << "running" << m_command;

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        const int error = errno;
        m_status = {};
        messageBox().inform(QStringLiteral("CreatePipe failed. Error: ") + QString::number(error),
                            IMessageBox::Icon::Critical);
        return {};
    }

    // Each element stays one argument whatever it holds: no shell ever sees it.
    std::vector<QByteArray> encoded;
    encoded.reserve(m_command.size());
    for (const QString &arg : std::as_const(m_command))
        encoded.push_back(QFile::encodeName(arg));
    std::vector<char *> argv;
    for (QByteArray &arg : encoded)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    SpawnActions spawn;
    posix_spawn_file_actions_addopen(&spawn.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&spawn.actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&spawn.actions, fds[1], STDERR_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &spawn.actions, nullptr, argv.data(), environ);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        m_status = {};
        messageBox().inform(QStringLiteral("File or command not found"), IMessageBox::Icon::Critical);
        return {};
    }

    m_outputs.clear();
    // A character split between two reads must come back whole, so the decoder keeps its state.
    QStringDecoder decoder(QStringDecoder::System);
    char buffer[ReadChunkSize];
    for (;;) {
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            emit ReceiveOutputs(QString());
            break;
        }
        const QString chunk = decoder.decode(QByteArrayView(buffer, n));
        m_outputs += chunk;
        emit ReceiveOutputs(chunk);
    }
    close(fds[0]);
    m_status = waitForChild(pid);
    qCDebug(lcTools) << "finished:" << m_status.describe();
    return m_outputs;
}

ICommandRunner &commandRunner()
{
    if (auto *fake = CommandRunnerOverride::current())
        return *fake;
    static DOSOutputs real;
    return real;
}
