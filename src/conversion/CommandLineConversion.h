// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/CommandLine.h"
#include "conversion/ConversionEngine.h"
#include "tools/PrivateFolder.h"

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

    // password is used when the request reads it from standard input.
    void start(const QString &password = {});
    // Stops at once, as for a termination signal; exited() follows.
    void stop();

signals:
    void exited(int exitCode);

private:
    void startInfo();
    void onInfo(const ProcessResult &result);
    void onFinished(const ConversionResult &result);
    void failWith(const Problem &problem);
    // Errors start with the program's name, as other tools' do; progress lines do not.
    static QString programPrefix();

    CommandLineRequest m_request;
    QString m_ghostscript;
    QString m_password;
    QTextStream &m_messages;
    ProcessRunner *m_info = nullptr;
    ConversionEngine *m_engine = nullptr;
    std::unique_ptr<PrivateFolder> m_folder; // holds the link the page count reads the document through
    QString m_marker;
    QByteArray m_passwordArguments;
    bool m_legacyInterpreter = false;
    int m_pageCount = 0;
    int m_missingPages = 0;
    bool m_stopped = false;
};
