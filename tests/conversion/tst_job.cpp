// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"

#include "conversion/ConversionEngine.h"
#include "conversion/PageSelection.h"
#include "conversion/RenderPlan.h"

#include <QtTest>

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

static ConversionOptions withTransparency(ConversionOptions options)
{
    options.transparent = true;
    return options;
}

class tst_Job : public QObject
{
    Q_OBJECT
private slots:
    // Pages 2 (and 3 when numbered) of 12, GIF chosen: the destination's own extension wins when it is one of ours.
    void outputNames_keepTheChosenNameAndReplaceOnlyWhatWasNotAskedAbout_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("numbered");   // the save dialog asked when not
        QTest::addColumn<QString>("written"); // page 2
        QTest::addColumn<ImageFormat>("format");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QStringList>("replaced");
        const auto row = [](const char *name, const char *destination, bool numbered, const char *written,
                            ImageFormat format, const QStringList &existing, const QStringList &replaced) {
            QTest::newRow(name) << QString(destination) << numbered << QString(written) << format << existing
                                << replaced;
        };
        const ImageFormat png = ImageFormat::Png;
        row("the chosen name, asked about", "/o/a.png", false, "/o/a.png", png, {"/o/a.png"}, {});
        row("an extension not ours", "/o/a.bmp", false, "/o/a.bmp.gif", ImageFormat::Gif, {"/o/a.bmp.gif"},
            {"/o/a.bmp.gif"});
        row("JPEG in capitals", "/o/a.JPEG", false, "/o/a.JPEG", ImageFormat::Jpg, {}, {});
        row("numbered, dots in the name", "/o/my.scan.png", true, "/o/my.scan002.png", png,
            {"/o/my.scan.png", "/o/my.scan002.png", "/o/my.scan004.png"}, {"/o/my.scan002.png"});
        row("numbered, upper-case extension", "/o/A.PNG", true, "/o/A002.PNG", png, {}, {});
        // The dialog did not ask, expecting numbered files; the .tif chosen makes it one file.
        row("a TIFF chosen where numbered files were expected", "/o/old.tif", true, "/o/old.tif", ImageFormat::Tiff,
            {"/o/old.tif"}, {"/o/old.tif"});
    }

    void outputNames_keepTheChosenNameAndReplaceOnlyWhatWasNotAskedAbout()
    {
        QFETCH(QString, destination);
        QFETCH(bool, numbered);
        QFETCH(QString, written);
        QFETCH(ImageFormat, format);
        QFETCH(QStringList, existing);
        QFETCH(QStringList, replaced);
        ConversionJob job;
        job.options.format = ImageFormat::Gif;
        job.destination = destination;
        job.numbered = numbered;
        job.firstPage = 2;
        job.lastPage = numbered ? 3 : 2;
        job.pageCount = 12;
        QCOMPARE(job.outputFileName(2), written);
        QCOMPARE(job.format(), format);
        const auto exists = [&existing](const QString &name) { return existing.contains(name); };
        QCOMPARE(job.outputsToReplace(exists, !numbered), replaced);
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
        // 720 pixels from 21.6 points take 2400 dpi exactly, the most there is.
        QTest::newRow("the highest resolution") << PlanCase{.sizes = {QSizeF(21.6, 500)}, .runs = {{0, 1, 2400}}};
        QTest::newRow("past the highest resolution") << PlanCase{
            .sizes = {QSizeF(21.595, 500)},
            .refusal = "Pages cannot be made 720 x * pixels: it would take 2401 dpi, and the most is 2400 dpi."};
        QTest::newRow("trimmed pages render at twice") << PlanCase{
            .sizes = {narrow}, .options = {.fitToBox = true, .boxWidth = 720, .trim = true}, .runs = {{0, 1, 288}}};
        // 720 pixels from 18 points would take 2880 dpi.
        QTest::newRow("a page too large among others, named")
            << PlanCase{.sizes = {narrow, tiny}, .refusal = "Page 6: Pages cannot be made 720 x *"};
        QTest::newRow("alike pages too large, not named")
            << PlanCase{.sizes = {tiny, tiny}, .refusal = "Pages cannot be made 720 x *"};
        // Transparency kept takes four copies of the page in the pixel cache, all spilled with no memory: room for
        // the bitmap and three falls short, in the temporary folder or within the library's disk limit.
        const QSizeF a4(595, 842);
        const qint64 pixels = 2479 * 3508, copies = 3 * 10 * pixels, plenty = std::numeric_limits<qint64>::max();
        const ImageRoom folder{0, plenty, 3 * pixels + copies}, limit{0, copies, plenty};
        const ConversionOptions bw{.colorDepth = ColorDepth::BlackAndWhite, .antialias = false, .dpi = 300};
        const ConversionOptions colours{.colorDepth = ColorDepth::SixteenColors, .dpi = 300};
        const QString refused = "The page is too large to convert at 300 dpi: at 2479 x 3508 pixels it needs ";
        QTest::newRow("black and white, the temporary folder's room")
            << PlanCase{.sizes = {a4}, .options = bw, .room = folder, .runs = {{0, 1, 300}}};
        QTest::newRow("black and white kept transparent, the temporary folder's room")
            << PlanCase{.sizes = {a4}, .options = withTransparency(bw), .room = folder, .refusal = refused};
        QTest::newRow("black and white kept transparent, the library's disk limit")
            << PlanCase{.sizes = {a4}, .options = withTransparency(bw), .room = limit, .refusal = refused};
        QTest::newRow("antialiased colours kept transparent, the library's disk limit")
            << PlanCase{.sizes = {a4}, .options = withTransparency(colours), .room = limit, .refusal = refused};
        QTest::newRow("antialiased colours, the library's disk limit")
            << PlanCase{.sizes = {a4}, .options = colours, .room = limit, .runs = {{0, 1, 300}}};
    }

    void renderPlan_groupsNeighboursOfOneResolution()
    {
        QFETCH(PlanCase, c);
        ConversionJob job;
        job.options = c.options;
        QList<int> pages;
        for (int page = 5; pages.size() < c.sizes.size(); ++page)
            pages << page;
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

    // Ranges as Ghostscript's page list, and the words for a list refused.
    void pageList_givesEachPageOnceInOrder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<QString>("pages"); // or "!" and a part of the error
        QTest::addColumn<QString>("missing");
        const auto row = [](const char *name, const char *text, int pageCount, const char *pages,
                            const char *missing = "") {
            QTest::newRow(name) << QString(text) << pageCount << QString(pages) << QString(missing);
        };
        row("everything", "1-", 4, "1-4");
        row("list", "1,3,5-7,10-", 12, "1,3,5-7,10-12");
        row("repeats and disorder", "7,2-3,3,1", 9, "1-3,7");
        row("blanks", " 2 - 3 , 5 ", 9, "2-3,5");
        row("far past the end", "1-2000000000", 3, "1-3", "4-2000000000");
        row("to the end of the most pages an int holds", "2147483646-", 2147483647, "2147483646-2147483647");
        row("the last page an int holds, past the end", "3,2147483647", 5, "3", "2147483647");
        row("up to the last page an int holds", "4-2147483647", 5, "4-5", "6-2147483647");
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
