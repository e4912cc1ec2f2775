// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RunReport.h"

#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

double points(double value)
{
    return std::round(value * 100) / 100;
}

} // namespace

RunReport::RunReport(QIODevice *output, QObject *parent)
    : QObject(parent)
    , m_output(output)
{}

void RunReport::follow(BatchConversion &batch)
{
    connect(&batch, &BatchConversion::documentStarted, this, [this](const QString &document, int index, int count) {
        m_document = document;
        m_pages.clear();
        m_next = 0;
        m_pending.clear();
        m_started.clear();
        m_warned.clear();
        m_pagesWritten = m_pagesFailed = 0;
        m_finished = false;
        write({{u"event"_s, u"document-started"_s}, {u"index"_s, index + 1}, {u"count"_s, count}});
    });
    connect(&batch, &BatchConversion::documentOpened, this, &RunReport::onOpened);
    connect(&batch, &BatchConversion::pagesMeasured, this, &RunReport::onMeasured);
    connect(&batch, &BatchConversion::pageStarted, this, &RunReport::onPageStarted);
    connect(&batch, &BatchConversion::pageWritten, this, &RunReport::onPageWritten);
    connect(&batch, &BatchConversion::pageFailed, this, &RunReport::onPageFailed);
    connect(&batch, &BatchConversion::documentFinished, this,
            [this](const QString &, const ConversionResult &result, const QList<PageSelection::Range> &missing) {
                onDocumentFinished(result, missing);
            });
    connect(&batch, &BatchConversion::documentFailed, this, &RunReport::onDocumentFailed);
}

void RunReport::runStarted(const QStringList &documents, const ConversionOptions &options, ImageFormat written)
{
    m_box = options.pageBox;
    QJsonArray names;
    for (const QString &document : documents)
        names << shownName(document);
    write({{u"event"_s, u"run-started"_s},
           {u"program"_s, QCoreApplication::applicationName()},
           {u"program_version"_s, QCoreApplication::applicationVersion()},
           {u"documents"_s, names},
           {u"options"_s, CommandLine::describe(options, written)}});
}

void RunReport::runFinished(const QString &result, const QString &message, int exitStatus, const BatchSummary &summary)
{
    // A document the run was stopped in.
    if (!m_finished) {
        writeOpened();
        writePending(true);
        finishDocument(result == u"usage"_s ? result : u"cancelled"_s, message);
    }
    QJsonObject event{{u"event"_s, u"run-finished"_s},
                      {u"result"_s, result},
                      {u"exit_status"_s, exitStatus},
                      {u"pages_written"_s, summary.pagesWritten},
                      {u"documents_failed"_s, summary.documentsFailed}};
    if (!message.isEmpty())
        event.insert(u"message"_s, message);
    write(event);
}

void RunReport::onOpened(const QString &document, const OpenedDocument &opened, const QList<int> &pages)
{
    m_document = document;
    m_pages = pages;
    // The box of the first page: a page without the one chosen shows its media box.
    m_opened = {{u"event"_s, u"document-opened"_s},
                {u"page_count"_s, opened.info.pageCount},
                {u"pages_converted"_s, pages.size()},
                {u"encrypted"_s, !opened.password.isEmpty()},
                {u"box"_s, QString(OptionLists::facts(opened.info.boxes.shown(m_box)).commandLineName)}};
    m_repairedOnOpening = opened.info.repaired;
}

void RunReport::onMeasured(const QList<int> &pages, const QList<QSizeF> &sizes)
{
    // Runs of pages of one size: a document's pages are mostly alike.
    QJsonArray runs;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QSizeF size(points(sizes.at(i).width()), points(sizes.at(i).height()));
        if (!runs.isEmpty()) {
            QJsonObject last = runs.last().toObject();
            if (last.value(u"last"_s).toInt() + 1 == pages.at(i) && last.value(u"width"_s).toDouble() == size.width()
                && last.value(u"height"_s).toDouble() == size.height()) {
                last.insert(u"last"_s, pages.at(i));
                runs.replace(runs.size() - 1, last);
                continue;
            }
        }
        runs << QJsonObject{{u"first"_s, pages.at(i)},
                            {u"last"_s, pages.at(i)},
                            {u"width"_s, size.width()},
                            {u"height"_s, size.height()}};
    }
    m_opened.insert(u"page_sizes"_s, runs);
    writeOpened();
}

void RunReport::writeOpened()
{
    if (m_opened.isEmpty())
        return;
    write(std::exchange(m_opened, {}));
    if (std::exchange(m_repairedOnOpening, false)) {
        const RunWarning repaired{RunWarning::Repaired, {}, {}};
        warn(repaired.code(), repaired.message());
    }
}

void RunReport::onPageStarted(int page)
{
    writeOpened();
    if (m_started.contains(page))
        return;
    m_started.insert(page);
    write({{u"event"_s, u"page-started"_s}, {u"page"_s, page}});
}

void RunReport::onPageWritten(const WrittenPage &page)
{
    writeOpened();
    ++m_pagesWritten;
    QJsonObject event{
        {u"event"_s, u"page-written"_s},
        {u"page"_s, page.page},
        {u"file"_s, !m_standardOutput.isEmpty() && page.file.startsWith(m_standardOutput) ? u"-"_s : page.file},
        {u"width"_s, page.facts.size.width()},
        {u"height"_s, page.facts.size.height()},
        {u"dpi"_s, page.dpi},
        {u"colors"_s, page.facts.colors > 0 ? QJsonValue(page.facts.colors) : QJsonValue()}};
    const QJsonObject facts = sha256AndSize(page.file);
    for (auto it = facts.begin(); it != facts.end(); ++it)
        event.insert(it.key(), it.value());
    QList<QJsonObject> told{event};
    if (page.facts.blank)
        told << warning(u"blank-page"_s, tr("The page is blank: every pixel is the same colour."), page.page);
    settle(page.page, told);
}

void RunReport::onPageFailed(const PageFailure &failure)
{
    writeOpened();
    ++m_pagesFailed;
    QList<QJsonObject> told{QJsonObject{{u"event"_s, u"page-failed"_s},
                                        {u"page"_s, failure.page},
                                        {u"code"_s, failure.problem.code()},
                                        {u"message"_s, failure.problem.message}}};
    if (failure.problem.kind == Problem::TooLarge)
        told << warning(u"page-too-large"_s, failure.problem.message, failure.page);
    settle(failure.page, told);
}

void RunReport::settle(int page, const QList<QJsonObject> &events)
{
    m_pending.insert(page, events);
    writePending(false);
}

void RunReport::writePending(bool all)
{
    while (m_next < m_pages.size() && m_pending.contains(m_pages.at(m_next))) {
        for (const QJsonObject &event : m_pending.take(m_pages.at(m_next++)))
            write(event);
    }
    // What is left when the document ends lost its turn to a page that never finished.
    if (all) {
        for (const QList<QJsonObject> &events : std::as_const(m_pending)) {
            for (const QJsonObject &event : events)
                write(event);
        }
        m_pending.clear();
    }
}

void RunReport::onDocumentFinished(const ConversionResult &result, const QList<PageSelection::Range> &missing)
{
    writeOpened();
    writePending(true);
    for (const RunWarning &warning : result.warnings) {
        QJsonObject more;
        if (warning.kind == RunWarning::FontSubstituted)
            more = {{u"font"_s, warning.font}, {u"substitute"_s, warning.substitute}};
        warn(warning.code(), warning.message(), 0, more);
    }
    const Problem &fatal = result.fatal;
    if (fatal.kind == Problem::PageTimedOut) {
        // The page that did not finish: the first one begun without an outcome.
        int page = 0;
        for (qsizetype i = m_next; i < m_pages.size() && page == 0; ++i) {
            if (m_started.contains(m_pages.at(i)))
                page = m_pages.at(i);
        }
        warn(u"page-timeout"_s, fatal.message, page);
    } else if (fatal.kind == Problem::TooLarge) {
        // Refused before rendering: the run as a whole.
        warn(u"page-too-large"_s, fatal.message);
    }
    if (!missing.isEmpty()) {
        QJsonArray pages;
        for (const PageSelection::Range &range : missing)
            pages << QJsonObject{{u"first"_s, range.first}, {u"last"_s, range.last}};
        warn(u"no-such-page"_s, tr("Pages asked for lie past the end of the document."), 0, {{u"pages"_s, pages}});
    }
    if (!fatal.isNone())
        finishDocument(fatal.code(), fatal.message);
    else if (result.cancelled)
        finishDocument(u"cancelled"_s, {});
    else if (!result.failures.isEmpty())
        finishDocument(result.failures.constFirst().problem.code(), FailureSummary::of(result.failures).text);
    else if (!missing.isEmpty())
        finishDocument(u"no-such-page"_s, {});
    else
        finishDocument(u"ok"_s, {});
}

void RunReport::onDocumentFailed(const QString &document, const Problem &problem)
{
    // The engine's fatal problems come here too, after the document's result.
    if (m_finished)
        return;
    m_document = document;
    writeOpened();
    writePending(true);
    finishDocument(problem.code(), problem.message);
}

void RunReport::finishDocument(const QString &result, const QString &message)
{
    if (result != u"ok"_s && result != u"cancelled"_s && m_firstFailure == u"ok"_s)
        m_firstFailure = result;
    QJsonObject event{{u"event"_s, u"document-finished"_s},
                      {u"result"_s, result},
                      {u"pages_written"_s, m_pagesWritten},
                      {u"pages_failed"_s, m_pagesFailed}};
    if (!message.isEmpty())
        event.insert(u"message"_s, message);
    write(event);
    m_finished = true;
}

void RunReport::warn(const QString &code, const QString &message, int page, const QJsonObject &more)
{
    // A document-wide warning is told once, however many runs of Ghostscript it took.
    const QString key = page > 0 ? code + QString::number(page) : code + more.value(u"font"_s).toString();
    if (m_warned.contains(key))
        return;
    m_warned.insert(key);
    write(warning(code, message, page, more));
}

QJsonObject RunReport::warning(const QString &code, const QString &message, int page, const QJsonObject &more)
{
    QJsonObject event = more;
    event.insert(u"event"_s, u"warning"_s);
    event.insert(u"code"_s, code);
    event.insert(u"message"_s, message);
    if (page > 0)
        event.insert(u"page"_s, page);
    return event;
}

QJsonObject RunReport::sha256AndSize(const QString &file)
{
    if (const auto known = m_fileFacts.constFind(file); known != m_fileFacts.cend())
        return *known;
    QFile written(file);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!written.open(QIODevice::ReadOnly) || !hash.addData(&written))
        return {{u"bytes"_s, QJsonValue()}, {u"sha256"_s, QJsonValue()}};
    const QJsonObject facts{{u"bytes"_s, written.size()}, {u"sha256"_s, QString::fromLatin1(hash.result().toHex())}};
    // Only a multi-page file is told of again.
    m_fileFacts = {{file, facts}};
    return facts;
}

QString RunReport::shownName(const QString &document) const
{
    return !m_standardInput.isEmpty() && document == m_standardInput ? u"-"_s : document;
}

void RunReport::write(QJsonObject event)
{
    event.insert(u"version"_s, Version);
    if (!event.contains(u"document"_s) && !m_document.isEmpty() && event.value(u"event"_s) != u"run-started"_s
        && event.value(u"event"_s) != u"run-finished"_s)
        event.insert(u"document"_s, shownName(m_document));
    const QByteArray line = QJsonDocument(event).toJson(QJsonDocument::Compact) + '\n';
    if (m_output->write(line) != line.size())
        m_intact = false;
    // Unbuffered devices have nothing to flush; a file's buffer goes out at once.
    if (auto *file = qobject_cast<QFile *>(m_output); file && !file->flush())
        m_intact = false;
}
