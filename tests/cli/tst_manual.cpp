// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include <QtTest>

namespace {

struct Output
{
    int exitCode = -1;
    QString out, err;
};

Output run(const QString &program, const QStringList &arguments, const QString &folder = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // man as a reader sees it, one option to a line, and without the bold and underlining of a terminal.
    environment.insert("MANWIDTH", "200");
    environment.insert("MANPAGER", "cat");
    environment.insert("PAGER", "cat");
    environment.insert("LC_ALL", "C.UTF-8");
    environment.remove("MAN_KEEP_FORMATTING");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, program + ": " + process.errorString()};
    static const QRegularExpression overstrike("[^\\n]\\x08|\\x1b\\[[0-9;]*m");
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()).remove(overstrike),
            QString::fromUtf8(process.readAllStandardError())};
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// The flags at the left of an option list: "  -h, --help   Displays ..." in --help, "       --dpi N" in man.
QStringList listedFlags(const QString &text, const QString &heading)
{
    static const QRegularExpression names("^ {1,8}(--?[\\w-]+(?:, --?[\\w-]+)*)");
    QStringList flags;
    const QStringList lines = text.split('\n');
    for (qsizetype i = lines.indexOf(heading) + 1;
         i > 0 && i < lines.size() && !lines[i].contains(QRegularExpression("^\\S")); ++i) {
        if (const QRegularExpressionMatch match = names.match(lines[i]); match.hasMatch())
            flags << match.captured(1).split(", ");
    }
    return sorted(flags);
}

QStringList dashedNames()
{
    QStringList names;
    for (const CommandLine::FlagDescription &flag : CommandLine::flagDescriptions()) {
        for (const QString &name : flag.names)
            names << (name.size() == 1 ? "-" : "--") + name;
    }
    return names;
}

// A flag's values; never an empty list, so that a row cannot pass by comparing two.
QStringList values(const QString &flagName)
{
    for (const CommandLine::FlagDescription &flag : CommandLine::flagDescriptions()) {
        if (flag.names.contains(flagName) && !flag.values.isEmpty())
            return flag.values;
    }
    return {"no values for " + flagName};
}

} // namespace

class TestManual : public QObject
{
    Q_OBJECT

private slots:
    void manualListsTheFlagsOfHelp()
    {
        const QStringList inHelp = listedFlags(run(SHEETFORGE_EXECUTABLE, {"--help"}).out, "Options:");
        const Output page = run("man", {"--warnings", "-l", MANUAL_FILE});
        QVERIFY2(page.exitCode == 0 && page.err.isEmpty(), qPrintable(page.err)); // groff's warnings too
        const QStringList inManual = listedFlags(page.out, "OPTIONS");
        QCOMPARE(inHelp.size(), dashedNames().size());
        const auto without = [](QStringList flags, const QStringList &others) {
            for (const QString &flag : others)
                flags.removeAll(flag);
            return flags.join(' ');
        };
        QVERIFY2(inManual == inHelp, qPrintable("only in --help: " + without(inHelp, inManual)
                                                + "; only in the manual: " + without(inManual, inHelp)));
        // A bare "-" may print as a hyphen, which a shell does not take for a flag's dash.
        QFile source(MANUAL_FILE);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(source.readAll())
                     .indexOf(QRegularExpression("(^|[\\s(\\[]|\\\\f[A-Z])-", QRegularExpression::MultilineOption)),
                 -1);
    }

    void manualSays_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("exit status heading") << "^EXIT STATUS$";
        QTest::newRow("--check's exit status") << "^ +1 +.*--check found something to fix";
        QTest::newRow("signals' exit status") << "^ +128\\+N +.*SIGTERM.*SIGINT.*SIGHUP";
        QTest::newRow("settings file") << "^FILES\\n +~/\\.config/sheetforge/sheetforge\\.conf\\n +.*--defaults";
        QTest::newRow("standard streams") << "^ +cat a\\.pdf \\| sheetforge --convert - --pages 1 - > page1\\.png$";
        QTest::newRow("version") << "^sheetforge " + QRegularExpression::escape(SHEETFORGE_VERSION) + " ";
        QTest::newRow("see also") << "^SEE ALSO\\n +gs\\(1\\)$";
    }
    void manualSays()
    {
        QFETCH(QString, pattern);
        const QString page = run("man", {"-l", MANUAL_FILE}).out;
        QVERIFY2(page.contains(QRegularExpression(pattern, QRegularExpression::MultilineOption)), qPrintable(page));
    }

    void bashCompletes_data()
    {
        QTest::addColumn<QStringList>("words"); // after "sheetforge"; the last is completed
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("flag") << QStringList{"--col"} << dashedNames().filter(QRegularExpression("^--col"));
        QTest::newRow("switch") << QStringList{"--dith"} << dashedNames().filter(QRegularExpression("^--dith"));
        QTest::newRow("colour depths") << QStringList{"--colors", ""} << values("colors");
        QTest::newRow("--colors=") << QStringList{"--colors", "=", "gr"}
                                   << values("colors").filter(QRegularExpression("^gr"));
        QTest::newRow("formats") << QStringList{"--format", ""} << values("format");
        QTest::newRow("boxes") << QStringList{"--box", ""} << values("box");
        QTest::newRow("list item") << QStringList{"--without", "text,"}
                                   << values("without").replaceInStrings(QRegularExpression("^"), "text,");
        QTest::newRow("no value to offer") << QStringList{"--dpi", ""} << QStringList{};
        QTest::newRow("documents") << QStringList{""} << QStringList{"DOC2.PDF", "doc.pdf", "sub"};
        QTest::newRow("any file") << QStringList{"--report-file", "n"} << QStringList{"note.txt"};
    }
    void bashCompletes()
    {
        QFETCH(QStringList, words);
        QFETCH(QStringList, offered);
        QTemporaryDir folder;
        for (const char *name : {"doc.pdf", "DOC2.PDF", "note.txt"})
            QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
        QVERIFY(QDir(folder.path()).mkdir("sub"));
        // Plain bash: no bash-completion package and its helpers.
        const QString script =
            "source \"$1\"; COMP_WORDS=(sheetforge \"${@:2}\"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
            "_sheetforge; printf '%s\\n' \"${COMPREPLY[@]}\"";
        const Output bash =
            run("bash", QStringList{"--norc", "--noprofile", "-c", script, "bash", BASH_COMPLETION_FILE} + words,
                folder.path());
        QCOMPARE(bash.err, QString());
        QCOMPARE(sorted(bash.out.split('\n', Qt::SkipEmptyParts)), sorted(offered));
    }

    void otherShells_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QStringList>("offered");
        const QString fish = "source " FISH_COMPLETION_FILE "; complete -C 'sheetforge %1'";
        QTest::newRow("zsh reads it") << QStringList{"zsh", "-n", ZSH_COMPLETION_FILE} << QStringList{};
        QTest::newRow("fish reads it") << QStringList{"fish", "--no-execute", FISH_COMPLETION_FILE} << QStringList{};
        QTest::newRow("fish: flag") << QStringList{"fish", "--no-config", "-c", fish.arg("--col")}
                                    << dashedNames().filter(QRegularExpression("^--col"));
        QTest::newRow("fish: formats") << QStringList{"fish", "--no-config", "-c", fish.arg("--format ")}
                                       << values("format");
    }
    void otherShells()
    {
        QFETCH(QStringList, command);
        QFETCH(QStringList, offered);
        const Output shell = run(command.takeFirst(), command);
        QVERIFY2(shell.exitCode == 0 && shell.err.isEmpty(), qPrintable(shell.err));
        QStringList given;
        for (const QString &line : shell.out.split('\n', Qt::SkipEmptyParts))
            given << line.section('\t', 0, 0); // the rest is its description
        QCOMPARE(sorted(given), sorted(offered));
    }

    // Where man and the shells look for them.
    void installedWhereFound()
    {
        QTemporaryDir prefix;
        QProcess install;
        install.start("cmake", {"--install", BUILD_FOLDER, "--prefix", prefix.path()});
        QVERIFY(install.waitForFinished(60000) && install.exitCode() == 0);
        // Where man, the shells, the menus and the software centres look.
        for (const char *path :
             {"bin/sheetforge", "share/man/man1/sheetforge.1", "share/bash-completion/completions/sheetforge",
              "share/zsh/vendor-completions/_sheetforge", "share/fish/vendor_completions.d/sheetforge.fish",
              "share/applications/io.github.sheetforge.desktop",
              "share/icons/hicolor/scalable/apps/io.github.sheetforge.svg",
              "share/metainfo/io.github.sheetforge.metainfo.xml"})
            QVERIFY2(QFileInfo(prefix.filePath(path)).size() > 0, path);
    }
};

QTEST_GUILESS_MAIN(TestManual)
#include "tst_manual.moc"
