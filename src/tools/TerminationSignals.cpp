// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TerminationSignals.h"

#include "tools/PrivateFolder.h"

#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

int g_pipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop does the rest.
void handleSignal(int signal)
{
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::onActivated);
    struct sigaction action = {};
    action.sa_handler = handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signal, SIG_DFL);
    delete std::exchange(m_notifier, nullptr);
    for (int &end : g_pipe) {
        if (end >= 0)
            ::close(std::exchange(end, -1));
    }
}

int TerminationSignals::pendingDescriptor()
{
    return g_pipe[1];
}

void TerminationSignals::exitNow(int code)
{
    PrivateFolder::removeAll();
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(code);
}

void TerminationSignals::onActivated()
{
    char byte = 0;
    if (::read(g_pipe[1], &byte, 1) == 1)
        emit received(int(byte));
}
