// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// What a conversion needs from this computer, each thing found or what to install or set.
namespace SystemCheck {

struct Item
{
    QString subject; // "Ghostscript", "Fonts", ...
    bool ok = false;
    bool needed = true; // a conversion cannot do without it
    QString text;       // what was found, or what to do
};

// Runs Ghostscript once to ask its version: meant for the command line, which has nothing else to do.
QList<Item> run(const QString &ghostscript);
// Whether every needed item is there.
bool passed(const QList<Item> &items);
// Whether a window can be shown: a display, or a platform plugin that needs none.
bool hasDisplay();

} // namespace SystemCheck
