// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"

#include "conversion/ConversionEngine.h"
#include "conversion/PageSelection.h"
#include "conversion/RenderPlan.h"

#include <QtTest>

#include <numeric>

// Unless told otherwise, pages fitted 720 pixels wide: a page 360 points wide renders at 144 dpi, one 720 wide at 72.
struct PlanCase
{
    QList<QSizeF> sizes; // of pages 5, 6, 7, ...
    ConversionOptions options{.fitToBox = true, .boxWidth = 720};
    ImageRoom room{qint64(1) << 40, qint64(1) << 40, qint64(1) << 40}; // memory, disk limit, temporary folder
    QList<PlannedRun> runs;
    QString refusal; // the start of the message when the pages are refused
};
Q_DECLARE_METATYPE(PlanCase)

struct NameCase
{
    QString destination;
    bool numbered;   // the save dialog asked when not
    QString written; // page 2
    ImageFormat format;
    QStringList existing, replaced;
};
Q_DECLARE_METATYPE(NameCase)

class tst_Job : public QObject
{
    Q_OBJECT
private slots:
    // Pages 2 (and 3 when numbered) of 12, GIF chosen: the destination's own extension wins when it is one of ours.
    void outputNames_keepTheChosenNameAndReplaceOnlyWhatWasNotAskedAbout_data()
    {
        QTest::addColumn<NameCase>("c");
        const auto row = [](const char *name, const NameCase &c) { QTest::newRow(name) << c; };
        const ImageFormat png = ImageFormat::Png;
        row("the chosen name, asked about", {"/o/a.png", false, "/o/a.png", png, {"/o/a.png"}, {}});
        const QStringList gif{"/o/a.bmp.gif"};
        row("an extension not ours", {"/o/a.bmp", false, gif.first(), ImageFormat::Gif, gif, gif});
        row("JPEG in capitals", {"/o/a.JPEG", false, "/o/a.JPEG", ImageFormat::Jpg});
        const QStringList dots{"/o/a.b002.png", "/o/a.b.png", "/o/a.b004.png"};
        row("numbered, dots in the name", {"/o/a.b.png", true, dots.first(), png, dots, {dots.first()}});
        row("numbered, upper-case extension", {"/o/A.PNG", true, "/o/A002.PNG", png});
        // The dialog did not ask, expecting numbered files; the .tif chosen makes it one file.
        const QStringList tif{"/o/old.tif"};
        row("a TIFF where numbered files were expected", {tif.first(), true, tif.first(), ImageFormat::Tiff, tif, tif});
    }

    void outputNames_keepTheChosenNameAndReplaceOnlyWhatWasNotAskedAbout()
    {
        QFETCH(NameCase, c);
        const ConversionJob job{.options = {.format = ImageFormat::Gif},
                                .destination = c.destination,
                                .firstPage = 2,
                                .lastPage = c.numbered ? 3 : 2,
                                .numbered = c.numbered,
                                .pageCount = 12};
        QCOMPARE(job.outputFileName(2), c.written);
        QCOMPARE(job.format(), c.format);
        const auto exists = [&c](const QString &name) { return c.existing.contains(name); };
        QCOMPARE(job.outputsToReplace(exists, !c.numbered), c.replaced);
    }

    void renderPlan_groupsNeighboursOfOneResolution_data()
    {
        QTest::addColumn<PlanCase>("c");
        const auto row = [](const char *name, const PlanCase &c) { QTest::newRow(name) << c; };
        const QSizeF narrow(360, 500), wide(720, 500), tiny(18, 18);
        row("neighbours share a run", {.sizes = {narrow, narrow, wide, wide}, .runs = {{0, 2, 144}, {2, 4, 72}}});
        row("a wide page between", {.sizes = {narrow, wide, narrow}, .runs = {{0, 1, 144}, {1, 2, 72}, {2, 3, 144}}});
        // 720 pixels from 21.6 points take 2400 dpi exactly, the most there is.
        row("the highest resolution", {.sizes = {QSizeF(21.6, 500)}, .runs = {{0, 1, 2400}}});
        row("past the highest resolution",
            {.sizes = {QSizeF(21.595, 500)},
             .refusal = "Pages cannot be made 720 x * pixels: it would take 2401 dpi, and the most is 2400 dpi."});
        const ConversionOptions trimmed{.fitToBox = true, .boxWidth = 720, .trim = true};
        row("trimmed pages render at twice", {.sizes = {narrow}, .options = trimmed, .runs = {{0, 1, 288}}});
        row("one page too large, named", {.sizes = {narrow, tiny}, .refusal = "Page 6: Pages cannot be made 720 x *"});
        row("alike pages too large, not named", {.sizes = {tiny, tiny}, .refusal = "Pages cannot be made 720 x *"});
        // Kept transparent, a page takes four copies in a spilled pixel cache: room for the bitmap and three is short.
        const QSizeF a4(595, 842);
        const qint64 pixels = 2479 * 3508, copies = 3 * 10 * pixels, plenty = std::numeric_limits<qint64>::max();
        const ImageRoom folder{0, plenty, 3 * pixels + copies}, limit{0, copies, plenty};
        const ConversionOptions bw{.colorDepth = ColorDepth::BlackAndWhite, .antialias = false, .dpi = 300};
        const ConversionOptions clear{.colorDepth = bw.colorDepth, .antialias = false, .dpi = 300, .transparent = true};
        const QString refused = "The page is too large to convert at 300 dpi: at 2479 x 3508 pixels it needs ";
        row("b/w, the folder's room", {.sizes = {a4}, .options = bw, .room = folder, .runs = {{0, 1, 300}}});
        row("b/w clear, the folder's room", {.sizes = {a4}, .options = clear, .room = folder, .refusal = refused});
        row("b/w clear, the disk limit", {.sizes = {a4}, .options = clear, .room = limit, .refusal = refused});
        row("colours, the disk limit", {.sizes = {a4}, .options = {.dpi = 300}, .room = limit, .runs = {{0, 1, 300}}});
    }

    void renderPlan_groupsNeighboursOfOneResolution()
    {
        QFETCH(PlanCase, c);
        const ConversionJob job{.options = c.options};
        QList<int> pages(c.sizes.size());
        std::iota(pages.begin(), pages.end(), 5);
        const RenderPlan plan = renderPlan(job, pages, c.sizes, c.room);
        QVERIFY2(plan.problem.message.startsWith(c.refusal), qPrintable(plan.problem.message));
        QCOMPARE(plan.problem.isNone(), c.refusal.isEmpty());
        QCOMPARE(plan.runs, c.runs);
    }

    void failureSummary_namesEightPagesThenCountsTheRest_data()
    {
        QTest::addColumn<int>("failed");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("last");
        QTest::newRow("eight") << 8 << 9 << "Page 8: The page could not be converted.";
        QTest::newRow("nine") << 9 << 10 << "and 1 more";
    }

    void failureSummary_namesEightPagesThenCountsTheRest()
    {
        QFETCH(int, failed);
        QFETCH(int, lines);
        QFETCH(QString, last);
        QList<PageFailure> failures;
        for (int page = 1; page <= failed; ++page)
            failures << PageFailure{page, Problem::make(Problem::PageFailed, QStringLiteral("detail %1").arg(page))};
        const FailureSummary summary = FailureSummary::of(failures);
        const QStringList shown = summary.text.split(QLatin1Char('\n'));
        QCOMPARE(std::pair(shown.size(), shown.last()), std::pair(qsizetype(lines), last));
        QVERIFY(shown.first().startsWith(QString::number(failed)));
        QCOMPARE(summary.details.count(QLatin1Char('\n')), failed - 1);
        QVERIFY(summary.details.endsWith(QStringLiteral("detail %1").arg(failed)));
    }

    void pageList_givesEachPageOnceInOrder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<QString>("pages"); // or "!" and a part of the error
        QTest::addColumn<QString>("missing");
        const auto row = [](const char *name, QString text, int count, QString pages, QString missing = {}) {
            QTest::newRow(name) << text << count << pages << missing;
        };
        row("list", "1,3,5-7,10-", 12, "1,3,5-7,10-12");
        row("repeats and disorder", "7,2-3,3,1", 9, "1-3,7");
        row("blanks", " 2 - 3 , 5 ", 9, "2-3,5");
        row("far past the end", "1-2000000000", 3, "1-3", "4-2000000000");
        row("odd", "odd", 15, "1,3,5,7,9,11,13,15");
        row("even and a page", " Even ,1", 7, "1-2,4,6");
        row("odd and a page", "odd,2", 5, "1-3,5");
        row("even of one page", "even", 1, "");
        row("empty", " ", 9, "!");
        row("empty part", "1,,2", 9, "!\"\"");
        row("zero", "0-2", 9, "!\"0-2\": pages are numbered from 1");
        row("backwards", "1,4-2", 9, "!\"4-2\": the first page comes after the last");
        row("a first page beyond an int", "2147483648", 9, "!no document has that many pages");
        row("a last page beyond an int", "1-99999999999", 9, "!no document has that many pages");
    }

    void pageList_givesEachPageOnceInOrder()
    {
        QFETCH(QString, text);
        QFETCH(int, pageCount);
        QFETCH(QString, pages);
        QFETCH(QString, missing);
        QString error;
        const std::optional<PageSelection> selection = PageSelection::parse(text, &error);
        QCOMPARE(!selection, pages.startsWith('!'));
        QVERIFY2(selection || error.contains(pages.mid(1)), qPrintable(error));
        if (!selection)
            return;
        QList<PageSelection::Range> beyond;
        QCOMPARE(PageSelection::text(selection->resolve(pageCount, &beyond)), pages);
        QCOMPARE(PageSelection::text(beyond), missing);
    }
};

QTEST_GUILESS_MAIN(tst_Job)
#include "tst_job.moc"
