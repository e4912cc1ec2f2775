// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeSettingsStore.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsPersistence.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace SettingsPersistence;

namespace {

// Holds the fields as the window's controls would and applies them the same way: a list selection or
// a check box runs its handling only when the value changes.
class ControlsView : public ISettingsView
{
public:
    explicit ControlsView(ConversionSettings &settings) : m_settings(settings)
    {
        // As after the lists are filled at load.
        m_fields = {{SettingField::ColorDepth, "3"}, {SettingField::Resolution, "0"}, {SettingField::ImageFormat, "0"},
                    {SettingField::Compression, "75"}, {SettingField::Width, "0"},    {SettingField::Height, "0"},
                    {SettingField::Dither, "0"},      {SettingField::Trim, "0"},       {SettingField::Antialias, "0"},
                    {SettingField::CurrentPage, "1"}};
        m_settings.applyColorDepth(3);
    }

    QString fieldText(SettingField field) const override { return m_fields.value(field); }
    void applyField(SettingField field, const QString &value) override
    {
        applied << field;
        const bool changed = m_fields.value(field) != value;
        m_fields[field] = value;
        if (!changed)
            return;
        const int n = value.toInt();
        switch (field) {
        case SettingField::ColorDepth: m_settings.applyColorDepth(n); break;
        case SettingField::Dither: m_settings.applyDither(n); break;
        case SettingField::Trim: m_settings.applyTrim(n); break;
        case SettingField::Antialias: m_settings.applyAntialias(n); break;
        default: break;
        }
    }

    QList<SettingField> applied;

private:
    ConversionSettings &m_settings;
    QMap<SettingField, QString> m_fields;
};

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;

    void loadAll(ControlsView &view, ConversionSettings &settings)
    {
        LoadSourceSettings(settingsStore(), view);
        LoadOptionSettings(settingsStore(), view, settings);
    }

private slots:
    void initTestCase()
    {
        // QSettings reads this once, so set it before anything opens the real store.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    void emptyStore_givesFirstRunDefaults()
    {
        FakeSettingsStore store;
        ConversionSettings settings;
        ControlsView view(settings);
        loadAll(view, settings);
        QCOMPARE(view.fieldText(SettingField::ColorDepth), QStringLiteral("2"));
        QCOMPARE(view.fieldText(SettingField::Resolution), QStringLiteral("3"));
        QCOMPARE(view.fieldText(SettingField::Compression), QStringLiteral("75"));
        QCOMPARE(view.fieldText(SettingField::SourceFile), QString());
        QCOMPARE(view.fieldText(SettingField::CurrentPage), QStringLiteral("1"));
        QCOMPARE(view.fieldText(SettingField::Width), QStringLiteral("0"));
        QCOMPARE(settings.DitherOption, QStringLiteral("+dither"));
        QCOMPARE(settings.TrimOption, QString());
        QVERIFY(settings.AntialiasFlag);
        QVERIFY(!settings.MonochromeFlag);
        QCOMPARE(settings.ColorCount, 16);
        QCOMPARE(view.applied,
                 (QList<SettingField>{SettingField::CurrentPage, SettingField::SourceFile, SettingField::ColorDepth,
                                      SettingField::Dither, SettingField::ImageFormat, SettingField::Compression,
                                      SettingField::Width, SettingField::Height, SettingField::Trim,
                                      SettingField::Antialias, SettingField::Resolution}));
    }

    void blackAndWhite_keepsColorCountOfListFilling()
    {
        FakeSettingsStore store;
        store.set(QStringLiteral("ColorDepth"), QStringLiteral("0"));
        ConversionSettings settings;
        ControlsView view(settings);
        loadAll(view, settings);
        QVERIFY(settings.MonochromeFlag);
        QCOMPARE(settings.ColorCount, 256);
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
        QTest::newRow("page too large") << "pdfpage" << "4294967296" << int(SettingField::CurrentPage) << "1";
        QTest::newRow("empty compression kept") << "Compression" << "" << int(SettingField::Compression) << "";
    }
    void corruptValues_fallBackToDefaults()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(int, field);
        QFETCH(QString, expected);
        FakeSettingsStore store;
        store.set(key, stored);
        ConversionSettings settings;
        ControlsView view(settings);
        loadAll(view, settings);
        QCOMPARE(view.fieldText(SettingField(field)), expected);
    }

    void roundTrip_restoresEverySavedValue()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("kept.pdf"));
        QFile(pdf).open(QIODevice::WriteOnly);

        FakeSettingsStore store;
        const QMap<QString, QString> stored{{"SourceFile", pdf}, {"ColorDepth", "4"}, {"Dither", "1"},
                                            {"ImageFormat", "2"}, {"Compression", "30"}, {"pdfpage", "7"},
                                            {"Width", "10"},     {"Height", "20"},  {"Trim", "1"},
                                            {"Antialias", "0"},  {"Resolution", "6"}};
        for (auto it = stored.begin(); it != stored.end(); ++it)
            store.set(it.key(), it.value());
        ConversionSettings settings;
        ControlsView view(settings);
        loadAll(view, settings);
        QCOMPARE(settings.DitherOption, QStringLiteral("-dither"));
        QCOMPARE(settings.TrimOption, QStringLiteral("-trim"));
        QVERIFY(!settings.AntialiasFlag);
        QCOMPARE(settings.ColorCount, 65536);

        store.values.clear();
        SaveSettings(store, view);
        QCOMPARE(store.savedKeys, (QStringList{"SourceFile", "ColorDepth", "Dither", "ImageFormat", "Compression",
                                               "pdfpage", "Width", "Height", "Trim", "Antialias", "Resolution"}));
        for (auto it = stored.begin(); it != stored.end(); ++it)
            QCOMPARE(store.values.value(QStringLiteral("General/") + it.key()), it.value());
    }

    void vanishedSourceFile_isDroppedSilently()
    {
        FakeSettingsStore store;
        store.set(QStringLiteral("SourceFile"), QStringLiteral("/no/such/document.pdf"));
        ConversionSettings settings;
        ControlsView view(settings);
        LoadSourceSettings(store, view);
        QCOMPARE(view.fieldText(SettingField::SourceFile), QString());
    }

    void realStore_writesGeneralSectionOfSheetforgeConf()
    {
        SettingsStore store;
        store.SaveSetting(Section, QStringLiteral("pdfpage"), QStringLiteral("4"));
        QCOMPARE(store.GetSetting(Section, QStringLiteral("pdfpage"), QStringLiteral("1")), QStringLiteral("4"));
        QCOMPARE(store.GetSetting(Section, QStringLiteral("Absent"), QStringLiteral("dflt")), QStringLiteral("dflt"));
        QFile file(m_config.filePath(QStringLiteral("sheetforge/sheetforge.conf")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY2(text.contains("[General]\npdfpage=4"), text.constData());
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
