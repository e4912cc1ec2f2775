// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CommandLine.h"
#include "conversion/BatchConversion.h"

#include <QFile>
#include <QMap>
#include <QObject>
#include <QSet>

#include <memory>

class PrivateFolder;
class QTextStream;
class RunReport;

// A conversion without a window: converts each document with the same engine as the window and reports
// progress and every failure on standard error.
class CommandLineConversion : public QObject
{
    Q_OBJECT
public:
    CommandLineConversion(const CommandLineRequest &request, const QString &ghostscript, QTextStream &messages,
                          QObject *parent = nullptr);
    ~CommandLineConversion() override;

    void start();
    // Stops at once, as for a termination signal; exited() follows, with exitCode.
    void stop(int exitCode = 1);

signals:
    void exited(int exitCode);

private:
    void onPasswordNeeded(const QString &fileName, bool retry);
    void onDocumentFinished(const ConversionResult &result, const QList<PageSelection::Range> &missing, int pageCount);
    void onFinished(const BatchSummary &summary);
    void report(Problem problem);
    void reportMissingPages(const QList<PageSelection::Range> &missing, int pageCount);
    // Standard input's document into the scratch folder, standard output's image planned there.
    Problem prepareStreams(BatchRequest &batch);
    bool openReport();
    // Ends the run before or instead of converting: 2 for a mistake in what was asked.
    void end(int exitCode, const QString &result, const QString &message = {});
    void refuseUsage(const QString &message);
    bool sendToStandardOutput();
    // Errors start with the program's name, as other tools' do; progress lines do not.
    static QString programPrefix();

    CommandLineRequest m_request;
    QString m_ghostscript;
    QTextStream &m_messages;
    BatchConversion m_batch;
    bool m_passwordRead = false;
    QString m_lastWritten;
    // Pages are told of in order, but two halves of a range are written at once: a page's "Wrote" waits for its
    // "Processing".
    QSet<int> m_told;
    QMap<int, QString> m_heldWrites;
    std::unique_ptr<PrivateFolder> m_scratch; // for the streams' files
    QFile m_reportFile;
    std::unique_ptr<RunReport> m_report;
    QString m_usageError; // the run was stopped for it
    int m_stopExitCode = 1;
    bool m_interrupted = false; // while standard input was read
};
