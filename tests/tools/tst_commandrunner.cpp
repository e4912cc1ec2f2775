// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeMessageBox.h"
#include "tools/DOSOutputs.h"

#include <QSignalSpy>
#include <QTest>

namespace {
QStringList shell(const QString &script, const QStringList &args = {})
{
    return QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"), script, QStringLiteral("sh")} + args;
}
} // namespace

class TestCommandRunner : public QObject
{
    Q_OBJECT
private slots:
    void silentCommand_raisesOneEmptyChunk()
    {
        DOSOutputs runner;
        QSignalSpy spy(&runner, &DOSOutputs::ReceiveOutputs);
        QCOMPARE(runner.ExecuteCommand({QStringLiteral("true")}), QString());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QString());
        QVERIFY(runner.lastStatus().isCleanExit());
    }

    void longOutput_arrivesInChunksOfAtMost256Bytes()
    {
        DOSOutputs runner;
        QSignalSpy spy(&runner, &DOSOutputs::ReceiveOutputs);
        const QString output = runner.ExecuteCommand(shell(QStringLiteral("i=0; while [ $i -lt 100 ]; do "
                                                                          "echo line-$i; i=$((i+1)); done")));
        QVERIFY(output.size() > 600);
        QVERIFY(spy.count() >= 4);
        QString joined;
        for (const QList<QVariant> &args : spy) {
            QVERIFY(args.at(0).toString().toUtf8().size() <= DOSOutputs::ReadChunkSize);
            joined += args.at(0).toString();
        }
        QCOMPARE(joined, output);
        QCOMPARE(runner.Outputs(), output);
        QVERIFY(output.startsWith(QLatin1String("line-0\nline-1\n")));
        QVERIFY(output.endsWith(QLatin1String("line-99\n")));
    }

    void standardError_isInterleavedInOrder()
    {
        DOSOutputs runner;
        const QString output = runner.ExecuteCommand(
            shell(QStringLiteral("echo one; echo two >&2; sleep 0.05; echo three; echo four >&2")));
        QCOMPARE(output, QStringLiteral("one\ntwo\nthree\nfour\n"));
    }

    void multiByteCharacterSplitBetweenReads_comesBackWhole()
    {
        DOSOutputs runner;
        // 255 bytes, then a two-byte character straddling the first read's end.
        const QString output =
            runner.ExecuteCommand(shell(QStringLiteral("printf '%255s\\303\\251t\\303\\251' ''")));
        QCOMPARE(output, QString(255, QLatin1Char(' ')) + QStringLiteral("\u00e9t\u00e9"));
    }

    void awkwardArgument_reachesChildAsOneArgument_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("blanks") << "my file  name.pdf";
        QTest::newRow("quotes") << "it's \"quoted\".pdf";
        QTest::newRow("shell syntax") << "$(touch /tmp/SFGpwned); rm -rf x & `id` | $HOME.pdf";
        QTest::newRow("non-ASCII") << "Gr\u00fc\u00dfe \u65e5\u672c.pdf";
        QTest::newRow("leading dash") << "-dNOSAFER";
    }
    void awkwardArgument_reachesChildAsOneArgument()
    {
        QFETCH(QString, argument);
        DOSOutputs runner;
        const QString output = runner.ExecuteCommand(
            shell(QStringLiteral("printf '%s|' \"$#\" \"$@\""), {argument}));
        QCOMPARE(output, QStringLiteral("1|") + argument + QLatin1Char('|'));
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/SFGpwned")));
    }

    void childHasNoStandardInput()
    {
        DOSOutputs runner;
        QCOMPARE(runner.ExecuteCommand({QStringLiteral("cat")}), QString());
        QVERIFY(runner.lastStatus().isCleanExit());
    }

    void emptyArgument_repeatsStoredCommand()
    {
        DOSOutputs runner;
        runner.ExecuteCommand({QStringLiteral("echo"), QStringLiteral("again")});
        QCOMPARE(runner.ExecuteCommand(), QStringLiteral("again\n"));
        QCOMPARE(runner.CommandLine(), QStringLiteral("echo again"));
    }

    void emptyCommand_saysCommandLineEmpty()
    {
        FakeMessageBox box;
        DOSOutputs runner;
        QCOMPARE(runner.ExecuteCommand(), QString());
        QCOMPARE(box.messages, QStringList{QStringLiteral("Command Line empty")});
        QCOMPARE(box.icons.value(0), IMessageBox::Icon::Critical);
    }

    void missingProgram_saysNotFoundAndKeepsOutputs()
    {
        FakeMessageBox box;
        DOSOutputs runner;
        runner.ExecuteCommand({QStringLiteral("echo"), QStringLiteral("kept")});
        QCOMPARE(runner.ExecuteCommand({QStringLiteral("/no/such/program-sfg")}), QString());
        QCOMPARE(box.messages, QStringList{QStringLiteral("File or command not found")});
        QCOMPARE(runner.Outputs(), QStringLiteral("kept\n"));
        QCOMPARE(runner.lastStatus().outcome, ProcessStatus::NotStarted);
    }

    void exitCodeAndCrash_areToldApart()
    {
        DOSOutputs runner;
        runner.ExecuteCommand(shell(QStringLiteral("echo partial; exit 3")));
        QCOMPARE(runner.lastStatus().outcome, ProcessStatus::Exited);
        QCOMPARE(runner.lastStatus().exitCode, 3);
        QCOMPARE(runner.ExecuteCommand(shell(QStringLiteral("echo before; kill -SEGV $$"))),
                 QStringLiteral("before\n"));
        QCOMPARE(runner.lastStatus().outcome, ProcessStatus::Crashed);
        QCOMPARE(runner.lastStatus().exitCode, 11);
    }
};

QTEST_GUILESS_MAIN(TestCommandRunner)
#include "tst_commandrunner.moc"
