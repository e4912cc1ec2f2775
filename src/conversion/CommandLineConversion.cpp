// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/CommandLineConversion.h"

#include "conversion/PageWriter.h"
#include "tools/GhostscriptCommands.h"
#include "tools/PrivateFolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

CommandLineConversion::CommandLineConversion(const CommandLineRequest &request, const QString &ghostscript,
                                             QTextStream &messages, QObject *parent)
    : QObject(parent)
    , m_request(request)
    , m_ghostscript(ghostscript)
    , m_messages(messages)
    , m_engine(new ConversionEngine(nullptr, nullptr, this))
{
    connect(&m_opener, &DocumentOpener::opened, this, &CommandLineConversion::onOpened);
    connect(&m_opener, &DocumentOpener::failed, this, &CommandLineConversion::failWith);
    connect(&m_opener, &DocumentOpener::passwordNeeded, this, &CommandLineConversion::onPasswordNeeded);
    connect(m_engine, &ConversionEngine::pageStarted, this,
            [this](int page) { m_messages << tr("Processing page %1...").arg(page) << Qt::endl; });
    connect(m_engine, &ConversionEngine::pageWritten, this,
            [this](const QString &file) { m_messages << tr("Wrote %1").arg(file) << Qt::endl; });
    connect(m_engine, &ConversionEngine::finished, this, &CommandLineConversion::onFinished);
}

void CommandLineConversion::start()
{
    // A destination that cannot take the files fails every page alike: say so before anything else.
    const Problem problem = PageWriter::checkWritable(QFileInfo(m_request.destination).absolutePath());
    if (!problem.isNone()) {
        failWith(problem);
        return;
    }
    m_opener.open(m_ghostscript, m_request.document);
}

void CommandLineConversion::stop()
{
    m_stopped = true;
    if (m_engine->isRunning()) {
        m_engine->cancel();
    } else {
        m_opener.cancel();
        emit exited(1);
    }
}

void CommandLineConversion::onPasswordNeeded(const QString &fileName, bool retry)
{
    // Standard input gives one password, read only when the document asks for one.
    if (!retry && m_request.passwordFromStdin) {
        m_opener.providePassword(CommandLine::readPassword(fileName));
        return;
    }
    m_opener.providePassword(std::nullopt);
    Problem problem = Problem::make(retry ? Problem::WrongPassword : Problem::NeedsPassword, {}, fileName);
    if (!retry)
        problem.message += QLatin1Char(' ') + tr("Give it on standard input with --password-stdin.");
    failWith(problem);
}

void CommandLineConversion::onOpened(const OpenedDocument &opened)
{
    if (m_stopped)
        return;
    const DocumentInfo &info = opened.info;
    // As in the window: a document of one page goes to the destination itself.
    ConversionJob job = ConversionJob::forDocument(
        m_request.options, m_ghostscript, opened, m_request.firstPage > 0 ? m_request.firstPage : 1,
        m_request.lastPage > 0 ? m_request.lastPage : info.pageCount, info.pageCount > 1);
    job.destination = m_request.destination;
    job.pageTimeout = m_request.pageTimeout;
    if (job.firstPage > info.pageCount) {
        Problem beyond = Problem::make(Problem::PageFailed);
        beyond.message = tr("\"%1\" has only %n page(s); none of the pages asked for exists.", nullptr, info.pageCount)
                             .arg(Problem::escapeControls(QFileInfo(opened.path).fileName()));
        failWith(beyond);
        return;
    }
    // Pages asked for past the end are failures, not something to pass over in silence.
    m_missingPages = std::max(0, job.lastPage - info.pageCount);
    m_pageCount = info.pageCount;
    job.lastPage = std::min(job.lastPage, info.pageCount);
    m_engine->start(job);
}

void CommandLineConversion::onFinished(const ConversionResult &result)
{
    for (const PageFailure &failure : result.failures) {
        m_messages << programPrefix() << tr("Page %1: %2").arg(failure.page).arg(failure.problem.message);
        if (!failure.problem.details.isEmpty())
            m_messages << QLatin1Char(' ') << failure.problem.details.simplified();
        m_messages << Qt::endl;
    }
    if (m_missingPages > 0) {
        const int first = m_pageCount + 1, last = m_pageCount + m_missingPages;
        m_messages
            << programPrefix()
            << (first == last
                    ? tr("Page %1 does not exist: the document has only %n page(s).", nullptr, m_pageCount).arg(first)
                    : tr("Pages %1 to %2 do not exist: the document has only %n page(s).", nullptr, m_pageCount)
                          .arg(first)
                          .arg(last))
            << Qt::endl;
    }
    if (!result.fatal.isNone()) {
        failWith(result.fatal);
        return;
    }
    if (result.cancelled) {
        m_messages << tr("Stopped; %n page(s) written.", nullptr, int(result.written.size())) << Qt::endl;
        emit exited(1);
        return;
    }
    m_messages << tr("%n page(s) written.", nullptr, int(result.written.size())) << Qt::endl;
    emit exited(result.failures.isEmpty() && m_missingPages == 0 ? 0 : 1);
}

QString CommandLineConversion::programPrefix()
{
    return QCoreApplication::applicationName() + QStringLiteral(": ");
}

void CommandLineConversion::failWith(const Problem &problem)
{
    m_messages << programPrefix() << problem.message << Qt::endl;
    // Ghostscript's own words, set apart from ours.
    for (const QString &line : problem.details.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        m_messages << QStringLiteral("  | ") << line << Qt::endl;
    // After start() has returned, so the caller is listening.
    QMetaObject::invokeMethod(
        this, [this] { emit exited(1); }, Qt::QueuedConnection);
}
