// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"

#include "settings/OptionsStorage.h"

#include <QtTest>

using Texts = QMap<QString, QString>;

static ConversionOptions loaded(const Texts &stored)
{
    MemorySettings store;
    store.values = stored;
    return OptionsStorage::load(store);
}

class tst_Settings : public QObject
{
    Q_OBJECT
private slots:
    // Users' settings files rely on the keys and their texts: what is read is saved back alike, and what cannot
    // be read falls back to its first-start text.
    void storedTexts_areSavedBackOrFallBackToTheFirstStarts_data()
    {
        QTest::addColumn<Texts>("stored");
        QTest::addColumn<Texts>("saved"); // where it differs from a first start's
        const auto row = [](const char *name, const Texts &stored, const Texts &saved) {
            QTest::newRow(name) << stored << saved;
        };
        const QString document = QCoreApplication::applicationFilePath(); // any file that exists
        const Texts old{{"SourceFile", document}, {"ColorDepth", "3"}, {"Dither", "1"}, {"ImageFormat", "2"},
                        {"Compression", "40"},    {"pdfpage", "2"},    {"Trim", "1"},   {"Antialias", "0"},
                        {"Resolution", "5"}};
        const Texts newer{{"FitToBox", "1"}, {"BoxWidth", "1072"}, {"BoxHeight", "1448"}, {"Transparent", "1"}};
        row("a previous version's keys", old, old);
        row("newer keys", newer, newer);
        // A typed resolution wins; the listed position keeps a meaning for versions that only know the list.
        row("a typed resolution", {{"Resolution", "5"}, {"TypedResolution", "150"}}, {{"TypedResolution", "150"}});
        row("depth past the list", {{"ColorDepth", "9"}}, {});
        row("CMYK in a TIFF", {{"ColorDepth", "8"}, {"ImageFormat", "3"}}, {{"ColorDepth", "8"}, {"ImageFormat", "3"}});
        row("CMYK in a PNG, edited by hand", {{"ColorDepth", "8"}}, {});
        row("flag not 0 or 1", {{"Antialias", "2"}}, {});
        row("flag not a number", {{"Dither", "yes"}}, {});
        row("format before the list", {{"ImageFormat", "-1"}}, {});
        row("format past the list", {{"ImageFormat", "5"}}, {});
        row("quality not a number", {{"Compression", "4x"}}, {});
        row("quality above 100", {{"Compression", "250"}}, {{"Compression", "100"}});
        row("quality empty is the library's", {{"Compression", ""}}, {{"Compression", ""}});
        row("page zero", {{"pdfpage", "0"}}, {});
        row("page beyond an int", {{"pdfpage", "99999999999"}}, {});
        row("resolution past the list", {{"Resolution", "9"}}, {});
        row("resolution fractional", {{"Resolution", "2.5"}}, {});
        row("typed resolution below the range", {{"TypedResolution", "71"}}, {});
        row("typed resolution, the highest not listed", {{"TypedResolution", "2399"}}, {{"TypedResolution", "2399"}});
        row("typed resolution above the range", {{"TypedResolution", "2401"}}, {});
        row("source file gone", {{"SourceFile", "/nonexistent/a.pdf"}}, {});
        row("box side negative", {{"BoxWidth", "-5"}}, {});
        row("box side too large", {{"BoxHeight", "100001"}}, {});
        const Texts drawing{{"PageBox", "4"},   {"Annotations", "0"},        {"Forms", "0"},
                            {"Printed", "1"},   {"Without", "text,vectors"}, {"Overprint", "2"},
                            {"IccProfile", "1"}};
        row("box and what is drawn", drawing, drawing);
        row("box past the list", {{"PageBox", "5"}}, {});
        row("content unknown", {{"Without", "text,sound"}}, {});
        row("overprint past the list", {{"Overprint", "3"}}, {});
    }

    void storedTexts_areSavedBackOrFallBackToTheFirstStarts()
    {
        QFETCH(Texts, stored);
        QFETCH(Texts, saved);
        Texts expected{{"SourceFile", ""},    {"ColorDepth", "2"},  {"Dither", "0"},     {"ImageFormat", "0"},
                       {"Compression", "75"}, {"pdfpage", "1"},     {"Width", "800"},    {"Height", "600"},
                       {"Trim", "0"},         {"Antialias", "1"},   {"Resolution", "3"}, {"TypedResolution", ""},
                       {"FitToBox", "0"},     {"BoxWidth", "0"},    {"BoxHeight", "0"},  {"Transparent", "0"},
                       {"PageBox", "0"},      {"Annotations", "1"}, {"Forms", "1"},      {"Printed", "0"},
                       {"Without", ""},       {"Overprint", "0"},   {"IccProfile", "0"}};
        expected.insert(saved);
        MemorySettings store;
        OptionsStorage::save(store, loaded(stored), {800, 600});
        QCOMPARE(store.values, expected);
        // On disk at once: a signal or a lost display skips the destructors.
        QCOMPARE(store.syncs, 1);
    }

    // Stored settings keep their meaning only while each list keeps its order: it may only grow at its end.
    void storedPosition_meansTheSameOptionForEver()
    {
        using D = ColorDepth;
        const QList<D> depths{D::BlackAndWhite, D::FourColors, D::SixteenColors, D::TwoHundredFiftySixColors,
                              D::HiColor,       D::Grayscale,  D::SixteenGrays,  D::FourGrays};
        const QList<ImageFormat> formats{ImageFormat::Png, ImageFormat::Gif, ImageFormat::Jpg, ImageFormat::Tiff,
                                         ImageFormat::Webp};
        const QList<int> dpis{72, 96, 120, 144, 192, 300, 600, 1200, 2400};
        for (int i = 0; i < dpis.size(); ++i) {
            const QString at = QString::number(i);
            QCOMPARE(loaded({{"ColorDepth", at}}).colorDepth, depths.value(i, D::SixteenColors));
            QCOMPARE(loaded({{"ImageFormat", at}}).format, formats.value(i, ImageFormat::Png));
            QCOMPARE(loaded({{"Resolution", at}}).dpi, dpis[i]);
        }
    }

    // The preview shows the output's own pixels, size and losses, so every option changes it.
    void changesPreview_forEverythingTheOutputShows()
    {
        const Texts changed{{"ColorDepth", "0"},  {"Dither", "1"},       {"Antialias", "0"},
                            {"ImageFormat", "2"}, {"Compression", "10"}, {"Resolution", "6"},
                            {"FitToBox", "1"},    {"Trim", "1"},         {"Transparent", "1"}};
        for (auto it = changed.begin(); it != changed.end(); ++it)
            QVERIFY2(loaded({{it.key(), it.value()}}).changesPreview(loaded({})), qPrintable(it.key()));
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
