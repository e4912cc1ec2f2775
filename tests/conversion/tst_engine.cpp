// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"
#include "TestSupport.h"

#include "conversion/ConversionEngine.h"
#include "conversion/DestinationFile.h"
#include "conversion/MultiPageTiff.h"
#include "conversion/PageWriter.h"
#include "document/OutputSize.h"

#include <QtTest>

#include <cstdio>
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
    QString body = "page 1; exit 0";
    QSizeF points{595, 842};
    int dpi = 72;
    bool antialias = false;
    qint64 free = -1; // bytes in the temporary folder; -1 for plenty
    int fatal = int(Problem::None);
    QString said;
    int written = 0;
    int workMs = 0; // what the library takes for a page
};
Q_DECLARE_METATYPE(Limit)

// A name in the destination folder that is not a regular file, and what a run makes of it.
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

// What happens between a destination's opening and its commit, and what the commit makes of it.
struct Meanwhile
{
    enum What { Nothing, LinkAtTheName, FolderSwapped };
    What what = Nothing;
    int existingMode = 0; // of a file already under the name; 0 for none
    int problem = int(Problem::None);
    QStringList left{"page.png"}; // everything in the folder named out/ afterwards
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
    int written = 0;
};
Q_DECLARE_METATYPE(Stopped)

class tst_Engine : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_gs;

    QString doc(const QString &name) const { return m_docs.filePath(name); }

    ConversionJob job(const QString &document, const QString &destination, int first = 1, int last = 1)
    {
        ConversionJob job;
        job.options.sourceFile = doc(document);
        job.options.dpi = 72;
        job.ghostscript = m_gs;
        job.destination = destination;
        job.firstPage = first;
        job.lastPage = last;
        job.numbered = last > first;
        job.pageCount = last;
        return job;
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
        m_gs = GhostscriptLocator().locate();
        QVERIFY(!m_gs.isEmpty());
        QVERIFY(writePdf(doc("sizes.pdf"), {{300, 200}, {200, 300}, {251, 149}, {149, 251}, {280, 220}}));
        QVERIFY(writePdf(doc("wheel.pdf"), {{300, 200}}, true));
        QVERIFY(writePdf(doc("upright.pdf"), {{595, 842}, {842, 595}, {595, 842}}));
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
        // 120 dpi makes fractions: halving rounds differently from rendering directly.
        QTest::newRow("portrait 120 antialiased") << SizeCase{.dpi = 120, .pixels = {991, 1403}};
        QTest::newRow("portrait 120") << SizeCase{.dpi = 120, .antialias = false, .pixels = {992, 1403}};
        QTest::newRow("rotated 144 antialiased")
            << SizeCase{.page = 3, .dpi = 144, .points = landscape, .pixels = {1684, 1190}};
        QTest::newRow("rotated 120") << SizeCase{
            .page = 3, .dpi = 120, .antialias = false, .points = landscape, .pixels = {1403, 992}};
        QTest::newRow("crop box inside the paper")
            << SizeCase{.document = "cropped.pdf", .points = {200, 100}, .pixels = {200, 100}};
        // A box whose resolution is not a whole number: the bitmap's sides are rounded before scaling.
        QTest::newRow("500 pixels wide") << SizeCase{.box = {500, 0}, .pixels = {500, 707}};
        QTest::newRow("within 1000 x 1000")
            << SizeCase{.page = 3, .points = landscape, .box = {1000, 1000}, .pixels = {1000, 706}};
    }

    void imageSize_isWhatTheReadOutPredicts()
    {
        QFETCH(SizeCase, c);
        CaseFolder folder;
        const DocumentInfo info = documentInfo(doc(c.document), c.page);
        QCOMPARE(info.pageSize, c.points);
        ConversionJob run = job(c.document, folder.path("page.png"), c.page, c.page);
        run.options.dpi = c.dpi;
        run.options.antialias = c.antialias;
        run.options.fitToBox = c.box.isValid();
        run.options.boxWidth = c.box.width();
        run.options.boxHeight = c.box.height();
        run.pageSize = info.pageSize;
        QVERIFY(convert(run).isSuccess());
        QCOMPARE(readImage(run.destination).size, c.pixels);
        QCOMPARE(OutputSize::written(run.options, info.pageSize), c.pixels);
    }

    // Asked for through the log category, a run tells each stage's share and each worker's load; run twice, so
    // that the second line shows only the second run's time.
    void timing_tellsWhereTheTimeWent()
    {
        static QStringList lines;
        QLoggingCategory::setFilterRules(QStringLiteral("sheetforge.timing.info=true"));
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &message) {
                if (QByteArray(context.category) == "sheetforge.timing")
                    lines << message;
            });
        CaseFolder folder;
        bool converted = true;
        for (const QString name : {"a.png", "b.png"}) {
            ConversionJob run = job("sizes.pdf", folder.path(name), 1, 5);
            run.options.trim = true;
            run.options.fitToBox = true;
            run.options.boxWidth = 150;
            converted = converted && convert(run).isSuccess();
        }
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules({});
        QVERIFY(converted);
        QCOMPARE(lines.size(), 2);
        const QStringList stages{"rendering", "reading", "trimming", "scaling", "reducing", "encoding", "writing"};
        const QString share = QStringLiteral(" (\\d+\\.\\d+) s (\\d+)%");
        const QRegularExpression layout("^5 pages in (\\d+\\.\\d+) s; " + stages.join(share + ", ") + share
                                        + "; workers busy \\d+%( \\d+%)*$");
        for (const QString &line : lines) {
            const QRegularExpressionMatch found = layout.match(line);
            QVERIFY2(found.hasMatch(), qPrintable(line));
            double workers = 0;
            int shares = 0;
            for (int i = 0; i < stages.size(); ++i) {
                QVERIFY2(found.captured(2 + 2 * i).toDouble() > 0, qPrintable(stages.at(i) + " unmeasured: " + line));
                workers += i > 0 ? found.captured(2 + 2 * i).toDouble() : 0;
                shares += found.captured(3 + 2 * i).toInt();
            }
            const double wall = found.captured(1).toDouble();
            QVERIFY2(found.captured(2).toDouble() <= wall + 0.05, qPrintable(line)); // one Ghostscript at a time
            QVERIFY2(workers <= QThread::idealThreadCount() * wall + 0.05, qPrintable(line));
            QVERIFY2(std::abs(shares - 100) <= 4, qPrintable(line)); // seven shares, each rounded
        }
    }

    // The quality reaches the JPEG file; the PNG one is the same at any.
    void quality_reachesTheLossyFormatsAndNothingElse()
    {
        CaseFolder folder;
        QMap<QString, QByteArray> written;
        for (const QString name : {"q10.jpg", "q90.jpg", "q10.png", "q90.png"}) {
            ConversionJob run = job("wheel.pdf", folder.path(name));
            run.options.colorDepth = ColorDepth::HiColor;
            run.options.jpegQuality = name.mid(1, 2).toInt();
            QVERIFY(convert(run).isSuccess());
            written[name] = contentsOf(run.destination);
        }
        QCOMPARE(readImage(folder.path("q10.jpg")).quality, 10);
        QVERIFY(written["q10.jpg"].size() < written["q90.jpg"].size());
        QCOMPARE(readImage(folder.path("q10.png")).format, QByteArray("PNG"));
        QCOMPARE(written["q10.png"], written["q90.png"]); // PNG files carry no time of writing
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
        QCOMPARE(result.written.size(), 3);
        QCOMPARE(readImage(out + "/scan002.png").size, QSize(200, 300));
        QCOMPARE(readImage(out + "/scan003.png").size, QSize(251, 149));
        QCOMPARE(readImage(out + "/scan004.png").size, QSize(149, 251));
        QCOMPARE(leftovers(folder.temp()), QStringList());
        run.pageCount = 1000;
        QCOMPARE(QFileInfo(run.outputFileName(2)).fileName(), "scan0002.png");
    }

    void failure_isNeverSuccessAndLeavesNothing_data()
    {
        QTest::addColumn<Failure>("c");
        const int unwritable = int(Problem::DestinationNotWritable);
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
        QTest::newRow("folder missing") << Failure{
            .body = "page 1; exit 0", .fatal = unwritable, .destination = "out/missing/scan.png"};
        QTest::newRow("file in place of the folder")
            << Failure{.body = "page 1; exit 0", .fatal = unwritable, .destination = "out/plain/scan.png"};
    }

    void failure_isNeverSuccessAndLeavesNothing()
    {
        QFETCH(Failure, c);
        CaseFolder folder;
        QDir().mkpath(folder.path("out"));
        QVERIFY(plantFile(folder.path("out/plain"), {}));
        ConversionJob run = job("sizes.pdf", folder.path(c.destination));
        run.ghostscript = c.body.isNull() ? folder.path("nogs") : fakeGhostscript(folder.path(), c.body);
        const ConversionResult result = convert(run);
        QVERIFY(!result.isSuccess());
        QCOMPARE(int(result.fatal.kind), c.fatal);
        QCOMPARE(result.failures.size(), c.failedPages);
        // What the user reads names no private work folder and no reason that is none.
        const FailureSummary summary = FailureSummary::of(result.failures);
        for (const QString &told : {summary.text, summary.details, result.fatal.message, result.fatal.details})
            QVERIFY2(!told.contains("SFG-") && !told.contains("Unknown error"), qPrintable(told));
        QVERIFY(result.written.isEmpty());
        QCOMPARE(filesIn(folder.path("out")), QStringList{"plain"});
        QCOMPARE(QFile::exists(folder.path("gs.log")),
                 c.fatal != int(Problem::DestinationNotWritable) && !c.body.isNull());
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void documentText_neverPassesForGhostscriptsOwnLines()
    {
        // The font name makes Ghostscript print "Page 2" inside page 1 and "Page 7" after it; the title
        // imitates the page count and a page box.
        QVERIFY(writeRawPdf(doc("forged.pdf"), {"0 0 612 792", "0 0 612 792", "0 0 612 792"},
                            "Nope#0APage#202#0APage#207#0A",
                            "Evil\nPage 1 MediaBox: [0 0 20000 20000]\n        File has 99 pages.\n"
                            "Page 1 MediaBox: [0 0 20000 20000]"));
        const DocumentInfo info = documentInfo(doc("forged.pdf"), 1);
        QCOMPARE(info.pageCount, 3);
        QCOMPARE(info.pageSize, QSizeF(612, 792));
        CaseFolder folder;
        const ConversionJob run = job("forged.pdf", folder.path("scan.png"), 1, 3);
        ConversionEngine engine;
        QSignalSpy started(&engine, &ConversionEngine::pageStarted);
        const ConversionResult result = convert(engine, run);
        QVERIFY(result.isSuccess());
        QCOMPARE(result.written, run.outputFileNames());
        // Only pages of the run, each once, in order.
        for (qsizetype i = 0; i < started.count(); ++i)
            QCOMPARE(started.at(i).first().toInt(), int(i) + 1);
        for (const QString &file : result.written)
            QCOMPARE(readImage(file).size, QSize(612, 792));
    }

    void document_isTheFileFoundAtTheStart_whateverTakesItsName()
    {
        CaseFolder folder;
        // Fitted into a box 200 pixels wide, the pages need 36 and 144 dpi in turn: four Ghostscript runs.
        const QString source = folder.path("source.pdf"), other = folder.path("other.pdf");
        QVERIFY(writePdf(source, {{400, 200}, {100, 50}, {400, 200}, {100, 50}}));
        QVERIFY(writePdf(other, QList<QSizeF>(4, QSizeF(100, 200))));
        ConversionJob run = job("sizes.pdf", folder.path("fit.png"), 1, 4);
        run.options.sourceFile = source;
        run.options.fitToBox = true;
        run.options.boxWidth = 200;
        run.pageSize = {400, 200};
        ConversionEngine engine;
        connect(&engine, &ConversionEngine::pageStarted, this, [&] {
            if (QFile::exists(other))
                QCOMPARE(std::rename(QFile::encodeName(other).constData(), QFile::encodeName(source).constData()), 0);
        });
        QVERIFY(convert(engine, run).isSuccess());
        QVERIFY(!QFile::exists(other));
        for (const QString &file : run.outputFileNames())
            QCOMPARE(readImage(file).size, QSize(200, 100));
    }

    void password_reachesGhostscriptOnlyInMemory()
    {
        CaseFolder folder;
        ConversionJob run = fakeJob(folder, "page.png", 1, "page 1; exit 0");
        run.password = "s3cret";
        FixedImages images;
        images.data = "image";
        QVERIFY(convert(run, &images).isSuccess());
        QVERIFY(!contentsOf(folder.path("gs.log")).contains("s3cret"));
        QCOMPARE(contentsOf(folder.path("argfile.log")).trimmed(), QByteArray("-sPDFPassword=s3cret"));
        QCOMPARE(::prctl(PR_GET_DUMPABLE), 0); // holding a password, the program leaves no core of its own
        QCOMPARE(contentsOf(folder.path("found.log")), QByteArray());
    }

    void pageLimits_stopARunOnlyForThePageThatExceedsThem_data()
    {
        QTest::addColumn<Limit>("c");
        const QSizeF vast(14400, 14400);
        const int tooLarge = int(Problem::TooLarge), timedOut = int(Problem::PageTimedOut);
        const qint64 GB = 1'000'000'000;
        // Each page takes less than the second allowed; the whole run takes more.
        QTest::newRow("pages within the time")
            << Limit{.body = "page 1; sleep 0.6; page 2; sleep 0.6; page 3; exit 0", .written = 3};
        // Ghostscript makes no bitmap for a page it is still drawing: the one before it is complete.
        QTest::newRow("a page that never ends")
            << Limit{.body = "page 1; exec sleep 60", .fatal = timedOut, .said = "Page 2 ", .written = 1};
        // Ghostscript stopped for its time stops no page still being written.
        QTest::newRow("a page that never ends after one still being written") << Limit{
            .body = "page 1; exec sleep 60", .fatal = timedOut, .said = "Page 2 ", .written = 1, .workMs = 1500};
        QTest::newRow("too large by its area")
            << Limit{.points = vast, .dpi = 400, .fatal = tooLarge, .said = "At most 300 dpi fits"};
        QTest::newRow("too large by its side")
            << Limit{.points = vast, .dpi = 1200, .fatal = tooLarge, .said = "At most 300 dpi fits"};
        QTest::newRow("too tall") << Limit{
            .points = {595, 14400}, .dpi = 1200, .fatal = tooLarge, .said = "At most 600 dpi fits"};
        QTest::newRow("A4 at the highest resolution") << Limit{.dpi = 2400, .written = 1};
        // 28800 pixels a side: a 2.5 GB bitmap and 16.6 GB of pixel cache, beyond 1 GiB of memory.
        QTest::newRow("the defaults on a vast page, 10 GB free") << Limit{.points = vast,
                                                                          .dpi = 144,
                                                                          .antialias = true,
                                                                          .free = 10 * GB,
                                                                          .fatal = tooLarge,
                                                                          .said = "At most 96 dpi"};
        QTest::newRow("600 dpi on a vast page, 80 GB free")
            << Limit{.points = vast, .dpi = 600, .free = 80 * GB, .fatal = tooLarge, .said = "At most 192 dpi"};
        QTest::newRow("1200 dpi on A4, 15 MB free")
            << Limit{.dpi = 1200, .free = 15'000'000, .fatal = tooLarge, .said = "At most 192 dpi"};
        QTest::newRow("A4 at the highest resolution, 20 GB free") << Limit{.dpi = 2400, .free = 20 * GB, .written = 1};
    }

    void pageLimits_stopARunOnlyForThePageThatExceedsThem()
    {
        QFETCH(Limit, c);
        CaseFolder folder;
        ConversionJob run = fakeJob(folder, "scan.png", 3, c.body);
        run.pageSize = c.points;
        run.options.dpi = c.dpi;
        run.options.antialias = c.antialias;
        run.pageTimeout = 1;
        FixedImages images;
        images.data = "image";
        images.delayMs = c.workMs;
        if (c.free >= 0)
            images.roomLeft.free = c.free;
        QElapsedTimer clock;
        clock.start();
        const ConversionResult result = convert(run, &images);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(int(result.fatal.kind), c.fatal);
        QVERIFY2(result.fatal.message.contains(c.said), qPrintable(result.fatal.message));
        QCOMPARE(result.pagesWritten, c.written);
        QCOMPARE(filesIn(folder.path()).filter("scan").size(), c.written);
        // The pages after a slow one were never drawn: not failures of their own.
        if (c.fatal == int(Problem::PageTimedOut))
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

    void manyPages_holdGhostscriptWhileTheWorkersAreBusy()
    {
        CaseFolder folder;
        const ConversionJob run =
            fakeJob(folder, "scan.png", 12, "for n in $(seq 1 12); do page $n; sleep 0.05; done; exit 0");
        FixedImages images;
        images.data = "image";
        images.delayMs = 400;
        // Bitmaps waiting in the work folder, seen from a worker: never more than the workers hold, and a spare.
        std::atomic_int mostWaiting = 0;
        images.whileConverting = [&] {
            const QDir temp(folder.temp());
            for (const QString &work : temp.entryList({"SFG-*"}, QDir::Dirs))
                mostWaiting = std::max<int>(mostWaiting, int(QDir(temp.filePath(work)).entryList({"p*.tif"}).size()));
        };
        const ConversionResult result = convert(run, &images);
        QVERIFY(result.isSuccess());
        QCOMPARE(result.written.size(), 12);
        QVERIFY2(mostWaiting <= QThread::idealThreadCount() + 4, qPrintable(QString::number(mostWaiting)));
    }

    // Reading the page sizes for a box is no page: a question asked and answered meanwhile does not start a
    // page's time. When the sizes cannot be read, every page is rendered at the one resolution instead.
    void boxSizesUnread_heldMeanwhile_stillConverts()
    {
        CaseFolder folder;
        ConversionJob run = fakeJob(folder, "scan.png", 2,
                                    R"sh([ -n "$info" ] && { sleep 2; echo "Error: /undefined in pdfgetpage"; exit 1; }
page 1; page 2; exit 0)sh");
        run.options.fitToBox = true;
        run.options.boxWidth = 300;
        run.pageSize = {300, 200};
        run.pageTimeout = 1;
        FixedImages images;
        images.data = "image";
        ConversionEngine engine(&images);
        QSignalSpy finished(&engine, &ConversionEngine::finished);
        engine.start(run);
        engine.setHeld(true);
        engine.setHeld(false);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 15000);
        const auto result = finished.first().first().value<ConversionResult>();
        QVERIFY2(result.isSuccess(), qPrintable(result.fatal.message));
        QCOMPARE(result.written.size(), 2);
    }

    // While the user is asked whether to stop, Ghostscript is stopped and nothing is written; a page that
    // then never ends still runs out of time once the answer is No.
    void heldRun_rendersAndWritesNothingUntilReleased()
    {
        CaseFolder folder;
        ConversionJob run =
            fakeJob(folder, "scan.png", 8, "for n in $(seq 1 7); do page $n; sleep 0.1; done; exec sleep 60");
        run.pageTimeout = 1;
        FixedImages images;
        images.data = "image";
        ConversionEngine engine(&images);
        QSignalSpy finished(&engine, &ConversionEngine::finished);
        QSignalSpy started(&engine, &ConversionEngine::pageStarted);
        engine.start(run);
        engine.setHeld(true);
        QTest::qWait(1500);
        const QDir temp(folder.temp());
        qsizetype bitmaps = 0;
        for (const QString &work : temp.entryList({"SFG-*"}, QDir::Dirs))
            bitmaps += QDir(temp.filePath(work)).entryList({"p*.tif"}).size();
        QVERIFY2(bitmaps <= 2, qPrintable(QString::number(bitmaps)));
        QCOMPARE(filesIn(folder.path()).filter("scan"), QStringList());
        QCOMPARE(finished.count(), 0);
        started.clear();
        engine.setHeld(false);
        // Held again on the page that never ends: the question's time does not count, the page's does.
        QTRY_VERIFY_WITH_TIMEOUT(!started.isEmpty() && started.last().first().toInt() == 8, 5000);
        engine.setHeld(true);
        QTest::qWait(1500);
        QCOMPARE(finished.count(), 0);
        engine.setHeld(false);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
        const auto result = finished.first().first().value<ConversionResult>();
        QCOMPARE(int(result.fatal.kind), int(Problem::PageTimedOut));
        QCOMPARE(result.written.size(), 7);
    }

    void cancelledRun_lateResultsNeverCountInTheNext()
    {
        CaseFolder folder;
        QDir().mkpath(folder.path("first"));
        QDir().mkpath(folder.path("second"));
        const ConversionJob first = fakeJob(folder, "first/a.png", 4, "for n in 1 2 3 4; do page $n; done; exit 0");
        ConversionJob second = job("sizes.pdf", folder.path("second/b.png"), 1, 2);
        second.ghostscript = first.ghostscript;
        FixedImages slow;
        slow.data = "late";
        slow.delayMs = 700;
        ConversionEngine engine(&slow);
        QSignalSpy finished(&engine, &ConversionEngine::finished);
        QSignalSpy written(&engine, &ConversionEngine::pageWritten);
        engine.start(first);
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(folder.temp()).entryList({"SFG-*"}, QDir::Dirs).isEmpty(), 10000);
        QTest::qWait(300); // the workers are inside the library now
        engine.cancel();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
        slow.delayMs = 0;
        const ConversionResult result = convert(engine, second);
        QTest::qWait(1000); // every late worker of the first run has reported by now
        QVERIFY(result.isSuccess());
        QCOMPARE(result.written, second.outputFileNames());
        QCOMPARE(written.count(), 2);
        QCOMPARE(filesIn(folder.path("first")), QStringList());
    }

    // Under a name to be written, only a regular file or nothing is replaced: a link is never followed, and
    // no special file is touched.
    void destinationNotARegularFile_isRefusedAndNothingFollowed_data()
    {
        QTest::addColumn<Planted>("c");
        const QStringList numbered{"scan001.png", "scan002.png", "scan003.png"};
        QTest::newRow("link to a file elsewhere") << Planted{};
        QTest::newRow("dangling link") << Planted{.linkTo = "../elsewhere/new.conf"};
        QTest::newRow("FIFO") << Planted{.linkTo = {}};
        QTest::newRow("numbered name planted as a link")
            << Planted{.pages = 3, .plant = "scan002.png", .fatal = 0, .failedPage = 2, .written = numbered};
        QTest::newRow("multi-page TIFF a link")
            << Planted{.destination = "scan.tif", .pages = 3, .plant = "scan.tif", .written = {"scan.tif"}};
        // A temporary name is predictable too: what stands there is removed, never opened or followed.
        const QString part = "scan.tif.sheetforge-part";
        QTest::newRow("link at the multi-page file's temporary")
            << Planted{.destination = "scan.tif", .pages = 3, .plant = part, .fatal = 0, .written = {"scan.tif"}};
        QTest::newRow("FIFO at the multi-page file's temporary") << Planted{
            .destination = "scan.tif", .pages = 3, .plant = part, .linkTo = {}, .fatal = 0, .written = {"scan.tif"}};
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
        QVERIFY(plantFile(important, "keep me"));
        QVERIFY(QFile::setPermissions(important, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        const QString plant = folder.path("out/" + c.plant);
        QVERIFY(c.linkTo.isEmpty() ? run("mkfifo", {plant}) : QFile::link(c.linkTo, plant));
        const ConversionJob run = fakeJob(folder, "out/" + c.destination, c.pages, "page 1; page 2; page 3; exit 0");
        FixedImages images;
        images.data = c.destination.endsWith(".tif") ? uncompressedTiff(QSize(20, 20)) : "image";
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
        // Everything in the folder, a dangling link and a FIFO included: the planted name is still there as it
        // was, and no temporary is left.
        const QDir written(QFileInfo(run.destination).absolutePath());
        QCOMPARE(written.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 c.written);
        const QFileInfo left(plant);
        if (c.plant.endsWith(".sheetforge-part"))
            QVERIFY(!left.exists() && !left.isSymLink());
        else
            QVERIFY(c.linkTo.isEmpty() ? !left.isFile() && left.exists() : left.isSymLink());
        QCOMPARE(filesIn(folder.path("elsewhere")), QStringList{"important.conf"});
        QCOMPARE(contentsOf(important), QByteArray("keep me"));
        QCOMPARE(modeOf(important), 0600);
    }

    // What cannot be written is named: the file the user may not change, or the link, never the folder that
    // could take the file.
    void refusedWrite_namesWhatFailed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::newRow("read-only file") << "readonly.png" << int(Problem::FileNotWritable);
        QTest::newRow("link into another user's folder") << "report.png" << int(Problem::NotRegularFile);
        // Checked before the run: the folder itself, not the one above it.
        QTest::newRow("another user's folder") << QString() << int(Problem::DestinationNotWritable);
    }

    void refusedWrite_namesWhatFailed()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        CaseFolder folder;
        const QString mine = folder.path("mine"), theirs = folder.path("theirs"), readonly = mine + "/readonly.png";
        QVERIFY(QDir().mkpath(mine) && QDir().mkpath(theirs));
        QVERIFY(plantFile(readonly, "old") && plantFile(theirs + "/important.conf", "keep me"));
        QVERIFY(
            QFile::setPermissions(readonly, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        QVERIFY(QFile::link("../theirs/important.conf", mine + "/report.png"));
        QVERIFY(QFile::setPermissions(theirs, {}));
        QVERIFY(QFile::setPermissions(folder.path(), QFile::permissions(folder.path()) | QFileDevice::ExeOther));
        // As root, the write is made as an ordinary user who owns the folder makes it.
        const bool root = ::geteuid() == 0;
        if (root) {
            QVERIFY(::chown(QFile::encodeName(mine).constData(), 65534, 65534) == 0);
            QVERIFY(::chown(QFile::encodeName(readonly).constData(), 65534, 65534) == 0);
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
        const Problem problem = name.isEmpty() ? PageWriter::checkWritable(theirs)
                                               : PageWriter::writeAtomically(mine + '/' + name, "image");
        if (root) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
        QFile::setPermissions(theirs, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(int(problem.kind), kind);
        QVERIFY2(problem.message.contains('"' + (name.isEmpty() ? theirs : mine + '/' + name) + '"'),
                 qPrintable(problem.message));
        QCOMPARE(contentsOf(readonly), QByteArray("old"));
        QCOMPARE(leftovers(mine), (QStringList{"readonly.png", "report.png"}));
        QCOMPARE(contentsOf(theirs + "/important.conf"), QByteArray("keep me"));
        QCOMPARE(leftovers(theirs), QStringList{"important.conf"});
    }

    // One multi-page file has one writer: a second run into it is refused while the first writes, and a
    // temporary left by a run that died is taken over.
    void multiPageTiff_secondWriterIsRefused()
    {
        CaseFolder folder;
        const ConversionJob run = fakeJob(folder, "scan.tif", 3, "page 1; page 2; page 3; exit 0");
        FixedImages slow;
        slow.data = uncompressedTiff(QSize(20, 20));
        slow.delayMs = 300;
        ConversionEngine engine(&slow);
        QSignalSpy finished(&engine, &ConversionEngine::finished);
        engine.start(run);
        const ConversionResult second = convert(run, &slow);
        QCOMPARE(int(second.fatal.kind), int(Problem::DestinationBusy));
        QVERIFY2(second.fatal.message.contains(run.destination), qPrintable(second.fatal.message));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QVERIFY(finished.first().first().value<ConversionResult>().isSuccess());
        QCOMPARE(readImage(run.destination).images, 3);
        QCOMPARE(modeOf(run.destination), newFileMode()); // only a temporary stays private

        QVERIFY(plantFile(run.destination + ".sheetforge-part", "partial"));
        slow.delayMs = 0;
        QVERIFY(convert(run, &slow).isSuccess());
        QCOMPARE(leftovers(folder.path()).filter("scan"), QStringList{"scan.tif"});
    }

    void destinationFile_commitJudgesTheNameAndTheFolderAgain_data()
    {
        QTest::addColumn<Meanwhile>("meanwhile");
        QTest::newRow("a file replaced keeps its permissions") << Meanwhile{.existingMode = 0640};
        QTest::newRow("a new file") << Meanwhile{};
        QTest::newRow("a link put under the name")
            << Meanwhile{.what = Meanwhile::LinkAtTheName, .problem = int(Problem::NotRegularFile)};
        QTest::newRow("the folder moved and another made under its name")
            << Meanwhile{.what = Meanwhile::FolderSwapped, .problem = int(Problem::DestinationNotWritable), .left = {}};
    }

    void destinationFile_commitJudgesTheNameAndTheFolderAgain()
    {
        QFETCH(Meanwhile, meanwhile);
        CaseFolder folder;
        QVERIFY(QDir().mkpath(folder.path("out")));
        const QString name = folder.path("out/page.png");
        if (meanwhile.existingMode)
            QVERIFY(plantFile(name, "old") && ::chmod(qPrintable(name), mode_t(meanwhile.existingMode)) == 0);
        DestinationFile file(name);
        QVERIFY(file.open().isNone());
        QVERIFY(file.write("new").isNone());
        if (meanwhile.what == Meanwhile::LinkAtTheName)
            QVERIFY(QFile::link(folder.path("elsewhere.conf"), name));
        if (meanwhile.what == Meanwhile::FolderSwapped)
            QVERIFY(QDir().rename(folder.path("out"), folder.path("moved")) && QDir().mkpath(folder.path("out")));
        QCOMPARE(int(file.commit().kind), meanwhile.problem);
        const auto everything = [&folder](const QString &name) {
            return QDir(folder.path(name))
                .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
        };
        // No temporary is left, in the folder named or in the one moved away.
        QCOMPARE(everything("out"), meanwhile.left);
        QCOMPARE(everything("moved"), QStringList());
        QCOMPARE(QFileInfo(name).isSymLink(), meanwhile.what == Meanwhile::LinkAtTheName);
        if (meanwhile.problem == int(Problem::None)) {
            QCOMPARE(contentsOf(name), QByteArray("new"));
            QCOMPARE(modeOf(name), meanwhile.existingMode ? meanwhile.existingMode : newFileMode());
        }
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

    // A disk out of room for one more file is full though megabytes are still free, not forbidden.
    void noFileLeftOnTheDisk_isAFullDisk()
    {
        CaseFolder folder;
        const SmallDisk small(folder.path("small"), "size=4m,nr_inodes=4");
        if (!small.mounted)
            QSKIP("Needs a small file system: mount is not allowed here");
        for (int i = 0; plantFile(small.path + '/' + QString::number(i), {}); ++i) {
        }
        const Problem problem = PageWriter::writeAtomically(small.path + "/page.png", "image");
        QCOMPARE(int(problem.kind), int(Problem::DiskFull));
        QVERIFY2(problem.message.contains(small.path), qPrintable(problem.message));
        QVERIFY(!leftovers(small.path).contains("page.png"));
        const Problem folderMade = DestinationFile::makeFolder(small.path + "/new/deeper");
        QVERIFY2(folderMade.kind == Problem::DiskFull && folderMade.message.contains("is full. Free some space"),
                 qPrintable(folderMade.message));
    }

    void fullTemporaryFolder_isNamedNotBlamedOnTheDocument_data()
    {
        QTest::addColumn<QString>("body");
        QTest::newRow("Ghostscript ends without a word and without a bitmap") << "exit 0";
        QTest::newRow("a bitmap cut short") << "page 1; exit 0";
    }

    void fullTemporaryFolder_isNamedNotBlamedOnTheDocument()
    {
        QFETCH(QString, body);
        CaseFolder folder;
        const SmallDisk small(folder.path("small"), "size=1m");
        if (!small.mounted)
            QSKIP("Needs a small file system: mount is not allowed here");
        qputenv("TMPDIR", QFile::encodeName(small.path));
        // A4 at 300 dpi needs 26 MB.
        ConversionJob run = fakeJob(folder, "page.png", 1, body);
        run.pageSize = QSizeF(595, 842);
        run.options.dpi = 300;
        FixedImages images; // room enough by the library's account, so that Ghostscript is asked
        images.unreadable = true;
        const ConversionResult result = convert(run, &images);
        QCOMPARE(int(result.fatal.kind), int(Problem::TemporaryFolderFull));
        QVERIFY(result.fatal.message.contains(small.path));
        QCOMPARE(leftovers(small.path), QStringList());
    }

    // A run stopped by the user, by a full disk, by its folder removed or by a page the multi-page file cannot take
    // leaves nothing of its own behind, and the file it would have replaced as it was.
    void stoppedRun_leavesNothingAndKeepsTheOldFile_data()
    {
        QTest::addColumn<Stopped>("c");
        const QByteArray large(512 * 1024, 'x');
        const int none = int(Problem::None), gone = int(Problem::DestinationNotWritable);
        // Stopped once a page has gone into the file, which then no longer counts.
        QTest::newRow("multi-page file cancelled")
            << Stopped{.body = "page 1; page 2; page 3; exit 0", .cancelAt = 2, .fatal = none};
        QTest::newRow("a page the multi-page file cannot join") << Stopped{
            .image = "not a TIFF at all", .body = "page 1; page 2; page 3; exit 0", .fatal = int(Problem::PageFailed)};
        QTest::newRow("numbered pages, disk full")
            << Stopped{.name = "scan.png", .existing = {}, .image = large, .diskFull = true};
        QTest::newRow("replacing a file, disk full")
            << Stopped{.name = "scan.png", .pages = 1, .existing = "previous image", .image = large, .diskFull = true};
        QTest::newRow("replacing a multi-page file, disk full")
            << Stopped{.image = uncompressedTiff({300, 600}), .diskFull = true};
        QTest::newRow("replacing a multi-page file, full at its second page")
            << Stopped{.image = uncompressedTiff({80, 80}), .diskFull = true};
        QTest::newRow("folder removed, numbered files") << Stopped{
            .name = "scan.png", .existing = {}, .removed = ".", .fatal = gone, .said = "\"{out}\"", .written = 1};
        QTest::newRow("folder removed, one multi-page file")
            << Stopped{.existing = {}, .removed = ".", .fatal = gone, .said = "\"{out}\""};
        // Written on, the file would be complete in a file no name leads to.
        QTest::newRow("the multi-page file's temporary removed")
            << Stopped{.removed = "scan.tif.sheetforge-part", .fatal = gone, .said = "\"{out}\""};
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
        FixedImages images;
        images.data = c.image;
        images.delayMs = c.cancelAt ? 300 : 0;
        ConversionEngine engine(&images);
        connect(&engine, &ConversionEngine::progressChanged, this, [&](int done) {
            if (c.cancelAt && done == c.cancelAt)
                engine.cancel();
            if (done == 1 && c.removed == ".")
                QDir(out).removeRecursively();
            else if (done == 1 && !c.removed.isEmpty())
                QVERIFY(QFile::remove(out + '/' + c.removed));
        });
        QElapsedTimer clock;
        clock.start();
        const FileSizeLimit limit(c.diskFull ? 64 * 1024 : std::numeric_limits<qint64>::max());
        const ConversionResult result = convert(engine, run);
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(int(result.fatal.kind), c.fatal);
        QVERIFY2(result.fatal.message.contains(QString(c.said).replace("{out}", out)),
                 qPrintable(result.fatal.message));
        QCOMPARE(result.cancelled, c.cancelAt > 0);
        QVERIFY(result.failures.isEmpty()); // not blamed on each page
        QCOMPARE(result.pagesWritten, c.written);
        QCOMPARE(result.written.size(), c.written);
        QCOMPARE(QFileInfo::exists(out), c.removed != ".");
        QCOMPARE(filesIn(out), (c.existing.isEmpty() ? QStringList() : QStringList{c.name}));
        QCOMPARE(contentsOf(run.destination), c.existing);
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void pageGhostscriptSkipped_leavesThePagesAfterIt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("numbered files") << "scan.png";
        QTest::newRow("one multi-page file") << "scan.tif";
    }

    void pageGhostscriptSkipped_leavesThePagesAfterIt()
    {
        QFETCH(QString, name);
        CaseFolder folder;
        // Ghostscript ends at once after an empty page 2, with no worker busy: the page after it still counts.
        const ConversionJob run =
            fakeJob(folder, name, 3, R"sh(page 1; : > "$(printf "$pattern" 2)"; sleep 0.3; page 3; exit 0)sh");
        FixedImages images;
        images.data = uncompressedTiff(QSize(20, 20));
        const ConversionResult result = convert(run, &images);
        QCOMPARE(result.failures.size(), 1);
        QCOMPARE(result.failures.first().page, 2);
        QCOMPARE(result.pagesWritten, 2);
        if (name.endsWith(".tif"))
            QCOMPARE(readImage(folder.path(name)).images, 2);
        else
            QCOMPARE(filesIn(folder.path()).filter("scan"), QStringList({"scan001.png", "scan003.png"}));
    }

    void multiPageTiff_pastTheClassicLimit_becomesABigTiffOfEveryPage()
    {
        CaseFolder folder;
        const QString path = folder.path("scan.tif");
        // Pages of either byte order and colours of their own, finishing out of order.
        QList<QByteArray> pages;
        for (int i = 0; i < 5; ++i)
            pages << ImageObject()
                         .convert({"-size", "64x48", QString("xc:rgb(%1,%2,0)").arg(40 * i).arg(255 - 40 * i), "+noise",
                                   "Gaussian", "-endian", i % 2 ? "MSB" : "LSB", "-compress", "LZW"},
                                  "TIFF")
                         .data;
        // The third page takes the file past the limit.
        MultiPageTiff tiff(path, 4096 + pages.at(0).size() * 5 / 2);
        for (int i : {1, 0, 3, 2, 4})
            QVERIFY(tiff.add(i, pages.at(i)).isNone());
        QVERIFY(tiff.commit().isNone());

        QCOMPARE(contentsOf(path).left(4), QByteArray("II+\0", 4)); // BigTIFF
        QCOMPARE(readImage(path).images, 5);
        const auto pixels = [](const QString &source) {
            return QImage::fromData(ImageObject().convert({source}, "PPM").data, "PPM");
        };
        for (int i = 0; i < 5; ++i) {
            const QString source = folder.path(QString("page%1.tif").arg(i));
            QVERIFY(plantFile(source, pages.at(i)));
            QCOMPARE(pixels(QString("TIFF:%1[%2]").arg(path).arg(i)), pixels("TIFF:" + source));
        }
        QCOMPARE(filesIn(folder.path()).filter("scan"), QStringList{"scan.tif"}); // no temporary left beside it
    }
};

QTEST_MAIN(tst_Engine)
#include "tst_engine.moc"
