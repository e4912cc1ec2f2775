// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/CommandLine.h"
#include "conversion/ConversionEngine.h"
#include "preview/DocumentOpener.h"

#include <QObject>

class QTextStream;

// A conversion without a window: opens each document in turn, converts its pages with the same engine as
// the window and reports progress and every failure on standard error. A document that fails is reported
// and the next one is still converted.
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
    void openNext();
    void onPasswordNeeded(const QString &fileName, bool retry);
    void onOpened(const OpenedDocument &opened);
    void onFinished(const ConversionResult &result);
    void reportMissingPages();
    // The document failed; the run goes on with the next unless the problem would stop every one.
    void failWith(const Problem &problem);
    void report(const Problem &problem);
    void exit(int code);
    // Errors start with the program's name, as other tools' do; progress lines do not.
    static QString programPrefix();

    CommandLineRequest m_request;
    QString m_ghostscript;
    QTextStream &m_messages;
    DocumentOpener m_opener;
    ConversionEngine *m_engine = nullptr;
    qsizetype m_next = 0; // the next document to open
    QString m_current;
    std::optional<QString> m_password; // read from standard input once, tried on each document that asks
    int m_pageCount = 0;
    QList<PageSelection::Range> m_missingPages;
    int m_written = 0;
    bool m_anyFailed = false;
    bool m_stopped = false;
};
