// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/DocumentOpener.h"

#include <QFileInfo>

DocumentOpener::DocumentOpener(ProcessRunner *runner, QObject *parent)
    : QObject(parent)
    , m_reader(runner)
{
    connect(&m_reader, &PageInfoReader::finished, this, &DocumentOpener::onRead);
}

void DocumentOpener::open(const QString &ghostscript, const QString &path, int page, const QString &password)
{
    cancel();
    m_ghostscript = ghostscript;
    m_document = {QFileInfo(path).absoluteFilePath(), password, std::max(1, page), {}};
    m_opening = true;
    Problem problem = GhostscriptCommands::checkDocument(ghostscript, m_document.path, &m_file);
    if (problem.isNone()) {
        m_folder = std::make_unique<PrivateFolder>();
        problem = m_folder->problem();
    }
    if (problem.isNone()) {
        m_link = GhostscriptCommands::linkDocument(m_folder->path(), m_file);
        if (m_link.isEmpty())
            problem = PrivateFolder::full();
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
    m_reader.read(m_ghostscript, m_document.path, m_link, m_document.page, m_document.password);
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
    m_reader.read(m_ghostscript, m_document.path, m_link, m_document.page, m_document.password);
}

void DocumentOpener::cancel()
{
    m_waitingForPassword = false;
    m_reader.cancel();
    finish();
}

void DocumentOpener::finish()
{
    m_opening = false;
    m_folder.reset();
    m_file.close();
}

void DocumentOpener::onRead(const PageInfo &read)
{
    if (!m_opening)
        return;
    const Problem::Kind kind = read.problem.kind;
    if (kind == Problem::NeedsPassword || kind == Problem::WrongPassword) {
        m_waitingForPassword = true;
        emit passwordNeeded(QFileInfo(m_document.path).fileName(), kind == Problem::WrongPassword);
        return;
    }
    finish();
    if (!read.problem.isNone()) {
        emit failed(read.problem);
        return;
    }
    m_document.page = read.page;
    m_document.info = read.info;
    emit opened(m_document);
}
