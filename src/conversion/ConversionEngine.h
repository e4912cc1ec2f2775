// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/ConversionJob.h"
#include "conversion/PageWriter.h"
#include "conversion/RunTiming.h"
#include "tools/PrivateFolder.h"
#include "tools/Problem.h"
#include "tools/ProcessResult.h"

#include <QFile>
#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class ImageObject;
class MultiPageTiff;

class ProcessRunner;

struct PageFailure
{
    int page = 0;
    Problem problem;
};

// A page whose file is complete.
struct WrittenPage
{
    int page = 0;
    QString file; // a multi-page file holds more pages than this one
    int dpi = 0;  // rendered at
    PageFacts facts;
};

// What went right only in part: Ghostscript read a damaged document, or drew a font with another.
struct RunWarning
{
    enum Kind { Repaired, FontSubstituted };
    Kind kind = Repaired;
    QString font;       // the document's name for it
    QString substitute; // what drew it instead

    bool operator==(const RunWarning &other) const = default;
    // A stable name for programs: "repaired", "font-substituted".
    QString code() const;
    QString message() const;
    // For the end of a run: the repair, and the fonts in one sentence.
    static QString summary(const QList<RunWarning> &warnings);
};

struct ConversionResult
{
    QStringList written;  // files
    int pagesWritten = 0; // a multi-page file holds several
    QList<PageFailure> failures;
    QList<RunWarning> warnings; // each once
    Problem fatal;              // what stopped the run before its end
    bool cancelled = false;

    bool isSuccess() const { return !cancelled && fatal.isNone() && failures.isEmpty(); }
};

// What to tell of the pages that failed: a count and the first pages by name, then "and N more"; every
// page with the tool's own words in the details.
struct FailureSummary
{
    static constexpr int Listed = 8;
    QString text;
    QString details;

    static FailureSummary of(const QList<PageFailure> &failures);
};

// Converts a page range off the window's thread. Ghostscript renders the range in runs while a pool of workers,
// one per core, turns each finished bitmap into its image file. A run renders consecutive pages at one resolution
// (for a box, one run per resolution its pages need); with two cores, two runs go at once, and a long range is
// shared between two runs, every other page each, so that they do and the pages still come in about their order:
// what is told as processing keeps up with what is written, and a run stopped midway leaves its first pages.
class ConversionEngine : public QObject
{
    Q_OBJECT
public:
    // images may be null for the real one; the engine does not own them.
    explicit ConversionEngine(const ImageObject *images = nullptr, QObject *parent = nullptr);
    ~ConversionEngine() override;

    void start(const ConversionJob &job);
    // Starts Ghostscript on the job while another document is still converted: its bitmaps wait, a few at most,
    // and nothing is written, until proceed().
    void startAhead(const ConversionJob &job);
    // Whether the job's bitmaps are small enough to wait beside another run's: each needs room of its own.
    static bool fitsAhead(const ConversionJob &job);
    void proceed();
    // Kills Ghostscript and stops the workers; finished() follows soon with cancelled set.
    void cancel();
    bool isRunning() const { return m_running; }
    // A Ghostscript process of its own is free, and no run of the job will take it.
    bool hasSpareLane() const;
    // Holds Ghostscript and the workers while the user decides whether to stop: no page is begun or
    // written until released.
    void setHeld(bool held);

signals:
    void pageStarted(int page);
    void progressChanged(int done, int total);
    // Each page once its file is complete: for a multi-page file, when the run ends.
    void pageWritten(const WrittenPage &page);
    // A page lost while the run goes on; what stops the run comes with finished().
    void pageFailed(const PageFailure &failure);
    // With ConversionJob::measurePages: the size of each page converted, in points of the box rendered, before
    // any is rendered.
    void pagesMeasured(const QList<int> &pages, const QList<QSizeF> &sizes);
    // hasSpareLane() has become true.
    void spareLane();
    void finished(const ConversionResult &result);

private:
    struct Lane;
    void begin(const ConversionJob &job, bool ahead);
    // What must hold before Ghostscript starts: the document and the password usable, the destination writable,
    // room for the pages, the run's own folder with the document linked into it, a multi-page file begun.
    Problem prepare(bool usesBox, std::optional<QByteArray> *passwordArguments);
    void collectFinishedPages();
    void collectFinishedPages(Lane &lane);
    // Tells of the pages up to the first one not yet rendered, in order.
    void announcePages();
    void startPageTimer(Lane &lane);
    void onPageTimedOut(Lane &lane);
    void onGhostscriptFinished(Lane &lane, const ProcessResult &result);
    void onSizesRead(const ProcessResult &result);
    // Whether the temporary folder lacks the room a bitmap needs: Ghostscript may then crash or write nothing,
    // and a bitmap cut short reads as a damaged page.
    bool outOfRoom() const;
    void renderAtOneResolution();
    // Starts the next runs on the lanes that are free.
    void startRuns();
    void startRun(Lane &lane, int run);
    void onRenderFinished(Lane &lane, const ProcessResult &result);
    void handOutRun(int run);
    bool anyLaneBusy() const;
    void cancelLanes();
    QString bitmap(int index) const;
    void enqueue(int index);
    void onPageDone(int index, const Problem &problem, bool fromWorker, const PageFacts &facts = {});
    void finishFile();
    void stop(const Problem &fatal);
    void finishIfDone();
    void updatePause();

    const ImageObject *m_images = nullptr;
    QThreadPool m_pool;
    std::shared_ptr<std::atomic_bool> m_cancel;
    std::shared_ptr<std::atomic_bool> m_hold;
    std::unique_ptr<PrivateFolder> m_work;
    // The document, open for the whole job: every run reads this file through m_link, even if its name is
    // given to another meanwhile.
    QFile m_document;
    QString m_link;
    std::shared_ptr<MultiPageTiff> m_tiff; // when every page goes into one TIFF
    QList<WrittenPage> m_inTiff;           // its pages, told of once it is complete
    ConversionJob m_job;
    QList<int> m_pages; // of the run, in the order Ghostscript renders them
    // For a box, each page is rendered at its own resolution: consecutive pages that share one go through
    // one Ghostscript run, with bitmaps in a folder of its own.
    struct RenderRun
    {
        int begin = 0; // indexes into m_pages
        int end = 0;
        int dpi = 0;
        QString folder;
        int step = 1;       // every page from begin on, or every other one
        int nextToHand = 0; // the index in m_pages of its first page not yet handed to a worker
        bool anyBitmap = false;
        // Rendered without a single bitmap while another run was still at work: its pages wait to be told of
        // as failed, or the whole document as unreadable.
        bool waiting = false;
    };
    QList<RenderRun> m_runs;
    // The run that renders the page at index in m_pages; null before the runs are planned.
    const RenderRun *runOf(int index) const;
    int m_nextRun = 0; // the first run not started
    // A Ghostscript process of its own, and the run it renders.
    struct Lane
    {
        ProcessRunner *runner = nullptr;
        QTimer pageTimer;
        int run = -1;        // none
        bool paused = false; // held, the workers behind, or ahead of the run it shares the range with
    };
    std::vector<std::unique_ptr<Lane>> m_lanes;
    ProcessResult m_lastEmptyResult; // of the last run that wrote no bitmap
    QList<QSizeF> m_sizes;           // of each page in m_pages; empty when only the job's page size is known
    QByteArray m_passwordArguments;
    bool m_withPassword = false;
    QString m_marker;
    bool m_readingSizes = false;
    RunTiming m_timing;
    ConversionResult m_result;
    QTimer m_poll;
    int m_announced = 0; // the index in m_pages of the first page not yet told of with pageStarted
    bool m_anyBitmap = false;
    quint64 m_run = 0; // tells a finished run's late workers apart
    int m_inFlight = 0;
    int m_done = 0;
    bool m_running = false;
    bool m_rendering = false; // Ghostscript is at work for this run, reading sizes or rendering
    bool m_waitingTurn = false;
    std::vector<std::function<void()>> m_waitingWork; // pages handed out while the run waits for its turn
};
