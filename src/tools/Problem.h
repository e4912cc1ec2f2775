// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A failure as the user is told of it: one or two sentences of what happened and what to do, with the
// tool's own words kept apart for those who want them.
struct Problem
{
    enum Kind {
        None,
        GhostscriptMissing,
        GhostscriptFailed,
        NotPdf,
        IsFolder,
        EmptyFile,
        NeedsPassword,
        WrongPassword,
        UnusablePassword,
        NoPages,
        BadPageBox,
        PermissionDenied,
        FileGone,
        TemporaryFolderFull,
        TemporaryFolderMissing,
        DestinationNotWritable,
        DiskFull,
        TooLarge,
        PageTimedOut,
        PageFailed,
        NotRegularFile,
        FileNotWritable,
        DestinationBusy,
        DocumentMissing, // a name given that leads to nothing; FileGone is for one that did
        NoSuchPage,      // none of the pages asked for is in the document
    };

    Kind kind = None;
    QString message;
    QString details;

    bool isNone() const { return kind == None; }
    // A stable name of the kind for programs ("not-pdf", "password", "timeout"); "ok" for none.
    QString code() const;
    // A problem that every further page would meet as well.
    bool isFatalForRun() const;
    // A problem that every further document would meet as well: the tools, the folders, the disk.
    bool stopsEveryDocument() const;

    // Control characters in details and subject are shown escaped, so neither a document nor a file name
    // can reach the terminal's own commands.
    static Problem make(Kind kind, const QString &details = {}, const QString &subject = {});
    static QString escapeControls(const QString &text);
    // A file name as it is printed or shown: every control character escaped, line ends and tabs too, so
    // that a name can neither command the terminal nor pass for a line of its own.
    static QString escapeName(const QString &name);
    // What to do when Ghostscript is missing, as the window and --check both say it.
    static QString ghostscriptFix();

private:
    static QString messageFor(Kind kind, const QString &subject, const QString &details);
};
