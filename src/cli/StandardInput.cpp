// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StandardInput.h"

#include "tools/Problem.h"
#include "tools/TerminationSignals.h"

#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace StandardInput {

namespace {

termios g_terminal = {};

// Echo must come back even when the user gives up with Ctrl+C.
void restoreTerminalAndDie(int signal)
{
    ::tcsetattr(STDIN_FILENO, TCSANOW, &g_terminal);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace

std::optional<QString> readPassword(const QString &documentName, QString *refused)
{
    const bool terminal = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &g_terminal) == 0;
    // The termination signals the program catches end the wait through its own handlers; the others must
    // bring the echo back before they stop or end the program.
    const int pending = TerminationSignals::pendingDescriptor();
    const std::vector<int> restored =
        pending >= 0 ? std::vector<int>{SIGQUIT, SIGTSTP} : std::vector<int>{SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};
    std::vector<struct sigaction> previous(restored.size());
    if (terminal) {
        std::fprintf(stderr, "%s",
                     qPrintable(QCoreApplication::translate("StandardInput", "Password for %1: ")
                                    .arg(Problem::escapeName(documentName))));
        std::fflush(stderr);
        struct sigaction restoring = {};
        restoring.sa_handler = restoreTerminalAndDie;
        sigemptyset(&restoring.sa_mask);
        for (size_t i = 0; i < restored.size(); ++i)
            ::sigaction(restored[i], &restoring, &previous[i]);
        termios quiet = g_terminal;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    // Room for the longest line and its line end; a line that does not fit is refused.
    char line[MaxPasswordBytes + 2];
    size_t size = 0;
    bool complete = false;
    bool interrupted = false;
    while (!complete && size < sizeof line) {
        pollfd waited[2] = {{STDIN_FILENO, POLLIN, 0}, {pending, POLLIN, 0}};
        if (::poll(waited, pending >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (waited[1].revents & POLLIN) {
            interrupted = true;
            break;
        }
        const ssize_t got = ::read(STDIN_FILENO, line + size, sizeof line - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        const void *end = std::memchr(line + size, '\n', size_t(got));
        complete = end != nullptr;
        size = complete ? size_t(static_cast<const char *>(end) - line) : size + size_t(got);
    }
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_terminal);
        // The program's own handlers come back: they stop a conversion cleanly.
        for (size_t i = 0; i < restored.size(); ++i)
            ::sigaction(restored[i], &previous[i], nullptr);
        std::fputc('\n', stderr);
    }
    if (size > 0 && line[size - 1] == '\r')
        --size;
    std::optional<QString> password;
    if (size > size_t(MaxPasswordBytes))
        *refused = QCoreApplication::translate(
                       "StandardInput", "The password on standard input is longer than %1 bytes; it is not used.")
                       .arg(MaxPasswordBytes);
    else if (!interrupted)
        password = QString::fromUtf8(line, qsizetype(size));
    ::explicit_bzero(line, sizeof line);
    return password;
}

bool copyTo(QFile &file, QString *error)
{
    const int pending = TerminationSignals::pendingDescriptor();
    std::vector<char> buffer(1 << 16);
    for (;;) {
        pollfd waited[2] = {{STDIN_FILENO, POLLIN, 0}, {pending, POLLIN, 0}};
        if (::poll(waited, pending >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            *error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        if (waited[1].revents & POLLIN)
            return false;
        const ssize_t got = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *error = QCoreApplication::translate("StandardInput", "Standard input could not be read: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        if (got == 0)
            return file.flush();
        if (file.write(buffer.data(), got) != got) {
            *error = QCoreApplication::translate("StandardInput",
                                                 "Standard input could not be kept in the temporary folder: %1")
                         .arg(file.errorString());
            return false;
        }
    }
}

} // namespace StandardInput
