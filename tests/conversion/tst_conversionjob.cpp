// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionJob.h"

#include <QTest>

class TestConversionJob : public QObject
{
    Q_OBJECT

    static ConversionJob job(bool antialias, const QString &resolution = "300")
    {
        ConversionJob job;
        job.destination = "/out/scan.png";
        job.allPages = true;
        job.pageCount = 12;
        job.resolution = resolution;
        job.settings.applyColorDepth(2);
        job.settings.applyDither(0);
        job.settings.applyAntialias(antialias ? 1 : 0);
        return job;
    }

private slots:
    void antialiasing_doublesTheRenderAndHalvesTheImage()
    {
        QCOMPARE(job(true).renderResolution(), QStringLiteral("600"));
        QCOMPARE(job(false).renderResolution(), QStringLiteral("300"));
        QCOMPARE(job(true, "2400").renderResolution(), QStringLiteral("4800"));
        QCOMPARE(job(true).convertVector("B", "O.png"),
                 (ArgVector{"B", "", "-resize", "50%", "+dither", "-colors", 16, "-units", "PixelsPerInch",
                            "-density", "300", "O.png"}));
        QCOMPARE(job(false).convertVector("B", "O.png").mid(0, 4), (ArgVector{"B", "", "-resize", "100%"}));
        // From 600 dpi up Ghostscript halves the doubled render itself, so the library never holds it.
        QVERIFY(!job(true, "300").downscaleInGhostscript());
        QVERIFY(job(true, "600").downscaleInGhostscript());
        QVERIFY(!job(false, "2400").downscaleInGhostscript());
        QCOMPARE(job(true, "600").convertVector("B", "O.png").mid(2, 2), (ArgVector{"-resize", "100%"}));
    }

    void vectorVariants()
    {
        ConversionJob mono = job(false);
        mono.settings.applyColorDepth(0);
        mono.settings.applyTrim(1);
        mono.settings.applyDither(1);
        QCOMPARE(mono.convertVector("B", "O.gif"),
                 (ArgVector{"B", "-trim", "+repage", "-resize", "100%", "-dither", "-monochrome", "-units",
                            "PixelsPerInch", "-density", "300", "O.gif"}));
        QCOMPARE(job(false).convertVector("B", "O.png").at(6).typeId(), QMetaType::Int);

        ConversionJob jpeg = job(false);
        jpeg.compression = "30";
        QVERIFY(jpeg.convertVector("B", "O.jpg").contains("-quality"));
        QCOMPARE(jpeg.convertVector("B", "O.jpg").at(jpeg.convertVector("B", "O.jpg").indexOf("-quality") + 1),
                 QVariant("30"));
        jpeg.compression = "0";
        QVERIFY(jpeg.convertVector("B", "O.jpg").contains("1"));
        QVERIFY(!jpeg.convertVector("B", "O.png").contains("-quality"));
        jpeg.compression = "";
        QVERIFY(!jpeg.convertVector("B", "O.jpg").contains("-quality"));
    }

    void pageNames_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("name");
        QTest::newRow("first") << "/out/scan.png" << "png" << 12 << 1 << "/out/scan001.png";
        QTest::newRow("twelve") << "/out/scan.png" << "png" << 12 << 12 << "/out/scan012.png";
        QTest::newRow("hundred") << "/out/scan.png" << "png" << 999 << 100 << "/out/scan100.png";
        QTest::newRow("no extension") << "/out/scan" << "gif" << 2 << 2 << "/out/scan002.gif";
        QTest::newRow("format wins over the extension") << "/out/scan.png" << "jpg" << 5 << 3 << "/out/scan003.jpg";
        QTest::newRow("dots in the name") << "/out/a.b.png" << "png" << 2 << 1 << "/out/a.b001.png";
        QTest::newRow("thousand pages sort") << "/out/scan.png" << "png" << 1000 << 7 << "/out/scan0007.png";
        QTest::newRow("thousandth page") << "/out/scan.png" << "png" << 1000 << 1000 << "/out/scan1000.png";
    }
    void pageNames()
    {
        QFETCH(QString, destination);
        QFETCH(QString, format);
        QFETCH(int, pageCount);
        QFETCH(int, page);
        QFETCH(QString, name);
        ConversionJob job;
        job.destination = destination;
        job.imageFormat = format;
        job.pageCount = pageCount;
        job.allPages = true;
        QCOMPARE(job.outputFileName(page), name);
        job.allPages = false;
        QCOMPARE(job.outputFileName(page), destination);
    }
};

QTEST_GUILESS_MAIN(TestConversionJob)
#include "tst_conversionjob.moc"
