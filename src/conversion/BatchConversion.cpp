// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/BatchConversion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>

BatchConversion::BatchConversion(const ImageObject *images, QObject *parent)
    : QObject(parent)
    , m_engines{ConversionEngine(images), ConversionEngine(images)}
{
    connect(&m_opener, &DocumentOpener::opened, this, &BatchConversion::onOpened);
    connect(&m_opener, &DocumentOpener::failed, this, &BatchConversion::fail);
    connect(&m_opener, &DocumentOpener::passwordNeeded, this, [this](const QString &fileName, bool retry) {
        m_retry = retry;
        emit passwordNeeded(fileName, retry);
    });
    connect(&m_opener, &DocumentOpener::abandoned, this, [this] {
        fail(Problem::make(m_retry ? Problem::WrongPassword : Problem::NeedsPassword, {},
                           QFileInfo(m_current).fileName()));
    });
    relay(0);
    relay(1);
    connect(&m_ahead, &DocumentOpener::opened, this, [this](const OpenedDocument &opened) { onOpenedAhead(opened); });
    connect(&m_ahead, &DocumentOpener::failed, this, [this] { onOpenedAhead(std::nullopt); });
    connect(&m_ahead, &DocumentOpener::abandoned, this, [this] { onOpenedAhead(std::nullopt); });
    // Only the document's own turn asks for its password.
    connect(
        &m_ahead, &DocumentOpener::passwordNeeded, this, [this] { m_ahead.providePassword(std::nullopt); },
        Qt::QueuedConnection);
}

void BatchConversion::relay(int which)
{
    forward(which, &ConversionEngine::pageStarted, &BatchConversion::pageStarted);
    forward(which, &ConversionEngine::progressChanged, &BatchConversion::progressChanged);
    forward(which, &ConversionEngine::pageWritten, &BatchConversion::pageWritten);
    forward(which, &ConversionEngine::pageFailed, &BatchConversion::pageFailed);
    forward(which, &ConversionEngine::pagesMeasured, &BatchConversion::pagesMeasured);
    forward(which, &ConversionEngine::finished, &BatchConversion::onEngineFinished);
    connect(&m_engines[which], &ConversionEngine::spareLane, this, [this, which] {
        if (which == m_active)
            startAhead();
    });
}

template <typename... Args>
void BatchConversion::forward(int which, void (ConversionEngine::*signal)(Args...),
                              void (BatchConversion::*own)(Args...))
{
    connect(&m_engines[which], signal, this, [this, which, own](Args... args) {
        pass(which, [this, own, ... values = std::decay_t<Args>(args)] { (this->*own)(values...); });
    });
}

void BatchConversion::pass(int which, std::function<void()> event)
{
    if (which == m_active && m_live)
        event();
    else if (which == m_active || m_startedAhead)
        m_heldBack[which] << std::move(event);
}

QStringList BatchConversion::outputNames(const QStringList &documents)
{
    QStringList names;
    QHash<QString, int> seen;
    for (const QString &document : documents) {
        const QString base = QFileInfo(document).completeBaseName();
        QString name = base;
        // "-2" may itself be a document's own name: count on until the name is free.
        for (int count = ++seen[base]; names.contains(name); ++count)
            name = base + QStringLiteral("-%1").arg(count);
        names << name;
    }
    return names;
}

QString BatchConversion::destinationFor(const BatchRequest &request, qsizetype index)
{
    if (!request.destinationIsFolder)
        return request.destination;
    return QDir(request.destination)
        .filePath(outputNames(request.documents).at(index) + QLatin1Char('.')
                  + OptionLists::suffix(request.options.format));
}

void BatchConversion::start(const BatchRequest &request)
{
    if (m_running)
        return;
    m_request = request;
    m_summary = {};
    m_next = 0;
    m_planned.clear();
    m_nextPlanned = 0;
    m_opening = true;
    m_asking = false;
    m_held = false;
    m_live = true;
    m_heldBack[0].clear();
    m_heldBack[1].clear();
    m_running = true;
    openNext();
}

void BatchConversion::cancel()
{
    if (!m_running)
        return;
    m_summary.cancelled = true;
    dropAhead();
    // finished() follows, or has come and is held back to follow, and ends the batch.
    if (engine().isRunning() || !m_live) {
        engine().cancel();
        return;
    }
    m_opener.cancel();
    end();
}

void BatchConversion::setHeld(bool held)
{
    m_held = held;
    for (ConversionEngine &engine : m_engines)
        engine.setHeld(held);
    if (!held)
        startAhead();
}

void BatchConversion::providePassword(const std::optional<QString> &password)
{
    if (password)
        m_request.password = *password;
    m_opener.providePassword(password);
}

void BatchConversion::replace(bool agreed)
{
    if (!m_asking)
        return;
    m_asking = false;
    if (agreed) {
        convertNext();
        return;
    }
    m_summary.cancelled = true;
    m_summary.declined = true;
    end();
}

void BatchConversion::openNext()
{
    if (m_summary.cancelled) {
        end();
        return;
    }
    if (m_next >= m_request.documents.size()) {
        if (m_request.askBeforeReplacing)
            askAboutReplacing();
        else
            end();
        return;
    }
    m_current = m_request.documents.at(m_next++);
    m_missing.clear();
    m_retry = false;
    const int index = int(m_next - 1);
    const int count = int(m_request.documents.size());
    if (m_request.askBeforeReplacing)
        emit documentOpening(m_current, index, count);
    else
        emit documentStarted(m_current, index, count);
    if (m_startedAhead && m_startedAhead->index == index) {
        takeAhead();
        return;
    }
    if (m_aheadIndex == index) {
        if (!m_aheadDone) {
            m_awaitingAhead = true;
            return;
        }
        m_aheadIndex = -1;
        if (const std::optional<OpenedDocument> opened = std::exchange(m_openedAhead, std::nullopt)) {
            onOpened(*opened);
            return;
        }
    }
    m_opener.open(m_request.ghostscript, m_current, 1, m_request.password);
}

void BatchConversion::openAhead(qsizetype index)
{
    const bool any = !m_request.askBeforeReplacing && index < m_request.documents.size();
    if (any && index == m_aheadIndex)
        return; // being opened, or opened
    m_ahead.cancel();
    m_openedAhead.reset();
    m_aheadDone = false;
    m_awaitingAhead = false;
    m_aheadIndex = any ? index : -1;
    if (any)
        m_ahead.open(m_request.ghostscript, m_request.documents.at(index), 1, m_request.password);
}

void BatchConversion::onOpenedAhead(const std::optional<OpenedDocument> &opened)
{
    m_aheadDone = true;
    m_openedAhead = opened;
    if (!std::exchange(m_awaitingAhead, false)) {
        startAhead();
        return;
    }
    m_aheadIndex = -1;
    if (m_openedAhead) {
        onOpened(*std::exchange(m_openedAhead, std::nullopt));
        return;
    }
    m_opener.open(m_request.ghostscript, m_current, 1, m_request.password);
}

std::optional<BatchConversion::Planned> BatchConversion::plan(const OpenedDocument &opened, int index,
                                                              Problem *problem) const
{
    const DocumentInfo &info = opened.info;
    Planned planned;
    planned.document = m_request.documents.at(index);
    planned.opened = opened;
    planned.index = index;
    // As in the window: a document of one page goes to the destination itself.
    planned.job = ConversionJob::forDocument(m_request.options, m_request.ghostscript, opened, 1, info.pageCount,
                                             info.pageCount > 1);
    ConversionJob &job = planned.job;
    job.options.sourceFile = opened.path;
    job.destination = destinationFor(m_request, planned.index);
    job.pageTimeout = m_request.pageTimeout;
    job.measurePages = m_request.measurePages;
    job.pageList = m_request.pages.resolve(info.pageCount, &planned.missing);
    if (job.pageList.isEmpty()) {
        *problem = Problem::make(Problem::NoSuchPage);
        problem->message =
            QCoreApplication::translate("CommandLineConversion",
                                        "\"%1\" has only %n page(s); none of the pages asked for exists.", nullptr,
                                        info.pageCount)
                .arg(Problem::escapeControls(QFileInfo(opened.path).fileName()));
        return std::nullopt;
    }
    return planned;
}

void BatchConversion::onOpened(const OpenedDocument &opened)
{
    if (m_summary.cancelled)
        return;
    Problem problem;
    const std::optional<Planned> planned = plan(opened, int(m_next - 1), &problem);
    if (!planned) {
        fail(problem);
        return;
    }
    if (!m_request.askBeforeReplacing) {
        convert(*planned);
        return;
    }
    m_planned << *planned;
    // After the opener has returned: it is not to be asked to open the next one from within its own signal.
    QMetaObject::invokeMethod(this, &BatchConversion::openNext, Qt::QueuedConnection);
}

void BatchConversion::askAboutReplacing()
{
    m_opening = false;
    QStringList files;
    for (const Planned &planned : std::as_const(m_planned))
        files << planned.job.outputsToReplace([](const QString &name) { return QFileInfo::exists(name); }, false);
    if (files.isEmpty()) {
        convertNext();
        return;
    }
    m_asking = true;
    emit replacing(files);
}

void BatchConversion::convertNext()
{
    if (m_summary.cancelled || m_nextPlanned >= m_planned.size()) {
        end();
        return;
    }
    const Planned planned = m_planned.at(m_nextPlanned++);
    m_current = planned.document;
    emit documentStarted(m_current, planned.index, int(m_request.documents.size()));
    if (m_startedAhead && m_startedAhead->index == planned.index) {
        takeAhead();
        return;
    }
    convert(planned);
}

void BatchConversion::advance()
{
    if (m_opening)
        openNext();
    else
        convertNext();
}

void BatchConversion::convert(const Planned &planned)
{
    m_missing = planned.missing;
    m_pageCount = planned.job.pageCount;
    emit documentOpened(m_current, planned.opened, planned.job.pages());
    // Whoever heard of it may have stopped the batch.
    if (m_summary.cancelled)
        return;
    engine().start(planned.job);
    // The user may be deciding whether to stop: nothing is drawn or written meanwhile.
    if (m_held)
        engine().setHeld(true);
    openAhead(m_next);
}

void BatchConversion::startAhead()
{
    if (!m_running || m_summary.cancelled || m_held || m_startedAhead || !m_live || !engine().hasSpareLane()
        || other().isRunning())
        return;
    std::optional<Planned> next;
    if (!m_opening) {
        if (m_nextPlanned < m_planned.size())
            next = m_planned.at(m_nextPlanned);
    } else if (m_aheadIndex == m_next && m_aheadDone && m_openedAhead) {
        // A document that cannot be planned is left for its turn, which tells why.
        Problem problem;
        next = plan(*m_openedAhead, int(m_next), &problem);
    }
    // Large bitmaps wait for their turn unrendered.
    if (!next || !ConversionEngine::fitsAhead(next->job))
        return;
    if (m_opening) {
        m_aheadIndex = -1;
        m_openedAhead.reset();
    }
    m_startedAhead = next;
    m_heldBack[1 - m_active].clear();
    other().startAhead(next->job);
    // The one after it opens meanwhile.
    if (m_opening)
        openAhead(m_next + 1);
}

void BatchConversion::takeAhead()
{
    const Planned planned = *m_startedAhead;
    m_missing = planned.missing;
    m_pageCount = planned.job.pageCount;
    emit documentOpened(m_current, planned.opened, planned.job.pages());
    // Whoever heard of it may have stopped the batch, and this document's engine with it.
    if (m_summary.cancelled)
        return;
    m_startedAhead.reset();
    m_active = 1 - m_active;
    m_live = false;
    // What it has told so far is told from the event loop, after this returns, and before anything it tells next.
    QMetaObject::invokeMethod(this, &BatchConversion::catchUp, Qt::QueuedConnection);
    openAhead(m_next);
}

void BatchConversion::catchUp()
{
    if (!m_running)
        return;
    const QList<std::function<void()>> held = std::exchange(m_heldBack[m_active], {});
    m_live = true;
    engine().proceed();
    // The last of them may be its end, which moves on to the next document.
    for (const std::function<void()> &event : held)
        event();
    startAhead();
}

void BatchConversion::dropAhead()
{
    if (!m_startedAhead)
        return;
    m_startedAhead.reset();
    m_heldBack[1 - m_active].clear();
    other().cancel();
}

void BatchConversion::onEngineFinished(const ConversionResult &result)
{
    m_summary.pagesWritten += result.pagesWritten;
    emit documentFinished(m_current, result, m_missing, m_pageCount);
    if (!result.fatal.isNone()) {
        fail(result.fatal);
        return;
    }
    if (!result.failures.isEmpty() || !m_missing.isEmpty())
        ++m_summary.documentsFailed;
    if (result.cancelled)
        m_summary.cancelled = true;
    advance();
}

void BatchConversion::fail(const Problem &problem)
{
    ++m_summary.documentsFailed;
    emit documentFailed(m_current, problem);
    if (problem.stopsEveryDocument())
        m_summary.fatal = problem;
    // After the caller has returned, so a document that fails at once does not recurse into the next.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_summary.fatal.isNone())
                advance();
            else
                end();
        },
        Qt::QueuedConnection);
}

void BatchConversion::end()
{
    if (!m_running)
        return;
    m_running = false;
    m_asking = false;
    m_planned.clear(); // and the passwords they hold
    dropAhead();
    m_ahead.cancel();
    m_aheadIndex = -1;
    m_openedAhead.reset();
    m_awaitingAhead = false;
    // After the caller has returned, so the caller is listening.
    QMetaObject::invokeMethod(
        this, [this, summary = m_summary] { emit finished(summary); }, Qt::QueuedConnection);
}
