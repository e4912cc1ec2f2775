// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"

#include "conversion/ConversionEngine.h"
#include "conversion/PageSelection.h"
#include "conversion/RenderPlan.h"
#include "document/OutputSize.h"

#include <QtTest>

// Pages fitted 720 pixels wide: a page 360 points wide renders at 144 dpi, one 720 wide at 72.
struct PlanCase
{
    QList<QSizeF> sizes; // of pages 5, 6, 7, ...
    bool trim = false;
    QList<PlannedRun> runs;
    QString refusal; // the start of the message when the pages are refused
};
Q_DECLARE_METATYPE(PlanCase)

class tst_Job : public QObject
{
    Q_OBJECT
private slots:
    void outputsToReplace_areTheOnesNotAskedAboutYet_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("numbered");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QStringList>("replaced");
        QTest::newRow("the chosen name: the save dialog asked")
            << "/o/a.png" << false << QStringList{"/o/a.png"} << QStringList();
        QTest::newRow("a name that gained the extension")
            << "/o/a.bmp" << false << QStringList{"/o/a.bmp.png"} << QStringList{"/o/a.bmp.png"};
        QTest::newRow("numbered, some exist")
            << "/o/a.png" << true << QStringList{"/o/a.png", "/o/a002.png", "/o/a004.png"}
            << QStringList{"/o/a002.png"};
        QTest::newRow("numbered, none exist") << "/o/a.png" << true << QStringList() << QStringList();
        // The dialog did not ask, expecting numbered PNGs; the .tif chosen makes it one file.
        QTest::newRow("a TIFF chosen where numbered files were expected")
            << "/o/old.tif" << true << QStringList{"/o/old.tif"} << QStringList{"/o/old.tif"};
    }

    void outputsToReplace_areTheOnesNotAskedAboutYet()
    {
        QFETCH(QString, destination);
        QFETCH(bool, numbered);
        QFETCH(QStringList, existing);
        QFETCH(QStringList, replaced);
        ConversionJob job;
        job.destination = destination;
        job.numbered = numbered;
        job.firstPage = 2;
        job.lastPage = numbered ? 3 : 2;
        job.pageCount = 5;
        // The dialog asks when it expects one file, as it did before the name was chosen.
        job.options.format = ImageFormat::Png;
        const bool dialogAsked = !numbered;
        QCOMPARE(
            job.outputsToReplace([&existing](const QString &name) { return existing.contains(name); }, dialogAsked),
            replaced);
    }

    void renderPlan_groupsNeighboursOfOneResolution_data()
    {
        QTest::addColumn<PlanCase>("c");
        const QSizeF narrow(360, 500), wide(720, 500), tiny(18, 18);
        QTest::newRow("alike pages, one run") << PlanCase{.sizes = {narrow, narrow, narrow}, .runs = {{0, 3, 144}}};
        QTest::newRow("neighbours share a run")
            << PlanCase{.sizes = {narrow, narrow, wide, wide}, .runs = {{0, 2, 144}, {2, 4, 72}}};
        QTest::newRow("a wide page between, three runs")
            << PlanCase{.sizes = {narrow, wide, narrow}, .runs = {{0, 1, 144}, {1, 2, 72}, {2, 3, 144}}};
        QTest::newRow("trimmed pages render at twice")
            << PlanCase{.sizes = {narrow}, .trim = true, .runs = {{0, 1, 288}}};
        // 720 pixels from 18 points would take 2880 dpi.
        QTest::newRow("a page too large among others, named")
            << PlanCase{.sizes = {narrow, tiny}, .refusal = "Page 6: Pages cannot be made 720 x *"};
        QTest::newRow("alike pages too large, not named")
            << PlanCase{.sizes = {tiny, tiny}, .refusal = "Pages cannot be made 720 x *"};
    }

    void renderPlan_groupsNeighboursOfOneResolution()
    {
        QFETCH(PlanCase, c);
        ConversionJob job;
        job.options.fitToBox = true;
        job.options.boxWidth = 720;
        job.options.trim = c.trim;
        QList<int> pages;
        for (int page = 5; pages.size() < c.sizes.size(); ++page)
            pages << page;
        const qint64 plenty = qint64(1) << 40;
        const RenderPlan plan = renderPlan(job, pages, c.sizes, ImageRoom{plenty, plenty, plenty});
        QVERIFY2(plan.problem.message.startsWith(c.refusal), qPrintable(plan.problem.message));
        QCOMPARE(plan.problem.isNone(), c.refusal.isEmpty());
        QCOMPARE(plan.runs, c.runs);
    }

    void outputNames_keepTheChosenNameAndTellTheFormat_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("numbered");
        QTest::addColumn<QString>("written"); // page 7 of 12
        QTest::newRow("dots in the name") << "/o/my.scan.png" << true << "/o/my.scan007.png";
        QTest::newRow("upper-case extension") << "/o/A.PNG" << true << "/o/A007.PNG";
        QTest::newRow("JPEG in capitals") << "/o/a.JPEG" << false << "/o/a.JPEG";
        QTest::newRow("an extension not ours") << "/o/a.bmp" << false << "/o/a.bmp.gif";
    }

    void outputNames_keepTheChosenNameAndTellTheFormat()
    {
        QFETCH(QString, destination);
        QFETCH(bool, numbered);
        QFETCH(QString, written);
        ConversionJob job;
        job.options.format = ImageFormat::Gif;
        job.destination = destination;
        job.numbered = numbered;
        job.firstPage = job.lastPage = 7;
        job.pageCount = 12;
        QCOMPARE(job.outputFileName(7), written);
        const QString suffix = QFileInfo(written).suffix().toLower();
        QCOMPARE(job.format(), suffix == "png"   ? ImageFormat::Png
                               : suffix == "gif" ? ImageFormat::Gif
                                                 : ImageFormat::Jpg);
    }

    void failureSummary_namesEightPagesThenCountsTheRest_data()
    {
        QTest::addColumn<int>("failed");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("last");
        QTest::newRow("one") << 1 << 2 << "Page 1: The page could not be converted.";
        QTest::newRow("eight") << 8 << 9 << "Page 8: The page could not be converted.";
        QTest::newRow("nine") << 9 << 10 << "and 1 more";
        QTest::newRow("thirty") << 30 << 10 << "and 22 more";
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
        QCOMPARE(shown.size(), lines);
        QVERIFY(shown.first().startsWith(QString::number(failed)));
        QCOMPARE(shown.last(), last);
        // Every page, with the tool's words, goes into the details.
        QCOMPARE(summary.details.count(QLatin1Char('\n')), failed - 1);
        QVERIFY(summary.details.endsWith(QStringLiteral("detail %1").arg(failed)));
    }

    void sizeInPixels_refusedOnlyBeyondTheLastResolution()
    {
        ConversionJob job;
        job.pageSize = QSizeF(612, 792);
        job.options = {.fitToBox = true, .boxWidth = 20400}; // 20400 pixels on 8.5 inches: 2400 dpi exactly
        const ImageRoom plenty = FixedImages().room();
        QVERIFY(job.checkSize(plenty).isNone());
        job.options.boxWidth = 20401;
        QVERIFY2(job.checkSize(plenty).message.contains("2401 dpi"), qPrintable(job.checkSize(plenty).message));
    }

    // Black and white that keeps the transparency clones the page twice more in the pixel cache, and antialiased
    // edges kept transparent hold the page, its alpha and its colours at once. No memory, so the whole cache
    // spills: room for the bitmap and three copies of the page, not four, in the temporary folder or within the
    // library's disk limit; the same page without transparency fits.
    void pixelCache_transparencyKeptNeedsFourCopies_data()
    {
        QTest::addColumn<ConversionOptions>("options");
        QTest::addColumn<bool>("libraryLimit");
        const ConversionOptions bw{.colorDepth = ColorDepth::BlackAndWhite, .antialias = false, .dpi = 300};
        QTest::newRow("black and white, the temporary folder's room") << bw << false;
        QTest::newRow("black and white, the library's disk limit") << bw << true;
        QTest::newRow("antialiased colours, the library's disk limit")
            << ConversionOptions{.colorDepth = ColorDepth::SixteenColors, .dpi = 300} << true;
    }

    void pixelCache_transparencyKeptNeedsFourCopies()
    {
        QFETCH(ConversionOptions, options);
        QFETCH(bool, libraryLimit);
        ConversionJob job;
        job.destination = "/o/a.png";
        job.pageSize = QSizeF(595, 842);
        job.options = options;
        job.options.transparent = true;
        const QSize size = OutputSize::pixels(job.pageSize, 300, options.antialias);
        const qint64 pixels = qint64(size.width()) * size.height(), plenty = std::numeric_limits<qint64>::max();
        const qint64 copies = pixels * 3 * ImageObject::CacheBytesPerPixel;
        const ImageRoom room =
            libraryLimit ? ImageRoom{0, copies, plenty} : ImageRoom{0, plenty, job.bitmapBytes() + copies};
        const Problem refused = job.checkSize(room);
        QVERIFY2(refused.kind == Problem::TooLarge && refused.message.contains("dpi fits"),
                 qPrintable(refused.message));
        job.options.transparent = false;
        QVERIFY2(job.checkSize(room).isNone(), qPrintable(job.checkSize(room).message));
    }

    void pageList_givesEachPageOnceInOrder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<QString>("pages"); // as Ghostscript's page list, or the error's quoted part
        QTest::addColumn<QString>("missing");
        QTest::newRow("everything") << "1-" << 4 << "1-4"
                                    << "";
        QTest::newRow("list") << "1,3,5-7,10-" << 12 << "1,3,5-7,10-12"
                              << "";
        QTest::newRow("repeats and disorder") << "7,2-3,3,1" << 9 << "1-3,7"
                                              << "";
        QTest::newRow("past the end") << "2,5-6,9-,4-20" << 4 << "2,4"
                                      << "5-20";
        QTest::newRow("next to each other past the end") << "2,8,9" << 5 << "2"
                                                         << "8-9";
        QTest::newRow("far past the end") << "1-2000000000" << 3 << "1-3"
                                          << "4-2000000000";
        QTest::newRow("to the end of the most pages an int holds")
            << "2147483646-" << 2147483647 << "2147483646-2147483647"
            << "";
        QTest::newRow("the last page an int holds, past the end") << "3,2147483647" << 5 << "3"
                                                                  << "2147483647";
        QTest::newRow("up to the last page an int holds") << "4-2147483647" << 5 << "4-5"
                                                          << "6-2147483647";
        QTest::newRow("blanks") << " 2 - 3 , 5 " << 9 << "2-3,5"
                                << "";
        QTest::newRow("empty") << " " << 9 << "!"
                               << "";
        QTest::newRow("empty part") << "1,,2" << 9 << "!\"\""
                                    << "";
        QTest::newRow("zero") << "0-2" << 9 << "!\"0-2\": pages are numbered from 1"
                              << "";
        QTest::newRow("backwards") << "1,4-2" << 9 << "!\"4-2\": the first page comes after the last"
                                   << "";
        QTest::newRow("word") << "1,two" << 9 << "!\"two\""
                              << "";
        QTest::newRow("a first page beyond an int") << "2147483648" << 9 << "!no document has that many pages"
                                                    << "";
        QTest::newRow("a last page beyond an int") << "1-99999999999" << 9 << "!no document has that many pages"
                                                   << "";
    }

    void pageList_givesEachPageOnceInOrder()
    {
        QFETCH(QString, text);
        QFETCH(int, pageCount);
        QFETCH(QString, pages);
        QFETCH(QString, missing);
        QString error;
        const std::optional<PageSelection> selection = PageSelection::parse(text, &error);
        if (pages.startsWith('!')) {
            QVERIFY(!selection);
            QVERIFY2(error.contains(pages.mid(1)), qPrintable(error));
            return;
        }
        QVERIFY2(selection, qPrintable(error));
        QList<PageSelection::Range> beyond;
        QCOMPARE(PageSelection::text(selection->resolve(pageCount, &beyond)), pages);
        QCOMPARE(PageSelection::text(beyond), missing);
    }
};

QTEST_GUILESS_MAIN(tst_Job)
#include "tst_job.moc"
