// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeSettingsStore.h"
#include "MemoryRegistry.h"
#include "settings/SettingsStore.h"
#include "ui/frmMainWindow.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace SettingsPersistence;

// The settings restore and save through the real window that shows them; no document is opened.
class TestSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;

    static std::unique_ptr<frmMainWindow> load()
    {
        auto window = std::make_unique<frmMainWindow>();
        window->load(MemoryRegistry());
        return window;
    }

private slots:
    void initTestCase()
    {
        // QSettings reads this once, so set it before anything opens the real store.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    void blackAndWhite_keepsTheColourCountOfListFilling()
    {
        FakeSettingsStore store;
        store.set("ColorDepth", "0");
        auto window = load();
        QVERIFY(window->conversionSettings().MonochromeFlag);
        QCOMPARE(window->conversionSettings().ColorCount, 256);
    }

    void corruptValues_fallBackToDefaults_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("expected");
        const int depth = int(SettingField::ColorDepth), res = int(SettingField::Resolution);
        QTest::newRow("depth not a number") << "ColorDepth" << "abc" << depth << "2";
        QTest::newRow("depth past list") << "ColorDepth" << "5" << depth << "2";
        QTest::newRow("depth negative") << "ColorDepth" << "-1" << depth << "2";
        QTest::newRow("resolution fraction") << "Resolution" << "2.5" << res << "3";
        QTest::newRow("resolution huge") << "Resolution" << "99999999999" << res << "3";
        QTest::newRow("resolution in range") << "Resolution" << " 8 " << res << "8";
        QTest::newRow("format past list") << "ImageFormat" << "3" << int(SettingField::ImageFormat) << "0";
        QTest::newRow("dither grayed") << "Dither" << "2" << int(SettingField::Dither) << "0";
        QTest::newRow("antialias garbage") << "Antialias" << "yes" << int(SettingField::Antialias) << "1";
        QTest::newRow("page zero") << "pdfpage" << "0" << int(SettingField::CurrentPage) << "1";
        QTest::newRow("page past 32 bits") << "pdfpage" << "4294967296" << int(SettingField::CurrentPage) << "1";
        QTest::newRow("empty compression kept") << "Compression" << "" << int(SettingField::Compression) << "";
        QTest::newRow("compression cut") << "Compression" << "150" << int(SettingField::Compression) << "100";
        QTest::newRow("compression garbage") << "Compression" << "x1" << int(SettingField::Compression) << "75";
    }
    void corruptValues_fallBackToDefaults()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(int, field);
        QFETCH(QString, expected);
        FakeSettingsStore store;
        store.set(key, stored);
        QCOMPARE(load()->fieldText(SettingField(field)), expected);
    }

    void roundTrip_savesEveryKeyInOrderAndRestoresIt()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("gone by the next start.pdf");
        FakeSettingsStore store;
        const QMap<QString, QString> stored{{"SourceFile", pdf}, {"ColorDepth", "4"}, {"Dither", "1"},
                                            {"ImageFormat", "2"}, {"Compression", "30"}, {"pdfpage", "7"},
                                            {"Width", "0"},      {"Height", "0"},   {"Trim", "1"},
                                            {"Antialias", "0"},  {"Resolution", "6"}};
        for (auto it = stored.begin(); it != stored.end(); ++it)
            store.set(it.key(), it.value());
        auto window = load();
        QCOMPARE(window->conversionSettings().DitherOption, QStringLiteral("-dither"));
        QCOMPARE(window->conversionSettings().TrimOption, QStringLiteral("-trim"));
        QVERIFY(!window->conversionSettings().AntialiasFlag);
        QCOMPARE(window->conversionSettings().ColorCount, 65536);

        store.values.clear();
        window->close();
        QCOMPARE(store.savedKeys, (QStringList{"SourceFile", "ColorDepth", "Dither", "ImageFormat", "Compression",
                                               "pdfpage", "Width", "Height", "Trim", "Antialias", "Resolution"}));
        for (auto it = stored.begin(); it != stored.end(); ++it) {
            // The document no longer exists, so it is dropped without a word.
            const QString expected = it.key() == "SourceFile" ? QString() : it.value();
            QCOMPARE(store.values.value("General/" + it.key()), expected);
        }
    }

    void realStore_writesGeneralSectionOfSheetforgeConf()
    {
        SettingsStore store;
        store.SaveSetting(Section, "pdfpage", "4");
        QCOMPARE(store.GetSetting(Section, "pdfpage", "1"), QStringLiteral("4"));
        QCOMPARE(store.GetSetting(Section, "Absent", "dflt"), QStringLiteral("dflt"));
        QFile file(m_config.filePath("sheetforge/sheetforge.conf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY2(text.contains("[General]\npdfpage=4"), text.constData());
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
