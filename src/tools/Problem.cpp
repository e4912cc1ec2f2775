// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Problem.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

bool Problem::stopsEveryDocument() const
{
    switch (kind) {
    case GhostscriptMissing:
    case TemporaryFolderFull:
    case TemporaryFolderMissing:
    case DestinationNotWritable:
    case DiskFull:
        return true;
    default:
        return false;
    }
}

bool Problem::isFatalForRun() const
{
    switch (kind) {
    case GhostscriptMissing:
    case GhostscriptFailed:
    case NotPdf:
    case IsFolder:
    case EmptyFile:
    case NeedsPassword:
    case WrongPassword:
    case UnusablePassword:
    case NoPages:
    case PermissionDenied:
    case FileGone:
    case DocumentMissing:
    case TemporaryFolderFull:
    case TemporaryFolderMissing:
    case DestinationNotWritable:
    case DiskFull:
        return true;
    case PageTimedOut:
    case DestinationBusy:
        return true;
    case NotRegularFile:
    case FileNotWritable:
    case None:
    case BadPageBox:
    case TooLarge:
    case PageFailed:
    case NoSuchPage:
        break;
    }
    return false;
}

QString Problem::ghostscriptFix()
{
    return QCoreApplication::translate("Problem", "Install it with: sudo apt install ghostscript");
}

QString Problem::code() const
{
    switch (kind) {
    case None:
        return QStringLiteral("ok");
    case GhostscriptMissing:
        return QStringLiteral("ghostscript-missing");
    case GhostscriptFailed:
        return QStringLiteral("ghostscript-failed");
    case NotPdf:
        return QStringLiteral("not-pdf");
    case IsFolder:
        return QStringLiteral("is-folder");
    case EmptyFile:
        return QStringLiteral("empty");
    case NeedsPassword:
        return QStringLiteral("password");
    case WrongPassword:
        return QStringLiteral("wrong-password");
    case UnusablePassword:
        return QStringLiteral("unusable-password");
    case NoPages:
        return QStringLiteral("no-pages");
    case BadPageBox:
        return QStringLiteral("bad-page-box");
    case PermissionDenied:
        return QStringLiteral("unreadable");
    case FileGone:
    case DocumentMissing:
        return QStringLiteral("missing");
    case TemporaryFolderFull:
        return QStringLiteral("temporary-full");
    case TemporaryFolderMissing:
        return QStringLiteral("temporary-missing");
    case DestinationNotWritable:
    case NotRegularFile:
    case FileNotWritable:
        return QStringLiteral("unwritable");
    case DiskFull:
        return QStringLiteral("disk-full");
    case TooLarge:
        return QStringLiteral("too-large");
    case PageTimedOut:
        return QStringLiteral("timeout");
    case PageFailed:
        return QStringLiteral("page-failed");
    case DestinationBusy:
        return QStringLiteral("destination-busy");
    case NoSuchPage:
        return QStringLiteral("no-such-page");
    }
    return QStringLiteral("failed");
}

QString Problem::escapeControls(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\n' && u != u'\t') || (u >= 0x7f && u < 0xa0))
            escaped += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    return escaped;
}

QString Problem::escapeName(const QString &name)
{
    QString escaped = escapeControls(name);
    escaped.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    escaped.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return escaped;
}

QString Problem::messageFor(Kind kind, const QString &subject, const QString &details)
{
    switch (kind) {
    case None:
        break;
    case GhostscriptMissing:
        return QCoreApplication::translate(
                   "Problem", "GhostScript has not been found on your system. This utility is required to be able to "
                              "process pdf files")
               + QStringLiteral(". ") + ghostscriptFix();
    case GhostscriptFailed:
        return QCoreApplication::translate(
            "Problem", "Ghostscript stopped without rendering the pages. The document may be damaged; try opening "
                       "and saving it again in another program.");
    case NotPdf:
        return QCoreApplication::translate(
                   "Problem", "\"%1\" is not a PDF document, or it is damaged beyond repair. Check that you chose the "
                              "right file.")
            .arg(subject);
    case IsFolder:
        return QCoreApplication::translate("Problem",
                                           "\"%1\" is a folder, not a PDF document. Choose a PDF file inside it.")
            .arg(subject);
    case EmptyFile:
        return QCoreApplication::translate(
                   "Problem", "\"%1\" is empty. The file may not have been downloaded or copied completely.")
            .arg(subject);
    case NeedsPassword:
        return QCoreApplication::translate(
                   "Problem", "\"%1\" is protected by a password. Enter the document's password to open it.")
            .arg(subject);
    case WrongPassword:
        return QCoreApplication::translate("Problem",
                                           "The password for \"%1\" is not correct. Check the password and try again.")
            .arg(subject);
    case UnusablePassword:
        return QCoreApplication::translate(
            "Problem", "This password cannot be used: Ghostscript cannot be given a password that holds a line "
                       "break, that has a blank and a backslash at its end, or that is longer than about 2000 bytes.");
    case NoPages:
        return QCoreApplication::translate("Problem", "\"%1\" has no pages.").arg(subject);
    case BadPageBox:
        return QCoreApplication::translate(
                   "Problem", "A page of \"%1\" cannot be rendered: its size is %2. A page must be larger than nothing "
                              "and at most 200 inches (14400 points) a side.")
            .arg(subject, details);
    case PermissionDenied:
        return QCoreApplication::translate(
                   "Problem", "You are not allowed to read \"%1\". Ask the owner of the file for access, or copy it "
                              "somewhere you can read it.")
            .arg(subject);
    case FileGone:
        return QCoreApplication::translate("Problem",
                                           "\"%1\" no longer exists. It may have been moved, renamed or deleted.")
            .arg(subject);
    case DocumentMissing:
        return QCoreApplication::translate("Problem", "\"%1\" does not exist. Check the file's name and folder.")
            .arg(subject);
    case TemporaryFolderFull:
        return QCoreApplication::translate(
                   "Problem", "The temporary folder \"%1\" is full or cannot be written. Free some space there, or set "
                              "TMPDIR to another folder, and try again.")
            .arg(subject);
    case TemporaryFolderMissing:
        return QCoreApplication::translate(
                   "Problem", "The temporary folder \"%1\" does not exist. Create it, or set TMPDIR to a folder that "
                              "exists, and try again.")
            .arg(subject);
    case DestinationNotWritable:
        return QCoreApplication::translate(
                   "Problem", "The images cannot be written to \"%1\". Choose a folder you are allowed to write to.")
            .arg(subject);
    case DiskFull:
        return QCoreApplication::translate(
                   "Problem",
                   "The disk holding \"%1\" is full. Free some space, or choose another folder, and try again.")
            .arg(subject);
    case TooLarge:
        return QCoreApplication::translate(
            "Problem", "The page is too large to convert at this resolution. Choose a lower resolution.");
    case PageFailed:
        return QCoreApplication::translate("Problem", "The page could not be converted.");
    case NoSuchPage:
        return QCoreApplication::translate("Problem", "None of the pages asked for is in \"%1\".").arg(subject);
    case PageTimedOut:
        return QCoreApplication::translate(
                   "Problem", "Page %1 did not finish in the time allowed for a page, so the conversion stopped there.")
            .arg(subject);
    case NotRegularFile:
        return QCoreApplication::translate(
                   "Problem",
                   "\"%1\" is a link or a special file, not a regular file, so it is not replaced. Choose another "
                   "name.")
            .arg(subject);
    case FileNotWritable:
        return QCoreApplication::translate(
                   "Problem", "You are not allowed to replace \"%1\". Choose another name, or a file you may change.")
            .arg(subject);
    case DestinationBusy:
        return QCoreApplication::translate(
                   "Problem", "\"%1\" is being written by another conversion right now. Wait until it ends, or choose "
                              "another name.")
            .arg(subject);
    }
    return {};
}

namespace {

// The tools' words name our private work folders (a bitmap, a spill file), which mean nothing to the user;
// "Unknown error" is what a file says when it knows no reason.
QString withoutPrivateNoise(QString details)
{
    static const QRegularExpression privatePath(
        QStringLiteral("[`'\"]?[^\\s`'\"]*/SFG-\\d+-[A-Za-z0-9]{6}(/[^\\s`'\"]*)?[`'\"]?"));
    static const QRegularExpression location(QStringLiteral(" @ (error|warning|fatal)/[^\\s]*"));
    details.remove(privatePath).remove(location).remove(QStringLiteral("Unknown error"));
    QStringList lines;
    for (const QString &line : details.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty() && line.trimmed() != QLatin1String("()"))
            lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

Problem Problem::make(Kind kind, const QString &rawDetails, const QString &rawSubject)
{
    const QString details = escapeControls(withoutPrivateNoise(rawDetails));
    const QString subject = escapeName(rawSubject);
    // The size of a page box is the message's own detail, not Ghostscript's words.
    if (kind == BadPageBox)
        return {kind, messageFor(kind, subject, details), {}};
    return {kind, messageFor(kind, subject, details), details};
}
