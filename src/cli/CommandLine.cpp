// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include "tools/Problem.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <functional>
#include <limits>

namespace CommandLine {

namespace {

std::optional<ColorDepth> colorDepth(const QString &text)
{
    for (const ColorDepthFacts &row : OptionLists::colorDepthTable()) {
        if (row.commandLineNames.contains(QLatin1String(text.toLower().toLatin1())))
            return row.depth;
    }
    return std::nullopt;
}

QString colorDepthName(ColorDepth depth)
{
    return OptionLists::facts(depth).commandLineNames.constFirst();
}

// "a, b or c"
QString oneOf(QStringList names)
{
    const QString last = names.takeLast();
    return QCoreApplication::translate("CommandLine", "%1 or %2").arg(names.join(QStringLiteral(", ")), last);
}

QStringList colorDepthNames()
{
    QStringList first;
    for (const ColorDepthFacts &row : OptionLists::colorDepthTable())
        first << QString(row.commandLineNames.constFirst());
    return first;
}

// "bw, 4, 16, 256, hicolor, gray, gray16 or gray4"
QString colorDepthChoices()
{
    return oneOf(colorDepthNames());
}

QStringList formatSuffixes(bool transparentOnly = false)
{
    QStringList suffixes;
    for (const ImageFormatFacts &row : OptionLists::formatTable()) {
        if (row.holdsTransparency || !transparentOnly)
            suffixes << QString(row.suffix);
    }
    return suffixes;
}

// "png, gif, jpg, tif or webp", or only those that hold transparency.
QString formatChoices(bool transparentOnly = false)
{
    return oneOf(formatSuffixes(transparentOnly));
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
            || arg == QLatin1String("--version") || arg == QLatin1String("-v") || arg == QLatin1String("--check"))
            return true;
    }
    return false;
}

namespace {

// A flag's value as a whole number from low to high.
std::optional<int> wholeNumber(const QString &value, int low, int high)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < low || number > high)
        return std::nullopt;
    return number;
}

// Whether the flag of this name was given: switch pairs and flags that exclude each other read it.
using Given = std::function<bool(const QString &name)>;

// One flag of a conversion: its names, its value's name (none for a switch), its help, and how it sets the
// request, with a message for what is wrong. --help and --version come from the parser itself.
struct Flag
{
    QStringList names;
    QString valueName;
    QString help;
    // Only a conversion takes it; the window would silently ignore it.
    bool convertOnly = true;
    std::function<QString(const QString &value, const Given &given, CommandLineRequest &request)> apply;
    // The values it takes when they are a fixed list, for completion; or that it takes a file's name.
    QStringList values = {};
    bool takesFile = false;
};

// Applies the destination and the document; a message for what is wrong with them.
QString applyDestination(const QString &destination, const Given &given, CommandLineRequest &request)
{
    if (request.document.isEmpty())
        return QCoreApplication::translate("CommandLine", "--convert needs the PDF file to convert.");
    request.options.sourceFile = request.document;
    if (destination == StandardStream) {
        request.destination = destination;
        request.toStandardOutput = true;
        if (request.documents.size() > 1)
            return QCoreApplication::translate("CommandLine",
                                               "--convert -: standard output takes the image of one document.");
        return {};
    }
    request.destination = QFileInfo(destination).absoluteFilePath();
    request.destinationIsFolder = destination.endsWith(QLatin1Char('/')) || QFileInfo(destination).isDir();
    if (request.documents.size() > 1 && !request.destinationIsFolder)
        return QCoreApplication::translate(
                   "CommandLine",
                   "--convert %1: several documents go into a folder: give an existing folder, or a name "
                   "ending in /.")
            .arg(Problem::escapeName(destination));
    // An extension we do not write would be kept and ours added (x.bmp.png): ask instead.
    const QString suffix = QFileInfo(request.destination).suffix();
    if (!request.destinationIsFolder && !suffix.isEmpty() && !OptionLists::formatForFileName(request.destination)
        && !given(QStringLiteral("format")))
        return QCoreApplication::translate(
                   "CommandLine",
                   "--convert %1: sheetforge writes %2 files. Give one of those extensions, or --format to add one.")
            .arg(Problem::escapeName(destination), formatChoices());
    return {};
}

// --width or --height: a box side in pixels; the other side is free unless given too.
Flag boxSide(const QString &name, const QString &other, int ConversionOptions::*side, int ConversionOptions::*otherSide,
             const QString &help)
{
    return {{name},
            QStringLiteral("N"),
            help,
            true,
            [=](const QString &value, const Given &given, CommandLineRequest &request) {
                const std::optional<int> pixels = wholeNumber(value, 1, OptionLists::MaxBoxSide);
                if (!pixels)
                    return QCoreApplication::translate("CommandLine",
                                                       "--%1 wants a whole number of pixels from 1 to %2.")
                        .arg(name)
                        .arg(OptionLists::MaxBoxSide);
                request.options.fitToBox = true;
                request.options.*side = *pixels;
                if (!given(other))
                    request.options.*otherSide = 0;
                return QString();
            }};
}

// A switch and its "no-" pair: the pair given together means off. check refuses the switch where it cannot
// hold.
using Switch = std::function<bool &(ConversionOptions &)>;

QList<Flag> switchPair(const QString &name, const Switch &member, const QString &onHelp, const QString &offHelp,
                       const std::function<QString(const CommandLineRequest &)> &check = {})
{
    const QString off = QStringLiteral("no-") + name;
    return {Flag{{name},
                 {},
                 onHelp,
                 false,
                 [member, off, check](const QString &, const Given &given, CommandLineRequest &request) {
                     member(request.options) = !given(off);
                     return check ? check(request) : QString();
                 }},
            Flag{{off}, {}, offHelp, false, [member](const QString &, const Given &, CommandLineRequest &request) {
                     member(request.options) = false;
                     return QString();
                 }}};
}

QList<Flag> switchPair(const QString &name, bool ConversionOptions::*member, const QString &onHelp,
                       const QString &offHelp, const std::function<QString(const CommandLineRequest &)> &check = {})
{
    return switchPair(
        name, [member](ConversionOptions &options) -> bool & { return options.*member; }, onHelp, offHelp, check);
}

// The pages converted, and their size: checked before the image's flags, and in this order.
QList<Flag> pageFlags()
{
    return {
        {{QStringLiteral("pages")},
         QStringLiteral("LIST"),
         QCoreApplication::translate(
             "CommandLine",
             "Convert only these pages: a list such as 1,3,5-7,10- (10- runs to the end); odd and even take every "
             "other page."),
         true,
         [](const QString &value, const Given &, CommandLineRequest &request) {
             QString error;
             const std::optional<PageSelection> pages = PageSelection::parse(value, &error);
             if (!pages)
                 return QStringLiteral("--pages %1: %2").arg(value, error);
             request.pages = *pages;
             return QString();
         }},
        {{QStringLiteral("dpi")},
         QStringLiteral("N"),
         QCoreApplication::translate("CommandLine", "Resolution in dots per inch (%1 to %2).")
             .arg(OptionLists::LowestDpi)
             .arg(OptionLists::HighestDpi),
         true,
         [](const QString &value, const Given &given, CommandLineRequest &request) {
             const std::optional<int> dpi = wholeNumber(value, OptionLists::LowestDpi, OptionLists::HighestDpi);
             if (!dpi)
                 return QCoreApplication::translate("CommandLine", "--dpi wants a whole number from %1 to %2.")
                     .arg(OptionLists::LowestDpi)
                     .arg(OptionLists::HighestDpi);
             if (given(QStringLiteral("width")) || given(QStringLiteral("height")))
                 return QCoreApplication::translate(
                     "CommandLine", "--dpi and --width or --height cannot be combined: give a resolution, or a size in "
                                    "pixels.");
             request.options.dpi = *dpi;
             request.options.fitToBox = false;
             return QString();
         }},
        boxSide(QStringLiteral("width"), QStringLiteral("height"), &ConversionOptions::boxWidth,
                &ConversionOptions::boxHeight,
                QCoreApplication::translate(
                    "CommandLine",
                    "Instead of a resolution: make each page N pixels wide, or fit it within --width by --height.")),
        boxSide(QStringLiteral("height"), QStringLiteral("width"), &ConversionOptions::boxHeight,
                &ConversionOptions::boxWidth,
                QCoreApplication::translate(
                    "CommandLine",
                    "Instead of a resolution: make each page N pixels high, or fit it within --width by --height.")),
        {{QStringLiteral("page-timeout")},
         QStringLiteral("SECONDS"),
         QCoreApplication::translate(
             "CommandLine", "Stop when a page takes longer than SECONDS to render (default %1; 0 for no limit).")
             .arg(CommandLineRequest::DefaultPageTimeout),
         true,
         [](const QString &value, const Given &, CommandLineRequest &request) {
             const std::optional<int> seconds = wholeNumber(value, 0, std::numeric_limits<int>::max());
             if (!seconds)
                 return QCoreApplication::translate(
                     "CommandLine", "--page-timeout wants a whole number of seconds, or 0 for no limit.");
             request.pageTimeout = *seconds;
             return QString();
         }},
    };
}

// A flag whose value is one of a table's command-line names.
template <typename Value>
Flag choiceFlag(const QString &name, const QList<ChoiceFacts<Value>> &table, Value ConversionOptions::*member,
                const QString &help)
{
    QStringList names;
    for (const ChoiceFacts<Value> &row : table)
        names << QString(row.commandLineName);
    return {{name},
            name.toUpper(),
            help.arg(oneOf(names)),
            true,
            [=](const QString &value, const Given &, CommandLineRequest &request) {
                for (const ChoiceFacts<Value> &row : table) {
                    if (row.commandLineName == value.toLower()) {
                        request.options.*member = row.value;
                        return QString();
                    }
                }
                return QCoreApplication::translate("CommandLine", "--%1 wants %2.").arg(name, oneOf(names));
            },
            names};
}

// What of the page is drawn, and the box that is the image.
QList<Flag> drawingFlags()
{
    QStringList contents;
    for (const ContentFacts &row : OptionLists::contentTable())
        contents << QString(row.commandLineName);
    const auto drawn = [](bool Drawing::*member) {
        return [member](ConversionOptions &options) -> bool & { return options.drawing.*member; };
    };
    QList<Flag> list{
        choiceFlag(QStringLiteral("box"), OptionLists::pageBoxTable(), &ConversionOptions::pageBox,
                   QCoreApplication::translate(
                       "CommandLine", "The page's box that is the image: %1 (a page without it shows its media box).")),
        choiceFlag(QStringLiteral("overprint"), OptionLists::overprintTable(), &ConversionOptions::overprint,
                   QCoreApplication::translate(
                       "CommandLine",
                       "Mix overprinted inks as print does: %1 (auto: for documents made for print, with a PDF/X "
                       "output intent).")),
        {{QStringLiteral("without")},
         QStringLiteral("LIST"),
         QCoreApplication::translate(
             "CommandLine",
             "Leave out %1, a list such as text,images (for OCR or a page's background); none draws everything.")
             .arg(oneOf(contents)),
         true,
         [contents](const QString &value, const Given &, CommandLineRequest &request) {
             if (!OptionLists::setOmittedContent(value, request.options.drawing))
                 return QCoreApplication::translate("CommandLine", "--without wants a list of %1, or none.")
                     .arg(oneOf(contents));
             return QString();
         },
         contents + QStringList{QStringLiteral("none")}},
    };
    return list << switchPair(
               QStringLiteral("annotations"), drawn(&Drawing::annotations),
               QCoreApplication::translate("CommandLine", "Draw the annotations (notes, stamps, highlights)."),
               QCoreApplication::translate("CommandLine", "Leave the annotations out."))
                << switchPair(QStringLiteral("forms"), drawn(&Drawing::forms),
                              QCoreApplication::translate("CommandLine", "Draw the form fields."),
                              QCoreApplication::translate("CommandLine", "Leave the form fields out."))
                << switchPair(
                       QStringLiteral("printed"), drawn(&Drawing::printed),
                       QCoreApplication::translate(
                           "CommandLine", "Draw the page as printed: annotations marked not to print are left out."),
                       QCoreApplication::translate("CommandLine", "Draw the page as a viewer shows it."));
}

// The image written: its colours, its format and the switches.
QList<Flag> imageFlags()
{
    QList<Flag> list{
        {{QStringLiteral("colors"), QStringLiteral("colours")},
         QStringLiteral("DEPTH"),
         QCoreApplication::translate("CommandLine", "Colour depth: %1.").arg(colorDepthChoices()),
         true,
         [](const QString &value, const Given &, CommandLineRequest &request) {
             const std::optional<ColorDepth> depth = colorDepth(value);
             if (!depth)
                 return QCoreApplication::translate("CommandLine", "--colors wants %1.").arg(colorDepthChoices());
             request.options.colorDepth = *depth;
             return QString();
         },
         colorDepthNames()},
        {{QStringLiteral("format")},
         QStringLiteral("FORMAT"),
         QCoreApplication::translate("CommandLine",
                                     "Image format when DEST has no such extension: %1 (tif: all pages in one file).")
             .arg(formatChoices()),
         true,
         [](const QString &value, const Given &, CommandLineRequest &request) {
             const std::optional<ImageFormat> chosen = OptionLists::formatForFileName(QStringLiteral("x.") + value);
             if (!chosen)
                 return QCoreApplication::translate("CommandLine", "--format wants %1.").arg(formatChoices());
             request.options.format = *chosen;
             return QString();
         },
         formatSuffixes()},
        {{QStringLiteral("quality")},
         QStringLiteral("N"),
         QCoreApplication::translate("CommandLine",
                                     "JPEG quality, 0 to 100 (higher is better); also for WebP in hicolor."),
         true,
         [](const QString &value, const Given &, CommandLineRequest &request) {
             const std::optional<int> quality = wholeNumber(value, 0, 100);
             if (!quality)
                 return QCoreApplication::translate("CommandLine", "--quality wants a whole number from 0 to 100.");
             request.options.jpegQuality = *quality;
             return QString();
         }},
    };
    return list << switchPair(QStringLiteral("dither"), &ConversionOptions::dither,
                              QCoreApplication::translate("CommandLine", "Dither when reducing the colours."),
                              QCoreApplication::translate("CommandLine", "Do not dither."))
                << switchPair(QStringLiteral("trim"), &ConversionOptions::trim,
                              QCoreApplication::translate("CommandLine", "Trim the blank edges."),
                              QCoreApplication::translate("CommandLine", "Keep the whole page."))
                << switchPair(QStringLiteral("antialias"), &ConversionOptions::antialias,
                              QCoreApplication::translate("CommandLine", "Smooth the edges of text and images."),
                              QCoreApplication::translate("CommandLine", "Do not smooth edges."))
                << drawingFlags()
                << switchPair(
                       QStringLiteral("icc"), &ConversionOptions::iccProfile,
                       QCoreApplication::translate("CommandLine", "Embed the sRGB colour profile in colour images."),
                       QCoreApplication::translate("CommandLine",
                                                   "No colour profile: smaller files, read as sRGB all the same."))
                << switchPair(QStringLiteral("transparent"), &ConversionOptions::transparent,
                              QCoreApplication::translate(
                                  "CommandLine", "Leave the paper out: a transparent background (not for JPEG)."),
                              QCoreApplication::translate("CommandLine", "A white background."),
                              // The format is settled by now: the destination and --format come before.
                              [](const CommandLineRequest &request) {
                                  const ImageFormat written = request.writtenFormat();
                                  if (ConversionOptions::holdsTransparency(written))
                                      return QString();
                                  return QCoreApplication::translate(
                                             "CommandLine", "--transparent: %1 files cannot be transparent; choose %2.")
                                      .arg(OptionLists::suffix(written), formatChoices(true));
                              });
}

// Every flag of a conversion, in the order --help lists them and their values are checked: the destination
// first.
QList<Flag> flags()
{
    const Flag convert{{QStringLiteral("convert")},
                       QStringLiteral("DEST"),
                       QCoreApplication::translate(
                           "CommandLine",
                           "Convert without a window, writing DEST (numbered DEST001.png, ... for several pages). For "
                           "several documents DEST is a folder, ending in /. - writes one image (one page, or a "
                           "multi-page TIFF) to standard output."),
                       true,
                       applyDestination,
                       {},
                       true};
    const Flag report{{QStringLiteral("report")},
                      QStringLiteral("FORMAT"),
                      QCoreApplication::translate(
                          "CommandLine",
                          "Tell each event of the run as a line of JSON on standard output (or in --report-file): "
                          "json."),
                      true,
                      [](const QString &value, const Given &, CommandLineRequest &request) {
                          if (value != QLatin1String("json"))
                              return QCoreApplication::translate("CommandLine", "--report wants json.");
                          request.report = true;
                          return QString();
                      },
                      {QStringLiteral("json")}};
    const Flag reportFile{
        {QStringLiteral("report-file")},
        QStringLiteral("PATH"),
        QCoreApplication::translate("CommandLine", "Write the JSON report to PATH rather than standard output."),
        true,
        [](const QString &value, const Given &, CommandLineRequest &request) {
            request.report = true;
            request.reportFile = QFileInfo(value).absoluteFilePath();
            return QString();
        },
        {},
        true};
    // Handled by parse() as --help is: it converts nothing.
    const Flag check{{QStringLiteral("check")},
                     {},
                     QCoreApplication::translate(
                         "CommandLine",
                         "Check that everything a conversion needs is installed, and say what to install or set "
                         "where it is not."),
                     false,
                     [](const QString &, const Given &, CommandLineRequest &) { return QString(); }};
    const Flag passwordStdin{{QStringLiteral("password-stdin")},
                             {},
                             QCoreApplication::translate(
                                 "CommandLine", "Read the document's password from the first line of standard input."),
                             true,
                             [](const QString &, const Given &, CommandLineRequest &request) {
                                 request.passwordFromStdin = true;
                                 return QString();
                             }};
    // parse() applies it before every other flag, as it replaces the options they change.
    const Flag defaults{{QStringLiteral("defaults")},
                        {},
                        QCoreApplication::translate(
                            "CommandLine",
                            "Start from the first-start defaults rather than the window's last options, so that what "
                            "was last clicked does not change the files."),
                        true,
                        [](const QString &, const Given &, CommandLineRequest &) { return QString(); }};
    return QList<Flag>{convert} + pageFlags() + imageFlags()
           + QList<Flag>{passwordStdin, defaults, report, reportFile, check};
}

QCommandLineOption option(const Flag &flag)
{
    return flag.valueName.isEmpty() ? QCommandLineOption(flag.names, flag.help)
                                    : QCommandLineOption(flag.names, flag.help, flag.valueName);
}

// What --help says after the options: where the options come from, two examples, the exit statuses.
QString afterOptions()
{
    return QCoreApplication::translate("CommandLine",
                                       "\nOptions not given come from the window's last use; --defaults starts from\n"
                                       "the first-start defaults instead. A conversion prints the options in effect.\n"
                                       "\nExamples:\n"
                                       "  sheetforge --convert out/scan.png manual.pdf\n"
                                       "      every page of manual.pdf: out/scan001.png, out/scan002.png, ...\n"
                                       "  sheetforge --convert thumbs/ --defaults --width 200 *.pdf\n"
                                       "      each document's pages as thumbnails 200 pixels wide, in thumbs/\n"
                                       "\nExit status:\n")
           + [] {
                 QString text;
                 for (const auto &[status, meaning] : exitStatuses())
                     text += QStringLiteral("  %1 %2\n").arg(status, -6).arg(meaning);
                 return text;
             }();
}

// An option the parser does not know, answered with the nearest one it does: "--colrs", "-pages".
QString unknownOptionText(const QCommandLineParser &parser, const QStringList &arguments)
{
    const QString seeHelp = QCoreApplication::translate("CommandLine", "See sheetforge --help.");
    QStringList known;
    for (const Flag &flag : flags())
        known << flag.names;
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
            return QCoreApplication::translate("CommandLine",
                                               "Unknown option %1: a long option takes two dashes, as in --%2. %3")
                .arg(Problem::escapeName(arg), name, seeHelp);
    }
    if (parser.unknownOptionNames().isEmpty())
        return parser.errorText() + QLatin1Char(' ') + seeHelp;
    const QString name = parser.unknownOptionNames().constFirst();
    const QString shown = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    const QString guess = name.size() > 1 ? nearest(name) : QString();
    if (guess.isEmpty())
        return QCoreApplication::translate("CommandLine", "Unknown option %1. %2")
            .arg(Problem::escapeName(shown), seeHelp);
    return QCoreApplication::translate("CommandLine", "Unknown option %1. Did you mean --%2? %3")
        .arg(Problem::escapeName(shown), guess, seeHelp);
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
    flags << QStringLiteral("--box ") + OptionLists::facts(options.pageBox).commandLineName;
    const Drawing &drawing = options.drawing;
    flags << (drawing.annotations ? QStringLiteral("--annotations") : QStringLiteral("--no-annotations"));
    flags << (drawing.forms ? QStringLiteral("--forms") : QStringLiteral("--no-forms"));
    flags << (drawing.printed ? QStringLiteral("--printed") : QStringLiteral("--no-printed"));
    if (const QString omitted = OptionLists::omittedContent(drawing); !omitted.isEmpty())
        flags << QStringLiteral("--without ") + omitted;
    for (const ChoiceFacts<Overprint> &row : OptionLists::overprintTable()) {
        if (row.value == options.overprint)
            flags << QStringLiteral("--overprint ") + row.commandLineName;
    }
    flags << (options.iccProfile ? QStringLiteral("--icc") : QStringLiteral("--no-icc"));
    flags << QStringLiteral("--format ") + OptionLists::suffix(written);
    if (options.usesQualityFor(written) && options.jpegQuality >= 0)
        flags << QStringLiteral("--quality %1").arg(options.jpegQuality);
    return flags.join(QLatin1Char(' '));
}

namespace {

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help;
    QCommandLineOption version;
    QList<Flag> known = flags();

    Parser()
        : help(parser.addHelpOption())
        , version(parser.addVersionOption())
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "CommandLine", "Turns the pages of a PDF into PNG, GIF, JPEG, TIFF or WebP images."));
        for (const Flag &flag : std::as_const(known))
            parser.addOption(option(flag));
        parser.addPositionalArgument(
            QStringLiteral("FILE"),
            QCoreApplication::translate("CommandLine",
                                        "The PDF documents: one opens in the window, several are offered for "
                                        "converting. - reads one from standard input."),
            QStringLiteral("[FILE.pdf...]"));
    }
};

} // namespace

QList<std::pair<QString, QString>> exitStatuses()
{
    return {
        {QStringLiteral("0"),
         QCoreApplication::translate("CommandLine", "every page was written; --check found nothing to fix")},
        {QStringLiteral("1"),
         QCoreApplication::translate("CommandLine", "something failed or was stopped; --check found something to fix")},
        {QStringLiteral("2"), QCoreApplication::translate("CommandLine", "a mistake on the command line")},
        {QStringLiteral("128+N"),
         QCoreApplication::translate("CommandLine", "the signal N ended the run: SIGTERM, SIGINT or SIGHUP")}};
}

QString helpText()
{
    return Parser().parser.helpText() + afterOptions();
}

QList<FlagDescription> flagDescriptions()
{
    const Parser described;
    QList<FlagDescription> list;
    // The parser's own, as it words them. Written out so that our translations carry them where Qt's lack them.
    list << FlagDescription{described.help.names(),
                            {},
                            QCoreApplication::translate("QCommandLineParser", "Displays help on commandline options."),
                            {},
                            false}
         << FlagDescription{{QStringLiteral("help-all")},
                            {},
                            QCoreApplication::translate("QCommandLineParser",
                                                        "Displays help including Qt specific options."),
                            {},
                            false}
         << FlagDescription{described.version.names(), {}, described.version.description(), {}, false};
    for (const Flag &flag : described.known)
        list << FlagDescription{flag.names, flag.valueName, flag.help, flag.values, flag.takesFile};
    return list;
}

std::optional<CommandLineRequest> parse(const QStringList &arguments, const ConversionOptions &stored, QString *error)
{
    Parser setUp;
    QCommandLineParser &parser = setUp.parser;
    const QCommandLineOption &help = setUp.help;
    const QCommandLineOption &version = setUp.version;
    const QList<Flag> &known = setUp.known;

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
                return failWith(QCoreApplication::translate(
                                    "CommandLine",
                                    "Unknown option %1. For a file whose name starts with a dash, write ./%1, or "
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
    if (parser.isSet(QStringLiteral("check"))) {
        request.mode = CommandLineRequest::CheckSystem;
        return request;
    }
    // Several documents for the window are offered for converting there, as a drop of several is.
    const QStringList positional = parser.positionalArguments();
    for (const QString &document : positional)
        request.documents << (document == StandardStream ? document : QFileInfo(document).absoluteFilePath());
    request.document = request.documents.value(0);
    if (!parser.isSet(QStringLiteral("convert"))) {
        for (const Flag &flag : known) {
            if (flag.convertOnly && parser.isSet(flag.names.constFirst()))
                return failWith(QCoreApplication::translate("CommandLine", "--%1 goes with --convert.")
                                    .arg(flag.names.constFirst()));
        }
        return request;
    }

    request.mode = CommandLineRequest::Convert;
    request.fromDefaults = parser.isSet(QStringLiteral("defaults"));
    if (request.fromDefaults)
        request.options = ConversionOptions();
    const Given given = [&parser](const QString &name) { return parser.isSet(name); };
    for (const Flag &flag : known) {
        if (!parser.isSet(flag.names.constFirst()))
            continue;
        const QString wrong = flag.apply(parser.value(flag.names.constFirst()), given, request);
        if (!wrong.isEmpty())
            return failWith(wrong);
    }
    if (request.documents.count(StandardStream) > 1)
        return failWith(QCoreApplication::translate("CommandLine", "Standard input (-) can be read only once."));
    if (request.documents.contains(StandardStream) && request.passwordFromStdin)
        return failWith(QCoreApplication::translate(
            "CommandLine", "--password-stdin cannot be used when the document itself comes from standard input."));
    if (request.toStandardOutput && request.report && request.reportFile.isEmpty())
        return failWith(QCoreApplication::translate(
            "CommandLine", "--convert - gives standard output to the image: give the report a file with "
                           "--report-file."));
    // Stored or given, a depth the file cannot hold.
    const ImageFormat written = request.writtenFormat();
    if (request.options.isCmyk() && !ConversionOptions::holdsCmyk(written))
        return failWith(
            QCoreApplication::translate(
                "CommandLine", "--colors cmyk: %1 files cannot hold CMYK; choose jpg or tif, or another depth.")
                .arg(OptionLists::suffix(written)));
    return request;
}

} // namespace CommandLine
