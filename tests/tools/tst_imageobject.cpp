// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestDocuments.h"
#include "tools/MagickImageObject.h"

#include <QTemporaryDir>
#include <QTest>

using TestDocuments::colorCount;
using TestDocuments::imageSize;

class TestImageObject : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_source;
    MagickImageObject m_magick;

    QString out(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        m_source = m_dir.filePath(QStringLiteral("page.tmp")); // no image extension, like the temporary bitmaps
        QVERIFY(TestDocuments::writeGradientPng(m_source, 400, 300, 50));
    }

    void argumentTranslation()
    {
        const ArgVector vector{QStringLiteral("in"), QString(), QStringLiteral("-dither"), QStringLiteral("-colors"),
                               256, QStringLiteral("-dither"), QStringLiteral("None"), QStringLiteral("out")};
        QCOMPARE(toMagickArguments(vector),
                 (QStringList{"in", "-dither", "Riemersma", "-colors", "256", "-dither", "None", "out"}));
    }

    void identify_returnsWidthAndHeight()
    {
        QCOMPARE(m_magick.identify({QStringLiteral("-format"), QStringLiteral("%w"), m_source}), QStringLiteral("400"));
        QCOMPARE(m_magick.identify({QStringLiteral("-format"), QStringLiteral("%h"), m_source}), QStringLiteral("300"));
    }

    void convertVectors_produceTheImageTheyShould_data()
    {
        QTest::addColumn<ArgVector>("options");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("maxColors");
        QTest::newRow("trim") << ArgVector{QStringLiteral("-trim")} << "trim.png" << QSize(300, 200) << 100000;
        QTest::newRow("+dither 16 colors") << ArgVector{QStringLiteral("+dither"), QStringLiteral("-colors"), 16}
                                           << "c16.png" << QSize(400, 300) << 16;
        QTest::newRow("bare -dither 4 colors") << ArgVector{QStringLiteral("-dither"), QStringLiteral("-colors"), 4}
                                               << "c4.gif" << QSize(400, 300) << 4;
        QTest::newRow("empty trim element, 256 colors")
            << ArgVector{QString(), QStringLiteral("+dither"), QStringLiteral("-colors"), 256} << "c256.png"
            << QSize(400, 300) << 256;
        QTest::newRow("monochrome") << ArgVector{QStringLiteral("-dither"), QStringLiteral("-monochrome")} << "bw.png"
                                    << QSize(400, 300) << 2;
        QTest::newRow("resize box") << ArgVector{QStringLiteral("-resize"), QStringLiteral("258x258")} << "box.bmp"
                                    << QSize(258, 194) << 100000;
        QTest::newRow("resize percent") << ArgVector{QStringLiteral("-resize"), QStringLiteral("50%")} << "half.jpg"
                                        << QSize(200, 150) << 100000;
    }
    void convertVectors_produceTheImageTheyShould()
    {
        QFETCH(ArgVector, options);
        QFETCH(QString, output);
        const ArgVector vector = ArgVector{m_source} + options + ArgVector{out(output)};
        QVERIFY2(m_magick.convert(vector), qPrintable(m_magick.lastError()));
        QFETCH(QSize, size);
        QFETCH(int, maxColors);
        QCOMPARE(imageSize(out(output)), size);
        QVERIFY(colorCount(out(output)) <= maxColors);
        QVERIFY(colorCount(out(output)) >= 2);
    }

    void ditherSetting_changesTheReduction()
    {
        QVERIFY(m_magick.convert({m_source, QStringLiteral("+dither"), QStringLiteral("-colors"), 4, out("flat.png")}));
        QVERIFY(m_magick.convert({m_source, QStringLiteral("-dither"), QStringLiteral("-colors"), 4, out("dith.png")}));
        QVERIFY(QFileInfo(out("flat.png")).size() < QFileInfo(out("dith.png")).size());
    }

    void widthPastDebiansCap_isAccepted()
    {
        // Debian's policy stops at 16K pixels a side; the program's own policy lets large pages through.
        QVERIFY2(m_magick.convert({"-size", "17000x2", "xc:white", out("wide.png")}), qPrintable(m_magick.lastError()));
        QCOMPARE(imageSize(out("wide.png")), QSize(17000, 2));
    }

    void failure_keepsImageMagicksMessage()
    {
        QVERIFY(!m_magick.convert({out("missing.png"), out("never.png")}));
        QVERIFY(m_magick.lastError().contains(QLatin1String("missing.png")));
        QVERIFY(!QFile::exists(out("never.png")));
        QCOMPARE(m_magick.identify({QStringLiteral("-format"), QStringLiteral("%w"), out("missing.png")}), QString());
        QVERIFY(m_magick.convert({m_source, out("ok.png")}));
        QCOMPARE(m_magick.lastError(), QString());
    }
};

QTEST_GUILESS_MAIN(TestImageObject)
#include "tst_imageobject.moc"
