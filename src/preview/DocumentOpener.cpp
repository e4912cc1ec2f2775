// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/DocumentOpener.h"

#include "tools/ProcessRunner.h"

#include <QFileInfo>

DocumentOpener::DocumentOpener(ProcessRunner *runner, QObject *parent)
    : QObject(parent)
    , m_runner(runner ? runner : new ProcessRunner(this))
{
    connect(m_runner, &ProcessRunner::finished, this, &DocumentOpener::onInfoFinished);
}

void DocumentOpener::open(const QString &ghostscript, const QString &path, int page, const QString &password)
{
    cancel();
    m_ghostscript = ghostscript;
    m_document = {QFileInfo(path).absoluteFilePath(), password, std::max(1, page), {}};
    m_legacyInterpreter = false;
    m_opening = true;
    Problem problem = GhostscriptCommands::checkDocument(ghostscript, m_document.path);
    if (problem.isNone()) {
        m_folder = std::make_unique<PrivateFolder>();
        problem = m_folder->problem();
    }
    if (!problem.isNone()) {
        // After open() has returned, so the caller is listening.
        QMetaObject::invokeMethod(
            this,
            [this, problem] {
                finish();
                emit failed(problem);
            },
            Qt::QueuedConnection);
        return;
    }
    startInfo();
}

void DocumentOpener::providePassword(const std::optional<QString> &password)
{
    if (!m_waitingForPassword)
        return;
    m_waitingForPassword = false;
    if (!password) {
        finish();
        emit abandoned();
        return;
    }
    m_document.password = *password;
    m_legacyInterpreter = false;
    startInfo();
}

void DocumentOpener::cancel()
{
    m_waitingForPassword = false;
    if (m_opening)
        m_runner->cancel();
    finish();
}

void DocumentOpener::finish()
{
    m_opening = false;
    m_folder.reset();
}

void DocumentOpener::startInfo()
{
    const std::optional<QByteArray> passwordArguments =
        m_document.password.isEmpty() ? std::optional<QByteArray>(QByteArray())
                                      : GhostscriptCommands::passwordArguments(m_document.password);
    if (!passwordArguments) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                finish();
                emit failed(Problem::make(Problem::UnusablePassword));
            },
            Qt::QueuedConnection);
        return;
    }
    m_marker = GhostscriptCommands::newMarker();
    const QString link = GhostscriptCommands::linkDocument(m_folder->path(), m_document.path);
    m_runner->setTemporaryFolder(m_folder->path());
    m_runner->start(m_ghostscript,
                    GhostscriptCommands::infoArguments(link, m_document.page, m_marker, !m_document.password.isEmpty(),
                                                       m_legacyInterpreter),
                    *passwordArguments);
}

void DocumentOpener::onInfoFinished(const ProcessResult &result)
{
    if (result.outcome == ProcessResult::Cancelled || !m_opening)
        return;
    const bool withPassword = !m_document.password.isEmpty();
    const DocumentInfo info = GhostscriptCommands::parseInfo(result.output, m_marker, m_legacyInterpreter);
    if (GhostscriptCommands::wantsLegacyInterpreter(info, withPassword)) {
        m_legacyInterpreter = true;
        startInfo();
        return;
    }
    const Problem problem = GhostscriptCommands::inspect(m_document.path, result, info, withPassword);
    if (problem.kind == Problem::NeedsPassword || problem.kind == Problem::WrongPassword) {
        m_waitingForPassword = true;
        emit passwordNeeded(QFileInfo(m_document.path).fileName(), problem.kind == Problem::WrongPassword);
        return;
    }
    if (!problem.isNone()) {
        finish();
        emit failed(problem);
        return;
    }
    // A remembered page may lie past the end of a document that has since shrunk.
    if (m_document.page > info.pageCount || !info.pageSize.isValid()) {
        if (m_document.page == 1) {
            finish();
            emit failed(GhostscriptCommands::madeNothing(m_document.path, result.output));
            return;
        }
        m_document.page = 1;
        startInfo();
        return;
    }
    m_document.info = info;
    finish();
    emit opened(m_document);
}
