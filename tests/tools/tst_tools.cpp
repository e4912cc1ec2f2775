// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "tools/PrivateFolder.h"
#include "tools/ProcessRunner.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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

    void removeStale_takesOnlyUnlockedFoldersOfItsOwn()
    {
        CaseFolder folder;
        const QDir temp(folder.temp());
        // A user's files, reached through links and look-alike names, must survive every sweep.
        QVERIFY(QDir().mkpath(folder.path("docs/deep")));
        QFile(folder.path("docs/deep/keep.txt")).open(QIODevice::WriteOnly);
        QFile(folder.path("docs/.sheetforge-lock")).open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(folder.path("docs"), temp.filePath("SFG-30000-linked")));
        QVERIFY(temp.mkpath("SFG-2024-notes1"));
        QFile(temp.filePath("SFG-2024-notes1/notes.txt")).open(QIODevice::WriteOnly);
        const auto madeByUs = [&temp](const QString &name, QFile::Permissions permissions) {
            QVERIFY(temp.mkpath(name + "/deep"));
            QVERIFY(QFile::setPermissions(temp.filePath(name), permissions));
            QFile lock(temp.filePath(name + "/.sheetforge-lock"));
            QVERIFY(lock.open(QIODevice::WriteOnly));
        };
        const QFile::Permissions privateMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        madeByUs("SFG-99999-stale1", privateMode);
        madeByUs("SFG-99999-shared", privateMode | QFile::ReadOther | QFile::ExeOther);
        QVERIFY(QFile::link(folder.path("docs"), temp.filePath("SFG-99999-stale1/deep/link")));
        // An instance in another process namespace: its process id means nothing here, its lock does.
        madeByUs("SFG-1-inuse1", privateMode);
        const int held = ::open(QFile::encodeName(temp.filePath("SFG-1-inuse1/.sheetforge-lock")).constData(), O_RDWR);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
        PrivateFolder live;
        QVERIFY(live.isValid());

        PrivateFolder::removeStale();
        ::close(held);
        QStringList expected{"SFG-1-inuse1", "SFG-2024-notes1", "SFG-30000-linked", "SFG-99999-shared",
                             QFileInfo(live.path()).fileName()};
        expected.sort();
        QCOMPARE(leftovers(temp.path()), expected);
        QVERIFY(QFile::exists(folder.path("docs/deep/keep.txt")));
        QVERIFY(QFile::exists(temp.filePath("SFG-2024-notes1/notes.txt")));

        // Once its owner lets go, the folder is stale.
        PrivateFolder::removeStale();
        QVERIFY(!temp.exists("SFG-1-inuse1"));
        QVERIFY(temp.exists(QFileInfo(live.path()).fileName()));
    }

    void temporaryFolder_isNeverTheCurrentOne()
    {
        CaseFolder folder;
        const QByteArray previous = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(folder.path("missing")));
        const QString current = QDir::currentPath();
        QDir::setCurrent(folder.path());
        const PrivateFolder missing;
        QDir::setCurrent(current);
        qputenv("TMPDIR", previous);
        QVERIFY(!missing.isValid());
        QCOMPARE(int(missing.problem().kind), int(Problem::TemporaryFolderMissing));
        QVERIFY(missing.problem().message.contains(folder.path("missing")));
        QCOMPARE(leftovers(folder.path()), QStringList{"t%03d"});
    }

    void problemDetails_showControlCharactersEscaped()
    {
        const Problem problem =
            Problem::make(Problem::NotPdf, QStringLiteral("a\x1b[2Jb\tc\nd\x7f\u0085"), QStringLiteral("x\x1by.pdf"));
        QCOMPARE(problem.details, QStringLiteral("a\\x1b[2Jb\tc\nd\\x7f\\x85"));
        QVERIFY(problem.message.contains(QLatin1String("x\\x1by.pdf")));
    }
};

QTEST_GUILESS_MAIN(tst_Tools)
#include "tst_tools.moc"
