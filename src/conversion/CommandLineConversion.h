// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/CommandLine.h"
#include "conversion/ConversionEngine.h"
#include "preview/DocumentOpener.h"

#include <QObject>

class QTextStream;

// A conversion without a window: counts the pages, converts the range with the same engine as the window
// and reports progress and every failure on standard error.
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
    void onOpened(const OpenedDocument &opened);
    void onFinished(const ConversionResult &result);
    void failWith(const Problem &problem);
    // Errors start with the program's name, as other tools' do; progress lines do not.
    static QString programPrefix();

    CommandLineRequest m_request;
    QString m_ghostscript;
    QTextStream &m_messages;
    DocumentOpener m_opener;
    ConversionEngine *m_engine = nullptr;
    int m_pageCount = 0;
    int m_missingPages = 0;
    bool m_stopped = false;
};
