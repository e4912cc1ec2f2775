// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/CommandLineConversion.h"

#include "conversion/PageWriter.h"
#include "tools/GhostscriptCommands.h"
#include "tools/PrivateFolder.h"
#include "tools/ProcessRunner.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

CommandLineConversion::CommandLineConversion(const CommandLineRequest &request, const QString &ghostscript,
                                             QTextStream &messages, QObject *parent)
    : QObject(parent)
    , m_request(request)
    , m_ghostscript(ghostscript)
    , m_messages(messages)
    , m_info(new ProcessRunner(this))
    , m_engine(new ConversionEngine(nullptr, nullptr, this))
{
    connect(m_info, &ProcessRunner::finished, this, &CommandLineConversion::onInfo);
    connect(m_engine, &ConversionEngine::pageStarted, this,
            [this](int page) { m_messages << tr("Processing page %1...").arg(page) << Qt::endl; });
    connect(m_engine, &ConversionEngine::pageWritten, this,
            [this](const QString &file) { m_messages << tr("Wrote %1").arg(file) << Qt::endl; });
    connect(m_engine, &ConversionEngine::finished, this, &CommandLineConversion::onFinished);
}

void CommandLineConversion::start(const QString &password)
{
    m_password = password;
    // A destination that cannot take the files fails every page alike: say so before anything else.
    Problem problem = PageWriter::checkWritable(QFileInfo(m_request.destination).absolutePath());
    if (problem.isNone())
        problem = GhostscriptCommands::checkDocument(m_ghostscript, m_request.document);
    if (!problem.isNone()) {
        failWith(problem);
        return;
    }
    std::optional<QByteArray> passwordArguments;
    if (!m_password.isEmpty()) {
        passwordArguments = GhostscriptCommands::passwordArguments(m_password);
        if (!passwordArguments) {
            failWith(Problem::make(Problem::UnusablePassword));
            return;
        }
    }
    m_folder = std::make_unique<PrivateFolder>();
    if (!m_folder->isValid()) {
        failWith(m_folder->problem());
        return;
    }
    m_passwordArguments = passwordArguments.value_or(QByteArray());
    startInfo();
}

void CommandLineConversion::startInfo()
{
    m_marker = GhostscriptCommands::newMarker();
    const QString link = GhostscriptCommands::linkDocument(m_folder->path(), m_request.document);
    m_info->start(m_ghostscript,
                  GhostscriptCommands::infoArguments(link, 1, m_marker, !m_password.isEmpty(), m_legacyInterpreter),
                  m_passwordArguments);
}

void CommandLineConversion::stop()
{
    m_stopped = true;
    if (m_engine->isRunning()) {
        m_engine->cancel();
    } else {
        m_info->cancel();
        emit exited(1);
    }
}

void CommandLineConversion::onInfo(const ProcessResult &result)
{
    if (m_stopped)
        return;
    const DocumentInfo info = GhostscriptCommands::parseInfo(result.output, m_marker, m_legacyInterpreter);
    if (GhostscriptCommands::wantsLegacyInterpreter(info, !m_password.isEmpty())) {
        m_legacyInterpreter = true;
        startInfo();
        return;
    }
    m_folder.reset();
    const QString name = QFileInfo(m_request.document).fileName();
    Problem problem = GhostscriptCommands::inspect(m_request.document, result, info, !m_password.isEmpty());
    if (problem.kind == Problem::NeedsPassword && !m_request.passwordFromStdin)
        problem.message += QLatin1Char(' ') + tr("Give it on standard input with --password-stdin.");
    if (!problem.isNone()) {
        failWith(problem);
        return;
    }
    ConversionJob job;
    job.options = m_request.options;
    job.ghostscript = m_ghostscript;
    job.destination = m_request.destination;
    job.pageCount = info.pageCount;
    job.pageSize = info.pageSize;
    job.legacyInterpreter = info.legacyInterpreter;
    job.firstPage = m_request.firstPage > 0 ? m_request.firstPage : 1;
    job.lastPage = m_request.lastPage > 0 ? m_request.lastPage : info.pageCount;
    job.password = m_password;
    job.pageTimeout = m_request.pageTimeout;
    if (job.firstPage > info.pageCount) {
        Problem beyond = Problem::make(Problem::PageFailed);
        beyond.message = tr("\"%1\" has only %n page(s); none of the pages asked for exists.", nullptr, info.pageCount)
                             .arg(Problem::escapeControls(name));
        failWith(beyond);
        return;
    }
    // Pages asked for past the end are failures, not something to pass over in silence.
    m_missingPages = std::max(0, job.lastPage - info.pageCount);
    m_pageCount = info.pageCount;
    job.lastPage = std::min(job.lastPage, info.pageCount);
    // As in the window: a document of one page goes to the destination itself.
    job.numbered = info.pageCount > 1;
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
