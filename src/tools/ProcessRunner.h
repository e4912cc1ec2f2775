// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ProcessResult.h"

#include <QObject>
#include <QStringDecoder>
#include <QStringList>

class QProcess;

// Runs one program at a time from an argument list (never a shell), asynchronously, with no standard
// input and both output streams merged. The child dies with this process, even on SIGKILL.
class ProcessRunner : public QObject
{
    Q_OBJECT
public:
    explicit ProcessRunner(QObject *parent = nullptr);
    ~ProcessRunner() override;

    // An argument equal to this becomes "@/dev/fd/N", the child's descriptor for argumentFile. The contents
    // stay in memory and are never written to a file.
    static constexpr char ArgumentFile[] = "@<argument-file>";

    // SIGSTOP cannot be caught, and a stopped program cannot hold its Ghostscript back. So each child gets a
    // watcher, this program started again with StopWatcherFlag, that stops the child while we are stopped
    // and continues it after. Without a program set (tests), children run unwatched.
    static constexpr char StopWatcherFlag[] = "--watch-stops-internal";
    static void setStopWatcher(const char *program);
    // The watcher's life: returns never.
    [[noreturn]] static void watchStops(int parent, int child);

    virtual void start(const QString &program, const QStringList &arguments, const QByteArray &argumentFile = {});
    // Where the next child keeps its own temporary files (TMPDIR), so they go with our private folder even
    // when the child is killed; empty for the inherited one.
    void setTemporaryFolder(const QString &folder) { m_temporaryFolder = folder; }
    // Kills the child at once; finished() follows with Cancelled.
    virtual void cancel();
    // Stops or continues the child, to hold it back while its output waits to be used.
    virtual void setPaused(bool paused);
    virtual bool isRunning() const;
    // Whether the running child has the file open; true when that cannot be told.
    virtual bool holdsOpen(const QString &path) const;

signals:
    void outputReceived(const QString &text);
    void finished(const ProcessResult &result);

private:
    void discardProcess();
    void onReadyRead();
    void onFinished(int exitCode, int exitStatus);
    void onErrorOccurred(int error);

    void closeArgumentFile();
    void forgetChild();

    QProcess *m_process = nullptr;
    int m_slot = -1; // in the list of children the stop signal reaches
    int m_argumentFd = -1;
    QString m_temporaryFolder;
    QString m_output;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    bool m_cancelled = false;
    bool m_paused = false;
    bool m_reported = true;
};
