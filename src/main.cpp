// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"
#include "cli/CommandLineConversion.h"
#include "settings/OptionsStorage.h"
#include "settings/SettingsStore.h"
#include "tools/GhostscriptCommands.h"
#include "tools/PrivateFolder.h"
#include "tools/ProcessRunner.h"
#include "tools/SystemCheck.h"
#include "tools/TerminationSignals.h"
#include "tools/Translations.h"
#include "ui/FileDialog.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <memory>

namespace {

// Each line says what was found, or what to install or set; the status says whether --convert can work.
int checkSystem(QTextStream &out)
{
    const QList<SystemCheck::Item> items = SystemCheck::run(GhostscriptLocator().locate());
    for (const SystemCheck::Item &item : items) {
        const char *mark = item.ok ? "OK  " : item.needed ? "FIX " : "NOTE";
        out << mark << ' ' << QCoreApplication::translate("SystemCheck", "%1: %2").arg(item.subject, item.text)
            << Qt::endl;
    }
    return SystemCheck::passed(items) ? 0 : 1;
}

int runHeadless(const CommandLineRequest &request)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (request.mode == CommandLineRequest::ShowHelp) {
        out << request.helpText;
        return 0;
    }
    if (request.mode == CommandLineRequest::CheckSystem)
        return checkSystem(out);
    if (request.mode == CommandLineRequest::ShowVersion) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << Qt::endl;
        return 0;
    }
    PrivateFolder::removeStale();
    CommandLineConversion conversion(request, GhostscriptLocator().locate(), err);
    const TerminationSignals termination;
    int signalled = 0;
    QObject::connect(&termination, &TerminationSignals::received, &conversion, [&conversion, &signalled](int signal) {
        signalled = signal;
        conversion.stop(TerminationSignals::exitCode(signal));
    });
    QObject::connect(&conversion, &CommandLineConversion::exited, QCoreApplication::instance(),
                     [&signalled, &err](int code) {
                         err.flush();
                         if (signalled)
                             TerminationSignals::exitNow(TerminationSignals::exitCode(signalled));
                         QCoreApplication::exit(code);
                     });
    QTimer::singleShot(0, &conversion, [&conversion] { conversion.start(); });
    return QCoreApplication::exec();
}

// The arguments as text; *undecodable is the first that does not survive the round trip.
QStringList decodedArguments(int argc, char *argv[], QString *undecodable)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QFile::decodeName(argv[i]);
        // A name the file system holds but that is not valid in the locale's encoding cannot be passed on.
        if (i > 0 && undecodable->isNull() && QFile::encodeName(arguments.last()) != QByteArray(argv[i]))
            *undecodable = arguments.last();
    }
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    // Before anything else: the watcher beside a Ghostscript is this program, started again.
    if (argc == 4 && std::strcmp(argv[1], ProcessRunner::StopWatcherFlag) == 0)
        ProcessRunner::watchStops(std::atoi(argv[2]), std::atoi(argv[3]));
    static const QByteArray self = QFile::encodeName(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
    ProcessRunner::setStopWatcher(self.isEmpty() ? nullptr : self.constData());
    // Names first: the settings store is found through them.
    QCoreApplication::setOrganizationName(QStringLiteral("sheetforge"));
    QCoreApplication::setApplicationName(QStringLiteral("sheetforge"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SHEETFORGE_VERSION));
    // Each worker thread would otherwise keep an arena of its own, and the library's page-sized allocations
    // leave them fragmented: memory then grows with the page count. One arena keeps it flat.
    ::mallopt(M_ARENA_MAX, 1);
    // Output that nobody reads any more (a closed pipe) must not kill a conversion half-way.
    std::signal(SIGPIPE, SIG_IGN);
    QString undecodable;
    const QStringList arguments = decodedArguments(argc, argv, &undecodable);

    // The kind of application comes first: a conversion, --help and --version need no display.
    // Without a display, a mistake on the command line is still told as such.
    const bool noWindow = !CommandLine::isHeadless(arguments) && !SystemCheck::hasDisplay();
    const bool headless = CommandLine::isHeadless(arguments) || noWindow;
    std::unique_ptr<QCoreApplication> app;
    if (headless) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
        // Wayland names the window after it, so the desktop entry's icon and name go with the window.
        QGuiApplication::setDesktopFileName(QStringLiteral("io.github.sheetforge"));
    }

    const Translations translations;
    if (!undecodable.isNull()) {
        std::fprintf(stderr, "sheetforge: %s\n",
                     qPrintable(QCoreApplication::translate("main", "\"%1\" cannot be opened: its name is not valid "
                                                                    "UTF-8. Rename it, for example with convmv, and "
                                                                    "try again.")
                                    .arg(Problem::escapeName(undecodable))));
        return 1;
    }

    QSettingsStore settings;
    QString error;
    const std::optional<CommandLineRequest> request =
        CommandLine::parse(arguments, OptionsStorage::load(settings), &error);
    if (!request) {
        std::fprintf(stderr, "sheetforge: %s\n", qPrintable(error));
        return 2;
    }
    if (noWindow) {
        std::fprintf(
            stderr, "sheetforge: %s\n",
            qPrintable(QCoreApplication::translate("main", "the window needs a graphical session (no "
                                                           "display was found).\nTo convert without a "
                                                           "window, use: sheetforge --convert DEST FILE.pdf")));
        return 1;
    }
    if (headless)
        return runHeadless(*request);
    PrivateFolder::removeStale();
    MessageBox messages;
    FileDialog files;
    MainWindow window(settings, messages, files);
    const TerminationSignals termination;
    // Stops Ghostscript, saves the options and ends at once, even from inside a message box.
    QObject::connect(&termination, &TerminationSignals::received, &window, [&window](int signal) {
        window.prepareToQuit();
        TerminationSignals::exitNow(TerminationSignals::exitCode(signal));
    });
    window.show();
    QTimer::singleShot(0, &window, [&window, documents = request->documents] {
        window.start(GhostscriptLocator().locate(), documents);
    });
    return QApplication::exec();
}
