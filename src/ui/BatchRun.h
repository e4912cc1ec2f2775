// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/BatchConversion.h"

#include <QObject>
#include <QPointer>

#include <optional>

class FileDialog;
class MessageBox;
class ProgressDialog;
class QuestionGuard;
class QWidget;

// Several documents converted from the window into one folder: one progress window for all, a password
// question for each document that wants one, and one summary at the end.
class BatchRun : public QObject
{
    Q_OBJECT
public:
    BatchRun(QWidget *owner, MessageBox &messages, FileDialog &files, QuestionGuard &questions);

    // Asks whether to convert documents with options, and into which folder, starting from folder; returns
    // the folder chosen, the batch running; an empty folder when the user backed out after agreeing; nothing
    // when the user declined converting them.
    std::optional<QString> offer(const QStringList &documents, const QString &ghostscript,
                                 const ConversionOptions &options, const QString &folder);
    void start(const BatchRequest &request);
    bool isRunning() const { return m_batch.isRunning(); }
    void cancel() { m_batch.cancel(); }
    // The place among the documents of the one begun last, from 1, and their number.
    int documentsStarted() const { return m_started; }
    int documentCount() const { return m_count; }
    // Each document's warnings, each after a space: for the end of the run.
    QString warningsText() const
    {
        return m_warnings.isEmpty() ? QString() : QLatin1Char(' ') + m_warnings.join(QLatin1Char(' '));
    }

signals:
    void finished(const BatchSummary &summary);

private:
    void onPasswordNeeded(const QString &fileName, bool retry);
    void onFinished(const BatchSummary &summary);
    // A document that failed: a line of why for the message, and with the tool's words for its details.
    void addFailure(const QString &line, const QString &toolsWords);
    // The failed documents, a line each, the first few by name.
    QString failureText() const;

    QWidget *m_owner;
    MessageBox &m_messages;
    FileDialog &m_files;
    QuestionGuard &m_questions;
    BatchConversion m_batch;
    QPointer<ProgressDialog> m_progress;
    QStringList m_failures; // a line for each document that failed or lost pages
    QStringList m_warnings; // a sentence for each document repaired or drawn with substitute fonts
    QStringList m_failureDetails;
    QString m_lastAsked; // the document the last password question was about
    int m_started = 0;
    int m_count = 0;
};
