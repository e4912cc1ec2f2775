// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    // Names first: the settings store is found through them.
    QApplication::setOrganizationName(QStringLiteral("sheetforge"));
    QApplication::setApplicationName(QStringLiteral("sheetforge"));
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("sheetforge 1.0"));
    window.show();
    return app.exec();
}
