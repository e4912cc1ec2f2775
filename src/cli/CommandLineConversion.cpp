// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLineConversion.h"

#include "conversion/DestinationFile.h"
#include "conversion/PageWriter.h"

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
{
    ConversionEngine &engine = m_batch.engine();
    connect(&engine, &ConversionEngine::pageStarted, this,
            [this](int page) { m_messages << tr("Processing page %1...").arg(page) << Qt::endl; });
    connect(&engine, &ConversionEngine::pageWritten, this,
            [this](const QString &file) { m_messages << tr("Wrote %1").arg(Problem::escapeName(file)) << Qt::endl; });
    connect(&m_batch, &BatchConversion::documentStarted, this, [this](const QString &document) {
        if (m_request.documents.size() > 1)
            m_messages << tr("Converting %1").arg(Problem::escapeName(document)) << Qt::endl;
    });
    connect(&m_batch, &BatchConversion::passwordNeeded, this, &CommandLineConversion::onPasswordNeeded);
    connect(&m_batch, &BatchConversion::documentFailed, this, [this](const QString &document, const Problem &problem) {
        // A name typed on the command line that leads nowhere was never there: a mistyped name.
        report(problem.kind == Problem::FileGone ? Problem::make(Problem::DocumentMissing, {}, document) : problem);
    });
    connect(&m_batch, &BatchConversion::documentFinished, this,
            [this](const QString &, const ConversionResult &result, const QList<PageSelection::Range> &missing,
                   int pageCount) { onDocumentFinished(result, missing, pageCount); });
    connect(&m_batch, &BatchConversion::finished, this, &CommandLineConversion::onFinished);
}

void CommandLineConversion::start()
{
    // A destination that cannot take the files fails every page alike: say so before anything else. Its
    // missing folders are made, as a script expects of "out/scan.png".
    const QString folder =
        m_request.destinationIsFolder ? m_request.destination : QFileInfo(m_request.destination).absolutePath();
    Problem problem = DestinationFile::makeFolder(folder);
    if (problem.isNone())
        problem = PageWriter::checkWritable(folder);
    if (!problem.isNone()) {
        report(problem);
        QMetaObject::invokeMethod(
            this, [this] { emit exited(1); }, Qt::QueuedConnection);
        return;
    }
    // A script's output must not silently depend on what was last clicked in the window.
    m_messages << (m_request.fromDefaults ? tr("Options (the defaults and the flags given): %1")
                                          : tr("Options (the window's last and the flags given): %1"))
                      .arg(CommandLine::describe(m_request.options, m_request.writtenFormat()))
               << Qt::endl;
    BatchRequest batch;
    batch.ghostscript = m_ghostscript;
    batch.documents = m_request.documents;
    batch.options = m_request.options;
    batch.destination = m_request.destination;
    batch.destinationIsFolder = m_request.destinationIsFolder;
    batch.pages = m_request.pages;
    batch.pageTimeout = m_request.pageTimeout;
    m_batch.start(batch);
}

void CommandLineConversion::stop()
{
    if (m_batch.isRunning())
        m_batch.cancel();
    else
        QMetaObject::invokeMethod(
            this, [this] { emit exited(1); }, Qt::QueuedConnection);
}

void CommandLineConversion::onPasswordNeeded(const QString &fileName, bool retry)
{
    // Standard input gives one password, read only when a document first asks for one; the batch tries it
    // on every document after.
    if (!m_passwordRead && !retry && m_request.passwordFromStdin) {
        m_passwordRead = true;
        QString refused;
        const std::optional<QString> password = CommandLine::readPassword(fileName, &refused);
        // A termination signal came while waiting: it is handled next, and stops the run.
        if (!password && refused.isEmpty())
            return;
        if (!refused.isEmpty())
            m_messages << programPrefix() << refused << Qt::endl;
        m_batch.providePassword(password);
        return;
    }
    m_batch.providePassword(std::nullopt);
}

void CommandLineConversion::onDocumentFinished(const ConversionResult &result,
                                               const QList<PageSelection::Range> &missing, int pageCount)
{
    for (const PageFailure &failure : result.failures) {
        m_messages << programPrefix() << tr("Page %1: %2").arg(failure.page).arg(failure.problem.message);
        if (!failure.problem.details.isEmpty())
            m_messages << QLatin1Char(' ') << failure.problem.details.simplified();
        m_messages << Qt::endl;
    }
    reportMissingPages(missing, pageCount);
    if (result.fatal.isNone() && !result.cancelled)
        m_messages << tr("%n page(s) written.", nullptr, result.pagesWritten) << Qt::endl;
}

void CommandLineConversion::onFinished(const BatchSummary &summary)
{
    if (summary.cancelled) {
        m_messages << tr("Stopped; %n page(s) written.", nullptr, summary.pagesWritten) << Qt::endl;
        emit exited(1);
        return;
    }
    if (m_request.documents.size() > 1)
        m_messages << tr("%n page(s) written in all.", nullptr, summary.pagesWritten) << Qt::endl;
    emit exited(summary.documentsFailed > 0 || !summary.fatal.isNone() ? 1 : 0);
}

void CommandLineConversion::reportMissingPages(const QList<PageSelection::Range> &missing, int pageCount)
{
    if (missing.isEmpty())
        return;
    const PageSelection::Range only = missing.constFirst();
    m_messages << programPrefix();
    if (missing.size() > 1)
        m_messages << tr("Pages %1 do not exist: the document has only %n page(s).", nullptr, pageCount)
                          .arg(PageSelection::text(missing, QStringLiteral(", ")));
    else if (only.first == only.last)
        m_messages
            << tr("Page %1 does not exist: the document has only %n page(s).", nullptr, pageCount).arg(only.first);
    else
        m_messages << tr("Pages %1 to %2 do not exist: the document has only %n page(s).", nullptr, pageCount)
                          .arg(only.first)
                          .arg(only.last);
    m_messages << Qt::endl;
}

QString CommandLineConversion::programPrefix()
{
    return QCoreApplication::applicationName() + QStringLiteral(": ");
}

void CommandLineConversion::report(Problem problem)
{
    if (problem.kind == Problem::NeedsPassword && !m_request.passwordFromStdin)
        problem.message += QLatin1Char(' ') + tr("Give it on standard input with --password-stdin.");
    m_messages << programPrefix() << problem.message << Qt::endl;
    // Ghostscript's own words, set apart from ours.
    for (const QString &line : problem.details.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        m_messages << QStringLiteral("  | ") << line << Qt::endl;
}
