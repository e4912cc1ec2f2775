// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/GhostscriptCommands.h"
#include "tools/Problem.h"

#include <QObject>

class ProcessRunner;
struct ProcessResult;

struct PageInfo
{
    Problem problem;
    int page = 1; // the page read: one past the end falls back to the first
    DocumentInfo info;
};

// Reads a document's page count and one page's box with Ghostscript, off the window's thread. A
// remembered page past the end of a document that has since shrunk gives page 1 instead; a document
// that the current interpreter cannot open with its password is tried with the older one.
class PageInfoReader : public QObject
{
    Q_OBJECT
public:
    // runner may be null for the real one.
    explicit PageInfoReader(ProcessRunner *runner = nullptr, QObject *parent = nullptr);

    // link is what GhostscriptCommands::linkDocument() made of the document, in a private folder that
    // outlives the read; Ghostscript reads only through it.
    void read(const QString &ghostscript, const QString &document, const QString &link, int page,
              const QString &password);
    void cancel();

signals:
    void finished(const PageInfo &result);

private:
    void start();
    void onFinished(const ProcessResult &result);
    void report(const PageInfo &result);

    ProcessRunner *m_runner = nullptr;
    QString m_ghostscript;
    QString m_document;
    QString m_password;
    QString m_link;
    QString m_marker;
    int m_page = 1;
    bool m_legacyInterpreter = false;
    // Whether the document last read declares a print intent, and which version of it that was: the whole file
    // is read to tell, so not again for every page.
    QString m_intentOf;
    bool m_printIntent = false;
    bool m_reading = false;
};
