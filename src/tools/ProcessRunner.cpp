// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ProcessRunner.h"

#include "tools/Logging.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringDecoder>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The children a stop from the terminal (SIGTSTP) must reach: one sent to our process alone would stop us
// and leave Ghostscript filling the temporary folder. Read by the signal handler, so only lock-free atomics.
struct ChildSlot
{
    std::atomic<pid_t> pid{0};
    std::atomic_bool paused{false}; // held by setPaused, to stay stopped when we continue
};
ChildSlot g_children[16];

void stopWithChildren(int)
{
    const int savedErrno = errno;
    for (ChildSlot &child : g_children) {
        if (const pid_t pid = child.pid.load(); pid > 0)
            ::kill(pid, SIGSTOP);
    }
    ::raise(SIGSTOP);
    // Continued: by "fg" (which continues the whole process group) or by SIGCONT to us alone.
    for (ChildSlot &child : g_children) {
        if (const pid_t pid = child.pid.load(); pid > 0)
            ::kill(pid, child.paused.load() ? SIGSTOP : SIGCONT);
    }
    errno = savedErrno;
}

// The state letter of a /proc/PID/stat file, 0 when unreadable.
char processState(const char *statPath)
{
    const int fd = ::open(statPath, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[512];
    const ssize_t size = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (size <= 0)
        return 0;
    // The name in parentheses may hold anything, so the state follows the last ')'.
    for (ssize_t i = size - 1; i > 0; --i) {
        if (text[i] == ')')
            return i + 2 < size ? text[i + 2] : 0;
    }
    return 0;
}

// The watcher is this program run again: a fork that lived on would hold a copy of our memory.
const char *g_watcherProgram = nullptr;

// Runs in the forked child, before exec: async-signal-safe calls only.
void startStopWatcher(pid_t parent)
{
    if (!g_watcherProgram)
        return;
    const pid_t child = ::getpid();
    if (::fork() != 0)
        return;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != child)
        ::_exit(0);
    // Holds no descriptor of the child's: its output must end when the child does.
    for (int fd = 0; fd < 1024; ++fd)
        ::close(fd);
    char parentText[16], childText[16];
    std::snprintf(parentText, sizeof parentText, "%d", int(parent));
    std::snprintf(childText, sizeof childText, "%d", int(child));
    const char *const argv[] = {g_watcherProgram, ProcessRunner::StopWatcherFlag, parentText, childText, nullptr};
    ::execv(g_watcherProgram, const_cast<char *const *>(argv));
    ::_exit(0);
}

int registerChild(pid_t pid)
{
    static const bool installed = [] {
        struct sigaction action = {};
        action.sa_handler = stopWithChildren;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        return ::sigaction(SIGTSTP, &action, nullptr) == 0;
    }();
    Q_UNUSED(installed);
    for (int i = 0; i < int(std::size(g_children)); ++i) {
        pid_t empty = 0;
        if (g_children[i].pid.compare_exchange_strong(empty, pid))
            return i;
    }
    return -1;
}

} // namespace

void ProcessRunner::setStopWatcher(const char *program)
{
    g_watcherProgram = program;
}

void ProcessRunner::watchStops(int parent, int child)
{
    // Ends with the child: it is our parent, and its end sends SIGKILL.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != child)
        ::_exit(0);
    const QByteArray parentStat = "/proc/" + QByteArray::number(parent) + "/stat";
    const QByteArray childStat = "/proc/" + QByteArray::number(child) + "/stat";
    bool stoppedByUs = false;
    const timespec interval = {0, 100'000'000};
    for (;;) {
        ::nanosleep(&interval, nullptr);
        const char state = processState(parentStat.constData());
        if (state == 0 || ::getppid() != child)
            ::_exit(0);
        // A child held back by setPaused stays stopped when we continue.
        if (state == 'T' && !stoppedByUs && processState(childStat.constData()) != 'T') {
            ::kill(child, SIGSTOP);
            stoppedByUs = true;
        } else if (state != 'T' && stoppedByUs) {
            ::kill(child, SIGCONT);
            stoppedByUs = false;
        }
    }
}

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

void ProcessRunner::forgetChild()
{
    if (m_slot < 0)
        return;
    g_children[m_slot].paused = false;
    g_children[m_slot].pid = 0;
    m_slot = -1;
}

void ProcessRunner::discardProcess()
{
    // A child that is replaced or outlived reports nothing more.
    forgetChild();
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
        // The argument file carries a password: a core dump of ours must not.
        ::prctl(PR_SET_DUMPABLE, 0);
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
        // Whatever the child leaves in its working folder, a core file for one, goes with our private folder.
        m_process->setWorkingDirectory(m_temporaryFolder);
    }
    // A Ghostscript left behind by a killed program would go on rendering for minutes. Ghostscript crashes on
    // some wrong passwords, and its core would hold the password.
    m_process->setChildProcessModifier([fd = m_argumentFd, parent = ::getpid()] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        startStopWatcher(parent);
        const rlimit noCore = {0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        if (fd >= 0)
            ::fcntl(fd, F_SETFD, 0);
    });
    connect(m_process, &QProcess::started, this, [this] { m_slot = registerChild(pid_t(m_process->processId())); });
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
    if (m_slot >= 0)
        g_children[m_slot].paused = paused;
    ::kill(pid_t(m_process->processId()), paused ? SIGSTOP : SIGCONT);
}

bool ProcessRunner::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

bool ProcessRunner::holdsOpen(const QString &path) const
{
    if (!isRunning())
        return false;
    // In a process namespace of our own under the outer /proc, the child's number names another process.
    static const bool procIsOurs = [] {
        char self[32] = {};
        return ::readlink("/proc/self", self, sizeof self - 1) > 0 && QByteArray(self).toLongLong() == ::getpid();
    }();
    if (!procIsOurs)
        return true;
    const QByteArray target = QFile::encodeName(QFileInfo(path).canonicalFilePath());
    DIR *descriptors = ::opendir(QByteArray("/proc/" + QByteArray::number(m_process->processId()) + "/fd").constData());
    if (!descriptors)
        return true;
    bool held = false;
    char link[PATH_MAX];
    while (const dirent *entry = ::readdir(descriptors)) {
        const ssize_t size = ::readlinkat(::dirfd(descriptors), entry->d_name, link, sizeof link);
        if (size > 0 && QByteArray(link, size) == target) {
            held = true;
            break;
        }
    }
    ::closedir(descriptors);
    return held;
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
    forgetChild();
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
