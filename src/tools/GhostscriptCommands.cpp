// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/GhostscriptCommands.h"

#include "tools/ProcessRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cmath>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QRectF boxRect(const QString &box)
{
    const QStringList numbers = box.simplified().split(QLatin1Char(' '));
    if (numbers.size() != 4)
        return {};
    return QRectF(QPointF(numbers.at(0).toDouble(), numbers.at(1).toDouble()),
                  QPointF(numbers.at(2).toDouble(), numbers.at(3).toDouble()))
        .normalized();
}

// The page boxes' keys, by PageBox.
constexpr std::array<const char *, 5> BoxKeys{"/CropBox", "/MediaBox", "/TrimBox", "/BleedBox", "/ArtBox"};

} // namespace

namespace GhostscriptCommands {

namespace {

QString argumentFile()
{
    return QString::fromLatin1(ProcessRunner::ArgumentFile);
}

QString absolute(const QString &document)
{
    return QFileInfo(document).absoluteFilePath();
}

// Ghostscript expands %d and friends in output names; %% is its literal percent sign.
QString escapedForOutput(const QString &path)
{
    QString escaped = path;
    return escaped.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

// Ghostscript 10 reads a file as PostScript when, after leading blanks, it starts with "%!" or "%%", when the
// next 1023 bytes hold no "%PDF-", or when "%!PS" comes before that; otherwise as a PDF from "%PDF-" on.
bool readAsPdf(const QByteArray &head)
{
    qsizetype start = 0;
    while (start < head.size() && quint8(head.at(start)) <= 0x20)
        ++start;
    const QByteArray rest = head.mid(start, 1023);
    if (rest.startsWith("%!") || rest.startsWith("%%"))
        return false;
    const qsizetype header = rest.indexOf("%PDF-");
    return header >= 0 && !rest.left(header).contains("%!PS");
}

bool isPdfSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

// "/Encrypt" followed by a dictionary or an indirect reference, as a trailer or cross-reference stream
// names it.
bool namesEncryption(const QByteArray &bytes, qsizetype at)
{
    qsizetype i = at + qsizetype(qstrlen("/Encrypt"));
    const auto skipSpace = [&] {
        while (i < bytes.size() && isPdfSpace(bytes.at(i)))
            ++i;
    };
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < bytes.size() && bytes.at(i) >= '0' && bytes.at(i) <= '9')
            ++i;
        return i > from;
    };
    skipSpace();
    if (bytes.mid(i, 2) == "<<")
        return true;
    if (!digits())
        return false;
    skipSpace();
    if (!digits())
        return false;
    skipSpace();
    return i < bytes.size() && bytes.at(i) == 'R';
}

// The kernel's link to an open file, which reaches that file whatever its name has become since. Our process
// is named as /proc itself knows it: in a process namespace of our own, getpid() names another process there.
// Empty when /proc does not lead back to the file.
QString openFileLink(int fd)
{
    char self[32] = {};
    if (::readlink("/proc/self", self, sizeof self - 1) <= 0)
        return {};
    const QByteArray target = "/proc/" + QByteArray(self) + "/fd/" + QByteArray::number(fd);
    struct stat viaProc = {}, held = {};
    if (::stat(target.constData(), &viaProc) != 0 || ::fstat(fd, &held) != 0 || viaProc.st_dev != held.st_dev
        || viaProc.st_ino != held.st_ino)
        return {};
    return QString::fromLatin1(target);
}

// Ghostscript's switch for a box; the media box is what it shows without one.
QString boxSwitch(PageBox box)
{
    switch (box) {
    case PageBox::Crop:
        return QStringLiteral("-dUseCropBox");
    case PageBox::Media:
        return {};
    case PageBox::Trim:
        return QStringLiteral("-dUseTrimBox");
    case PageBox::Bleed:
        return QStringLiteral("-dUseBleedBox");
    case PageBox::Art:
        return QStringLiteral("-dUseArtBox");
    }
    return {};
}

// The annotation types the older interpreter draws when form fields are left out: all but /Widget. The
// newer one in Ghostscript 10.0 draws a field's appearance whatever -dShowAcroForm says.
QString annotationsButForms()
{
    return QStringLiteral("/ShowAnnotTypes [/Text /Link /FreeText /Line /Square /Circle /Polygon /PolyLine "
                          "/Highlight /Underline /Squiggly /StrikeOut /Stamp /Caret /Ink /Popup /FileAttachment "
                          "/Sound /Movie /Screen /PrinterMark /TrapNet /Watermark /3D /Redact] def ");
}

} // namespace

QStringList renderArguments(const RenderRequest &request)
{
    QStringList args{QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE")};
    if (const QString box = boxSwitch(request.pageBox); !box.isEmpty())
        args << box;
    const Drawing &drawing = request.drawing;
    const bool formsOnly = drawing.annotations && !drawing.forms;
    if (!drawing.annotations)
        args << QStringLiteral("-dShowAnnots=false");
    if (!drawing.forms)
        args << QStringLiteral("-dShowAcroForm=false");
    args << (drawing.printed ? QStringLiteral("-dPrinted") : QStringLiteral("-dPrinted=false"));
    if (!drawing.text)
        args << QStringLiteral("-dFILTERTEXT");
    if (!drawing.images)
        args << QStringLiteral("-dFILTERIMAGE");
    if (!drawing.vectors)
        args << QStringLiteral("-dFILTERVECTOR");
    if (request.simulateOverprint)
        args << QStringLiteral("-dOverprint=/simulate");
    if (request.alpha)
        args << QStringLiteral("-sDEVICE=pngalpha");
    // PackBits shrinks a page of mostly paper twentyfold for less than writing it whole costs. Above 600 dpi,
    // where an uncompressed page runs to gigabytes, LZW shrinks pictures too.
    else
        args << (request.cmyk ? QStringLiteral("-sDEVICE=tiffscaled32") : QStringLiteral("-sDEVICE=tiffscaled24"))
             << (request.dpi >= 600 ? QStringLiteral("-sCompression=lzw") : QStringLiteral("-sCompression=pack"));
    if (request.legacyInterpreter || formsOnly)
        args << QStringLiteral("-dNEWPDF=false");
    // Text gets up to 16 levels of coverage (on transparent paper as its alpha, the ink's colour kept). Graphics
    // get none: Ghostscript draws a line thinner than a pixel at a quarter of one at 4 alpha bits, and at half of
    // one when twice the resolution is halved, gray either way, where rules and hairlines must stay dark.
    // Curves are drawn sharp for it, and text comes a little less close to a render at 8 times the resolution
    // than halving a double render did; the pages are as large as the peers'.
    if (request.antialias)
        args << QStringLiteral("-dTextAlphaBits=%1").arg(request.textAlphaBits)
             << QStringLiteral("-dGraphicsAlphaBits=1");
    args << QStringLiteral("-r%1").arg(request.dpi);
    // A part of the page is a device of that size onto which the page is laid shifted by whole pixels: the
    // same pixels as the whole page's bitmap holds there, without drawing the rest of it.
    if (!request.region.isEmpty())
        args << QStringLiteral("-g%1x%2").arg(request.region.width()).arg(request.region.height())
             << QStringLiteral("-dFIXEDMEDIA");
    if (request.pageList.isEmpty())
        args << QStringLiteral("-dFirstPage=%1").arg(request.firstPage)
             << QStringLiteral("-dLastPage=%1").arg(request.lastPage);
    else
        args << QStringLiteral("-sPageList=") + request.pageList;
    args << QStringLiteral("-sOutputFile=") + escapedForOutput(QDir(request.outputFolder).path())
                + (request.alpha ? QStringLiteral("/p%06d.png") : QStringLiteral("/p%06d.tif"));
    if (request.withPassword)
        args << argumentFile();
    QString program = formsOnly ? annotationsButForms() : QString();
    if (!request.region.isEmpty()) {
        // The interpreter sets the page's top edge at its height in device pixels, unrounded.
        const double top = request.pagePoints.height() * request.dpi / 72.0;
        program += QStringLiteral("<</BeginPage {pop matrix defaultmatrix dup 4 %1 put dup 5 %2 put setmatrix}>> "
                                  "setpagedevice")
                       .arg(-request.region.x())
                       .arg(top - request.region.y(), 0, 'f', 4);
    }
    if (!program.isEmpty())
        args << QStringLiteral("-c") << program.trimmed() << QStringLiteral("-f");
    args << absolute(request.document);
    return args;
}

QString bitmapPath(const QString &folder, int index, bool alpha)
{
    return QDir(folder).filePath(QStringLiteral("p%1.%2")
                                     .arg(index, 6, 10, QLatin1Char('0'))
                                     .arg(alpha ? QStringLiteral("png") : QStringLiteral("tif")));
}

QString srgbProfile()
{
    const QString path = QStringLiteral("/usr/share/color/icc/ghostscript/srgb.icc");
    return QFileInfo(path).isFile() ? path : QString();
}

QString bitmapForLibrary(const QString &bitmap)
{
    return (bitmap.endsWith(QLatin1String(".png")) ? QStringLiteral("PNG:") : QStringLiteral("TIFF:")) + bitmap;
}

QString linkDocument(const QString &folder, const QFile &held)
{
    const QString link = QDir(folder).filePath(QStringLiteral("document.pdf"));
    QFile::remove(link);
    if (!held.isOpen() || held.handle() < 0)
        return {};
    const QString target = openFileLink(held.handle());
    return QFile::link(target.isEmpty() ? absolute(held.fileName()) : target, link) ? link : QString();
}

namespace {

// Whether some occurrence of name in the document's bytes passes accept(bytes, position).
bool holdsName(const QString &document, const QByteArray &name,
               const std::function<bool(const QByteArray &, qsizetype)> &accept)
{
    QFile file(document);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    constexpr qsizetype Chunk = 1 << 20, Overlap = 64;
    QByteArray carried;
    while (!file.atEnd()) {
        const QByteArray bytes = carried + file.read(Chunk);
        if (bytes.size() == carried.size())
            break;
        for (qsizetype at = bytes.indexOf(name); at >= 0; at = bytes.indexOf(name, at + 1)) {
            // A name cut off at the chunk's end is looked at again with the next chunk.
            if (at + Overlap > bytes.size() && !file.atEnd())
                break;
            if (accept(bytes, at))
                return true;
        }
        carried = bytes.right(Overlap);
    }
    return false;
}

} // namespace

bool isEncrypted(const QString &document)
{
    return holdsName(document, "/Encrypt", namesEncryption);
}

bool declaresPrintIntent(const QString &document)
{
    // The name ends there: "/GTS_PDFXVersion" in the document's information is no output intent.
    return holdsName(document, "/GTS_PDFX", [](const QByteArray &bytes, qsizetype at) {
        const qsizetype end = at + qsizetype(qstrlen("/GTS_PDFX"));
        return end >= bytes.size() || !QChar::isLetterOrNumber(uchar(bytes.at(end)));
    });
}

namespace {

// Prints a page's boxes, one "marker key value" line each, for a page number on the stack. pget finds a box
// that the page inherits, in either interpreter.
QString pageBoxesProgram(const QString &marker)
{
    return QStringLiteral("pdfgetpage dup type /dicttype eq { [/MediaBox /CropBox /TrimBox /BleedBox /ArtBox /Rotate] "
                          "{ 2 copy pget { "
                          "(%1 ) print exch ==only ( ) print == } { pop } ifelse } forall } if pop")
        .arg(marker);
}

// Opens the document, or prints a marked line naming the error and quits. Ghostscript's own interpreter
// reports a document it cannot open (damaged, or encrypted without the password) only in words the document
// could imitate, and carries on with no pages; asking it for the document's facts again tells.
QString openProgram(const QString &marker)
{
    return QStringLiteral("{SFGDocument (r) file runpdfbegin} stopped { (%1 failed ) print $error /errorname get == "
                          "quit } if /PDFFile where { pop PDFFile type /pdfctxtype eq { PDFFile {.PDFInfo} stopped "
                          "{ (%1 failed /unopened) = quit } if pop } if } if ")
        .arg(marker);
}

// The program reads the document under the name of a link in our private folder: Ghostscript lets it read
// only what --permit-file-read names, and that list cannot hold a name with a colon.
QStringList programArguments(const QString &link, const QStringList &definitions, bool withPassword,
                             bool legacyInterpreter, const QString &program)
{
    QStringList args{QStringLiteral("-q"),        QStringLiteral("-dNODISPLAY"),
                     QStringLiteral("-dSAFER"),   QStringLiteral("-dBATCH"),
                     QStringLiteral("-dNOPAUSE"), QStringLiteral("--permit-file-read=") + link};
    args << definitions << QStringLiteral("-sSFGDocument=") + link;
    if (legacyInterpreter)
        args << QStringLiteral("-dNEWPDF=false");
    if (withPassword)
        args << argumentFile();
    args << QStringLiteral("-c") << program;
    return args;
}

// Each of the marker's lines as its key and value.
template <typename Take>
void readMarked(const QString &output, const QString &marker, Take take)
{
    const QString prefix = marker + QLatin1Char(' ');
    for (const QString &line : output.split(QLatin1Char('\n'))) {
        if (!line.startsWith(prefix))
            continue;
        const QString key = line.mid(prefix.size()).section(QLatin1Char(' '), 0, 0);
        take(key, line.mid(prefix.size() + key.size()).trimmed());
    }
}

} // namespace

QStringList infoArguments(const QString &link, int page, const QString &marker, bool withPassword,
                          bool legacyInterpreter)
{
    const QString program = openProgram(marker)
                            + QStringLiteral("(%1 pages ) print pdfpagecount == SFGPage pdfpagecount le { SFGPage %2 } "
                                             "if quit")
                                  .arg(marker, pageBoxesProgram(marker));
    return programArguments(link, {QStringLiteral("-dSFGPage=%1").arg(page)}, withPassword, legacyInterpreter, program);
}

QStringList pageSizesArguments(const QString &link, int first, int last, const QString &marker, bool withPassword,
                               bool legacyInterpreter)
{
    const QString program =
        openProgram(marker)
        + QStringLiteral("SFGFirst 1 SFGLast pdfpagecount .min { dup (%1 page ) print == %2 } for quit")
              .arg(marker, pageBoxesProgram(marker));
    return programArguments(link,
                            {QStringLiteral("-dSFGFirst=%1").arg(first), QStringLiteral("-dSFGLast=%1").arg(last)},
                            withPassword, legacyInterpreter, program);
}

QHash<int, QSizeF> parsePageSizes(const QString &output, const QString &marker, PageBox box)
{
    QHash<int, QSizeF> sizes;
    int page = 0;
    PageBoxes boxes;
    const auto finishPage = [&] {
        if (page > 0 && boxes.size(box).isValid())
            sizes.insert(page, boxes.size(box));
    };
    readMarked(output, marker, [&](const QString &key, const QString &value) {
        if (key == QLatin1String("page")) {
            finishPage();
            page = value.toInt();
            boxes = {};
        } else {
            boxes.read(key, value);
        }
    });
    finishPage();
    return sizes;
}

bool wantsLegacyInterpreter(const DocumentInfo &info, bool passwordGiven)
{
    return passwordGiven && !info.legacyInterpreter && info.pageCount < 0;
}

QString newMarker()
{
    return QStringLiteral("SFG%1").arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
}

DocumentInfo parseInfo(const QString &output, const QString &marker, bool legacyInterpreter)
{
    DocumentInfo info;
    info.legacyInterpreter = legacyInterpreter;
    info.repaired = wasRepaired(output);
    readMarked(output, marker, [&](const QString &key, const QString &value) {
        if (key == QLatin1String("pages"))
            info.pageCount = value.toInt();
        else
            info.boxes.read(key, value);
    });
    return info;
}

bool wasRepaired(const QString &output)
{
    return output.contains(QLatin1String("errors that were repaired"))
           || output.contains(QLatin1String("was repaired"));
}

QList<FontSubstitution> substitutedFonts(const QString &output)
{
    static const QStringList standard{QStringLiteral("Times-Roman"),
                                      QStringLiteral("Times-Bold"),
                                      QStringLiteral("Times-Italic"),
                                      QStringLiteral("Times-BoldItalic"),
                                      QStringLiteral("Helvetica"),
                                      QStringLiteral("Helvetica-Bold"),
                                      QStringLiteral("Helvetica-Oblique"),
                                      QStringLiteral("Helvetica-BoldOblique"),
                                      QStringLiteral("Courier"),
                                      QStringLiteral("Courier-Bold"),
                                      QStringLiteral("Courier-Oblique"),
                                      QStringLiteral("Courier-BoldOblique"),
                                      QStringLiteral("Symbol"),
                                      QStringLiteral("ZapfDingbats")};
    static const QRegularExpression loading(
        QStringLiteral("^Loading (?:font|CIDFont) (.+?)(?: \\(or substitute\\)| substitute) from (.+)$"),
        QRegularExpression::MultilineOption);
    QList<FontSubstitution> found;
    for (const QRegularExpressionMatch &match : loading.globalMatch(output)) {
        const QString font = match.captured(1);
        const QString substitute = QFileInfo(match.captured(2).trimmed()).completeBaseName();
        if (standard.contains(font) || font == substitute)
            continue;
        if (std::none_of(found.cbegin(), found.cend(), [&font](const FontSubstitution &f) { return f.font == font; }))
            found << FontSubstitution{font, substitute};
    }
    return found;
}

bool isRenderable(const QSizeF &points)
{
    constexpr double Largest = 14400;
    return points.width() >= 1 && points.height() >= 1 && points.width() <= Largest && points.height() <= Largest;
}

int renderedPixels(double points, int dpi)
{
    // The device rounds to the nearest pixel.
    return int(std::floor(points * dpi / 72.0 + 0.5));
}

std::optional<QByteArray> passwordArguments(const QString &password)
{
    // Ghostscript's argument files read \" as a quote and keep every other backslash as it is. A password
    // with blanks needs quotes and a line end, and then cannot end in a backslash.
    const bool blanks = std::any_of(password.begin(), password.end(), [](QChar c) { return c.isSpace(); });
    if (password.contains(QLatin1Char('\n')) || password.contains(QLatin1Char('\r'))
        || (blanks && password.endsWith(QLatin1Char('\\'))))
        return std::nullopt;
    QString escaped = password;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    const QByteArray argument = blanks ? QByteArray("-sPDFPassword=\"" + escaped.toUtf8() + "\"")
                                       : QByteArray("-sPDFPassword=" + escaped.toUtf8());
    // Ghostscript refuses a longer argument ("Command too long") and then reads no password at all.
    constexpr qsizetype LongestArgument = 2047;
    if (argument.size() > LongestArgument)
        return std::nullopt;
    return blanks ? argument + '\n' : argument;
}

QString details(const QString &output)
{
    static const QRegularExpression noise(QStringLiteral(
        "^(GPL Ghostscript [0-9.]+ \\(|Copyright \\(C\\)|This software is supplied under|see the file COPYING|"
        "Processing pages |Page \\d+$|Loading font |Querying operating system for font files|SFG[0-9a-f]{16} |"
        "Requested FirstPage is greater|\\s*No pages will be processed \\(FirstPage > LastPage\\))"));
    static const QRegularExpression prefix(QStringLiteral("^GPL Ghostscript [0-9.]+: ?"));
    QStringList lines;
    for (QString line : output.split(QLatin1Char('\n'))) {
        line.remove(prefix);
        if (!line.trimmed().isEmpty() && !noise.match(line).hasMatch())
            lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

Problem checkDocument(const QString &ghostscript, const QString &document, QFile *held)
{
    if (ghostscript.isEmpty())
        return Problem::make(Problem::GhostscriptMissing);
    const QFileInfo info(document);
    const QString name = info.fileName();
    if (!info.exists())
        return Problem::make(Problem::FileGone, {}, name);
    if (info.isDir())
        return Problem::make(Problem::IsFolder, {}, name);
    if (!info.isFile())
        return Problem::make(Problem::NotPdf, {}, name);
    QFile local;
    QFile &file = held ? *held : local;
    file.close();
    file.setFileName(document);
    if (!file.open(QIODevice::ReadOnly))
        return Problem::make(Problem::PermissionDenied, file.errorString(), name);
    Problem problem;
    if (file.size() == 0)
        problem = Problem::make(Problem::EmptyFile, {}, name);
    // What Ghostscript would run as PostScript is not given to it at all.
    else if (!readAsPdf(file.read(1024)))
        problem = Problem::make(Problem::NotPdf, {}, name);
    if (!problem.isNone())
        file.close();
    return problem;
}

Problem inspect(const QString &document, const QString &link, const ProcessResult &result, const DocumentInfo &info,
                bool passwordGiven)
{
    Problem problem = classify(document, result, passwordGiven);
    if (!problem.isNone())
        return problem;
    if (info.pageCount < 0) {
        problem = passwordProblem(document, link, result.output, passwordGiven);
        return problem.isNone() ? madeNothing(document, result.output) : problem;
    }
    if (info.pageCount == 0)
        return Problem::make(Problem::NoPages, details(result.output), QFileInfo(document).fileName());
    if (info.pageSize().isValid() && !isRenderable(info.pageSize())) {
        const QString size =
            QStringLiteral("%1 x %2 points").arg(info.pageSize().width()).arg(info.pageSize().height());
        return Problem::make(Problem::BadPageBox, size, QFileInfo(document).fileName());
    }
    return {};
}

Problem passwordProblem(const QString &document, const QString &link, const QString &output, bool passwordGiven)
{
    if (!isEncrypted(link))
        return {};
    return Problem::make(passwordGiven ? Problem::WrongPassword : Problem::NeedsPassword, details(output),
                         QFileInfo(document).fileName());
}

Problem madeNothing(const QString &document, const QString &output)
{
    return Problem::make(Problem::NotPdf, details(output), QFileInfo(document).fileName());
}

Problem classify(const QString &document, const ProcessResult &result, bool passwordGiven)
{
    const QString name = QFileInfo(document).fileName();
    const QString said = details(result.output);
    switch (result.outcome) {
    case ProcessResult::NotStarted:
        return Problem::make(Problem::GhostscriptMissing, result.output);
    case ProcessResult::Cancelled:
        return {};
    case ProcessResult::Crashed:
        // Ghostscript 10 crashes on a wrong AES-256 password.
        if (passwordGiven)
            return Problem::make(Problem::WrongPassword, said, name);
        return Problem::make(Problem::GhostscriptFailed, said);
    case ProcessResult::Exited:
        break;
    }
    // An error exit is the document's: Ghostscript exits 0 even when it cannot write its bitmaps, which the
    // caller judges by the bitmaps and the room left in the folder.
    if (result.exitCode != 0)
        return Problem::make(Problem::NotPdf, said, name);
    return {};
}

} // namespace GhostscriptCommands

void PageBoxes::read(const QString &key, const QString &value)
{
    if (key == QLatin1String("/Rotate")) {
        m_rotate = value.toInt();
        return;
    }
    for (size_t i = 0; i < BoxKeys.size(); ++i) {
        if (key == QLatin1String(BoxKeys.at(i)))
            m_boxes.at(i) = boxRect(value.mid(1).chopped(1));
    }
}

PageBox PageBoxes::shown(PageBox box) const
{
    // A page's crop box is its media box unless it says otherwise.
    return m_boxes.at(size_t(box)).isNull() && box != PageBox::Crop ? PageBox::Media : box;
}

QSizeF PageBoxes::size(PageBox box) const
{
    const QRectF &media = m_boxes.at(size_t(PageBox::Media));
    if (media.isNull())
        return {};
    // Ghostscript shows the part of the box within the media box. QRectF's own intersection drops a flat box's
    // one real side.
    const QRectF &own = m_boxes.at(size_t(box));
    const QRectF &shownBox = own.isNull() ? media : own;
    QSizeF size(std::max(0.0, std::min(shownBox.right(), media.right()) - std::max(shownBox.left(), media.left())),
                std::max(0.0, std::min(shownBox.bottom(), media.bottom()) - std::max(shownBox.top(), media.top())));
    if (((m_rotate % 360 + 360) % 360 / 90) % 2 == 1)
        size.transpose();
    return size;
}

QString GhostscriptLocator::locate() const
{
    return QStandardPaths::findExecutable(QStringLiteral("gs"));
}
