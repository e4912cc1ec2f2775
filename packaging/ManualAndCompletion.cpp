// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Writes the manual page and the bash, zsh and fish completions from the program's own list of flags, at build
// time, so that they cannot drift from what --help says.
#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSaveFile>

#include <cstdio>
#include <optional>
#include <utility>

using CommandLine::FlagDescription;

namespace {

QString dashed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QStringList dashedNames(const FlagDescription &flag)
{
    QStringList names;
    for (const QString &name : flag.names)
        names << dashed(name);
    return names;
}

// A list of values whose items are separated by commas ("text,images"), rather than one value.
bool takesList(const FlagDescription &flag)
{
    return flag.valueName == QLatin1String("LIST") && !flag.values.isEmpty();
}

// What --help says besides the options, read back from its text: the page then says it in the same words.
struct HelpProse
{
    QString description;                         // what the program does
    QString documents;                           // what its arguments are
    QStringList paragraphs;                      // the prose after the options
    QList<std::pair<QString, QString>> examples; // a command and what it does
};

// Lines wrapped for a terminal, as one.
QString unwrapped(const QStringList &lines)
{
    QStringList pieces;
    for (const QString &line : lines)
        pieces << line.simplified();
    return pieces.join(QLatin1Char(' ')).trimmed();
}

std::optional<HelpProse> readHelp(const QString &help)
{
    HelpProse prose;
    for (const QString &block : help.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts)) {
        QStringList lines = block.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QString head = lines.takeFirst();
        if (head.startsWith(QLatin1String("Usage:"))) {
            prose.description = unwrapped(lines);
        } else if (head == QLatin1String("Arguments:")) {
            prose.documents = unwrapped(lines).section(QLatin1Char(' '), 1); // without the argument's name
        } else if (head == QLatin1String("Examples:")) {
            for (const QString &line : std::as_const(lines)) {
                if (!line.startsWith(QLatin1String("   "))) // a command is indented less than what it does
                    prose.examples.append({line.trimmed(), QString()});
                else if (!prose.examples.isEmpty())
                    prose.examples.last().second = unwrapped({prose.examples.last().second, line});
            }
        } else if (head != QLatin1String("Options:") && !head.startsWith(QLatin1String("Exit status:"))) {
            // The manual lists the exit statuses under their own heading.
            prose.paragraphs << unwrapped(QStringList{head} + lines);
        }
    }
    if (prose.description.isEmpty() || prose.documents.isEmpty() || prose.examples.isEmpty())
        return std::nullopt;
    return prose;
}

// Text as groff prints it: backslashes as such, no line read as a request, and the dashes of flags ("--dpi"),
// of "-" and of numbers ("5-7,10-") as the ASCII ones that can be copied to a shell; "first-start" keeps its
// hyphen.
QString roff(const QString &text)
{
    QString out;
    bool dashWord = false; // a word that starts with a dash: a flag or "-"
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar before = i > 0 ? text.at(i - 1) : QChar(u' ');
        const QChar after = i + 1 < text.size() ? text.at(i + 1) : QChar(u' ');
        if (c == u'-') {
            dashWord = dashWord || before.isSpace() || QStringLiteral("(\"'").contains(before);
            out += dashWord || before.isDigit() || after.isDigit() ? QStringLiteral("\\-") : QStringLiteral("-");
            continue;
        }
        if (c.isSpace())
            dashWord = false;
        if (c == u'\\')
            out += QStringLiteral("\\e");
        else if ((c == u'.' || c == u'\'') && (i == 0 || before == u'\n'))
            out += QStringLiteral("\\&") + c;
        else if (c.unicode() > 0x7f)
            out += QStringLiteral("\\[u%1]").arg(QString::number(c.unicode(), 16).toUpper(), 4, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString bold(const QString &text)
{
    return QStringLiteral("\\fB") + roff(text) + QStringLiteral("\\fR");
}

QString italic(const QString &text)
{
    return QStringLiteral("\\fI") + roff(text) + QStringLiteral("\\fR");
}

// The examples --help gives, and those that need the room of a page.
QList<std::pair<QString, QString>> manualExamples(const HelpProse &help)
{
    return help.examples
           + QList<std::pair<QString, QString>>{
               {QStringLiteral("cat a.pdf | sheetforge --convert - --pages 1 - > page1.png"),
                QStringLiteral("the first page of a document read from a pipe, written to standard output")},
               {QStringLiteral("sheetforge --convert out/ --report json a.pdf"),
                QStringLiteral("every page of a.pdf into out/, telling each event of the run as a line of JSON on "
                               "standard output")},
               {QStringLiteral("sheetforge --check"),
                QStringLiteral("whether Ghostscript and everything else a conversion needs is installed")}};
}

QString manualPage(const QList<FlagDescription> &flags, const HelpProse &help)
{
    QString name = help.description;
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    name[0] = name.at(0).toLower();

    QString page =
        QStringLiteral(".\\\" Written at build time from the flags of sheetforge: edit them, not this.\n"
                       ".TH SHEETFORGE 1 \"\" \"sheetforge " SHEETFORGE_VERSION "\" \"User Commands\"\n"
                       ".SH NAME\n"
                       "sheetforge \\- %1\n"
                       ".SH SYNOPSIS\n"
                       "\\fBsheetforge\\fR [\\fIOPTION\\fR]... [\\fIFILE.pdf\\fR]...\n"
                       ".br\n"
                       "\\fBsheetforge \\-\\-convert\\fR \\fIDEST\\fR [\\fIOPTION\\fR]... \\fIFILE.pdf\\fR...\n"
                       ".br\n"
                       "\\fBsheetforge \\-\\-check\\fR\n"
                       ".SH DESCRIPTION\n"
                       "%2\n"
                       ".PP\n"
                       "\\fIFILE.pdf\\fR: %3\n")
            .arg(roff(name), roff(help.description), roff(help.documents));
    for (const QString &paragraph : help.paragraphs)
        page += QStringLiteral(".PP\n") + roff(paragraph) + QLatin1Char('\n');

    page += QStringLiteral(".SH OPTIONS\n");
    for (const FlagDescription &flag : flags) {
        QStringList names;
        for (const QString &dashedName : dashedNames(flag))
            names << bold(dashedName);
        page += QStringLiteral(".TP\n") + names.join(QStringLiteral(", "));
        if (!flag.valueName.isEmpty())
            page += QLatin1Char(' ') + italic(flag.valueName);
        page += QLatin1Char('\n') + roff(flag.help) + QLatin1Char('\n');
    }

    page += QStringLiteral(".SH EXAMPLES\n");
    for (const auto &[command, what] : manualExamples(help))
        page += QStringLiteral(".TP\n") + bold(command) + QLatin1Char('\n') + roff(what) + QLatin1Char('\n');

    const QList<std::pair<QString, QString>> statuses = CommandLine::exitStatuses();
    page += QStringLiteral(".SH EXIT STATUS\n");
    for (const auto &[status, meaning] : statuses)
        page += QStringLiteral(".TP\n") + bold(status) + QLatin1Char('\n') + roff(meaning) + QLatin1Char('\n');

    page += QStringLiteral(".SH FILES\n.TP\n") + italic(QStringLiteral("~/.config/sheetforge/sheetforge.conf"))
            + QLatin1Char('\n')
            + roff(QStringLiteral("The window's last options, which a conversion starts from unless --defaults is "
                                  "given. $XDG_CONFIG_HOME replaces ~/.config when it is set."))
            + QStringLiteral("\n.SH SEE ALSO\n.BR gs (1)\n");
    return page;
}

// The flags the page's own words name that the program does not have: a renamed flag must not leave the
// examples behind.
QStringList unknownFlags(const QString &page, const QList<FlagDescription> &flags)
{
    QStringList known;
    for (const FlagDescription &flag : flags)
        known << flag.names;
    QStringList unknown;
    static const QRegularExpression mentioned(QStringLiteral("\\\\-\\\\-((?:\\w|\\\\-)+)"));
    for (const QRegularExpressionMatch &match : mentioned.globalMatch(page)) {
        const QString name = match.captured(1).replace(QStringLiteral("\\-"), QStringLiteral("-"));
        if (!known.contains(name))
            unknown << dashed(name);
    }
    return unknown;
}

// Quoted for any shell of the sh family and for fish: single quotes, and a single quote ended, escaped and
// begun again.
QString quoted(QString text)
{
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
}

QString bashCompletion(const QList<FlagDescription> &flags)
{
    QStringList all;
    QString valueCases;
    for (const FlagDescription &flag : flags) {
        const QStringList names = dashedNames(flag);
        all << names;
        if (flag.valueName.isEmpty())
            continue;
        QStringList patterns;
        for (const QString &name : names)
            patterns << quoted(name);
        QString action; // a number, a page list: nothing to offer
        if (takesList(flag))
            action = QStringLiteral("_sheetforge_list %1 \"$cur\"").arg(quoted(flag.values.join(QLatin1Char(' '))));
        else if (!flag.values.isEmpty())
            action = QStringLiteral("_sheetforge_words %1 \"$cur\"").arg(quoted(flag.values.join(QLatin1Char(' '))));
        else if (flag.takesFile)
            action = QStringLiteral("_sheetforge_files \"$cur\"");
        valueCases +=
            QStringLiteral("    %1) %2return ;;\n")
                .arg(patterns.join(QStringLiteral(" | ")), action.isEmpty() ? action : action + QStringLiteral("; "));
    }
    return QStringLiteral(
               "# Completion of sheetforge's flags, their values and its documents, for bash.\n"
               "# Written at build time from the flags of sheetforge: edit them, not this.\n"
               "\n"
               "_sheetforge_words()\n"
               "{\n"
               "    mapfile -t COMPREPLY < <(compgen -W \"$1\" -- \"$2\")\n"
               "}\n"
               "\n"
               "# The item after the last comma of a list such as text,images.\n"
               "_sheetforge_list()\n"
               "{\n"
               "    local before=\n"
               "    [[ $2 == *,* ]] && before=${2%,*},\n"
               "    mapfile -t COMPREPLY < <(compgen -P \"$before\" -W \"$1\" -- \"${2##*,}\")\n"
               "}\n"
               "\n"
               "_sheetforge_files()\n"
               "{\n"
               "    compopt -o filenames 2>/dev/null\n"
               "    mapfile -t COMPREPLY < <(compgen -f -- \"$1\")\n"
               "}\n"
               "\n"
               "# PDF files, and the folders that may hold them.\n"
               "_sheetforge_documents()\n"
               "{\n"
               "    compopt -o filenames 2>/dev/null\n"
               "    mapfile -t COMPREPLY < <(compgen -d -- \"$1\"; compgen -f -X '!*.[pP][dD][fF]' -- \"$1\")\n"
               "}\n"
               "\n"
               "_sheetforge()\n"
               "{\n"
               "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} i\n"
               "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
               "        if [[ ${COMP_WORDS[i]} == -- ]]; then\n"
               "            _sheetforge_documents \"$cur\"\n"
               "            return\n"
               "        fi\n"
               "    done\n"
               "    # bash splits --flag=value at the =.\n"
               "    if [[ $cur == = ]]; then\n"
               "        cur=\n"
               "    elif [[ $prev == = ]]; then\n"
               "        prev=${COMP_WORDS[COMP_CWORD-2]}\n"
               "    fi\n"
               "    case $prev in\n")
           + valueCases
           + QStringLiteral("    esac\n"
                            "    if [[ $cur == -* ]]; then\n"
                            "        _sheetforge_words %1 \"$cur\"\n"
                            "    else\n"
                            "        _sheetforge_documents \"$cur\"\n"
                            "    fi\n"
                            "}\n"
                            "complete -F _sheetforge sheetforge\n")
                 .arg(quoted(all.join(QLatin1Char(' '))));
}

// Text of an _arguments option, escaped for _arguments itself: in an explanation "[...]" the brackets, in a
// message or a value also colons, parentheses and spaces.
QString zshExplanation(QString text)
{
    static const QRegularExpression marks(QStringLiteral("([\\\\\\[\\]])"));
    return text.replace(marks, QStringLiteral("\\\\\\1"));
}

QString zshWord(QString text)
{
    static const QRegularExpression marks(QStringLiteral("([\\\\\\[\\]:() ])"));
    return text.replace(marks, QStringLiteral("\\\\\\1"));
}

QString zshCompletion(const QList<FlagDescription> &flags)
{
    QString page = QStringLiteral("#compdef sheetforge\n"
                                  "# Completion of sheetforge's flags, their values and its documents, for zsh.\n"
                                  "# Written at build time from the flags of sheetforge: edit them, not this.\n"
                                  "\n"
                                  "_arguments -s -S \\\n");
    for (const FlagDescription &flag : flags) {
        const QStringList names = dashedNames(flag);
        QString rest = QLatin1Char('[') + zshExplanation(flag.help) + QLatin1Char(']');
        if (!flag.valueName.isEmpty()) {
            QStringList values;
            for (const QString &value : flag.values)
                values << zshWord(value);
            QString action;
            if (takesList(flag))
                action = QStringLiteral("_values -s , ") + zshWord(flag.valueName) + QLatin1Char(' ')
                         + values.join(QLatin1Char(' '));
            else if (!values.isEmpty())
                action = QLatin1Char('(') + values.join(QLatin1Char(' ')) + QLatin1Char(')');
            else if (flag.takesFile)
                action = QStringLiteral("_files");
            // -x+VALUE or -x VALUE; --name=VALUE or --name VALUE.
            rest = (names.constFirst().size() == 2 ? QLatin1Char('+') : QLatin1Char('=')) + rest + QLatin1Char(':')
                   + zshWord(flag.valueName) + QLatin1Char(':') + action;
        }
        // Several names: each excludes the others, and brace expansion repeats the option for each.
        const QString option =
            names.size() == 1 ? quoted(names.constFirst() + rest)
                              : quoted(QLatin1Char('(') + names.join(QLatin1Char(' ')) + QLatin1Char(')'))
                                    + QLatin1Char('{') + names.join(QLatin1Char(',')) + QLatin1Char('}') + quoted(rest);
        page += QStringLiteral("    ") + option + QStringLiteral(" \\\n");
    }
    return page + QStringLiteral("    '*:PDF document:_files -g \"*.(pdf|PDF)(-.)\"'\n");
}

QString fishCompletion(const QList<FlagDescription> &flags)
{
    QString page =
        QStringLiteral("# Completion of sheetforge's flags, their values and its documents, for fish.\n"
                       "# Written at build time from the flags of sheetforge: edit them, not this.\n"
                       "\n"
                       "complete -c sheetforge -f -k -a '(__fish_complete_suffix .pdf | string match -rie -- "
                       "\"\\.pdf\\$|/\\$\")'\n");
    for (const FlagDescription &flag : flags) {
        QString line = QStringLiteral("complete -c sheetforge");
        for (const QString &name : flag.names)
            line += (name.size() == 1 ? QStringLiteral(" -s ") : QStringLiteral(" -l ")) + name;
        if (!flag.values.isEmpty())
            line += QStringLiteral(" -x -a ") + quoted(flag.values.join(QLatin1Char(' ')));
        else if (flag.takesFile)
            line += QStringLiteral(" -r -F");
        else if (!flag.valueName.isEmpty())
            line += QStringLiteral(" -x");
        page += line + QStringLiteral(" -d ") + quoted(flag.help) + QLatin1Char('\n');
    }
    return page;
}

bool write(const QString &path, const QString &text)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit())
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList paths = app.arguments().mid(1);
    if (paths.size() != 4) {
        std::fprintf(stderr, "usage: %s MANUAL BASH ZSH FISH: the files to write\n", argv[0]);
        return 2;
    }
    const QList<FlagDescription> flags = CommandLine::flagDescriptions();
    const std::optional<HelpProse> help = readHelp(CommandLine::helpText());
    if (!help) {
        std::fprintf(stderr, "%s: --help's text has no description, arguments or examples to read\n", argv[0]);
        return 1;
    }
    const QString page = manualPage(flags, *help);
    if (const QStringList unknown = unknownFlags(page, flags); !unknown.isEmpty()) {
        std::fprintf(stderr, "%s: the manual names flags sheetforge does not have: %s\n", argv[0],
                     qPrintable(unknown.join(QStringLiteral(", "))));
        return 1;
    }
    const bool written = write(paths.at(0), page) && write(paths.at(1), bashCompletion(flags))
                         && write(paths.at(2), zshCompletion(flags)) && write(paths.at(3), fishCompletion(flags));
    return written ? 0 : 1;
}
