// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Registry.h"
#include "ui/TerminationSignals.h"
#include "ui/frmMainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Names first: the settings store is found through them.
    QApplication::setOrganizationName(QStringLiteral("sheetforge"));
    QApplication::setApplicationName(QStringLiteral("sheetforge"));
    QApplication app(argc, argv);
    const TerminationSignals termination;
    frmMainWindow window;
    window.load(systemRegistry());
    window.show();
    return app.exec();
}
