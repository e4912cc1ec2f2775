// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ProcessRunner.h"

#include "tools/Logging.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringDecoder>

#include <csignal>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

QString ProcessResult::describe() const
{
    switch (outcome) {
    case NotStarted:
        return QCoreApplication::translate("ProcessResult", "the program could not be started");
    case Crashed:
        return QCoreApplication::translate("ProcessResult", "the program crashed");
    case Cancelled:
        return QCoreApplication::translate("ProcessResult", "the program was stopped");
    case Exited:
        break;
    }
    return QCoreApplication::translate("ProcessResult", "the program ended with exit code %1").arg(exitCode);
}

ProcessRunner::ProcessRunner(QObject *parent)
    : QObject(parent)
{}

ProcessRunner::~ProcessRunner()
{
    discardProcess();
    closeArgumentFile();
}

void ProcessRunner::discardProcess()
{
    // A child that is replaced or outlived reports nothing more.
    if (!m_process)
        return;
    m_process->disconnect(this);
    m_process->kill();
    m_process->waitForFinished(1000);
    m_process->deleteLater();
    m_process = nullptr;
}

void ProcessRunner::closeArgumentFile()
{
    if (m_argumentFd >= 0)
        ::close(std::exchange(m_argumentFd, -1));
}

void ProcessRunner::start(const QString &program, const QStringList &arguments, const QByteArray &argumentFile)
{
    discardProcess();
    closeArgumentFile();
    if (!argumentFile.isEmpty()) {
        // Anonymous memory: no name in any folder, gone when the last descriptor closes.
        m_argumentFd = ::memfd_create("sheetforge-arguments", MFD_CLOEXEC);
        if (m_argumentFd >= 0
            && (::write(m_argumentFd, argumentFile.constData(), size_t(argumentFile.size())) != argumentFile.size()
                || ::lseek(m_argumentFd, 0, SEEK_SET) != 0))
            closeArgumentFile();
    }
    m_output.clear();
    m_decoder = QStringDecoder(QStringDecoder::Utf8);
    m_cancelled = false;
    m_paused = false;
    m_reported = false;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    if (!m_temporaryFolder.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), m_temporaryFolder);
        m_process->setProcessEnvironment(environment);
    }
    // A Ghostscript left behind by a killed program would go on rendering for minutes.
    m_process->setChildProcessModifier([fd = m_argumentFd] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (fd >= 0)
            ::fcntl(fd, F_SETFD, 0);
    });
    connect(m_process, &QProcess::readyReadStandardOutput, this, &ProcessRunner::onReadyRead);
    connect(m_process, &QProcess::finished, this,
            [this](int code, QProcess::ExitStatus status) { onFinished(code, int(status)); });
    connect(m_process, &QProcess::errorOccurred, this,
            [this](QProcess::ProcessError error) { onErrorOccurred(int(error)); });
    QStringList passed = arguments;
    for (QString &arg : passed) {
        if (arg == QLatin1String(ArgumentFile))
            arg = QStringLiteral("@/dev/fd/%1").arg(m_argumentFd);
    }
    qCDebug(lcTools) << "running" << program << passed;
    m_process->start(program, passed);
    // The child has its own copy by now, or never will.
    closeArgumentFile();
}

void ProcessRunner::cancel()
{
    if (!m_process || m_reported)
        return;
    m_cancelled = true;
    if (m_paused)
        ::kill(pid_t(m_process->processId()), SIGCONT);
    m_process->kill();
}

void ProcessRunner::setPaused(bool paused)
{
    if (!isRunning() || paused == m_paused)
        return;
    m_paused = paused;
    ::kill(pid_t(m_process->processId()), paused ? SIGSTOP : SIGCONT);
}

bool ProcessRunner::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

void ProcessRunner::onReadyRead()
{
    // The decoder keeps a character split between two reads for the next one.
    const QString text = m_decoder.decode(m_process->readAllStandardOutput());
    if (text.isEmpty())
        return;
    m_output += text;
    emit outputReceived(text);
}

void ProcessRunner::onFinished(int exitCode, int exitStatus)
{
    if (m_reported)
        return;
    onReadyRead();
    m_reported = true;
    ProcessResult result;
    result.output = m_output;
    if (m_cancelled) {
        result.outcome = ProcessResult::Cancelled;
    } else if (exitStatus == QProcess::CrashExit) {
        result.outcome = ProcessResult::Crashed;
    } else {
        result.outcome = ProcessResult::Exited;
        result.exitCode = exitCode;
    }
    qCDebug(lcTools) << "finished:" << result.describe();
    emit finished(result);
}

void ProcessRunner::onErrorOccurred(int error)
{
    if (error != QProcess::FailedToStart || m_reported)
        return;
    m_reported = true;
    ProcessResult result;
    result.outcome = m_cancelled ? ProcessResult::Cancelled : ProcessResult::NotStarted;
    result.output = m_process->errorString();
    emit finished(result);
}
