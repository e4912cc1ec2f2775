// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "tools/ImageObject.h"

#include <QtTest>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// The program gets a home, settings and temporary folder of the case's own, and with caseGhostscript the gs
// written into the case's folder.
void prepare(QProcess &process, const CaseFolder &folder, bool caseGhostscript = false)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (caseGhostscript)
        environment.insert("PATH", folder.path() + ":" + environment.value("PATH"));
    environment.insert("TMPDIR", folder.temp());
    environment.insert("HOME", folder.path());
    environment.insert("XDG_CONFIG_HOME", folder.path("config"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder.path());
}

// Runs the program with the gs of the case's folder first on PATH, where a case writes one.
Run sheetforge(const CaseFolder &folder, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    prepare(process, folder, true);
    process.start(QStringLiteral(SHEETFORGE_EXECUTABLE), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

bool isAlive(int pid)
{
    const char state = processState(pid);
    return state != 0 && state != 'Z';
}

bool isStopped(int pid)
{
    return processState(pid) == 'T';
}

} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;

    QString doc(const QString &name) const { return m_docs.filePath(name); }
    // Thousands of bytes: more than Ghostscript takes in an argument naming a file.
    static QString deep() { return QStringList(15, QString(200, 'd')).join('/'); }

private slots:
    void initTestCase()
    {
        const QSizeF small(200, 150), a4(595, 842);
        QVERIFY(writePdf(doc("one.pdf"), {small}));
        QVERIFY(writePdf(doc("three.pdf"), {small, small, small}));
        QVERIFY(writePdf(doc("five.pdf"), {small, small, small, small, small}));
        QVERIFY(writePdf(doc("long.pdf"), QList<QSizeF>(8, a4)));
        // Page 1 is 400 x 300 points; page k after it 400 + 10k wide, so that a file tells its page.
        QList<QSizeF> fifteen{{400, 300}};
        for (int page = 2; page <= 15; ++page)
            fifteen << QSizeF(400 + 10 * page, 300);
        QVERIFY(writePdf(doc("fifteen.pdf"), fifteen));
        QVERIFY(QFile::copy(doc("one.pdf"), doc("a.1.pdf")) && QFile::copy(doc("one.pdf"), doc("a.2.pdf")));
        QVERIFY(QFile::copy(doc("one.pdf"), doc("odd\x1b[2J\r.pdf")));
        QVERIFY(QDir().mkpath(doc("other")) && QFile::copy(doc("three.pdf"), doc("other/one.pdf")));
        QVERIFY(QDir().mkpath(doc(deep())) && QFile::copy(doc("one.pdf"), doc(deep() + "/one.pdf")));
        QVERIFY(encrypt(doc("one.pdf"), doc("locked.pdf"), "user"));
        QVERIFY(encrypt(doc("one.pdf"), doc("r5.pdf"), "user", true));
        QFile damaged(doc("damaged.pdf")), empty(doc("empty.pdf"));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("%PDF-1.4\nnot really\n") > 0);
        QVERIFY(writeRawPdf(doc("nopages.pdf"), {}));
        QVERIFY(writeRawPdf(doc("huge.pdf"), {"0 0 20000 20000"}));
        QVERIFY(writeRawPdf(doc("longest.pdf"), {"0 0 14400 100"}));
        // Read by Ghostscript, it would wait for a writer for ever.
        QVERIFY(run("mkfifo", {doc("fifo.pdf")}));
        QVERIFY(writeRawPdf(doc("flat.pdf"), {"0 0 612 0"}));
        // The older interpreter, which revision 5 takes, believes the page tree's count.
        QVERIFY(writeRawPdf(doc("claims.pdf"), {"0 0 612 792"}, "Helvetica", {}, std::numeric_limits<int>::max()));
        QVERIFY(encrypt(doc("claims.pdf"), doc("claims-r5.pdf"), "user", true));
        // One page more than the file has bytes: the count has as many digits as the size, so the size stays.
        QVERIFY(writeRawPdf(doc("over.pdf"), {"0 0 612 792"}, "Helvetica", {}, 1000));
        QVERIFY(encrypt(doc("over.pdf"), doc("over-r5.pdf"), "user", true));
        const qint64 bytes = QFileInfo(doc("over-r5.pdf")).size();
        QVERIFY(writeRawPdf(doc("over.pdf"), {"0 0 612 792"}, "Helvetica", {}, bytes + 1));
        QVERIFY(QFile::remove(doc("over-r5.pdf")) && encrypt(doc("over.pdf"), doc("over-r5.pdf"), "user", true));
        QCOMPARE(QFileInfo(doc("over-r5.pdf")).size(), bytes);
        QVERIFY(empty.open(QIODevice::WriteOnly));
        // Ghostscript prints a font's name as it loads it, so these documents make it say its own words.
        QVERIFY(writeRawPdf(doc("full.pdf"), {"0 0 200 150"}, "Nope#0ANo#20space#20left#20on#20device"));
        QVERIFY(writeRawPdf(doc("asks.pdf"), {"0 0 200 150"},
                            "Nope#0AThis#20file#20requires#20a#20password#20for#20access."));
        QVERIFY(writeRawPdf(doc("fails.pdf"), {"0 0 200 150"},
                            "Nope#0AGPL#20Ghostscript#2010.00.0:#20Unrecoverable#20error,#20exit#20code#201"));
        // Ghostscript runs a file as PostScript when it starts with "%!", when "%!PS" comes before the PDF header,
        // or when no header comes in its first kilobyte; other bytes before the header it skips.
        QVERIFY(writeRawPdf(doc("raw.pdf"), {"0 0 200 150"}));
        QFile raw(doc("raw.pdf"));
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QByteArray pdf = raw.readAll();
        const QList<std::pair<QString, QByteArray>> prefixed{
            {"ps-first.pdf", "%!PS\n/Helvetica findfont 20 scalefont setfont 20 20 moveto (PS) show showpage quit\n"},
            {"bang-first.pdf", "%!\n/Helvetica findfont 20 scalefont setfont 20 20 moveto (PS) show showpage quit\n"},
            {"late-header.pdf", QByteArray("% a comment\n").repeated(100) + "showpage quit\n"},
            {"header-within-a-kilobyte.pdf", QByteArray("% a comment\n").repeated(70)},
            {"dsc-first.pdf",
             "%%Title: (x)\n/Helvetica findfont 20 scalefont setfont 20 20 moveto (PS) show showpage quit\n"},
            {"junk-first.pdf", "junk\n"},
            {"ps-after-blanks.pdf",
             " \n\t%!\n/Helvetica findfont 20 scalefont setfont 20 20 moveto (PS) show showpage quit\n"},
            {"ps-after-a-comment.pdf", "% x\n%!PS\n/Helvetica findfont 20 scalefont setfont 20 20 moveto (PS) show "
                                       "showpage quit\n"}};
        for (const auto &[name, prefix] : prefixed) {
            QFile file(doc(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(prefix + pdf) > 0);
        }
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        const QString pdf = doc("one.pdf");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--convert";
        QTest::newRow("help, the exit statuses")
            << QStringList{"--help"} << 0 << "Exit status: 0 when every page was written; 1 when a document or a page";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "sheetforge " SHEETFORGE_VERSION;
        QTest::newRow("unknown option") << QStringList{"--bogus", pdf} << 2
                                        << "Unknown option --bogus. See sheetforge --help.";
        QTest::newRow("mistyped option") << QStringList{"--colrs", "16", pdf} << 2
                                         << "Unknown option --colrs. Did you mean --colors? See sheetforge --help.";
        QTest::newRow("unknown option, control characters escaped")
            << QStringList{"--bo\x1b[2Jgus", pdf} << 2 << "Unknown option --bo\\x1b[2Jgus. See";
        QTest::newRow("mistyped option, control characters escaped")
            << QStringList{"--colr\x07s", "16", pdf} << 2 << "Unknown option --colr\\x07s. Did you mean --colors?";
        QTest::newRow("unknown option of one letter")
            << QStringList{"-x", pdf} << 2 << "Unknown option -x. See sheetforge --help.";
        QTest::newRow("a width alone in the options line")
            << QStringList{"--convert", "x.png", "--width", "200", "--pages", "9", pdf} << 1
            << "given): --width 200 --colors 16 ";
        QTest::newRow("two letters swapped") << QStringList{"--pgaes", "2", pdf} << 2 << "Did you mean --pages?";
        QTest::newRow("folders made on the way")
            << QStringList{"--convert", "deep/er/x.png", "--pages", "9", pdf} << 1 << "none of the pages";
        QTest::newRow("long option with one dash and its value")
            << QStringList{"-dpi=300", pdf} << 2 << "a long option takes two dashes, as in --dpi";
        QTest::newRow("long option with one dash")
            << QStringList{"-pages", "2", pdf} << 2 << "a long option takes two dashes, as in --pages";
        QTest::newRow("colours spelt the British way")
            << QStringList{"--convert", "x.png", "--colours", "4", "--pages", "9", pdf} << 1 << "none of the pages";
        QTest::newRow("help: where options come from, the exit statuses")
            << QStringList{"--help"} << 0 << "--defaults starts from\nthe first-start defaults";

        QTest::newRow("no document") << QStringList{"--convert", "x.png"} << 2 << "PDF";
        QTest::newRow("pages backwards") << QStringList{"--convert", "x.png", "--pages", "4-2", pdf} << 2
                                         << "--pages 4-2: \"4-2\": the first page comes after the last";
        QTest::newRow("page zero") << QStringList{"--convert", "x.png", "--pages", "0", pdf} << 2 << "numbered from 1";
        QTest::newRow("pages malformed") << QStringList{"--convert", "x.png", "--pages", "1,x", pdf} << 2
                                         << "--pages 1,x: \"x\" is not a page or a range";
        // Accepted: these fail only because page 9 does not exist.
        QTest::newRow("dpi at the top of the list")
            << QStringList{"--convert", "x.png", "--dpi", "2400", "--pages", "9", pdf} << 1 << "none of the pages";
        QTest::newRow("another extension with --format")
            << QStringList{"--convert", "x.bmp", "--format", "png", "--pages", "9", pdf} << 1 << "none of the pages";
        QTest::newRow("dpi below the list")
            << QStringList{"--convert", "x.png", "--dpi", "17", pdf} << 2 << "72 to 2400";
        QTest::newRow("dpi just below the list")
            << QStringList{"--convert", "x.png", "--dpi", "71", pdf} << 2 << "72 to 2400";
        QTest::newRow("extension not written")
            << QStringList{"--convert", "f.bmp", pdf} << 2 << "png, gif, jpg, tif or webp";
        QTest::newRow("page timeout negative")
            << QStringList{"--convert", "x.png", "--page-timeout", "-1", pdf} << 2 << "--page-timeout";
        QTest::newRow("page timeout zero: no limit")
            << QStringList{"--convert", "x.png", "--page-timeout", "0", "--pages", "9", pdf} << 1
            << "none of the pages";
        QTest::newRow("page timeout default in the help") << QStringList{"--help"} << 0 << "default 300";
        QTest::newRow("quality below 0") << QStringList{"--convert", "x.jpg", "--quality", "-1", pdf} << 2
                                         << "--quality wants a whole number from 0 to 100";
        QTest::newRow("dpi zero") << QStringList{"--convert", "x.png", "--dpi", "0", pdf} << 2 << "--dpi";
        QTest::newRow("colours unknown") << QStringList{"--convert", "x.png", "--colors", "7", pdf} << 2 << "--colors";
        QTest::newRow("page list with an empty part")
            << QStringList{"--convert", "x.png", "--pages", "1,,3", pdf} << 2 << "\"\" is not a page";
        QTest::newRow("several documents, one mistyped")
            << QStringList{"--convert", "out/", "--pages", "9", pdf, doc("mistyped.pdf")} << 1
            << "mistyped.pdf\" does not exist.";
        QTest::newRow("several documents, the options said")
            << QStringList{"--convert", "out/", "--pages", "9", pdf, pdf} << 1
            << "Options (the window's last and the flags given): --dpi 144";
        QTest::newRow("several documents into a file") << QStringList{"--convert", "x\x1b[2J.png", pdf, pdf} << 2
                                                       << "--convert x\\x1b[2J.png: several documents go into a folder";
        QTest::newRow("resolution and a size in pixels")
            << QStringList{"--convert", "x.png", "--dpi", "300", "--width", "800", pdf} << 2
            << "--dpi and --width or --height cannot be combined";
        QTest::newRow("transparent jpeg") << QStringList{"--convert", "x.jpg", "--transparent", pdf} << 2
                                          << "--transparent: jpg files cannot be transparent";
        QTest::newRow("width zero") << QStringList{"--convert", "x.png", "--width", "0", pdf} << 2 << "--width wants";
        QTest::newRow("option needs --convert") << QStringList{"--dpi", "300", pdf} << 2 << "--convert";
        QTest::newRow("defaults need --convert")
            << QStringList{"--defaults", pdf} << 2 << "--defaults goes with --convert.";
        QTest::newRow("password needs --convert")
            << QStringList{"--password-stdin", pdf} << 2 << "--password-stdin goes with --convert";
        QTest::newRow("a file where a folder is to be made")
            << QStringList{"--convert", pdf + "/sub/x.png", pdf} << 1 << "one.pdf\" is a file, not a folder";
        QTest::newRow("a name longer than the file system takes")
            << QStringList{"--convert", QString(300, 'a') + ".png", pdf} << 1 << "cannot be written to";
        QTest::newRow("a name like a switch") << QStringList{"--convert", "x.png", "-dash.PDF"} << 2 << "./-dash.PDF";
    }

    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        CaseFolder folder;
        const Run run = sheetforge(folder, arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? run.out : run.err).contains(said), qPrintable(run.out + run.err));
        QCOMPARE(filesIn(folder.path()), QStringList());
    }

    // Each example of the README's script section, run by the shell as written in a folder of its own, with
    // the documents it names and no settings: it succeeds, and every file its comment names is written.
    void readmeExamples_runAsWritten_data()
    {
        QTest::addColumn<QString>("line");
        QFile readme(README_FILE);
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
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
        QProcess shell;
        prepare(shell, folder);
        QProcessEnvironment environment = shell.processEnvironment();
        environment.insert("PATH", folder.path("bin") + ':' + environment.value("PATH"));
        environment.insert("PASSWORD", "open sesame");
        shell.setProcessEnvironment(environment);
        shell.start("/bin/sh", {"-c", "umask 022; " + line});
        QVERIFY(shell.waitForFinished(120000));
        const QString said = QString::fromUtf8(shell.readAllStandardError());
        QVERIFY2(shell.exitStatus() == QProcess::NormalExit && shell.exitCode() == 0, qPrintable(said));
        // "out/scan001.png, scan002.png": a bare name is in the folder of the one before it.
        const QString comment = line.section('#', 1);
        static const QRegularExpression named(QStringLiteral("[\\w/.-]+\\.(png|jpg|tif|gif|webp)"));
        QString last = line.section("--convert ", 1).section(' ', 0, 0);
        for (auto match = named.globalMatch(comment); match.hasNext();) {
            const QString name = match.next().captured();
            const QString path = name.contains('/') ? name : QFileInfo(last).path() + '/' + name;
            QVERIFY2(QFileInfo(folder.path(path)).size() > 0, qPrintable(path + " missing: " + said));
            last = path;
        }
        const QString written = folder.path(QFileInfo(last).path());
        QVERIFY2(!filesIn(written).filter(QRegularExpression("\\.(png|jpg|tif)$")).isEmpty(), qPrintable(said));
        // A folder the run made is as open as the user's umask makes any other.
        struct stat made = {};
        QVERIFY(::stat(QFile::encodeName(written).constData(), &made) == 0);
        if (QFileInfo(last).path() != QLatin1String("."))
            QCOMPARE(made.st_mode & 07777, mode_t(0755));
    }

    // Each flag --help lists is told of in the README too.
    void readme_namesEveryFlag()
    {
        CaseFolder folder;
        const Run run = sheetforge(folder, {"--help"});
        QCOMPARE(run.exitCode, 0);
        QFile readme(README_FILE);
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
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

    // The README's table of packages says why each one the setup installs is there, and names no other.
    void readme_explainsEveryPackageInstalled()
    {
        QFile readme(README_FILE), script(QFileInfo(README_FILE).dir().filePath("scripts/install-deps.sh"));
        QVERIFY(readme.open(QIODevice::ReadOnly) && script.open(QIODevice::ReadOnly));
        const QString setup = QString::fromUtf8(script.readAll());
        const qsizetype start = setup.indexOf("packages=("), end = setup.indexOf("\n)", start);
        QVERIFY(start >= 0 && end > start);
        QStringList installed;
        for (const QString &line : setup.mid(start + 10, end - start - 10).split('\n'))
            installed << line.section('#', 0, 0).split(' ', Qt::SkipEmptyParts);
        QStringList explained;
        static const QRegularExpression row(QStringLiteral("^\\| (`[^|]+`) \\|"), QRegularExpression::MultilineOption);
        for (auto match = row.globalMatch(QString::fromUtf8(readme.readAll())); match.hasNext();)
            explained << match.next().captured(1).remove('`').split(", ");
        installed.sort();
        explained.sort();
        QVERIFY(installed.size() > 15);
        QCOMPARE(explained, installed);
    }

    void document_opensOrFailsWithPlainMessage_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QByteArray>("password"); // on standard input when given
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        QTest::newRow("damaged") << "damaged.pdf" << QByteArray() << 1 << "is not a PDF document";
        QTest::newRow("empty") << "empty.pdf" << QByteArray() << 1 << "is empty";
        QTest::newRow("missing") << "gone.pdf" << QByteArray() << 1 << "gone.pdf\" does not exist";
        QTest::newRow("at a path of thousands of bytes") << deep() + "/one.pdf" << QByteArray() << 0 << "1 page";
        QTest::newRow("right password") << "locked.pdf" << QByteArray("user\n") << 0 << "1 page";
        QTest::newRow("wrong password") << "locked.pdf" << QByteArray("resu\n") << 1 << "not correct";
        QTest::newRow("password with a DOS line end") << "locked.pdf" << QByteArray("user\r\n") << 0 << "1 page";
        QTest::newRow("password without a line end") << "locked.pdf" << QByteArray("user") << 0 << "1 page";
        QTest::newRow("no password") << "locked.pdf" << QByteArray() << 1 << "--password-stdin";
        QTest::newRow("revision 5, user password") << "r5.pdf" << QByteArray("user\n") << 0 << "1 page";
        QTest::newRow("revision 5, owner password") << "r5.pdf" << QByteArray("owner\n") << 0 << "1 page";
        QTest::newRow("revision 5, wrong password") << "r5.pdf" << QByteArray("resu\n") << 1 << "not correct";
        QTest::newRow("unusable password") << "locked.pdf" << QByteArray("a b\\\n") << 1 << "cannot be used";
        QTest::newRow("password too long") << "locked.pdf" << QByteArray(4097, 'x') + "\n"
                                           << 1 << "longer than 4096 bytes";
        QTest::newRow("password longer than the line read") << "locked.pdf" << QByteArray(10000, 'x') + "\n"
                                                            << 1 << "longer than 4096 bytes";
        QTest::newRow("password of the longest length") << "locked.pdf" << QByteArray(4096, 'x') + "\n"
                                                        << 1 << "cannot be used";
        QTest::newRow("no pages") << "nopages.pdf" << QByteArray() << 1 << "has no pages";
        QTest::newRow("huge page") << "huge.pdf" << QByteArray() << 1 << "20000 x 20000 points";
        QTest::newRow("a page of the longest side") << "longest.pdf" << QByteArray() << 0 << "1 page";
        QTest::newRow("a FIFO named like a PDF") << "fifo.pdf" << QByteArray() << 1 << "is not a PDF document";
        QTest::newRow("flat page") << "flat.pdf" << QByteArray() << 1 << "612 x 0 points";
        QTest::newRow("font named like a password question") << "asks.pdf" << QByteArray() << 0 << "1 page";
        QTest::newRow("font named like an error") << "fails.pdf" << QByteArray() << 0 << "1 page";
        QTest::newRow("PostScript before the header") << "ps-first.pdf" << QByteArray() << 1 << "is not a PDF document";
        QTest::newRow("PostScript after a comment, before the header")
            << "ps-after-a-comment.pdf" << QByteArray() << 1 << "is not a PDF document";
        QTest::newRow("%! then a PDF") << "bang-first.pdf" << QByteArray() << 1 << "is not a PDF document";
        QTest::newRow("PostScript after blanks, before the header")
            << "ps-after-blanks.pdf" << QByteArray() << 1 << "is not a PDF document";
        QTest::newRow("no header in the first kilobyte")
            << "late-header.pdf" << QByteArray() << 1 << "is not a PDF document";
        QTest::newRow("junk before the header") << "junk-first.pdf" << QByteArray() << 0 << "1 page";
        QTest::newRow("the header at byte 840") << "header-within-a-kilobyte.pdf" << QByteArray() << 0 << "1 page";
        QTest::newRow("2147483647 pages claimed, revision 5")
            << "claims-r5.pdf" << QByteArray("user\n") << 1 << "is not a PDF document";
        QTest::newRow("2147483647 pages claimed") << "claims.pdf" << QByteArray() << 0 << "1 page";
        QTest::newRow("one page more claimed than bytes, revision 5")
            << "over-r5.pdf" << QByteArray("user\n") << 1 << "pages in";
    }

    void document_opensOrFailsWithPlainMessage()
    {
        QFETCH(QString, document);
        QFETCH(QByteArray, password);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        CaseFolder folder;
        const QString out = folder.path("out.png");
        QStringList arguments{"--convert", out, doc(document)};
        if (!password.isEmpty())
            arguments.prepend("--password-stdin");
        const Run run = sheetforge(folder, arguments, password);
        QVERIFY2(run.exitCode == exitCode && run.err.contains(said), qPrintable(run.err));
        QVERIFY2(!run.err.contains(QLatin1String("GPL Ghostscript")), qPrintable(run.err));
        QCOMPARE(QFile::exists(out), exitCode == 0);
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void pageCount_decidesTheNames_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("pages");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QStringList>("said"); // the whole of standard error
        const QString out = "out/out.png";
        const QStringList none;
        QTest::newRow("one page: the destination itself")
            << "one.pdf" << out << "" << 0 << QStringList{"out.png"}
            << QStringList{"Processing page 1...", "Wrote *", "1 page written."};
        QTest::newRow("three pages") << "three.pdf" << out << "" << 0
                                     << QStringList{"out001.png", "out002.png", "out003.png"} << none;
        QTest::newRow("range") << "five.pdf" << out << "2-4" << 0
                               << QStringList{"out002.png", "out003.png", "out004.png"} << none;
        QTest::newRow("range of one page") << "five.pdf" << out << "3-3" << 0 << QStringList{"out003.png"} << none;
        QTest::newRow("open range, blanks")
            << "five.pdf" << out << " 4 - " << 0 << QStringList{"out004.png", "out005.png"} << none;
        QTest::newRow("range past the end")
            << "three.pdf" << out << "2-90" << 1 << QStringList{"out002.png", "out003.png"}
            << QStringList{"Processing page 2...", "Wrote *", "Wrote *",
                           "sheetforge: Pages 4 to 90 do not exist: the document has only 3 pages.",
                           "2 pages written."};
        QTest::newRow("range after the end")
            << "three.pdf" << out << "5-6" << 1 << QStringList()
            << QStringList{"sheetforge: \"three.pdf\" has only 3 pages; none of the pages asked for exists."};
        QTest::newRow("page list") << "long.pdf" << out << "1,3,5-6" << 0
                                   << QStringList{"out001.png", "out003.png", "out005.png", "out006.png"} << none;
        QTest::newRow("page list: repeats and disorder")
            << "five.pdf" << out << "5,1-2,2" << 0 << QStringList{"out001.png", "out002.png", "out005.png"} << none;
        QTest::newRow("page list partly past the end")
            << "three.pdf" << out << "1,5,7-9,2-" << 1 << QStringList{"out001.png", "out002.png", "out003.png"}
            << QStringList{"sheetforge: Pages 5, 7-9 do not exist: the document has only 3 pages.", "3 pages written."};
        QTest::newRow("touching ranges past the end")
            << "three.pdf" << out << "2,4,5-6" << 1 << QStringList{"out002.png"}
            << QStringList{"sheetforge: Pages 4 to 6 do not exist: the document has only 3 pages.", "1 page written."};
        // A name can neither command the terminal nor pass for a line of its own.
        QTest::newRow("control characters in the name")
            << "one.pdf"
            << "out/\x1b[31mred\nline\t.png"
            << "" << 0 << QStringList{"\x1b[31mred\nline\t.png"}
            << QStringList{"Wrote */out/\\x1b[31mred\\nline\\t.png", "1 page written."};
    }

    void pageCount_decidesTheNames()
    {
        QFETCH(QString, document);
        QFETCH(QString, destination);
        QFETCH(QString, pages);
        QFETCH(int, exitCode);
        QFETCH(QStringList, written);
        QFETCH(QStringList, said);
        CaseFolder folder;
        QStringList arguments{"--convert", folder.path(destination), "--dpi", "72", doc(document)};
        if (!pages.isEmpty())
            arguments << "--pages" << pages;
        QDir().mkpath(folder.path("out"));
        const Run run = sheetforge(folder, arguments);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
        QCOMPARE(filesIn(folder.path("out")), written);
        // The lines expected appear in this order, and no other error line does.
        const QStringList lines = run.err.trimmed().split(QLatin1Char('\n'));
        qsizetype next = 0;
        for (const QString &line : lines) {
            if (next < said.size()
                && QRegularExpression("^" + QRegularExpression::escape(said.at(next)).replace("\\*", ".*") + "$")
                       .match(line)
                       .hasMatch())
                ++next;
        }
        QVERIFY2(next == said.size(), qPrintable(run.err));
        QVERIFY(!run.err.contains(QChar(0x1b)));
        QCOMPARE(lines.filter(QRegularExpression("^sheetforge: ")).size(),
                 said.filter(QRegularExpression("^sheetforge: ")).size());
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    // What each newer option does to the files, from the command line.
    void newerOptions_reachTheFiles_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QString>("check");
        QTest::newRow("16 grays") << QStringList{"--colors", "gray16", "--pages", "1", "--convert", "out.png"}
                                  << QStringList{"out001.png"} << "gray 4";
        QTest::newRow("transparent") << QStringList{"--transparent", "--pages", "2", "--convert", "out.png"}
                                     << QStringList{"out002.png"} << "clear paper";
        QTest::newRow("tiff, every page") << QStringList{"--format", "tiff", "--colors", "bw", "--convert", "out"}
                                          << QStringList{"out.tif"} << "15 pages Group4";
        QTest::newRow("webp") << QStringList{"--pages", "3", "--convert", "out.webp"} << QStringList{"out003.webp"}
                              << "RIFF";
        QTest::newRow("width") << QStringList{"--width", "800", "--pages", "1", "--convert", "out.png"}
                               << QStringList{"out001.png"} << "800x600";
        QTest::newRow("width and height")
            << QStringList{"--width", "800", "--height", "300", "--pages", "1", "--convert", "out.png"}
            << QStringList{"out001.png"} << "400x300";
        QTest::newRow("open page list") << QStringList{"--pages", "13-", "--convert", "out.gif"}
                                        << QStringList{"out013.gif", "out014.gif", "out015.gif"} << "530x300";
        // Quality 0 asks for the smallest file, which the library writes at 1.
        QTest::newRow("quality 0") << QStringList{"--quality", "0", "--pages", "1", "--convert", "out.jpg"}
                                   << QStringList{"out001.jpg"} << "quality 1";
        // Each file holds the page it is named for.
        QTest::newRow("page list") << QStringList{"--pages", "4,2", "--convert", "out.png"}
                                   << QStringList{"out002.png", "out004.png"} << "420x300";
    }

    void newerOptions_reachTheFiles()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, written);
        QFETCH(QString, check);
        CaseFolder folder;
        arguments.last() = folder.path(arguments.last());
        // A size in pixels and a resolution do not go together.
        if (!arguments.contains("--width"))
            arguments << "--dpi"
                      << "72";
        const Run run = sheetforge(folder, arguments << doc("fifteen.pdf"));
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(filesIn(folder.path()), written);
        const QString file = folder.path(written.first());
        if (check.contains('x') && written.size() > 1) // the last file too: page 4's is 440, page 15's 550 wide
            QCOMPARE(readImage(folder.path(written.last())).size.width(), 400 + 10 * written.last().mid(3, 3).toInt());
        const ImageFacts facts = readImage(file);
        QFile bytes(file);
        QVERIFY(bytes.open(QIODevice::ReadOnly));
        const QByteArray head = bytes.read(12);
        if (check == "gray 4") {
            QCOMPARE(QList<int>({facts.pngColorType, facts.pngBitDepth}), QList<int>({0, 4}));
            QVERIFY(facts.colors <= 16);
        } else if (check == "clear paper") {
            QCOMPARE(qAlpha(QImage(file).pixel(1, 1)), 0);
        } else if (check == "15 pages Group4") {
            QCOMPARE(facts.images, 15);
            QCOMPARE(facts.compression, QByteArray("Group4"));
        } else if (check == "quality 1") {
            QCOMPARE(facts.quality, 1);
        } else if (check == "RIFF") {
            QVERIFY(head.startsWith("RIFF") && head.mid(8, 4) == "WEBP");
        } else if (!check.isEmpty()) {
            QCOMPARE(facts.size, QSize(check.section('x', 0, 0).toInt(), check.section('x', 1).toInt()));
        }
    }

    // A script's files depend on the window's last options only when it lets them, and the options in effect
    // are said either way.
    void storedOptions_usedUnlessDefaults_andSaid_data()
    {
        QTest::addColumn<bool>("defaults");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("width");
        QTest::newRow("the window's last")
            << false
            << "last and the flags given): --dpi 96 --colors bw --dither --antialias --no-trim --no-transparent "
               "--format png\n"
            << 533;
        QTest::newRow("a box") << false
                               << "last and the flags given): --width 200 --height 150 --colors bw --dither "
                                  "--antialias --no-trim --no-transparent --format png\n"
                               << 200;
        QTest::newRow("--defaults") << true
                                    << "defaults and the flags given): --dpi 144 --colors 16 --no-dither --antialias "
                                       "--no-trim --no-transparent --format png\n"
                                    << 800;
    }

    void storedOptions_usedUnlessDefaults_andSaid()
    {
        QFETCH(bool, defaults);
        QFETCH(QString, said);
        QFETCH(int, width);
        CaseFolder folder;
        QDir().mkpath(folder.path("config/sheetforge"));
        QFile stored(folder.path("config/sheetforge/sheetforge.conf"));
        QVERIFY(stored.open(QIODevice::WriteOnly));
        // JPEG stored, PNG asked for by the name: the line says what is written.
        stored.write("[General]\nColorDepth=0\nResolution=1\nDither=1\nImageFormat=2\n");
        stored.close();
        QStringList arguments{"--convert", folder.path("out.png"), "--pages", "1", doc("fifteen.pdf")};
        if (defaults)
            arguments << "--defaults";
        if (QByteArray(QTest::currentDataTag()) == "a box")
            arguments << "--width"
                      << "200"
                      << "--height"
                      << "150";
        const Run run = sheetforge(folder, arguments);
        QVERIFY2(run.exitCode == 0 && run.err.contains(said), qPrintable(run.err));
        const ImageFacts facts = readImage(folder.path("out001.png"));
        QCOMPARE(facts.size.width(), width);
        QCOMPARE(facts.pngBitDepth, defaults ? 4 : 1);
    }

    // A full disk, or a destination folder gone, would meet every document alike: the first one to meet it ends
    // the run.
    void destinationLost_stopsEveryDocument_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<QString>("said");
        QTest::newRow("a full disk") << true << "full";
        QTest::newRow("the folder removed") << false << "/out";
    }

    void destinationLost_stopsEveryDocument()
    {
        QFETCH(bool, fullDisk);
        QFETCH(QString, said);
        CaseFolder folder;
        // Ghostscript's bitmaps stay small; the pages scaled up from them do not fit under the size limit.
        QFile bitmap(folder.path("page.tif"));
        QVERIFY(bitmap.open(QIODevice::WriteOnly)
                && bitmap.write(ImageObject().convert({"-size", "64x64", "xc:", "+noise", "Random"}, "TIFF").data) > 0);
        bitmap.close();
        const QString removal = fullDisk ? QString() : QStringLiteral("rm -rf \"$here/out\"; ");
        QVERIFY(!fakeGhostscript(folder.path(), R"sh([ -n "$info" ] && info_ok; )sh" + removal
                                                    + R"sh(cp "$here/page.tif" "$(printf "$pattern" 1)"; exit 0)sh")
                     .isEmpty());
        QProcess process;
        prepare(process, folder, true);
        if (fullDisk) {
            process.setChildProcessModifier([] {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit small{256 * 1024, 256 * 1024}; // larger writes fail as on a full disk
                setrlimit(RLIMIT_FSIZE, &small);
            });
        }
        process.start(QStringLiteral(SHEETFORGE_EXECUTABLE),
                      {"--convert", folder.path("out") + "/", "--width", fullDisk ? "3000" : "100", "--colors",
                       "hicolor", doc("one.pdf"), doc("three.pdf")});
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QCOMPARE(process.exitCode(), 1);
        QVERIFY2(err.contains(said) && !err.contains("three.pdf"), qPrintable(err));
    }

    // A file Ghostscript would run as PostScript never reaches it, whatever comes before the "%!".
    void postScript_neverReachesGhostscript_data()
    {
        QTest::addColumn<QString>("document");
        for (const char *name : {"ps-first.pdf", "bang-first.pdf", "ps-after-a-comment.pdf", "ps-after-blanks.pdf",
                                 "late-header.pdf", "dsc-first.pdf"})
            QTest::newRow(name) << name;
    }

    void postScript_neverReachesGhostscript()
    {
        QFETCH(QString, document);
        CaseFolder folder;
        QVERIFY(!fakeGhostscript(folder.path(), "info_ok").isEmpty());
        QProcess process;
        prepare(process, folder, true);
        process.start(QStringLiteral(SHEETFORGE_EXECUTABLE), {"--convert", folder.path("out.png"), doc(document)});
        QVERIFY(process.waitForFinished(15000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitCode() == 1 && err.contains("is not a PDF document"), qPrintable(err));
        QVERIFY(!QFile::exists(folder.path("gs.log")));
    }

    // --page-timeout reaches the run: a page Ghostscript never finishes stops it in time, and is named.
    void pageTimeout_stopsTheRunAtTheSlowPage()
    {
        CaseFolder folder;
        QVERIFY(!fakeGhostscript(folder.path(), R"sh([ -n "$info" ] && info_ok; echo "Page 1"; exec sleep 60)sh")
                     .isEmpty());
        QProcess process;
        prepare(process, folder, true);
        process.start(QStringLiteral(SHEETFORGE_EXECUTABLE),
                      {"--convert", folder.path("out.png"), "--page-timeout", "1", doc("one.pdf")});
        QVERIFY(process.waitForFinished(15000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitCode() == 1 && err.contains("Page 1 did not finish in the time allowed"), qPrintable(err));
    }

    // Several PDFs chosen in a file manager, passed as the desktop entry asks, reach the window together and
    // are offered for converting.
    void desktopEntry_severalDocuments_areOfferedForConverting()
    {
        QFile entry(DESKTOP_FILE);
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        const QStringList exec = QProcess::splitCommand(text.section("\nExec=", 1).section('\n', 0, 0));
        QCOMPARE(exec.value(0), "sheetforge");
        // X11 takes the window's class from the program's name: the desktop matches the window by it.
        QCOMPARE(text.section("\nStartupWMClass=", 1).section('\n', 0, 0), exec.value(0));
        // The entry and the software centre's text name every format.
        QFile metainfo(METAINFO_FILE);
        QVERIFY(metainfo.open(QIODevice::ReadOnly));
        const QString description = QString::fromUtf8(metainfo.readAll());
        for (const ImageFormatFacts &format : OptionLists::formatTable()) {
            QVERIFY2(
                text.section("\nComment=", 1).section('\n', 0, 0).contains(format.libraryName, Qt::CaseInsensitive),
                format.libraryName.data());
            QVERIFY2(description.contains(format.libraryName, Qt::CaseInsensitive), format.libraryName.data());
        }
        QStringList arguments;
        for (const QString &field : exec.mid(1)) {
            if (field == "%F")
                arguments << doc("one.pdf") << doc("three.pdf");
            else if (field == "%f")
                arguments << doc("one.pdf");
            else
                arguments << field;
        }
        CaseFolder folder;
        QProcess process;
        prepare(process, folder);
        QProcessEnvironment environment = process.processEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(SHEETFORGE_EXECUTABLE), arguments);
        QString said;
        while (!said.contains("Convert 2 documents") && process.waitForReadyRead(20000))
            said += QString::fromUtf8(process.readAll());
        process.kill();
        process.waitForFinished();
        QVERIFY2(said.contains("Convert 2 documents with the current options"), qPrintable(said));
    }

    // Permissions as a user meets them (the tests may run as root, whom none stops): a folder that cannot be
    // made, and another user's temporary of the multi-page file asked for.
    void permissions_areToldAsAUserMeetsThem_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("toldFirst"); // before anything else is said or done
        QTest::addColumn<int>("lines");      // of standard error: the message and the system's words, if any
        // The folder named is the one that refused, not the one asked for.
        QTest::newRow("a folder that cannot be made")
            << "locked/new/x.png"
            << "you are not allowed to write to \"{case}/locked\"." << true << 1;
        QTest::newRow("a folder there that cannot be written")
            << "locked/x.png"
            << "The images cannot be written to \"{case}/locked\"." << true << 2;
        QTest::newRow("another user's temporary") << "out/book.tif"
                                                  << "is being written by another conversion" << false << 2;
    }

    void permissions_areToldAsAUserMeetsThem()
    {
        QFETCH(QString, destination);
        QFETCH(QString, said);
        QFETCH(bool, toldFirst);
        QFETCH(int, lines);
        CaseFolder folder;
        said.replace("{case}", folder.path());
        constexpr auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                              | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                              | QFileDevice::ExeOther;
        constexpr auto everyone = open | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        for (const char *name : {"locked", "out", "config"})
            QVERIFY(QDir().mkpath(folder.path(QString::fromLatin1(name))));
        QVERIFY(QFile::setPermissions(folder.path(), open));
        for (const QString &name : {folder.path("out"), folder.path("config"), folder.temp()})
            QVERIFY(QFile::setPermissions(name, everyone));
        QVERIFY(QFile::setPermissions(folder.path("locked"), open & ~QFileDevice::WriteOwner));
        QVERIFY(QFile::copy(doc("one.pdf"), folder.path("one.pdf")));
        // The program where the other user may run it.
        QVERIFY(QFile::copy(SHEETFORGE_EXECUTABLE, folder.path("sheetforge")));
        QFile part(folder.path("out/book.tif.sheetforge-part"));
        QVERIFY(part.open(QIODevice::WriteOnly) && part.write("II*") == 3);
        part.close();
        QVERIFY(part.setPermissions(geteuid() == 0 ? QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                   : QFileDevice::Permissions()));
        QProcess process;
        prepare(process, folder);
        process.setChildProcessModifier([] {
            if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
                _exit(99);
        });
        process.start(folder.path("sheetforge"), {"--convert", folder.path(destination), folder.path("one.pdf")});
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitCode() == 1 && err.contains(said), qPrintable(err));
        QCOMPARE(err.startsWith("sheetforge: "), toldFirst);
        QCOMPARE(err.count('\n'), lines);
        QCOMPARE(QFile(part.fileName()).size(), 3);
    }

    void sizeInPixels_oneSideGiven_leavesTheOtherFree()
    {
        CaseFolder folder;
        // The window left a box of any width by 300 pixels.
        QDir().mkpath(folder.path("config/sheetforge"));
        QFile conf(folder.path("config/sheetforge/sheetforge.conf"));
        QVERIFY(conf.open(QIODevice::WriteOnly)
                && conf.write("[General]\nFitToBox=1\nBoxWidth=0\nBoxHeight=150\n") > 0);
        conf.close();
        const Run run = sheetforge(
            folder, {"--convert", folder.path("out.png"), "--width", "800", "--pages", "1", doc("fifteen.pdf")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(readImage(folder.path("out001.png")).size, QSize(800, 600));
    }

    void severalDocuments_eachIntoTheFolder_andOneFailingStopsNoOther_data()
    {
        QTest::addColumn<QString>("destination"); // made before the run when it names no file
        QTest::addColumn<QStringList>("documents");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QString>("ghostscript"); // what the case's gs does before the real one's work, if anything
        QTest::newRow("two good, one missing, one locked")
            << "out/" << QStringList{"one.pdf", "gone.pdf", "three.pdf", "locked.pdf"} << QByteArray() << 1
            << QStringList{"one.png", "three001.png", "three002.png", "three003.png"}
            << QStringList{"gone.pdf", "locked.pdf"} << QString();
        QTest::newRow("a font named like a full disk between two")
            << "out/" << QStringList{"one.pdf", "full.pdf", "three.pdf"} << QByteArray() << 0
            << QStringList{"full.png", "one.png", "three001.png", "three002.png", "three003.png"} << QStringList()
            << QString();
        QTest::newRow("a name with control characters")
            << "out/" << QStringList{"odd\x1b[2J\r.pdf", "one.pdf"} << QByteArray() << 0
            << QStringList{"odd\x1b[2J\r.png", "one.png"} << QStringList() << QString();
        QTest::newRow("names with dots") << "out/" << QStringList{"a.1.pdf", "a.2.pdf"} << QByteArray() << 0
                                         << QStringList{"a.1.png", "a.2.png"} << QStringList() << QString();
        QTest::newRow("two of the same name, from two folders")
            << "out/" << QStringList{"one.pdf", "other/one.pdf"} << QByteArray() << 0
            << QStringList{"one-2001.png", "one-2002.png", "one-2003.png", "one.png"} << QStringList() << QString();
        QTest::newRow("the password tried on each that asks")
            << "out/" << QStringList{"locked.pdf", "one.pdf", "r5.pdf"} << QByteArray("user\n") << 0
            << QStringList{"locked.png", "one.png", "r5.png"} << QStringList() << QString();
        QTest::newRow("a folder there, named without a '/'")
            << "out" << QStringList{"one.pdf", "three.pdf"} << QByteArray() << 0
            << QStringList{"one.png", "three001.png", "three002.png", "three003.png"} << QStringList() << QString();
        QTest::newRow("Ghostscript crashing on the first")
            << "out/" << QStringList{"one.pdf", "three.pdf"} << QByteArray() << 1
            << QStringList{"three001.png", "three002.png", "three003.png"} << QStringList{"Ghostscript stopped"}
            << "[ -e \"$here/crashed\" ] || { : > \"$here/crashed\"; kill -SEGV $$; }";
    }

    void severalDocuments_eachIntoTheFolder_andOneFailingStopsNoOther()
    {
        QFETCH(QString, destination);
        QFETCH(QStringList, documents);
        QFETCH(QByteArray, password);
        QFETCH(int, exitCode);
        QFETCH(QStringList, written);
        QFETCH(QStringList, said);
        QFETCH(QString, ghostscript);
        CaseFolder folder;
        if (!ghostscript.isEmpty())
            QVERIFY(!fakeGhostscript(folder.path(),
                                     ghostscript + "; exec " + QStandardPaths::findExecutable("gs") + " \"$@\"")
                         .isEmpty());
        if (!destination.endsWith('/'))
            QVERIFY(QDir().mkpath(folder.path(destination)));
        QStringList arguments{"--convert", folder.path(destination), "--dpi", "72"};
        if (!password.isEmpty())
            arguments << "--password-stdin";
        for (const QString &document : documents)
            arguments << doc(document);
        const Run run = sheetforge(folder, arguments, password);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
        QCOMPARE(filesIn(folder.path("out")), written);
        // No name commands the terminal.
        QVERIFY(!run.err.contains(QChar(0x1b)) && !run.err.contains('\r'));
        for (const QString &name : said)
            QVERIFY2(run.err.contains(QRegularExpression("^sheetforge: .*" + QRegularExpression::escape(name),
                                                         QRegularExpression::MultilineOption)),
                     qPrintable(run.err));
        QCOMPARE(leftovers(folder.temp()), QStringList());
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
        QDir().mkpath(folder.path("out"));
        QProcess process;
        prepare(process, folder);
        QString said;
        connect(&process, &QProcess::readyReadStandardError, this,
                [&] { said += QString::fromUtf8(process.readAllStandardError()); });
        const QStringList arguments{"--convert", folder.path("out/scan.png"), "--dpi", "1200"};
        process.start(QStringLiteral(SHEETFORGE_EXECUTABLE),
                      waitingForPassword ? arguments + QStringList{"--password-stdin", doc("locked.pdf")}
                                         : arguments + QStringList{doc("long.pdf")});
        // processId() is 0 once the program has ended, and kill(0, ...) would signal this test's whole group.
        const auto send = [&process](int sent) {
            const pid_t pid = pid_t(process.processId());
            return pid > 0 && ::kill(pid, sent) == 0;
        };
        QList<int> rendering;
        if (waitingForPassword) {
            // Ghostscript has asked for the password and ended by then.
            QTest::qWait(1500);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(said.contains(QLatin1String("Processing page")), 30000);
            rendering = ghostscriptChildren(process.processId());
            QVERIFY(!rendering.isEmpty());
        }
        // Ghostscript stops with us, so the temporary folder does not fill meanwhile, and goes on with us.
        if (stoppedFirst) {
            QVERIFY(send(stoppedFirst));
            QTRY_VERIFY_WITH_TIMEOUT(isStopped(int(process.processId()))
                                         && std::all_of(rendering.begin(), rendering.end(), isStopped),
                                     5000);
            QVERIFY(send(SIGCONT));
            QTRY_VERIFY_WITH_TIMEOUT(!isStopped(int(process.processId()))
                                         && std::none_of(rendering.begin(), rendering.end(), isStopped),
                                     5000);
        }
        QVERIFY(send(signal));
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 128 + signal);
        QTRY_VERIFY_WITH_TIMEOUT(std::none_of(rendering.begin(), rendering.end(), isAlive), 5000);
        QCOMPARE(filesIn(folder.path("out")), QStringList());
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void temporaryFolder_missingOrFull_isNamedAndNothingLandsElsewhere_data()
    {
        QTest::addColumn<QString>("size"); // of the temporary folder's file system; none when it is missing
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<QString>("said");
        // A4 at 300 dpi needs 26 MB of bitmap.
        QTest::newRow("missing") << QString() << QStringList{"--dpi", "300"} << "does not exist";
        QTest::newRow("full") << "4m" << QStringList{"--dpi", "300"} << "needs 26.1 MB in the temporary folder";
        // The library's pixel cache outgrows its memory and would spill into the temporary folder.
        QTest::newRow("small, at 1200 dpi") << "15m" << QStringList{"--dpi", "1200"} << "At most 192 dpi fits";
        // Its memory holds a 400 MB bitmap, not the 1.6 GB of cache on top of it.
        QTest::newRow("600 MB, at 1200 dpi not antialiased")
            << "600m" << QStringList{"--dpi", "1200", "--no-antialias"} << "At most 600 dpi fits";
    }

    void temporaryFolder_missingOrFull_isNamedAndNothingLandsElsewhere()
    {
        QFETCH(QString, size);
        QFETCH(QStringList, flags);
        QFETCH(QString, said);
        const bool full = !size.isEmpty();
        CaseFolder folder;
        QProcess process;
        prepare(process, folder);
        // A name that would command the terminal, printed raw.
        const QString temp = folder.path(full ? "small\x1b[2J" : "missing");
        if (full) {
            QDir().mkpath(temp);
            if (!run("mount", {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", temp}))
                QSKIP("Needs a small file system: mount is not allowed here");
        }
        QProcessEnvironment environment = process.processEnvironment();
        environment.insert("TMPDIR", temp);
        process.setProcessEnvironment(environment);
        // The password shows that no file holds it in the current folder.
        process.start(QStringLiteral(SHEETFORGE_EXECUTABLE),
                      full ? QStringList{"--convert", folder.path("out.png"), doc("long.pdf")} + flags
                           : QStringList{"--convert", folder.path("out") + "/", "--password-stdin", doc("locked.pdf"),
                                         doc("one.pdf")}
                                 + flags);
        process.write("user\n");
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(60000));
        const QString told = QString::fromUtf8(process.readAllStandardError());
        const QStringList left = leftovers(temp);
        if (full)
            run("umount", {temp});
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QVERIFY2(told.contains(said) && told.contains(QString(temp).replace("\x1b", "\\x1b")), qPrintable(told));
        QVERIFY(!told.contains(QChar(0x1b)));
        // It would meet every document alike: said once, and the next one is not tried.
        QVERIFY2(told.count(said) == 1, qPrintable(told));
        QVERIFY(!told.contains("could not be converted") && !told.contains("damaged"));
        QCOMPARE(left, QStringList());
        QCOMPARE(leftovers(folder.path()),
                 full ? QStringList({"small\x1b[2J", "t%03d"}) : QStringList({"out", "t%03d"}));
    }

    void closedOutput_doesNotStopTheConversion()
    {
        CaseFolder folder;
        QProcess shell;
        prepare(shell, folder);
        shell.start("bash", {"-c",
                             "\"$0\" --convert out/scan.png --dpi 72 \"$1\" 2>&1 | head -1 >/dev/null; "
                             "echo ${PIPESTATUS[0]}",
                             QStringLiteral(SHEETFORGE_EXECUTABLE), doc("five.pdf")});
        QDir().mkpath(folder.path("out"));
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.readAllStandardOutput().trimmed(), QByteArray("0"));
        QCOMPARE(filesIn(folder.path("out")).size(), 5);
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void nameNotInTheLocalesEncoding_isSaidToBeSo()
    {
        CaseFolder folder;
        QProcess shell;
        prepare(shell, folder);
        shell.start("bash", {"-c",
                             "cp \"$1\" $'bad\\xff.pdf' && \"$0\" --convert out.png $'bad\\xff.pdf'; "
                             "status=$?; rm $'bad\\xff.pdf'; exit $status",
                             QStringLiteral(SHEETFORGE_EXECUTABLE), doc("one.pdf")});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.exitCode(), 1);
        QVERIFY(shell.readAllStandardError().contains("not valid UTF-8"));
    }

    // Killed, the program takes its Ghostscript along, though that one is silent and would go on for minutes.
    void killedProgram_takesItsGhostscriptAlong()
    {
        CaseFolder folder;
        QVERIFY(!fakeGhostscript(folder.path(), "[ -n \"$info\" ] && info_ok; page 1; sleep 120").isEmpty());
        QProcess process;
        prepare(process, folder, true);
        QString said;
        connect(&process, &QProcess::readyReadStandardError, this,
                [&] { said += QString::fromUtf8(process.readAllStandardError()); });
        process.start(QStringLiteral(SHEETFORGE_EXECUTABLE), {"--convert", folder.path("out.png"), doc("three.pdf")});
        QTRY_VERIFY_WITH_TIMEOUT(said.contains(QLatin1String("Processing page")), 30000);
        const QList<int> rendering = ghostscriptChildren(process.processId());
        QVERIFY(!rendering.isEmpty());
        process.kill();
        QVERIFY(process.waitForFinished(5000));
        QTRY_VERIFY_WITH_TIMEOUT(std::none_of(rendering.begin(), rendering.end(), isAlive), 5000);
    }

    // A killed run's folder goes at the next start; one that another instance holds stays, even when that
    // instance runs in a process namespace of its own, where its process id means nothing here.
    void workFolders_ofKilledRunsGoAndOfLiveOnesStay()
    {
        CaseFolder folder;
        QDir().mkpath(folder.path("out"));
        QProcess killed, other;
        prepare(killed, folder);
        QString said;
        connect(&killed, &QProcess::readyReadStandardError, this,
                [&] { said += QString::fromUtf8(killed.readAllStandardError()); });
        killed.start(QStringLiteral(SHEETFORGE_EXECUTABLE),
                     {"--convert", folder.path("out/k.png"), "--dpi", "600", doc("long.pdf")});
        QTRY_VERIFY_WITH_TIMEOUT(said.contains(QLatin1String("Processing page")), 30000);
        killed.kill();
        QVERIFY(killed.waitForFinished(5000));
        QVERIFY(!leftovers(folder.temp()).isEmpty());

        prepare(other, folder);
        const bool unshared = run("unshare", {"-p", "-f", "true"});
        const QStringList longRun{"--convert", folder.path("out/o.png"), "--dpi", "150", doc("long.pdf")};
        if (unshared)
            other.start("unshare", QStringList{"-p", "-f", QStringLiteral(SHEETFORGE_EXECUTABLE)} + longRun);
        else
            other.start(QStringLiteral(SHEETFORGE_EXECUTABLE), longRun);
        QTRY_VERIFY_WITH_TIMEOUT(leftovers(folder.temp()).size() >= 2, 30000);
        const Run second = sheetforge(folder, {"--convert", folder.path("out/s.png"), doc("three.pdf")});
        QCOMPARE(second.exitCode, 0);
        QVERIFY(other.waitForFinished(120000));
        QVERIFY2(other.exitCode() == 0, other.readAllStandardError().constData());
        QCOMPARE(filesIn(folder.path("out")).filter("o0").size(), 8);
        const QStringList left = leftovers(folder.temp());
        QString inside;
        for (const QString &name : left)
            inside += name + ": "
                      + QDir(folder.temp() + "/" + name)
                            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                            .join(',')
                      + "; ";
        QVERIFY2(left.isEmpty(), qPrintable(inside));
    }
};

QTEST_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
