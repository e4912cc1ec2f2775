// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionEngine.h"

#include "conversion/MultiPageTiff.h"
#include "conversion/PageSelection.h"
#include "conversion/PageWriter.h"
#include "conversion/RenderPlan.h"
#include "tools/GhostscriptCommands.h"
#include "tools/ImageObject.h"
#include "tools/Logging.h"
#include "tools/PrivateFolder.h"
#include "tools/ProcessRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <malloc.h>

#include <optional>

namespace {
constexpr int PollMs = 50;
constexpr int TrimEveryPages = 32;
// A range is split between two Ghostscript processes from this many pages, and while a page's bitmap is no larger
// than this: each process needs its own room.
constexpr int SplitFromPages = 8;
constexpr qint64 SplitUpToBitmapBytes = qint64(64) << 20;
// How many pages of the range one of its two processes may be ahead of the other.
constexpr int MaxLead = 8;

const ImageObject &realImages()
{
    static const ImageObject images;
    return images;
}
} // namespace

FailureSummary FailureSummary::of(const QList<PageFailure> &failures)
{
    QStringList shown;
    QStringList details;
    for (const PageFailure &failure : failures) {
        const QString line =
            QCoreApplication::translate("FailureSummary", "Page %1: %2").arg(failure.page).arg(failure.problem.message);
        if (shown.size() < Listed)
            shown << line;
        details << line + (failure.problem.details.isEmpty() ? QString() : QLatin1Char(' ') + failure.problem.details);
    }
    if (failures.size() > Listed)
        shown << QCoreApplication::translate("FailureSummary", "and %n more", nullptr, int(failures.size()) - Listed);
    shown.prepend(QCoreApplication::translate("FailureSummary", "%n page(s) could not be converted:", nullptr,
                                              int(failures.size())));
    return {shown.join(QLatin1Char('\n')), details.join(QLatin1Char('\n'))};
}

QString RunWarning::code() const
{
    return kind == Repaired ? QStringLiteral("repaired") : QStringLiteral("font-substituted");
}

QString RunWarning::message() const
{
    if (kind == Repaired)
        return QCoreApplication::translate("RunWarning", "The document is damaged: Ghostscript repaired it to read it, "
                                                         "so some pages may be incomplete.");
    return QCoreApplication::translate("RunWarning", "The font \"%1\" is neither in the document nor on this "
                                                     "computer; %2 was drawn in its place.")
        .arg(Problem::escapeName(font), Problem::escapeName(substitute));
}

QString RunWarning::summary(const QList<RunWarning> &warnings)
{
    QStringList sentences;
    QStringList fonts;
    for (const RunWarning &warning : warnings) {
        if (warning.kind == Repaired)
            sentences << warning.message();
        else
            fonts << Problem::escapeName(warning.font);
    }
    if (!fonts.isEmpty())
        sentences << QCoreApplication::translate("RunWarning", "Drawn with a substitute font: %1.", nullptr,
                                                 int(fonts.size()))
                         .arg(fonts.join(QStringLiteral(", ")));
    return sentences.join(QLatin1Char(' '));
}

ConversionEngine::ConversionEngine(const ImageObject *images, QObject *parent)
    : QObject(parent)
    , m_images(images ? images : &realImages())
{
    // Set up on this thread: the library's start reads the environment, which workers must not race.
    ImageObject::initialise();
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    // Ghostscript renders on one core: a second process keeps a second one busy.
    const int lanes = std::min(2, m_pool.maxThreadCount());
    for (int i = 0; i < lanes; ++i) {
        auto lane = std::make_unique<Lane>();
        lane->runner = new ProcessRunner(this);
        Lane *raw = lane.get();
        // Output comes as Ghostscript works; the timer covers pages that print nothing.
        connect(raw->runner, &ProcessRunner::outputReceived, this, [this, raw] { collectFinishedPages(*raw); });
        connect(raw->runner, &ProcessRunner::finished, this,
                [this, raw](const ProcessResult &result) { onGhostscriptFinished(*raw, result); });
        raw->pageTimer.setSingleShot(true);
        connect(&raw->pageTimer, &QTimer::timeout, this, [this, raw] { onPageTimedOut(*raw); });
        m_lanes.push_back(std::move(lane));
    }
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, qOverload<>(&ConversionEngine::collectFinishedPages));
}

ConversionEngine::~ConversionEngine()
{
    if (m_cancel)
        *m_cancel = true;
    for (const std::unique_ptr<Lane> &lane : m_lanes) {
        lane->runner->disconnect(this);
        lane->runner->cancel();
    }
    m_pool.waitForDone();
}

void ConversionEngine::start(const ConversionJob &job)
{
    begin(job, false);
}

void ConversionEngine::startAhead(const ConversionJob &job)
{
    begin(job, true);
}

bool ConversionEngine::fitsAhead(const ConversionJob &job)
{
    return job.bitmapBytes() <= SplitUpToBitmapBytes;
}

void ConversionEngine::proceed()
{
    if (!std::exchange(m_waitingTurn, false))
        return;
    for (std::function<void()> &work : std::exchange(m_waitingWork, {})) {
        if (!*m_cancel)
            m_pool.start(std::move(work));
    }
    for (const std::unique_ptr<Lane> &lane : m_lanes)
        startPageTimer(*lane);
}

void ConversionEngine::begin(const ConversionJob &job, bool ahead)
{
    if (m_running)
        return;
    m_waitingTurn = ahead;
    m_job = job;
    m_pages = job.pages();
    m_result = {};
    m_inTiff.clear();
    m_announced = 0;
    m_anyBitmap = false;
    m_inFlight = 0;
    m_done = 0;
    m_running = true;
    m_rendering = false;
    m_readingSizes = false;
    m_runs.clear();
    m_nextRun = 0;
    for (const std::unique_ptr<Lane> &lane : m_lanes) {
        lane->run = -1;
        lane->paused = false;
    }
    m_lastEmptyResult = {};
    m_sizes.clear();
    m_cancel = std::make_shared<std::atomic_bool>(false);
    m_hold = std::make_shared<std::atomic_bool>(false);
    m_timing.start();
    emit progressChanged(0, int(m_pages.size()));

    // A box's pages are judged one by one once their sizes are known; otherwise every page is rendered at the
    // resolution of the one the run was set up for.
    const bool usesBox = job.options.usesBox() && !m_pages.isEmpty();
    std::optional<QByteArray> passwordArguments;
    const Problem problem = prepare(usesBox, &passwordArguments);
    if (!problem.isNone()) {
        m_result.fatal = problem;
        // Reported from the event loop, so the caller always hears of it after start() returns.
        QMetaObject::invokeMethod(this, &ConversionEngine::finishIfDone, Qt::QueuedConnection);
        return;
    }
    m_withPassword = passwordArguments.has_value();
    m_passwordArguments = passwordArguments.value_or(QByteArray());
    m_rendering = true;
    for (const std::unique_ptr<Lane> &lane : m_lanes)
        lane->runner->setTemporaryFolder(m_work->path());
    if (!usesBox && !(job.measurePages && !m_pages.isEmpty())) {
        renderAtOneResolution();
        return;
    }
    m_readingSizes = true;
    m_marker = GhostscriptCommands::newMarker();
    m_lanes.front()->runner->start(job.ghostscript,
                                   GhostscriptCommands::pageSizesArguments(m_link, m_pages.first(), m_pages.last(),
                                                                           m_marker, m_withPassword,
                                                                           job.legacyInterpreter),
                                   m_passwordArguments);
}

Problem ConversionEngine::prepare(bool usesBox, std::optional<QByteArray> *passwordArguments)
{
    Problem problem = GhostscriptCommands::checkDocument(m_job.ghostscript, m_job.options.sourceFile, &m_document);
    if (problem.isNone() && !m_job.password.isEmpty()) {
        *passwordArguments = GhostscriptCommands::passwordArguments(m_job.password);
        if (!*passwordArguments)
            problem = Problem::make(Problem::UnusablePassword);
    }
    const QString firstFile = m_job.outputFileName(m_pages.value(0, 1));
    if (problem.isNone())
        problem = PageWriter::checkWritable(QFileInfo(firstFile).absolutePath());
    if (problem.isNone())
        problem = PageWriter::checkReplaceable(firstFile);
    if (problem.isNone()) {
        m_work = std::make_unique<PrivateFolder>();
        if (!m_work->isValid())
            problem = m_work->problem();
    }
    m_link = problem.isNone() ? GhostscriptCommands::linkDocument(m_work->path(), m_document) : QString();
    if (problem.isNone() && m_link.isEmpty())
        problem = PrivateFolder::full();
    // Read from the very file rendered, whoever set the job up.
    if (problem.isNone())
        m_job.printIntent = GhostscriptCommands::declaresPrintIntent(m_link);
    if (problem.isNone() && !usesBox)
        problem = m_job.checkSize(m_images->room());
    if (problem.isNone() && m_job.format() == ImageFormat::Tiff) {
        m_tiff = std::make_shared<MultiPageTiff>(firstFile);
        problem = m_tiff->open();
    }
    return problem;
}

void ConversionEngine::renderAtOneResolution()
{
    m_sizes.clear();
    const int count = int(m_pages.size());
    const int dpi = m_job.renderDpi();
    // Pages waiting for an earlier one in a multi-page file would pile up in memory.
    if (m_lanes.size() > 1 && count >= SplitFromPages && !m_tiff && m_job.bitmapBytes() <= SplitUpToBitmapBytes) {
        const QString second = QDir(m_work->path()).filePath(QStringLiteral("run1"));
        if (QDir().mkpath(second)) {
            m_runs = {RenderRun{0, count, dpi, m_work->path(), 2}, RenderRun{1, count, dpi, second, 2}};
            startRuns();
            return;
        }
    }
    m_runs = {RenderRun{0, count, dpi, m_work->path()}};
    startRuns();
}

void ConversionEngine::onGhostscriptFinished(Lane &lane, const ProcessResult &result)
{
    // A run stopped for its time waits only for its workers.
    if (!m_rendering)
        return;
    if (m_readingSizes)
        onSizesRead(result);
    else if (lane.run >= 0)
        onRenderFinished(lane, result);
}

void ConversionEngine::onSizesRead(const ProcessResult &result)
{
    m_readingSizes = false;
    if (*m_cancel) {
        m_rendering = false;
        finishIfDone();
        return;
    }
    Problem problem = GhostscriptCommands::classify(m_job.options.sourceFile, result, !m_job.password.isEmpty());
    const QHash<int, QSizeF> sizes =
        GhostscriptCommands::parsePageSizes(result.output, m_marker, m_job.options.pageBox);
    if (sizes.isEmpty() && problem.isNone())
        problem = GhostscriptCommands::passwordProblem(m_job.options.sourceFile, m_link, result.output,
                                                       !m_job.password.isEmpty());
    if (problem.kind == Problem::NeedsPassword || problem.kind == Problem::WrongPassword) {
        m_rendering = false;
        stop(problem);
        return;
    }
    if (problem.isNone() && !sizes.isEmpty()) {
        QList<QSizeF> measured;
        for (const int number : std::as_const(m_pages))
            measured << sizes.value(number, m_job.pageSize);
        emit pagesMeasured(m_pages, measured);
    }
    // Whatever else kept the sizes from being read, rendering finds again and tells better.
    if (!m_job.options.usesBox() || !problem.isNone() || sizes.isEmpty()) {
        if (!problem.isNone() || sizes.isEmpty())
            qCInfo(lcConversion) << "page sizes not read:" << problem.message << problem.details;
        const Problem tooLarge = m_job.checkSize(m_images->room());
        if (!tooLarge.isNone()) {
            m_rendering = false;
            stop(tooLarge);
            return;
        }
        renderAtOneResolution();
        return;
    }
    // A page whose size could not be read is taken to be the size of the one the run was set up for.
    for (const int number : std::as_const(m_pages))
        m_sizes << sizes.value(number, m_job.pageSize);
    const RenderPlan plan = renderPlan(m_job, m_pages, m_sizes, m_images->room());
    if (!plan.problem.isNone()) {
        m_rendering = false;
        stop(plan.problem);
        return;
    }
    for (const PlannedRun &run : plan.runs) {
        const QString folder = m_runs.isEmpty()
                                   ? m_work->path()
                                   : QDir(m_work->path()).filePath(QStringLiteral("run%1").arg(m_runs.size()));
        if (!QDir().mkpath(folder)) {
            m_rendering = false;
            stop(PrivateFolder::full());
            return;
        }
        m_runs << RenderRun{run.begin, run.end, run.dpi, folder};
    }
    startRuns();
}

bool ConversionEngine::outOfRoom() const
{
    return m_work && m_work->lacksRoomFor(m_job.bitmapBytes());
}

void ConversionEngine::startRuns()
{
    for (const std::unique_ptr<Lane> &lane : m_lanes) {
        if (lane->run < 0 && m_nextRun < m_runs.size() && !*m_cancel)
            startRun(*lane, m_nextRun++);
    }
    // The room a bitmap needs is judged by the largest page of the runs at work.
    if (!m_sizes.isEmpty()) {
        QSizeF largest;
        for (const std::unique_ptr<Lane> &lane : m_lanes) {
            if (lane->run < 0)
                continue;
            const RenderRun &run = m_runs.at(lane->run);
            for (int index = run.begin; index < run.end; index += run.step) {
                const QSizeF size = m_sizes.at(index);
                if (size.width() * size.height() > largest.width() * largest.height())
                    largest = size;
            }
        }
        if (!largest.isEmpty())
            m_job.pageSize = largest;
    }
    m_poll.start();
    announcePages();
    updatePause();
    if (hasSpareLane())
        emit spareLane();
}

void ConversionEngine::startRun(Lane &lane, int run)
{
    lane.run = run;
    lane.paused = false; // a new process
    RenderRun &current = m_runs[run];
    current.nextToHand = current.begin;
    RenderRequest request;
    request.document = m_link;
    request.outputFolder = current.folder;
    QList<int> pages;
    for (int index = current.begin; index < current.end; index += current.step)
        pages << m_pages.at(index);
    if (m_job.pageList.isEmpty() && current.step == 1) {
        request.firstPage = pages.isEmpty() ? m_job.firstPage : pages.first();
        request.lastPage = pages.isEmpty() ? m_job.lastPage : pages.last();
    } else {
        request.pageList = PageSelection::text(pages);
    }
    request.dpi = current.dpi;
    request.antialias = m_job.options.antialias;
    request.alpha = m_job.keepsTransparency();
    request.withPassword = m_withPassword;
    request.legacyInterpreter = m_job.legacyInterpreter;
    m_job.applyDrawingTo(request);
    lane.runner->start(m_job.ghostscript, GhostscriptCommands::renderArguments(request), m_passwordArguments);
    startPageTimer(lane);
}

bool ConversionEngine::hasSpareLane() const
{
    return m_running && !m_readingSizes && m_nextRun >= m_runs.size()
           && std::any_of(m_lanes.cbegin(), m_lanes.cend(),
                          [](const std::unique_ptr<Lane> &lane) { return lane->run < 0; });
}

bool ConversionEngine::anyLaneBusy() const
{
    return std::any_of(m_lanes.cbegin(), m_lanes.cend(),
                       [](const std::unique_ptr<Lane> &lane) { return lane->run >= 0; });
}

void ConversionEngine::cancelLanes()
{
    for (const std::unique_ptr<Lane> &lane : m_lanes) {
        lane->pageTimer.stop();
        lane->runner->cancel();
    }
}

void ConversionEngine::cancel()
{
    if (!m_running || m_result.cancelled)
        return;
    m_result.cancelled = true;
    *m_cancel = true;
    m_poll.stop();
    cancelLanes();
    finishIfDone();
}

QString ConversionEngine::bitmap(int index) const
{
    const RenderRun *run = runOf(index);
    Q_ASSERT(run);
    return GhostscriptCommands::bitmapPath(run->folder, (index - run->begin) / run->step + 1,
                                           m_job.keepsTransparency());
}

const ConversionEngine::RenderRun *ConversionEngine::runOf(int index) const
{
    const auto run = std::find_if(m_runs.cbegin(), m_runs.cend(), [index](const RenderRun &r) {
        return index >= r.begin && index < r.end && (index - r.begin) % r.step == 0;
    });
    return run == m_runs.cend() ? nullptr : &*run;
}

void ConversionEngine::startPageTimer(Lane &lane)
{
    // Only a process that draws is timed: not while the user is asked, nor while it waits for the workers, for the
    // other process or for its document's turn.
    if (m_job.pageTimeout > 0 && m_rendering && !m_readingSizes && lane.run >= 0 && !*m_cancel && !*m_hold
        && !lane.paused && !m_waitingTurn)
        lane.pageTimer.start(m_job.pageTimeout * 1000);
}

void ConversionEngine::announcePages()
{
    // The first page not yet handed out, of whichever run it belongs to.
    int frontier = int(m_pages.size());
    for (const RenderRun &run : std::as_const(m_runs)) {
        const int next = run.waiting ? run.begin : std::max(run.nextToHand, run.begin);
        if (next < run.end)
            frontier = std::min(frontier, next);
    }
    // Nothing is told of before a run has started.
    if (m_runs.isEmpty())
        return;
    while (m_announced <= frontier && m_announced < m_pages.size() && !*m_cancel)
        emit pageStarted(m_pages.at(m_announced++));
}

void ConversionEngine::onPageTimedOut(Lane &lane)
{
    if (!m_rendering || *m_cancel || lane.run < 0)
        return;
    // A page that finished before the slow one is written and counted: Ghostscript is stopped, the workers
    // are not.
    collectFinishedPages();
    if (*m_cancel)
        return;
    m_poll.stop();
    m_rendering = false;
    const RenderRun &run = m_runs.at(lane.run);
    if (m_result.fatal.isNone())
        m_result.fatal =
            Problem::make(Problem::PageTimedOut, {},
                          QString::number(m_pages.value(run.nextToHand, m_pages.value(run.nextToHand - run.step))));
    cancelLanes();
    finishIfDone();
}

void ConversionEngine::collectFinishedPages()
{
    for (const std::unique_ptr<Lane> &lane : m_lanes)
        collectFinishedPages(*lane);
}

void ConversionEngine::collectFinishedPages(Lane &lane)
{
    // Ghostscript creates a page's bitmap once the page is drawn and closes it before it starts the next. So
    // a page is complete once the next one's bitmap exists, or once Ghostscript has written to its bitmap and
    // no longer holds it open: a page that finished before a slow one. Ghostscript's "Page N" lines cannot
    // tell this: the document can make it print any line, a font name for one.
    if (m_readingSizes || !m_rendering || lane.run < 0)
        return;
    RenderRun &run = m_runs[lane.run];
    bool handed = false;
    while (run.nextToHand < run.end && !*m_cancel) {
        const QString current = bitmap(run.nextToHand);
        const int following = run.nextToHand + run.step;
        const bool complete = (following < run.end && QFileInfo::exists(bitmap(following)))
                              || (QFileInfo(current).size() > 0 && !lane.runner->holdsOpen(current));
        if (!complete)
            break;
        enqueue(run.nextToHand);
        handed = true;
    }
    if (handed && !*m_cancel) {
        startPageTimer(lane);
        announcePages();
    }
}

void ConversionEngine::onRenderFinished(Lane &lane, const ProcessResult &result)
{
    if (*m_cancel) {
        m_rendering = false;
        finishIfDone();
        return;
    }
    // Still rendering for finishIfDone() until the last bitmaps are handed out: a page that fails at once
    // must not end the run, and take its work folder, before the pages after it.
    const auto stopRendering = [this](const Problem &fatal) {
        m_rendering = false;
        stop(fatal);
    };
    const Problem problem = GhostscriptCommands::classify(m_job.options.sourceFile, result, !m_job.password.isEmpty());
    if (!problem.isNone()) {
        // Ghostscript may crash when its own temporary files no longer fit.
        stopRendering(problem.kind == Problem::GhostscriptFailed && outOfRoom() ? PrivateFolder::full(problem.details)
                                                                                : problem);
        return;
    }
    lane.pageTimer.stop();
    QList<RunWarning> warnings;
    if (GhostscriptCommands::wasRepaired(result.output))
        warnings << RunWarning{RunWarning::Repaired, {}, {}};
    for (const GhostscriptCommands::FontSubstitution &font : GhostscriptCommands::substitutedFonts(result.output))
        warnings << RunWarning{RunWarning::FontSubstituted, font.font, font.substitute};
    for (const RunWarning &warning : std::as_const(warnings)) {
        if (!m_result.warnings.contains(warning))
            m_result.warnings << warning;
    }
    const int finished = std::exchange(lane.run, -1);
    // The other process no longer waits for this one.
    updatePause();
    if (hasSpareLane())
        emit spareLane();
    RenderRun &run = m_runs[finished];
    // The rest are complete now. Pages Ghostscript never wrote lie past the end of a shrunken document,
    // or were skipped over an error.
    bool anyLeft = false;
    for (int index = run.nextToHand; index < run.end && !anyLeft; index += run.step)
        anyLeft = QFileInfo(bitmap(index)).size() > 0;
    if (!run.anyBitmap && !anyLeft) {
        // A run that wrote nothing at all tells whether the document could be read only once no other can tell
        // otherwise.
        m_lastEmptyResult = result;
        run.waiting = true;
    } else {
        handOutRun(finished);
    }
    // A page handed out may have stopped the run.
    if (*m_cancel) {
        m_rendering = false;
        finishIfDone();
        return;
    }
    if (m_nextRun < m_runs.size()) {
        startRuns();
        return;
    }
    if (anyLaneBusy()) {
        announcePages();
        return;
    }
    m_poll.stop();
    if (!m_anyBitmap) {
        const Problem password = GhostscriptCommands::passwordProblem(
            m_job.options.sourceFile, m_link, m_lastEmptyResult.output, !m_job.password.isEmpty());
        stopRendering(outOfRoom()          ? PrivateFolder::full()
                      : !password.isNone() ? password
                                           : Problem::make(Problem::GhostscriptFailed,
                                                           GhostscriptCommands::details(m_lastEmptyResult.output)));
        return;
    }
    for (int index = 0; index < m_runs.size() && !*m_cancel; ++index) {
        if (m_runs.at(index).waiting)
            handOutRun(index);
    }
    announcePages();
    m_rendering = false;
    finishIfDone();
}

void ConversionEngine::handOutRun(int index)
{
    RenderRun &run = m_runs[index];
    run.waiting = false;
    while (run.nextToHand < run.end && !*m_cancel)
        enqueue(run.nextToHand);
}

void ConversionEngine::enqueue(int index)
{
    RenderRun &run = m_runs[int(runOf(index) - m_runs.constData())];
    run.nextToHand = index + run.step;
    const int page = m_pages.at(index);
    const QString path = bitmap(index);
    if (QFileInfo(path).size() <= 0) {
        if (outOfRoom())
            stop(PrivateFolder::full());
        else {
            if (m_tiff)
                m_tiff->add(index, {});
            onPageDone(index, Problem::make(Problem::PageFailed), false);
        }
        return;
    }
    m_anyBitmap = true;
    run.anyBitmap = true;
    ++m_inFlight;
    updatePause();
    auto job = std::make_shared<ConversionJob>(m_job);
    // The resolution tag of a page fitted into a box is that page's own.
    if (!m_sizes.isEmpty())
        job->pageSize = m_sizes.at(index);
    auto work = [this, run = m_run, job, index, page, path, images = m_images, cancel = m_cancel, hold = m_hold,
                 tiff = m_tiff, timed = m_timing.isOn()] {
        QElapsedTimer busy;
        busy.start();
        StageTimes times;
        StageTimes *timing = timed ? &times : nullptr;
        Problem problem;
        PageFacts facts;
        if (tiff) {
            QByteArray encoded;
            problem = PageWriter::encode(*job, path, *images, *cancel, hold.get(), &encoded, timing, &facts);
            // A page that failed goes in empty, so the pages after it need not wait for it.
            const Problem added = *cancel ? Problem() : tiff->add(index, problem.isNone() ? encoded : QByteArray());
            if (problem.isNone())
                problem = added;
        } else {
            problem = PageWriter::process(*job, page, path, *images, *cancel, hold.get(), timing, &facts);
        }
        QFile::remove(path);
        const double seconds = double(busy.nsecsElapsed()) / 1e9;
        QMetaObject::invokeMethod(
            this,
            [this, run, index, problem, facts, times, seconds, thread = quintptr(QThread::currentThreadId())] {
                // A worker of a cancelled run may finish its library call after the run has ended.
                if (run != m_run)
                    return;
                if (m_timing.isOn())
                    m_timing.add(thread, seconds, times);
                onPageDone(index, problem, true, facts);
            },
            Qt::QueuedConnection);
    };
    if (m_waitingTurn)
        m_waitingWork.push_back(std::move(work));
    else
        m_pool.start(std::move(work));
}

void ConversionEngine::onPageDone(int index, const Problem &problem, bool fromWorker, const PageFacts &facts)
{
    const int page = m_pages.at(index);
    if (fromWorker)
        --m_inFlight;
    // A multi-page file that cannot take a page cannot take the ones after it either.
    if (m_tiff && !*m_cancel) {
        const Problem failure = m_tiff->failure();
        if (!failure.isNone()) {
            stop(failure);
            return;
        }
    }
    if (*m_cancel) {
        finishIfDone();
        return;
    }
    ++m_done;
    // Freed page buffers otherwise stay with the process, and a long document makes it grow.
    if (m_done % TrimEveryPages == 0)
        ::malloc_trim(0);
    emit progressChanged(m_done, int(m_pages.size()));
    if (problem.isNone()) {
        ++m_result.pagesWritten;
        const RenderRun *run = runOf(index);
        WrittenPage written{page, m_job.outputFileName(page), run ? run->dpi : 0, facts};
        // A multi-page file is told of once, when it is complete.
        if (m_tiff) {
            m_inTiff << written;
        } else {
            m_result.written << written.file;
            qCInfo(lcConversion) << "wrote" << written.file;
            emit pageWritten(written);
        }
    } else if (problem.isFatalForRun()) {
        stop(problem);
    } else if (problem.kind == Problem::PageFailed && outOfRoom()) {
        // A bitmap cut short by a full temporary folder reads as a damaged page.
        stop(PrivateFolder::full(problem.details));
    } else {
        m_result.failures << PageFailure{page, problem};
        emit pageFailed(m_result.failures.constLast());
    }
    updatePause();
    finishIfDone();
}

void ConversionEngine::finishFile()
{
    const std::shared_ptr<MultiPageTiff> tiff = std::exchange(m_tiff, nullptr);
    if (!tiff)
        return;
    // A stopped run keeps whatever file had the name before, and has written no page.
    if (*m_cancel) {
        tiff->cancel();
        m_result.pagesWritten = 0;
        return;
    }
    const Problem problem = tiff->commit();
    if (!problem.isNone()) {
        m_result.fatal = problem;
        m_result.pagesWritten = 0;
    } else if (tiff->pageCount() > 0) {
        const QString file = m_job.outputFileName(m_pages.value(0, 1));
        m_result.written << file;
        qCInfo(lcConversion) << "wrote" << file;
        std::sort(m_inTiff.begin(), m_inTiff.end(),
                  [](const WrittenPage &a, const WrittenPage &b) { return a.page < b.page; });
        for (WrittenPage &page : m_inTiff) {
            page.file = file;
            emit pageWritten(page);
        }
    }
}

void ConversionEngine::stop(const Problem &fatal)
{
    m_poll.stop();
    if (m_result.fatal.isNone())
        m_result.fatal = fatal;
    *m_cancel = true;
    cancelLanes();
    finishIfDone();
}

void ConversionEngine::setHeld(bool held)
{
    if (!m_running || *m_cancel || !m_hold)
        return;
    *m_hold = held;
    if (held)
        m_poll.stop();
    else if (m_rendering && !m_readingSizes)
        m_poll.start();
    updatePause();
}

void ConversionEngine::updatePause()
{
    // Bitmaps waiting beyond one spare per worker only fill the temporary folder, and pages a multi-page file
    // holds back for an earlier one fill the memory.
    const int waiting = m_inFlight + (m_tiff ? m_tiff->waiting() : 0);
    const bool held = m_hold && *m_hold;
    const bool paused = held || waiting > m_pool.maxThreadCount() + 1;
    // Of two processes sharing a range, the one ahead waits for the other: a run stopped midway, or at a page
    // that never ends, leaves the pages up to there rather than every other one beyond them.
    const auto sharedNext = [this](const Lane &lane) {
        return lane.run >= 0 && m_runs.at(lane.run).step > 1 ? std::optional(m_runs.at(lane.run).nextToHand)
                                                             : std::nullopt;
    };
    int behind = int(m_pages.size());
    for (const std::unique_ptr<Lane> &lane : m_lanes)
        behind = std::min(behind, sharedNext(*lane).value_or(behind));
    for (const std::unique_ptr<Lane> &lane : m_lanes) {
        const bool stopped = paused || sharedNext(*lane).value_or(0) > behind + MaxLead;
        // Its page's time runs only while it draws.
        const bool wasStopped = std::exchange(lane->paused, stopped);
        if (stopped && !wasStopped)
            lane->pageTimer.stop();
        else if (!stopped && wasStopped)
            startPageTimer(*lane);
        lane->runner->setPaused(stopped);
    }
}

void ConversionEngine::finishIfDone()
{
    // A stopped run does not wait for its workers: the one library call each may still be in cannot be
    // interrupted everywhere, and their results are dropped. The bitmaps they read are unlinked, not gone.
    if (!m_running || m_rendering || (m_inFlight > 0 && !*m_cancel))
        return;
    m_running = false;
    ++m_run;
    m_waitingWork.clear();
    m_waitingTurn = false;
    finishFile();
    m_work.reset();
    m_document.close();
    std::sort(m_result.written.begin(), m_result.written.end());
    std::sort(m_result.failures.begin(), m_result.failures.end(),
              [](const PageFailure &a, const PageFailure &b) { return a.page < b.page; });
    if (m_timing.isOn())
        qCInfo(lcTiming).noquote() << m_timing.summary(m_done);
    emit finished(m_result);
}
