// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/CommandLine.h"
#include "conversion/CommandLineConversion.h"
#include "settings/OptionsStorage.h"
#include "settings/SettingsStore.h"
#include "tools/GhostscriptCommands.h"
#include "tools/PrivateFolder.h"
#include "tools/TerminationSignals.h"
#include "ui/FileDialog.h"
#include "ui/MainWindow.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

bool hasDisplay()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int runHeadless(const CommandLineRequest &request)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (request.mode == CommandLineRequest::ShowHelp) {
        out << request.helpText;
        return 0;
    }
    if (request.mode == CommandLineRequest::ShowVersion) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << Qt::endl;
        return 0;
    }
    QString password;
    if (request.passwordFromStdin)
        password = QTextStream(stdin).readLine();
    CommandLineConversion conversion(request, GhostscriptLocator().locate(), err);
    const TerminationSignals termination;
    bool terminating = false;
    QObject::connect(&termination, &TerminationSignals::received, &conversion, [&conversion, &terminating] {
        terminating = true;
        conversion.stop();
    });
    QObject::connect(&conversion, &CommandLineConversion::exited, qApp, [&terminating, &err](int code) {
        err.flush();
        if (terminating)
            TerminationSignals::exitNow(code);
        QCoreApplication::exit(code);
    });
    QTimer::singleShot(0, &conversion, [&conversion, password] { conversion.start(password); });
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // Names first: the settings store is found through them.
    QCoreApplication::setOrganizationName(QStringLiteral("sheetforge"));
    QCoreApplication::setApplicationName(QStringLiteral("sheetforge"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SHEETFORGE_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    // The kind of application comes first: a conversion, --help and --version need no display.
    const bool headless = CommandLine::isHeadless(arguments);
    if (!headless && !hasDisplay()) {
        std::fprintf(stderr, "sheetforge: the window needs a graphical session (no display was found).\n"
                             "To convert without a window, use: sheetforge --convert DEST FILE.pdf\n");
        return 1;
    }
    std::unique_ptr<QCoreApplication> app;
    if (headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);

    QSettingsStore settings;
    QString error;
    const std::optional<CommandLineRequest> request =
        CommandLine::parse(arguments, OptionsStorage::load(settings), &error);
    if (!request || (headless && request->mode == CommandLineRequest::OpenWindow)) {
        std::fprintf(stderr, "sheetforge: %s\n", qPrintable(request ? request->helpText : error));
        return 2;
    }
    PrivateFolder::removeStale();
    if (headless)
        return runHeadless(*request);
    MessageBox messages;
    FileDialog files;
    MainWindow window(settings, messages, files);
    const TerminationSignals termination;
    // Stops Ghostscript, saves the options and ends at once, even from inside a message box.
    QObject::connect(&termination, &TerminationSignals::received, &window, [&window] {
        window.prepareToQuit();
        TerminationSignals::exitNow(0);
    });
    window.show();
    QTimer::singleShot(
        0, &window, [&window, document = request->document] { window.start(GhostscriptLocator().locate(), document); });
    return QApplication::exec();
}
