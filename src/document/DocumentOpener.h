// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/PageInfoReader.h"
#include "tools/PrivateFolder.h"
#include "tools/Problem.h"

#include <QFile>
#include <QObject>

#include <memory>
#include <optional>

class ProcessRunner;

// A document that opened: its page count, and the size of the page asked for (page 1 when that one lies
// past the end of a document that has since shrunk).
struct OpenedDocument
{
    QString path;
    QString password;
    int page = 1;
    DocumentInfo info;
};

// Opens a document off the window's thread: counts its pages and reads a page's box, asking for a password
// as long as the one given does not open it. Whoever asked keeps its previous document until opened() comes.
class DocumentOpener : public QObject
{
    Q_OBJECT
public:
    // runner may be null for the real one.
    explicit DocumentOpener(ProcessRunner *runner = nullptr, QObject *parent = nullptr);

    void open(const QString &ghostscript, const QString &path, int page = 1, const QString &password = {});
    // The answer to passwordNeeded(): a password to try, or nothing to give up.
    void providePassword(const std::optional<QString> &password);
    void cancel();
    bool isOpening() const { return m_opening; }

signals:
    void passwordNeeded(const QString &fileName, bool retry);
    void opened(const OpenedDocument &document);
    void failed(const Problem &problem);
    // The user gave up at the password question.
    void abandoned();

private:
    void onRead(const PageInfo &read);
    void finish();

    PageInfoReader m_reader;
    std::unique_ptr<PrivateFolder> m_folder; // holds the link Ghostscript reads the document through
    QFile m_file;                            // the document, open for as long as the opening lasts
    QString m_link;
    QString m_ghostscript;
    OpenedDocument m_document;
    bool m_opening = false;
    bool m_waitingForPassword = false;
};
