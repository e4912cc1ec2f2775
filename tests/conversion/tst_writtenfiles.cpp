// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "conversion/ConversionEngine.h"
#include "document/OutputSize.h"
#include "tools/ImageObject.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QtTest>

using namespace TestSupport;

namespace {

constexpr int Stripes = 16;
const QSizeF PagePoints(400, 200);
const QRectF TrimBox(100, 50, 200, 100); // page 3: stripes inside a white margin

// Page 1: sixteen flat stripes on pixel boundaries, so 16 or 4 colours keep exactly as many. Page 2: smooth
// gradients, more colours than any palette. Pages 3 and 4: the same inside a white margin. Page 5: a gray ramp.
bool writeKnownPages(const QString &path)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins({});
    writer.setPageSize(QPageSize(PagePoints, QPageSize::Point, {}, QPageSize::ExactMatch));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const auto stripes = [&painter](const QRectF &box) {
        for (int i = 0; i < Stripes; ++i) {
            const QColor colour = QColor::fromHsv(i * 360 / Stripes, 255, i % 2 ? 255 : 150);
            painter.fillRect(QRectF(box.x() + box.width() * i / Stripes, box.y(), box.width() / Stripes, box.height()),
                             colour);
        }
    };
    // Hues across, darkening downwards: more colours than Hicolor keeps.
    const auto gradients = [&painter](const QRectF &box) {
        for (int row = 0; row < int(box.height()); ++row) {
            QLinearGradient hues(box.x(), 0, box.right(), 0);
            for (int step = 0; step <= 6; ++step)
                hues.setColorAt(step / 6.0, QColor::fromHsv(step * 60 % 360, 255, 255 - row));
            painter.fillRect(QRectF(box.x(), box.y() + row, box.width(), 1), hues);
        }
    };
    stripes(QRectF(QPointF(), PagePoints));
    writer.newPage();
    gradients(QRectF(QPointF(), PagePoints));
    writer.newPage();
    stripes(TrimBox);
    writer.newPage();
    gradients(TrimBox);
    writer.newPage();
    QLinearGradient ramp(0, 0, PagePoints.width(), 0);
    ramp.setColorAt(0, Qt::black);
    ramp.setColorAt(1, Qt::white);
    painter.fillRect(QRectF(QPointF(), PagePoints), ramp);
    return painter.end();
}

QByteArray formatByBytes(const QByteArray &data)
{
    if (data.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return "gif";
    if (data.startsWith("\xff\xd8\xff"))
        return "jpg";
    if (data.startsWith("II*\0") || data.startsWith("MM\0*"))
        return "tif";
    // A lossless WebP holds its image in a VP8L chunk, a lossy one in "VP8 ".
    if (data.startsWith("RIFF") && data.mid(8, 4) == "WEBP") {
        for (qsizetype at = 12; at + 8 <= data.size();) {
            const QByteArray chunk = data.mid(at, 4);
            if (chunk == "VP8L" || chunk == "VP8 ")
                return chunk == "VP8L" ? "webp lossless" : "webp";
            at += 8 + ((qFromLittleEndian<quint32>(data.constData() + at + 4) + 1) & ~1u);
        }
    }
    return "unknown";
}

// The body of a PNG's first chunk of type; empty if it has none.
QByteArray pngChunk(const QByteArray &png, const char *type)
{
    for (qsizetype at = 8; at + 8 <= png.size();) {
        const auto length = qsizetype(qFromBigEndian<quint32>(png.constData() + at));
        if (png.mid(at + 4, 4) == type)
            return png.mid(at + 8, length);
        at += 12 + length;
    }
    return {};
}

// How often a pixel differs from its left neighbour: error diffusion scatters a smooth area into specks.
int changesAlongRows(const QImage &image)
{
    int changes = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 1; x < image.width(); ++x)
            changes += image.pixel(x, y) != image.pixel(x - 1, y) ? 1 : 0;
    }
    return changes;
}

// What each depth promises: the most colours kept, and a PNG's colour type and bits (0: the fewest that hold the
// colours kept). Type 0 is gray, its levels evenly spaced.
struct DepthPromise
{
    int most;
    int pngType;
    int pngBits;
};
const QMap<ColorDepth, DepthPromise> Promised{
    {ColorDepth::BlackAndWhite, {2, 0, 1}},  {ColorDepth::FourColors, {4, 3, 0}},
    {ColorDepth::SixteenColors, {16, 3, 0}}, {ColorDepth::TwoHundredFiftySixColors, {256, 3, 0}},
    {ColorDepth::HiColor, {65536, 2, 8}},    {ColorDepth::Grayscale, {256, 0, 8}},
    {ColorDepth::SixteenGrays, {16, 0, 4}},  {ColorDepth::FourGrays, {4, 0, 2}},
};

// One known page written with one set of options.
struct Written
{
    QByteArray format = "png"; // as its bytes tell it: "webp lossless" for a VP8L WebP
    ColorDepth depth = ColorDepth::SixteenColors;
    int page = 1;
    int dpi = 72;
    bool antialias = true;
    bool dither = false;
    bool trim = false;
    int quality = 75;
    int fewest = 0; // colours in the file; lossy files are not counted
};

// A page our own PNG writer writes, from a bitmap the library reduced.
struct OwnPng
{
    ColorDepth depth;
    int page = 1; // 0: the hue bars
    bool dither = false;
    int boxWidth = 0; // to fit the page in; 0 for none
    int bitDepth = 8;
};

// A page written on transparent paper.
struct Clear
{
    QByteArray format = "png";
    ColorDepth depth;
    int page = 3; // 3: stripes in a clear margin; 4: more colours than a palette, in one; 0: text and a square
    bool trim = false;
    bool comparedOpaque = false; // over white, with the same page written on opaque paper
};

} // namespace

Q_DECLARE_METATYPE(Written)
Q_DECLARE_METATYPE(OwnPng)
Q_DECLARE_METATYPE(Clear)

class tst_WrittenFiles : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_pdf;

    // The known pages from first to last at 72 dpi, numbered when more than one.
    ConversionJob knownPages(const QString &destination, int first, int last = 0) const
    {
        ConversionJob job;
        job.ghostscript = GhostscriptLocator().locate();
        job.options = {.sourceFile = m_pdf, .dpi = 72};
        job.firstPage = first;
        job.lastPage = std::max(first, last);
        job.numbered = last > first;
        job.pageCount = 3;
        job.destination = destination;
        return job;
    }

    bool postScript(const QString &pdf, const QString &program) const
    {
        return run(GhostscriptLocator().locate(), {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite", "-o",
                                                   m_docs.filePath(pdf), "-c", program + " showpage"});
    }

private slots:
    void initTestCase()
    {
        ImageObject::initialise();
        m_pdf = m_docs.filePath("known.pdf");
        QVERIFY(writeKnownPages(m_pdf));
        QVERIFY(postScript("text.pdf",
                           "<< /PageSize [300 300] >> setpagedevice /Helvetica findfont 24 scalefont "
                           "setfont 20 250 moveto (Page 1) show 1 0 0 setrgbcolor 100 100 100 100 rectfill"));
        // Sixty hue bars, a red line and a blue disc on white.
        QVERIFY(postScript("bars.pdf", "0 1 59 { /i exch def i 60 div 0.67 0.8 sethsbcolor i 10 mul 100 add 200 9 400 "
                                       "rectfill } for 1 0 0 setrgbcolor 100 650 moveto 400 150 lineto 3 setlinewidth "
                                       "stroke 0 0 1 setrgbcolor 300 100 80 0 360 arc fill"));
    }

    void everyOption_showsInTheFileWritten_data()
    {
        QTest::addColumn<Written>("c");
        const auto row = [](const char *name, const Written &c) { QTest::newRow(name) << c; };
        using D = ColorDepth;
        row("png 16 colours", {.antialias = false, .fewest = 16});
        row("png 16 colours antialiased 144 dpi", {.dpi = 144, .fewest = 16});
        row("png 4 colours dithered", {.depth = D::FourColors, .dither = true, .fewest = 4});
        row("png black and white", {.depth = D::BlackAndWhite, .page = 2, .dpi = 96, .fewest = 2});
        row("png 256 colours", {.depth = D::TwoHundredFiftySixColors, .page = 2, .dpi = 120, .fewest = 17});
        // Page 1 keeps its 16 stripes: a 4-bit palette holds them.
        row("png 256 colours, 16 kept", {.depth = D::TwoHundredFiftySixColors, .antialias = false, .fewest = 16});
        // True colour however few colours the page has, so the writer need not count them.
        row("png hicolor, 16 stripes", {.depth = D::HiColor, .antialias = false, .fewest = 16});
        row("png hicolor", {.depth = D::HiColor, .page = 2, .dpi = 144, .fewest = 32769});
        row("gif 16 colours", {.format = "gif", .fewest = 16});
        row("gif 4 colours dithered",
            {.format = "gif", .depth = D::FourColors, .dpi = 192, .antialias = false, .dither = true, .fewest = 4});
        row("jpg hicolor, quality 30", {.format = "jpg", .depth = D::HiColor, .page = 2, .quality = 30});
        // The library reads 0 as "its default"; the user asked for the smallest file.
        row("jpg hicolor, quality 0", {.format = "jpg", .depth = D::HiColor, .page = 2, .quality = 0});
        row("jpg 16 colours, quality 95", {.format = "jpg", .dpi = 144, .antialias = false, .quality = 95});
        row("png trimmed", {.page = 3, .antialias = false, .trim = true, .fewest = 16});
        row("gif trimmed antialiased",
            {.format = "gif", .depth = D::FourColors, .page = 3, .dpi = 144, .trim = true, .fewest = 4});
        row("png grayscale", {.depth = D::Grayscale, .page = 2, .fewest = 100});
        row("png 16 grays dithered", {.depth = D::SixteenGrays, .page = 2, .dither = true, .fewest = 8});
        row("png 4 grays", {.depth = D::FourGrays, .antialias = false, .fewest = 3});
        // A ramp from black to white takes every level there is.
        row("png 16 grays, a ramp", {.depth = D::SixteenGrays, .page = 5, .fewest = 16});
        row("png 4 grays, a ramp", {.depth = D::FourGrays, .page = 5, .fewest = 4});
        row("gif 16 grays", {.format = "gif", .depth = D::SixteenGrays, .page = 2, .dpi = 96, .fewest = 8});
        row("jpg grayscale", {.format = "jpg", .depth = D::Grayscale, .page = 2, .quality = 80});
        row("tif 16 colours", {.format = "tif", .fewest = 16});
        row("tif 4 grays", {.format = "tif", .depth = D::FourGrays, .page = 2, .dpi = 96, .dither = true, .fewest = 3});
        row("tif hicolor trimmed", {.format = "tif", .depth = D::HiColor, .page = 3, .trim = true, .fewest = 16});
        row("webp 16 colours", {.format = "webp lossless", .fewest = 16});
        row("webp 16 grays", {.format = "webp lossless", .depth = D::SixteenGrays, .page = 2, .fewest = 8});
        row("webp hicolor", {.format = "webp", .depth = D::HiColor, .page = 2});
    }

    void everyOption_showsInTheFileWritten()
    {
        QFETCH(Written, c);
        CaseFolder folder;
        const QString suffix = QString(c.format).section(' ', 0, 0);
        ConversionJob job = knownPages(folder.path("page." + suffix), c.page);
        job.options.format = ImageFormat(OptionLists::suffixes().indexOf(suffix));
        job.options.colorDepth = c.depth;
        job.options.dither = c.dither;
        job.options.antialias = c.antialias;
        job.options.trim = c.trim;
        job.options.jpegQuality = c.quality;
        job.options.dpi = c.dpi;
        QVERIFY(convert(job).isSuccess());
        QCOMPARE(filesIn(folder.path()), QStringList{"page." + suffix});
        QFile file(job.destination);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(formatByBytes(bytes), c.format);
        // Nothing but the image: no profile, no time of writing.
        for (const char *chunk : {"iCCP", "tEXt", "zTXt", "tIME", "bKGD"})
            QVERIFY2(suffix != "png" || !bytes.contains(chunk), chunk);

        const ImageFacts facts = readImage(job.destination);
        // Trimming finds the stripes' edges to within a pixel.
        const QSize off = facts.size - OutputSize::pixels(c.trim ? TrimBox.size() : PagePoints, c.dpi, c.antialias);
        QVERIFY2(qAbs(off.width()) <= int(c.trim) && qAbs(off.height()) <= int(c.trim),
                 qPrintable(QStringLiteral("%1x%2").arg(facts.size.width()).arg(facts.size.height())));
        QCOMPARE(facts.page, QRect(QPoint(), facts.size)); // no canvas left from trimming
        if (suffix == "png" || suffix == "jpg" || suffix == "tif")
            QCOMPARE(qRound(facts.dpi), c.dpi);
        const DepthPromise promised = Promised.value(c.depth);
        if (promised.pngType == 0) {
            const QImage image(job.destination);
            QVERIFY(image.allGray());
            const int step = 255 / ((1 << promised.pngBits) - 1);
            for (int y = 0; suffix == "png" && y < image.height(); y += 7) {
                for (int x = 0; x < image.width(); x += 7)
                    QVERIFY(qGray(image.pixel(x, y)) % step == 0);
            }
            if (suffix == "jpg" || suffix == "tif")
                QVERIFY(facts.gray); // one component, not three equal ones
        }
        if (suffix == "tif")
            QCOMPARE(facts.compression, QByteArray("LZW"));
        // A palette at the fewest bits that hold the colours kept.
        int least = 1;
        while ((1 << least) < facts.colors)
            least *= 2;
        if (suffix == "png")
            QCOMPARE(QList<int>({facts.pngColorType, facts.pngBitDepth}),
                     QList<int>({promised.pngType, promised.pngBits ? promised.pngBits : least}));
        if (suffix == "jpg")
            QCOMPARE(facts.quality, std::max(1, c.quality));
        else if (c.format != "webp")
            QVERIFY2(facts.colors >= c.fewest && facts.colors <= promised.most,
                     qPrintable(QString::number(facts.colors)));
    }

    void dither_scattersTheErrorAcrossNeighbours()
    {
        CaseFolder folder;
        QMap<bool, int> changes;
        for (bool dither : {false, true}) {
            ConversionJob job = knownPages(folder.path(dither ? "dithered.png" : "plain.png"), 2);
            job.options.colorDepth = ColorDepth::FourColors;
            job.options.dither = dither;
            QVERIFY(convert(job).isSuccess());
            changes[dither] = changesAlongRows(QImage(job.destination));
        }
        // Undithered, a gradient falls into a few bands; dithered, into a fine mix of its colours.
        QVERIFY2(changes[true] > 20 * std::max(1, changes[false]),
                 qPrintable(QStringLiteral("%1 %2").arg(changes[false]).arg(changes[true])));
    }

    // Palettes and gray below 8 bits are written by our own PNG writer: read back by Qt's decoder, its pixels
    // are the library writer's, from the same bitmap and the same reduction.
    void ownPngWriter_keepsTheLibrarysPixels_data()
    {
        QTest::addColumn<OwnPng>("c");
        const auto row = [](const char *name, const OwnPng &c) { QTest::newRow(name) << c; };
        using D = ColorDepth;
        row("16 colours, 16 stripes", {.depth = D::SixteenColors, .bitDepth = 4});
        row("4 colours dithered, gradients", {.depth = D::FourColors, .page = 2, .dither = true, .bitDepth = 2});
        row("256 colours, gradients", {.depth = D::TwoHundredFiftySixColors, .page = 2});
        // Scaled, some of the library's palette entries fall together at 8 bits.
        row("256 colours, a ramp scaled", {.depth = D::TwoHundredFiftySixColors, .page = 5, .boxWidth = 517});
        // Dithered, some of the library's palette entries are left unused.
        row("256 colours dithered, hue bars", {.depth = D::TwoHundredFiftySixColors, .page = 0, .dither = true});
        row("16 colours, a ramp: 16 grays in a palette", {.depth = D::SixteenColors, .page = 5, .bitDepth = 4});
        row("16 grays, a ramp", {.depth = D::SixteenGrays, .page = 5, .bitDepth = 4});
        row("4 grays dithered, gradients", {.depth = D::FourGrays, .page = 2, .dither = true, .bitDepth = 2});
        row("black and white, gradients", {.depth = D::BlackAndWhite, .page = 2, .bitDepth = 1});
        row("black and white dithered, gradients",
            {.depth = D::BlackAndWhite, .page = 2, .dither = true, .bitDepth = 1});
    }

    void ownPngWriter_keepsTheLibrarysPixels()
    {
        QFETCH(OwnPng, c);
        CaseFolder folder;
        const int page = std::max(1, c.page);
        QVERIFY(run(GhostscriptLocator().locate(),
                    GhostscriptCommands::renderArguments({.document = c.page > 0 ? m_pdf : m_docs.filePath("bars.pdf"),
                                                          .outputFolder = folder.path(),
                                                          .firstPage = page,
                                                          .lastPage = page,
                                                          .dpi = 96,
                                                          .antialias = true})));
        ConversionJob job;
        // Tagged 78 dpi: 3071.06 pixels a metre, where rounding the other way shows.
        job.options = {
            .colorDepth = c.depth, .dither = c.dither, .dpi = 78, .fitToBox = c.boxWidth > 0, .boxWidth = c.boxWidth};
        job.destination = folder.path("page.png");
        const QStringList command = job.magickArguments(GhostscriptCommands::bitmapPath(folder.path(), 1, false));
        // Without a form named, the library's writer writes the page.
        ImageEncoding library = job.imageEncoding();
        library.pngColorType = -1;
        library.pngBitDepth = 0;
        const ImageResult written = ImageObject().convert(command, job.imageEncoding());
        const ImageResult reference = ImageObject().convert(command, library);
        QVERIFY(written.ok && reference.ok);
        QCOMPARE(int(written.data.at(24)), c.bitDepth);
        QVERIFY(written.data != reference.data);
        const QImage image = QImage::fromData(written.data, "PNG").convertToFormat(QImage::Format_RGB32);
        QVERIFY(!image.isNull());
        QCOMPARE(image, QImage::fromData(reference.data, "PNG").convertToFormat(QImage::Format_RGB32));
        // The resolution in pixels a metre (3071), and the colour space as the library's writer states it.
        QCOMPARE(pngChunk(written.data, "pHYs"), QByteArray("\0\0\x0b\xff\0\0\x0b\xff\x01", 9));
        for (const char *chunk : {"gAMA", "cHRM"})
            QVERIFY2(pngChunk(written.data, chunk) == pngChunk(reference.data, chunk), chunk);
        if (written.data.at(25) != 3)
            return;
        // A palette holds each colour once, every entry used, the commonest first: the paper's runs deflate best.
        const QImage indexed = QImage::fromData(written.data, "PNG");
        QCOMPARE(indexed.format(), QImage::Format_Indexed8);
        QList<qint64> uses(indexed.colorCount());
        for (int y = 0; y < indexed.height(); ++y) {
            for (int x = 0; x < indexed.width(); ++x)
                ++uses[indexed.pixelIndex(x, y)];
        }
        const QList<QRgb> table = indexed.colorTable();
        QCOMPARE(QSet<QRgb>(table.begin(), table.end()).size(), table.size());
        QVERIFY(!uses.contains(0));
        QVERIFY(std::is_sorted(uses.rbegin(), uses.rend()));
    }

    void sizeInPixels_fitsEachPageInTheBox_data()
    {
        QTest::addColumn<QSize>("box"); // 0 leaves a side free
        QTest::addColumn<bool>("trim");
        QTest::addColumn<QSize>("written");
        // The pages are 400 x 200 points; page 3's stripes, the part trimming keeps, 200 x 100.
        QTest::newRow("width") << QSize(800, 0) << false << QSize(800, 400);
        QTest::newRow("height") << QSize(0, 75) << false << QSize(150, 75);
        QTest::newRow("both, width governs") << QSize(300, 300) << false << QSize(300, 150);
        QTest::newRow("both, height governs") << QSize(1000, 120) << false << QSize(240, 120);
        QTest::newRow("trimmed") << QSize(100, 0) << true << QSize(100, 50);
    }

    void sizeInPixels_fitsEachPageInTheBox()
    {
        QFETCH(QSize, box);
        QFETCH(bool, trim);
        QFETCH(QSize, written);
        CaseFolder folder;
        ConversionJob job = knownPages(folder.path("fit.png"), 1, 3);
        job.options = {.sourceFile = m_pdf, .fitToBox = true, .boxWidth = box.width(), .boxHeight = box.height()};
        job.options.trim = trim;
        job.pageSize = PagePoints;
        QVERIFY(convert(job).isSuccess());
        const ImageFacts facts = readImage(folder.path("fit003.png"));
        QCOMPARE(facts.size, written);
        // What the window's read-out says is what was written.
        QCOMPARE(OutputSize::written(job.options, PagePoints, trim ? TrimBox.size() : QSizeF()), written);
        // Scaled before the colours were reduced, not after.
        QVERIFY2(facts.colors <= 16, qPrintable(QString::number(facts.colors)));
        if (trim)
            return;
        const ImageFacts first = readImage(folder.path("fit001.png"));
        QCOMPARE(first.size, written);
        // Tagged with the resolution the page was fitted at, so it prints at its size.
        QCOMPARE(qRound(first.dpi), qRound(written.width() * 72.0 / 400));
    }

    void sizeInPixels_rendersEachPageAtItsOwnResolution()
    {
        CaseFolder folder;
        // Page 2 is a quarter as wide as the others, and the same page as page 2 of the small document.
        const QString mixed = folder.path("mixed.pdf");
        const QString small = folder.path("small.pdf");
        QVERIFY(writePdf(mixed, {QSizeF(400, 200), QSizeF(100, 50), QSizeF(400, 200)}));
        QVERIFY(writePdf(small, {QSizeF(100, 50), QSizeF(100, 50)}));
        const auto fitted = [&](const QString &document, const QString &name, int width, int first = 1) {
            const DocumentInfo info = documentInfo(document, 1);
            ConversionJob job = knownPages(folder.path(name), first, info.pageCount);
            job.options = {
                .sourceFile = document, .colorDepth = ColorDepth::HiColor, .fitToBox = true, .boxWidth = width};
            job.pageCount = info.pageCount;
            job.pageSize = info.pageSize;
            return convert(job);
        };
        QVERIFY(fitted(mixed, "mixed.png", 200).isSuccess());
        QVERIFY(fitted(small, "small.png", 200).isSuccess());
        for (const QString name : {"mixed001.png", "mixed002.png", "mixed003.png"})
            QCOMPARE(readImage(folder.path(name)).size, QSize(200, 100));
        // Rendered at 144 dpi like the small document's page, not at the first page's 36 dpi and enlarged.
        QCOMPARE(QImage(folder.path("mixed002.png")), QImage(folder.path("small002.png")));
        QCOMPARE(qRound(readImage(folder.path("mixed002.png")).dpi), 144);
        QCOMPARE(qRound(readImage(folder.path("mixed003.png")).dpi), 36);
        // The same from page 2 on: each page's own size, not the size of the page at its place in the run.
        QVERIFY(fitted(mixed, "from2.png", 200, 2).isSuccess());
        QCOMPARE(QImage(folder.path("from2002.png")), QImage(folder.path("small002.png")));
        QCOMPARE(qRound(readImage(folder.path("from2003.png")).dpi), 36);

        // A page the box would need beyond 2400 dpi for refuses the run before anything is written; so does a
        // page as wide as the one before it, and so rendered in the same run, but far taller.
        for (const QSizeF second : {QSizeF(2, 1), QSizeF(400, 14000)}) {
            QVERIFY(writePdf(mixed, {QSizeF(400, 200), second}));
            const ConversionResult refused = fitted(mixed, "refused.png", 6000);
            QCOMPARE(refused.fatal.kind, Problem::TooLarge);
            QVERIFY2(refused.fatal.message.startsWith("Page 2: "), qPrintable(refused.fatal.message));
            QVERIFY(!QFileInfo::exists(folder.path("refused001.png")));
        }
    }

    void transparentBackground_leavesThePaperClear_data()
    {
        QTest::addColumn<Clear>("c");
        const auto row = [](const char *name, const Clear &c) { QTest::newRow(name) << c; };
        using D = ColorDepth;
        row("png 16 colours", {.depth = D::SixteenColors});
        row("png black and white", {.depth = D::BlackAndWhite});
        row("png 16 grays", {.depth = D::SixteenGrays});
        row("png hicolor trimmed", {.depth = D::HiColor, .trim = true});
        row("gif 4 colours", {.format = "gif", .depth = D::FourColors});
        row("tif black and white", {.format = "tif", .depth = D::BlackAndWhite});
        row("tif 16 colours", {.format = "tif", .depth = D::SixteenColors});
        row("tif 4 grays", {.format = "tif", .depth = D::FourGrays});
        row("gif 256 colours", {.format = "gif", .depth = D::TwoHundredFiftySixColors, .page = 4});
        // Fewer colours than the palette holds.
        row("gif 256 colours, a few used", {.format = "gif", .depth = D::TwoHundredFiftySixColors, .page = 0});
        row("gif hicolor", {.format = "gif", .depth = D::HiColor, .page = 4});
        row("png hicolor, text", {.depth = D::HiColor, .page = 0, .comparedOpaque = true});
        row("webp 256 colours", {.format = "webp", .depth = D::TwoHundredFiftySixColors, .page = 4});
    }

    void transparentBackground_leavesThePaperClear()
    {
        QFETCH(Clear, c);
        CaseFolder folder;
        ConversionJob job = knownPages(folder.path("clear." + c.format), std::max(1, c.page));
        job.options.sourceFile = c.page == 0 ? m_docs.filePath("text.pdf") : m_pdf;
        job.options.colorDepth = c.depth;
        job.options.format = ImageFormat(OptionLists::suffixes().indexOf(c.format));
        job.options.trim = c.trim;
        job.options.transparent = true;
        QVERIFY(convert(job).isSuccess());
        const QByteArray png = ImageObject().convert({c.format.toUpper() + ':' + job.destination}, "PNG").data;
        const QImage image = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32);
        QVERIFY(image.hasAlphaChannel());
        const QPoint ink = c.trim || c.page == 0 ? image.rect().center() : TrimBox.center().toPoint();
        QCOMPARE(qAlpha(image.pixel(ink)), 255);
        if (c.trim) {
            // The clear margin is what trimming takes away.
            QCOMPARE(image.size(), OutputSize::pixels(TrimBox.size(), 72, true));
        } else {
            QCOMPARE(qAlpha(image.pixel(1, 1)), 0);
            QCOMPARE(qAlpha(image.pixel(image.width() - 2, image.height() - 2)), 0);
        }
        if (c.comparedOpaque) {
            // The ink's edges, where it covers part of a pixel, are as dark as on opaque paper, within the little
            // that clearing the faintest edges of the paper moves them.
            job.options.transparent = false;
            job.destination = folder.path("opaque.png");
            QVERIFY(convert(job).isSuccess());
            const QImage opaque = QImage(job.destination).convertToFormat(QImage::Format_RGB32);
            QImage overWhite(image.size(), QImage::Format_RGB32);
            overWhite.fill(Qt::white);
            QPainter(&overWhite).drawImage(0, 0, image);
            QCOMPARE(overWhite.size(), opaque.size());
            qint64 difference = 0, inked = 0;
            for (int y = 0; y < opaque.height(); ++y) {
                for (int x = 0; x < opaque.width(); ++x) {
                    const int alpha = qAlpha(image.pixel(x, y));
                    inked += alpha != 0 && alpha != 255;
                    if (alpha != 0 && alpha != 255)
                        difference += std::abs(qGray(overWhite.pixel(x, y)) - qGray(opaque.pixel(x, y)));
                }
            }
            QVERIFY(inked > 100);
            QVERIFY2(difference < 3 * inked, qPrintable(QString::number(double(difference) / inked)));
        }
        const ImageFacts facts = readImage(job.destination);
        // A palette holds the transparent entry; gray keeps its own transparency.
        if (c.format == "png" && c.depth == ColorDepth::SixteenColors)
            QCOMPARE(facts.pngColorType, 3);
        if (c.format == "png" && c.depth == ColorDepth::SixteenGrays)
            QVERIFY(facts.pngColorType == 0 || facts.pngColorType == 4);
        if (c.format == "tif") {
            QCOMPARE(facts.compression, QByteArray("LZW")); // Group 4 has no transparency
            QCOMPARE(facts.gray, Promised.value(c.depth).pngType == 0);
        }
    }

    void multiPageTiff_holdsEveryPageInOrder_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<QByteArray>("compression");
        QTest::newRow("16 colours") << int(ColorDepth::SixteenColors) << QByteArray("LZW");
        QTest::newRow("black and white") << int(ColorDepth::BlackAndWhite) << QByteArray("Group4");
    }

    void multiPageTiff_holdsEveryPageInOrder()
    {
        QFETCH(int, depth);
        QFETCH(QByteArray, compression);
        CaseFolder folder;
        ConversionJob job = knownPages(folder.path("scan"), 1, 3);
        job.options.format = ImageFormat::Tiff;
        job.options.colorDepth = ColorDepth(depth);
        const ConversionResult result = convert(job);
        QVERIFY(result.isSuccess());
        QCOMPARE(result.pagesWritten, 3);
        QCOMPARE(filesIn(folder.path()), QStringList{"scan.tif"});
        const ImageFacts facts = readImage(folder.path("scan.tif"));
        QCOMPARE(facts.images, 3);
        QCOMPARE(facts.compression, compression);
        const auto frame = [&](int index) {
            const QString name = QStringLiteral("TIFF:%1[%2]").arg(folder.path("scan.tif")).arg(index);
            return QImage::fromData(ImageObject().convert({name}, "PPM").data, "PPM");
        };
        // Page 3, the one with a margin, comes last.
        QCOMPARE(frame(2).pixelColor(1, 1), QColor(Qt::white));
        QVERIFY(frame(0).pixelColor(1, 1) != QColor(Qt::white));
        QCOMPARE(frame(1).size(), OutputSize::pixels(PagePoints, 72, true));
    }
};

QTEST_MAIN(tst_WrittenFiles)
#include "tst_writtenfiles.moc"
