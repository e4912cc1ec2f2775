// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeMessageBox.h"
#include "TestDocuments.h"
#include "tools/PathHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace PathHelpers;

class TestPathHelpers : public QObject
{
    Q_OBJECT
private slots:
    void pathParts_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("stripped");
        QTest::newRow("full path") << "/docs/report.pdf" << "/docs/" << "report.pdf" << "report.pdf";
        QTest::newRow("bare name") << "report.pdf" << "" << "" << "report.pdf";
        QTest::newRow("folder only") << "/docs/" << "/docs/" << "" << "";
        QTest::newRow("empty") << "" << "" << "" << "";
        QTest::newRow("deep") << "/a/b/c.png" << "/a/b/" << "c.png" << "c.png";
        QTest::newRow("backslash is a character") << "/a/b\\c.png" << "/a/" << "b\\c.png" << "b\\c.png";
        QTest::newRow("trailing blanks kept") << "/a/b.pdf  " << "/a/" << "b.pdf  " << "b.pdf  ";
    }
    void pathParts()
    {
        QFETCH(QString, path);
        QFETCH(QString, directory);
        QFETCH(QString, fileName);
        QFETCH(QString, stripped);
        QCOMPARE(GetDirectoryPart(path), directory);
        QCOMPARE(GetFileNamePart(path), fileName);
        QCOMPARE(StripDirectory(path), stripped);
    }

    void removeExtension_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two dots") << "page.001.png" << "page.001";
        QTest::newRow("no dot") << "report" << "report";
        QTest::newRow("leading dot only") << ".profile" << ".profile";
        QTest::newRow("dot last") << "a." << "a";
        QTest::newRow("dot in folder") << "/my.docs/report" << "/my";
        QTest::newRow("blanks") << "   " << "";
    }
    void removeExtension()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(RemoveExtension(path), expected);
    }

    void fileExists_onlyOrdinaryFiles()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a file $;&.pdf"));
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        QVERIFY(FileExists(file));
        QVERIFY(!FileExists(dir.path()));
        QVERIFY(!FileExists(dir.filePath(QStringLiteral("missing.pdf"))));
        QVERIFY(!FileExists(QString()));
    }

    void checkFileExists_blankOrMissing_saysFileNotFound()
    {
        FakeMessageBox box;
        QVERIFY(!CheckFileExists(QStringLiteral("  "), true));
        QVERIFY(!CheckFileExists(QStringLiteral("/no/such/file.pdf"), false));
        QCOMPARE(box.messages, QStringList{QStringLiteral("File not found")});
        QCOMPARE(box.icons.value(0), IMessageBox::Icon::Critical);
    }

    void createTempFileName_makesDistinctEmptyFiles()
    {
        QTemporaryDir tmp;
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        const QString first = CreateTempFileName();
        const QString second = CreateTempFileName();
        qunsetenv("TMPDIR");
        QVERIFY(!first.isEmpty());
        QVERIFY(first != second);
        QCOMPARE(GetDirectoryPart(first), QDir(tmp.path()).absolutePath() + QLatin1Char('/'));
        QVERIFY(StripDirectory(first).startsWith(QLatin1String("SFG")));
        QCOMPARE(QFileInfo(first).size(), 0);
        QCOMPARE(TestDocuments::sfgFilesIn(tmp.path()).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestPathHelpers)
#include "tst_pathhelpers.moc"
