// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/CommandLineConversion.h"

#include "conversion/PageWriter.h"
#include "tools/GhostscriptCommands.h"
#include "tools/PrivateFolder.h"

#include <QCoreApplication>
#include <QDir>
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
    if (m_request.destinationIsFolder && !QFileInfo(m_request.destination).isDir())
        QDir().mkpath(m_request.destination);
    const QString folder =
        m_request.destinationIsFolder ? m_request.destination : QFileInfo(m_request.destination).absolutePath();
    const Problem problem = PageWriter::checkWritable(folder);
    if (!problem.isNone()) {
        report(problem);
        exit(1);
        return;
    }
    openNext();
}

void CommandLineConversion::stop()
{
    m_stopped = true;
    if (m_engine->isRunning()) {
        m_engine->cancel();
    } else {
        m_opener.cancel();
        exit(1);
    }
}

void CommandLineConversion::openNext()
{
    if (m_stopped)
        return;
    if (m_next >= m_request.documents.size()) {
        if (m_request.documents.size() > 1)
            m_messages << tr("%n page(s) written in all.", nullptr, m_written) << Qt::endl;
        exit(m_anyFailed ? 1 : 0);
        return;
    }
    m_current = m_request.documents.at(m_next++);
    m_missingPages.clear();
    if (m_request.documents.size() > 1)
        m_messages << tr("Converting %1").arg(Problem::escapeControls(m_current)) << Qt::endl;
    m_opener.open(m_ghostscript, m_current, 1, m_password.value_or(QString()));
}

void CommandLineConversion::onPasswordNeeded(const QString &fileName, bool retry)
{
    // Standard input gives one password, read only when a document first asks for one.
    if (!m_password && m_request.passwordFromStdin) {
        m_password = CommandLine::readPassword(fileName);
        m_opener.providePassword(m_password);
        return;
    }
    const bool wrong = retry || (m_password && !m_password->isEmpty());
    m_opener.providePassword(std::nullopt);
    Problem problem = Problem::make(wrong ? Problem::WrongPassword : Problem::NeedsPassword, {}, fileName);
    if (!m_request.passwordFromStdin)
        problem.message += QLatin1Char(' ') + tr("Give it on standard input with --password-stdin.");
    failWith(problem);
}

void CommandLineConversion::onOpened(const OpenedDocument &opened)
{
    if (m_stopped)
        return;
    const DocumentInfo &info = opened.info;
    // As in the window: a document of one page goes to the destination itself.
    ConversionJob job =
        ConversionJob::forDocument(m_request.options, m_ghostscript, opened, 1, info.pageCount, info.pageCount > 1);
    job.options.sourceFile = opened.path;
    job.destination = m_request.destinationIsFolder
                          ? QDir(m_request.destination)
                                .filePath(QFileInfo(opened.path).completeBaseName() + QLatin1Char('.')
                                          + OptionLists::suffix(m_request.options.format))
                          : m_request.destination;
    job.pageTimeout = m_request.pageTimeout;
    job.pageList = m_request.pages.resolve(info.pageCount, &m_missingPages);
    m_pageCount = info.pageCount;
    if (job.pageList.isEmpty()) {
        Problem beyond = Problem::make(Problem::PageFailed);
        beyond.message = tr("\"%1\" has only %n page(s); none of the pages asked for exists.", nullptr, info.pageCount)
                             .arg(Problem::escapeControls(QFileInfo(opened.path).fileName()));
        m_missingPages.clear();
        failWith(beyond);
        return;
    }
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
    reportMissingPages();
    m_written += result.pagesWritten;
    if (!result.fatal.isNone()) {
        failWith(result.fatal);
        return;
    }
    if (result.cancelled) {
        m_messages << tr("Stopped; %n page(s) written.", nullptr, m_written) << Qt::endl;
        exit(1);
        return;
    }
    m_messages << tr("%n page(s) written.", nullptr, result.pagesWritten) << Qt::endl;
    m_anyFailed = m_anyFailed || !result.failures.isEmpty() || !m_missingPages.isEmpty();
    openNext();
}

void CommandLineConversion::reportMissingPages()
{
    if (m_missingPages.isEmpty())
        return;
    const PageSelection::Range only = m_missingPages.constFirst();
    m_messages << programPrefix();
    if (m_missingPages.size() > 1)
        m_messages << tr("Pages %1 do not exist: the document has only %n page(s).", nullptr, m_pageCount)
                          .arg(PageSelection::text(m_missingPages, QStringLiteral(", ")));
    else if (only.first == only.last)
        m_messages
            << tr("Page %1 does not exist: the document has only %n page(s).", nullptr, m_pageCount).arg(only.first);
    else
        m_messages << tr("Pages %1 to %2 do not exist: the document has only %n page(s).", nullptr, m_pageCount)
                          .arg(only.first)
                          .arg(only.last);
    m_messages << Qt::endl;
}

QString CommandLineConversion::programPrefix()
{
    return QCoreApplication::applicationName() + QStringLiteral(": ");
}

void CommandLineConversion::report(const Problem &problem)
{
    m_messages << programPrefix() << problem.message << Qt::endl;
    // Ghostscript's own words, set apart from ours.
    for (const QString &line : problem.details.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        m_messages << QStringLiteral("  | ") << line << Qt::endl;
}

void CommandLineConversion::failWith(const Problem &problem)
{
    report(problem);
    m_anyFailed = true;
    // After the caller has returned, so a document that fails at once does not recurse into the next.
    QMetaObject::invokeMethod(
        this,
        [this, everyDocument = problem.stopsEveryDocument()] {
            if (everyDocument)
                exit(1);
            else
                openNext();
        },
        Qt::QueuedConnection);
}

void CommandLineConversion::exit(int code)
{
    // After start() has returned, so the caller is listening.
    QMetaObject::invokeMethod(
        this, [this, code] { emit exited(code); }, Qt::QueuedConnection);
}
