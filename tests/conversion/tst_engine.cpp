// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"
#include "TestSupport.h"

#include "conversion/BatchConversion.h"
#include "conversion/ConversionEngine.h"
#include "conversion/DestinationFile.h"
#include "conversion/MultiPageTiff.h"
#include "conversion/PageWriter.h"
#include "document/OutputSize.h"

#include <QtTest>

#include <sys/fsuid.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;

struct SizeCase
{
    QString document = "a4.pdf";
    int page = 1;
    int dpi = 72;
    bool antialias = true;
    QSizeF points{595, 842};
    QSize box; // instead of the resolution, when valid
    QSize pixels;
};
Q_DECLARE_METATYPE(SizeCase)

struct Failure
{
    QString body; // the fake Ghostscript's; null for none at all
    int fatal = int(Problem::GhostscriptFailed);
    int failedPages = 0;
    QString destination = "out/scan.png";
};
Q_DECLARE_METATYPE(Failure)

struct Limit
{
    QString body = "page 1; page 2; page 3; exit 0";
    QSizeF points{595, 842};
    int dpi = 72;
    int fatal = int(Problem::None);
    QString said;
    int written = 0;
    int workMs = 0; // what the library takes for a page
};
Q_DECLARE_METATYPE(Limit)

// A name in the destination folder that is not a regular file, and what a run makes of it.
// A fake Ghostscript's script, what its run ends with (the page that did not finish; none for success), the
// pages it draws, what each page's reduction and writing take, and how long the user is asked at its first page.
struct Timed
{
    QString body;
    QString said;
    int pages = 20;
    int workMs = 0;
    int heldMs = 0;
};
Q_DECLARE_METATYPE(Timed)

struct Planted
{
    QString destination = "scan.png"; // in out/
    int pages = 1;
    QString plant = "scan.png";                     // the name in out/ that is not a regular file
    QString linkTo = "../elsewhere/important.conf"; // empty for a FIFO
    int fatal = int(Problem::NotRegularFile);
    int failedPage = 0;              // refused alone, while the others are written
    QStringList written{"scan.png"}; // in the folder the destination names
};
Q_DECLARE_METATYPE(Planted)

// Whether a link is put under a destination's name between its opening and its commit, and what is left.
struct Meanwhile
{
    bool link = false;
    int existingMode = 0; // of a file already under the name; 0 for none
    int problem = int(Problem::None);
    QByteArray contents = "new"; // under the name afterwards
    int mode = 0644;
};
Q_DECLARE_METATYPE(Meanwhile)

// A run that ends before its file is complete.
struct Stopped
{
    QString name = "scan.tif";
    int pages = 3;
    QByteArray existing = "previous pages";
    QByteArray image = uncompressedTiff({20, 20}); // each page's encoding
    // Ghostscript would go on for minutes: only stopping the run ends it in time.
    QString body = "page 1; page 2; sleep 1; page 3; exec sleep 120";
    int cancelAt = 0;      // pages done when the user stops the run
    QString removed;       // in out/ once a page is done; "." for the folder itself
    bool diskFull = false; // writes beyond 64 KiB fail as on a full disk
    int fatal = int(Problem::DiskFull);
    QString said; // in the message
};
Q_DECLARE_METATYPE(Stopped)

// The first page takes long in the library, every other page no time.
class FirstPageSlow : public FixedImages
{
public:
    using FixedImages::FixedImages;
    int firstMs = 0;
    ImageResult convert(const QStringList &arguments, const ImageEncoding &encoding,
                        const std::atomic_bool *cancel) const override
    {
        if (m_calls++ == 0)
            QThread::msleep(firstMs);
        return FixedImages::convert(arguments, encoding, cancel);
    }

private:
    mutable std::atomic_int m_calls{0};
};

class tst_Engine : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_gs;

    QString doc(const QString &name) const { return m_docs.filePath(name); }
    ConversionJob job(const QString &document, const QString &destination, int first = 1, int last = 1)
    {
        return {.options = {.sourceFile = doc(document), .dpi = 72},
                .ghostscript = m_gs,
                .destination = destination,
                .firstPage = first,
                .lastPage = last,
                .numbered = last > first,
                .pageCount = last};
    }

    // Pages of sizes.pdf into name in folder, drawn by a fake Ghostscript running body.
    ConversionJob fakeJob(const CaseFolder &folder, const QString &name, int pages, const QString &body)
    {
        ConversionJob run = job("sizes.pdf", folder.path(name), 1, pages);
        run.ghostscript = fakeGhostscript(folder.path(), body);
        return run;
    }

private slots:
    void initTestCase()
    {
        ImageObject::initialise();
        ::umask(022); // new files are readable by all
        m_gs = GhostscriptLocator().locate();
        QVERIFY(writePdf(doc("sizes.pdf"), {{300, 200}, {200, 300}, {251, 149}, {149, 251}, {280, 220}}));
        QVERIFY(writePdf(doc("upright.pdf"), {{595, 842}, {842, 595}, {595, 842}}));
        for (const char *name : {"first.pdf", "second.pdf", "third.pdf"})
            QVERIFY(writePdf(doc(name), {{300, 200}}));
        QVERIFY(writePdf(doc("five.pdf"), QList<QSizeF>(5, {300, 200})));
        QVERIFY(run("qpdf", {"--rotate=+90:3", doc("upright.pdf"), doc("a4.pdf")}));
        // What a viewer shows is the crop box, not the paper around it.
        QVERIFY(run(m_gs, {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite", "-o", doc("cropped.pdf"), "-c",
                           "<< /PageSize [400 300] >> setpagedevice [/CropBox [50 50 250 150] /PAGE pdfmark "
                           "0 0 1 setrgbcolor 0 0 400 300 rectfill showpage"}));
    }

    void imageSize_isWhatTheReadOutPredicts_data()
    {
        QTest::addColumn<SizeCase>("c");
        const QSizeF landscape(842, 595);
        // 120 dpi makes fractions, rounded as the peers round them, smoothed or not.
        QTest::newRow("portrait 120 antialiased") << SizeCase{.dpi = 120, .pixels = {992, 1403}};
        QTest::newRow("portrait 120") << SizeCase{.dpi = 120, .antialias = false, .pixels = {992, 1403}};
        QTest::newRow("rotated 144 antialiased")
            << SizeCase{.page = 3, .dpi = 144, .points = landscape, .pixels = {1684, 1190}};
        QTest::newRow("crop box inside the paper")
            << SizeCase{.document = "cropped.pdf", .points = {200, 100}, .pixels = {200, 100}};
        // A box whose resolution is not a whole number: the bitmap's sides are rounded before scaling.
        QTest::newRow("500 pixels wide") << SizeCase{.box = {500, 0}, .pixels = {500, 707}};
    }

    void imageSize_isWhatTheReadOutPredicts()
    {
        QFETCH(SizeCase, c);
        CaseFolder folder;
        ConversionJob run = job(c.document, folder.path("page.png"), c.page, c.page);
        run.pageSize = documentInfo(doc(c.document), c.page).pageSize();
        QCOMPARE(run.pageSize, c.points);
        run.options.dpi = c.dpi;
        run.options.antialias = c.antialias;
        run.options.fitToBox = c.box.isValid();
        run.options.boxWidth = c.box.width();
        run.options.boxHeight = c.box.height();
        QVERIFY(convert(run).isSuccess());
        QCOMPARE(readImage(run.destination).size, c.pixels);
        QCOMPARE(OutputSize::written(run.options, run.pageSize), c.pixels);
    }

    void pageRange_numbersFilesByPageAndSizesEachByItsOwnPage()
    {
        CaseFolder folder;
        // Percent signs in both folders: Ghostscript's output name must not expand them.
        const QString out = folder.path("50%d out%%");
        QVERIFY(QDir().mkpath(out));
        ConversionJob run = job("sizes.pdf", out + "/scan.png", 2, 4);
        run.pageCount = 5;
        const ConversionResult result = convert(run);
        QVERIFY(result.isSuccess());
        QCOMPARE(filesIn(out), (QStringList{"scan002.png", "scan003.png", "scan004.png"}));
        QList<QSize> sizes;
        for (const QString &file : result.written)
            sizes << readImage(file).size;
        QCOMPARE(sizes, (QList<QSize>{{200, 300}, {251, 149}, {149, 251}}));
        QCOMPARE(leftovers(folder.temp()), QStringList());
        run.pageCount = 1000;
        QCOMPARE(QFileInfo(run.outputFileName(2)).fileName(), "scan0002.png");
    }

    // A long range goes to two Ghostscript processes at once: each page still comes from its own page, and is told
    // of once, in order.
    void longRange_everyPageFromItsOwnPageInOrder()
    {
        if (QThread::idealThreadCount() < 2)
            QSKIP("one core renders in one process");
        QList<QSizeF> sizes;
        for (int page = 1; page <= 12; ++page)
            sizes << QSizeF(100 + 10 * page, 100);
        QVERIFY(writePdf(doc("long.pdf"), sizes));
        CaseFolder folder;
        ConversionJob run = job("long.pdf", folder.path("scan.png"), 1, 12);
        run.options.antialias = false;
        ConversionEngine engine;
        QList<int> started;
        connect(&engine, &ConversionEngine::pageStarted, this, [&started](int page) { started << page; });
        const ConversionResult result = convert(run, nullptr, &engine);
        QVERIFY(result.isSuccess());
        QList<int> widths;
        for (const QString &file : result.written)
            widths << readImage(file).size.width();
        QCOMPARE(widths, (QList<int>{110, 120, 130, 140, 150, 160, 170, 180, 190, 200, 210, 220}));
        QCOMPARE(started, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void longRange_eitherProcessFailsAlone_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("fatal");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QList<int>>("written");
        QTest::addColumn<int>("failed");
        // Each process takes every other page, so that the pages come in about their order.
        const QString odd = R"sh(case " $* " in *" -sPageList=1,3,5,7,9,11 "*) page 1; page 2; page 3; page 4; )sh"
                            R"sh(page 5; page 6; exit 0 ;; esac; )sh";
        const QList<int> odds{1, 3, 5, 7, 9, 11};
        QTest::newRow("both") << odd + "page 1; page 2; page 3; page 4; page 5; page 6; exit 0" << 0 << QString()
                              << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12} << 0;
        QTest::newRow("the even pages' writes nothing") << odd + "exit 0" << 0 << QString() << odds << 6;
        QTest::newRow("the odd pages' writes nothing")
            << R"sh(case " $* " in *" -sPageList=1,"*) sleep 0.5; exit 0 ;; esac; page 1; page 2; exit 0)sh" << 0
            << QString() << QList<int>{2, 4} << 10;
        QTest::newRow("neither writes") << "exit 0" << int(Problem::GhostscriptFailed) << QString() << QList<int>()
                                        << 0;
        QTest::newRow("a page of the even ones never ends")
            << odd + "page 1; exec sleep 60" << int(Problem::PageTimedOut) << "Page 4 " << odds + QList<int>{2} << 0;
    }

    // A process that fails costs its own pages only; the document fails only when neither wrote a page.
    void longRange_eitherProcessFailsAlone()
    {
        if (QThread::idealThreadCount() < 2)
            QSKIP("one core renders in one process");
        QFETCH(QString, body);
        QFETCH(int, fatal);
        QFETCH(QString, said);
        QFETCH(QList<int>, written);
        QFETCH(int, failed);
        CaseFolder folder;
        ConversionJob run = fakeJob(folder, "scan.png", 12, body);
        run.pageTimeout = 1;
        FixedImages images("image");
        const ConversionResult result = convert(run, &images);
        QCOMPARE(int(result.fatal.kind), fatal);
        QVERIFY2(result.fatal.message.contains(said), qPrintable(result.fatal.message));
        QStringList expected;
        for (const int page : std::as_const(written))
            expected << QFileInfo(run.outputFileName(page)).fileName();
        std::sort(expected.begin(), expected.end());
        QCOMPARE(filesIn(folder.path()).filter("scan"), expected);
        QCOMPARE(result.pagesWritten, int(written.size()));
        QCOMPARE(result.failures.size(), failed);
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    // One process may run only a few pages ahead of the other: a page that never ends stops the run with the
    // pages before it written, not every other page of the document beyond it.
    void longRange_theProcessAheadWaits()
    {
        if (QThread::idealThreadCount() < 2)
            QSKIP("one core renders in one process");
        CaseFolder folder;
        ConversionJob run =
            fakeJob(folder, "scan.png", 40,
                    R"sh(case " $* " in *" -sPageList=1,3,"*) for n in $(seq 1 20); do page $n; sleep 0.1; done; )sh"
                    R"sh(exit 0 ;; esac; page 1; exec sleep 60)sh");
        run.pageTimeout = 3;
        FixedImages images("image");
        ConversionEngine engine(&images);
        QList<int> started;
        connect(&engine, &ConversionEngine::pageStarted, this, [&started](int page) { started << page; });
        const ConversionResult result = convert(run, nullptr, &engine);
        QCOMPARE(int(result.fatal.kind), int(Problem::PageTimedOut));
        QVERIFY2(result.fatal.message.contains("Page 4 "), qPrintable(result.fatal.message));
        // Told of no further than the page the slow one draws.
        QCOMPARE(started, (QList<int>{1, 2, 3, 4}));
        QVERIFY(QFileInfo::exists(run.outputFileName(2)));
        // Unchecked, the other would have drawn all 20 of its pages in the time the slow one was given.
        QVERIFY2(result.pagesWritten >= 7 && result.pagesWritten <= 11,
                 qPrintable(QString::number(result.pagesWritten)));
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void pageTime_runsOnlyWhileAProcessDraws_data()
    {
        QTest::addColumn<Timed>("c");
        QTest::newRow("waiting, not timed out") << Timed{
            .body =
                R"sh(case " $* " in *" -sPageList=1,3,"*) for n in $(seq 1 10); do page $n; done; sleep 2; exit 0 ;; )sh"
                R"sh(esac; )sh"
                R"sh(for n in $(seq 1 10); do page $n; sleep 1; done; exit 0)sh"};
        QTest::newRow("resumed, timed again") << Timed{
            .body =
                R"sh(case " $* " in *" -sPageList=1,3,"*) page 1; page 2; page 3; page 4; page 5; exec sleep 20 ;; )sh"
                R"sh(esac; sleep 1; for n in $(seq 1 10); do page $n; done; exit 0)sh",
            .said = "Page 11 "};
        QTest::newRow("hangs after its last page") << Timed{
            .body =
                R"sh(case " $* " in *" -sPageList=1,3,"*) for n in $(seq 1 10); do page $n; done; exec sleep 20 ;; )sh"
                R"sh(esac; for n in $(seq 1 10); do page $n; done; exit 0)sh",
            .said = "Page 19 "};
        // One process, paused while more bitmaps wait than the workers take; it ends after its last page.
        const int pages = QThread::idealThreadCount() + 2;
        QTest::newRow("paused while the workers are behind")
            << Timed{.body = QString("for n in $(seq 1 %1); do page $n; done; sleep 0.5; exit 0").arg(pages),
                     .pages = pages,
                     .workMs = 3500};
        QTest::newRow("held while the user is asked")
            << Timed{.body = "page 1; sleep 0.5; page 2; exit 0", .pages = 2, .heldMs = 3500};
    }

    // A process that waits for the other, for the workers or for the user is not drawing: its page's time starts
    // again when it goes on.
    void pageTime_runsOnlyWhileAProcessDraws()
    {
        if (QThread::idealThreadCount() < 2)
            QSKIP("one core renders in one process");
        QFETCH(Timed, c);
        if (c.pages >= 8 && c.workMs > 0)
            QSKIP("so many cores split the range between two processes");
        CaseFolder folder;
        ConversionJob run = fakeJob(folder, "scan.png", c.pages, c.body);
        run.pageTimeout = 2;
        FixedImages images("image", c.workMs);
        ConversionEngine engine(&images);
        connect(&engine, &ConversionEngine::pageStarted, this, [&](int page) {
            if (page == 1 && c.heldMs > 0) {
                engine.setHeld(true);
                QTimer::singleShot(c.heldMs, &engine, [&engine] { engine.setHeld(false); });
            }
        });
        QElapsedTimer clock;
        clock.start();
        const ConversionResult result = convert(run, nullptr, &engine);
        QVERIFY2(int(result.fatal.kind) == (c.said.isEmpty() ? 0 : int(Problem::PageTimedOut)),
                 qPrintable(result.fatal.message + QString(" after %1 ms").arg(clock.elapsed())));
        QVERIFY2(result.fatal.message.contains(c.said), qPrintable(result.fatal.message));
        if (c.said.isEmpty())
            QCOMPARE(result.pagesWritten, c.pages);
        else
            QVERIFY2(clock.elapsed() < 12000, qPrintable(QString::number(clock.elapsed())));
    }

    void failure_isNeverSuccessAndLeavesNothing_data()
    {
        QTest::addColumn<Failure>("c");
        // Whatever lies under a bitmap's name is read as a TIFF or not at all.
        const QString svg = "page 1; printf '<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" height=\"9\"/>' "
                            "> \"$(printf \"$pattern\" 1)\"; exit 0";
        QTest::newRow("crash") << Failure{.body = "kill -SEGV $$"};
        QTest::newRow("crash in a page") << Failure{.body = "page 1; kill -SEGV $$"};
        QTest::newRow("error exit") << Failure{.body = "echo 'Error: /syntaxerror'; exit 1",
                                               .fatal = int(Problem::NotPdf)};
        QTest::newRow("clean exit, no page") << Failure{.body = "exit 0"};
        QTest::newRow("page without bitmap") << Failure{.body = "echo 'Page 1'; exit 0", .destination = "out/a.png"};
        QTest::newRow("bitmap that is not a TIFF") << Failure{.body = svg, .fatal = 0, .failedPages = 1};
        QTest::newRow("bitmap that is not a TIFF, one multi-page file")
            << Failure{.body = svg, .fatal = 0, .failedPages = 1, .destination = "out/scan.tif"};
        QTest::newRow("gs missing") << Failure{.fatal = int(Problem::GhostscriptMissing)};
        // A destination that cannot take a file fails before Ghostscript starts.
        QTest::newRow("folder missing") << Failure{.body = "page 1; exit 0",
                                                   .fatal = int(Problem::DestinationNotWritable),
                                                   .destination = "out/missing/scan.png"};
    }

    void failure_isNeverSuccessAndLeavesNothing()
    {
        QFETCH(Failure, c);
        CaseFolder folder;
        QDir().mkpath(folder.path("out"));
        ConversionJob run = job("sizes.pdf", folder.path(c.destination));
        run.ghostscript = c.body.isNull() ? folder.path("nogs") : fakeGhostscript(folder.path(), c.body);
        const ConversionResult result = convert(run);
        QCOMPARE(int(result.fatal.kind), c.fatal);
        QCOMPARE(result.failures.size(), c.failedPages);
        // What the user reads names no private work folder and no reason that is none.
        const FailureSummary summary = FailureSummary::of(result.failures);
        for (const QString &told : {summary.text, summary.details, result.fatal.message, result.fatal.details})
            QVERIFY2(!told.contains("SFG-") && !told.contains("Unknown error"), qPrintable(told));
        QCOMPARE(result.written + filesIn(folder.path("out")) + leftovers(folder.temp()), QStringList());
        QCOMPARE(QFile::exists(folder.path("gs.log")),
                 c.fatal != int(Problem::DestinationNotWritable) && !c.body.isNull());
    }

    void password_reachesGhostscriptOnlyInMemory()
    {
        CaseFolder folder;
        ConversionJob run = fakeJob(folder, "page.png", 1, "page 1; exit 0");
        run.password = "s3cret";
        FixedImages images("image");
        QVERIFY(convert(run, &images).isSuccess());
        QVERIFY(!contentsOf(folder.path("gs.log")).contains("s3cret"));
        QCOMPARE(contentsOf(folder.path("argfile.log")).trimmed(), QByteArray("-sPDFPassword=s3cret"));
        QCOMPARE(::prctl(PR_GET_DUMPABLE), 0); // holding a password, the program leaves no core of its own
        QCOMPARE(contentsOf(folder.path("found.log")), QByteArray());
    }

    void pageLimits_stopARunOnlyForThePageThatExceedsThem_data()
    {
        QTest::addColumn<Limit>("c");
        const auto row = [](const char *name, const Limit &c) { QTest::newRow(name) << c; };
        const QSizeF vast(14400, 14400);
        const int tooLarge = int(Problem::TooLarge), timedOut = int(Problem::PageTimedOut);
        const QString never = "page 1; exec sleep 60";
        // Each page takes less than the second allowed; the whole run takes more.
        row("pages within the time", {.body = "page 1; sleep 0.6; page 2; sleep 0.6; page 3; exit 0", .written = 3});
        // Ghostscript makes no bitmap for a page it is still drawing: the one before it is complete.
        row("a page that never ends", {.body = never, .fatal = timedOut, .said = "Page 2 ", .written = 1});
        // Ghostscript stopped for its time stops no page still being written.
        row("a page that never ends after one still being written",
            {.body = never, .fatal = timedOut, .said = "Page 2 ", .written = 1, .workMs = 1500});
        row("too large by its area", {.points = vast, .dpi = 400, .fatal = tooLarge, .said = "At most 300 dpi fits"});
        row("too tall", {.points = {595, 14400}, .dpi = 1200, .fatal = tooLarge, .said = "At most 600 dpi fits"});
        row("A4 at the highest resolution", {.dpi = 2400, .written = 3});
    }

    void pageLimits_stopARunOnlyForThePageThatExceedsThem()
    {
        QFETCH(Limit, c);
        CaseFolder folder;
        ConversionJob run = fakeJob(folder, "scan.png", 3, c.body);
        run.pageSize = c.points;
        run.options.dpi = c.dpi;
        run.options.antialias = false;
        run.pageTimeout = 1;
        FixedImages images("image", c.workMs);
        QElapsedTimer clock;
        clock.start();
        const ConversionResult result = convert(run, &images);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(int(result.fatal.kind), c.fatal);
        QVERIFY2(result.fatal.message.contains(c.said), qPrintable(result.fatal.message));
        QCOMPARE(result.pagesWritten, c.written);
        QCOMPARE(filesIn(folder.path()).filter("scan").size(), c.written);
        // The pages after a slow one were never drawn: not failures of their own.
        QCOMPARE(result.failures.size(), 0);
        // A page too large is refused before Ghostscript is asked.
        QCOMPARE(QFile::exists(folder.path("gs.log")), c.fatal != int(Problem::TooLarge));
        // The resolution suggested passes the same check.
        static const QRegularExpression suggested(QStringLiteral("At most (\\d+) dpi fits"));
        if (const QRegularExpressionMatch match = suggested.match(result.fatal.message); match.hasMatch()) {
            run.options.dpi = match.captured(1).toInt();
            QVERIFY2(run.checkSize(images.room()).isNone(), qPrintable(run.checkSize(images.room()).message));
        }
    }

    void cancelledRun_lateResultsNeverCountInTheNext()
    {
        CaseFolder folder;
        QVERIFY(QDir().mkpath(folder.path("first")) && QDir().mkpath(folder.path("second")));
        const ConversionJob first = fakeJob(folder, "first/a.png", 4, "for n in 1 2 3 4; do page $n; done; exit 0");
        ConversionJob second = job("sizes.pdf", folder.path("second/b.png"), 1, 2);
        second.ghostscript = first.ghostscript;
        FixedImages slow("late", 700);
        ConversionEngine engine(&slow);
        QSignalSpy finished(&engine, &ConversionEngine::finished);
        QSignalSpy written(&engine, &ConversionEngine::pageWritten);
        engine.start(first);
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(folder.temp()).entryList({"SFG-*"}, QDir::Dirs).isEmpty(), 10000);
        QTest::qWait(300); // the workers are inside the library now
        engine.cancel();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
        slow.delayMs = 0;
        const ConversionResult result = convert(second, nullptr, &engine);
        QTest::qWait(1000); // every late worker of the first run has reported by now
        QCOMPARE(std::pair(result.written, written.count()), std::pair(second.outputFileNames(), qsizetype(2)));
        QCOMPARE(filesIn(folder.path("first")), QStringList());
    }

    // Only a regular file or nothing is replaced under a name: no link is followed, no special file touched.
    void destinationNotARegularFile_isRefusedAndNothingFollowed_data()
    {
        QTest::addColumn<Planted>("c");
        QTest::newRow("link to a file elsewhere") << Planted{};
        QTest::newRow("FIFO") << Planted{.linkTo = {}};
        QTest::newRow("numbered name planted as a link")
            << Planted{.pages = 3,
                       .plant = "scan002.png",
                       .fatal = 0,
                       .failedPage = 2,
                       .written = {"scan001.png", "scan002.png", "scan003.png"}};
        // A temporary name is predictable too: what stands there is removed, never opened or followed.
        QTest::newRow("link at the multi-page file's temporary") << Planted{.destination = "scan.tif",
                                                                            .pages = 3,
                                                                            .plant = "scan.tif.sheetforge-part",
                                                                            .fatal = 0,
                                                                            .written = {"scan.tif"}};
        QTest::newRow("folder a link, which is followed")
            << Planted{.destination = "linked/scan.png", .plant = "linked", .linkTo = "../real", .fatal = 0};
    }

    void destinationNotARegularFile_isRefusedAndNothingFollowed()
    {
        QFETCH(Planted, c);
        CaseFolder folder;
        for (const QString name : {"out", "real", "elsewhere"})
            QVERIFY(QDir().mkpath(folder.path(name)));
        const QString important = folder.path("elsewhere/important.conf");
        QVERIFY(plantFile(important, "keep me") && ::chmod(qPrintable(important), 0600) == 0);
        const QString plant = folder.path("out/" + c.plant);
        QVERIFY(c.linkTo.isEmpty() ? run("mkfifo", {plant}) : QFile::link(c.linkTo, plant));
        const ConversionJob run = fakeJob(folder, "out/" + c.destination, c.pages, "page 1; page 2; page 3; exit 0");
        FixedImages images(c.destination.endsWith(".tif") ? uncompressedTiff(QSize(20, 20)) : "image");
        const ConversionResult result = convert(run, &images);

        QCOMPARE(int(result.fatal.kind), c.fatal);
        if (c.fatal != int(Problem::None)) {
            QVERIFY2(result.fatal.message.contains(plant), qPrintable(result.fatal.message));
            QVERIFY(!QFile::exists(folder.path("gs.log"))); // refused before rendering
        }
        QCOMPARE(result.failures.size(), c.failedPage ? 1 : 0);
        if (c.failedPage) {
            QCOMPARE(result.failures.first().page, c.failedPage);
            QCOMPARE(int(result.failures.first().problem.kind), int(Problem::NotRegularFile));
        }
        // The planted name is still there as it was, a planted temporary is gone, and no temporary is left.
        QCOMPARE(leftovers(QFileInfo(run.destination).absolutePath()), c.written);
        const QFileInfo left(plant);
        if (!c.plant.endsWith(".sheetforge-part"))
            QVERIFY(c.linkTo.isEmpty() ? !left.isFile() && left.exists() : left.isSymLink());
        QCOMPARE(leftovers(folder.path("elsewhere")), QStringList{"important.conf"});
        QCOMPARE(std::pair(contentsOf(important), modeOf(important)), std::pair(QByteArray("keep me"), 0600));
    }

    // A file the user may not change is named, never the folder that could take it, and kept as it was.
    void readOnlyFile_isNamedAndKept()
    {
        CaseFolder folder;
        const QString mine = folder.path("mine"), readonly = mine + "/readonly.png";
        QVERIFY(QDir().mkpath(mine) && plantFile(readonly, "old") && ::chmod(qPrintable(readonly), 0444) == 0);
        QVERIFY(QFile::setPermissions(folder.path(), QFile::permissions(folder.path()) | QFileDevice::ExeOther));
        // As root, the write is made as an ordinary user who owns the folder makes it.
        if (::geteuid() == 0) {
            QVERIFY(::chown(qPrintable(mine), 65534, 65534) == 0 && ::chown(qPrintable(readonly), 65534, 65534) == 0);
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
        const Problem problem = PageWriter::writeAtomically(readonly, "image");
        ::setfsuid(::geteuid());
        ::setfsgid(::getegid());
        QCOMPARE(int(problem.kind), int(Problem::FileNotWritable));
        QVERIFY2(problem.message.contains('"' + readonly + '"'), qPrintable(problem.message));
        QCOMPARE(contentsOf(readonly), QByteArray("old"));
        QCOMPARE(leftovers(mine), QStringList{"readonly.png"});
    }

    // A multi-page file has one writer at a time; a temporary left by a run that died is taken over.
    void multiPageTiff_secondWriterIsRefused()
    {
        CaseFolder folder;
        const ConversionJob run = fakeJob(folder, "scan.tif", 3, "page 1; page 2; page 3; exit 0");
        FixedImages slow(uncompressedTiff(QSize(20, 20)), 300);
        ConversionEngine engine(&slow);
        QSignalSpy finished(&engine, &ConversionEngine::finished);
        engine.start(run);
        const ConversionResult second = convert(run, &slow);
        QCOMPARE(int(second.fatal.kind), int(Problem::DestinationBusy));
        QVERIFY2(second.fatal.message.contains(run.destination), qPrintable(second.fatal.message));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QVERIFY(finished.first().first().value<ConversionResult>().isSuccess());
        QCOMPARE(readImage(run.destination).images, 3);
        QCOMPARE(modeOf(run.destination), 0644); // only a temporary stays private

        QVERIFY(plantFile(run.destination + ".sheetforge-part", "partial"));
        slow.delayMs = 0;
        QVERIFY(convert(run, &slow).isSuccess());
        QCOMPARE(leftovers(folder.path()).filter("scan"), QStringList{"scan.tif"});
    }

    void destinationFile_commitJudgesTheNameAgain_data()
    {
        QTest::addColumn<Meanwhile>("m");
        QTest::newRow("a file replaced keeps its permissions") << Meanwhile{.existingMode = 0640, .mode = 0640};
        QTest::newRow("a new file") << Meanwhile{};
        QTest::newRow("a link put under the name")
            << Meanwhile{.link = true, .problem = int(Problem::NotRegularFile), .contents = {}, .mode = -1};
    }

    void destinationFile_commitJudgesTheNameAgain()
    {
        QFETCH(Meanwhile, m);
        CaseFolder folder;
        QVERIFY(QDir().mkpath(folder.path("out")));
        const QString name = folder.path("out/page.png");
        if (m.existingMode)
            QVERIFY(plantFile(name, "old") && ::chmod(qPrintable(name), mode_t(m.existingMode)) == 0);
        DestinationFile file(name);
        QVERIFY(file.open().isNone() && file.write("new").isNone());
        if (m.link)
            QVERIFY(QFile::link(folder.path("elsewhere.conf"), name));
        QCOMPARE(int(file.commit().kind), m.problem);
        QCOMPARE(leftovers(folder.path("out")), QStringList{"page.png"}); // and no temporary
        QCOMPARE(std::tuple(QFileInfo(name).isSymLink(), contentsOf(name), modeOf(name)),
                 std::tuple(m.link, m.contents, m.mode));
    }

    void writeOfAStoppedRun_leavesNoFileAndKeepsTheOldOne()
    {
        CaseFolder folder;
        const std::atomic_bool stopped = true;
        QVERIFY(PageWriter::writeAtomically(folder.path("new.png"), "image", &stopped).isNone());
        QVERIFY(plantFile(folder.path("old.png"), "old"));
        QVERIFY(PageWriter::writeAtomically(folder.path("old.png"), "image", &stopped).isNone());
        QCOMPARE(contentsOf(folder.path("old.png")), QByteArray("old"));
        QCOMPARE(filesIn(folder.path()), QStringList{"old.png"});
    }

    // A stopped run leaves nothing of its own behind, and the file it would have replaced as it was.
    void stoppedRun_leavesNothingAndKeepsTheOldFile_data()
    {
        QTest::addColumn<Stopped>("c");
        const auto row = [](const char *name, const Stopped &c) { QTest::newRow(name) << c; };
        const int gone = int(Problem::DestinationNotWritable);
        const QString everyPage = "page 1; page 2; page 3; exit 0";
        // Stopped once a page has gone into the file, which then no longer counts.
        row("multi-page file cancelled", {.body = everyPage, .cancelAt = 2, .fatal = int(Problem::None)});
        row("a page the multi-page file cannot join",
            {.image = "not a TIFF at all", .body = everyPage, .fatal = int(Problem::PageFailed)});
        row("replacing a file, disk full", {.name = "scan.png",
                                            .pages = 1,
                                            .existing = "previous image",
                                            .image = QByteArray(512 * 1024, 'x'),
                                            .diskFull = true,
                                            .said = "\"{out}\" is full. Free some space"});
        row("replacing a multi-page file, disk full", {.image = uncompressedTiff({300, 600}), .diskFull = true});
        row("folder removed, one multi-page file",
            {.existing = {}, .removed = ".", .fatal = gone, .said = "\"{out}\""});
        // Written on, the file would be complete in a file no name leads to.
        row("the multi-page file's temporary removed",
            {.removed = "scan.tif.sheetforge-part", .fatal = gone, .said = "\"{out}\""});
    }

    void stoppedRun_leavesNothingAndKeepsTheOldFile()
    {
        QFETCH(Stopped, c);
        CaseFolder folder;
        const QString out = folder.path("out");
        QDir().mkpath(out);
        const ConversionJob run = fakeJob(folder, "out/" + c.name, c.pages, c.body);
        if (!c.existing.isEmpty())
            QVERIFY(plantFile(run.destination, c.existing));
        FixedImages images(c.image, c.cancelAt ? 300 : 0);
        ConversionEngine engine(&images);
        connect(&engine, &ConversionEngine::progressChanged, this, [&](int done) {
            if (c.cancelAt && done == c.cancelAt)
                engine.cancel();
            if (done == 1 && c.removed == ".")
                QDir(out).removeRecursively();
            else if (done == 1 && !c.removed.isEmpty())
                QVERIFY(QFile::remove(out + '/' + c.removed));
        });
        const auto limit = limitFileSize(c.diskFull ? 64 * 1024 : std::numeric_limits<qint64>::max());
        const ConversionResult result = convert(run, nullptr, &engine);
        QCOMPARE(int(result.fatal.kind), c.fatal);
        QVERIFY2(result.fatal.message.contains(QString(c.said).replace("{out}", out)),
                 qPrintable(result.fatal.message));
        QCOMPARE(result.cancelled, c.cancelAt > 0);
        QVERIFY(result.failures.isEmpty()); // not blamed on each page
        QCOMPARE(std::pair(result.pagesWritten, result.written), std::pair(0, QStringList()));
        QCOMPARE(QFileInfo::exists(out), c.removed != ".");
        QCOMPARE(filesIn(out), (c.existing.isEmpty() ? QStringList() : QStringList{c.name}));
        QCOMPARE(contentsOf(run.destination), c.existing);
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void pageGhostscriptSkipped_leavesThePagesAfterIt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("images"); // in the last file
        QTest::newRow("numbered files") << "scan.png" << QStringList{"scan001.png", "scan003.png"} << 1;
        QTest::newRow("one multi-page file") << "scan.tif" << QStringList{"scan.tif"} << 2;
    }

    // Ghostscript ends at once after an empty page 2, with no worker busy: the page after it still counts.
    void pageGhostscriptSkipped_leavesThePagesAfterIt()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, files);
        QFETCH(int, images);
        CaseFolder folder;
        FixedImages tiffs(uncompressedTiff(QSize(20, 20)));
        const ConversionResult result = convert(
            fakeJob(folder, name, 3, R"sh(page 1; : > "$(printf "$pattern" 2)"; sleep 0.3; page 3; exit 0)sh"), &tiffs);
        QCOMPARE(result.failures.size(), 1);
        QCOMPARE(result.failures.first().page, 2);
        QCOMPARE(std::pair(result.pagesWritten, filesIn(folder.path()).filter("scan")), std::pair(2, files));
        QCOMPARE(readImage(folder.path(files.last())).images, images);
    }

    void multiPageTiff_pastTheClassicLimit_becomesABigTiffOfEveryPage()
    {
        CaseFolder folder;
        const QString path = folder.path("scan.tif");
        // Pages of either byte order and colours of their own, finishing out of order.
        QList<QByteArray> pages;
        for (int i = 0; i < 5; ++i) {
            const QString colour = QString("xc:rgb(%1,%2,0)").arg(40 * i).arg(255 - 40 * i);
            const QStringList flags{
                "-size", "64x48", colour, "+noise", "Gaussian", "-endian", i % 2 ? "MSB" : "LSB", "-compress", "LZW"};
            pages << ImageObject().convert(flags, "TIFF").data;
            QVERIFY(plantFile(folder.path(QString("page%1").arg(i)), pages.last()));
        }
        // The third page takes the file past the limit.
        MultiPageTiff tiff(path, 4096 + pages.at(0).size() * 5 / 2);
        for (int i : {1, 0, 3, 2, 4})
            QVERIFY(tiff.add(i, pages.at(i)).isNone());
        QVERIFY(tiff.commit().isNone());
        QCOMPARE(contentsOf(path).left(4), QByteArray("II+\0", 4)); // BigTIFF
        QCOMPARE(readImage(path).images, 5);
        const auto pixels = [](const QString &source) {
            return QImage::fromData(ImageObject().convert({"TIFF:" + source}, "PPM").data, "PPM");
        };
        for (int i = 0; i < 5; ++i)
            QCOMPARE(pixels(QString("%1[%2]").arg(path).arg(i)), pixels(folder.path(QString("page%1").arg(i))));
        QCOMPARE(filesIn(folder.path()).filter("scan"), QStringList{"scan.tif"}); // no temporary left beside it
    }

    // While the first document's page is in the library, the next document is drawn; it is told of, and
    // written, only once the first has finished. A stop then leaves nothing of it.
    void batch_nextDocumentDrawnWhileTheLastPageIsWritten_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<bool>("openFirst"); // every document, before any is converted, as the window does
        QTest::addColumn<int>("dpi");
        QTest::newRow("to the end") << false << false << 72;
        QTest::newRow("stopped while the next is drawn") << true << false << 72;
        QTest::newRow("every document opened first") << false << true << 72;
        QTest::newRow("opened first, stopped while the next is drawn") << true << true << 72;
        // 78 MB a bitmap: one document's at a time in the temporary folder.
        QTest::newRow("large bitmaps: each in its turn") << false << false << 1500;
    }

    void batch_nextDocumentDrawnWhileTheLastPageIsWritten()
    {
        QFETCH(bool, stop);
        QFETCH(bool, openFirst);
        QFETCH(int, dpi);
        CaseFolder folder;
        QVERIFY(QDir().mkpath(folder.path("out")));
        FirstPageSlow images("png");
        images.firstMs = 3000;
        BatchConversion batch(&images);
        QStringList told;
        const auto name = [](const QString &path) { return QFileInfo(path).fileName(); };
        connect(&batch, &BatchConversion::documentStarted, this,
                [&](const QString &document) { told << "started " + name(document); });
        connect(&batch, &BatchConversion::documentOpened, this,
                [&](const QString &document) { told << "opened " + name(document); });
        connect(&batch, &BatchConversion::pageStarted, this, [&](int page) { told << QString("page %1").arg(page); });
        connect(&batch, &BatchConversion::pageWritten, this,
                [&](const WrittenPage &page) { told << "wrote " + name(page.file); });
        connect(&batch, &BatchConversion::documentFinished, this, [&](const QString &document) {
            told << "finished " + name(document) + " beside " + filesIn(folder.path("out")).join(' ');
        });
        std::optional<BatchSummary> summary;
        connect(&batch, &BatchConversion::finished, this, [&](const BatchSummary &ended) { summary = ended; });
        BatchRequest request{.ghostscript = m_gs,
                             .documents = {doc("first.pdf"), doc("second.pdf"), doc("third.pdf")},
                             .options = {.dpi = dpi},
                             .destination = folder.path("out"),
                             .destinationIsFolder = true,
                             .askBeforeReplacing = openFirst};
        batch.start(request);
        QTRY_VERIFY_WITH_TIMEOUT(told.contains("page 1"), 10000);
        // The bitmaps of two documents at once, in the folders of two runs.
        const auto drawn = [&] {
            int folders = 0;
            for (const QString &work : QDir(folder.temp()).entryList({"SFG-*"}, QDir::Dirs))
                folders += !QDir(QDir(folder.temp()).filePath(work)).entryList({"p*.tif"}, QDir::Files).isEmpty();
            return folders;
        };
        if (dpi > 72) {
            for (int i = 0; i < 50; ++i, QTest::qWait(50))
                QVERIFY(drawn() < 2);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(drawn() == 2, 2500);
        }
        QCOMPARE(told, QStringList({"started first.pdf", "opened first.pdf", "page 1"}));
        if (stop)
            batch.cancel();
        QTRY_VERIFY_WITH_TIMEOUT(summary, 20000);
        QCOMPARE(summary->cancelled, stop);
        if (stop) {
            QCOMPARE(told,
                     QStringList({"started first.pdf", "opened first.pdf", "page 1", "finished first.pdf beside "}));
            QCOMPARE(filesIn(folder.path("out")), QStringList());
        } else {
            QCOMPARE(told,
                     QStringList({"started first.pdf", "opened first.pdf", "page 1", "wrote first.png",
                                  "finished first.pdf beside first.png", "started second.pdf", "opened second.pdf",
                                  "page 1", "wrote second.png", "finished second.pdf beside first.png second.png",
                                  "started third.pdf", "opened third.pdf", "page 1", "wrote third.png",
                                  "finished third.pdf beside first.png second.png third.png"}));
            QCOMPARE(summary->pagesWritten, 3);
        }
        QTRY_COMPARE_WITH_TIMEOUT(QDir(folder.temp()).entryList({"SFG-*"}, QDir::Dirs), QStringList(), 5000);
    }

    // While the user decides whether to stop, nothing is converted, even of documents still being opened then.
    void batch_heldWhileOpening_convertsNothing()
    {
        CaseFolder folder;
        QVERIFY(QDir().mkpath(folder.path("out")));
        FixedImages images("png");
        BatchConversion batch(&images);
        QStringList told;
        connect(&batch, &BatchConversion::documentStarted, this, [&] { told << "started"; });
        std::optional<BatchSummary> summary;
        connect(&batch, &BatchConversion::finished, this, [&](const BatchSummary &ended) { summary = ended; });
        for (const bool openFirst : {true, false}) {
            told.clear();
            summary.reset();
            batch.start({.ghostscript = m_gs,
                         .documents = {doc("first.pdf"), doc("second.pdf"), doc("third.pdf")},
                         .options = {.dpi = 72},
                         .destination = folder.path("out"),
                         .destinationIsFolder = true,
                         .askBeforeReplacing = openFirst});
            batch.setHeld(true);
            QTest::qWait(2500); // the documents have opened, and the first would long be written
            QCOMPARE(filesIn(folder.path("out")), QStringList());
            batch.cancel();
            QTRY_VERIFY_WITH_TIMEOUT(summary, 10000);
            QVERIFY(summary->cancelled);
            QCOMPARE(filesIn(folder.path("out")), QStringList());
            QCOMPARE(told.count("started"), 1);
        }
    }

    // A document drawn ahead is converted in its turn as any other: its own pages past the end, a multi-page file
    // written only then, no time-out while it waits.
    void batch_documentDrawnAheadIsConvertedAsInItsTurn_data()
    {
        QTest::addColumn<QString>("pages");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<QStringList>("told"); // at the end of each document: the pages missing, the files
        QTest::newRow("pages past the end")
            << "1-7"
            << "png" << 0
            << QStringList{"first.pdf: 2-7; first.png",
                           "five.pdf: 6-7; first.png five001.png five002.png five003.png five004.png five005.png"};
        QTest::newRow("a multi-page file")
            << ""
            << "tif" << 0 << QStringList{"first.pdf: ; first.tif", "five.pdf: ; first.tif five.tif"};
        // Its bitmaps wait longer than a page may take: no page is drawn meanwhile.
        QTest::newRow("a short time-out")
            << ""
            << "png" << 1
            << QStringList{"first.pdf: ; first.png", "five.pdf: ; first.png five001.png five002.png five003.png "
                                                     "five004.png five005.png"};
    }

    void batch_documentDrawnAheadIsConvertedAsInItsTurn()
    {
        QFETCH(QString, pages);
        QFETCH(QString, format);
        QFETCH(int, timeout);
        QFETCH(QStringList, told);
        CaseFolder folder;
        QVERIFY(QDir().mkpath(folder.path("out")));
        FirstPageSlow images(uncompressedTiff({20, 20}));
        images.firstMs = 3000;
        BatchConversion batch(&images);
        QStringList ended;
        connect(
            &batch, &BatchConversion::documentFinished, this,
            [&](const QString &document, const ConversionResult &result, const QList<PageSelection::Range> &missing) {
                // A multi-page file is begun, under a temporary name, when its document is started.
                const QStringList files = filesIn(folder.path("out")).filter(QRegularExpression("\\.(png|tif)$"));
                ended << QFileInfo(document).fileName() + ": " + PageSelection::text(missing) + "; " + files.join(' ');
                QVERIFY2(result.isSuccess(), qPrintable(result.fatal.message));
            });
        std::optional<BatchSummary> summary;
        connect(&batch, &BatchConversion::finished, this, [&](const BatchSummary &done) { summary = done; });
        BatchRequest request{.ghostscript = m_gs,
                             .documents = {doc("first.pdf"), doc("five.pdf")},
                             .options = {.dpi = 72},
                             .destination = folder.path("out"),
                             .destinationIsFolder = true,
                             .pageTimeout = timeout};
        request.options.format = format == "tif" ? ImageFormat::Tiff : ImageFormat::Png;
        if (!pages.isEmpty())
            request.pages = *PageSelection::parse(pages, nullptr);
        batch.start(request);
        QTRY_VERIFY_WITH_TIMEOUT(summary, 20000);
        QCOMPARE(ended, told);
        QVERIFY(!summary->cancelled && summary->fatal.isNone());
        if (format == "tif")
            QCOMPARE(readImage(folder.path("out/five.tif")).images, 5);
    }
};

QTEST_MAIN(tst_Engine)
#include "tst_engine.moc"
