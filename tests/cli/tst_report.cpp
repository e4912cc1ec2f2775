// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <QtTest>

#include <csignal>
#include <pty.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

enum class Stdout { Pipe, Terminal };

// In the case's folder, with settings of its own; path replaces PATH when given.
Run sheetforge(const CaseFolder &folder, const QStringList &arguments, const QByteArray &input = {},
               Stdout out = Stdout::Pipe, const QString &path = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", folder.path());
    environment.insert("XDG_CONFIG_HOME", folder.path("config"));
    environment.insert("XDG_RUNTIME_DIR", folder.path());
    if (!path.isEmpty())
        environment.insert("PATH", path);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder.path());
    process.setChildProcessModifier([out] {
        int leader = -1, terminal = -1;
        if (out == Stdout::Terminal && ::openpty(&leader, &terminal, nullptr, nullptr, nullptr) == 0)
            ::dup2(terminal, STDOUT_FILENO);
    });
    process.start(SHEETFORGE_EXECUTABLE, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

// The documented schema: each event's fields, and the codes, read from the tables of docs/report.md.
struct Schema
{
    QHash<QString, QSet<QString>> fields; // by event
    QSet<QString> warnings, results;

    Schema()
    {
        static const QRegularExpression quoted("`([a-z0-9_-]+)`");
        QString table;
        for (const QString &line : QString::fromUtf8(contentsOf(REPORT_SCHEMA)).split('\n')) {
            if (line.startsWith("## "))
                table = line;
            if (!line.startsWith("| `"))
                continue;
            QStringList names;
            for (const QRegularExpressionMatch &match : quoted.globalMatch(line))
                names << match.captured(1);
            const QString first = line.section('|', 1, 1);
            if (table.contains("Events"))
                fields[names.takeFirst()] = QSet<QString>(names.begin(), names.end());
            else if (table.contains("Warning"))
                warnings << names.first();
            else if (table.contains("Result"))
                for (const QRegularExpressionMatch &match : quoted.globalMatch(first))
                    results << match.captured(1);
        }
    }
};

// Every line of the report as an object; an empty list when one line is not JSON of this version, or holds a
// field or code the schema does not.
QList<QJsonObject> events(const QByteArray &report)
{
    static const Schema schema;
    QList<QJsonObject> list;
    for (const QByteArray &line : report.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonObject event = QJsonDocument::fromJson(line, &error).object();
        const QString name = event.value("event").toString();
        if (error.error != QJsonParseError::NoError || event.value("version").toInt() != 1
            || !schema.fields.contains(name)) {
            qWarning() << "not in the schema:" << line;
            return {};
        }
        for (const QString &key : event.keys()) {
            if (!schema.fields[name].contains(key) && key != "version" && key != "event" && key != "document") {
                qWarning() << "field" << key << "of" << name << "not in the schema";
                return {};
            }
        }
        const QString code = event.value(name == "warning"          ? "code"
                                         : event.contains("result") ? "result"
                                                                    : "code")
                                 .toString();
        if (!code.isEmpty() && !(name == "warning" ? schema.warnings : schema.results).contains(code)) {
            qWarning() << "code" << code << "of" << name << "not in the schema";
            return {};
        }
        list << event;
    }
    return list;
}

QList<QJsonObject> named(const QList<QJsonObject> &all, const QString &event)
{
    QList<QJsonObject> list;
    std::copy_if(all.begin(), all.end(), std::back_inserter(list),
                 [&event](const QJsonObject &e) { return e.value("event").toString() == event; });
    return list;
}

} // namespace

class tst_Report : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString doc(const QString &name) const { return m_docs.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(writePdf(doc("fifteen.pdf"), QList<QSizeF>(14, QSizeF(300, 200)) << QSizeF(200, 300)));
        QVERIFY(writeRawPdf(doc("font.pdf"), {"0 0 200 150"}, "Zorblax-Condensed"));
        QVERIFY(encrypt(doc("font.pdf"), doc("locked.pdf"), "user"));
        QVERIFY(writeEndlessPage(doc("endless.pdf")));
        QVERIFY(writeDrawnPage(doc("blank.pdf"), 0));
        QVERIFY(writeRawPdf(doc("vast.pdf"), {"0 0 14400 14400"}));
        // Without its cross-reference table: Ghostscript rebuilds it.
        const QByteArray whole = contentsOf(doc("font.pdf"));
        QVERIFY(plantFile(doc("damaged.pdf"), whole.left(whole.lastIndexOf("xref"))));
        QVERIFY(plantFile(doc("text.pdf"), "not a PDF\n"));
    }

    void fifteenPages_everyLineParsesAndTellsTheFilesAsWritten()
    {
        CaseFolder folder;
        const Run run = sheetforge(
            folder, {"--convert", "out/", "--defaults", "--dpi", "72", "--report", "json", doc("fifteen.pdf")});
        const QList<QJsonObject> all = events(run.out);
        QVERIFY2(!all.isEmpty(), run.out.constData());
        QCOMPARE(all.first().value("event").toString(), "run-started");
        QCOMPARE(all.last().value("event").toString(), "run-finished");
        QCOMPARE(all.last().value("exit_status").toInt(), run.exitCode);
        QCOMPARE(run.exitCode, 0);
        const QJsonObject opened = named(all, "document-opened").value(0);
        QCOMPARE(opened.value("page_count").toInt(), 15);
        QCOMPARE(opened.value("page_sizes").toArray(),
                 QJsonArray({QJsonObject{{"first", 1}, {"last", 14}, {"width", 300}, {"height", 200}},
                             QJsonObject{{"first", 15}, {"last", 15}, {"width", 200}, {"height", 300}}}));
        // Each page begins before its file is told of, and the files come in page order.
        QList<int> started, written;
        for (const QJsonObject &event : all) {
            const int page = event.value("page").toInt();
            if (event.value("event") == "page-started")
                started << page;
            if (event.value("event") == "page-written") {
                QVERIFY(started.contains(page));
                written << page;
            }
        }
        QList<int> pages(15);
        std::iota(pages.begin(), pages.end(), 1);
        QCOMPARE(started, pages);
        QCOMPARE(written, pages);
        for (const QJsonObject &page : named(all, "page-written")) {
            const QString file = page.value("file").toString();
            const QByteArray bytes = contentsOf(file);
            QCOMPARE(page.value("bytes").toInteger(), bytes.size());
            QCOMPARE(page.value("sha256").toString(),
                     QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
            const ImageFacts facts = readImage(file);
            QCOMPARE(QSize(page.value("width").toInt(), page.value("height").toInt()), facts.size);
            QCOMPARE(page.value("colors").toInt(), facts.colors);
            QCOMPARE(page.value("dpi").toInt(), 72);
        }
    }

    // Every PDF reader has the fourteen standard fonts: a page in Helvetica, not embedded, warns of nothing; nor
    // is a page blank whose only words are low on it.
    void standardFont_isNoSubstitution()
    {
        CaseFolder folder;
        QVERIFY(writeRawPdf(folder.path("helvetica.pdf"), {"0 0 200 400"}));
        const QList<QJsonObject> all =
            events(sheetforge(folder, {"--convert", "out/", "--report", "json", folder.path("helvetica.pdf")}).out);
        QCOMPARE(named(all, "page-written").size(), 1);
        QCOMPARE(named(all, "warning"), QList<QJsonObject>());
    }

    // What went wrong, or only half right, each with its code.
    void hostileDocuments_giveTheirCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("event"); // that carries the code
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("detail"); // a field that must be in it, "field=value"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("withoutGhostscript");
        const QString warning = "warning", finished = "document-finished";
        QTest::newRow("damaged") << QStringList{doc("damaged.pdf")} << warning << "repaired"
                                 << "" << 0 << false;
        QTest::newRow("font missing") << QStringList{doc("font.pdf")} << warning << "font-substituted"
                                      << "font=Zorblax-Condensed" << 0 << false;
        QTest::newRow("blank page") << QStringList{doc("blank.pdf")} << warning << "blank-page"
                                    << "page=1" << 0 << false;
        QTest::newRow("locked") << QStringList{doc("locked.pdf")} << finished << "password"
                                << "" << 1 << false;
        QTest::newRow("unlocked") << QStringList{"--password-stdin", doc("locked.pdf")} << "document-opened"
                                  << ""
                                  << "encrypted=true" << 0 << false;
        QTest::newRow("not locked") << QStringList{doc("font.pdf")} << "document-opened"
                                    << ""
                                    << "encrypted=false" << 0 << false;
        QTest::newRow("fitted to a width: the dpi rendered at")
            << QStringList{"--width", "100", doc("font.pdf")} << "page-written"
            << ""
            << "dpi=36" << 0 << false;
        QTest::newRow("pages apart") << QStringList{"--pages", "1,3", doc("fifteen.pdf")} << "document-opened"
                                     << ""
                                     << "page_sizes=2" << 0 << false;
        QTest::newRow("endless page") << QStringList{"--page-timeout", "2", doc("endless.pdf")} << warning
                                      << "page-timeout"
                                      << "page=1" << 1 << false;
        QTest::newRow("endless page's result")
            << QStringList{"--page-timeout", "2", doc("endless.pdf")} << finished << "timeout"
            << "" << 1 << false;
        QTest::newRow("too large") << QStringList{"--dpi", "2400", doc("vast.pdf")} << finished << "too-large"
                                   << "" << 1 << false;
        QTest::newRow("not a PDF") << QStringList{doc("text.pdf")} << finished << "not-pdf"
                                   << "" << 1 << false;
        QTest::newRow("missing") << QStringList{doc("gone.pdf")} << finished << "missing"
                                 << "" << 1 << false;
        QTest::newRow("page past the end") << QStringList{"--pages", "3", doc("font.pdf")} << finished << "no-such-page"
                                           << "" << 1 << false;
        QTest::newRow("no Ghostscript") << QStringList{doc("font.pdf")} << finished << "ghostscript-missing"
                                        << "" << 1 << true;
    }

    void hostileDocuments_giveTheirCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, event);
        QFETCH(QString, code);
        QFETCH(QString, detail);
        QFETCH(int, exitCode);
        QFETCH(bool, withoutGhostscript);
        CaseFolder folder;
        const Run run =
            sheetforge(folder, QStringList{"--convert", "out/", "--defaults", "--report", "json"} + arguments,
                       arguments.contains("--password-stdin") ? "user\n" : "", Stdout::Pipe,
                       withoutGhostscript ? folder.path("bin") : QString());
        const QList<QJsonObject> all = events(run.out);
        QVERIFY2(!all.isEmpty(), run.out.constData());
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(all.last().value("exit_status").toInt(), exitCode);
        const QList<QJsonObject> found = named(all, event);
        const QString field = event == "warning" ? "code" : "result";
        const auto match = std::find_if(found.begin(), found.end(), [&](const QJsonObject &e) {
            // A list's detail is its length: runs of pages not next to each other stay apart.
            const QJsonValue value = e.value(detail.section('=', 0, 0));
            const QString shown =
                value.isArray() ? QString::number(value.toArray().size()) : value.toVariant().toString();
            return e.value(field).toString() == code && (detail.isEmpty() || shown == detail.section('=', 1));
        });
        QVERIFY2(match != found.end(), run.out.constData());
        QVERIFY(code.isEmpty() || !match->value("message").toString().isEmpty());
    }

    void standardStreams()
    {
        CaseFolder folder;
        const QByteArray pdf = contentsOf(doc("fifteen.pdf"));
        const QStringList options{"--defaults", "--pages", "2"};
        const Run piped = sheetforge(folder, QStringList{"--convert", "-"} + options + QStringList{"-"}, pdf);
        QCOMPARE(piped.exitCode, 0);
        QVERIFY(piped.out.startsWith("\x89PNG\r\n\x1a\n"));
        QCOMPARE(sheetforge(folder, QStringList{"--convert", "file.png"} + options + QStringList{doc("fifteen.pdf")})
                     .exitCode,
                 0);
        QCOMPARE(piped.out, contentsOf(folder.path("file002.png")));
        // Every page in one TIFF, or one page, or nothing.
        const Run tiff = sheetforge(folder, {"--convert", "-", "--defaults", "--format", "tif", "-"}, pdf);
        QVERIFY(plantFile(folder.path("all.tif"), tiff.out));
        QCOMPARE(readImage(folder.path("all.tif")).images, 15);
        const Run several =
            sheetforge(folder, {"--convert", "-", "--defaults", "--report-file", "refused.jsonl", "-"}, pdf);
        QCOMPARE(std::pair(several.exitCode, several.out), std::pair(2, QByteArray()));
        QVERIFY2(several.err.contains("--pages") && !several.err.contains("Processing page"), qPrintable(several.err));
        const QList<QJsonObject> refused = events(contentsOf(folder.path("refused.jsonl")));
        QCOMPARE(named(refused, "document-finished").value(0).value("result").toString(), "usage");
        const Run terminal =
            sheetforge(folder, QStringList{"--convert", "-"} + options + QStringList{"-"}, pdf, Stdout::Terminal);
        QCOMPARE(terminal.exitCode, 2);
        QVERIFY2(terminal.err.contains("terminal"), qPrintable(terminal.err));
        // The report would share standard output with the image.
        QCOMPARE(sheetforge(folder, {"--convert", "-", "--report", "json", "--pages", "2", "-"}, pdf).exitCode, 2);
        const Run reported = sheetforge(
            folder, QStringList{"--convert", "-", "--report-file", "run.jsonl"} + options + QStringList{"-"}, pdf);
        QCOMPARE(reported.out, piped.out);
        const QList<QJsonObject> all = events(contentsOf(folder.path("run.jsonl")));
        QCOMPARE(named(all, "page-written").value(0).value("sha256").toString(),
                 QCryptographicHash::hash(piped.out, QCryptographicHash::Sha256).toHex());
        QCOMPARE(named(all, "run-started").value(0).value("documents").toArray(), QJsonArray{"-"});
        QCOMPARE(named(all, "document-finished").value(0).value("document").toString(), "-");
        QCOMPARE(named(all, "page-written").value(0).value("file").toString(), "-");
    }

    // The report ends as the process does, also when a signal ends it, reading standard input or converting.
    void signal_endsTheReportWithTheProcessExitStatus_data()
    {
        QTest::addColumn<bool>("fromStandardInput");
        QTest::newRow("converting") << false;
        QTest::newRow("reading standard input") << true;
    }

    void signal_endsTheReportWithTheProcessExitStatus()
    {
        QFETCH(bool, fromStandardInput);
        CaseFolder folder;
        QProcess process;
        process.setWorkingDirectory(folder.path());
        process.start(SHEETFORGE_EXECUTABLE, {"--convert", "out/", "--report-file", "run.jsonl",
                                              fromStandardInput ? "-" : doc("endless.pdf")});
        QVERIFY(QTest::qWaitFor([&] { return contentsOf(folder.path("run.jsonl")).contains("run-started"); }, 20000));
        QTest::qWait(500);
        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 128 + SIGTERM);
        const QList<QJsonObject> all = events(contentsOf(folder.path("run.jsonl")));
        QCOMPARE(all.value(all.size() - 1).value("exit_status").toInt(), 128 + SIGTERM);
        QCOMPARE(all.value(all.size() - 1).value("result").toString(), "cancelled");
    }

    void check_saysWhatIsMissingAndHowToInstallIt()
    {
        CaseFolder folder;
        const Run here = sheetforge(folder, {"--check"});
        QCOMPARE(here.exitCode, 0);
        const QStringList lines = QString::fromUtf8(here.out).split('\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.size() >= 5, here.out.constData());
        for (const QString &line : lines)
            QVERIFY2(line.startsWith("OK ") || line.startsWith("NOTE "), qPrintable(line));
        QVERIFY(here.out.contains("OK   Ghostscript: 10."));
        const Run hidden = sheetforge(folder, {"--check"}, {}, Stdout::Pipe, folder.path("bin"));
        QCOMPARE(hidden.exitCode, 1);
        QVERIFY2(hidden.out.contains("FIX  Ghostscript: not found. Install it with: sudo apt install ghostscript"),
                 hidden.out.constData());
    }
};

QTEST_MAIN(tst_Report)
#include "tst_report.moc"
