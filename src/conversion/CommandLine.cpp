// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/CommandLine.h"

#include "tools/Problem.h"
#include "tools/TerminationSignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace CommandLine {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("CommandLine", text);
}

// Each depth's names on the command line; the first is the one printed.
struct DepthNames
{
    ColorDepth depth;
    QList<QLatin1String> names;
};

const QList<DepthNames> &depthNames()
{
    static const QList<DepthNames> names{
        {ColorDepth::BlackAndWhite, {QLatin1String("bw"), QLatin1String("2"), QLatin1String("mono")}},
        {ColorDepth::FourColors, {QLatin1String("4")}},
        {ColorDepth::SixteenColors, {QLatin1String("16")}},
        {ColorDepth::TwoHundredFiftySixColors, {QLatin1String("256")}},
        {ColorDepth::HiColor, {QLatin1String("hicolor"), QLatin1String("65536")}},
        {ColorDepth::Grayscale, {QLatin1String("gray"), QLatin1String("grey"), QLatin1String("gray256")}},
        {ColorDepth::SixteenGrays, {QLatin1String("gray16"), QLatin1String("grey16")}},
        {ColorDepth::FourGrays, {QLatin1String("gray4"), QLatin1String("grey4")}},
    };
    return names;
}

std::optional<ColorDepth> colorDepth(const QString &text)
{
    for (const DepthNames &entry : depthNames()) {
        if (entry.names.contains(QLatin1String(text.toLower().toLatin1())))
            return entry.depth;
    }
    return std::nullopt;
}

QString colorDepthName(ColorDepth depth)
{
    for (const DepthNames &entry : depthNames()) {
        if (entry.depth == depth)
            return QString(entry.names.constFirst());
    }
    return {};
}

// "bw, 4, 16, 256, hicolor, gray, gray16 or gray4"
QString colorDepthChoices()
{
    QStringList first;
    for (const DepthNames &entry : depthNames())
        first << QString(entry.names.constFirst());
    const QString last = first.takeLast();
    return tr("%1 or %2").arg(first.join(QStringLiteral(", ")), last);
}

// The levenshtein distance, for the nearest known option to a mistyped one.
qsizetype distance(const QString &a, const QString &b)
{
    QList<qsizetype> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a.at(i - 1) == b.at(j - 1) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

bool isHeadless(const QStringList &arguments)
{
    for (const QString &arg : arguments.mid(1)) {
        if (arg == QLatin1String("--"))
            break;
        if (arg == QLatin1String("--convert") || arg.startsWith(QLatin1String("--convert="))
            || arg == QLatin1String("--help") || arg == QLatin1String("-h") || arg == QLatin1String("--help-all")
            || arg == QLatin1String("--version") || arg == QLatin1String("-v"))
            return true;
    }
    return false;
}

namespace {

// The options of a conversion; --help and --version come from the parser itself.
struct Options
{
    QCommandLineOption convert, pages, dpi, width, height, pageTimeout, colors, format, quality, dither, noDither, trim,
        noTrim, antialias, noAntialias, transparent, noTransparent, passwordStdin, defaults;
};

Options makeOptions()
{
    return {
        QCommandLineOption(QStringLiteral("convert"),
                           tr("Convert without a window, writing DEST (numbered DEST001.png, ... for "
                              "several pages). For several documents DEST is a folder, ending in /."),
                           QStringLiteral("DEST")),
        QCommandLineOption(QStringLiteral("pages"),
                           tr("Convert only these pages: a list such as 1,3,5-7,10- (10- runs to the end)."),
                           QStringLiteral("LIST")),
        QCommandLineOption(
            QStringLiteral("dpi"),
            tr("Resolution in dots per inch (%1 to %2).").arg(OptionLists::LowestDpi).arg(OptionLists::HighestDpi),
            QStringLiteral("N")),
        QCommandLineOption(QStringLiteral("width"),
                           tr("Instead of a resolution: make each page N pixels wide, or fit it within "
                              "--width by --height."),
                           QStringLiteral("N")),
        QCommandLineOption(QStringLiteral("height"),
                           tr("Instead of a resolution: make each page N pixels high, or fit it within "
                              "--width by --height."),
                           QStringLiteral("N")),
        QCommandLineOption(QStringLiteral("page-timeout"),
                           tr("Stop when a page takes longer than SECONDS to render (default %1; 0 for no limit).")
                               .arg(CommandLineRequest::DefaultPageTimeout),
                           QStringLiteral("SECONDS")),
        QCommandLineOption(QStringList{QStringLiteral("colors"), QStringLiteral("colours")},
                           tr("Colour depth: %1.").arg(colorDepthChoices()), QStringLiteral("DEPTH")),
        QCommandLineOption(
            QStringLiteral("format"),
            tr("Image format when DEST has no such extension: png, gif, jpg, tiff (all pages in one file) "
               "or webp."),
            QStringLiteral("FORMAT")),
        QCommandLineOption(QStringLiteral("quality"),
                           tr("JPEG quality, 0 to 100 (higher is better); also for WebP in hicolor."),
                           QStringLiteral("N")),
        QCommandLineOption(QStringLiteral("dither"), tr("Dither when reducing the colours.")),
        QCommandLineOption(QStringLiteral("no-dither"), tr("Do not dither.")),
        QCommandLineOption(QStringLiteral("trim"), tr("Trim the blank edges.")),
        QCommandLineOption(QStringLiteral("no-trim"), tr("Keep the whole page.")),
        QCommandLineOption(QStringLiteral("antialias"), tr("Smooth the edges of text and images.")),
        QCommandLineOption(QStringLiteral("no-antialias"), tr("Do not smooth edges.")),
        QCommandLineOption(QStringLiteral("transparent"),
                           tr("Leave the paper out: a transparent background (not for JPEG).")),
        QCommandLineOption(QStringLiteral("no-transparent"), tr("A white background.")),
        QCommandLineOption(QStringLiteral("password-stdin"),
                           tr("Read the document's password from the first line of standard "
                              "input.")),
        QCommandLineOption(QStringLiteral("defaults"),
                           tr("Start from the first-start defaults rather than the window's last options, so that "
                              "what was last clicked does not change the files.")),
    };
}

QList<QCommandLineOption> all(const Options &o)
{
    return {o.convert,     o.pages,       o.dpi,           o.width,         o.height,  o.pageTimeout, o.colors,
            o.format,      o.quality,     o.dither,        o.noDither,      o.trim,    o.noTrim,      o.antialias,
            o.noAntialias, o.transparent, o.noTransparent, o.passwordStdin, o.defaults};
}

// Applies the destination and the document; a message for what is wrong with them.
QString applyDestination(const QCommandLineParser &parser, const Options &o, CommandLineRequest &request)
{
    const QString destination = parser.value(o.convert);
    request.destination = QFileInfo(destination).absoluteFilePath();
    request.destinationIsFolder = destination.endsWith(QLatin1Char('/')) || QFileInfo(destination).isDir();
    if (request.documents.size() > 1 && !request.destinationIsFolder)
        return tr("--convert %1: several documents go into a folder: give an existing folder, or a name "
                  "ending in /.")
            .arg(Problem::escapeName(destination));
    // An extension we do not write would be kept and ours added (x.bmp.png): ask instead.
    const QString suffix = QFileInfo(request.destination).suffix();
    if (!request.destinationIsFolder && !suffix.isEmpty() && !OptionLists::formatForFileName(request.destination)
        && !parser.isSet(o.format))
        return tr("--convert %1: sheetforge writes png, gif, jpg, tif or webp files. Give one of those extensions, "
                  "or --format to add one.")
            .arg(Problem::escapeName(parser.value(o.convert)));
    if (request.document.isEmpty())
        return tr("--convert needs the PDF file to convert.");
    request.options.sourceFile = request.document;
    request.passwordFromStdin = parser.isSet(o.passwordStdin);
    return {};
}

// Applies the page range, resolution and time limit; a message for the first that is wrong.
QString applyPages(const QCommandLineParser &parser, const Options &o, CommandLineRequest &request)
{
    if (parser.isSet(o.pages)) {
        QString error;
        const std::optional<PageSelection> pages = PageSelection::parse(parser.value(o.pages), &error);
        if (!pages)
            return QStringLiteral("--pages %1: %2").arg(parser.value(o.pages), error);
        request.pages = *pages;
    }
    if (parser.isSet(o.dpi)) {
        bool ok = false;
        request.options.dpi = parser.value(o.dpi).toInt(&ok);
        if (!ok || request.options.dpi < OptionLists::LowestDpi || request.options.dpi > OptionLists::HighestDpi)
            return tr("--dpi wants a whole number from %1 to %2.")
                .arg(OptionLists::LowestDpi)
                .arg(OptionLists::HighestDpi);
    }
    if (parser.isSet(o.dpi) && (parser.isSet(o.width) || parser.isSet(o.height)))
        return tr("--dpi and --width or --height cannot be combined: give a resolution, or a size in pixels.");
    if (parser.isSet(o.dpi))
        request.options.fitToBox = false;
    if (parser.isSet(o.width) || parser.isSet(o.height)) {
        request.options.fitToBox = true;
        request.options.boxWidth = request.options.boxHeight = 0;
        for (const auto &[option, side] :
             {std::pair{&o.width, &request.options.boxWidth}, std::pair{&o.height, &request.options.boxHeight}}) {
            if (!parser.isSet(*option))
                continue;
            bool ok = false;
            *side = parser.value(*option).toInt(&ok);
            if (!ok || *side < 1 || *side > OptionLists::MaxBoxSide)
                return tr("--%1 wants a whole number of pixels from 1 to %2.")
                    .arg(option->names().constFirst())
                    .arg(OptionLists::MaxBoxSide);
        }
    }
    if (parser.isSet(o.pageTimeout)) {
        bool ok = false;
        request.pageTimeout = parser.value(o.pageTimeout).toInt(&ok);
        if (!ok || request.pageTimeout < 0)
            return tr("--page-timeout wants a whole number of seconds, or 0 for no limit.");
    }
    return {};
}

// Applies the colours, format, quality and the on/off switches; a message for the first that is wrong.
QString applyImage(const QCommandLineParser &parser, const Options &o, CommandLineRequest &request)
{
    if (parser.isSet(o.colors)) {
        const std::optional<ColorDepth> depth = colorDepth(parser.value(o.colors));
        if (!depth)
            return tr("--colors wants %1.").arg(colorDepthChoices());
        request.options.colorDepth = *depth;
    }
    if (parser.isSet(o.format)) {
        const std::optional<ImageFormat> chosen =
            OptionLists::formatForFileName(QStringLiteral("x.") + parser.value(o.format));
        if (!chosen)
            return tr("--format wants png, gif, jpg, tiff or webp.");
        request.options.format = *chosen;
    }
    if (parser.isSet(o.quality)) {
        bool ok = false;
        request.options.jpegQuality = parser.value(o.quality).toInt(&ok);
        if (!ok || request.options.jpegQuality < 0 || request.options.jpegQuality > 100)
            return tr("--quality wants a whole number from 0 to 100.");
    }
    if (parser.isSet(o.dither) || parser.isSet(o.noDither))
        request.options.dither = parser.isSet(o.dither) && !parser.isSet(o.noDither);
    if (parser.isSet(o.trim) || parser.isSet(o.noTrim))
        request.options.trim = parser.isSet(o.trim) && !parser.isSet(o.noTrim);
    if (parser.isSet(o.antialias) || parser.isSet(o.noAntialias))
        request.options.antialias = parser.isSet(o.antialias) && !parser.isSet(o.noAntialias);
    if (parser.isSet(o.transparent) || parser.isSet(o.noTransparent))
        request.options.transparent = parser.isSet(o.transparent) && !parser.isSet(o.noTransparent);
    const ImageFormat written = request.writtenFormat();
    if (parser.isSet(o.transparent) && !ConversionOptions::holdsTransparency(written))
        return tr("--transparent: %1 files cannot be transparent; choose png, gif, tiff or webp.")
            .arg(OptionLists::suffix(written));
    return {};
}

// What --help says after the options: where the options come from, two examples, the exit statuses.
QString afterOptions()
{
    return tr("\nOptions not given come from the window's last use; --defaults starts from\n"
              "the first-start defaults instead. A conversion prints the options in effect.\n"
              "\nExamples:\n"
              "  sheetforge --convert out/scan.png manual.pdf\n"
              "      every page of manual.pdf: out/scan001.png, out/scan002.png, ...\n"
              "  sheetforge --convert thumbs/ --defaults --width 200 *.pdf\n"
              "      each document's pages as thumbnails 200 pixels wide, in thumbs/\n"
              "\nExit status: 0 when every page was written; 1 when a document or a page\n"
              "failed, or the run was stopped; 2 for a mistake on the command line; 128 plus\n"
              "the signal's number when SIGTERM, SIGINT or SIGHUP ended it.\n");
}

// An option the parser does not know, answered with the nearest one it does: "--colrs", "-pages".
QString unknownOptionText(const QCommandLineParser &parser, const QStringList &arguments)
{
    const QString seeHelp = tr("See sheetforge --help.");
    QStringList known;
    for (const QCommandLineOption &option : all(makeOptions()))
        known << option.names();
    known << QStringLiteral("help") << QStringLiteral("version");
    const auto nearest = [&known](const QString &name) {
        QString best;
        qsizetype bestDistance = std::max<qsizetype>(2, name.size() / 3) + 1;
        for (const QString &candidate : std::as_const(known)) {
            const qsizetype d = distance(name.toLower(), candidate);
            if (d < bestDistance) {
                best = candidate;
                bestDistance = d;
            }
        }
        return best;
    };
    for (const QString &arg : arguments.mid(1)) {
        if (arg == QLatin1String("--"))
            break;
        if (arg.size() <= 2 || !arg.startsWith(QLatin1Char('-')) || arg.startsWith(QLatin1String("--")))
            continue;
        const QString name = arg.mid(1).section(QLatin1Char('='), 0, 0);
        if (known.contains(name))
            return tr("Unknown option %1: a long option takes two dashes, as in --%2. %3")
                .arg(Problem::escapeName(arg), name, seeHelp);
    }
    if (parser.unknownOptionNames().isEmpty())
        return parser.errorText() + QLatin1Char(' ') + seeHelp;
    const QString name = parser.unknownOptionNames().constFirst();
    const QString shown = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    const QString guess = name.size() > 1 ? nearest(name) : QString();
    if (guess.isEmpty())
        return tr("Unknown option %1. %2").arg(Problem::escapeName(shown), seeHelp);
    return tr("Unknown option %1. Did you mean --%2? %3").arg(Problem::escapeName(shown), guess, seeHelp);
}

} // namespace

QString describe(const ConversionOptions &options, ImageFormat written)
{
    QStringList flags;
    if (options.usesBox()) {
        if (options.boxWidth > 0)
            flags << QStringLiteral("--width %1").arg(options.boxWidth);
        if (options.boxHeight > 0)
            flags << QStringLiteral("--height %1").arg(options.boxHeight);
    } else {
        flags << QStringLiteral("--dpi %1").arg(options.dpi);
    }
    flags << QStringLiteral("--colors ") + colorDepthName(options.colorDepth);
    flags << (options.dither ? QStringLiteral("--dither") : QStringLiteral("--no-dither"));
    flags << (options.antialias ? QStringLiteral("--antialias") : QStringLiteral("--no-antialias"));
    flags << (options.trim ? QStringLiteral("--trim") : QStringLiteral("--no-trim"));
    if (ConversionOptions::holdsTransparency(written))
        flags << (options.transparent ? QStringLiteral("--transparent") : QStringLiteral("--no-transparent"));
    flags << QStringLiteral("--format ") + OptionLists::suffix(written);
    if (options.usesQualityFor(written) && options.jpegQuality >= 0)
        flags << QStringLiteral("--quality %1").arg(options.jpegQuality);
    return flags.join(QLatin1Char(' '));
}

std::optional<CommandLineRequest> parse(const QStringList &arguments, const ConversionOptions &stored, QString *error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(tr("Turns the pages of a PDF into PNG, GIF, JPEG, TIFF or WebP images."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const Options o = makeOptions();
    parser.addOptions(all(o));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 tr("The PDF documents: one opens in the window, several are offered for converting."),
                                 QStringLiteral("[FILE.pdf...]"));

    CommandLineRequest request;
    request.options = stored;
    request.helpText = parser.helpText() + afterOptions();
    const auto failWith = [error](const QString &message) -> std::optional<CommandLineRequest> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    if (!parser.parse(arguments)) {
        // "-x.pdf" reads as the switches x, ., p, d and f.
        for (const QString &arg : arguments.mid(1)) {
            if (arg == QLatin1String("--"))
                break;
            if (arg.size() > 2 && arg.startsWith(QLatin1Char('-')) && !arg.startsWith(QLatin1String("--"))
                && (arg.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) || QFileInfo::exists(arg)))
                return failWith(tr("Unknown option %1. For a file whose name starts with a dash, write ./%1, or "
                                   "put -- before it.")
                                    .arg(Problem::escapeName(arg)));
        }
        return failWith(unknownOptionText(parser, arguments));
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        request.mode = CommandLineRequest::ShowHelp;
        return request;
    }
    if (parser.isSet(version)) {
        request.mode = CommandLineRequest::ShowVersion;
        return request;
    }
    // Several documents for the window are offered for converting there, as a drop of several is.
    const QStringList positional = parser.positionalArguments();
    for (const QString &document : positional)
        request.documents << QFileInfo(document).absoluteFilePath();
    request.document = request.documents.value(0);
    if (!parser.isSet(o.convert)) {
        for (const QCommandLineOption &only : {o.pages, o.dpi, o.width, o.height, o.pageTimeout, o.colors, o.format,
                                               o.quality, o.passwordStdin, o.defaults}) {
            if (parser.isSet(only))
                return failWith(tr("--%1 goes with --convert.").arg(only.names().constFirst()));
        }
        return request;
    }

    request.mode = CommandLineRequest::Convert;
    request.fromDefaults = parser.isSet(o.defaults);
    if (request.fromDefaults)
        request.options = ConversionOptions();
    for (const auto &apply : {applyDestination, applyPages, applyImage}) {
        const QString wrong = apply(parser, o, request);
        if (!wrong.isEmpty())
            return failWith(wrong);
    }
    return request;
}

namespace {

termios g_terminal = {};

// Echo must come back even when the user gives up with Ctrl+C.
void restoreTerminalAndDie(int signal)
{
    ::tcsetattr(STDIN_FILENO, TCSANOW, &g_terminal);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace

std::optional<QString> readPassword(const QString &documentName, QString *refused)
{
    const bool terminal = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &g_terminal) == 0;
    // The termination signals the program catches end the wait through its own handlers; the others must
    // bring the echo back before they stop or end the program.
    const int pending = TerminationSignals::pendingDescriptor();
    const std::vector<int> restored =
        pending >= 0 ? std::vector<int>{SIGQUIT, SIGTSTP} : std::vector<int>{SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};
    std::vector<struct sigaction> previous(restored.size());
    if (terminal) {
        std::fprintf(stderr, "%s", qPrintable(tr("Password for %1: ").arg(Problem::escapeName(documentName))));
        std::fflush(stderr);
        struct sigaction restoring = {};
        restoring.sa_handler = restoreTerminalAndDie;
        sigemptyset(&restoring.sa_mask);
        for (size_t i = 0; i < restored.size(); ++i)
            ::sigaction(restored[i], &restoring, &previous[i]);
        termios quiet = g_terminal;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    // Room for the longest line and its line end; a line that does not fit is refused.
    char line[MaxPasswordBytes + 2];
    size_t size = 0;
    bool complete = false;
    bool interrupted = false;
    while (!complete && size < sizeof line) {
        pollfd waited[2] = {{STDIN_FILENO, POLLIN, 0}, {pending, POLLIN, 0}};
        if (::poll(waited, pending >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (waited[1].revents & POLLIN) {
            interrupted = true;
            break;
        }
        const ssize_t got = ::read(STDIN_FILENO, line + size, sizeof line - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        const void *end = std::memchr(line + size, '\n', size_t(got));
        complete = end != nullptr;
        size = complete ? size_t(static_cast<const char *>(end) - line) : size + size_t(got);
    }
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_terminal);
        // The program's own handlers come back: they stop a conversion cleanly.
        for (size_t i = 0; i < restored.size(); ++i)
            ::sigaction(restored[i], &previous[i], nullptr);
        std::fputc('\n', stderr);
    }
    if (size > 0 && line[size - 1] == '\r')
        --size;
    std::optional<QString> password;
    if (size > size_t(MaxPasswordBytes))
        *refused = tr("The password on standard input is longer than %1 bytes; it is not used.").arg(MaxPasswordBytes);
    else if (!interrupted)
        password = QString::fromUtf8(line, qsizetype(size));
    ::explicit_bzero(line, sizeof line);
    return password;
}

} // namespace CommandLine
