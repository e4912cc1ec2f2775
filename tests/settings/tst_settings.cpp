// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"

#include "settings/OptionsStorage.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QMap<QString, QString> iniValues(const QString &path)
{
    QSettings ini(path, QSettings::IniFormat);
    QMap<QString, QString> values;
    for (const QString &key : ini.allKeys())
        values[key] = ini.value(key).toString();
    return values;
}
} // namespace

class tst_Settings : public QObject
{
    Q_OBJECT
private slots:
    void nothingStored_givesDefaults()
    {
        QTemporaryDir dir;
        QSettingsStore store(dir.filePath("empty.ini"));
        const ConversionOptions options = OptionsStorage::load(store);
        QCOMPARE(options.colorDepth, ColorDepth::SixteenColors);
        QCOMPARE(options.dither, false);
        QCOMPARE(options.antialias, true);
        QCOMPARE(options.format, ImageFormat::Png);
        QCOMPARE(options.jpegQuality, 75);
        QCOMPARE(options.dpi, 144);
        QCOMPARE(options.trim, false);
        QCOMPARE(options.page, 1);
        QVERIFY(options.sourceFile.isEmpty());
        // The window starts from the same values as a fresh settings file.
        QCOMPARE(ConversionOptions(), options);
    }

    void previousVersionFile_loadsEveryFieldAndSavesSameTexts()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("report.pdf");
        QFile(pdf).open(QIODevice::WriteOnly);
        const QString written = dir.filePath("old.ini");
        QFile file(written);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nSourceFile=" + pdf.toUtf8()
                   + "\nColorDepth=3\nDither=1\nImageFormat=2\nCompression=40\npdfpage=2\nWidth=1191\n"
                     "Height=1684\nTrim=1\nAntialias=0\nResolution=5\n");
        file.close();

        const ConversionOptions options = OptionsStorage::load(QSettingsStore(written));
        QCOMPARE(options.sourceFile, pdf);
        QCOMPARE(options.colorDepth, ColorDepth::TwoHundredFiftySixColors);
        QCOMPARE(options.dither, true);
        QCOMPARE(options.format, ImageFormat::Jpg);
        QCOMPARE(options.jpegQuality, 40);
        QCOMPARE(options.page, 2);
        QCOMPARE(options.trim, true);
        QCOMPARE(options.antialias, false);
        QCOMPARE(options.dpi, 300);

        const QString saved = dir.filePath("new.ini");
        QSettingsStore store(saved);
        OptionsStorage::save(store, options, QSize(1191, 1684));
        // The eleven keys keep their texts; the newer ones come beside them with their defaults.
        QMap<QString, QString> expected = iniValues(written);
        expected.insert(
            {{"TypedResolution", ""}, {"FitToBox", "0"}, {"BoxWidth", "0"}, {"BoxHeight", "0"}, {"Transparent", "0"}});
        QCOMPARE(iniValues(saved), expected);
    }

    void newerOptions_surviveARestart()
    {
        const ConversionOptions options{
            .dpi = 150, .fitToBox = true, .boxWidth = 1072, .boxHeight = 1448, .transparent = true, .page = 3};
        MemorySettings store;
        OptionsStorage::save(store, options, {});
        QCOMPARE(OptionsStorage::load(store), options);
        QCOMPARE(store.values.value("BoxWidth"), "1072");
        // A typed resolution has a key of its own; the listed position keeps its meaning for older versions.
        QCOMPARE(store.values.value("TypedResolution"), "150");
        QCOMPARE(store.values.value("Resolution"), "3");
    }

    // Stored settings keep their meaning only while each list keeps its order: it may only grow at its end.
    void storedIndex_meansTheSameOptionForEver_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QList<int>>("meanings"); // what positions 0, 1, 2, ... load as
        using D = ColorDepth;
        QTest::newRow("colour depths") << "ColorDepth"
                                       << QList<int>{int(D::BlackAndWhite), int(D::FourColors),
                                                     int(D::SixteenColors), int(D::TwoHundredFiftySixColors),
                                                     int(D::HiColor),       int(D::Grayscale),
                                                     int(D::SixteenGrays),  int(D::FourGrays)};
        QTest::newRow("formats") << "ImageFormat"
                                 << QList<int>{int(ImageFormat::Png), int(ImageFormat::Gif), int(ImageFormat::Jpg),
                                               int(ImageFormat::Tiff), int(ImageFormat::Webp)};
        QTest::newRow("resolutions") << "Resolution" << QList<int>{72, 96, 120, 144, 192, 300, 600, 1200, 2400};
    }

    void storedIndex_meansTheSameOptionForEver()
    {
        QFETCH(QString, key);
        QFETCH(QList<int>, meanings);
        for (qsizetype index = 0; index < meanings.size(); ++index) {
            MemorySettings stored;
            stored.values[key] = QString::number(index);
            const ConversionOptions options = OptionsStorage::load(stored);
            const int meaning = key == "ColorDepth"    ? int(options.colorDepth)
                                : key == "ImageFormat" ? int(options.format)
                                                       : options.dpi;
            QCOMPARE(meaning, meanings.at(index));
            MemorySettings saved;
            OptionsStorage::save(saved, options, {});
            QCOMPARE(saved.values.value(key), QString::number(index));
        }
    }

    void changesPreview_forEverythingTheOutputShows()
    {
        const ConversionOptions base;
        const auto changed = [&base](auto edit) {
            ConversionOptions options = base;
            edit(options);
            return options.changesPreview(base);
        };
        QVERIFY(changed([](ConversionOptions &o) { o.colorDepth = ColorDepth::FourColors; }));
        QVERIFY(changed([](ConversionOptions &o) { o.dither = !o.dither; }));
        QVERIFY(changed([](ConversionOptions &o) { o.trim = !o.trim; }));
        QVERIFY(changed([](ConversionOptions &o) { o.page = 2; }));
        QVERIFY(changed([](ConversionOptions &o) { o.sourceFile = "b.pdf"; }));
        QVERIFY(changed([](ConversionOptions &o) { o.dpi = 600; }));
        QVERIFY(changed([](ConversionOptions &o) { o.antialias = !o.antialias; }));
        QVERIFY(changed([](ConversionOptions &o) { o.format = ImageFormat::Jpg; }));
        QVERIFY(changed([](ConversionOptions &o) { o.jpegQuality = 10; }));
        QVERIFY(changed([](ConversionOptions &o) {
            o.fitToBox = true;
            o.boxWidth = 800;
        }));
    }

    void badValue_fallsBackToDefault_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("savedBack");
        const auto row = [](const char *name, const char *key, const char *text, const char *savedBack) {
            QTest::newRow(name) << QString(key) << QString(text) << QString(savedBack);
        };
        row("depth past the list", "ColorDepth", "8", "2");
        row("depth not a number", "ColorDepth", "many", "2");
        row("flag not 0 or 1", "Antialias", "2", "1");
        row("flag not a number", "Dither", "yes", "0");
        row("format before the list", "ImageFormat", "-1", "0");
        row("format past the list", "ImageFormat", "5", "0");
        row("quality not a number", "Compression", "4x", "75");
        row("quality above 100", "Compression", "250", "100");
        row("quality empty is the library's", "Compression", "", "");
        row("page zero", "pdfpage", "0", "1");
        row("page beyond an int", "pdfpage", "99999999999", "1");
        row("resolution past the list", "Resolution", "9", "3");
        row("resolution fractional", "Resolution", "2.5", "3");
        row("typed resolution below the range", "TypedResolution", "71", "");
        row("typed resolution fractional", "TypedResolution", "150.5", "");
        row("typed resolution, the highest not listed", "TypedResolution", "2399", "2399");
        row("typed resolution above the range", "TypedResolution", "2401", "");
        row("source file gone", "SourceFile", "/nonexistent/a.pdf", "");
        row("box side negative", "BoxWidth", "-5", "0");
        row("box side too large", "BoxHeight", "100001", "0");
    }

    void badValue_fallsBackToDefault()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, savedBack);
        MemorySettings stored;
        stored.values[key] = text;
        MemorySettings saved;
        OptionsStorage::save(saved, OptionsStorage::load(stored), {});
        QCOMPARE(saved.values.value(key), savedBack);
        // On disk at once: a signal or a lost display skips the destructors.
        QCOMPARE(saved.syncs, 1);
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
