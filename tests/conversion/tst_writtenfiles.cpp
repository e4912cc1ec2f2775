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

// Page 1: sixteen flat stripes on pixel boundaries, so a reduction to 16 or 4 colours keeps exactly as many.
// Page 2: smooth gradients, for more colours than any palette and for dithering. Page 3: page 1's stripes
// inside a white margin, for trimming. Page 4: page 2's gradients inside that margin, for many colours
// around a transparent border. Page 5: a ramp from black to white.
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
    stripes(QRectF(QPointF(), PagePoints));
    writer.newPage();
    // Hues across, darkening downwards: more colours than Hicolor keeps.
    const auto gradients = [&painter](const QRectF &box) {
        for (int row = 0; row < int(box.height()); ++row) {
            QLinearGradient hues(box.x(), 0, box.right(), 0);
            for (int step = 0; step <= 6; ++step)
                hues.setColorAt(step / 6.0, QColor::fromHsv(step * 60 % 360, 255, 255 - row));
            painter.fillRect(QRectF(box.x(), box.y() + row, box.width(), 1), hues);
        }
    };
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

} // namespace

class tst_WrittenFiles : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_pdf;

private slots:
    void initTestCase()
    {
        ImageObject::initialise();
        m_pdf = m_docs.filePath("known.pdf");
        QVERIFY(writeKnownPages(m_pdf));
        QVERIFY(
            run(GhostscriptLocator().locate(),
                {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite", "-o", m_docs.filePath("text.pdf"), "-c",
                 "<< /PageSize [300 300] >> setpagedevice /Helvetica findfont 24 scalefont setfont 20 250 moveto "
                 "(Page 1) show 1 0 0 setrgbcolor 100 100 100 100 rectfill showpage"}));
        // Sixty hue bars, a red line and a blue disc on white.
        QVERIFY(
            run(GhostscriptLocator().locate(),
                {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite", "-o", m_docs.filePath("bars.pdf"), "-c",
                 "0 1 59 { /i exch def i 60 div 0.67 0.8 sethsbcolor i 10 mul 100 add 200 9 400 rectfill } for "
                 "1 0 0 setrgbcolor 100 650 moveto 400 150 lineto 3 setlinewidth stroke 0 0 1 setrgbcolor "
                 "300 100 80 0 360 arc fill showpage"}));
    }

    void everyOption_showsInTheFileWritten_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("dither");
        QTest::addColumn<bool>("antialias");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<int>("quality");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("minColours"); // and at most the depth's count
        using D = ColorDepth;
        // format, depth, dither, antialias, trim, quality, dpi, page, fewest colours
        QTest::newRow("png 16 colours") << "png" << int(D::SixteenColors) << false << false << false << 75 << 72 << 1
                                        << 16;
        QTest::newRow("png 16 colours antialiased 144 dpi")
            << "png" << int(D::SixteenColors) << false << true << false << 75 << 144 << 1 << 16;
        QTest::newRow("png 4 colours dithered")
            << "png" << int(D::FourColors) << true << true << false << 75 << 72 << 1 << 4;
        QTest::newRow("png black and white")
            << "png" << int(D::BlackAndWhite) << false << true << false << 75 << 96 << 2 << 2;
        QTest::newRow("png 256 colours") << "png" << int(D::TwoHundredFiftySixColors) << false << true << false << 75
                                         << 120 << 2 << 17;
        // Page 1 keeps its 16 stripes: a 4-bit palette holds them.
        QTest::newRow("png 256 colours, 16 kept")
            << "png" << int(D::TwoHundredFiftySixColors) << false << false << false << 75 << 72 << 1 << 16;
        // True colour however few colours the page has, so the writer need not count them.
        QTest::newRow("png hicolor, 16 stripes")
            << "png" << int(D::HiColor) << false << false << false << 75 << 72 << 1 << 16;
        QTest::newRow("png hicolor") << "png" << int(D::HiColor) << false << true << false << 75 << 144 << 2 << 32769;
        QTest::newRow("gif 16 colours") << "gif" << int(D::SixteenColors) << false << true << false << 75 << 72 << 1
                                        << 16;
        QTest::newRow("gif 4 colours dithered")
            << "gif" << int(D::FourColors) << true << false << false << 75 << 192 << 1 << 4;
        QTest::newRow("jpg hicolor, quality 30")
            << "jpg" << int(D::HiColor) << false << true << false << 30 << 72 << 2 << 0;
        // The library reads 0 as "its default"; the user asked for the smallest file.
        QTest::newRow("jpg hicolor, quality 0")
            << "jpg" << int(D::HiColor) << false << true << false << 0 << 72 << 2 << 0;
        QTest::newRow("jpg 16 colours, quality 95")
            << "jpg" << int(D::SixteenColors) << false << false << false << 95 << 144 << 1 << 0;
        QTest::newRow("png trimmed") << "png" << int(D::SixteenColors) << false << false << true << 75 << 72 << 3 << 16;
        QTest::newRow("gif trimmed antialiased")
            << "gif" << int(D::FourColors) << false << true << true << 75 << 144 << 3 << 4;
        QTest::newRow("png grayscale") << "png" << int(D::Grayscale) << false << true << false << 75 << 72 << 2 << 100;
        QTest::newRow("png 16 grays dithered")
            << "png" << int(D::SixteenGrays) << true << true << false << 75 << 72 << 2 << 8;
        QTest::newRow("png 4 grays") << "png" << int(D::FourGrays) << false << false << false << 75 << 72 << 1 << 3;
        // A ramp from black to white takes every level there is.
        QTest::newRow("png 16 grays, a ramp")
            << "png" << int(D::SixteenGrays) << false << true << false << 75 << 72 << 5 << 16;
        QTest::newRow("png 4 grays, a ramp")
            << "png" << int(D::FourGrays) << false << true << false << 75 << 72 << 5 << 4;
        QTest::newRow("gif 16 grays") << "gif" << int(D::SixteenGrays) << false << true << false << 75 << 96 << 2 << 8;
        QTest::newRow("jpg grayscale") << "jpg" << int(D::Grayscale) << false << true << false << 80 << 72 << 2 << 0;
        QTest::newRow("tif 16 colours") << "tif" << int(D::SixteenColors) << false << true << false << 75 << 72 << 1
                                        << 16;
        QTest::newRow("tif 4 grays") << "tif" << int(D::FourGrays) << true << true << false << 75 << 96 << 2 << 3;
        QTest::newRow("tif hicolor trimmed")
            << "tif" << int(D::HiColor) << false << true << true << 75 << 72 << 3 << 16;
        QTest::newRow("webp 16 colours") << "webp lossless" << int(D::SixteenColors) << false << true << false << 75
                                         << 72 << 1 << 16;
        QTest::newRow("webp 16 grays") << "webp lossless" << int(D::SixteenGrays) << false << true << false << 75 << 72
                                       << 2 << 8;
        QTest::newRow("webp hicolor") << "webp" << int(D::HiColor) << false << true << false << 75 << 72 << 2 << 0;
    }

    void everyOption_showsInTheFileWritten()
    {
        QFETCH(QString, format);
        QFETCH(int, depth);
        QFETCH(bool, dither);
        QFETCH(bool, antialias);
        QFETCH(bool, trim);
        QFETCH(int, quality);
        QFETCH(int, dpi);
        QFETCH(int, page);
        QFETCH(int, minColours);
        CaseFolder folder;
        ConversionJob job;
        job.ghostscript = GhostscriptLocator().locate();
        job.options.sourceFile = m_pdf;
        const QString suffix = format.section(' ', 0, 0);
        job.options.format = ImageFormat(OptionLists::suffixes().indexOf(suffix));
        job.options.colorDepth = ColorDepth(depth);
        job.options.dither = dither;
        job.options.antialias = antialias;
        job.options.trim = trim;
        job.options.jpegQuality = quality;
        job.options.dpi = dpi;
        job.firstPage = job.lastPage = page;
        job.pageCount = 3;
        job.destination = folder.path("page." + suffix);
        QVERIFY(convert(job).isSuccess());
        const QString written = job.outputFileName(page);
        QCOMPARE(filesIn(folder.path()), QStringList{QFileInfo(written).fileName()});
        QFile file(written);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(formatByBytes(bytes), format.toLatin1());
        // Nothing but the image: no profile, no time of writing.
        if (format == "png") {
            for (const char *chunk : {"iCCP", "tEXt", "zTXt", "tIME", "bKGD"})
                QVERIFY2(!bytes.contains(chunk), chunk);
        }

        const ImageFacts facts = readImage(written);
        const QSize expected =
            trim ? OutputSize::pixels(TrimBox.size(), dpi, antialias) : OutputSize::pixels(PagePoints, dpi, antialias);
        QVERIFY2(std::abs(facts.size.width() - expected.width()) <= (trim ? 1 : 0)
                     && std::abs(facts.size.height() - expected.height()) <= (trim ? 1 : 0),
                 qPrintable(QStringLiteral("%1x%2").arg(facts.size.width()).arg(facts.size.height())));
        QCOMPARE(facts.page, QRect(QPoint(), facts.size)); // no canvas left from trimming
        if (format == "png" || format == "jpg" || format == "tif")
            QCOMPARE(qRound(facts.dpi), dpi);
        const ConversionOptions options{.colorDepth = ColorDepth(depth)};
        // Bits of each gray depth; its levels are evenly spaced, so each one a multiple of the step.
        const QMap<ColorDepth, int> grayBits{
            {ColorDepth::Grayscale, 8}, {ColorDepth::SixteenGrays, 4}, {ColorDepth::FourGrays, 2}};
        if (grayBits.contains(ColorDepth(depth))) {
            const int bits = grayBits.value(ColorDepth(depth));
            const QImage image(written);
            QVERIFY(image.allGray());
            if (format == "png") {
                QCOMPARE(QList<int>({facts.pngColorType, facts.pngBitDepth}), QList<int>({0, bits}));
                const int step = 255 / ((1 << bits) - 1);
                for (int y = 0; y < image.height(); y += 7) {
                    for (int x = 0; x < image.width(); x += 7)
                        QVERIFY(qGray(image.pixel(x, y)) % step == 0);
                }
            }
            if (format == "jpg" || format == "tif")
                QVERIFY(facts.gray); // one component, not three equal ones
        }
        if (format == "tif")
            QCOMPARE(facts.compression, QByteArray("LZW"));
        // A palette is written as indexed colour at the least depth that holds the colours kept; Hicolor as
        // true colour.
        if (format == "png" && !options.isGray() && !options.isMonochrome() && options.bitsPerPixel() > 0) {
            int least = 1;
            while ((1 << least) < facts.colors)
                least *= 2;
            QCOMPARE(QList<int>({facts.pngColorType, facts.pngBitDepth}), QList<int>({3, least}));
        }
        if (format == "png" && depth == int(ColorDepth::HiColor))
            QCOMPARE(QList<int>({facts.pngColorType, facts.pngBitDepth}), QList<int>({2, 8}));
        if (format == "png" && options.isMonochrome())
            QCOMPARE(QList<int>({facts.pngColorType, facts.pngBitDepth}), QList<int>({0, 1}));
        if (format == "jpg") {
            QCOMPARE(facts.quality, std::max(1, quality));
        } else if (format != "webp") {
            const int most = options.colorCount();
            QVERIFY2(facts.colors >= minColours && facts.colors <= most, qPrintable(QString::number(facts.colors)));
        }
    }

    void dither_scattersTheErrorAcrossNeighbours()
    {
        QMap<bool, int> changes;
        for (bool dither : {false, true}) {
            CaseFolder folder;
            ConversionJob job;
            job.ghostscript = GhostscriptLocator().locate();
            job.options = {.sourceFile = m_pdf, .colorDepth = ColorDepth::FourColors, .dither = dither, .dpi = 72};
            job.firstPage = job.lastPage = 2;
            job.destination = folder.path("gradient.png");
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
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("dither");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("width"); // of a box to fit the page in; 0 for none
        QTest::addColumn<int>("bitDepth");
        using D = ColorDepth;
        QTest::newRow("16 colours, 16 stripes") << int(D::SixteenColors) << false << 1 << 0 << 4;
        QTest::newRow("4 colours dithered, gradients") << int(D::FourColors) << true << 2 << 0 << 2;
        QTest::newRow("256 colours, gradients") << int(D::TwoHundredFiftySixColors) << false << 2 << 0 << 8;
        // Scaled, some of the library's palette entries fall together at 8 bits.
        QTest::newRow("256 colours, a ramp scaled") << int(D::TwoHundredFiftySixColors) << false << 5 << 517 << 8;
        // Dithered, some of the library's palette entries are left unused.
        QTest::newRow("256 colours dithered, hue bars") << int(D::TwoHundredFiftySixColors) << true << 0 << 0 << 8;
        QTest::newRow("16 colours, a ramp: 16 grays in a palette") << int(D::SixteenColors) << false << 5 << 0 << 4;
        QTest::newRow("16 grays, a ramp") << int(D::SixteenGrays) << false << 5 << 0 << 4;
        QTest::newRow("4 grays dithered, gradients") << int(D::FourGrays) << true << 2 << 0 << 2;
        QTest::newRow("black and white, gradients") << int(D::BlackAndWhite) << false << 2 << 0 << 1;
        QTest::newRow("black and white dithered, gradients") << int(D::BlackAndWhite) << true << 2 << 0 << 1;
    }

    void ownPngWriter_keepsTheLibrarysPixels()
    {
        QFETCH(int, depth);
        QFETCH(bool, dither);
        QFETCH(int, page);
        QFETCH(int, width);
        QFETCH(int, bitDepth);
        CaseFolder folder;
        // Page 0 is the hue bars' page.
        const QString document = page > 0 ? m_pdf : m_docs.filePath("bars.pdf");
        QVERIFY(run(GhostscriptLocator().locate(), GhostscriptCommands::renderArguments({.document = document,
                                                                                         .outputFolder = folder.path(),
                                                                                         .firstPage = std::max(1, page),
                                                                                         .lastPage = std::max(1, page),
                                                                                         .dpi = 96,
                                                                                         .antialias = true})));
        ConversionJob job;
        // Tagged 78 dpi: 3071.06 pixels a metre, where rounding the other way shows.
        job.options = {
            .colorDepth = ColorDepth(depth), .dither = dither, .dpi = 78, .fitToBox = width > 0, .boxWidth = width};
        job.destination = folder.path("page.png");
        const QStringList command = job.magickArguments(GhostscriptCommands::bitmapPath(folder.path(), 1, false));
        // Without a form named, the library's writer writes the page.
        ImageEncoding library = job.imageEncoding();
        library.pngColorType = -1;
        library.pngBitDepth = 0;
        const ImageResult written = ImageObject().convert(command, job.imageEncoding());
        const ImageResult reference = ImageObject().convert(command, library);
        QVERIFY(written.ok && reference.ok);
        QCOMPARE(int(written.data.at(24)), bitDepth);
        QVERIFY(written.data != reference.data);

        const QImage image = QImage::fromData(written.data, "PNG").convertToFormat(QImage::Format_RGB32);
        QVERIFY(!image.isNull());
        QCOMPARE(image, QImage::fromData(reference.data, "PNG").convertToFormat(QImage::Format_RGB32));
        // The resolution in pixels a metre (3071), and the colour space as the library's writer states it.
        QCOMPARE(pngChunk(written.data, "pHYs"), QByteArray("\0\0\x0b\xff\0\0\x0b\xff\x01", 9));
        for (const char *chunk : {"gAMA", "cHRM"})
            QVERIFY2(pngChunk(written.data, chunk) == pngChunk(reference.data, chunk), chunk);
        // A palette holds each colour once, every entry used, the commonest first: the paper's runs then
        // deflate best.
        if (written.data.at(25) == 3) {
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
        ConversionJob job;
        job.ghostscript = GhostscriptLocator().locate();
        job.options = {
            .sourceFile = m_pdf, .fitToBox = true, .boxWidth = box.width(), .boxHeight = box.height(), .trim = trim};
        job.firstPage = 1;
        job.lastPage = 3;
        job.numbered = true;
        job.pageCount = 3;
        job.pageSize = PagePoints;
        job.destination = folder.path("fit.png");
        QVERIFY(convert(job).isSuccess());
        const ImageFacts facts = readImage(folder.path("fit003.png"));
        QCOMPARE(facts.size, written);
        // What the window's read-out says is what was written.
        QCOMPARE(OutputSize::written(job.options, PagePoints, trim ? TrimBox.size() : QSizeF()), written);
        // Scaled before the colours were reduced, not after.
        QVERIFY2(facts.colors <= 16, qPrintable(QString::number(facts.colors)));
        if (!trim) {
            QCOMPARE(readImage(folder.path("fit001.png")).size, written);
            // Tagged with the resolution the page was fitted at, so it prints at its size.
            QCOMPARE(qRound(readImage(folder.path("fit001.png")).dpi), qRound(written.width() * 72.0 / 400));
        }
    }

    void sizeInPixels_rendersEachPageAtItsOwnResolution()
    {
        CaseFolder folder;
        // Page 2 is a quarter as wide as the others, and the same page as page 2 of the small document.
        const QString mixed = folder.path("mixed.pdf");
        const QString small = folder.path("small.pdf");
        QVERIFY(writePdf(mixed, {QSizeF(400, 200), QSizeF(100, 50), QSizeF(400, 200)}));
        QVERIFY(writePdf(small, {QSizeF(100, 50), QSizeF(100, 50)}));
        const auto fitted = [&folder](const QString &document, const QString &name, int width, int first = 1) {
            ConversionJob job;
            job.ghostscript = GhostscriptLocator().locate();
            job.options = {
                .sourceFile = document, .colorDepth = ColorDepth::HiColor, .fitToBox = true, .boxWidth = width};
            job.firstPage = first;
            job.lastPage = documentInfo(document, 1).pageCount;
            job.numbered = true;
            job.pageCount = job.lastPage;
            job.pageSize = documentInfo(document, 1).pageSize;
            job.destination = folder.path(name);
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

        // A page the box would need beyond 2400 dpi for refuses the run before anything is written.
        QVERIFY(writePdf(mixed, {QSizeF(400, 200), QSizeF(2, 1)}));
        const ConversionResult refused = fitted(mixed, "refused.png", 6000);
        QCOMPARE(refused.fatal.kind, Problem::TooLarge);
        QVERIFY2(refused.fatal.message.startsWith("Page 2: "), qPrintable(refused.fatal.message));
        QVERIFY(!QFileInfo::exists(folder.path("refused001.png")));
        // So does a page as wide as the one before it, and so rendered in the same run, but far taller.
        QVERIFY(writePdf(mixed, {QSizeF(400, 200), QSizeF(400, 14000)}));
        const ConversionResult tall = fitted(mixed, "tall.png", 6000);
        QCOMPARE(tall.fatal.kind, Problem::TooLarge);
        QVERIFY2(tall.fatal.message.startsWith("Page 2: "), qPrintable(tall.fatal.message));
    }

    void transparentBackground_leavesThePaperClear_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<int>("page"); // 3: stripes in a clear margin; 4: more colours than a palette, in one
        using D = ColorDepth;
        QTest::newRow("png 16 colours") << "png" << int(D::SixteenColors) << false << 3;
        QTest::newRow("png black and white") << "png" << int(D::BlackAndWhite) << false << 3;
        QTest::newRow("png 16 grays") << "png" << int(D::SixteenGrays) << false << 3;
        QTest::newRow("png hicolor trimmed") << "png" << int(D::HiColor) << true << 3;
        QTest::newRow("gif 4 colours") << "gif" << int(D::FourColors) << false << 3;
        QTest::newRow("tif black and white") << "tif" << int(D::BlackAndWhite) << false << 3;
        QTest::newRow("tif 16 colours") << "tif" << int(D::SixteenColors) << false << 3;
        QTest::newRow("tif 4 grays") << "tif" << int(D::FourGrays) << false << 3;
        QTest::newRow("gif 256 colours") << "gif" << int(D::TwoHundredFiftySixColors) << false << 4;
        // Page 0: a line of text and a red square on a page of their own, fewer colours than the palette holds.
        QTest::newRow("gif 256 colours, a few used") << "gif" << int(D::TwoHundredFiftySixColors) << false << 0;
        QTest::newRow("gif hicolor") << "gif" << int(D::HiColor) << false << 4;
        // Compared over white with the same page written on opaque paper.
        QTest::newRow("png hicolor, text") << "png" << int(D::HiColor) << false << 0;
        QTest::newRow("webp 256 colours") << "webp" << int(D::TwoHundredFiftySixColors) << false << 4;
    }

    void transparentBackground_leavesThePaperClear()
    {
        QFETCH(QString, format);
        QFETCH(int, depth);
        QFETCH(bool, trim);
        QFETCH(int, page);
        CaseFolder folder;
        ConversionJob job;
        job.ghostscript = GhostscriptLocator().locate();
        job.options = {.sourceFile = page == 0 ? m_docs.filePath("text.pdf") : m_pdf,
                       .colorDepth = ColorDepth(depth),
                       .format = ImageFormat(OptionLists::suffixes().indexOf(format)),
                       .dpi = 72,
                       .trim = trim,
                       .transparent = true};
        job.firstPage = job.lastPage = std::max(1, page);
        job.destination = folder.path("clear." + format);
        QVERIFY(convert(job).isSuccess());
        const QByteArray png =
            ImageObject().convert({QStringLiteral("%1:%2").arg(format.toUpper(), job.destination)}, "PNG").data;
        const QImage image = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32);
        QVERIFY(image.hasAlphaChannel());
        const QPoint stripe =
            trim || page == 0 ? QPoint(image.width() / 2, image.height() / 2) : (TrimBox.center() * 72 / 72).toPoint();
        QCOMPARE(qAlpha(image.pixel(stripe)), 255);
        if (trim) {
            // The clear margin is what trimming takes away.
            QCOMPARE(image.size(), OutputSize::pixels(TrimBox.size(), 72, true));
        } else {
            QCOMPARE(qAlpha(image.pixel(1, 1)), 0);
            QCOMPARE(qAlpha(image.pixel(image.width() - 2, image.height() - 2)), 0);
        }
        if (page == 0 && ColorDepth(depth) == ColorDepth::HiColor) {
            // The ink's edges are as dark as on opaque paper, not lightened by the paper taken away.
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
                    // The edges, where the ink covers part of a pixel.
                    if (qAlpha(image.pixel(x, y)) == 0 || qAlpha(image.pixel(x, y)) == 255)
                        continue;
                    ++inked;
                    difference += std::abs(qGray(overWhite.pixel(x, y)) - qGray(opaque.pixel(x, y)));
                }
            }
            QVERIFY(inked > 100);
            // Within the little that clearing the faintest edges of the paper moves them.
            QVERIFY2(difference < 3 * inked, qPrintable(QString::number(double(difference) / inked)));
        }
        const ImageFacts facts = readImage(job.destination);
        // A palette holds the transparent entry; gray keeps its own transparency.
        if (format == "png" && ColorDepth(depth) == ColorDepth::SixteenColors)
            QCOMPARE(facts.pngColorType, 3);
        if (format == "png" && ColorDepth(depth) == ColorDepth::SixteenGrays)
            QVERIFY(facts.pngColorType == 0 || facts.pngColorType == 4);
        if (format == "tif") {
            QCOMPARE(facts.compression, QByteArray("LZW")); // Group 4 has no transparency
            const ConversionOptions options{.colorDepth = ColorDepth(depth)};
            QCOMPARE(facts.gray, options.isGray() || options.isMonochrome());
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
        ConversionJob job;
        job.ghostscript = GhostscriptLocator().locate();
        job.options = {.sourceFile = m_pdf, .colorDepth = ColorDepth(depth), .format = ImageFormat::Tiff, .dpi = 72};
        job.firstPage = 1;
        job.lastPage = 3;
        job.numbered = true;
        job.pageCount = 3;
        job.destination = folder.path("scan");
        const ConversionResult result = convert(job);
        QVERIFY(result.isSuccess());
        QCOMPARE(result.pagesWritten, 3);
        QCOMPARE(filesIn(folder.path()), QStringList{"scan.tif"});
        const ImageFacts facts = readImage(folder.path("scan.tif"));
        QCOMPARE(facts.images, 3);
        QCOMPARE(facts.compression, compression);
        // Page 3, the one with a margin, comes last.
        const auto frame = [&](int index) {
            return QImage::fromData(
                ImageObject()
                    .convert({QStringLiteral("TIFF:%1[%2]").arg(folder.path("scan.tif")).arg(index)}, "PPM")
                    .data,
                "PPM");
        };
        QCOMPARE(frame(2).pixelColor(1, 1), QColor(Qt::white));
        QVERIFY(frame(0).pixelColor(1, 1) != QColor(Qt::white));
        QCOMPARE(frame(1).size(), OutputSize::pixels(PagePoints, 72, true));
    }

    void pageRange_writesExactlyItsPages()
    {
        CaseFolder folder;
        ConversionJob job;
        job.ghostscript = GhostscriptLocator().locate();
        job.options = {.sourceFile = m_pdf, .dpi = 72};
        job.firstPage = 2;
        job.lastPage = 3;
        job.numbered = true;
        job.pageCount = 3;
        job.destination = folder.path("scan.gif");
        const ConversionResult result = convert(job);
        QVERIFY(result.isSuccess());
        QCOMPARE(filesIn(folder.path()), QStringList({"scan002.gif", "scan003.gif"}));
        // Page 3 is the one with a margin: its stripes leave white around them.
        QCOMPARE(QImage(folder.path("scan003.gif")).pixelColor(1, 1), QColor(Qt::white));
        QVERIFY(QImage(folder.path("scan002.gif")).pixelColor(1, 1) != QColor(Qt::white));
    }
};

QTEST_MAIN(tst_WrittenFiles)
#include "tst_writtenfiles.moc"
