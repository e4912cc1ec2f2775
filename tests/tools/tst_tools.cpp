// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "document/OutputSize.h"
#include "tools/ExactPalettePng.h"
#include "tools/GhostscriptCommands.h"
#include "tools/GrayPng.h"
#include "tools/ImageObject.h"
#include "tools/MagickCommands.h"
#include "tools/PrivateFolder.h"
#include "tools/ProcessRunner.h"

#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <wand/MagickWand.h>

using namespace TestSupport;

struct Ending
{
    QString body;
    int exitCode;
    QString output;
    ProcessResult::Outcome outcome = ProcessResult::Exited;
};
Q_DECLARE_METATYPE(Ending)

class tst_Tools : public QObject
{
    Q_OBJECT
private slots:
    void processEnd_isReadFromHowTheChildEnded_data()
    {
        QTest::addColumn<Ending>("c");
        const auto row = [](const char *name, const Ending &c) { QTest::newRow(name) << c; };
        row("clean exit, both streams in order", {"echo out; echo err >&2; echo more", 0, "out\nerr\nmore\n"});
        row("exit code", {"echo failed; exit 3", 3, "failed\n"});
        row("segfault after output", {"echo Page 1; kill -SEGV $$", 0, "Page 1\n", ProcessResult::Crashed});
        // We ignore SIGPIPE; a child that inherited that would complain of a broken pipe instead of ending.
        row("closed pipe ends the writer quietly", {"yes | head -1 >/dev/null; echo done", 0, "done\n"});
    }

    void processEnd_isReadFromHowTheChildEnded()
    {
        QFETCH(Ending, c);
        QTemporaryDir dir;
        const auto previous = std::signal(SIGPIPE, SIG_IGN);
        const auto restore = qScopeGuard([previous] { std::signal(SIGPIPE, previous); });
        ProcessRunner runner;
        QSignalSpy finished(&runner, &ProcessRunner::finished);
        runner.start(fakeGhostscript(dir.path(), c.body), {"-dBATCH"});
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        const auto result = finished.first().first().value<ProcessResult>();
        QCOMPARE(result.outcome, c.outcome);
        QCOMPARE(result.output, c.output);
        if (c.outcome == ProcessResult::Exited)
            QCOMPARE(result.exitCode, c.exitCode);
    }

    // The library's running out of room is told as a page too large.
    void imageLibraryLimits_areToldAsTooLarge()
    {
        ImageObject::initialise();
        // A memory-mapped spill file outgrowing a full file system would kill us with SIGBUS, not fail a write.
        QCOMPARE(GetMagickResourceLimit(MapResource), MagickSizeType(0));
        const auto memory = GetMagickResourceLimit(MemoryResource), disk = GetMagickResourceLimit(DiskResource);
        const auto restore = qScopeGuard([&] {
            SetMagickResourceLimit(MemoryResource, memory);
            SetMagickResourceLimit(DiskResource, disk);
        });
        const ImageResult page = ImageObject().convert(
            {"-limit", "memory", "1MiB", "-limit", "disk", "1MiB", "-size", "4000x4000", "xc:white"}, "PNG");
        QVERIFY2(!page.ok && page.tooLarge, qPrintable(page.error));
    }

    void removeStale_takesOnlyUnlockedFoldersOfItsOwn()
    {
        CaseFolder folder;
        const QDir temp(folder.temp());
        const QFile::Permissions privateMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        // A user's files, reached through links and look-alike names, must survive every sweep.
        QVERIFY(QDir().mkpath(folder.path("docs/deep")));
        QVERIFY(QFile::setPermissions(folder.path("docs"), privateMode));
        QFile(folder.path("docs/deep/keep.txt")).open(QIODevice::WriteOnly);
        QFile(folder.path("docs/.sheetforge-lock")).open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(folder.path("docs"), temp.filePath("SFG-30000-linked")));
        QVERIFY(temp.mkpath("SFG-2024-notes1"));
        QFile(temp.filePath("SFG-2024-notes1/notes.txt")).open(QIODevice::WriteOnly);
        const auto madeByUs = [&temp](const QString &name, QFile::Permissions permissions) {
            QVERIFY(temp.mkpath(name + "/deep"));
            QVERIFY(QFile::setPermissions(temp.filePath(name), permissions));
            QVERIFY(QFile(temp.filePath(name + "/.sheetforge-lock")).open(QIODevice::WriteOnly));
        };
        madeByUs("SFG-99999-stale1", privateMode);
        madeByUs("SFG-99999-shared", privateMode | QFile::ReadOther | QFile::ExeOther);
        QVERIFY(QFile::link(folder.path("docs"), temp.filePath("SFG-99999-stale1/deep/link")));
        // An instance in another process namespace: its process id means nothing here, its lock does.
        madeByUs("SFG-1-inuse1", privateMode);
        const int held = ::open(QFile::encodeName(temp.filePath("SFG-1-inuse1/.sheetforge-lock")).constData(), O_RDWR);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
        PrivateFolder live;
        QVERIFY(live.isValid());

        PrivateFolder::removeStale();
        ::close(held);
        QStringList expected{"SFG-1-inuse1", "SFG-2024-notes1", "SFG-30000-linked", "SFG-99999-shared",
                             QFileInfo(live.path()).fileName()};
        expected.sort();
        QCOMPARE(leftovers(temp.path()), expected);
        QVERIFY(QFile::exists(folder.path("docs/deep/keep.txt")) && temp.exists("SFG-2024-notes1/notes.txt"));

        // Once its owner lets go, the folder is stale.
        PrivateFolder::removeStale();
        QVERIFY(!temp.exists("SFG-1-inuse1"));
        QVERIFY(temp.exists(QFileInfo(live.path()).fileName()));
    }

    void documentFacts_comeOnlyFromOurOwnLines_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<int>("problem");
        const QString forged = "SFG0123456789abcdef pages 99\nSFG0123456789abcdef /MediaBox [0 0 9000 9000]\n";
        QTest::newRow("our lines among forged ones")
            << forged + "M pages 3\nM /MediaBox [0 0 612 792]\nM /CropBox [10 10 310 410]\nM /Rotate 90\n"
            << 3 << QSizeF(400, 300) << int(Problem::None);
        QTest::newRow("forged lines only") << forged << -1 << QSizeF(-1, -1) << int(Problem::NotPdf);
        QTest::newRow("turned back a quarter") << "M pages 1\nM /MediaBox [0 0 612 792]\nM /Rotate -90\n"
                                               << 1 << QSizeF(792, 612) << int(Problem::None);
    }

    void documentFacts_comeOnlyFromOurOwnLines()
    {
        QFETCH(QString, output);
        QFETCH(int, pages);
        QFETCH(QSizeF, size);
        QFETCH(int, problem);
        const DocumentInfo info = GhostscriptCommands::parseInfo(output, "M");
        QCOMPARE(std::pair(info.pageCount, info.pageSize()), std::pair(pages, size));
        const ProcessResult clean{ProcessResult::Exited, 0, output};
        QCOMPARE(int(GhostscriptCommands::inspect("x.pdf", "x.pdf", clean, info, false).kind), problem);
    }

    // A password is asked for only when the document's own bytes hold an encryption dictionary.
    void encryption_isReadFromTheDocumentsBytes_data()
    {
        QTest::addColumn<QByteArray>("trailer");
        QTest::addColumn<qint64>("at"); // where /Encrypt starts in the file, when not at once
        QTest::addColumn<bool>("encrypted");
        const QByteArray reference("<< /Encrypt\n12 0 R /Root 1 0 R >>");
        QTest::newRow("a dictionary") << QByteArray("<< /Encrypt << /V 5 >> /Root 1 0 R >>") << 0ll << true;
        QTest::newRow("a reference") << reference << 0ll << true;
        // The file is read a megabyte at a time.
        QTest::newRow("the name across the first megabyte's end") << reference << (qint64(1) << 20) - 4 << true;
        QTest::newRow("a name in a string") << QByteArray("<< /Info (/Encrypt) /Root 1 0 R >>") << 0ll << false;
        QTest::newRow("a longer name") << QByteArray("<< /EncryptMetadata true /Root 1 0 R >>") << 0ll << false;
    }

    void encryption_isReadFromTheDocumentsBytes()
    {
        QFETCH(QByteArray, trailer);
        QFETCH(qint64, at);
        QFETCH(bool, encrypted);
        const QByteArray head("%PDF-1.7\n"), tail = "trailer\n" + trailer + "\n%%EOF\n";
        const qint64 padding = at > 0 ? at - head.size() - tail.indexOf("/Encrypt") : 0;
        const QByteArray bytes = head + (padding > 0 ? "%" + QByteArray(padding - 2, 'x') + "\n" : "") + tail;
        QVERIFY(at == 0 || bytes.indexOf("/Encrypt") == at);
        QTemporaryDir folder;
        const QString pdf = folder.filePath("x.pdf");
        QVERIFY(plantFile(pdf, bytes));
        QCOMPARE(GhostscriptCommands::passwordProblem(pdf, pdf, {}, false).kind == Problem::NeedsPassword, encrypted);
    }

    void password_reachesGhostscriptIntactOrIsRefused_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("arguments"); // empty: refused
        QTest::newRow("blank and quote") << "a \"b" << QByteArray("-sPDFPassword=\"a \\\"b\"\n");
        QTest::newRow("trailing backslash") << "ab\\" << QByteArray("-sPDFPassword=ab\\");
        QTest::newRow("line break") << "a\nb" << QByteArray();
        // Ghostscript takes an argument of at most 2047 bytes.
        QTest::newRow("longest, quoted") << QString(2031, ' ') << "-sPDFPassword=\"" + QByteArray(2031, ' ') + "\"\n";
        QTest::newRow("a byte longer") << QString(2032, ' ') << QByteArray();
    }

    void password_reachesGhostscriptIntactOrIsRefused()
    {
        QFETCH(QString, password);
        QFETCH(QByteArray, arguments);
        QCOMPARE(GhostscriptCommands::passwordArguments(password).value_or(QByteArray()), arguments);
    }

    // In a box in pixels the side that governs is exact, the other rounded as the image library rounds it.
    void outputSize_fitsTheBox()
    {
        QCOMPARE(OutputSize::fittingDpi({595, 842}, {258, 258}), 22);        // 22.06: 23 would overflow
        QCOMPARE(OutputSize::fitted({612, 792}, {200, 0}), QSize(200, 259)); // 258.8
        QCOMPARE(OutputSize::fitted({792, 612}, {0, 200}), QSize(259, 200));
        QCOMPARE(OutputSize::fitted({612, 792}, {300, 300}), QSize(232, 300)); // 231.8
    }

    void tiffPage_isWrittenWhereverItsDataEnds()
    {
        // Into memory, the library's TIFF writer failed ("IO error writing directory") where data ended by 64 KiB.
        for (int width = 65500; width <= 65560; ++width) {
            const ImageResult page = ImageObject().convert(
                {"-size", QString("%1x1").arg(width), "xc:gray50", "-depth", "8", "-compress", "None"}, "TIFF");
            QVERIFY2(page.ok && page.size == QSize(width, 1), qPrintable(QString::number(width) + ": " + page.error));
        }
    }

    void exactPalettePage_isTheLibrarysReduction_data()
    {
        QTest::addColumn<QStringList>("drawing"); // the image library's, when not a text page of Ghostscript's
        QTest::addColumn<int>("alphaBits");       // Ghostscript's antialiasing of text: 2 keeps 5 levels, 4 up to 17
        QTest::addColumn<int>("colours");
        QTest::addColumn<bool>("readTwice"); // as a page too large to hold is
        QTest::addColumn<bool>("ours");
        const QStringList few{"-size", "60x40",        "xc:white", "+antialias",
                              "-fill", "rgb(255,0,0)", "-draw",    "rectangle 0,0 19,19",
                              "-fill", "rgb(250,2,0)", "-draw",    "rectangle 20,0 39,19",
                              "-fill", "rgb(0,0,255)", "-draw",    "rectangle 0,20 59,39"};
        const QStringList many{"-size", "600x400", "gradient:red-blue"};
        const QStringList levels{"-size", "4x256", "gradient:black-red"}; // each row a level of its own
        QTest::newRow("text, 16 colours") << QStringList() << 2 << 16 << false << true;
        QTest::newRow("text, 256 colours") << QStringList() << 4 << 256 << false << true;
        QTest::newRow("text, read twice") << QStringList() << 4 << 256 << true << true;
        QTest::newRow("text, 4 colours: more levels than that") << QStringList() << 4 << 4 << false << false;
        QTest::newRow("few colours, two of them close") << few << 2 << 16 << false << true;
        QTest::newRow("few colours, read twice") << few << 2 << 4 << true << true;
        // Red and blue of as many pixels each: which comes first is the library's tree's order.
        QTest::newRow("two inks used alike")
            << QString("-size 60x40 xc:white -fill red -draw rectangle_0,0_19,19 -fill blue -draw rectangle_20,0_39,19")
                   .split(' ')
                   .replaceInStrings("_", " ")
            << 2 << 16 << false << true;
        QTest::newRow("few colours, one more than 4")
            << few + QStringList{"-fill", "yellow", "-draw", "point 0,0"} << 2 << 4 << false << true;
        const QStringList photo{"-seed",
                                "7",
                                "-size",
                                "640x480",
                                "plasma:red-blue",
                                "-fill",
                                "white",
                                "-draw",
                                "rectangle 0,0 639,99",
                                "-fill",
                                "gray40",
                                "-draw",
                                "circle 320,300 320,420"};
        const QStringList ramp{"-size", "300x256", "gradient:black-white"};
        QTest::newRow("a gradient: reduced") << many << 2 << 256 << false << true;
        QTest::newRow("a photograph in 16 colours") << photo << 2 << 16 << false << true;
        QTest::newRow("a photograph in 256 colours") << photo << 2 << 256 << false << true;
        QTest::newRow("a photograph in 4 colours, read twice") << photo << 2 << 4 << true << true;
        QTest::newRow("a gray ramp: the library's") << ramp << 2 << 16 << false << false;
        // More nodes than the library's tree may hold, so that it prunes a level while it reads.
        QTest::newRow("noise in 256 colours")
            << QStringList{"-seed", "5", "-size", "1024x1024", "xc:", "+noise", "Random"} << 2 << 256 << false << true;
        QTest::newRow("a photograph in Hicolor: the library's") << photo << 2 << 65536 << false << false;
        // Neighbours alike but in blue, the second's blue its green: one run would make them one colour.
        QTest::newRow("neighbours that differ in blue alone")
            << QString("-size 512x64 xc: -channel R -fx j/63 -channel G -fx (floor(i/2)%256)/255 -channel B -fx "
                       "i%2?(floor(i/2)%256)/255:1-(floor(i/2)%256)/255 +channel")
                   .split(' ')
            << 2 << 16 << false << true;
        QTest::newRow("exactly 256 colours: a palette") << levels << 2 << 256 << false << true;
        QTest::newRow("text in Hicolor: a palette") << QStringList() << 4 << 65536 << false << true;
        QTest::newRow("a gradient in Hicolor: true colour") << many << 2 << 65536 << false << true;
        QTest::newRow("a gradient in Hicolor, read twice") << many << 2 << 65536 << true << true;
    }

    // A page whose colours fit the palette is written without the library, as the library's reduction writes it;
    // any other page is left to the library.
    void exactPalettePage_isTheLibrarysReduction()
    {
        QFETCH(QStringList, drawing);
        QFETCH(int, alphaBits);
        QFETCH(int, colours);
        QFETCH(bool, readTwice);
        QFETCH(bool, ours);
        CaseFolder folder;
        const QString pdf = folder.path("page.pdf"), tiff = folder.path("page.tif");
        if (drawing.isEmpty()) {
            QVERIFY(writeRawPdf(pdf, {"0 0 300 200"}));
            QVERIFY(run(GhostscriptLocator().locate(),
                        {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=tiffscaled24", "-sCompression=pack",
                         "-r144", QString("-dTextAlphaBits=%1").arg(alphaBits), "-sOutputFile=" + tiff, pdf}));
        } else {
            const ImageResult drawn =
                ImageObject().convert(drawing + QStringList{"-depth", "8", "-type", "TrueColor"}, "TIFF");
            QVERIFY(drawn.ok && plantFile(tiff, drawn.data));
        }
        const std::optional<ExactPalettePng::Page> quick =
            ExactPalettePng::write(tiff, colours, 144, nullptr, readTwice ? 0 : ExactPalettePng::HeldPixels);
        QCOMPARE(quick.has_value(), ours);
        if (!ours)
            return;
        ConversionOptions options;
        options.colorDepth = colours == 4     ? ColorDepth::FourColors
                             : colours == 16  ? ColorDepth::SixteenColors
                             : colours == 256 ? ColorDepth::TwoHundredFiftySixColors
                                              : ColorDepth::HiColor;
        const MagickRequest request{.bitmap = tiff, .options = options, .dpi = 144};
        const ImageResult library =
            ImageObject().convert(MagickCommands::pageArguments(request), MagickCommands::encoding(request));
        QVERIFY2(library.ok, qPrintable(library.error));
        QCOMPARE(std::pair(quick->size, quick->colours), std::pair(library.size, library.colors));
        const QImage mine = QImage::fromData(quick->png, "PNG"), theirs = QImage::fromData(library.data, "PNG");
        QCOMPARE(mine.format(), quick->colours > 256 ? QImage::Format_RGB32 : QImage::Format_Indexed8);
        QVERIFY(quick->colours > 2);
        QCOMPARE(mine.convertToFormat(QImage::Format_RGB32), theirs.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(mine.dotsPerMeterX(), theirs.dotsPerMeterX());
        // The commonest colour first, as our writer orders the library's reduction: the very same file.
        if (quick->colours <= 256)
            QCOMPARE(quick->png, library.data);
        // What the page is told with.
        if (!readTwice) {
            const std::optional<ImageResult> told = ImageObject().exactPalettePage(tiff, colours, 144);
            QVERIFY(told);
            QCOMPARE(std::tuple(told->size, told->colors, told->uniform),
                     std::tuple(library.size, library.colors, library.uniform));
        }
    }

    void transparentPage_isTheLibrarysReduction_data()
    {
        QTest::addColumn<QStringList>("drawing"); // the image library's, when not a text page of Ghostscript's
        QTest::addColumn<int>("colours");
        QTest::addColumn<bool>("ours");
        // Colours down, alpha across, and a clear corner whose colour must not count.
        const QStringList faded{"-seed",
                                "7",
                                "-size",
                                "320x240",
                                "plasma:red-blue",
                                "(",
                                "-size",
                                "240x320",
                                "gradient:white-black",
                                "-rotate",
                                "90",
                                ")",
                                "-alpha",
                                "off",
                                "-compose",
                                "CopyOpacity",
                                "-composite",
                                "-compose",
                                "Copy",
                                "-fill",
                                "rgba(0,255,0,0)",
                                "-draw",
                                "rectangle 0,0 40,40"};
        const QStringList grayInk{"-size",
                                  "200x100",
                                  "xc:none",
                                  "-fill",
                                  "rgba(0,0,0,0.6)",
                                  "-draw",
                                  "circle 60,50 60,90",
                                  "-fill",
                                  "gray30",
                                  "-draw",
                                  "rectangle 120,10 190,90"};
        const QStringList opaque{"-seed", "3", "-size", "160x120", "plasma:green-yellow", "-alpha", "on"};
        QTest::newRow("text, 16 colours") << QStringList() << 16 << true;
        QTest::newRow("text, 4 colours") << QStringList() << 4 << true;
        QTest::newRow("faded photograph, 16 colours") << faded << 16 << true;
        QTest::newRow("faded photograph, 256 colours") << faded << 256 << true;
        QTest::newRow("faded photograph, 4 colours") << faded << 4 << true;
        QTest::newRow("gray ink: the deepest tree") << grayInk << 16 << true;
        QTest::newRow("opaque throughout") << opaque << 16 << true;
        // Inks of as many pixels each, more than the palette holds: the order of those left is the library's.
        QStringList inks{"-size", "90x60", "xc:none"};
        for (int i = 0; i < 17; ++i)
            inks << "-fill" << QString("hsl(%1,100%,50%)").arg(i * 21) << "-draw"
                 << QString("rectangle %1,%2 %3,%4")
                        .arg(i % 6 * 15)
                        .arg(i / 6 * 20)
                        .arg(i % 6 * 15 + 9)
                        .arg(i / 6 * 20 + 9);
        QTest::newRow("inks used alike") << inks << 16 << true;
        QTest::newRow("Hicolor: the library's") << faded << 65536 << false;
        QTest::newRow("noise with alpha in 256 colours")
            << (QStringList{"-seed", "5", "-size", "1500x1500", "xc:", "+noise", "Random", "-alpha", "on"}
                + QStringList{"-channel", "A", "+noise", "Random", "+channel"})
            << 256 << true;
        // Entries whose opacity, a mean of many, falls where rounding its levelling changes the file.
        QTest::newRow("small noise with alpha in 256 colours")
            << QString("-seed 1 -size 300x300 xc: +noise Random -alpha on -channel A +noise Random +channel").split(' ')
            << 256 << true;
    }

    // A stop while a large page is reduced ends the reduction: nothing is written, the library is not asked.
    void exactPalettePage_stopsWhileReduced()
    {
        CaseFolder folder;
        const QString tiff = folder.path("page.tif");
        const ImageResult drawn = ImageObject().convert(
            {"-seed", "9", "-size", "1500x1500", "xc:", "+noise", "Random", "-depth", "8"}, "TIFF");
        QVERIFY(drawn.ok && plantFile(tiff, drawn.data));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(ExactPalettePng::write(tiff, 16, 144, nullptr, 0));
        // Most of a page's time is its reduction, after the reading that finds it has too many colours.
        const qint64 whole = clock.elapsed();
        std::atomic_bool cancel = false;
        QTimer::singleShot(whole * 2 / 3, [&cancel] { cancel = true; });
        std::optional<ExactPalettePng::Page> stopped;
        QThread *writer = QThread::create([&] { stopped = ExactPalettePng::write(tiff, 16, 144, &cancel, 0); });
        writer->start();
        QTRY_VERIFY_WITH_TIMEOUT(writer->isFinished(), int(whole) * 4 + 5000);
        delete writer;
        QVERIFY(cancel);
        QVERIFY(!stopped);
    }

    // A page with alpha is reduced and levelled by our writer as the library's command for it does, the same file.
    void transparentPage_isTheLibrarysReduction()
    {
        QFETCH(QStringList, drawing);
        QFETCH(int, colours);
        QFETCH(bool, ours);
        CaseFolder folder;
        const QString pdf = folder.path("page.pdf"), png = folder.path("page.png");
        if (drawing.isEmpty()) {
            QVERIFY(writeRawPdf(pdf, {"0 0 300 200"}));
            QVERIFY(run(GhostscriptLocator().locate(), {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pngalpha",
                                                        "-r144", "-dTextAlphaBits=4", "-sOutputFile=" + png, pdf}));
        } else {
            const ImageResult drawn = ImageObject().convert(drawing + QStringList{"-depth", "8"}, "PNG32");
            QVERIFY2(drawn.ok && plantFile(png, drawn.data), qPrintable(drawn.error));
        }
        const std::optional<ExactPalettePng::Page> quick =
            ExactPalettePng::writeTransparent(png, colours, 144, nullptr);
        QCOMPARE(quick.has_value(), ours);
        if (!ours)
            return;
        ConversionOptions options;
        options.transparent = true;
        options.colorDepth = colours == 4    ? ColorDepth::FourColors
                             : colours == 16 ? ColorDepth::SixteenColors
                                             : ColorDepth::TwoHundredFiftySixColors;
        const MagickRequest request{.bitmap = png, .options = options, .dpi = 144};
        const ImageResult library =
            ImageObject().convert(MagickCommands::pageArguments(request), MagickCommands::encoding(request));
        QVERIFY2(library.ok, qPrintable(library.error));
        QCOMPARE(std::tuple(quick->size, quick->colours, quick->uniform),
                 std::tuple(library.size, library.colors, library.uniform));
        QCOMPARE(quick->png, library.data);
        const QImage mine = QImage::fromData(quick->png, "PNG");
        QCOMPARE(mine.format(), QImage::Format_Indexed8);
        QVERIFY(quick->colours > 2);
    }

    // Our gray is the library's "-colorspace Gray" at 8 bits, for every colour there is, and a page of it the
    // library's page.
    void grayPage_isTheLibrarysGray()
    {
        CaseFolder folder;
        const QString all = folder.path("all.rgb");
        QByteArray colours(3 << 24, Qt::Uninitialized);
        for (int i = 0; i < 1 << 24; ++i) {
            colours[3 * i] = char(i >> 16);
            colours[3 * i + 1] = char(i >> 8);
            colours[3 * i + 2] = char(i);
        }
        QVERIFY(plantFile(all, colours));
        const ImageResult gray = ImageObject().convert(
            {"-size", "4096x4096", "-depth", "8", "rgb:" + all, "-colorspace", "Gray", "-depth", "8"}, "GRAY");
        QVERIFY2(gray.ok && gray.data.size() == 1 << 24, qPrintable(gray.error));
        int differ = 0;
        for (int i = 0; i < 1 << 24; ++i)
            differ += GrayPng::levelOf(uchar(i >> 16), uchar(i >> 8), uchar(i)) != uchar(gray.data[i]);
        QCOMPARE(differ, 0);

        const QString tiff = folder.path("page.tif");
        const ImageResult drawn = ImageObject().convert({"-size", "300x200", "gradient:red-blue", "-fill", "green",
                                                         "-draw", "circle 150,100 150,160", "-fill", "black", "-draw",
                                                         "rectangle 0,0 9,9", "-depth", "8", "-type", "TrueColor"},
                                                        "TIFF");
        QVERIFY(drawn.ok && plantFile(tiff, drawn.data));
        const std::optional<PageTiff::EncodedPage> ours = GrayPng::write(tiff, 96, nullptr);
        QVERIFY(ours);
        ConversionOptions options;
        options.colorDepth = ColorDepth::Grayscale;
        const MagickRequest request{.bitmap = tiff, .options = options, .dpi = 96};
        const ImageResult library =
            ImageObject().convert(MagickCommands::pageArguments(request), MagickCommands::encoding(request));
        QVERIFY2(library.ok, qPrintable(library.error));
        const QImage mine = QImage::fromData(ours->png, "PNG"), theirs = QImage::fromData(library.data, "PNG");
        QCOMPARE(mine.format(), QImage::Format_Grayscale8);
        QCOMPARE(mine, theirs.convertToFormat(QImage::Format_Grayscale8));
        QCOMPARE(mine.dotsPerMeterX(), theirs.dotsPerMeterX());
        QVERIFY(!ours->uniform);
        // Rows each of one level, but not all of the same, are no blank page, nor is a mark between blank rows;
        // one level everywhere is.
        for (const auto &[drawing, blank] :
             {std::pair{QStringList{"-size", "50x40", "gradient:white-blue"}, false},
              std::pair{QStringList{"-size", "50x40", "xc:white", "-fill", "red", "-draw", "point 25,20"}, false},
              std::pair{QStringList{"-size", "50x40", "xc:rgb(10,200,30)"}, true}}) {
            const ImageResult page =
                ImageObject().convert(drawing + QStringList{"-depth", "8", "-type", "TrueColor"}, "TIFF");
            QVERIFY(page.ok && plantFile(tiff, page.data));
            const std::optional<ImageResult> told = ImageObject().grayPage(tiff, 96);
            QVERIFY(told);
            QCOMPARE(told->uniform, blank);
        }
    }

    // True colour from our writer: the library's pixels, and the sRGB profile where one was asked for.
    void trueColourPng_isTheLibrarysWithItsProfile()
    {
        const QString srgb = GhostscriptCommands::srgbProfile();
        QVERIFY(!srgb.isEmpty());
        const QStringList command{"-seed",  "7",      "-size", "64x64",    "xc:", "+noise",
                                  "Random", "-depth", "8",     "-profile", srgb};
        const ImageResult ours =
            ImageObject().convert(command, ImageEncoding{.format = "PNG", .pngColorType = 2, .pngBitDepth = 8});
        const ImageResult library = ImageObject().convert(command, ImageEncoding{.format = "PNG"});
        QVERIFY(ours.ok && library.ok && ours.data != library.data);
        QCOMPARE(int(ours.data.at(25)), 2);
        QVERIFY(ours.data.contains("iCCP"));
        QCOMPARE(QImage::fromData(ours.data, "PNG").convertToFormat(QImage::Format_RGB32),
                 QImage::fromData(library.data, "PNG").convertToFormat(QImage::Format_RGB32));
    }

    // Our writer takes the library's image only where it keeps every sample: a palette of the colours used, gray
    // at the 256 levels of 8 bits (others the library writes, rounded where ours would cut).
    void libraryImage_isWrittenAsTheLibraryWouldKeepIt()
    {
        const auto plteLength = [](const QByteArray &png) {
            const qsizetype at = png.indexOf("PLTE");
            return at < 4 ? -1 : int(qFromBigEndian<quint32>(png.constData() + at - 4));
        };
        const auto same = [](const ImageResult &a, const ImageResult &b) {
            return QImage::fromData(a.data, "PNG").convertToFormat(QImage::Format_RGB32)
                   == QImage::fromData(b.data, "PNG").convertToFormat(QImage::Format_RGB32);
        };
        // Red mapped onto four grays uses one of them.
        const QStringList remapped{"-size",   "8x8",   "xc:red", "-depth", "8",
                                   "+dither", "-size", "1x4",    "-remap", "gradient:black-white"};
        const ImageResult palette = ImageObject().convert(remapped, ImageEncoding{.format = "PNG", .pngColorType = 3});
        const ImageResult library = ImageObject().convert(remapped, ImageEncoding{.format = "PNG"});
        QVERIFY(palette.ok && library.ok);
        QCOMPARE(std::pair(int(palette.data.at(25)), plteLength(palette.data)), std::pair(3, 3));
        QVERIFY(same(palette, library));

        const QStringList offLevels{"-size",  "64x64",  "gradient:white-black", "-depth", "8", "-colorspace", "Gray",
                                    "-level", "10%,90%"};
        const ImageEncoding gray{.format = "PNG", .pngColorType = 0, .pngBitDepth = 8};
        const ImageResult ours = ImageObject().convert(offLevels, gray);
        const ImageResult theirs = ImageObject().convert(offLevels, ImageEncoding{.format = "PNG"});
        QVERIFY(ours.ok && theirs.ok);
        // Left to the library, which scales such a sample its own way.
        QCOMPARE(ours.data, theirs.data);
    }

    // A transparent page from our writer decodes to the library's own pixels, alpha included, however many levels.
    void alphaPng_isTheLibrarysWriting_data()
    {
        QTest::addColumn<QString>("colours"); // the reduction
        QTest::addColumn<int>("colorType");   // ours
        QTest::newRow("16 colours: a palette") << "16" << 3;
        QTest::newRow("256 colours exactly: still a palette") << "four alphas" << 3;
        QTest::newRow("gray levels: gray and alpha") << "gray" << 4;
        QTest::newRow("many colours: colour and alpha") << "none" << 6;
    }

    void alphaPng_isTheLibrarysWriting()
    {
        QFETCH(QString, colours);
        QFETCH(int, colorType);
        // Colours down, alpha across.
        QStringList command{"-size", "64x64", "gradient:red-blue", "(", "-size", "64x64", "gradient:white-black"};
        command << "-rotate"
                << "90"
                << ")"
                << "-alpha"
                << "off"
                << "-compose"
                << "CopyOpacity"
                << "-composite"
                << "-depth"
                << "8";
        if (colours == "four alphas") // of each of the 64 colours
            command =
                QString("-size 64x64 gradient:red-blue -alpha set -channel A -fx floor(i/16)/3+0.1 +channel -depth 8")
                    .split(' ');
        else if (colours == "gray")
            command << "-colorspace"
                    << "Gray";
        else if (colours != "none")
            command << "-colors" << colours;
        command << "-channel"
                << "A"
                << "-level"
                << "2%,100%"
                << "+channel";
        const ImageResult ours = ImageObject().convert(command, ImageEncoding{.format = "PNG", .pngAlpha = true});
        const ImageResult library = ImageObject().convert(command, ImageEncoding{.format = "PNG"});
        QVERIFY(ours.ok && library.ok && ours.data != library.data);
        QCOMPARE(int(ours.data.at(25)), colorType);
        const QImage mine = QImage::fromData(ours.data, "PNG").convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(mine, QImage::fromData(library.data, "PNG").convertToFormat(QImage::Format_ARGB32));
        QSet<int> alphas;
        for (int x = 0; x < mine.width(); ++x)
            alphas << qAlpha(mine.pixel(x, 32));
        QVERIFY(alphas.size() > 2);
    }

    // A tool's words are kept, escaped, without our private folders, its source locations or reasons that are none.
    void problemDetails_areEscapedAndNameNothingPrivate()
    {
        const Problem escaped = Problem::make(Problem::NotPdf, QStringLiteral("a\x1b[2Jb\tc\nd\x7f\u0085\x01\re"),
                                              QStringLiteral("x\x1by.pdf"));
        QCOMPARE(escaped.details, QStringLiteral("a\\x1b[2Jb\tc\nd\\x7f\\x85\\x01\\x0de"));
        QVERIFY2(escaped.message.contains("x\\x1by.pdf"), qPrintable(escaped.message));
        const QString raw =
            "IO error writing `/tmp/SFG-12-AbCdEf/p000001.tif' @ error/tiff.c/TIFFErrors/603\nUnknown error\n()";
        QCOMPARE(Problem::make(Problem::NotPdf, raw, "y.pdf").details, "IO error writing ");
    }
};

QTEST_GUILESS_MAIN(tst_Tools)
#include "tst_tools.moc"
