// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "conversion/ConversionJob.h"
#include "document/DocumentOpener.h"
#include "preview/PreviewRenderer.h"
#include "tools/ImageObject.h"
#include "ui/ActualSizeView.h"
#include "ui/PreviewPane.h"

#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTranslator>
#include <QtTest>

#include <cstdio>

using namespace TestSupport;

namespace {

// A document opened as the window opens it, each password question answered in turn.
struct Opening
{
    QString document;
    QStringList answers;                     // "" gives up
    QList<bool> retries;                     // whether each question said the last password was wrong
    Problem::Kind previewed = Problem::None; // by the preview given the first answer
    bool replaced = false;                   // by another document while the question is asked
    QString outcome = "opened";
    int remembered = 2; // the page asked for
    int page = 2;       // the page it opens at
    QSizeF pageSize{200, 300};
};

// A page previewed and written with the same options.
struct Shown
{
    QString document;
    ConversionOptions options;
    QRect region; // the part in view at 100%; empty for the fitted view
};

// A Ghostscript that fails, and what the preview makes of it.
struct Failing
{
    QString body;
    Problem::Kind problem;
    QString password;
    bool unlimited = false; // the user chose to wait as long as it takes
};

QImage overWhite(const QImage &image)
{
    QImage laid(image.size(), QImage::Format_RGB32);
    laid.fill(Qt::white);
    QPainter(&laid).drawImage(0, 0, image);
    return laid;
}

// The mean difference of two images in levels of 255, and the share of their pixels that differ at all.
std::pair<double, double> difference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return {255, 1};
    qint64 sum = 0, differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            differing += p != q ? 1 : 0;
        }
    }
    const double pixels = double(a.width()) * a.height();
    return {double(sum) / (3 * pixels), double(differing) / pixels};
}

} // namespace

Q_DECLARE_METATYPE(Opening)
Q_DECLARE_METATYPE(Shown)
Q_DECLARE_METATYPE(Failing)

class tst_Preview : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_gs;
    QTranslator m_plurals;

    QString doc(const QString &name) const { return m_docs.filePath(name); }

    // The renderer's answer to request, once no Ghostscript of it runs on, a timed-out one included.
    static PreviewResult answer(PreviewRenderer &renderer, const PreviewRequest &request)
    {
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        renderer.request(request);
        [&] { QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000); }();
        [&] { QTRY_VERIFY_WITH_TIMEOUT(ghostscriptChildren(QCoreApplication::applicationPid()).isEmpty(), 3000); }();
        return finished.count() == 1 ? finished.first().first().value<PreviewResult>() : PreviewResult{};
    }

    static PreviewResult preview(const PreviewRequest &request, int timeLimitMs = PreviewRenderer::DefaultTimeLimitMs)
    {
        PreviewRenderer renderer;
        renderer.setTimeLimit(timeLimitMs);
        return answer(renderer, request);
    }

    // The frame's picture of result.
    static QImage framed(const PreviewResult &result, PreviewPane &pane)
    {
        pane.show(result);
        return pane.findChild<QLabel *>("previewLabel")->pixmap().toImage();
    }

private slots:
    void initTestCase()
    {
        // The image library's own folder lives as long as the process, outside the cases' folders.
        ImageObject::initialise();
        // The English plural forms, as the program installs them.
        QVERIFY(m_plurals.load(QStringLiteral(":/sheetforge/i18n/sheetforge_en.qm")));
        QCoreApplication::installTranslator(&m_plurals);
        m_gs = GhostscriptLocator().locate();
        QVERIFY(!m_gs.isEmpty());
        QVERIFY(writePdf(doc("plain.pdf"), {{300, 200}, {200, 300}}));
        QVERIFY(writePdf(doc("a4.pdf"), {{595, 842}}));
        QVERIFY(writePdf(doc("vast.pdf"), {{14400, 14400}}));
        QVERIFY(writePdf(doc("stamp.pdf"), {{9, 9}}));
        // Text, flat colours and a slanted line: Ghostscript draws a smooth shading a level apart where the part
        // drawn starts elsewhere.
        QVERIFY(run(m_gs, {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite", "-o", doc("flat.pdf"), "-c",
                           "<< /PageSize [300 200] >> setpagedevice 0 1 29 { /i exch def i 30 div 0.7 0.8 sethsbcolor "
                           "i 10 mul 2 add 20 8 100 rectfill } for /Helvetica findfont 18 scalefont setfont 0 setgray "
                           "20 150 moveto (Actual pixels 0123) show 1 0 0 setrgbcolor 10 10 moveto 290 190 lineto "
                           "1.5 setlinewidth stroke showpage"}));
        QVERIFY(encrypt(doc("plain.pdf"), doc("user.pdf"), "user"));
        QVERIFY(encrypt(doc("plain.pdf"), doc("quoted.pdf"), "a \"b\\c"));
        QVERIFY(encrypt(doc("plain.pdf"), doc("owner.pdf"), QString()));
        QVERIFY(encrypt(doc("plain.pdf"), doc("r5.pdf"), "user", true));
        QFile plain(doc("plain.pdf")), truncated(doc("truncated.pdf")), text(doc("text.pdf"));
        QVERIFY(plain.open(QIODevice::ReadOnly) && truncated.open(QIODevice::WriteOnly));
        truncated.write(plain.readAll().chopped(40)); // no trailer: Ghostscript repairs it
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("hello") > 0);
    }

    void opener_asksUntilThePasswordOpensIt_data()
    {
        QTest::addColumn<Opening>("c");
        const auto row = [](const char *name, const Opening &c) { QTest::newRow(name) << c; };
        row("no password needed", {.document = "plain.pdf"});
        row("right password", {"user.pdf", {"user"}, {false}});
        row("right password, the file replaced meanwhile", {"user.pdf", {"user"}, {false}, Problem::None, true});
        // A wrong password crashes Ghostscript.
        row("wrong, then right", {"user.pdf", {"nope", "user"}, {false, true}, Problem::WrongPassword});
        row("given up", {"user.pdf", {""}, {false}, Problem::NeedsPassword, false, "abandoned"});
        row("revision 5, owner password", {"r5.pdf", {"owner"}, {false}});
        row("quote and backslash", {"quoted.pdf", {"a \"b\\c"}, {false}});
        row("repaired", {.document = "truncated.pdf"});
        row("owner password only", {.document = "owner.pdf"});
        row("not a PDF", {.document = "text.pdf", .previewed = Problem::NotPdf, .outcome = "failed"});
        // A remembered page past the end of a document that has since shrunk.
        row("page past the end", {.document = "plain.pdf", .remembered = 40, .page = 1, .pageSize = {300, 200}});
    }

    void opener_asksUntilThePasswordOpensIt()
    {
        QFETCH(Opening, c);
        CaseFolder folder;
        const QString path = folder.path("asked.pdf");
        QVERIFY(QFile::copy(doc(c.document), path));
        const QString firstAnswer = c.answers.value(0);
        DocumentOpener opener;
        QList<bool> asked;
        QString ended;
        std::optional<OpenedDocument> opened;
        connect(&opener, &DocumentOpener::passwordNeeded, this, [&](const QString &, bool retry) {
            // The document opened is the one found at the start, whatever takes its name.
            if (c.replaced && asked.isEmpty())
                QVERIFY(QFile::remove(path) && QFile::copy(doc("a4.pdf"), path));
            asked << retry;
            const QString answer = c.answers.isEmpty() ? QString() : c.answers.takeFirst();
            opener.providePassword(answer.isEmpty() ? std::nullopt : std::optional<QString>(answer));
        });
        connect(&opener, &DocumentOpener::opened, this, [&](const OpenedDocument &document) {
            ended = "opened";
            opened = document;
        });
        connect(&opener, &DocumentOpener::failed, this, [&] { ended = "failed"; });
        connect(&opener, &DocumentOpener::abandoned, this, [&] { ended = "abandoned"; });
        opener.open(m_gs, path, c.remembered);
        QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 30000);
        QCOMPARE(ended, c.outcome);
        QCOMPARE(asked, c.retries);
        if (opened) {
            QCOMPARE(opened->info.pageCount, 2);
            QCOMPARE(opened->page, c.page);
            QCOMPARE(opened->info.pageSize, c.pageSize);
            QCOMPARE(opened->info.legacyInterpreter, c.document == "r5.pdf");
        }
        QCOMPARE(leftovers(folder.temp()), QStringList());
        // The preview reads the document itself and draws its first page.
        const PreviewResult shown =
            preview({.ghostscript = m_gs, .document = doc(c.document), .password = firstAnswer});
        QCOMPARE(shown.problem.kind, c.previewed);
        if (c.previewed != Problem::None)
            return;
        QCOMPARE(shown.info.pageCount, 2);
        QCOMPARE(shown.info.repaired, c.document == "truncated.pdf");
        QCOMPARE(shown.info.pageSize, QSizeF(300, 200));
        QVERIFY(!shown.image.isNull() && shown.image.width() <= 258 && shown.image.width() > 200);
    }

    void secondRequest_supersedesFirst_data()
    {
        QTest::addColumn<QString>("firstDocument");
        QTest::addColumn<bool>("rendered"); // so that only the colours are reduced again
        QTest::addColumn<int>("secondPage");
        QTest::addColumn<ColorDepth>("secondDepth");
        QTest::newRow("page 1 then page 2") << "plain.pdf" << false << 2 << ColorDepth::TwoHundredFiftySixColors;
        QTest::newRow("colours changed") << "plain.pdf" << true << 1 << ColorDepth::BlackAndWhite;
        QTest::newRow("missing file then a page") << "gone.pdf" << false << 2 << ColorDepth::BlackAndWhite;
    }

    void secondRequest_supersedesFirst()
    {
        QFETCH(QString, firstDocument);
        QFETCH(bool, rendered);
        QFETCH(int, secondPage);
        QFETCH(ColorDepth, secondDepth);
        CaseFolder folder;
        PreviewRenderer renderer;
        PreviewRequest first{.ghostscript = m_gs, .document = doc("plain.pdf")};
        first.options.colorDepth = ColorDepth::TwoHundredFiftySixColors;
        if (rendered)
            answer(renderer, first);
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        first.document = doc(firstDocument);
        PreviewRequest second{.ghostscript = m_gs, .document = doc("plain.pdf"), .page = secondPage};
        second.options.colorDepth = secondDepth;
        renderer.request(first);
        renderer.request(second);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1 && !renderer.isBusy(), 30000);
        // Once more as a barrier: whatever the first request left behind would come before this answer.
        renderer.request(second);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 30000);
        for (const QList<QVariant> &signal : std::as_const(finished)) {
            const auto result = signal.first().value<PreviewResult>();
            QVERIFY2(result.problem.isNone(), qPrintable(result.problem.message));
            QCOMPARE(result.page, secondPage);
            QCOMPARE(result.info.pageSize, secondPage == 1 ? QSizeF(300, 200) : QSizeF(200, 300));
            // Up to 256 colours an indexed copy keeps them all; more would be reduced to 256.
            const int colours = result.image.convertToFormat(QImage::Format_Indexed8).colorCount();
            QVERIFY(!result.image.isNull() && colours <= (secondDepth == ColorDepth::BlackAndWhite ? 2 : 256));
        }
    }

    // A document saved again under its name is read again; but the page drawn is the one of the document
    // opened, though another file takes its name before Ghostscript starts.
    void documentReplacedOnDisk_isReadAgainButNeverMidPreview()
    {
        CaseFolder folder;
        const QString path = folder.path("report.pdf");
        QVERIFY(writePdf(path, {{300, 200}}));
        PreviewRenderer renderer;
        QCOMPARE(answer(renderer, {.ghostscript = m_gs, .document = path}).info.pageSize, QSizeF(300, 200));
        QVERIFY(writePdf(path, {{200, 300}, {200, 300}}));
        const PreviewResult again = answer(renderer, {.ghostscript = m_gs, .document = path});
        QCOMPARE(again.info.pageSize, QSizeF(200, 300));
        QCOMPARE(again.info.pageCount, 2);
        QVERIFY(again.image.width() < again.image.height());
        // The other one is coloured to its corners.
        QVERIFY(writePdf(folder.path("other.pdf"), {{200, 300}}, true));
        const QString swapping = fakeGhostscript(
            folder.path(), QString("mv \"$here/other.pdf\" \"$here/report.pdf\" && exec %1 \"$@\"").arg(m_gs));
        const QImage image =
            answer(renderer, {.ghostscript = swapping, .document = path, .box = {400, 400}, .info = again.info}).image;
        QVERIFY(!QFile::exists(folder.path("other.pdf")));
        QVERIFY(!image.isNull());
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));
    }

    void preview_showsTheWrittenFilesPixels_data()
    {
        QTest::addColumn<Shown>("c");
        const auto row = [](const char *name, const Shown &c) { QTest::newRow(name) << c; };
        using D = ColorDepth;
        using F = ImageFormat;
        row("fit within 150", {"a4.pdf", {.colorDepth = D::SixteenColors, .fitToBox = true, .boxWidth = 150}});
        row("JPEG at quality 10, fit within 150",
            {"a4.pdf",
             {.colorDepth = D::HiColor, .format = F::Jpg, .jpegQuality = 10, .fitToBox = true, .boxWidth = 150}});
        row("TIFF, fit within 150",
            {"a4.pdf", {.colorDepth = D::SixteenGrays, .format = F::Tiff, .fitToBox = true, .boxWidth = 150}});
        row("transparent, 72 dpi", {"plain.pdf", {.colorDepth = D::SixteenColors, .dpi = 72, .transparent = true}});
        row("transparent 256 colours, fit within 200",
            {"a4.pdf",
             {.colorDepth = D::TwoHundredFiftySixColors, .fitToBox = true, .boxWidth = 200, .transparent = true}});
        row("100% at 300 dpi", {"flat.pdf", {.colorDepth = D::SixteenGrays, .dpi = 300}, {60, 90, 400, 300}});
        row("100% at 1200 dpi, hicolor", {"flat.pdf", {.colorDepth = D::HiColor, .dpi = 1200}, {1500, 1100, 500, 400}});
        row("JPEG with the transparent background still chosen, fit within 150",
            {"plain.pdf",
             {.colorDepth = D::HiColor, .format = F::Jpg, .fitToBox = true, .boxWidth = 150, .transparent = true}});
        row("100% of an output fitted within 800 x 600",
            {"a4.pdf",
             {.colorDepth = D::SixteenGrays, .fitToBox = true, .boxWidth = 800, .boxHeight = 600},
             {100, 150, 300, 200}});
        row("100% at 300 dpi, not antialiased",
            {"flat.pdf", {.colorDepth = D::FourGrays, .antialias = false, .dpi = 300}, {301, 201, 300, 200}});
    }

    void preview_showsTheWrittenFilesPixels()
    {
        QFETCH(Shown, c);
        CaseFolder folder;
        c.options.sourceFile = doc(c.document);
        const PreviewResult result = preview({.ghostscript = m_gs,
                                              .document = doc(c.document),
                                              .options = c.options,
                                              .box = {400, 400},
                                              .region = c.region});
        QVERIFY2(result.problem.isNone(), qPrintable(result.problem.message));
        QVERIFY(result.actualPixels);
        ConversionJob job;
        job.ghostscript = m_gs;
        job.options = c.options;
        job.pageSize = result.info.pageSize;
        job.destination = folder.path("page." + OptionLists::suffix(c.options.format));
        QVERIFY(convert(job).isSuccess());
        // Qt reads no TIFF here: the image library decodes it.
        QImage written(job.destination);
        if (written.isNull())
            written = QImage::fromData(ImageObject().convert({job.destination}, "PNG").data);
        const QImage file = written.convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(result.outputSize, file.size());
        QCOMPARE(result.region, c.region.isEmpty() ? file.rect() : c.region);
        const QImage part = file.copy(result.region);
        const QImage shown = result.image.convertToFormat(QImage::Format_RGB32);
        if (written.hasAlphaChannel()) {
            const double mean = difference(overWhite(result.image), overWhite(part)).first;
            QVERIFY2(mean < 2, qPrintable(QString::number(mean)));
        } else if (c.region.isEmpty() || !c.options.antialias) {
            QCOMPARE(shown, part.convertToFormat(QImage::Format_RGB32));
        } else {
            // Antialiased, an edge that falls a fraction of a pixel off the grid can come out a step apart
            // when only a part is drawn.
            const auto [mean, differing] = difference(shown, part.convertToFormat(QImage::Format_RGB32));
            QVERIFY2(differing < 0.005 && mean < 0.5, qPrintable(QStringLiteral("%1 %2").arg(mean).arg(differing)));
        }
        if (!c.region.isEmpty())
            return;
        // Shown in the frame, the output's pixels enlarged without smoothing: back at its size, the same.
        PreviewPane pane;
        pane.resize(500, 500);
        const QImage inFrame = framed(result, pane);
        QVERIFY(inFrame.width() > file.width());
        QVERIFY(inFrame.width() <= pane.box().width() && inFrame.height() <= pane.box().height());
        QVERIFY(qAbs(inFrame.width() * file.height() - inFrame.height() * file.width())
                <= qMax(file.width(), file.height()));
        const QImage back = inFrame.scaled(file.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!written.hasAlphaChannel())
            QCOMPARE(back.convertToFormat(QImage::Format_RGB32), file.convertToFormat(QImage::Format_RGB32));
    }

    // At 100%, only the part in view is drawn: a corner of A4 at 2400 dpi (the whole page would be 557 million
    // pixels) comes in seconds, and so does one of a page too large to convert whole.
    void preview_at100Percent_drawsOnlyThePartInView_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QRect>("region");
        QTest::newRow("a corner of A4") << "a4.pdf" << QRect(19000, 27500, 400, 300);
        QTest::newRow("the middle of a page 200 inches square") << "vast.pdf" << QRect(240000, 240000, 400, 300);
    }

    void preview_at100Percent_drawsOnlyThePartInView()
    {
        QFETCH(QString, document);
        QFETCH(QRect, region);
        const ConversionOptions options{.colorDepth = ColorDepth::SixteenColors, .dpi = 2400};
        const PreviewResult result = preview(
            {.ghostscript = m_gs, .document = doc(document), .options = options, .box = {400, 400}, .region = region},
            10000);
        QVERIFY2(result.problem.isNone(), qPrintable(result.problem.message));
        QCOMPARE(result.region, region);
        QCOMPARE(result.image.size(), region.size());
    }

    // An output larger than the frame on one side only is fitted, not shown as its own pixels; a box the page
    // could only fill past the highest resolution is refused as the conversion refuses it, though it fits the frame.
    void preview_fitsWhatTheFrameCannotHold_andRefusesWhatCannotBeWritten()
    {
        const PreviewResult tall = preview({.ghostscript = m_gs,
                                            .document = doc("a4.pdf"),
                                            .options = {.colorDepth = ColorDepth::SixteenColors, .dpi = 72},
                                            .box = {400, 1000}});
        QVERIFY2(tall.problem.isNone(), qPrintable(tall.problem.message));
        QCOMPARE(tall.outputSize, QSize(595, 842));
        QVERIFY(!tall.actualPixels);
        const PreviewResult stamp = preview({.ghostscript = m_gs,
                                             .document = doc("stamp.pdf"),
                                             .options = {.fitToBox = true, .boxWidth = 350},
                                             .box = {400, 400}});
        QCOMPARE(stamp.problem.kind, Problem::TooLarge);
        QVERIFY2(stamp.problem.message.contains("2800 dpi"), qPrintable(stamp.problem.message));
    }

    // The part rendered is drawn where it lies in the output, wherever the view is scrolled to, an output
    // smaller than the view lies in its middle, and a clear part is drawn over checks.
    void actualSizeView_drawsThePartWhereItLies_data()
    {
        QTest::addColumn<QSize>("output");
        QTest::addColumn<QPoint>("scrolled");
        QTest::addColumn<QPoint>("partAt"); // in the view
        QTest::newRow("scrolled") << QSize(2000, 1500) << QPoint(500, 400) << QPoint(0, 0);
        QTest::newRow("smaller than the view") << QSize(100, 60) << QPoint() << QPoint(100, 120);
    }

    void actualSizeView_drawsThePartWhereItLies()
    {
        QFETCH(QSize, output);
        QFETCH(QPoint, scrolled);
        QFETCH(QPoint, partAt);
        ActualSizeView view;
        view.resize(300, 300);
        view.QWidget::show();
        view.setOutputSize(output);
        view.horizontalScrollBar()->setValue(scrolled.x());
        view.verticalScrollBar()->setValue(scrolled.y());
        const QRect region = view.visibleRegion();
        QCOMPARE(region.topLeft(), scrolled);
        // Scrolled to its end, the output's last pixels are the view's last.
        QCOMPARE(view.horizontalScrollBar()->maximum(), qMax(0, output.width() - view.viewport()->width()));
        QCOMPARE(view.verticalScrollBar()->maximum(), qMax(0, output.height() - view.viewport()->height()));
        QImage part(region.size(), QImage::Format_ARGB32);
        part.fill(Qt::red);
        part.setPixel(0, 0, qRgb(0, 0, 255));
        view.show(part, region);
        QCOMPARE(view.shown().pixel(partAt), qRgb(0, 0, 255));
        QCOMPARE(view.shown().pixel(partAt + QPoint(1, 1)), qRgb(255, 0, 0));
        part.fill(Qt::transparent);
        view.show(part, region);
        const QImage checks = view.shown().copy(QRect(partAt, region.size()));
        QSet<QRgb> colours;
        for (int y = 0; y < checks.height(); y += 3) {
            for (int x = 0; x < checks.width(); x += 3)
                colours << checks.pixel(x, y);
        }
        QCOMPARE(colours, QSet<QRgb>({qRgb(204, 204, 204), qRgb(255, 255, 255)}));
    }

    void transparentPaper_showsChecksBehindIt()
    {
        // plain.pdf's page 1 has paper all round its coloured box. One renderer, so that nothing it kept from
        // the opaque page is shown for the transparent one, nor the other way round.
        PreviewRenderer renderer;
        PreviewRequest request{.ghostscript = m_gs, .document = doc("plain.pdf")};
        request.options.colorDepth = ColorDepth::SixteenColors;
        const auto corner = [&](bool transparent) {
            request.options.transparent = transparent;
            PreviewPane pane;
            const QImage image = framed(answer(renderer, request), pane);
            return image.isNull() ? QList<QRgb>()
                                  : QList<QRgb>{image.pixel(1, 1), image.pixel(9, 1), image.pixel(9, 9)};
        };
        const QList<QRgb> white(3, qRgb(255, 255, 255));
        QCOMPARE(corner(false), white);
        QCOMPARE(corner(true), (QList<QRgb>{qRgb(255, 255, 255), qRgb(204, 204, 204), qRgb(255, 255, 255)}));
        QCOMPARE(corner(false), white);
    }

    void ghostscriptFailure_isReportedNeverShown_data()
    {
        QTest::addColumn<Failing>("c");
        const auto row = [](const char *name, const Failing &c) { QTest::newRow(name) << c; };
        const QString opened = "[ -n \"$info\" ] && info_ok; ";
        row("count crashes", {"kill -SEGV $$", Problem::GhostscriptFailed});
        row("render crashes", {opened + "page 1; kill -SEGV $$", Problem::GhostscriptFailed});
        row("render fails", {opened + "echo Error; exit 1", Problem::NotPdf});
        row("render writes nothing", {opened + "exit 0", Problem::NotPdf});
        row("crash on a password", {"kill -SEGV $$", Problem::WrongPassword, "se cr\"et"});
        row("render crashes with a password", {opened + "page 1; kill -SEGV $$", Problem::WrongPassword, "s3cret"});
        row("render never ends", {opened + "while :; do sleep 0.1; done", Problem::PageTimedOut});
        // Asked for without a limit, a render that outlasts it fails for its own reason.
        row("slow render, asked for without a limit",
            {opened + "sleep 2; echo Error; exit 1", Problem::NotPdf, {}, true});
    }

    void ghostscriptFailure_isReportedNeverShown()
    {
        QFETCH(Failing, c);
        CaseFolder folder;
        // Ghostscript works in the private folder, where a core or a file of its own goes with the folder.
        const QString noted = "{ pwd; echo \"$TMPDIR\"; } >> \"$here/where\"; ";
        const PreviewRequest request{.ghostscript = fakeGhostscript(folder.path(), noted + c.body),
                                     .document = doc("plain.pdf"),
                                     .password = c.password,
                                     .withoutTimeLimit = c.unlimited};
        // The time a render may take, made short.
        const PreviewResult result = preview(request, 1000);
        QCOMPARE(result.problem.kind, c.problem);
        QCOMPARE(result.timedOut, c.problem == Problem::PageTimedOut);
        QVERIFY(result.image.isNull());
        QVERIFY(!result.problem.message.isEmpty());
        QVERIFY2(!result.problem.message.contains(QLatin1String("(s)")), qPrintable(result.problem.message));
        QFile where(folder.path("where"));
        QVERIFY(where.open(QIODevice::ReadOnly));
        const QStringList places = QString::fromUtf8(where.readAll()).split('\n', Qt::SkipEmptyParts);
        QVERIFY(places.size() >= 2);
        for (const QString &line : places)
            QVERIFY2(line.startsWith(QDir(folder.temp()).canonicalPath() + "/SFG-"), qPrintable(line));
        // The password goes to Ghostscript in an argument file, never on its command line.
        QFile log(folder.path("gs.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QStringList arguments = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'));
        QVERIFY(!arguments.join(QLatin1Char(' ')).contains(QLatin1String("cr\"et")));
        QCOMPARE(!arguments.filter(QRegularExpression("^@/")).isEmpty(), !c.password.isEmpty());
        if (c.password.isEmpty())
            return;
        QFile given(folder.path("argfile.log"));
        QVERIFY(given.open(QIODevice::ReadOnly));
        const QString expected =
            c.password.contains(' ') ? "-sPDFPassword=\"se cr\\\"et\"" : "-sPDFPassword=" + c.password;
        QVERIFY2(QString::fromUtf8(given.readAll()).contains(expected), qPrintable(expected));
        QVERIFY(!QFile::exists(folder.path("found.log")) || QFileInfo(folder.path("found.log")).size() == 0);
    }
};

QTEST_MAIN(tst_Preview)
#include "tst_preview.moc"
