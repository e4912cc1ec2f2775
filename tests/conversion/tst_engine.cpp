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

#include <csignal>
#include <cstdio>
#include <sys/fsuid.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;

// A name in the destination folder that is not a regular file, and what a run makes of it.
struct Planted
{
    QString destination; // in out/
    int pages = 1;
    QString plant;  // the name in out/ that is not a regular file
    QString linkTo; // what it links to; empty for a FIFO
    int fatal = int(Problem::None);
    int failedPage = 0;  // refused alone, while the others are written
    QStringList written; // in the folder the destination names
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

class tst_Engine : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_gs;

    QString doc(const QString &name) const { return m_docs.filePath(name); }

    static QByteArray uncompressedTiff(QSize size)
    {
        return ImageObject()
            .convert({"-size", QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), "xc:red", "-compress",
                      "None", "-endian", "LSB"},
                     "TIFF")
            .data;
    }

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
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("antialias");
        QTest::addColumn<QSizeF>("points");
        QTest::addColumn<QSize>("box"); // instead of the resolution, when valid
        const QSizeF portrait(595, 842), landscape(842, 595);
        // 120 dpi makes fractions: halving rounds differently from rendering directly.
        QTest::newRow("portrait 120 antialiased") << "a4.pdf" << 1 << 120 << true << portrait << QSize();
        QTest::newRow("portrait 120") << "a4.pdf" << 1 << 120 << false << portrait << QSize();
        QTest::newRow("rotated 144 antialiased") << "a4.pdf" << 3 << 144 << true << landscape << QSize();
        QTest::newRow("rotated 120") << "a4.pdf" << 3 << 120 << false << landscape << QSize();
        QTest::newRow("crop box inside the paper") << "cropped.pdf" << 1 << 72 << true << QSizeF(200, 100) << QSize();
        // A box whose resolution is not a whole number: the bitmap's sides are rounded before scaling.
        QTest::newRow("500 pixels wide") << "a4.pdf" << 1 << 72 << true << portrait << QSize(500, 0);
        QTest::newRow("within 1000 x 1000") << "a4.pdf" << 3 << 72 << true << landscape << QSize(1000, 1000);
    }

    void imageSize_isWhatTheReadOutPredicts()
    {
        QFETCH(QString, document);
        QFETCH(int, page);
        QFETCH(int, dpi);
        QFETCH(bool, antialias);
        QFETCH(QSizeF, points);
        QFETCH(QSize, box);
        CaseFolder folder;
        const DocumentInfo info = documentInfo(doc(document), page);
        QCOMPARE(info.pageSize, points);
        ConversionJob run = job(document, folder.path("page.png"), page, page);
        run.options.dpi = dpi;
        run.options.antialias = antialias;
        run.options.fitToBox = box.isValid();
        run.options.boxWidth = box.width();
        run.options.boxHeight = box.height();
        run.pageSize = info.pageSize;
        QVERIFY(convert(run).isSuccess());
        QCOMPARE(readImage(run.destination).size, OutputSize::written(run.options, info.pageSize));
        if (!box.isValid())
            QCOMPARE(readImage(run.destination).size, OutputSize::pixels(info.pageSize, dpi, antialias));
    }

    void timing_tellsWhereTheTimeWent()
    {
        // Asked for through the log category, a run tells each stage's share and each worker's load.
        static QStringList lines;
        lines.clear();
        QLoggingCategory::setFilterRules(QStringLiteral("sheetforge.timing.info=true"));
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &message) {
                if (QByteArray(context.category) == "sheetforge.timing")
                    lines << message;
            });
        CaseFolder folder;
        // Twice, so that the second run shows only its own time.
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
        for (const QString &line : lines) {
            const auto wall = QRegularExpression("^5 pages in (\\d+\\.\\d+) s; ").match(line);
            QVERIFY2(wall.hasMatch(), qPrintable(line));
            const QRegularExpression stage(QStringLiteral("(\\w+) (\\d+\\.\\d+) s (\\d+)%"));
            QSet<QString> measured;
            double workers = 0;
            int shares = 0;
            for (auto match = stage.globalMatch(line); match.hasNext();) {
                const auto found = match.next();
                const double seconds = found.captured(2).toDouble();
                if (seconds > 0)
                    measured << found.captured(1);
                if (found.captured(1) == "rendering") // one Ghostscript at a time
                    QVERIFY2(seconds <= wall.captured(1).toDouble() + 0.05, qPrintable(line));
                else
                    workers += seconds;
                shares += found.captured(3).toInt();
            }
            QCOMPARE(measured,
                     (QSet<QString>{"rendering", "reading", "trimming", "scaling", "reducing", "encoding", "writing"}));
            QVERIFY2(workers <= QThread::idealThreadCount() * wall.captured(1).toDouble() + 0.05, qPrintable(line));
            QVERIFY2(std::abs(shares - 100) <= 4, qPrintable(line)); // seven shares, each rounded
            QVERIFY2(line.contains(QRegularExpression("workers busy \\d+%")), qPrintable(line));
        }
    }

    void quality_reachesTheLossyFormatsAndNothingElse()
    {
        CaseFolder folder;
        QMap<QString, QByteArray> written;
        for (const QString name : {"q10.jpg", "q90.jpg", "q10.png", "q90.png", "q10.webp", "q90.webp"}) {
            ConversionJob run = job("wheel.pdf", folder.path(name));
            run.options.colorDepth = ColorDepth::HiColor;
            run.options.jpegQuality = name.mid(1, 2).toInt();
            QVERIFY(convert(run).isSuccess());
            QFile file(run.destination);
            QVERIFY(file.open(QIODevice::ReadOnly));
            written[name] = file.readAll();
        }
        QCOMPARE(readImage(folder.path("q10.jpg")).format, QByteArray("JPEG"));
        QCOMPARE(readImage(folder.path("q10.jpg")).quality, 10);
        QCOMPARE(readImage(folder.path("q90.jpg")).quality, 90);
        QVERIFY(written["q10.jpg"].size() < written["q90.jpg"].size());
        QCOMPARE(readImage(folder.path("q10.png")).format, QByteArray("PNG"));
        // The same bytes: PNG files carry no time of writing.
        QCOMPARE(written["q10.png"], written["q90.png"]);
        // WebP in true colour is lossy at the quality asked for.
        QVERIFY(written["q10.webp"].startsWith("RIFF"));
        QVERIFY2(written["q10.webp"].size() * 5 < written["q90.webp"].size() * 4,
                 qPrintable(QStringLiteral("%1 %2").arg(written["q10.webp"].size()).arg(written["q90.webp"].size())));
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
        for (int page = 2; page <= 4; ++page) {
            const QSizeF points = documentInfo(doc("sizes.pdf"), page).pageSize;
            QCOMPARE(readImage(out + QStringLiteral("/scan00%1.png").arg(page)).size,
                     OutputSize::pixels(points, 72, true));
        }
        QCOMPARE(leftovers(folder.temp()), QStringList());
        run.pageCount = 1000;
        QCOMPARE(QFileInfo(run.outputFileName(2)).fileName(), "scan0002.png");
    }

    void failure_isNeverSuccessAndLeavesNothing_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("fatal");
        QTest::addColumn<int>("failedPages");
        QTest::addColumn<QString>("destination");
        const int failed = int(Problem::GhostscriptFailed), unwritable = int(Problem::DestinationNotWritable);
        QTest::newRow("crash") << "kill -SEGV $$" << failed << 0 << "out/scan.png";
        QTest::newRow("crash in a page") << "page 1; kill -SEGV $$" << failed << 0 << "out/scan.png";
        QTest::newRow("error exit") << "echo 'Error: /syntaxerror'; exit 1" << int(Problem::NotPdf) << 0 << "out/a.png";
        QTest::newRow("clean exit, no page") << "exit 0" << failed << 0 << "out/scan.png";
        QTest::newRow("page without bitmap") << "echo 'Page 1'; exit 0" << failed << 0 << "out/a.png";
        // Whatever lies under a bitmap's name is read as a TIFF or not at all.
        QTest::newRow("bitmap that is not a TIFF")
            << "page 1; printf '<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" height=\"9\"/>' "
               "> \"$(printf \"$pattern\" 1)\"; exit 0"
            << int(Problem::None) << 1 << "out/a.png";
        QTest::newRow("bitmap that is not a TIFF, one multi-page file")
            << "page 1; printf '<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" height=\"9\"/>' "
               "> \"$(printf \"$pattern\" 1)\"; exit 0"
            << int(Problem::None) << 1 << "out/scan.tif";
        QTest::newRow("gs missing") << QString() << int(Problem::GhostscriptMissing) << 0 << "out/scan.png";
        // A destination that cannot take a file fails before Ghostscript starts.
        QTest::newRow("folder missing") << "page 1; exit 0" << unwritable << 0 << "out/missing/scan.png";
        QTest::newRow("file in place of the folder") << "page 1; exit 0" << unwritable << 0 << "out/plain/scan.png";
    }

    void failure_isNeverSuccessAndLeavesNothing()
    {
        QFETCH(QString, body);
        QFETCH(int, fatal);
        QFETCH(int, failedPages);
        QFETCH(QString, destination);
        CaseFolder folder;
        QDir().mkpath(folder.path("out"));
        QFile(folder.path("out/plain")).open(QIODevice::WriteOnly);
        ConversionJob run = job("sizes.pdf", folder.path(destination));
        run.ghostscript = body.isNull() ? folder.path("nogs") : fakeGhostscript(folder.path(), body);
        const ConversionResult result = convert(run);
        QVERIFY(!result.isSuccess());
        QCOMPARE(int(result.fatal.kind), fatal);
        QCOMPARE(result.failures.size(), failedPages);
        // What the user reads names no private work folder and no reason that is none.
        const FailureSummary summary = FailureSummary::of(result.failures);
        for (const QString &told : {summary.text, summary.details, result.fatal.message, result.fatal.details})
            QVERIFY2(!told.contains("SFG-") && !told.contains("Unknown error"), qPrintable(told));
        QVERIFY(result.written.isEmpty());
        QCOMPARE(filesIn(folder.path("out")), QStringList{"plain"});
        QCOMPARE(QFile::exists(folder.path("gs.log")), fatal != int(Problem::DestinationNotWritable) && !body.isNull());
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
        QSignalSpy finished(&engine, &ConversionEngine::finished);
        engine.start(run);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        const auto result = finished.first().first().value<ConversionResult>();
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
        QSignalSpy finished(&engine, &ConversionEngine::finished);
        connect(&engine, &ConversionEngine::pageStarted, this, [&] {
            if (QFile::exists(other))
                QCOMPARE(std::rename(QFile::encodeName(other).constData(), QFile::encodeName(source).constData()), 0);
        });
        engine.start(run);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QVERIFY(!QFile::exists(other));
        QVERIFY(finished.first().first().value<ConversionResult>().isSuccess());
        for (const QString &file : run.outputFileNames())
            QCOMPARE(readImage(file).size, QSize(200, 100));
    }

    void password_reachesGhostscriptOnlyInMemory()
    {
        CaseFolder folder;
        ConversionJob run = job("sizes.pdf", folder.path("page.png"));
        run.ghostscript = fakeGhostscript(folder.path(), "page 1; exit 0");
        run.password = "s3cret";
        FixedImages images;
        images.data = "image";
        QVERIFY(convert(run, &images).isSuccess());
        QFile log(folder.path("gs.log")), given(folder.path("argfile.log"));
        QVERIFY(log.open(QIODevice::ReadOnly) && given.open(QIODevice::ReadOnly));
        QVERIFY(!log.readAll().contains("s3cret"));
        QCOMPARE(given.readAll().trimmed(), QByteArray("-sPDFPassword=s3cret"));
        // Holding a password, the program leaves no core of its own.
        QCOMPARE(::prctl(PR_GET_DUMPABLE), 0);
        QVERIFY(!QFile::exists(folder.path("found.log")) || QFileInfo(folder.path("found.log")).size() == 0);
    }

    void pageLimits_stopARunOnlyForThePageThatExceedsThem_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QSizeF>("points");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("antialias");
        QTest::addColumn<qint64>("free"); // bytes in the temporary folder; -1 for plenty
        QTest::addColumn<int>("fatal");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("workMs"); // what the library takes for a page
        const QSizeF a4(595, 842), vast(14400, 14400);
        const qint64 plenty = -1, gigabyte = 1'000'000'000;
        // Each page takes less than the second allowed; the whole run takes more.
        QTest::newRow("pages within the time") << "page 1; sleep 0.6; page 2; sleep 0.6; page 3; exit 0" << a4 << 72
                                               << false << plenty << int(Problem::None) << QString() << 3 << 0;
        // Ghostscript makes no bitmap for a page it is still drawing: the one before it is complete.
        QTest::newRow("a page that never ends") << "page 1; exec sleep 60" << a4 << 72 << false << plenty
                                                << int(Problem::PageTimedOut) << "Page 2 " << 1 << 0;
        // Ghostscript stopped for its time stops no page still being written.
        QTest::newRow("a page that never ends after one still being written")
            << "page 1; exec sleep 60" << a4 << 72 << false << plenty << int(Problem::PageTimedOut) << "Page 2 " << 1
            << 1500;
        QTest::newRow("too large by its area") << "page 1; exit 0" << vast << 400 << false << plenty
                                               << int(Problem::TooLarge) << "At most 300 dpi fits" << 0 << 0;
        QTest::newRow("too large by its side") << "page 1; exit 0" << vast << 1200 << false << plenty
                                               << int(Problem::TooLarge) << "At most 300 dpi fits" << 0 << 0;
        QTest::newRow("too tall") << "page 1; exit 0" << QSizeF(595, 14400) << 1200 << false << plenty
                                  << int(Problem::TooLarge) << "At most 600 dpi fits" << 0 << 0;
        QTest::newRow("A4 at the highest resolution")
            << "page 1; exit 0" << a4 << 2400 << false << plenty << int(Problem::None) << QString() << 1 << 0;
        // 28800 pixels a side: a 2.5 GB bitmap and 16.6 GB of pixel cache, beyond 1 GiB of memory.
        QTest::newRow("the defaults on a vast page, 10 GB free")
            << "page 1; exit 0" << vast << 144 << true << 10 * gigabyte << int(Problem::TooLarge) << "At most 96 dpi"
            << 0 << 0;
        QTest::newRow("600 dpi on a vast page, 80 GB free") << "page 1; exit 0" << vast << 600 << false << 80 * gigabyte
                                                            << int(Problem::TooLarge) << "At most 192 dpi" << 0 << 0;
        QTest::newRow("1200 dpi on A4, 15 MB free") << "page 1; exit 0" << a4 << 1200 << false << qint64(15'000'000)
                                                    << int(Problem::TooLarge) << "At most 192 dpi" << 0 << 0;
        QTest::newRow("A4 at the highest resolution, 20 GB free")
            << "page 1; exit 0" << a4 << 2400 << false << 20 * gigabyte << int(Problem::None) << QString() << 1 << 0;
    }

    void pageLimits_stopARunOnlyForThePageThatExceedsThem()
    {
        QFETCH(QString, body);
        QFETCH(QSizeF, points);
        QFETCH(int, dpi);
        QFETCH(bool, antialias);
        QFETCH(qint64, free);
        QFETCH(int, fatal);
        QFETCH(QString, said);
        QFETCH(int, written);
        QFETCH(int, workMs);
        CaseFolder folder;
        ConversionJob run = job("sizes.pdf", folder.path("scan.png"), 1, 3);
        run.ghostscript = fakeGhostscript(folder.path(), body);
        run.pageSize = points;
        run.options.dpi = dpi;
        run.options.antialias = antialias;
        run.pageTimeout = 1;
        FixedImages images;
        images.data = "image";
        images.delayMs = workMs;
        if (free >= 0)
            images.roomLeft.free = free;
        QElapsedTimer clock;
        clock.start();
        const ConversionResult result = convert(run, &images);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(int(result.fatal.kind), fatal);
        QVERIFY2(result.fatal.message.contains(said), qPrintable(result.fatal.message));
        QCOMPARE(result.pagesWritten, written);
        QCOMPARE(filesIn(folder.path()).filter("scan").size(), written);
        // The pages after a slow one were never drawn: not failures of their own.
        if (fatal == int(Problem::PageTimedOut))
            QCOMPARE(result.failures.size(), 0);
        // A page too large is refused before Ghostscript is asked.
        QCOMPARE(QFile::exists(folder.path("gs.log")), fatal != int(Problem::TooLarge));
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
        ConversionJob run = job("sizes.pdf", folder.path("scan.png"), 1, 12);
        run.ghostscript = fakeGhostscript(folder.path(), "for n in $(seq 1 12); do page $n; sleep 0.05; done; exit 0");
        FixedImages images;
        images.data = "image";
        images.delayMs = 400;
        // Bitmaps waiting in the work folder, seen from a worker: never more than the workers hold, and a spare.
        std::atomic_int mostWaiting = 0;
        images.whileConverting = [&] {
            for (const QString &work : QDir(folder.temp()).entryList({"SFG-*"}, QDir::Dirs))
                mostWaiting = std::max<int>(mostWaiting,
                                            int(QDir(QDir(folder.temp()).filePath(work)).entryList({"p*.tif"}).size()));
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
        ConversionJob run = job("sizes.pdf", folder.path("scan.png"), 1, 2);
        run.ghostscript = fakeGhostscript(
            folder.path(), R"sh([ -n "$info" ] && { sleep 2; echo "Error: /undefined in pdfgetpage"; exit 1; }
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
        ConversionJob run = job("sizes.pdf", folder.path("scan.png"), 1, 8);
        run.ghostscript = fakeGhostscript(folder.path(), "for n in $(seq 1 7); do page $n; sleep 0.1; done; "
                                                         "exec sleep 60");
        run.pageTimeout = 1;
        FixedImages images;
        images.data = "image";
        ConversionEngine engine(&images);
        QSignalSpy finished(&engine, &ConversionEngine::finished);
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
        QSignalSpy started(&engine, &ConversionEngine::pageStarted);
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
        ConversionJob first = job("sizes.pdf", folder.path("first/a.png"), 1, 4);
        first.ghostscript = fakeGhostscript(folder.path(), "for n in 1 2 3 4; do page $n; done; exit 0");
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
        engine.start(second);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
        QTest::qWait(1000); // every late worker of the first run has reported by now
        const auto result = finished.at(1).first().value<ConversionResult>();
        QVERIFY(result.isSuccess());
        QCOMPARE(result.written, second.outputFileNames());
        QCOMPARE(written.count(), 2);
        QCOMPARE(filesIn(folder.path("first")), QStringList());
    }

    // Under a name to be written, only a regular file or nothing is replaced: a link is never followed, and
    // no special file is touched.
    void destinationNotARegularFile_isRefusedAndNothingFollowed_data()
    {
        QTest::addColumn<Planted>("planted");
        const int refused = int(Problem::NotRegularFile);
        QTest::newRow("link to a file elsewhere") << Planted{.destination = "scan.png",
                                                             .plant = "scan.png",
                                                             .linkTo = "../elsewhere/important.conf",
                                                             .fatal = refused,
                                                             .written = {"scan.png"}};
        QTest::newRow("dangling link") << Planted{.destination = "scan.png",
                                                  .plant = "scan.png",
                                                  .linkTo = "../elsewhere/new.conf",
                                                  .fatal = refused,
                                                  .written = {"scan.png"}};
        QTest::newRow("FIFO") << Planted{
            .destination = "scan.png", .plant = "scan.png", .fatal = refused, .written = {"scan.png"}};
        QTest::newRow("numbered name planted as a link")
            << Planted{.destination = "scan.png",
                       .pages = 3,
                       .plant = "scan002.png",
                       .linkTo = "../elsewhere/important.conf",
                       .failedPage = 2,
                       .written = {"scan001.png", "scan002.png", "scan003.png"}};
        QTest::newRow("multi-page TIFF a link") << Planted{.destination = "scan.tif",
                                                           .pages = 3,
                                                           .plant = "scan.tif",
                                                           .linkTo = "../elsewhere/important.conf",
                                                           .fatal = refused,
                                                           .written = {"scan.tif"}};
        // A temporary name is predictable too: what stands there is removed, never opened or followed.
        QTest::newRow("link at the multi-page file's temporary") << Planted{.destination = "scan.tif",
                                                                            .pages = 3,
                                                                            .plant = "scan.tif.sheetforge-part",
                                                                            .linkTo = "../elsewhere/important.conf",
                                                                            .written = {"scan.tif"}};
        QTest::newRow("FIFO at the multi-page file's temporary") << Planted{
            .destination = "scan.tif", .pages = 3, .plant = "scan.tif.sheetforge-part", .written = {"scan.tif"}};
        QTest::newRow("folder a link, which is followed") << Planted{
            .destination = "linked/scan.png", .plant = "linked", .linkTo = "../real", .written = {"scan.png"}};
    }

    void destinationNotARegularFile_isRefusedAndNothingFollowed()
    {
        QFETCH(Planted, planted);
        CaseFolder folder;
        QDir().mkpath(folder.path("out"));
        QDir().mkpath(folder.path("real"));
        QDir().mkpath(folder.path("elsewhere"));
        QFile important(folder.path("elsewhere/important.conf"));
        QVERIFY(important.open(QIODevice::WriteOnly) && important.write("keep me") == 7);
        important.close();
        QVERIFY(important.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        const QString plant = folder.path("out/" + planted.plant);
        if (planted.linkTo.isEmpty())
            QVERIFY(run("mkfifo", {plant}));
        else
            QVERIFY(QFile::link(planted.linkTo, plant));
        ConversionJob run = job("sizes.pdf", folder.path("out/" + planted.destination), 1, planted.pages);
        run.ghostscript = fakeGhostscript(folder.path(), "page 1; page 2; page 3; exit 0");
        FixedImages images;
        images.data = planted.destination.endsWith(".tif") ? uncompressedTiff(QSize(20, 20)) : "image";
        const ConversionResult result = convert(run, &images);

        QCOMPARE(int(result.fatal.kind), planted.fatal);
        if (planted.fatal != int(Problem::None)) {
            QVERIFY2(result.fatal.message.contains(plant), qPrintable(result.fatal.message));
            QVERIFY(!QFile::exists(folder.path("gs.log"))); // refused before rendering
        }
        QCOMPARE(result.failures.size(), planted.failedPage ? 1 : 0);
        if (planted.failedPage) {
            QCOMPARE(result.failures.first().page, planted.failedPage);
            QCOMPARE(int(result.failures.first().problem.kind), int(Problem::NotRegularFile));
        }
        // Everything in the folder, a dangling link and a FIFO included: the planted name is still there as it
        // was, and no temporary is left.
        const QDir written(QFileInfo(run.destination).absolutePath());
        QCOMPARE(written.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 planted.written);
        const QFileInfo left(plant);
        if (planted.plant.endsWith(".sheetforge-part"))
            QVERIFY(!left.exists() && !left.isSymLink());
        else
            QVERIFY(planted.linkTo.isEmpty() ? !left.isFile() && left.exists() : left.isSymLink());
        QCOMPARE(filesIn(folder.path("elsewhere")), QStringList{"important.conf"});
        QVERIFY(important.open(QIODevice::ReadOnly));
        QCOMPARE(important.readAll(), QByteArray("keep me"));
        QCOMPARE(important.permissions() & QFileDevice::Permissions(0x7077),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
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
        const QString mine = folder.path("mine"), theirs = folder.path("theirs");
        QVERIFY(QDir().mkpath(mine) && QDir().mkpath(theirs));
        QFile readonly(mine + "/readonly.png");
        QVERIFY(readonly.open(QIODevice::WriteOnly) && readonly.write("old") == 3);
        readonly.close();
        QVERIFY(readonly.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        QFile important(theirs + "/important.conf");
        QVERIFY(important.open(QIODevice::WriteOnly) && important.write("keep me") == 7);
        important.close();
        QVERIFY(QFile::link("../theirs/important.conf", mine + "/report.png"));
        QVERIFY(QFile::setPermissions(theirs, {}));
        QVERIFY(QFile::setPermissions(folder.path(), QFile::permissions(folder.path()) | QFileDevice::ExeOther));
        // As root, the write is made as an ordinary user who owns the folder makes it.
        const bool root = ::geteuid() == 0;
        if (root) {
            QVERIFY(::chown(QFile::encodeName(mine).constData(), 65534, 65534) == 0);
            QVERIFY(::chown(QFile::encodeName(readonly.fileName()).constData(), 65534, 65534) == 0);
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
        QVERIFY(readonly.open(QIODevice::ReadOnly));
        QCOMPARE(readonly.readAll(), QByteArray("old"));
        QCOMPARE(leftovers(mine), (QStringList{"readonly.png", "report.png"}));
        QVERIFY(important.open(QIODevice::ReadOnly));
        QCOMPARE(important.readAll(), QByteArray("keep me"));
        QCOMPARE(leftovers(theirs), QStringList{"important.conf"});
    }

    // One multi-page file has one writer: a second run into it is refused while the first writes, and a
    // temporary left by a run that died is taken over.
    void multiPageTiff_secondWriterIsRefused()
    {
        CaseFolder folder;
        ConversionJob run = job("sizes.pdf", folder.path("scan.tif"), 1, 3);
        run.ghostscript = fakeGhostscript(folder.path(), "page 1; page 2; page 3; exit 0");
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
        // A new file is as readable as any other the user makes; only a temporary stays private.
        struct stat status = {};
        QVERIFY(::stat(qPrintable(run.destination), &status) == 0);
        const mode_t mask = ::umask(0);
        ::umask(mask);
        QCOMPARE(int(status.st_mode & 0777), int(0666 & ~mask));

        QFile left(run.destination + ".sheetforge-part");
        QVERIFY(left.open(QIODevice::WriteOnly) && left.write("partial") == 7);
        left.close();
        slow.delayMs = 0;
        QVERIFY(convert(run, &slow).isSuccess());
        QCOMPARE(leftovers(folder.path()).filter("scan"), QStringList{"scan.tif"});
    }

    // A folder removed while a run writes into it stops the run at the next page, a multi-page file as well.
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
        if (meanwhile.existingMode) {
            QFile old(name);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
            QVERIFY(::chmod(qPrintable(name), mode_t(meanwhile.existingMode)) == 0);
        }
        DestinationFile file(name);
        QVERIFY(file.open().isNone());
        QVERIFY(file.write("new").isNone());
        if (meanwhile.what == Meanwhile::LinkAtTheName)
            QVERIFY(QFile::link(folder.path("elsewhere.conf"), name));
        if (meanwhile.what == Meanwhile::FolderSwapped)
            QVERIFY(QDir().rename(folder.path("out"), folder.path("moved")) && QDir().mkpath(folder.path("out")));
        const Problem problem = file.commit();
        QCOMPARE(int(problem.kind), meanwhile.problem);
        const auto everything = [&folder](const QString &name) {
            return QDir(folder.path(name))
                .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
        };
        // No temporary is left, in the folder named or in the one moved away.
        QCOMPARE(everything("out"), meanwhile.left);
        QCOMPARE(everything("moved"), QStringList());
        QCOMPARE(QFileInfo(name).isSymLink(), meanwhile.what == Meanwhile::LinkAtTheName);
        if (meanwhile.problem == int(Problem::None)) {
            QFile written(name);
            QVERIFY(written.open(QIODevice::ReadOnly));
            QCOMPARE(written.readAll(), QByteArray("new"));
            struct stat status = {};
            QVERIFY(::stat(qPrintable(name), &status) == 0);
            const mode_t mask = ::umask(0);
            ::umask(mask);
            QCOMPARE(int(status.st_mode & 0777), meanwhile.existingMode ? meanwhile.existingMode : int(0666 & ~mask));
        }
    }

    void destinationFolderRemovedMidRun_stopsTheRun_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("removed");
        QTest::newRow("numbered files") << "scan.png"
                                        << "";
        QTest::newRow("one multi-page file") << "scan.tif"
                                             << "";
        // Written on, the file would be complete in a file no name leads to.
        QTest::newRow("the multi-page file's temporary only") << "scan.tif"
                                                              << "scan.tif.sheetforge-part";
    }

    void destinationFolderRemovedMidRun_stopsTheRun()
    {
        QFETCH(QString, name);
        QFETCH(QString, removed);
        CaseFolder folder;
        const QString out = folder.path("out");
        QDir().mkpath(out);
        ConversionJob run = job("sizes.pdf", out + '/' + name, 1, 5);
        // Ghostscript would go on for minutes: only stopping the run ends it in time.
        run.ghostscript = fakeGhostscript(folder.path(), "page 1; page 2; sleep 1; page 3; exec sleep 120");
        FixedImages images;
        images.data = uncompressedTiff(QSize(20, 20));
        ConversionEngine engine(&images);
        QSignalSpy finished(&engine, &ConversionEngine::finished);
        connect(&engine, &ConversionEngine::progressChanged, this, [&](int done) {
            if (done == 1 && removed.isEmpty())
                QDir(out).removeRecursively();
            if (done == 1 && !removed.isEmpty())
                QVERIFY(QFile::remove(out + '/' + removed));
        });
        engine.start(run);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        const auto result = finished.first().first().value<ConversionResult>();
        QCOMPARE(int(result.fatal.kind), int(Problem::DestinationNotWritable));
        QVERIFY2(result.fatal.message.contains('"' + out + '"'), qPrintable(result.fatal.message));
        QCOMPARE(QFileInfo::exists(out), !removed.isEmpty());
        QCOMPARE(leftovers(out), QStringList());
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void writeOfAStoppedRun_leavesNoFileAndKeepsTheOldOne()
    {
        CaseFolder folder;
        const std::atomic_bool stopped = true;
        QVERIFY(PageWriter::writeAtomically(folder.path("new.png"), "image", &stopped).isNone());
        QVERIFY(!QFile::exists(folder.path("new.png")));
        QFile old(folder.path("old.png"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QVERIFY(PageWriter::writeAtomically(folder.path("old.png"), "image", &stopped).isNone());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QCOMPARE(filesIn(folder.path()), QStringList{"old.png"});
    }

    // A disk out of room for one more file is full though megabytes are still free, not forbidden.
    void noFileLeftOnTheDisk_isAFullDisk()
    {
        CaseFolder folder;
        const QString small = folder.path("small");
        QDir().mkpath(small);
        if (!run("mount", {"-t", "tmpfs", "-o", "size=4m,nr_inodes=4", "tmpfs", small}))
            QSKIP("Needs a small file system: mount is not allowed here");
        for (int i = 0; QFile(small + QString::number(i).prepend('/')).open(QIODevice::WriteOnly); ++i) {
        }
        const Problem problem = PageWriter::writeAtomically(small + "/page.png", "image");
        const Problem folderMade = DestinationFile::makeFolder(small + "/new/deeper");
        const QStringList left = leftovers(small);
        TestSupport::run("umount", {small});
        QCOMPARE(int(problem.kind), int(Problem::DiskFull));
        QVERIFY2(problem.message.contains(small), qPrintable(problem.message));
        QVERIFY(!left.contains("page.png"));
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
        const QString small = folder.path("small");
        QDir().mkpath(small);
        if (!run("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", small}))
            QSKIP("Needs a small file system: mount is not allowed here");
        qputenv("TMPDIR", QFile::encodeName(small));
        // A4 at 300 dpi needs 26 MB.
        ConversionJob run = job("sizes.pdf", folder.path("page.png"));
        run.pageSize = QSizeF(595, 842);
        run.options.dpi = 300;
        run.ghostscript = fakeGhostscript(folder.path(), body);
        // Room enough by the library's account, so that Ghostscript is asked.
        FixedImages images;
        images.unreadable = true;
        const ConversionResult result = convert(run, &images);
        const QStringList left = leftovers(small);
        TestSupport::run("umount", {small});
        QCOMPARE(int(result.fatal.kind), int(Problem::TemporaryFolderFull));
        QVERIFY(result.fatal.message.contains(small));
        QCOMPARE(left, QStringList());
    }

    void cancelMidPage_killsGhostscriptAndLeavesNothing()
    {
        CaseFolder folder;
        ConversionJob run = job("a4.pdf", folder.path("scan.png"), 1, 3);
        run.options.dpi = 1200;
        ConversionEngine engine;
        QSignalSpy finished(&engine, &ConversionEngine::finished);
        QList<int> rendering;
        connect(&engine, &ConversionEngine::pageStarted, this, [&] {
            if (rendering.isEmpty()) {
                rendering = ghostscriptChildren(QCoreApplication::applicationPid());
                engine.cancel();
            }
        });
        engine.start(run);
        QTRY_VERIFY_WITH_TIMEOUT(!rendering.isEmpty(), 30000);
        // Each page takes seconds at this resolution; a killed Ghostscript ends at once.
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
        QVERIFY(finished.first().first().value<ConversionResult>().cancelled);
        QCOMPARE(ghostscriptChildren(QCoreApplication::applicationPid()), QList<int>());
        QCOMPARE(filesIn(folder.path()), QStringList());
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void multiPageTiff_cancelled_keepsTheOldFile()
    {
        CaseFolder folder;
        ConversionJob run = job("sizes.pdf", folder.path("scan.tif"), 1, 3);
        QFile old(run.destination);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("previous pages") == 14);
        old.close();
        FixedImages images;
        images.data = uncompressedTiff(QSize(20, 20));
        images.delayMs = 300;
        ConversionEngine engine(&images);
        QSignalSpy finished(&engine, &ConversionEngine::finished);
        // Stopped once a page has gone into the file, which then no longer counts.
        connect(&engine, &ConversionEngine::progressChanged, this, [&](int done) {
            if (done == 2)
                engine.cancel();
        });
        engine.start(run);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        const ConversionResult result = finished.first().first().value<ConversionResult>();
        QVERIFY(result.cancelled);
        QCOMPARE(result.pagesWritten, 0);
        QVERIFY(result.written.isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("previous pages"));
        QCOMPARE(filesIn(folder.path()), QStringList{"scan.tif"});
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
        ConversionJob run = job("sizes.pdf", folder.path(name), 1, 3);
        // Ghostscript ends at once after an empty page 2, with no worker busy: the page after it still counts.
        run.ghostscript =
            fakeGhostscript(folder.path(), R"sh(page 1; : > "$(printf "$pattern" 2)"; sleep 0.3; page 3; exit 0)sh");
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

    void multiPageTiff_aPageItCannotJoin_stopsTheRun()
    {
        CaseFolder folder;
        ConversionJob run = job("sizes.pdf", folder.path("scan.tif"), 1, 5);
        FixedImages images;
        images.data = "not a TIFF at all";
        const ConversionResult result = convert(run, &images);
        QVERIFY(!result.fatal.isNone());
        QVERIFY(result.failures.isEmpty()); // not blamed on each page
        QCOMPARE(result.pagesWritten, 0);
        QCOMPARE(filesIn(folder.path()), QStringList());
        QCOMPARE(leftovers(folder.temp()), QStringList());
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

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(4), QByteArray("II+\0", 4)); // BigTIFF
        QCOMPARE(readImage(path).images, 5);
        for (int i = 0; i < 5; ++i) {
            const auto pixels = [](const QString &source) {
                return QImage::fromData(ImageObject().convert({source}, "PPM").data, "PPM");
            };
            const QString source = folder.path(QString("page%1.tif").arg(i));
            QFile page(source);
            QVERIFY(page.open(QIODevice::WriteOnly) && page.write(pages.at(i)) == pages.at(i).size());
            page.close();
            QCOMPARE(pixels(QString("TIFF:%1[%2]").arg(path).arg(i)), pixels("TIFF:" + source));
        }
        QCOMPARE(filesIn(folder.path()).filter("scan"), QStringList{"scan.tif"}); // no temporary left beside it
    }

    void fullDisk_stopsTheRunAndKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("image"); // each page's, against a disk that takes 64 KiB a file
        const QByteArray large(512 * 1024, 'x');
        QTest::newRow("numbered pages") << 3 << QByteArray() << "scan.png" << large;
        QTest::newRow("replacing a file") << 1 << QByteArray("previous image") << "scan.png" << large;
        QTest::newRow("replacing a multi-page file")
            << 3 << QByteArray("previous pages") << "scan.tif" << uncompressedTiff(QSize(300, 600));
        QTest::newRow("replacing a multi-page file, full at its second page")
            << 3 << QByteArray("previous pages") << "scan.tif" << uncompressedTiff(QSize(80, 80));
    }

    void fullDisk_stopsTheRunAndKeepsTheOldFile()
    {
        QFETCH(int, pages);
        QFETCH(QByteArray, existing);
        QFETCH(QString, name);
        QFETCH(QByteArray, image);
        CaseFolder folder;
        const QString out = folder.path("out");
        QDir().mkpath(out);
        ConversionJob run = job("sizes.pdf", out + "/" + name, 1, pages);
        // Ghostscript would go on for minutes: only stopping the run ends it in time.
        run.ghostscript =
            fakeGhostscript(folder.path(), pages == 1 ? "page 1; exit 0" : "page 1; page 2; exec sleep 120");
        QFile old(run.destination);
        if (!existing.isEmpty())
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write(existing) == existing.size() && old.flush());
        old.close();
        FixedImages images;
        images.data = image;

        // A file-size limit makes every larger write fail as on a full disk, without filling one.
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit small = previous;
        small.rlim_cur = 64 * 1024;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        const ConversionResult result = convert(run, &images);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(int(result.fatal.kind), int(Problem::DiskFull));
        QVERIFY(result.written.isEmpty());
        QCOMPARE(filesIn(out), existing.isEmpty() ? QStringList() : QStringList{name});
        if (!existing.isEmpty()) {
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), existing);
        }
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }
};

QTEST_MAIN(tst_Engine)
#include "tst_engine.moc"
