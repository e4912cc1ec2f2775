// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemoryRegistry.h"
#include "TestDocuments.h"
#include "tools/DOSOutputs.h"
#include "tools/GhostscriptCommands.h"
#include "tools/GhostscriptLocator.h"
#include "tools/MagickImageObject.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace GhostscriptLocator;

class TestGhostscript : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // A fake installation: a folder holding the DLL path's folder and, when wanted, the console program.
    QString install(const QString &name, bool withProgram)
    {
        QDir(m_dir.path()).mkpath(name);
        const QString folder = m_dir.filePath(name) + QLatin1Char('/');
        if (withProgram) {
            QFile program(folder + consoleProgramName());
            program.open(QIODevice::WriteOnly);
        }
        return folder + QStringLiteral("gsdll32.dll");
    }

private slots:
    void highestVersionWithProgramWins_data()
    {
        QTest::addColumn<QStringList>("versions"); // name:hasProgram, in enumeration order
        QTest::addColumn<QString>("expected");
        QTest::newRow("8.54 over 8.15") << QStringList{"8.15:1", "8.54:1"} << "8.54";
        QTest::newRow("order does not matter") << QStringList{"8.54:1", "8.15:1"} << "8.54";
        QTest::newRow("9.5 beats 9.10") << QStringList{"9.10:1", "9.5:1"} << "9.5";
        QTest::newRow("missing program falls back") << QStringList{"8.54:0", "8.15:1"} << "8.15";
        QTest::newRow("equal numbers keep the first") << QStringList{"8.5:1", "8.50:1"} << "8.5";
        QTest::newRow("beta skipped") << QStringList{"beta:1"} << "";
        QTest::newRow("10.02.1 reads as 10.02") << QStringList{"10.02.1:1", "9.56:1"} << "10.02.1";
    }
    void highestVersionWithProgramWins()
    {
        QFETCH(QStringList, versions);
        MemoryRegistry registry;
        for (const QString &entry : versions) {
            const QStringList parts = entry.split(QLatin1Char(':'));
            registry.addVersion(QStringLiteral("GPL Ghostscript"), parts[0],
                                install(QTest::currentDataTag() + parts[0], parts[1] == QLatin1String("1")));
        }
        const QString found = FindGhostscript(registry, QStringLiteral("GPL Ghostscript"));
        QFETCH(QString, expected);
        if (expected.isEmpty())
            QCOMPARE(found, QString());
        else
            QCOMPARE(found, m_dir.filePath(QTest::currentDataTag() + expected) + QLatin1Char('/')
                                + consoleProgramName());
    }

    void productOrder_firstUsableProductWins()
    {
        MemoryRegistry registry;
        registry.addKey(QStringLiteral("SOFTWARE\\AFPL Ghostscript")); // present, nothing usable
        registry.addVersion(QStringLiteral("GPL Ghostscript"), QStringLiteral("8.54"),
                            QStringLiteral("  ") + install(QStringLiteral("gpl"), true) + QStringLiteral("  "));
        registry.addVersion(QStringLiteral("GNU Ghostscript"), QStringLiteral("9.0"), install(QStringLiteral("gnu"), true));
        QCOMPARE(LocateGhostscript(registry), m_dir.filePath(QStringLiteral("gpl/")) + consoleProgramName());

        registry.addVersion(QStringLiteral("AFPL Ghostscript"), QStringLiteral("7.0"), install(QStringLiteral("afpl"), true));
        QCOMPARE(LocateGhostscript(registry), m_dir.filePath(QStringLiteral("afpl/")) + consoleProgramName());
    }

    void emptyRegistry_takesGsFromPath()
    {
        MemoryRegistry registry;
        QCOMPARE(LocateGhostscript(registry), QStandardPaths::findExecutable(QStringLiteral("gs")));
        QVERIFY(!LocateGhostscript(registry).isEmpty());
    }

    void commandLines_asText()
    {
        const QString gs = QStringLiteral("/usr/bin/gs");
        QCOMPARE(GhostscriptCommands::previewRender(gs, QStringLiteral("/tmp/SFG1.tmp"), 3, QStringLiteral("/d/a b.pdf"))
                     .join(QLatin1Char(' ')),
                 QStringLiteral("/usr/bin/gs -dSAFER -dBATCH -dUseCropBox -sDEVICE=bmp16m -dNOPAUSE -r72 "
                                "-sOutputFile=/tmp/SFG1.tmp -dFirstPage=3 -dLastPage=3 /d/a b.pdf"));
        QCOMPARE(GhostscriptCommands::pageConversion(gs, QStringLiteral("288"), QStringLiteral("/t/50%.tmp"), 12,
                                                     QStringLiteral("/d/x.pdf"))
                     .join(QLatin1Char(' ')),
                 QStringLiteral("/usr/bin/gs -dSAFER -dBATCH -dUseCropBox -sDEVICE=png16m -dNOPAUSE -r288 "
                                "-sOutputFile=/t/50%%.tmp -dFirstPage=12 -dLastPage=12 /d/x.pdf"));
        QCOMPARE(GhostscriptCommands::pageCount(gs, QStringLiteral("/d/x.pdf")).join(QLatin1Char(' ')),
                 QStringLiteral("/usr/bin/gs -q -dNODISPLAY -dSAFER -dBATCH -dNOPAUSE -dPDFINFO -dFirstPage=1 "
                                "-dLastPage=1 /d/x.pdf"));
        // A relative name that looks like a switch goes in as an absolute path.
        const QStringList relative = GhostscriptCommands::pageCount(gs, QStringLiteral("-x.pdf"));
        QCOMPARE(relative.last(), QDir::current().absoluteFilePath(QStringLiteral("-x.pdf")));
    }

    void parsePageCount_readsInfoOutput()
    {
        QCOMPARE(GhostscriptCommands::parsePageCount(QStringLiteral("        File has 12 pages\nPage 1 MediaBox")), 12);
        QCOMPARE(GhostscriptCommands::parsePageCount(QStringLiteral("        File has 0 page.")), 0);
        QCOMPARE(GhostscriptCommands::parsePageCount(QStringLiteral("   **** Error: Couldn't initialise file.")), -1);
        QCOMPARE(GhostscriptCommands::parsePageCount(QString()), -1);
    }

    void realGhostscript_countsAndRendersAwkwardNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("blanks and quotes") << "my \"odd\" file's.pdf";
        QTest::newRow("shell syntax and percent") << "$(x);&%d 100%.pdf";
        QTest::newRow("non-ASCII") << "\u00fcbersicht \u65e5\u672c.pdf";
        QTest::newRow("leading dash") << "-dNOSAFER.pdf";
    }
    void realGhostscript_countsAndRendersAwkwardNames()
    {
        QFETCH(QString, name);
        const QString gs = LocateGhostscript(MemoryRegistry());
        QDir::setCurrent(m_dir.path());
        QVERIFY(TestDocuments::writePdf(name, {TestDocuments::letter(), TestDocuments::a4(), TestDocuments::letter()}));

        DOSOutputs runner;
        QCOMPARE(GhostscriptCommands::parsePageCount(runner.ExecuteCommand(GhostscriptCommands::pageCount(gs, name))), 3);

        const QString bitmap = m_dir.filePath(QStringLiteral("SFG render %d.tmp"));
        runner.ExecuteCommand(GhostscriptCommands::previewRender(gs, bitmap, 2, name));
        QVERIFY2(runner.lastStatus().isCleanExit(), qPrintable(runner.Outputs()));
        QCOMPARE(TestDocuments::imageSize(bitmap), QSize(595, 842));
        QFile::remove(bitmap);
    }
};

QTEST_MAIN(TestGhostscript)
#include "tst_ghostscript.moc"
