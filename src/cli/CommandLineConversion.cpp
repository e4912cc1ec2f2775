// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLineConversion.h"

#include "cli/RunReport.h"
#include "cli/StandardInput.h"
#include "conversion/DestinationFile.h"
#include "conversion/PageWriter.h"
#include "tools/PrivateFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>
#include <cstring>
#include <unistd.h>

CommandLineConversion::CommandLineConversion(const CommandLineRequest &request, const QString &ghostscript,
                                             QTextStream &messages, QObject *parent)
    : QObject(parent)
    , m_request(request)
    , m_ghostscript(ghostscript)
    , m_messages(messages)
{
    connect(&m_batch, &BatchConversion::pageStarted, this, [this](int page) {
        m_messages << tr("Processing page %1...").arg(page) << Qt::endl;
        m_told.insert(page);
        if (const QString held = m_heldWrites.take(page); !held.isEmpty())
            m_messages << held << Qt::endl;
    });
    // A multi-page file is told of once.
    connect(&m_batch, &BatchConversion::pageWritten, this, [this](const WrittenPage &page) {
        if (std::exchange(m_lastWritten, page.file) == page.file || m_request.toStandardOutput)
            return;
        const QString line = tr("Wrote %1").arg(Problem::escapeName(page.file));
        if (m_told.contains(page.page))
            m_messages << line << Qt::endl;
        else
            m_heldWrites.insert(page.page, line);
    });
    // Standard output takes one file: one page, or a multi-page TIFF.
    connect(&m_batch, &BatchConversion::documentOpened, this,
            [this](const QString &, const OpenedDocument &, const QList<int> &pages) {
                if (m_request.toStandardOutput && pages.size() > 1 && m_request.writtenFormat() != ImageFormat::Tiff
                    && m_usageError.isEmpty())
                    refuseUsage(tr("--convert -: standard output takes one image, and %n pages were asked for: "
                                   "give one page with --pages, or --format tif for all of them in one file.",
                                   nullptr, int(pages.size())));
            });
    connect(&m_batch, &BatchConversion::documentStarted, this, [this](const QString &document) {
        m_told.clear();
        m_heldWrites.clear();
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

CommandLineConversion::~CommandLineConversion() = default;

void CommandLineConversion::start()
{
    // Neither stream is a terminal's: an image on the screen is garbage, and a document cannot be typed.
    if (m_request.toStandardOutput && ::isatty(STDOUT_FILENO)) {
        refuseUsage(tr("--convert -: standard output is a terminal. Send the image to a file or a program: "
                       "> page.png, or | another program."));
        return;
    }
    if (m_request.documents.contains(CommandLine::StandardStream) && ::isatty(STDIN_FILENO)) {
        refuseUsage(tr("-: the document is read from standard input, which is a terminal. Send it in: < a.pdf, "
                       "or cat a.pdf |."));
        return;
    }
    if (m_request.report && !openReport())
        return;
    BatchRequest batch;
    batch.ghostscript = m_ghostscript;
    batch.documents = m_request.documents;
    batch.destination = m_request.destination;
    batch.destinationIsFolder = m_request.destinationIsFolder;
    if (m_report)
        m_report->runStarted(m_request.documents, m_request.options, m_request.writtenFormat());
    Problem problem = prepareStreams(batch);
    // A termination signal came while standard input was read: it stops the run next.
    if (m_interrupted)
        return;
    // A destination that cannot take the files fails every page alike: say so before anything else. Its
    // missing folders are made, as a script expects of "out/scan.png".
    const QString folder = batch.destinationIsFolder ? batch.destination : QFileInfo(batch.destination).absolutePath();
    if (problem.isNone())
        problem = DestinationFile::makeFolder(folder);
    if (problem.isNone())
        problem = PageWriter::checkWritable(folder);
    if (!problem.isNone()) {
        report(problem);
        end(1, problem.code(), problem.message);
        return;
    }
    // A script's output must not silently depend on what was last clicked in the window.
    m_messages << (m_request.fromDefaults ? tr("Options (the defaults and the flags given): %1")
                                          : tr("Options (the window's last and the flags given): %1"))
                      .arg(CommandLine::describe(m_request.options, m_request.writtenFormat()))
               << Qt::endl;
    batch.options = m_request.options;
    batch.pages = m_request.pages;
    batch.measurePages = m_request.report;
    batch.pageTimeout = m_request.pageTimeout;
    m_batch.start(batch);
}

void CommandLineConversion::stop(int exitCode)
{
    m_stopExitCode = exitCode;
    if (m_batch.isRunning())
        m_batch.cancel();
    else
        end(exitCode, QStringLiteral("cancelled"));
}

void CommandLineConversion::onPasswordNeeded(const QString &fileName, bool retry)
{
    // Standard input gives one password, read only when a document first asks for one; the batch tries it
    // on every document after.
    if (!m_passwordRead && !retry && m_request.passwordFromStdin) {
        m_passwordRead = true;
        QString refused;
        const std::optional<QString> password = StandardInput::readPassword(fileName, &refused);
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
    // Whatever was written is told, even of a page never reached in order.
    for (const QString &held : std::as_const(m_heldWrites))
        m_messages << held << Qt::endl;
    m_heldWrites.clear();
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
    const auto finish = [this, &summary](int exitCode, const QString &result, const QString &message = {}) {
        if (m_report) {
            m_report->runFinished(result, message, exitCode, summary);
            // A report cut short would let its reader take the run for complete.
            if (!m_report->isIntact()) {
                m_messages << programPrefix() << tr("The report could not be written in full.") << Qt::endl;
                exitCode = std::max(exitCode, 1);
            }
        }
        emit exited(exitCode);
    };
    if (!m_usageError.isEmpty()) {
        finish(2, QStringLiteral("usage"), m_usageError);
        return;
    }
    if (summary.cancelled) {
        m_messages << tr("Stopped; %n page(s) written.", nullptr, summary.pagesWritten) << Qt::endl;
        finish(m_stopExitCode, QStringLiteral("cancelled"));
        return;
    }
    if (m_request.documents.size() > 1)
        m_messages << tr("%n page(s) written in all.", nullptr, summary.pagesWritten) << Qt::endl;
    const bool failed = summary.documentsFailed > 0 || !summary.fatal.isNone();
    if (!failed && m_request.toStandardOutput && !sendToStandardOutput()) {
        finish(1, QStringLiteral("unwritable"), tr("Standard output could not take the image."));
        return;
    }
    if (!summary.fatal.isNone())
        finish(1, summary.fatal.code(), summary.fatal.message);
    else if (failed)
        finish(1, m_report ? m_report->firstFailure() : QStringLiteral("failed"));
    else
        finish(0, QStringLiteral("ok"));
}

Problem CommandLineConversion::prepareStreams(BatchRequest &batch)
{
    const qsizetype input = batch.documents.indexOf(CommandLine::StandardStream);
    if (input < 0 && !m_request.toStandardOutput)
        return {};
    m_scratch = std::make_unique<PrivateFolder>();
    if (!m_scratch->isValid())
        return m_scratch->problem();
    if (m_request.toStandardOutput) {
        batch.destination = QDir(m_scratch->path())
                                .filePath(QStringLiteral("stdout.") + OptionLists::suffix(m_request.writtenFormat()));
        batch.destinationIsFolder = false;
        if (m_report)
            m_report->setStandardOutputFolder(m_scratch->path());
    }
    if (input < 0)
        return {};
    // Ghostscript reads a document by seeking about in it: standard input is kept as a file first.
    QFile copy(QDir(m_scratch->path()).filePath(QStringLiteral("stdin.pdf")));
    QString error;
    if (!copy.open(QIODevice::WriteOnly) || !StandardInput::copyTo(copy, &error)) {
        m_interrupted = error.isEmpty() && copy.isOpen();
        if (m_interrupted)
            return {};
        // The copy's own file failing is the temporary folder's; otherwise standard input could not be read.
        if (!copy.isOpen() || copy.error() != QFileDevice::NoError)
            return PrivateFolder::full(error.isEmpty() ? copy.errorString() : error);
        return Problem{Problem::PermissionDenied, error, {}};
    }
    batch.documents[input] = copy.fileName();
    if (m_report)
        m_report->setStandardInputCopy(copy.fileName());
    return {};
}

bool CommandLineConversion::sendToStandardOutput()
{
    QFile image(m_lastWritten);
    if (m_lastWritten.isEmpty() || !image.open(QIODevice::ReadOnly))
        return false;
    m_messages.flush();
    while (!image.atEnd()) {
        const QByteArray chunk = image.read(1 << 20);
        for (qsizetype done = 0; done < chunk.size();) {
            const ssize_t sent = ::write(STDOUT_FILENO, chunk.constData() + done, size_t(chunk.size() - done));
            if (sent < 0 && errno == EINTR)
                continue;
            if (sent <= 0) {
                m_messages << programPrefix()
                           << tr("Standard output could not take the image: %1")
                                  .arg(QString::fromLocal8Bit(std::strerror(errno)))
                           << Qt::endl;
                return false;
            }
            done += sent;
        }
    }
    return true;
}

bool CommandLineConversion::openReport()
{
    const bool toFile = !m_request.reportFile.isEmpty();
    const bool opened = toFile ? (m_reportFile.setFileName(m_request.reportFile),
                                  m_reportFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
                               : m_reportFile.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (!opened) {
        m_messages << programPrefix()
                   << tr("The report cannot be written to %1: %2")
                          .arg(Problem::escapeName(m_request.reportFile), m_reportFile.errorString())
                   << Qt::endl;
        QMetaObject::invokeMethod(
            this, [this] { emit exited(1); }, Qt::QueuedConnection);
        return false;
    }
    m_report = std::make_unique<RunReport>(&m_reportFile);
    m_report->follow(m_batch);
    return true;
}

void CommandLineConversion::refuseUsage(const QString &message)
{
    m_usageError = message;
    m_messages << programPrefix() << message << Qt::endl;
    if (m_batch.isRunning())
        m_batch.cancel();
    else
        end(2, QStringLiteral("usage"), message);
}

void CommandLineConversion::end(int exitCode, const QString &result, const QString &message)
{
    if (m_report)
        m_report->runFinished(result, message, exitCode, {});
    QMetaObject::invokeMethod(
        this, [this, exitCode] { emit exited(exitCode); }, Qt::QueuedConnection);
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
