// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/ConversionEngine.h"
#include "conversion/PageSelection.h"
#include "document/DocumentOpener.h"

#include <QObject>
#include <QStringList>

#include <optional>

// Several documents, or one, converted with the same options.
struct BatchRequest
{
    QString ghostscript;
    QStringList documents;
    ConversionOptions options;
    // A folder that takes each document's files under the document's own name, or else the file (or the
    // numbered files' base name) for the one document.
    QString destination;
    bool destinationIsFolder = false;
    PageSelection pages;
    int pageTimeout = 0;
    QString password; // tried first on each document that asks for one
};

struct BatchSummary
{
    int pagesWritten = 0;
    int documentsFailed = 0; // could not be opened, or lost pages
    bool cancelled = false;
    Problem fatal; // what stopped the whole batch: the folders, the disk, the tools
};

// Opens each document in turn and converts its pages with one engine. A document that cannot be opened
// or converted is reported and the next one is still converted; a problem every document would meet
// stops the batch. Whoever runs it answers passwordNeeded().
class BatchConversion : public QObject
{
    Q_OBJECT
public:
    explicit BatchConversion(QObject *parent = nullptr);

    void start(const BatchRequest &request);
    void cancel();
    void setHeld(bool held) { m_engine.setHeld(held); }
    bool isRunning() const { return m_running; }
    // The answer to passwordNeeded(): a password to try, or nothing to pass the document over.
    void providePassword(const std::optional<QString> &password);
    ConversionEngine &engine() { return m_engine; }
    // The name each document's files take in a folder: its own, and for a second document of the same name
    // (from another folder) that name with "-2", so that no document's files replace another's.
    static QStringList outputNames(const QStringList &documents);
    // Where the files of the document at index go.
    static QString destinationFor(const BatchRequest &request, qsizetype index);

signals:
    void documentStarted(const QString &document, int index, int count);
    void passwordNeeded(const QString &fileName, bool retry);
    void documentFailed(const QString &document, const Problem &problem);
    // Pages asked for past the end of the document are listed in missing.
    void documentFinished(const QString &document, const ConversionResult &result,
                          const QList<PageSelection::Range> &missing, int pageCount);
    void finished(const BatchSummary &summary);

private:
    void openNext();
    void onOpened(const OpenedDocument &opened);
    void onEngineFinished(const ConversionResult &result);
    void fail(const Problem &problem);
    void end();

    BatchRequest m_request;
    DocumentOpener m_opener;
    ConversionEngine m_engine;
    BatchSummary m_summary;
    qsizetype m_next = 0;
    QString m_current;
    QList<PageSelection::Range> m_missing;
    int m_pageCount = 0;
    bool m_retry = false; // the last question was asked again after a wrong password
    bool m_running = false;
};
