// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C) into a signal on the event loop, where the program
// can stop its children, save and clean up. The handler itself only writes a byte.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Ends the process at once, without waiting for worker threads that may be inside a long library
    // call: removes the private folders, flushes the standard streams and exits. Children die with us.
    [[noreturn]] static void exitNow(int code);
    // The status a shell reports for a program ended by signal: 128 plus its number.
    static int exitCode(int signal) { return 128 + signal; }
    // Readable while a caught signal waits for the event loop, for code that must block outside it (poll
    // it along with what it waits for); -1 while no instance catches them.
    static int pendingDescriptor();

signals:
    void received(int signal);

private:
    void onActivated();

    QSocketNotifier *m_notifier = nullptr;
};
