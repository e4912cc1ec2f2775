// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <QtTest>

#include <csignal>

using namespace TestSupport;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// The program gets a home, settings and temporary folder of the case's own.
void prepare(QProcess &process, const CaseFolder &folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", folder.temp());
    environment.insert("HOME", folder.path());
    environment.insert("XDG_CONFIG_HOME", folder.path("config"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder.path());
}

Run sheetforge(const CaseFolder &folder, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    prepare(process, folder);
    process.start(QStringLiteral(SHEETFORGE_EXECUTABLE), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

bool isAlive(int pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
}

} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;

    QString doc(const QString &name) const { return m_docs.filePath(name); }

private slots:
    void initTestCase()
    {
        const QSizeF small(200, 150), a4(595, 842);
        QVERIFY(writePdf(doc("one.pdf"), {small}));
        QVERIFY(writePdf(doc("three.pdf"), {small, small, small}));
        QVERIFY(writePdf(doc("five.pdf"), {small, small, small, small, small}));
        QVERIFY(writePdf(doc("long.pdf"), QList<QSizeF>(8, a4)));
        QVERIFY(encrypt(doc("one.pdf"), doc("locked.pdf"), "user"));
        QFile damaged(doc("damaged.pdf")), empty(doc("empty.pdf"));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("%PDF-1.4\nnot really\n") > 0);
        QVERIFY(empty.open(QIODevice::WriteOnly));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        const QString pdf = doc("one.pdf");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--convert";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "sheetforge " SHEETFORGE_VERSION;
        QTest::newRow("unknown option") << QStringList{"--bogus", pdf} << 2 << "bogus";
        QTest::newRow("no document") << QStringList{"--convert", "x.png"} << 2 << "PDF";
        QTest::newRow("pages backwards") << QStringList{"--convert", "x.png", "--pages", "4-2", pdf} << 2 << "--pages";
        QTest::newRow("dpi zero") << QStringList{"--convert", "x.png", "--dpi", "0", pdf} << 2 << "--dpi";
        QTest::newRow("colours unknown") << QStringList{"--convert", "x.png", "--colors", "7", pdf} << 2 << "--colors";
        QTest::newRow("option needs --convert") << QStringList{"--dpi", "300", pdf} << 2 << "--convert";
    }

    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        CaseFolder folder;
        const Run run = sheetforge(folder, arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? run.out : run.err).contains(said), qPrintable(run.out + run.err));
        QCOMPARE(filesIn(folder.path()), QStringList());
    }

    void document_opensOrFailsWithPlainMessage_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QByteArray>("password"); // on standard input when given
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        QTest::newRow("damaged") << "damaged.pdf" << QByteArray() << 1 << "is not a PDF document";
        QTest::newRow("empty") << "empty.pdf" << QByteArray() << 1 << "is empty";
        QTest::newRow("missing") << "gone.pdf" << QByteArray() << 1 << "no longer exists";
        QTest::newRow("right password") << "locked.pdf" << QByteArray("user\n") << 0 << "1 page";
        QTest::newRow("wrong password") << "locked.pdf" << QByteArray("resu\n") << 1 << "not correct";
        QTest::newRow("no password") << "locked.pdf" << QByteArray() << 1 << "--password-stdin";
    }

    void document_opensOrFailsWithPlainMessage()
    {
        QFETCH(QString, document);
        QFETCH(QByteArray, password);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        CaseFolder folder;
        const QString out = folder.path("out.png");
        QStringList arguments{"--convert", out, doc(document)};
        if (!password.isEmpty())
            arguments.prepend("--password-stdin");
        const Run run = sheetforge(folder, arguments, password);
        QVERIFY2(run.exitCode == exitCode && run.err.contains(said), qPrintable(run.err));
        QVERIFY2(!run.err.contains(QLatin1String("GPL Ghostscript")), qPrintable(run.err));
        QCOMPARE(QFile::exists(out), exitCode == 0);
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void pageCount_decidesTheNames_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("pages");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("one page: the destination itself") << "one.pdf" << 0 << "" << QStringList{"out.png"};
        QTest::newRow("three pages") << "three.pdf" << 0 << "" << QStringList{"out001.png", "out002.png", "out003.png"};
        QTest::newRow("range") << "five.pdf" << 0 << "2-4" << QStringList{"out002.png", "out003.png", "out004.png"};
        QTest::newRow("range past the end") << "three.pdf" << 1 << "2-9" << QStringList{"out002.png", "out003.png"};
        QTest::newRow("range after the end") << "three.pdf" << 1 << "5-6" << QStringList();
    }

    void pageCount_decidesTheNames()
    {
        QFETCH(QString, document);
        QFETCH(int, exitCode);
        QFETCH(QString, pages);
        QFETCH(QStringList, written);
        CaseFolder folder;
        QStringList arguments{"--convert", folder.path("out/out.png"), "--dpi", "72", doc(document)};
        if (!pages.isEmpty())
            arguments << "--pages" << pages;
        QDir().mkpath(folder.path("out"));
        const Run run = sheetforge(folder, arguments);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
        QCOMPARE(filesIn(folder.path("out")), written);
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void terminationSignal_stopsAtOnceAndCleansUp()
    {
        CaseFolder folder;
        QDir().mkpath(folder.path("out"));
        QProcess process;
        prepare(process, folder);
        QString said;
        connect(&process, &QProcess::readyReadStandardError, this,
                [&] { said += QString::fromUtf8(process.readAllStandardError()); });
        process.start(QStringLiteral(SHEETFORGE_EXECUTABLE),
                      {"--convert", folder.path("out/scan.png"), "--dpi", "1200", doc("long.pdf")});
        QTRY_VERIFY_WITH_TIMEOUT(said.contains(QLatin1String("Processing page")), 30000);
        const QList<int> rendering = ghostscriptChildren(process.processId());
        QVERIFY(!rendering.isEmpty());
        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(std::none_of(rendering.begin(), rendering.end(), isAlive), 5000);
        QCOMPARE(filesIn(folder.path("out")), QStringList());
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }
};

QTEST_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
