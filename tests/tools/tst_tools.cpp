// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "tools/PrivateFolder.h"
#include "tools/ProcessRunner.h"

#include <QtTest>

using namespace TestSupport;

class tst_Tools : public QObject
{
    Q_OBJECT
private slots:
    void processEnd_isReadFromHowTheChildEnded_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::newRow("clean exit, both streams in order")
            << "echo out; echo err >&2; echo more" << int(ProcessResult::Exited) << 0 << "out\nerr\nmore\n";
        QTest::newRow("exit code") << "echo failed; exit 3" << int(ProcessResult::Exited) << 3 << "failed\n";
        QTest::newRow("segfault after output")
            << "echo Page 1; kill -SEGV $$" << int(ProcessResult::Crashed) << 0 << "Page 1\n";
        QTest::newRow("killed") << "kill -KILL $$" << int(ProcessResult::Crashed) << 0 << "";
        QTest::newRow("cancelled while running")
            << "echo ready; exec sleep 120" << int(ProcessResult::Cancelled) << 0 << "ready\n";
        QTest::newRow("program missing") << QString() << int(ProcessResult::NotStarted) << 0 << QString();
    }

    void processEnd_isReadFromHowTheChildEnded()
    {
        QFETCH(QString, body);
        QFETCH(int, outcome);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QTemporaryDir dir;
        const QString program = body.isNull() ? dir.filePath("missing") : fakeGhostscript(dir.path(), body);
        ProcessRunner runner;
        QSignalSpy finished(&runner, &ProcessRunner::finished);
        connect(&runner, &ProcessRunner::outputReceived, &runner, [&runner](const QString &text) {
            if (text.contains(QLatin1String("ready")))
                runner.cancel();
        });
        runner.start(program, {"-dBATCH"});
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        const auto result = finished.first().first().value<ProcessResult>();
        QCOMPARE(int(result.outcome), outcome);
        QCOMPARE(result.isCleanExit(), outcome == ProcessResult::Exited && result.exitCode == 0);
        if (outcome != ProcessResult::NotStarted)
            QCOMPARE(result.output, output);
        if (outcome == ProcessResult::Exited)
            QCOMPARE(result.exitCode, exitCode);
        QVERIFY(!runner.isRunning());
    }

    void removeStale_dropsOnlyFoldersOfEndedProcesses()
    {
        CaseFolder folder;
        QProcess ended;
        ended.start("true");
        QVERIFY(ended.waitForStarted());
        const qint64 endedPid = ended.processId();
        QVERIFY(ended.waitForFinished());
        const QDir temp(folder.temp());
        const QString stale = QStringLiteral("SFG-%1-abcdef").arg(endedPid);
        const QString live = QStringLiteral("SFG-%1-abcdef").arg(QCoreApplication::applicationPid());
        QVERIFY(temp.mkpath(stale + "/deep") && temp.mkpath(live));
        PrivateFolder::removeStale();
        QCOMPARE(leftovers(temp.path()), QStringList{live});
    }
};

QTEST_GUILESS_MAIN(tst_Tools)
#include "tst_tools.moc"
