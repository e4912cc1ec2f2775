// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/ConversionEngine.h"
#include "conversion/PageSelection.h"
#include "document/DocumentOpener.h"

#include <QObject>
#include <QStringList>

#include <functional>
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
    // Every document is opened before any is converted, and the files the run would replace are asked about
    // once (replacing()); otherwise each document is converted as soon as it opens.
    bool askBeforeReplacing = false;
    bool measurePages = false; // each page's size is told before it is converted
};

struct BatchSummary
{
    int pagesWritten = 0;
    int documentsFailed = 0; // could not be opened, or lost pages
    bool cancelled = false;
    bool declined = false; // the files it would replace were to stay, so nothing was converted
    Problem fatal;         // what stopped the whole batch: the folders, the disk, the tools
};

// Opens each document in turn and converts its pages. A document that cannot be opened or converted is reported
// and the next one is still converted; a problem every document would meet stops the batch. Whoever runs it
// answers passwordNeeded(). Once a document no longer needs both its Ghostscript processes (a short one needs
// one, and none once its last page is drawn), a second engine draws the next document meanwhile; what that engine
// tells is held back, and nothing written, until its document's turn, so that each document's pages are told of
// and written after the one before has finished.
class BatchConversion : public QObject
{
    Q_OBJECT
public:
    // images may be null for the real one; the batch does not own them.
    explicit BatchConversion(const ImageObject *images = nullptr, QObject *parent = nullptr);

    void start(const BatchRequest &request);
    void cancel();
    void setHeld(bool held);
    bool isRunning() const { return m_running; }
    // The answer to passwordNeeded(): a password to try, or nothing to pass the document over.
    void providePassword(const std::optional<QString> &password);
    // The answer to replacing(): convert, replacing those files, or convert nothing.
    void replace(bool agreed);
    // The name each document's files take in a folder: its own, and for a second document of the same name
    // (from another folder) that name with "-2", so that no document's files replace another's.
    static QStringList outputNames(const QStringList &documents);
    // Where the files of the document at index go.
    static QString destinationFor(const BatchRequest &request, qsizetype index);

signals:
    // With askBeforeReplacing, each document is first opened, and then converted.
    void documentOpening(const QString &document, int index, int count);
    // With askBeforeReplacing, once every document has opened: the existing files the run would replace.
    void replacing(const QStringList &files);
    void documentStarted(const QString &document, int index, int count);
    // Opened, with the pages that will be converted, just before they are.
    void documentOpened(const QString &document, const OpenedDocument &opened, const QList<int> &pages);
    void passwordNeeded(const QString &fileName, bool retry);
    void documentFailed(const QString &document, const Problem &problem);
    // Pages asked for past the end of the document are listed in missing.
    void documentFinished(const QString &document, const ConversionResult &result,
                          const QList<PageSelection::Range> &missing, int pageCount);
    void finished(const BatchSummary &summary);
    // The engine's, for the document being converted.
    void pageStarted(int page);
    void progressChanged(int done, int total);
    void pageWritten(const WrittenPage &page);
    void pageFailed(const PageFailure &failure);
    void pagesMeasured(const QList<int> &pages, const QList<QSizeF> &sizes);

private:
    // A document opened, and the conversion of the pages asked for.
    struct Planned
    {
        QString document;
        int index = 0;
        ConversionJob job;
        QList<PageSelection::Range> missing;
        OpenedDocument opened;
    };

    ConversionEngine &engine() { return m_engines[m_active]; }
    ConversionEngine &other() { return m_engines[1 - m_active]; }
    // Passes what an engine tells on, holds it back for its document's turn, or drops what a document given up
    // told.
    void relay(int which);
    // One of the engine's signals, passed on as one of ours, or to a function of ours.
    template <typename... Args>
    void forward(int which, void (ConversionEngine::*signal)(Args...), void (BatchConversion::*own)(Args...));
    void pass(int which, std::function<void()> event);
    std::optional<Planned> plan(const OpenedDocument &opened, int index, Problem *problem) const;
    // Starts the next document on the other engine once a Ghostscript process of this one's is spare.
    void startAhead();
    void takeAhead(); // its turn has come
    void catchUp();   // tells what it held back, and lets it write
    void dropAhead();
    void openNext();
    // Opens a later document meanwhile, so that its Ghostscript runs beside the conversion's. Only a document
    // that opened is taken from it; any other outcome is found again in turn.
    void openAhead(qsizetype index);
    void onOpenedAhead(const std::optional<OpenedDocument> &opened);
    void onOpened(const OpenedDocument &opened);
    void askAboutReplacing();
    void convertNext(); // the next of the documents opened beforehand
    void advance();     // to whichever comes next: opening or converting
    void convert(const Planned &planned);
    void onEngineFinished(const ConversionResult &result);
    void fail(const Problem &problem);
    void end();

    BatchRequest m_request;
    DocumentOpener m_opener;
    DocumentOpener m_ahead;
    qsizetype m_aheadIndex = -1; // of the document being opened ahead, or opened: -1 for none
    std::optional<OpenedDocument> m_openedAhead;
    bool m_aheadDone = false;
    bool m_awaitingAhead = false; // its turn has come
    ConversionEngine m_engines[2];
    int m_active = 0;
    std::optional<Planned> m_startedAhead; // on the other engine
    QList<std::function<void()>> m_heldBack[2];
    bool m_live = true; // the active engine's events are passed on as they come, nothing held back before them
    BatchSummary m_summary;
    qsizetype m_next = 0;
    QString m_current;
    QList<PageSelection::Range> m_missing;
    int m_pageCount = 0;
    QList<Planned> m_planned; // opened beforehand, with askBeforeReplacing
    qsizetype m_nextPlanned = 0;
    bool m_opening = true; // rather than converting what was opened beforehand
    bool m_asking = false; // about the files to replace
    bool m_retry = false;  // the last question was asked again after a wrong password
    bool m_held = false;   // while the user decides whether to stop
    bool m_running = false;
};
