// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "tools/ImageObject.h"
#include "tools/ProcessResult.h"

#include <QDir>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSignalSpy>

#include <wand/MagickWand.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace TestSupport {

bool writePdf(const QString &path, const QList<QSizeF> &pages, bool wheel)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins({});
    QPainter painter;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QSizeF size = pages.at(i);
        writer.setPageSize(QPageSize(size, QPageSize::Point, {}, QPageSize::ExactMatch));
        if (i == 0 ? !painter.begin(&writer) : !writer.newPage())
            return false;
        QConicalGradient colours(size.width() / 2, size.height() / 2, 0);
        for (int step = 0; step <= 6; ++step)
            colours.setColorAt(step / 6.0, QColor::fromHsv(step * 60 % 360, 255, 255));
        if (wheel)
            painter.fillRect(QRectF(QPointF(), size), colours);
        const QRectF box(size.width() * 0.2, size.height() * 0.2, size.width() * 0.6, size.height() * 0.5);
        QLinearGradient gradient(box.topLeft(), box.bottomRight());
        gradient.setStops({{0, Qt::red}, {0.5, Qt::green}, {1, Qt::blue}});
        painter.fillRect(box, gradient);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("Page %1").arg(i + 1));
    }
    return painter.end();
}

namespace {

// Objects 1, 2, ... in order, the first the catalog, with their cross-reference table.
bool writeObjects(const QString &path, const QList<QByteArray> &objects, const QByteArray &trailer = {})
{
    QByteArray pdf = "%PDF-1.6\n";
    QByteArray xref = "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype i = 0; i < objects.size(); ++i) {
        xref += QByteArray::number(pdf.size()).rightJustified(10, '0') + " 00000 n \n";
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    return plantFile(path, pdf + xref + "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R"
                               + trailer + " >>\nstartxref\n" + QByteArray::number(pdf.size()) + "\n%%EOF\n");
}

} // namespace

bool writeRawPdf(const QString &path, const QStringList &mediaBoxes, const QByteArray &fontName,
                 const QByteArray &title, qint64 claimedPages)
{
    QList<QByteArray> objects{"<< /Type /Catalog /Pages 2 0 R >>", {}};
    QByteArray kids;
    for (qsizetype i = 0; i < mediaBoxes.size(); ++i) {
        const int page = int(objects.size()) + 1;
        kids += QByteArray::number(page) + " 0 R ";
        const QByteArray text = "BT /F1 24 Tf 72 72 Td (Page " + QByteArray::number(i + 1) + ") Tj ET";
        objects << "<< /Type /Page /Parent 2 0 R /MediaBox [" + mediaBoxes.at(i).toLatin1()
                       + "] /Resources << /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /" + fontName
                       + " >> >> >> /Contents " + QByteArray::number(page + 1) + " 0 R >>"
                << "<< /Length " + QByteArray::number(text.size()) + " >>\nstream\n" + text + "\nendstream";
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count "
                 + QByteArray::number(claimedPages > 0 ? claimedPages : qint64(mediaBoxes.size())) + " >>";
    objects << "<< /Title (" + title + ") >>";
    return writeObjects(path, objects, " /Info " + QByteArray::number(objects.size()) + " 0 R");
}

bool writeEndlessPage(const QString &path)
{
    // Each form draws the next ten times: a billion squares.
    constexpr int Levels = 9;
    QList<QByteArray> objects{"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                              "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R /Resources << "
                              "/XObject << /X 5 0 R >> >> >>",
                              "<< /Length 5 >>\nstream\n/X Do\nendstream"};
    for (int level = 0; level < Levels; ++level) {
        const bool last = level == Levels - 1;
        const QByteArray content = last ? "0 0 1 1 re f" : QByteArrayList(10, "/X Do").join(' ');
        const QByteArray resources =
            last ? "" : "/Resources << /XObject << /X " + QByteArray::number(6 + level) + " 0 R >> >> ";
        objects << "<< /Type /XObject /Subtype /Form /BBox [0 0 200 200] " + resources + "/Length "
                       + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
    }
    return writeObjects(path, objects);
}

bool writeDrawnPage(const QString &path, int parts)
{
    const auto stream = [](const QByteArray &dictionary, const QByteArray &data) {
        return "<< " + dictionary + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data
               + "\nendstream";
    };
    QByteArray content = parts & Vector ? "q 0 0 1 rg 100 250 200 60 re f Q " : "";
    content += parts & Image ? "q 200 0 0 100 100 120 cm /Im1 Do Q " : "";
    content += parts & Text ? "q 0.8 0.1 0.1 rg BT /F1 30 Tf 110 330 Td (Text) Tj ET Q " : "";
    // Strokes of 0, 0.1 and 0.3 points, off the pixel grid.
    content += parts & Lines ? "0 w 30 300.37 m 370 300.37 l S 0.1 w 30 280.24 m 370 280.24 l S 0.3 w 30 260.11 m "
                               "370 260.11 l S "
                             : "";
    // Magenta printed over cyan: simulated, the overlap is dark blue.
    content += parts & Inks ? "/GS1 gs 1 0 0 0 k 50 50 200 200 re f 0 1 0 0 k 150 150 200 200 re f" : "";
    const QByteArray annotations = QByteArray(parts & Note ? "7 0 R " : "") + (parts & Field ? "9 0 R" : "");
    const QByteArray intent = parts & PrintIntent ? " /OutputIntents [<< /Type /OutputIntent /S /GTS_PDFX "
                                                    "/OutputConditionIdentifier (CGATS TR 001) >>]"
                                                  : "";
    const QList<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [9 0 R] >>" + intent + " >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 400 400] /CropBox [20 20 380 380] "
            + QByteArray(parts & Boxes ? "/BleedBox [40 40 360 360] /TrimBox [60 60 340 340] /ArtBox [80 80 320 320] "
                                       : "")
            + "/Resources << /Font << /F1 5 0 R >> /XObject << /Im1 6 0 R >> /ExtGState << /GS1 << /OP true /op "
              "true /OPM 1 >> >> >> /Contents 4 0 R /Annots ["
            + annotations + "] >>",
        stream("", content),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        stream("/Type /XObject /Subtype /Image /Width 2 /Height 2 /ColorSpace /DeviceRGB /BitsPerComponent 8",
               QByteArray::fromHex("ff000000ff0000ff00ff0000")),
        "<< /Type /Annot /Subtype /Square /Rect [250 100 330 160] /F 0 /AP << /N 8 0 R >> >>",
        stream("/Type /XObject /Subtype /Form /BBox [0 0 80 60]", "0 1 0 rg 0 0 80 60 re f"),
        "<< /Type /Annot /Subtype /Widget /FT /Tx /T (name) /V (Hi) /Rect [250 180 330 230] /F 4 /P 3 0 R /AP << /N "
        "10 0 R >> >>",
        stream("/Type /XObject /Subtype /Form /BBox [0 0 80 50]", "1 0.5 0 rg 0 0 80 50 re f"),
    };
    return writeObjects(path, objects);
}

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool encrypt(const QString &pdf, const QString &encrypted, const QString &userPassword, bool revision5)
{
    const QStringList form = revision5 ? QStringList{"--force-R5"} : QStringList();
    return run("qpdf",
               QStringList{"--encrypt", userPassword, "owner", "256"} + form + QStringList{"--", pdf, encrypted});
}

DocumentInfo documentInfo(const QString &pdf, int page)
{
    QProcess gs;
    gs.setProcessChannelMode(QProcess::MergedChannels);
    const QString marker = GhostscriptCommands::newMarker();
    const QTemporaryDir folder;
    QFile held(pdf);
    held.open(QIODevice::ReadOnly);
    const QString link = GhostscriptCommands::linkDocument(folder.path(), held);
    gs.start(GhostscriptLocator().locate(), GhostscriptCommands::infoArguments(link, page, marker, false));
    gs.waitForFinished(60000);
    return GhostscriptCommands::parseInfo(QString::fromUtf8(gs.readAll()), marker);
}

QString fakeGhostscript(const QString &folder, const QString &body)
{
    const QString path = QDir(folder).filePath("gs");
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write(R"sh(#!/bin/sh
here=$(dirname "$0")
for a in "$@"; do
    printf '%s\n' "$a" >> "$here/gs.log"
    case "$a" in
    -dNODISPLAY) info=1 ;;
    -sOutputFile=*) pattern=${a#-sOutputFile=} ;;
    @*) cat "${a#@}" >> "$here/argfile.log"; echo >> "$here/argfile.log"
        # Whatever holds the password must not be a file in the temporary folder.
        grep -rlF -f "${a#@}" "${TMPDIR:-/tmp}" >> "$here/found.log" 2>/dev/null ;;
    *" pages ) print"*) marker=$(printf '%s' "$a" | sed 's/^.*(\(SFG[0-9a-f]*\) pages.*$/\1/') ;;
    esac
done
page() { echo "Page $1"; printf x > "$(printf "$pattern" "$1")"; }
info_ok() { printf '%s pages 1\n%s /MediaBox [0 0 200 100]\n' "$marker" "$marker"; exit 0; }
)sh");
    script.write(body.toUtf8() + '\n');
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    return path;
}

ImageFacts readImage(const QString &path)
{
    ImageObject::initialise();
    ImageFacts facts;
    MagickWand *wand = NewMagickWand();
    if (MagickReadImage(wand, QFile::encodeName(path).constData()) == MagickTrue) {
        facts.size = QSize(int(MagickGetImageWidth(wand)), int(MagickGetImageHeight(wand)));
        size_t width = 0, height = 0;
        ssize_t x = 0, y = 0;
        MagickGetImagePage(wand, &width, &height, &x, &y);
        facts.page = QRect(int(x), int(y), int(width), int(height));
        facts.colors = int(MagickGetImageColors(wand));
        facts.quality = int(MagickGetImageCompressionQuality(wand));
        double xDpi = 0, yDpi = 0;
        MagickGetImageResolution(wand, &xDpi, &yDpi);
        facts.dpi = MagickGetImageUnits(wand) == PixelsPerCentimeterResolution ? xDpi * 2.54 : xDpi;
        char *format = MagickGetImageFormat(wand);
        facts.format = format;
        MagickRelinquishMemory(format);
        facts.gray = MagickGetImageColorspace(wand) == GRAYColorspace;
        facts.cmyk = MagickGetImageColorspace(wand) == CMYKColorspace;
        size_t profileBytes = 0;
        MagickRelinquishMemory(MagickGetImageProfile(wand, "icc", &profileBytes));
        facts.profileBytes = int(profileBytes);
        facts.images = int(MagickGetNumberImages(wand));
        MagickSetFirstIterator(wand);
        facts.compression = CommandOptionToMnemonic(MagickCompressOptions, MagickGetImageCompression(wand));
    }
    DestroyMagickWand(wand);
    const QByteArray head = contentsOf(path).left(26);
    if (head.startsWith("\x89PNG\r\n\x1a\n") && head.size() == 26) {
        facts.pngBitDepth = quint8(head.at(24));
        facts.pngColorType = quint8(head.at(25));
    }
    return facts;
}

QImage decoded(const QString &path)
{
    const QImage image(path);
    return image.isNull() ? QImage::fromData(ImageObject().convert({path}, "PNG").data) : image;
}

ConversionResult convert(const ConversionJob &job, const ImageObject *images, ConversionEngine *wired)
{
    ConversionEngine own(images);
    ConversionEngine &engine = wired ? *wired : own;
    QSignalSpy finished(&engine, &ConversionEngine::finished);
    engine.start(job);
    finished.wait(60000);
    return finished.count() == 1 ? finished.first().first().value<ConversionResult>() : ConversionResult{};
}

bool plantFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray uncompressedTiff(QSize size)
{
    const QString geometry = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    return ImageObject().convert({"-size", geometry, "xc:red", "-compress", "None", "-endian", "LSB"}, "TIFF").data;
}

int modeOf(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 0777) : -1;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList leftovers(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The fields of /proc/pid/stat after the name, which may hold anything and so ends at the last ')'.
static QStringList statFields(qint64 pid, QString *name = nullptr)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    const QString stat = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    const qsizetype open = stat.indexOf(QLatin1Char('(')), close = stat.lastIndexOf(QLatin1Char(')'));
    if (name)
        *name = stat.mid(open + 1, close - open - 1);
    return close < 0 ? QStringList() : stat.mid(close + 2).split(QLatin1Char(' '));
}

QList<int> ghostscriptChildren(qint64 pid)
{
    QList<int> found;
    for (const QString &entry : QDir("/proc").entryList(QDir::Dirs)) {
        QString name;
        const QStringList fields = entry.toInt() ? statFields(entry.toInt(), &name) : QStringList();
        if (name == QLatin1String("gs") && fields.size() > 1 && fields.at(0) != QLatin1String("Z")
            && fields.at(1).toLongLong() == pid)
            found << entry.toInt();
    }
    return found;
}

char processState(qint64 pid)
{
    const QStringList fields = statFields(pid);
    return fields.isEmpty() || fields.first().isEmpty() ? 0 : fields.first().at(0).toLatin1();
}

QScopeGuard<std::function<void()>> limitFileSize(qint64 bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit previous = limit;
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    return qScopeGuard(std::function<void()>([previous, handler] {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, handler);
    }));
}

CaseFolder::CaseFolder()
    : m_previousTemp(qgetenv("TMPDIR"))
{
    QDir().mkpath(temp());
    qputenv("TMPDIR", QFile::encodeName(temp()));
}

CaseFolder::~CaseFolder()
{
    m_previousTemp.isEmpty() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", m_previousTemp);
}

QString CaseFolder::path(const QString &name) const
{
    return name.isEmpty() ? m_dir.path() : QDir(m_dir.path()).filePath(name);
}

} // namespace TestSupport
