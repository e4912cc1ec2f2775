// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/PageInfoReader.h"

#include "tools/ProcessRunner.h"

#include <QCoreApplication>
#include <QFileInfo>

PageInfoReader::PageInfoReader(ProcessRunner *runner, QObject *parent)
    : QObject(parent)
    , m_runner(runner ? runner : new ProcessRunner(this))
{
    connect(m_runner, &ProcessRunner::finished, this, &PageInfoReader::onFinished);
}

void PageInfoReader::read(const QString &ghostscript, const QString &document, const QString &link, int page,
                          const QString &password)
{
    cancel();
    m_ghostscript = ghostscript;
    m_document = document;
    m_page = std::max(1, page);
    m_password = password;
    m_link = link;
    m_legacyInterpreter = false;
    m_reading = true;
    start();
}

void PageInfoReader::cancel()
{
    if (std::exchange(m_reading, false))
        m_runner->cancel();
}

void PageInfoReader::start()
{
    const std::optional<QByteArray> passwordArguments = m_password.isEmpty()
                                                            ? std::optional<QByteArray>(QByteArray())
                                                            : GhostscriptCommands::passwordArguments(m_password);
    if (!passwordArguments) {
        PageInfo result;
        result.problem = Problem::make(Problem::UnusablePassword);
        result.page = m_page;
        // After read() has returned, so the caller is listening.
        QMetaObject::invokeMethod(
            this, [this, result] { report(result); }, Qt::QueuedConnection);
        return;
    }
    m_marker = GhostscriptCommands::newMarker();
    m_runner->setTemporaryFolder(QFileInfo(m_link).path());
    m_runner->start(
        m_ghostscript,
        GhostscriptCommands::infoArguments(m_link, m_page, m_marker, !m_password.isEmpty(), m_legacyInterpreter),
        *passwordArguments);
}

void PageInfoReader::onFinished(const ProcessResult &result)
{
    if (result.outcome == ProcessResult::Cancelled || !m_reading)
        return;
    const bool withPassword = !m_password.isEmpty();
    PageInfo read;
    read.page = m_page;
    read.info = GhostscriptCommands::parseInfo(result.output, m_marker, m_legacyInterpreter);
    if (GhostscriptCommands::wantsLegacyInterpreter(read.info, withPassword)) {
        m_legacyInterpreter = true;
        start();
        return;
    }
    read.problem = GhostscriptCommands::inspect(m_document, m_link, result, read.info, withPassword);
    if (read.problem.isNone()) {
        const QFileInfo file(m_link);
        const QString version =
            QStringLiteral("%1 %2 %3").arg(m_document).arg(file.size()).arg(file.lastModified().toMSecsSinceEpoch());
        if (std::exchange(m_intentOf, version) != version)
            m_printIntent = GhostscriptCommands::declaresPrintIntent(m_link);
        read.info.printIntent = m_printIntent;
    }
    // The older interpreter takes the page count the document claims, and every page takes bytes of its
    // own: a count beyond the file's size is a damaged document, not one to list or convert page by page.
    const qint64 fileSize = QFileInfo(m_document).size();
    if (read.problem.isNone() && read.info.pageCount > fileSize) {
        read.problem =
            Problem::make(Problem::NotPdf,
                          QCoreApplication::translate("PageInfoReader", "The document claims %1 pages in %2 bytes.")
                              .arg(read.info.pageCount)
                              .arg(fileSize),
                          QFileInfo(m_document).fileName());
        report(read);
        return;
    }
    if (read.problem.isNone() && (m_page > read.info.pageCount || !read.info.pageSize(PageBox::Media).isValid())) {
        if (m_page > 1) {
            m_page = 1;
            start();
            return;
        }
        read.problem = GhostscriptCommands::madeNothing(m_document, result.output);
    }
    report(read);
}

void PageInfoReader::report(const PageInfo &result)
{
    if (!std::exchange(m_reading, false))
        return;
    emit finished(result);
}
