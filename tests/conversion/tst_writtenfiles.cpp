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

#include <limits>

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
    for (const QRectF &box : {QRectF(QPointF(), PagePoints), TrimBox}) {
        stripes(box);
        writer.newPage();
        gradients(box);
        writer.newPage();
    }
    QLinearGradient ramp(0, 0, PagePoints.width(), 0);
    ramp.setStops({{0, Qt::black}, {1, Qt::white}});
    painter.fillRect(QRectF(QPointF(), PagePoints), ramp);
    return painter.end();
}

QByteArray formatByBytes(const QByteArray &data)
{
    const QList<std::pair<const char *, QByteArray>> magic{
        {"png", "\x89PNG\r\n\x1a\n"}, {"gif", "GIF8"}, {"jpg", "\xff\xd8\xff"}, {"tif", "II*"}, {"tif", "MM"}};
    for (const auto &[format, start] : magic) {
        if (data.startsWith(start))
            return format;
    }
    // A lossless WebP holds its image in a VP8L chunk (after its colour profile), a lossy one in "VP8 ".
    if (data.startsWith("RIFF") && data.mid(8, 4) == "WEBP")
        return data.contains("VP8L") ? "webp lossless" : "webp";
    return "unknown";
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

// What each depth promises: the most colours kept, and a PNG's colour type (0 is gray, its levels evenly spaced)
// and bits (0: the fewest that hold the colours kept).
const QMap<ColorDepth, std::array<int, 3>> Promised{
    {ColorDepth::BlackAndWhite, {2, 0, 1}},
    {ColorDepth::FourColors, {4, 3, 0}},
    {ColorDepth::SixteenColors, {16, 3, 0}},
    {ColorDepth::TwoHundredFiftySixColors, {256, 3, 0}},
    {ColorDepth::HiColor, {65536, 2, 8}},
    {ColorDepth::Grayscale, {256, 0, 8}},
    {ColorDepth::SixteenGrays, {16, 0, 4}},
    {ColorDepth::FourGrays, {4, 0, 2}},
    {ColorDepth::Cmyk, {std::numeric_limits<int>::max(), 2, 8}},
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
    bool icc = false; // the sRGB profile asked for
    QString chosen;   // the format option, when not the name's
    int fewest = 0;   // colours in the file; lossy files are not counted
    int specks = 0;   // pixels unlike their left neighbour, in a PNG: dithering scatters a gradient into specks
};

// A page our own PNG writer writes, from a bitmap the library reduced.
struct OwnPng
{
    ColorDepth depth;
    int page = 1;
    bool dither = false;
    int boxWidth = 0; // to fit the page in; 0 for none
    int bitDepth = 8;
    bool clear = false; // on transparent paper
    int colorType = 3;  // in the file written
    bool ours = true;   // false: left to the library's writer
};

// A page written on transparent paper.
struct Clear
{
    QByteArray format = "png";
    ColorDepth depth;
    int page = 3; // 3: stripes in a clear margin; 4: more colours than a palette, in one
    bool trim = false;
    QList<int> pngTypes; // a PNG's colour type: any of these
};

// What the page box, the drawing switches, overprint and antialiasing do to a drawn page, in Hicolor.
struct Drawn
{
    int parts = Everything;
    int dpi = 72;
    PageBox box = PageBox::Crop;
    Drawing drawing;
    Overprint overprint = Overprint::Auto;
    int reference = 0; // the parts of a page whose file this one must equal, pixel for pixel; 0: none
    QSize size;        // empty: not judged
    QRgb overlap = 0;  // where the inks overlap; 0: not judged
    int levels = 0;    // the fewest gray levels, the strokes at most 64 dark; 0: not judged
    ColorDepth depth = ColorDepth::HiColor;
    int mostLevels = 0;       // 0: not judged
    bool transparent = false; // and the text's edges, partly clear, keep the ink's colour
};

} // namespace

Q_DECLARE_METATYPE(Written)
Q_DECLARE_METATYPE(Drawn)
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
        return {.options = {.sourceFile = m_pdf, .dpi = 72},
                .ghostscript = GhostscriptLocator().locate(),
                .destination = destination,
                .firstPage = first,
                .lastPage = std::max(first, last),
                .numbered = last > first,
                .pageCount = 3};
    }

    // The drawn page with parts converted with options; null for no parts or a failure.
    QImage drawnPage(int parts, ConversionOptions options) const
    {
        const QString pdf = m_docs.filePath(QStringLiteral("drawn%1.pdf").arg(parts));
        if (parts == 0 || (!QFile::exists(pdf) && !writeDrawnPage(pdf, parts)))
            return {};
        options.sourceFile = pdf;
        static int written = 0;
        const ConversionJob job{.options = options,
                                .ghostscript = GhostscriptLocator().locate(),
                                .destination = m_docs.filePath(QStringLiteral("drawn-%1.png").arg(++written))};
        return convert(job).fatal.isNone() ? decoded(job.destination) : QImage();
    }

private slots:
    void initTestCase()
    {
        ImageObject::initialise();
        m_pdf = m_docs.filePath("known.pdf");
        QVERIFY(writeKnownPages(m_pdf));
    }

    void everyOption_showsInTheFileWritten_data()
    {
        QTest::addColumn<Written>("c");
        const auto row = [](const char *name, const Written &c) { QTest::newRow(name) << c; };
        using D = ColorDepth;
        row("png 16 colours", {.antialias = false, .fewest = 16});
        row("png 16 colours antialiased 144 dpi", {.dpi = 144, .fewest = 16});
        row("png 4 colours dithered", {.depth = D::FourColors, .dither = true, .fewest = 4});
        // Undithered, a few thousand: the gradients fall into bands.
        row("png 4 colours dithered, gradients", {.depth = D::FourColors, .page = 2, .dither = true, .specks = 15000});
        row("png black and white", {.depth = D::BlackAndWhite, .page = 2, .dpi = 96, .fewest = 2});
        row("png 256 colours", {.depth = D::TwoHundredFiftySixColors, .page = 2, .dpi = 120, .fewest = 17});
        // Page 1 keeps its 16 stripes: a 4-bit palette holds them.
        row("png 256 colours, 16 kept", {.depth = D::TwoHundredFiftySixColors, .antialias = false, .fewest = 16});
        // Hicolor keeps every colour: in a palette where they fit one, as true colour beyond.
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
        row("png grayscale trimmed", {.depth = D::Grayscale, .page = 3, .trim = true, .fewest = 2});
        row("png 16 grays dithered",
            {.depth = D::SixteenGrays, .page = 2, .dither = true, .fewest = 8, .specks = 15000});
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
        // CMYK keeps the profile Ghostscript rendered to; colour files carry sRGB's when asked, gray ones never.
        row("tif cmyk", {.format = "tif", .depth = D::Cmyk, .page = 2, .fewest = 1000});
        row("jpg cmyk", {.format = "jpg", .depth = D::Cmyk, .page = 2, .quality = 80});
        row("png 16 colours, sRGB profile", {.icc = true, .fewest = 16});
        row("jpg hicolor, sRGB profile", {.format = "jpg", .depth = D::HiColor, .page = 2, .icc = true});
        row("png hicolor, sRGB profile", {.depth = D::HiColor, .antialias = false, .icc = true, .fewest = 16});
        // The name's suffix says what the file is, whatever format was chosen.
        row("jpg named, png chosen", {.format = "jpg", .chosen = "png"});
        row("jpg grayscale, no profile for gray",
            {.format = "jpg", .depth = D::Grayscale, .page = 2, .quality = 80, .icc = true});
    }

    void everyOption_showsInTheFileWritten()
    {
        QFETCH(Written, c);
        CaseFolder folder;
        const QString suffix = QString(c.format).section(' ', 0, 0);
        ConversionJob job = knownPages(folder.path("page." + suffix), c.page);
        job.options.format = ImageFormat(OptionLists::suffixes().indexOf(c.chosen.isEmpty() ? suffix : c.chosen));
        job.options.colorDepth = c.depth;
        job.options.dither = c.dither;
        job.options.antialias = c.antialias;
        job.options.trim = c.trim;
        job.options.jpegQuality = c.quality;
        job.options.dpi = c.dpi;
        job.options.iccProfile = c.icc;
        QVERIFY(convert(job).isSuccess());
        QCOMPARE(filesIn(folder.path()), QStringList{"page." + suffix});
        const QByteArray bytes = contentsOf(job.destination);
        QCOMPARE(formatByBytes(bytes), c.format);
        // Nothing but the image: no profile unless asked, no time of writing.
        for (const char *chunk : {"tEXt", "zTXt", "tIME", "bKGD"})
            QVERIFY2(suffix != "png" || !bytes.contains(chunk), chunk);

        const ImageFacts facts = readImage(job.destination);
        const bool cmyk = c.depth == ColorDepth::Cmyk, srgb = c.icc && !job.options.isGray();
        const QString profile = cmyk ? "default_cmyk.icc" : srgb ? "srgb.icc" : "none";
        QCOMPARE(std::pair(facts.cmyk, qint64(facts.profileBytes)),
                 std::pair(cmyk, QFileInfo("/usr/share/color/icc/ghostscript/" + profile).size()));
        // Trimming finds the stripes' edges to within a pixel.
        const QSize off = facts.size - OutputSize::pixels(c.trim ? TrimBox.size() : PagePoints, c.dpi);
        QVERIFY2(qAbs(off.width()) <= int(c.trim) && qAbs(off.height()) <= int(c.trim),
                 qPrintable(QStringLiteral("%1x%2").arg(facts.size.width()).arg(facts.size.height())));
        QCOMPARE(facts.page, QRect(QPoint(), facts.size)); // no canvas left from trimming
        if (suffix == "png" || suffix == "jpg" || suffix == "tif")
            QCOMPARE(qRound(facts.dpi), c.dpi);
        const auto [most, pngType, pngBits] = Promised.value(c.depth);
        const QImage image = decoded(job.destination);
        if (pngType == 0) {
            QVERIFY(!image.isNull() && image.allGray());
            const int step = 255 / ((1 << pngBits) - 1);
            for (int y = 0; suffix == "png" && y < image.height(); y += 7)
                for (int x = 0; x < image.width(); x += 7)
                    QVERIFY(qGray(image.pixel(x, y)) % step == 0);
            if (suffix == "jpg" || suffix == "tif")
                QVERIFY(facts.gray); // one component, not three equal ones
        }
        if (suffix == "tif")
            QCOMPARE(facts.compression, QByteArray("LZW"));
        QVERIFY2(changesAlongRows(image) >= c.specks, "not dithered");
        // A palette at the fewest bits that hold the colours kept.
        const int least = facts.colors <= 2 ? 1 : facts.colors <= 4 ? 2 : facts.colors <= 16 ? 4 : 8;
        const bool inPalette = c.depth == ColorDepth::HiColor && facts.colors <= 256;
        if (suffix == "png")
            QCOMPARE(QList<int>({facts.pngColorType, facts.pngBitDepth}),
                     inPalette ? QList<int>({3, least}) : QList<int>({pngType, pngBits ? pngBits : least}));
        if (suffix == "jpg")
            QCOMPARE(facts.quality, std::max(1, c.quality));
        else if (c.format != "webp")
            QVERIFY2(facts.colors >= c.fewest && facts.colors <= most, qPrintable(QString::number(facts.colors)));
    }

    // Palettes, gray, true colour and transparent pages come from our own PNG writer: the pixels are those the
    // library's would write.
    void ownPngWriter_keepsTheLibrarysPixels_data()
    {
        QTest::addColumn<OwnPng>("c");
        const auto row = [](const char *name, const OwnPng &c) { QTest::newRow(name) << c; };
        using D = ColorDepth;
        row("16 colours, 16 stripes", {.depth = D::SixteenColors, .bitDepth = 4});
        row("4 colours dithered, gradients", {.depth = D::FourColors, .page = 2, .dither = true, .bitDepth = 2});
        // Scaled, some of the library's palette entries fall together at 8 bits.
        row("256 colours, a ramp scaled", {.depth = D::TwoHundredFiftySixColors, .page = 5, .boxWidth = 517});
        row("16 grays, a ramp", {.depth = D::SixteenGrays, .page = 5, .bitDepth = 4, .colorType = 0});
        row("black and white dithered, gradients",
            {.depth = D::BlackAndWhite, .page = 2, .dither = true, .bitDepth = 1, .colorType = 0});
        row("gray, dithered", {.depth = D::Grayscale, .page = 2, .dither = true, .colorType = 0});
        row("Hicolor dithered, stripes: a palette", {.depth = D::HiColor, .dither = true, .bitDepth = 4});
        // Reduced to 65536 colours, each an average that is none of the 256 levels of 8 bits.
        row("Hicolor scaled, gradients: the library writes",
            {.depth = D::HiColor, .page = 2, .boxWidth = 517, .colorType = 2, .ours = false});
        // The library keeps opacity where a PNG keeps alpha: each cut to 8 bits, they differ by one.
        row("16 colours on clear paper", {.depth = D::SixteenColors, .page = 3, .bitDepth = 4, .clear = true});
        row("256 colours dithered on clear paper, gradients",
            {.depth = D::TwoHundredFiftySixColors, .page = 4, .dither = true, .clear = true});
        row("Hicolor on clear paper, gradients", {.depth = D::HiColor, .page = 4, .clear = true, .colorType = 6});
    }

    void ownPngWriter_keepsTheLibrarysPixels()
    {
        QFETCH(OwnPng, c);
        CaseFolder folder;
        RenderRequest render{
            .document = m_pdf, .outputFolder = folder.path(), .dpi = 96, .antialias = true, .alpha = c.clear};
        render.firstPage = render.lastPage = c.page;
        QVERIFY(run(GhostscriptLocator().locate(), GhostscriptCommands::renderArguments(render)));
        ConversionJob job;
        // Tagged 78 dpi: 3071.06 pixels a metre, where rounding the other way shows.
        job.options = {
            .colorDepth = c.depth, .dither = c.dither, .dpi = 78, .fitToBox = c.boxWidth > 0, .boxWidth = c.boxWidth};
        job.options.transparent = c.clear;
        job.destination = folder.path("page.png");
        const QStringList command = job.magickArguments(GhostscriptCommands::bitmapPath(folder.path(), 1, c.clear));
        // Without a form named, the library's writer writes the page.
        ImageEncoding library = job.imageEncoding();
        library.pngColorType = -1;
        library.pngBitDepth = 0;
        library.pngAlpha = false;
        const ImageResult written = ImageObject().convert(command, job.imageEncoding());
        const ImageResult reference = ImageObject().convert(command, library);
        QVERIFY(written.ok && reference.ok);
        QCOMPARE(std::pair(int(written.data.at(24)), int(written.data.at(25))), std::pair(c.bitDepth, c.colorType));
        QCOMPARE(written.data != reference.data, c.ours);
        const QImage::Format format = c.clear ? QImage::Format_ARGB32 : QImage::Format_RGB32;
        const QImage image = QImage::fromData(written.data, "PNG").convertToFormat(format);
        QVERIFY(!image.isNull());
        QCOMPARE(image, QImage::fromData(reference.data, "PNG").convertToFormat(format));
        QVERIFY(!c.clear || image.pixelColor(0, 0).alpha() == 0);
        // The resolution in pixels a metre (3071), and the colour space as the library's writer states it.
        QVERIFY(written.data.contains(QByteArray("pHYs\0\0\x0b\xff\0\0\x0b\xff\x01", 13)));
        const auto chunks = [](const QByteArray &png) {
            return png.mid(png.indexOf("gAMA"), 4 + 4) + png.mid(png.indexOf("cHRM"), 4 + 32);
        };
        QCOMPARE(chunks(written.data), chunks(reference.data));
    }

    void sizeInPixels_fitsEachPageInTheBox_data()
    {
        QTest::addColumn<QSize>("box"); // 0 leaves a side free
        QTest::addColumn<bool>("trim");
        QTest::addColumn<QSize>("written");
        // The pages are 400 x 200 points; page 3's stripes, the part trimming keeps, 200 x 100.
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
        job.options = {
            .sourceFile = m_pdf, .fitToBox = true, .boxWidth = box.width(), .boxHeight = box.height(), .trim = trim};
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
        const QString mixed = folder.path("mixed.pdf"), small = folder.path("small.pdf");
        QVERIFY(writePdf(mixed, {QSizeF(400, 200), QSizeF(100, 50), QSizeF(400, 200)}));
        QVERIFY(writePdf(small, {QSizeF(100, 50), QSizeF(100, 50)}));
        const auto fitted = [&](const QString &document, const QString &name, int width, int first = 1) {
            const DocumentInfo info = documentInfo(document, 1);
            ConversionJob job = knownPages(folder.path(name), first, info.pageCount);
            job.options = {
                .sourceFile = document, .colorDepth = ColorDepth::HiColor, .fitToBox = true, .boxWidth = width};
            job.pageCount = info.pageCount;
            job.pageSize = info.pageSize();
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

        // A page needing beyond 2400 dpi refuses the run before anything is written, so does one far taller.
        for (const QSizeF second : {QSizeF(2, 1), QSizeF(400, 14000)}) {
            QVERIFY(writePdf(mixed, {QSizeF(400, 200), second}));
            const ConversionResult refused = fitted(mixed, "refused.png", 6000);
            QCOMPARE(refused.fatal.kind, Problem::TooLarge);
            QVERIFY2(refused.fatal.message.startsWith("Page 2: "), qPrintable(refused.fatal.message));
            QVERIFY(!QFileInfo::exists(folder.path("refused001.png")));
        }
    }

    void drawing_showsInTheFileWritten_data()
    {
        QTest::addColumn<Drawn>("c");
        const auto row = [](const char *name, const Drawn &c) { QTest::newRow(name) << c; };
        row("crop box", {.size = {360, 360}});
        row("media box", {.box = PageBox::Media, .size = {400, 400}});
        row("trim box", {.box = PageBox::Trim, .size = {280, 280}});
        row("bleed box", {.box = PageBox::Bleed, .size = {320, 320}});
        row("art box", {.box = PageBox::Art, .size = {240, 240}});
        row("no trim box: the media box", {.parts = Everything & ~Boxes, .box = PageBox::Trim, .size = {400, 400}});
        row("no annotations", {.drawing = {.annotations = false}, .reference = Everything & ~Note & ~Field});
        row("no form fields", {.drawing = {.forms = false}, .reference = Everything & ~Field});
        row("as printed", {.drawing = {.printed = true}, .reference = Everything & ~Note});
        row("without text", {.drawing = {.text = false}, .reference = Everything & ~Text});
        row("without images", {.drawing = {.images = false}, .reference = Everything & ~Image});
        row("without vectors, appearances too",
            {.drawing = {.vectors = false}, .reference = Everything & ~Vector & ~Note & ~Field});
        row("overprint on", {.parts = Inks, .overprint = Overprint::On, .overlap = qRgb(46, 48, 146)});
        row("overprint auto, no intent", {.parts = Inks, .overlap = qRgb(236, 0, 140)});
        row("overprint auto, PDF/X", {.parts = Inks | PrintIntent, .overlap = qRgb(46, 48, 146)});
        row("overprint off, PDF/X",
            {.parts = Inks | PrintIntent, .overprint = Overprint::Off, .overlap = qRgb(236, 0, 140)});
        // Hairlines stay dark with the text smoothed, with the 16 levels of Ghostscript's 4 alpha bits, where
        // halving a double render gave 5 levels and hairlines half gray.
        row("hairlines and text edges, 72 dpi", {.parts = Lines | Text, .levels = 16});
        row("hairlines and text edges, 300 dpi", {.parts = Lines | Text, .dpi = 300, .levels = 16});
        row("text edges on transparent paper", {.parts = Text, .transparent = true});
        // 16 levels would cost the reduction time and the file bytes: 16 colours keep 4 and the paper.
        row("text edges in 16 colours", {.parts = Text, .depth = ColorDepth::SixteenColors, .mostLevels = 5});
    }

    void drawing_showsInTheFileWritten()
    {
        QFETCH(Drawn, c);
        ConversionOptions options{.colorDepth = c.depth, .dpi = c.dpi};
        const QImage plain = drawnPage(c.reference, options);
        options.pageBox = c.box;
        options.drawing = c.drawing;
        options.overprint = c.overprint;
        options.transparent = c.transparent;
        const QImage image = drawnPage(c.parts, options);
        int edges = 0;
        for (int y = 0; c.transparent && y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.alpha() == 0 || pixel.alpha() == 255)
                    continue;
                ++edges;
                QVERIFY2(std::abs(pixel.red() - 204) + std::abs(pixel.green() - 26) + std::abs(pixel.blue() - 26) < 12,
                         qPrintable(QStringLiteral("%1 at alpha %2").arg(pixel.name()).arg(pixel.alpha())));
            }
        }
        QVERIFY(!c.transparent || edges > 50);
        QVERIFY(!image.isNull());
        if (c.reference)
            QVERIFY(image == plain && image != drawnPage(Everything, {.colorDepth = ColorDepth::HiColor, .dpi = 72}));
        if (c.size.isValid())
            QCOMPARE(image.size(), c.size);
        const QColor seen = image.pixelColor(image.width() / 2, image.height() / 2), wanted(c.overlap);
        const int off = std::abs(seen.red() - wanted.red()) + std::abs(seen.green() - wanted.green())
                        + std::abs(seen.blue() - wanted.blue());
        QVERIFY2(!c.overlap || off < 12, qPrintable(seen.name()));
        QSet<int> levels;
        for (int y = 0; (c.levels || c.mostLevels) && y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                levels << qGray(image.pixel(x, y));
        }
        QCOMPARE_GE(levels.size(), c.levels);
        QVERIFY(!c.mostLevels || levels.size() <= c.mostLevels);
        for (const double stroke : {300.37, 280.24, 260.11}) {
            int darkest = 255;
            const int row = int((380 - stroke) * c.dpi / 72);
            for (int y = row - 2; c.levels && y <= row + 2; ++y)
                darkest = std::min(darkest, qGray(image.pixel(image.width() / 2, y)));
            QVERIFY2(!c.levels || darkest <= 64, qPrintable(QString::number(darkest)));
        }
    }

    void transparentBackground_leavesThePaperClear_data()
    {
        QTest::addColumn<Clear>("c");
        const auto row = [](const char *name, const Clear &c) { QTest::newRow(name) << c; };
        using D = ColorDepth;
        row("png 16 colours", {.depth = D::SixteenColors, .pngTypes = {3}});
        row("png black and white", {.depth = D::BlackAndWhite});
        row("png 16 grays", {.depth = D::SixteenGrays, .pngTypes = {0, 4}});
        row("png hicolor trimmed", {.depth = D::HiColor, .trim = true});
        row("gif 4 colours", {.format = "gif", .depth = D::FourColors});
        row("tif black and white", {.format = "tif", .depth = D::BlackAndWhite});
        row("tif 16 colours", {.format = "tif", .depth = D::SixteenColors});
        row("tif 4 grays", {.format = "tif", .depth = D::FourGrays});
        row("gif 256 colours", {.format = "gif", .depth = D::TwoHundredFiftySixColors, .page = 4});
        // Fewer colours than the palette holds.
        row("gif 256 colours, a few used", {.format = "gif", .depth = D::TwoHundredFiftySixColors});
        row("webp 256 colours", {.format = "webp", .depth = D::TwoHundredFiftySixColors, .page = 4});
    }

    void transparentBackground_leavesThePaperClear()
    {
        QFETCH(Clear, c);
        CaseFolder folder;
        ConversionJob job = knownPages(folder.path("clear." + c.format), c.page);
        job.options.colorDepth = c.depth;
        job.options.format = ImageFormat(OptionLists::suffixes().indexOf(c.format));
        job.options.trim = c.trim;
        job.options.transparent = true;
        QVERIFY(convert(job).isSuccess());
        const QByteArray png = ImageObject().convert({c.format.toUpper() + ':' + job.destination}, "PNG").data;
        const QImage image = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32);
        QVERIFY(image.hasAlphaChannel());
        const QPoint ink = c.trim ? image.rect().center() : TrimBox.center().toPoint();
        QCOMPARE(qAlpha(image.pixel(ink)), 255);
        // The clear margin is what trimming takes away.
        const QPoint corner(image.width() - 2, image.height() - 2);
        if (c.trim)
            QCOMPARE(image.size(), OutputSize::pixels(TrimBox.size(), 72));
        else
            QCOMPARE(QList<int>({qAlpha(image.pixel(1, 1)), qAlpha(image.pixel(corner))}), QList<int>({0, 0}));
        const ImageFacts facts = readImage(job.destination);
        // A palette holds the transparent entry; gray keeps its own transparency.
        QVERIFY(c.pngTypes.isEmpty() || c.pngTypes.contains(facts.pngColorType));
        if (c.format == "tif") {
            QCOMPARE(facts.compression, QByteArray("LZW"));        // Group 4 has no transparency
            QCOMPARE(facts.gray, Promised.value(c.depth)[1] == 0); // a gray PNG's type
        }
    }

    void multiPageTiff_holdsEveryPageInOrder_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<QByteArray>("compression");
        QTest::newRow("16 colours") << int(ColorDepth::SixteenColors) << QByteArray("LZW");
        QTest::newRow("black and white") << int(ColorDepth::BlackAndWhite) << QByteArray("Group4");
        QTest::newRow("cmyk") << int(ColorDepth::Cmyk) << QByteArray("LZW");
    }

    void multiPageTiff_holdsEveryPageInOrder()
    {
        QFETCH(int, depth);
        QFETCH(QByteArray, compression);
        CaseFolder folder;
        ConversionJob job = knownPages(folder.path("scan"), 1, 3);
        job.options = {.sourceFile = m_pdf, .colorDepth = ColorDepth(depth), .format = ImageFormat::Tiff, .dpi = 72};
        const ConversionResult result = convert(job);
        QVERIFY(result.isSuccess());
        QCOMPARE(result.pagesWritten, 3);
        QCOMPARE(filesIn(folder.path()), QStringList{"scan.tif"});
        const ImageFacts facts = readImage(folder.path("scan.tif"));
        QCOMPARE(std::pair(facts.images, facts.compression), std::pair(3, compression));
        const auto frame = [&](int index) {
            const QString name = QStringLiteral("TIFF:%1[%2]").arg(folder.path("scan.tif")).arg(index);
            return QImage::fromData(ImageObject().convert({name}, "PPM").data, "PPM");
        };
        // Page 3, the one with a margin, comes last; a CMYK page with its profile.
        QCOMPARE(readImage(folder.path("scan.tif[2]")).profileBytes > 0, ColorDepth(depth) == ColorDepth::Cmyk);
        QCOMPARE(frame(2).pixelColor(1, 1), QColor(Qt::white));
        QVERIFY(frame(0).pixelColor(1, 1) != QColor(Qt::white));
    }
};

QTEST_MAIN(tst_WrittenFiles)
#include "tst_writtenfiles.moc"
