// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/BatchConversion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>

BatchConversion::BatchConversion(QObject *parent)
    : QObject(parent)
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
    connect(&m_engine, &ConversionEngine::finished, this, &BatchConversion::onEngineFinished);
    connect(&m_ahead, &DocumentOpener::opened, this, [this](const OpenedDocument &opened) { onOpenedAhead(opened); });
    connect(&m_ahead, &DocumentOpener::failed, this, [this] { onOpenedAhead(std::nullopt); });
    connect(&m_ahead, &DocumentOpener::abandoned, this, [this] { onOpenedAhead(std::nullopt); });
    // Only the document's own turn asks for its password.
    connect(
        &m_ahead, &DocumentOpener::passwordNeeded, this, [this] { m_ahead.providePassword(std::nullopt); },
        Qt::QueuedConnection);
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
    m_running = true;
    openNext();
}

void BatchConversion::cancel()
{
    if (!m_running)
        return;
    m_summary.cancelled = true;
    if (m_engine.isRunning()) {
        m_engine.cancel(); // finished() follows, and ends the batch
        return;
    }
    m_opener.cancel();
    end();
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
    if (!m_aheadDocument.isEmpty() && m_aheadDocument == m_current) {
        if (!m_aheadDone) {
            m_awaitingAhead = true;
            return;
        }
        m_aheadDocument.clear();
        if (const std::optional<OpenedDocument> opened = std::exchange(m_openedAhead, std::nullopt)) {
            onOpened(*opened);
            return;
        }
    }
    m_opener.open(m_request.ghostscript, m_current, 1, m_request.password);
}

void BatchConversion::openAhead()
{
    m_ahead.cancel();
    m_openedAhead.reset();
    m_aheadDone = false;
    m_awaitingAhead = false;
    m_aheadDocument = m_request.askBeforeReplacing ? QString() : m_request.documents.value(m_next);
    if (!m_aheadDocument.isEmpty())
        m_ahead.open(m_request.ghostscript, m_aheadDocument, 1, m_request.password);
}

void BatchConversion::onOpenedAhead(const std::optional<OpenedDocument> &opened)
{
    m_aheadDone = true;
    m_openedAhead = opened;
    if (!std::exchange(m_awaitingAhead, false))
        return;
    m_aheadDocument.clear();
    if (m_openedAhead) {
        onOpened(*std::exchange(m_openedAhead, std::nullopt));
        return;
    }
    m_opener.open(m_request.ghostscript, m_current, 1, m_request.password);
}

void BatchConversion::onOpened(const OpenedDocument &opened)
{
    if (m_summary.cancelled)
        return;
    const DocumentInfo &info = opened.info;
    Planned planned;
    planned.document = m_current;
    planned.opened = opened;
    planned.index = int(m_next - 1);
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
        Problem beyond = Problem::make(Problem::NoSuchPage);
        beyond.message = QCoreApplication::translate("CommandLineConversion",
                                                     "\"%1\" has only %n page(s); none of the pages asked for exists.",
                                                     nullptr, info.pageCount)
                             .arg(Problem::escapeControls(QFileInfo(opened.path).fileName()));
        fail(beyond);
        return;
    }
    if (!m_request.askBeforeReplacing) {
        convert(planned);
        return;
    }
    m_planned << planned;
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
    m_engine.start(planned.job);
    openAhead();
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
    m_ahead.cancel();
    m_aheadDocument.clear();
    m_openedAhead.reset();
    m_awaitingAhead = false;
    // After the caller has returned, so the caller is listening.
    QMetaObject::invokeMethod(
        this, [this, summary = m_summary] { emit finished(summary); }, Qt::QueuedConnection);
}
