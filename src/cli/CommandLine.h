// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/PageSelection.h"
#include "settings/ConversionOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the program was asked to do from its command line.
struct CommandLineRequest
{
    enum Mode { OpenWindow, Convert, ShowHelp, ShowVersion, CheckSystem };
    Mode mode = OpenWindow;
    QString document;      // the first of documents; may be empty for OpenWindow
    QStringList documents; // for Convert, one or more; for OpenWindow, any number
    QString destination;   // Convert only
    // Each document's files go into the destination folder under the document's own name.
    bool destinationIsFolder = false;
    PageSelection pages;
    // Seconds a page may take; 0 for no limit. A script is not held for ever by a page that never ends.
    static constexpr int DefaultPageTimeout = 300;
    int pageTimeout = DefaultPageTimeout;
    bool passwordFromStdin = false;
    bool fromDefaults = false; // --defaults: the first-start options, not the window's last
    bool report = false;       // JSON lines of the run's events
    QString reportFile;        // for them, or else standard output
    // "-" as the destination: the one image goes to standard output; "-" as a document: it is read from
    // standard input.
    bool toStandardOutput = false;
    ConversionOptions options; // the stored options with the flags applied
    QString helpText;

    // The format the files are written in: the destination's extension, else the chosen one.
    ImageFormat writtenFormat() const
    {
        return destinationIsFolder ? options.format
                                   : OptionLists::formatForFileName(destination).value_or(options.format);
    }
};

namespace CommandLine {

// The name that stands for standard input or output.
inline const QString StandardStream = QStringLiteral("-");

// A flag as --help, the manual page and the shell completions tell of it.
struct FlagDescription
{
    QStringList names; // without the dashes; the first is the one shown
    QString valueName; // empty for a switch
    QString help;
    QStringList values; // what it takes, when that is a fixed list
    bool takesFile = false;
};
// Every flag, --help and --version included, in the order --help lists them.
QList<FlagDescription> flagDescriptions();
// What --help prints.
QString helpText();
// Each exit status ("0", "128+N") and what it means.
QList<std::pair<QString, QString>> exitStatuses();

// Whether the arguments ask for work that needs no window (and so no display).
bool isHeadless(const QStringList &arguments);
// arguments[0] is the program. On a usage error, returns nothing and sets *error.
std::optional<CommandLineRequest> parse(const QStringList &arguments, const ConversionOptions &stored, QString *error);
// The options as the flags that give them, for the written format: "--dpi 144 --colors 16 ...".
QString describe(const ConversionOptions &options, ImageFormat written);

} // namespace CommandLine
