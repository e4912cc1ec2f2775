// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CommandLine.h"
#include "conversion/BatchConversion.h"

#include <QObject>

class QTextStream;

// A conversion without a window: converts each document with the same engine as the window and reports
// progress and every failure on standard error.
class CommandLineConversion : public QObject
{
    Q_OBJECT
public:
    CommandLineConversion(const CommandLineRequest &request, const QString &ghostscript, QTextStream &messages,
                          QObject *parent = nullptr);

    void start();
    // Stops at once, as for a termination signal; exited() follows.
    void stop();

signals:
    void exited(int exitCode);

private:
    void onPasswordNeeded(const QString &fileName, bool retry);
    void onDocumentFinished(const ConversionResult &result, const QList<PageSelection::Range> &missing, int pageCount);
    void onFinished(const BatchSummary &summary);
    void report(Problem problem);
    void reportMissingPages(const QList<PageSelection::Range> &missing, int pageCount);
    // Errors start with the program's name, as other tools' do; progress lines do not.
    static QString programPrefix();

    CommandLineRequest m_request;
    QString m_ghostscript;
    QTextStream &m_messages;
    BatchConversion m_batch;
    bool m_passwordRead = false;
};
