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

signals:
    void received(int signal);

private:
    void onActivated();

    QSocketNotifier *m_notifier = nullptr;
};
