// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class IRegistry;

namespace GhostscriptLocator {

// Registry product names, tried in this order.
const QStringList &GhostscriptProductNames();
// The console program's file name next to the registered interpreter DLL.
QString consoleProgramName();

// The console program of the highest-numbered version under SOFTWARE\<productName> whose program exists.
QString FindGhostscript(const IRegistry &registry, const QString &productName);
// The registry's choice first; where it finds nothing, the console program on PATH. Empty when none.
QString LocateGhostscript(const IRegistry &registry);

} // namespace GhostscriptLocator

// The program-wide path of the Ghostscript console program, set once at start; empty when none was found.
QString GhostscriptPath();
void setGhostscriptPath(const QString &path);
