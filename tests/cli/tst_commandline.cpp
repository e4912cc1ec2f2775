// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "tools/ImageObject.h"

#include <QtTest>

#include <csignal>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

struct Run
{
    int exitCode = -1;
    QString out, err;
};

// Home and settings of the case's own (TMPDIR the case's folder sets), and the case's "bin" first on PATH.
void prepare(QProcess &process, const CaseFolder &folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", folder.path("bin") + ":" + environment.value("PATH"));
    environment.insert("HOME", folder.path());
    environment.insert("XDG_CONFIG_HOME", folder.path("config"));
    // Else Qt makes its runtime folder in the temporary folder.
    environment.insert("XDG_RUNTIME_DIR", folder.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder.path());
}

// With outputClosed, standard output and error are a pipe no one reads, as after "2>&1 | head -1".
// A stranger is another user, where the tests run as root, whom no permission stops.
Run sheetforge(const CaseFolder &folder, const QStringList &arguments, const QByteArray &input = {},
               bool outputClosed = false, const QString &program = QStringLiteral(SHEETFORGE_EXECUTABLE),
               bool stranger = false)
{
    QProcess process;
    prepare(process, folder);
    process.setChildProcessModifier([outputClosed, stranger] {
        int ends[2];
        if (outputClosed && ::pipe(ends) == 0) {
            ::dup2(ends[1], STDOUT_FILENO);
            ::dup2(ends[1], STDERR_FILENO);
            ::close(ends[0]);
        }
        if (stranger && geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
    });
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Starts the program and waits until it says the words, on either output.
bool saying(QProcess &process, const QStringList &arguments, const QByteArray &words = "Processing page")
{
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(SHEETFORGE_EXECUTABLE), arguments);
    QByteArray said;
    return QTest::qWaitFor([&] { return (said += process.readAll()).contains(words); }, 30000);
}

// A run of the program and what it must give.
struct Case
{
    int exitCode = 0;
    QStringList arguments; // in the case's folder; "{docs}" is the documents' folder
    QStringList documents; // from the documents' folder, after the arguments
    QStringList said;      // in this order, on standard output and error
    QStringList written;   // in the case's "out" folder, which is there before the run
    int errors = -1;       // lines that start "sheetforge: ", where not one on failure and none on success
    QByteArray input;      // on standard input
    bool outputClosed = false;
    QString temp;                 // the temporary folder, in the case's folder, where not the usual one
    QString tempSize;             // of a file system mounted there, when given
    bool stranger = false;        // run by another user, with the program and documents in "bin" and "locked" closed
    QString ghostscript;          // the script of a stand-in gs
    bool ghostscriptIdle = false; // the stand-in is never started
    QByteArray stored;            // the window's last options, as its settings file holds them

    Case &standIn(const QString &script, bool idle = false)
    {
        ghostscript = script;
        ghostscriptIdle = idle;
        return *this;
    }
};

Case expect(int exitCode, const QStringList &arguments, const QStringList &documents, const QStringList &said = {},
            const QStringList &written = {}, const QByteArray &input = {})
{
    return {exitCode, arguments, documents, said, written, -1, input};
}

} // namespace

Q_DECLARE_METATYPE(Case)

class tst_CommandLine : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;

    QString doc(const QString &name) const { return m_docs.filePath(name); }
    // Thousands of bytes: more than Ghostscript takes in an argument naming a file.
    static QString deep() { return QStringList(15, QString(200, 'd')).join('/'); }
    static bool isAlive(int pid) { return processState(pid) != 0 && processState(pid) != 'Z'; }
    static bool isStopped(int pid) { return processState(pid) == 'T'; }

private slots:
    void initTestCase()
    {
        const QSizeF small(200, 150), a4(595, 842);
        QVERIFY(writePdf(doc("one.pdf"), {small}));
        QVERIFY(writePdf(doc("three.pdf"), {small, small, small}));
        QVERIFY(writePdf(doc("five.pdf"), {small, small, small, small, small}));
        QVERIFY(writePdf(doc("long.pdf"), QList<QSizeF>(8, a4)));
        QVERIFY(writePdf(doc("two.pdf"), {{400, 300}, {420, 300}}));
        QVERIFY(QFile::copy(doc("one.pdf"), doc("a.1.pdf")) && QFile::copy(doc("one.pdf"), doc("a.2.pdf")));
        QVERIFY(QFile::copy(doc("one.pdf"), doc("odd\x1b[2J\r.pdf")));
        QVERIFY(QDir().mkpath(doc("other")) && QFile::copy(doc("three.pdf"), doc("other/one.pdf")));
        QVERIFY(QDir().mkpath(doc(deep())) && QFile::copy(doc("one.pdf"), doc(deep() + "/one.pdf")));
        QVERIFY(encrypt(doc("one.pdf"), doc("locked.pdf"), "user"));
        QVERIFY(encrypt(doc("one.pdf"), doc("r5.pdf"), "user", true));
        QVERIFY(encrypt(doc("one.pdf"), doc("quoted.pdf"), "a\" b\\c"));
        QVERIFY(plantFile(doc("damaged.pdf"), "%PDF-1.4\nnot really\n") && plantFile(doc("empty.pdf"), {}));
        // Small as Ghostscript's bitmap, large once scaled up to a page.
        QVERIFY(plantFile(doc("noise.tif"),
                          ImageObject().convert({"-size", "64x64", "xc:", "+noise", "Random"}, "TIFF").data));
        QVERIFY(writeRawPdf(doc("nopages.pdf"), {}));
        QVERIFY(writeRawPdf(doc("huge.pdf"), {"0 0 20000 20000"}));
        QVERIFY(writeRawPdf(doc("longest.pdf"), {"0 0 14400 100"}));
        // Read by Ghostscript, it would wait for a writer for ever.
        QVERIFY(run("mkfifo", {doc("fifo.pdf")}));
        QVERIFY(writeRawPdf(doc("flat.pdf"), {"0 0 612 0"}));
        // The older interpreter, which revision 5 takes, believes the page tree's count.
        QVERIFY(writeRawPdf(doc("claims.pdf"), {"0 0 612 792"}, "Helvetica", {}, std::numeric_limits<int>::max()));
        QVERIFY(encrypt(doc("claims.pdf"), doc("claims-r5.pdf"), "user", true));
        // Ghostscript prints a font's name as it loads it, so these documents make it say its own words.
        QVERIFY(writeRawPdf(doc("full.pdf"), {"0 0 200 150"}, "Nope#0ANo#20space#20left#20on#20device"));
        QVERIFY(writeRawPdf(doc("asks.pdf"), {"0 0 200 150"},
                            "Nope#0AThis#20file#20requires#20a#20password#20for#20access."));
        QVERIFY(writeRawPdf(doc("fails.pdf"), {"0 0 200 150"},
                            "Nope#0AGPL#20Ghostscript#2010.00.0:#20Unrecoverable#20error,#20exit#20code#201"));
        // Ghostscript runs as PostScript a file with "%!" before the PDF header, or no header in its first kilobyte.
        QVERIFY(writeRawPdf(doc("raw.pdf"), {"0 0 200 150"}));
        const QByteArray pdf = contentsOf(doc("raw.pdf"));
        const QByteArray ps = "/Helvetica findfont 20 scalefont setfont 20 20 moveto (PS) show showpage quit\n";
        const QList<std::pair<QString, QByteArray>> prefixed{
            {"ps-first.pdf", "%!\n" + ps},
            {"late-header.pdf", QByteArray("% a comment\n").repeated(100) + "showpage quit\n"},
            {"header-within-a-kilobyte.pdf", QByteArray("% a comment\n").repeated(70)},
            {"junk-first.pdf", "junk\n"},
            {"ps-after-a-comment.pdf", "% x\n%!PS\n" + ps}};
        for (const auto &[name, prefix] : prefixed)
            QVERIFY(plantFile(doc(name), prefix + pdf));
    }

    void commandLine_data()
    {
        QTest::addColumn<Case>("c");
        const auto row = [](const char *name, const Case &c) { QTest::newRow(name) << c; };
        const QStringList one{"one.pdf"}, toOut{"--convert", "out/out.png"};
        const QStringList toFolder{"--convert", "out/", "--dpi", "72"};
        // Mistakes on the command line: nothing is converted.
        const auto refused = [&row, &one](const QStringList &arguments, const QString &said) {
            row(qPrintable(said), expect(2, arguments, one, {said}));
        };
        // Accepted: the flags reach the options said before the work, and page 9 of one does not exist.
        const auto accepted = [&row, &one](const char *name, const QStringList &arguments, const QStringList &said) {
            row(name, expect(1, arguments + QStringList{"--pages", "9"}, one, said + QStringList{"none of the pages"}));
        };
        row("help", expect(0, {"--help"}, {},
                           {"--convert", "default 300", "--defaults starts from\nthe first-start defaults",
                            "Exit status:\n  0      every page was written"}));
        row("version", expect(0, {"--version"}, {}, {"sheetforge " SHEETFORGE_VERSION}));
        refused({"--bogus"}, "sheetforge: Unknown option --bogus. See sheetforge --help.\n");
        row("no document", expect(2, toOut, {}, {"--convert needs the PDF file to convert."}));
        refused({"--colrs", "16"}, "Unknown option --colrs. Did you mean --colors? See sheetforge --help.");
        refused({"--bo\x1b[2Jgus"}, "Unknown option --bo\\x1b[2Jgus. See");
        refused({"--colr\x07s", "16"}, "Unknown option --colr\\x07s. Did you mean --colors?");
        refused({"-dpi=300"}, "a long option takes two dashes, as in --dpi");
        refused({"--convert", "x.png", "-dash.PDF"}, "./-dash.PDF");
        refused({"--convert", "x.png", "--pages", "1,x"}, "--pages 1,x: \"x\" is not a page or a range");
        refused({"--convert", "x.png", "--dpi", "71"}, "--dpi wants a whole number from 72 to 2400.");
        refused({"--convert", "f.bmp"}, "png, gif, jpg, tif or webp");
        refused({"--convert", "x.png", "--page-timeout", "-1"}, "--page-timeout wants a whole number of seconds");
        refused({"--convert", "x.jpg", "--quality", "-1"}, "--quality wants a whole number from 0 to 100");
        refused({"--convert", "x.png", "--colors", "7"}, "--colors wants bw, 4, 16, 256, hicolor");
        refused({"--convert", "x.png", "--box", "page"}, "--box wants crop, media, trim, bleed or art.");
        refused({"--convert", "x.png", "--without", "text,sound"}, "--without wants a list of text, images or vectors");
        refused({"--convert", "x.png", "--overprint", "yes"}, "--overprint wants auto, on or off.");
        refused({"--convert", "x.png", "--colors", "cmyk"}, "--colors cmyk: png files cannot hold CMYK");
        refused({"--convert", "x.png", "--width", "0"}, "--width wants a whole number of pixels from 1 to");
        refused({"--convert", "x\x1b[2J.png", "{docs}/one.pdf"},
                "--convert x\\x1b[2J.png: several documents go into a folder");
        refused({"--convert", "x.png", "--dpi", "300", "--width", "800"},
                "--dpi and --width or --height cannot be combined");
        refused({"--convert", "x.png", "--height", "100", "--dpi", "300"},
                "--dpi and --width or --height cannot be combined");
        refused({"--convert", "x.jpg", "--transparent"}, "--transparent: jpg files cannot be transparent");
        refused({"--dpi", "300"}, "--dpi goes with --convert.");
        refused({"--password-stdin"}, "--password-stdin goes with --convert");
        accepted(
            "image flags, png", {"--convert",  "out/x.png",     "--width",   "800",         "--height",
                                 "300",        "--colors",      "gray16",    "--dither",    "--no-antialias",
                                 "--trim",     "--transparent", "--box",     "Trim",        "--no-annotations",
                                 "--no-forms", "--printed",     "--without", "images,text", "--overprint",
                                 "on",         "--icc"},
            {"given): --width 800 --height 300 --colors gray16 --dither --no-antialias --trim --transparent --box "
             "trim --no-annotations --no-forms --printed --without text,images --overprint on --icc --format png\n"});
        accepted("image flags, jpg", {"--convert", "out/x.jpg", "--dpi", "2400", "--colours", "4", "--quality", "0"},
                 {"given): --dpi 2400 --colors 4 --no-dither --antialias --no-trim --box crop --annotations --forms "
                  "--no-printed --overprint auto --no-icc --format jpg --quality 0\n"});
        accepted("another extension with --format", {"--convert", "out/x.bmp", "--format", "png"}, {"--format png\n"});
        accepted("cmyk, a JPEG by its name", {"--convert", "out/x.jpg", "--colors", "cmyk"}, {"--format jpg"});
        accepted("page timeout zero: no limit", {"--convert", "out/x.png", "--page-timeout", "0"}, {});
        accepted("folders made on the way", {"--convert", "deep/er/x.png"}, {});
        row("a file where a folder is to be made",
            expect(1, {"--convert", "{docs}/one.pdf/sub/x.png"}, one, {"one.pdf\" is a file, not a folder"}));
        row("a name longer than the file system takes",
            expect(1, {"--convert", "out/" + QString(300, 'a') + ".png"}, one, {"cannot be written to"}));
        row("tiff, every page in one file",
            expect(0, {"--convert", "out/out", "--format", "tiff", "--colors", "bw", "--dpi", "72"}, {"three.pdf"},
                   {"--colors bw", "--format tif\n"}, {"out.tif"}));
        row("webp by its extension", expect(0, {"--convert", "out/out.webp", "--pages", "3", "--dpi", "72"},
                                            {"three.pdf"}, {"--format webp\n"}, {"out003.webp"}));

        // Documents that open, and those that fail with words of ours rather than Ghostscript's.
        const auto opens = [&row, &toOut](const char *name, const QString &document) {
            row(name, expect(0, toOut, {document}, {"1 page"}, {"out.png"}));
        };
        const auto fails = [&row, &toOut](const char *name, const QString &document, const QString &said) {
            row(name, expect(1, toOut, {document}, {said}));
        };
        const auto password = [&row, &toOut](const char *name, const QString &document, const QByteArray &input,
                                             int exitCode, const QStringList &said) {
            Case c = expect(exitCode, toOut + QStringList{"--password-stdin"}, {document}, said,
                            exitCode ? QStringList() : QStringList{"out.png"}, input);
            c.errors = exitCode ? int(said.size()) : 0;
            row(name, c);
        };
        fails("damaged", "damaged.pdf", "is not a PDF document");
        fails("empty", "empty.pdf", "is empty");
        fails("missing", "gone.pdf", "gone.pdf\" does not exist");
        opens("at a path of thousands of bytes", deep() + "/one.pdf");
        password("right password", "locked.pdf", "user\n", 0, {"1 page"});
        password("wrong password", "locked.pdf", "resu\n", 1, {"not correct"});
        password("password with a DOS line end", "locked.pdf", "user\r\n", 0, {"1 page"});
        password("password without a line end", "locked.pdf", "user", 0, {"1 page"});
        fails("no password", "locked.pdf", "--password-stdin");
        password("revision 5, user password", "r5.pdf", "user\n", 0, {"1 page"});
        password("revision 5, owner password", "r5.pdf", "owner\n", 0, {"1 page"});
        password("revision 5, wrong password", "r5.pdf", "resu\n", 1, {"not correct"});
        password("a password with a blank, a quote and a backslash", "quoted.pdf", "a\" b\\c\n", 0, {"1 page"});
        password("unusable password", "locked.pdf", "a b\\\n", 1, {"cannot be used"});
        // Too long, the password is dropped and the document asks for one.
        const QStringList tooLong{"longer than 4096 bytes; it is not used.",
                                  "\"locked.pdf\" is protected by a password."};
        password("password too long", "locked.pdf", QByteArray(4097, 'x') + "\n", 1, tooLong);
        password("password longer than the line read", "locked.pdf", QByteArray(10000, 'x') + "\n", 1, tooLong);
        password("password of the longest length", "locked.pdf", QByteArray(4096, 'x') + "\n", 1, {"cannot be used"});
        fails("no pages", "nopages.pdf", "has no pages");
        fails("huge page", "huge.pdf", "20000 x 20000 points");
        opens("a page of the longest side", "longest.pdf");
        fails("a FIFO named like a PDF", "fifo.pdf", "is not a PDF document");
        fails("flat page", "flat.pdf", "612 x 0 points");
        opens("font named like a password question", "asks.pdf");
        opens("font named like an error", "fails.pdf");
        opens("junk before the header", "junk-first.pdf");
        opens("the header at byte 840", "header-within-a-kilobyte.pdf");
        password("2147483647 pages claimed, revision 5", "claims-r5.pdf", "user\n", 1, {"is not a PDF document"});
        opens("2147483647 pages claimed", "claims.pdf");
        // A file Ghostscript would run as PostScript never reaches it, whatever comes before the "%!".
        for (const char *name : {"ps-first.pdf", "ps-after-a-comment.pdf", "late-header.pdf"})
            row(name, expect(1, toOut, {name}, {"is not a PDF document"}).standIn("info_ok", true));
        row("a page that never ends, named in time",
            expect(1, toOut + QStringList{"--page-timeout", "1"}, one, {"Page 1 did not finish in the time allowed"})
                .standIn(R"sh([ -n "$info" ] && info_ok; echo "Page 1"; exec sleep 60)sh"));

        // The pages asked for decide the names; pages missing are said in one line, in the order of the work.
        const auto pages = [&row](const char *name, const QString &document, const QStringList &flags, int exitCode,
                                  const QStringList &written, const QStringList &said = {}) {
            row(name, expect(exitCode, QStringList{"--convert", "out/out.png", "--dpi", "72"} + flags, {document}, said,
                             written));
        };
        pages("one page: the destination itself", "one.pdf", {}, 0, {"out.png"},
              {"Processing page 1...", "Wrote ", "1 page written."});
        pages("range past the end", "three.pdf", {"--pages", "2-90"}, 1, {"out002.png", "out003.png"},
              {"Processing page 2...", "Wrote ", "Wrote ",
               "sheetforge: Pages 4 to 90 do not exist: the document has only 3 pages.", "2 pages written."});
        pages("range after the end", "three.pdf", {"--pages", "5-6"}, 1, {},
              {"sheetforge: \"three.pdf\" has only 3 pages; none of the pages asked for exists."});
        pages("even pages", "five.pdf", {"--pages", "even"}, 0, {"out002.png", "out004.png"});
        pages("page list: repeats and disorder", "five.pdf", {"--pages", "5,1-2,2"}, 0,
              {"out001.png", "out002.png", "out005.png"});
        pages("page list partly past the end", "three.pdf", {"--pages", "1,5,7-9,2-"}, 1,
              {"out001.png", "out002.png", "out003.png"},
              {"sheetforge: Pages 5, 7-9 do not exist: the document has only 3 pages.", "3 pages written."});
        // A name can neither command the terminal nor pass for a line of its own.
        row("control characters in the name",
            expect(0, {"--convert", "out/\x1b[31mred\nline\t.png"}, one,
                   {"/out/\\x1b[31mred\\nline\\t.png\n", "1 page written."}, {"\x1b[31mred\nline\t.png"}));

        // Several documents go each into the folder under its own name, and one failing stops no other.
        const QStringList oneAndThree{"one.png", "three001.png", "three002.png", "three003.png"};
        const auto several = [&row, &toFolder](const char *name, const QStringList &documents, int exitCode,
                                               const QStringList &written, const QStringList &said = {}) {
            Case c = expect(exitCode, toFolder, documents, said, written);
            c.errors = said.size();
            row(name, c);
        };
        several("a font named like a full disk between two", {"one.pdf", "full.pdf", "three.pdf"}, 0,
                QStringList{"full.png"} + oneAndThree);
        several("a name with control characters", {"odd\x1b[2J\r.pdf", "one.pdf"}, 0, {"odd\x1b[2J\r.png", "one.png"});
        several("names with dots", {"a.1.pdf", "a.2.pdf"}, 0, {"a.1.png", "a.2.png"});
        // Each told as it starts, the next one opened meanwhile or not.
        row("each document told as it starts",
            expect(0, toFolder, {"one.pdf", "three.pdf", "a.1.pdf"},
                   {"Converting ", "one.pdf", "Converting ", "three.pdf", "Converting ", "a.1.pdf"},
                   QStringList{"a.1.png"} + oneAndThree));
        several("two of the same name, from two folders", {"one.pdf", "other/one.pdf"}, 0,
                {"one-2001.png", "one-2002.png", "one-2003.png", "one.png"});
        several("two good, one missing, one locked", {"one.pdf", "gone.pdf", "three.pdf", "locked.pdf"}, 1, oneAndThree,
                {"gone.pdf\" does not exist", "locked.pdf\" is protected"});
        row("a folder there, named without a '/'",
            expect(0, {"--convert", "out", "--dpi", "72"}, {"one.pdf", "three.pdf"}, {}, oneAndThree));
        row("the password tried on each that asks",
            expect(0, toFolder + QStringList{"--password-stdin"}, {"locked.pdf", "one.pdf", "r5.pdf"}, {},
                   {"locked.png", "one.png", "r5.png"}, "user\n"));
        // The destination folder gone would meet every document alike: the first to meet it ends the run.
        row("the folder removed", expect(1, {"--convert", "out/", "--width", "100", "--colors", "hicolor"},
                                         {"one.pdf", "three.pdf"}, {"/out"})
                                      .standIn(R"sh([ -n "$info" ] && info_ok; rm -rf "$here/../out"; )sh"
                                               R"sh(cp "{docs}/noise.tif" "$(printf "$pattern" 1)")sh"));
        // The next document, opened while the one before is converted, fails after its turn has come: it is opened
        // again and told of, not waited for ever.
        row("the next document fails to open late",
            expect(1, {"--convert", "out/"}, {"one.pdf", "three.pdf"}, {"Wrote", "three.pdf\" is not a PDF document"},
                   {"one.png"})
                .standIn(R"sh([ -n "$info" ] && echo >> "$here/opened" && [ "$(wc -l < "$here/opened")" -ge 2 ] )sh"
                         R"sh(&& { sleep 1; exit 1; }; [ -n "$info" ] && info_ok; )sh"
                         R"sh(cp "{docs}/noise.tif" "$(printf "$pattern" 1)")sh"));
        // Nor does the temporary folder missing fall back on the current one, where the password would land.
        Case missing = expect(1, toFolder + QStringList{"--password-stdin"}, {"locked.pdf", "one.pdf"},
                              {"temporary folder \"", "/missing\\x1b[2J\" does not exist."}, {}, "user\n");
        missing.temp = "missing\x1b[2J";
        row("the temporary folder missing", missing);
        // Messages lost on a closed output stop no conversion.
        Case closed = expect(0, {"--convert", "out/scan.png", "--dpi", "72"}, {"three.pdf"}, {},
                             {"scan001.png", "scan002.png", "scan003.png"});
        closed.outputClosed = true;
        row("standard output closed", closed);
        // Permissions as a user meets them: the folder named is the one that refused; another user's temporary of
        // the multi-page file is told as such, and left alone.
        const auto stranger = [&row](const char *name, const QString &destination, const QString &said) {
            Case c =
                expect(1, {"--convert", "{case}/" + destination}, {"one.pdf"}, {said}, {"book.tif.sheetforge-part"});
            c.stranger = true;
            row(name, c);
        };
        stranger("a folder that cannot be made", "locked/new/x.png",
                 "sheetforge: The folder \"{case}/locked/new\" cannot be made: you are not allowed to write to "
                 "\"{case}/locked\". Choose a folder you are allowed to write to.\n");
        stranger("a folder there that cannot be written", "locked/x.png",
                 "sheetforge: The images cannot be written to \"{case}/locked\".");
        stranger("another user's temporary", "out/book.tif", "is being written by another conversion");
        // A4 at 300 dpi needs 26 MB of bitmap; the library's pixel cache outgrows its memory at 1200 dpi and would
        // spill into the temporary folder. The room is judged before any page, and the folder named.
        const auto tight = [&row](const char *name, const char *size, const QString &dpi, const QString &said) {
            Case c = expect(1, {"--convert", "out/out.png", "--dpi", dpi}, {"long.pdf"},
                            {"temporary folder \"", "/small\\x1b[2J\"", said});
            c.temp = "small\x1b[2J";
            c.tempSize = size;
            row(name, c);
        };
        tight("the temporary folder full", "4m", "300", "");
        tight("a small temporary folder, at 1200 dpi", "15m", "1200", "At most 192 dpi fits");

        // The window's last options apply unless --defaults, and are said. JPEG stored, PNG asked for by the name.
        const auto stored = [&row](const char *name, const QStringList &flags, const QString &said,
                                   const QByteArray &settings = {}) {
            Case c = expect(0, QStringList{"--convert", "out/out.png", "--pages", "1"} + flags, {"two.pdf"}, {said},
                            {"out001.png"});
            c.stored = settings.isEmpty() ? "ColorDepth=0\nResolution=1\nDither=1\nImageFormat=2\n" : settings;
            row(name, c);
        };
        stored("the window's last", {},
               "last and the flags given): --dpi 96 --colors bw --dither --antialias --no-trim --no-transparent "
               "--box crop --annotations --forms --no-printed --overprint auto --no-icc --format png\n");
        stored("--defaults", {"--defaults"},
               "defaults and the flags given): --dpi 144 --colors 16 --no-dither --antialias");
        // A stored box of any width by 150 pixels: --width alone leaves the height free.
        stored("one side of a box given", {"--width", "800"}, "--width 800 --colors",
               "FitToBox=1\nBoxWidth=0\nBoxHeight=150\n");
    }

    void commandLine()
    {
        QFETCH(Case, c);
        CaseFolder folder;
        QVERIFY(QDir().mkpath(folder.path("out")) && QDir().mkpath(folder.path("bin")));
        if (!c.stored.isEmpty())
            QVERIFY(QDir().mkpath(folder.path("config/sheetforge"))
                    && plantFile(folder.path("config/sheetforge/sheetforge.conf"), "[General]\n" + c.stored));
        if (!c.ghostscript.isEmpty())
            QVERIFY(!fakeGhostscript(folder.path("bin"), QString(c.ghostscript).replace("{docs}", m_docs.path()))
                         .isEmpty());
        QStringList arguments = QStringList(c.arguments)
                                    .replaceInStrings("{docs}", m_docs.path())
                                    .replaceInStrings("{case}", folder.path());
        for (const QString &name : c.documents)
            arguments << (c.stranger && QFile::copy(doc(name), folder.path("bin/" + name)) ? folder.path("bin/" + name)
                                                                                           : doc(name));
        const QString part = folder.path("out/book.tif.sheetforge-part");
        if (c.stranger) {
            QVERIFY(QDir().mkpath(folder.path("locked"))
                    && QFile::copy(SHEETFORGE_EXECUTABLE, folder.path("bin/sheetforge")));
            QVERIFY(plantFile(part, "II*") && ::chmod(QFile::encodeName(part), geteuid() == 0 ? 0600 : 0) == 0);
            for (const auto &[name, mode] :
                 {std::pair{"", 0755}, {"bin", 0755}, {"locked", 0555}, {"out", 0777}, {"t%03d", 0777}})
                QVERIFY(::chmod(QFile::encodeName(folder.path(QString::fromLatin1(name))), mode) == 0);
        }
        if (!c.temp.isEmpty())
            qputenv("TMPDIR", QFile::encodeName(folder.path(c.temp)));
        const QString temp = c.temp.isEmpty() ? folder.temp() : folder.path(c.temp);
        if (!c.tempSize.isEmpty()
            && !(QDir().mkpath(temp) && run("mount", {"-t", "tmpfs", "-o", "size=" + c.tempSize, "tmpfs", temp})))
            QSKIP("Needs a small file system: mount is not allowed here");
        const Run run =
            sheetforge(folder, arguments, c.input, c.outputClosed,
                       c.stranger ? folder.path("bin/sheetforge") : QStringLiteral(SHEETFORGE_EXECUTABLE), c.stranger);
        const QStringList leftInTemp = leftovers(temp);
        if (!c.tempSize.isEmpty())
            TestSupport::run("umount", {temp});
        const QString said = run.out + run.err;
        QVERIFY2(run.exitCode == c.exitCode, qPrintable(said));
        // The answer to --help or --version is the program's output, for a script to read.
        QVERIFY(!c.documents.isEmpty() || c.exitCode != 0 || (run.err.isEmpty() && !run.out.isEmpty()));
        qsizetype at = 0;
        for (const QString &words : c.said) {
            at = said.indexOf(QString(words).replace("{case}", folder.path()), at);
            QVERIFY2(at >= 0, qPrintable(words + " not in order in:\n" + said));
        }
        const QStringList errors = run.err.split('\n').filter(QRegularExpression("^sheetforge: "));
        QVERIFY2(errors.size() == (c.errors >= 0 ? c.errors : c.exitCode != 0), qPrintable(run.err));
        // No name commands the terminal, and Ghostscript's words never pass for ours.
        QVERIFY2(!run.err.contains(QChar(0x1b)) && !run.err.contains('\r') && !run.err.contains("GPL Ghostscript"),
                 qPrintable(run.err));
        QCOMPARE(filesIn(folder.path("out")), c.written);
        QCOMPARE(filesIn(folder.path()) + leftInTemp, QStringList());
        QVERIFY(c.temp.isEmpty() || !c.tempSize.isEmpty() || !QFileInfo::exists(temp));
        if (!c.ghostscript.isEmpty())
            QCOMPARE(QFile::exists(folder.path("bin/gs.log")), !c.ghostscriptIdle);
        QVERIFY(!c.stranger || contentsOf(part) == "II*");
    }

    // Each example of the README's script section, run as written: it succeeds and writes the files it names.
    void readmeExamples_runAsWritten_data()
    {
        QTest::addColumn<QString>("line");
        const QString text = QString::fromUtf8(contentsOf(README_FILE));
        const qsizetype section = text.indexOf("## Converting from a script");
        const qsizetype start = text.indexOf("```sh\n", section) + 6, end = text.indexOf("```", start);
        QVERIFY(section >= 0 && start > section && end > start);
        for (const QString &line : text.mid(start, end - start).split('\n', Qt::SkipEmptyParts))
            QTest::newRow(qPrintable(line.left(60))) << line;
    }

    void readmeExamples_runAsWritten()
    {
        QFETCH(QString, line);
        CaseFolder folder;
        QDir().mkpath(folder.path("bin"));
        QVERIFY(QFile::link(SHEETFORGE_EXECUTABLE, folder.path("bin/sheetforge")));
        // Ten pages for "10-"; two for numbered names.
        const QList<QSizeF> ten(10, QSizeF(200, 250));
        for (const QString &name : QStringList{"manual.pdf", "a.pdf", "b.pdf", "c.pdf", "odd.pdf"})
            QVERIFY(writePdf(folder.path(name), name == QLatin1String("manual.pdf") ? ten : ten.mid(0, 2)));
        QVERIFY(encrypt(folder.path("a.pdf"), folder.path("secret.pdf"), "open sesame"));
        const Run shell =
            sheetforge(folder, {"-c", "umask 022; PASSWORD='open sesame'; " + line}, {}, false, "/bin/sh");
        QVERIFY2(shell.exitCode == 0, qPrintable(shell.err));
        // "out/scan001.png, scan002.png": a bare name is in the folder of the one before it.
        const QString comment = line.section('#', 1);
        static const QRegularExpression named(QStringLiteral("[\\w/.-]+\\.(png|jpg|tif|gif|webp)"));
        QString last = line.section("--convert ", 1).section(' ', 0, 0);
        for (auto match = named.globalMatch(comment); match.hasNext();) {
            const QString name = match.next().captured();
            const QString path = name.contains('/') ? name : QFileInfo(last).path() + '/' + name;
            QVERIFY2(QFileInfo(folder.path(path)).size() > 0, qPrintable(path + " missing: " + shell.err));
            last = path;
        }
        const QString written = folder.path(QFileInfo(last).path());
        QVERIFY2(!filesIn(written).filter(QRegularExpression("\\.(png|jpg|tif)$")).isEmpty(), qPrintable(shell.err));
        // A folder the run made is as open as the user's umask makes any other.
        if (QFileInfo(last).path() != QLatin1String("."))
            QCOMPARE(modeOf(written), 0755);
    }

    // Each flag --help lists is told of in the README too.
    void readme_namesEveryFlag()
    {
        CaseFolder folder;
        const Run run = sheetforge(folder, {"--help"});
        QCOMPARE(run.exitCode, 0);
        const QString text = QString::fromUtf8(contentsOf(README_FILE));
        static const QRegularExpression flag(QStringLiteral("^\\s+(?:-\\w, )?(--[\\w-]+)"),
                                             QRegularExpression::MultilineOption);
        QStringList listed;
        for (auto match = flag.globalMatch(run.out); match.hasNext();)
            listed << match.next().captured(1);
        QVERIFY2(listed.size() > 15, qPrintable(run.out));
        for (const QString &name : std::as_const(listed))
            QVERIFY2(QRegularExpression(QRegularExpression::escape(name) + "\\b(?!-)").match(text).hasMatch(),
                     qPrintable(name + " is not in the README"));
    }

    // Two Ghostscript processes render a long document at once, yet each page's file is told of after the page
    // itself, in every document of a run. A large first page keeps the second one's file waiting to be told.
    void longDocuments_tellEachPageBeforeItsFile()
    {
        CaseFolder folder;
        QVERIFY(QDir().mkpath(folder.path("out")));
        const QList<QSizeF> sizes = QList<QSizeF>{QSizeF(3500, 3500)} + QList<QSizeF>(9, QSizeF(100, 100));
        QVERIFY(writePdf(folder.path("a.pdf"), sizes) && writePdf(folder.path("b.pdf"), sizes));
        const Run run = sheetforge(
            folder, {"--convert", folder.path("out/"), "--dpi", "72", folder.path("a.pdf"), folder.path("b.pdf")});
        QCOMPARE(run.exitCode, 0);
        for (const QString name : {"a", "b"}) {
            const QString told = run.err.section(QString("Converting %1.pdf\n").arg(folder.path(name)), 1)
                                     .section("\nConverting ", 0, 0);
            for (int page = 1; page <= 10; ++page) {
                const qsizetype processing = told.indexOf(QString("Processing page %1...\n").arg(page));
                const qsizetype wrote = told.indexOf(
                    QString("Wrote %1\n").arg(folder.path("out/%1%2.png")).arg(name).arg(page, 3, 10, QChar('0')));
                QVERIFY2(processing >= 0 && wrote > processing, qPrintable(run.err));
            }
        }
    }

    // Several PDFs chosen in a file manager, passed as the desktop entry asks, are offered together.
    void desktopEntry_severalDocuments_areOfferedForConverting()
    {
        const QString text = QString::fromUtf8(contentsOf(DESKTOP_FILE));
        const QStringList exec = QProcess::splitCommand(text.section("\nExec=", 1).section('\n', 0, 0));
        // X11 takes the window's class from the program's name: the desktop matches the window by it.
        QCOMPARE(text.section("\nStartupWMClass=", 1).section('\n', 0, 0), exec.value(0));
        QStringList arguments = exec.mid(1);
        QCOMPARE(arguments.removeAll("%F"), 1);
        CaseFolder folder;
        QProcess process;
        prepare(process, folder);
        // The process ends with the test: the question stays open till then.
        QVERIFY(saying(process, arguments << doc("one.pdf") << doc("three.pdf"),
                       "Convert 2 documents with the current options"));
    }

    void terminationSignal_stopsAtOnceAndCleansUp_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("waitingForPassword"); // on a pipe that stays open and empty
        QTest::addColumn<int>("stoppedFirst");        // and continued, while rendering
        QTest::newRow("SIGTERM") << int(SIGTERM) << false << 0;
        QTest::newRow("SIGINT") << int(SIGINT) << false << 0;
        QTest::newRow("SIGHUP") << int(SIGHUP) << false << 0;
        QTest::newRow("SIGTERM while waiting for a password") << int(SIGTERM) << true << 0;
        QTest::newRow("SIGTERM after a stop from the terminal") << int(SIGTERM) << false << int(SIGTSTP);
        QTest::newRow("SIGTERM after a stop that cannot be caught") << int(SIGTERM) << false << int(SIGSTOP);
    }

    void terminationSignal_stopsAtOnceAndCleansUp()
    {
        QFETCH(int, signal);
        QFETCH(bool, waitingForPassword);
        QFETCH(int, stoppedFirst);
        CaseFolder folder;
        QProcess process;
        prepare(process, folder);
        const QStringList arguments{"--convert", folder.path("out/scan.png"), "--dpi", "1200"};
        // processId() is 0 once the program has ended, and kill(0, ...) would signal this test's whole group.
        const auto send = [&process](int sent) {
            return process.processId() > 0 && ::kill(pid_t(process.processId()), sent) == 0;
        };
        if (waitingForPassword) {
            process.start(QStringLiteral(SHEETFORGE_EXECUTABLE),
                          arguments + QStringList{"--password-stdin", doc("locked.pdf")});
            // Ghostscript has asked for the password and ended by then.
            QTest::qWait(1500);
        } else {
            QVERIFY(saying(process, arguments + QStringList{doc("long.pdf")}));
        }
        const QList<int> children = ghostscriptChildren(process.processId());
        QCOMPARE(children.isEmpty(), waitingForPassword);
        // Ghostscript stops with us, so the temporary folder does not fill meanwhile, and goes on with us.
        for (const int sent : stoppedFirst ? QList<int>{stoppedFirst, SIGCONT} : QList<int>()) {
            QVERIFY(send(sent));
            const auto inStep = [stopped = sent != SIGCONT](int pid) { return isStopped(pid) == stopped; };
            QTRY_VERIFY_WITH_TIMEOUT(
                inStep(int(process.processId())) && std::all_of(children.begin(), children.end(), inStep), 5000);
        }
        QVERIFY(send(signal));
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(std::pair(process.exitStatus(), process.exitCode()), std::pair(QProcess::NormalExit, 128 + signal));
        QTRY_VERIFY_WITH_TIMEOUT(std::none_of(children.begin(), children.end(), isAlive), 5000);
        QCOMPARE(filesIn(folder.path("out")), QStringList());
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    // Killed, the program takes its silent Ghostscript along. Its folder goes at the next start; one that another
    // instance holds stays, even from a process namespace of its own, where its process id means nothing here.
    void killedRun_takesItsGhostscriptAlong_andItsFolderGoesNext()
    {
        CaseFolder folder;
        QVERIFY(QDir().mkpath(folder.path("out")) && QDir().mkpath(folder.path("bin")));
        QVERIFY(!fakeGhostscript(folder.path("bin"), "[ -n \"$info\" ] && info_ok; page 1; sleep 120").isEmpty());
        QProcess killed, other;
        prepare(killed, folder);
        QVERIFY(saying(killed, {"--convert", folder.path("out/k.png"), doc("three.pdf")}));
        const QList<int> children = ghostscriptChildren(killed.processId());
        QVERIFY(!children.isEmpty());
        killed.kill();
        QVERIFY(killed.waitForFinished(5000));
        QTRY_VERIFY_WITH_TIMEOUT(std::none_of(children.begin(), children.end(), isAlive), 5000);
        QVERIFY(!leftovers(folder.temp()).isEmpty() && QFile::remove(folder.path("bin/gs")));

        prepare(other, folder);
        const bool unshared = run("unshare", {"-p", "-f", "true"});
        const QStringList longRun{SHEETFORGE_EXECUTABLE, "--convert", folder.path("out/o.png"), "--dpi", "150",
                                  doc("long.pdf")};
        other.start(unshared ? "unshare" : longRun.first(),
                    unshared ? QStringList{"-p", "-f"} + longRun : longRun.mid(1));
        QTRY_VERIFY_WITH_TIMEOUT(leftovers(folder.temp()).size() >= 2, 30000);
        QCOMPARE(sheetforge(folder, {"--convert", folder.path("out/s.png"), doc("three.pdf")}).exitCode, 0);
        QVERIFY(other.waitForFinished(120000));
        QVERIFY2(other.exitCode() == 0, other.readAllStandardError().constData());
        QCOMPARE(filesIn(folder.path("out")).filter("o0").size(), 8);
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }
};

QTEST_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
