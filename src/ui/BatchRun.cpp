// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BatchRun.h"

#include "tools/Problem.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/ProgressDialog.h"
#include "ui/QuestionGuard.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

BatchRun::BatchRun(QWidget *owner, MessageBox &messages, FileDialog &files, QuestionGuard &questions)
    : QObject(owner)
    , m_owner(owner)
    , m_messages(messages)
    , m_files(files)
    , m_questions(questions)
{
    connect(&m_batch, &BatchConversion::passwordNeeded, this, &BatchRun::onPasswordNeeded);
    const auto started = [this](const QString &, int index, int count) {
        m_started = index + 1;
        m_count = count;
    };
    connect(&m_batch, &BatchConversion::documentOpening, this, started);
    connect(&m_batch, &BatchConversion::documentStarted, this, started);
    // The files the run would replace, now that every document's pages are known: asked about once for all.
    connect(&m_batch, &BatchConversion::replacing, this, [this](const QStringList &files) {
        bool agreed = false;
        {
            const QuestionGuard::Asking asking(m_questions);
            agreed = m_messages.askYesNo(m_owner, QCoreApplication::translate("MainWindow",
                                                                              "%n file(s) already exist. Replace them?",
                                                                              nullptr, int(files.size())));
        }
        m_batch.replace(agreed);
    });
    connect(&m_batch, &BatchConversion::documentFailed, this, [this](const QString &document, const Problem &problem) {
        const QString name = Problem::escapeName(QFileInfo(document).fileName());
        const QString why = problem.message.simplified();
        // Most messages name the document already; a second name would only lengthen the line.
        addFailure(why.contains(QLatin1Char('"') + name + QLatin1Char('"')) ? why
                                                                            : QStringLiteral("%1: %2").arg(name, why),
                   problem.details);
    });
    connect(
        &m_batch, &BatchConversion::documentFinished, this,
        // The window converts whole documents: no page asked for is ever missing.
        [this](const QString &document, const ConversionResult &result) {
            if (const QString warned = RunWarning::summary(result.warnings); !warned.isEmpty())
                m_warnings << QStringLiteral("%1: %2").arg(Problem::escapeName(QFileInfo(document).fileName()), warned);
            if (result.failures.isEmpty())
                return;
            const PageFailure &first = result.failures.constFirst();
            addFailure(tr("%1: %n page(s) could not be converted; page %2: %3", nullptr, int(result.failures.size()))
                           .arg(Problem::escapeName(QFileInfo(document).fileName()))
                           .arg(first.page)
                           .arg(first.problem.message.simplified()),
                       FailureSummary::of(result.failures).details);
        });
    connect(&m_batch, &BatchConversion::finished, this, &BatchRun::onFinished);
}

std::optional<QString> BatchRun::offer(const QStringList &documents, const QString &ghostscript,
                                       const ConversionOptions &options, const QString &folder)
{
    QString chosen;
    {
        const QuestionGuard::Asking asking(m_questions);
        if (!m_messages.askYesNo(m_owner, tr("Convert %n document(s) with the current options, each into files of "
                                             "its own name in one folder?",
                                             nullptr, int(documents.size()))))
            return std::nullopt;
        chosen =
            m_files.chooseFolder(m_owner, folder.isEmpty() ? QFileInfo(documents.constFirst()).absolutePath() : folder);
    }
    if (chosen.isEmpty())
        return QString();
    BatchRequest request;
    request.ghostscript = ghostscript;
    request.documents = documents;
    request.options = options;
    request.destination = chosen;
    request.destinationIsFolder = true;
    request.askBeforeReplacing = true;
    start(request);
    return chosen;
}

void BatchRun::start(const BatchRequest &request)
{
    m_failures.clear();
    m_failureDetails.clear();
    m_warnings.clear();
    m_lastAsked.clear();
    m_started = 0;
    m_count = int(request.documents.size());
    m_progress = new ProgressDialog(m_messages, m_owner);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->followBatch(m_batch);
    m_progress->open();
    m_batch.start(request);
}

void BatchRun::onPasswordNeeded(const QString &fileName, bool retry)
{
    // The password given for an earlier document is tried first; its failing is no mistake of the user's
    // for this one.
    const bool askedBefore = std::exchange(m_lastAsked, fileName) == fileName;
    std::optional<QString> password;
    {
        const QuestionGuard::Asking asking(m_questions);
        password = m_messages.askPassword(m_owner, fileName, retry && askedBefore);
    }
    m_batch.providePassword(password);
}

void BatchRun::onFinished(const BatchSummary &summary)
{
    if (m_progress)
        m_progress->finish();
    emit finished(summary);
    if (summary.cancelled && summary.fatal.isNone())
        return;
    const QuestionGuard::Asking asking(m_questions);
    if (!summary.fatal.isNone())
        m_messages.inform(m_owner, summary.fatal.message, m_failures.join(QLatin1Char('\n')));
    else if (!m_failures.isEmpty())
        m_messages.inform(m_owner, failureText(), m_failureDetails.join(QStringLiteral("\n\n")));
}

void BatchRun::addFailure(const QString &line, const QString &toolsWords)
{
    m_failures << line;
    m_failureDetails << (toolsWords.isEmpty() ? line : line + QLatin1Char('\n') + toolsWords);
}

QString BatchRun::failureText() const
{
    QStringList shown = m_failures.mid(0, FailureSummary::Listed);
    if (m_failures.size() > FailureSummary::Listed)
        shown << QCoreApplication::translate("FailureSummary", "and %n more", nullptr,
                                             int(m_failures.size()) - FailureSummary::Listed);
    shown.prepend(tr("%n document(s) could not be converted, or not completely:", nullptr, int(m_failures.size())));
    return shown.join(QLatin1Char('\n'));
}
