// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "conversion/ConversionJob.h"
#include "document/DocumentOpener.h"
#include "preview/PreviewRenderer.h"
#include "tools/ImageObject.h"
#include "tools/Translations.h"
#include "ui/PreviewPane.h"

#include <QLabel>
#include <QPainter>
#include <QtTest>

using namespace TestSupport;

namespace {

// A document opened as the window opens it, each password question answered in turn.
struct Opening
{
    QString document;
    QStringList answers;                     // "" gives up
    QList<bool> retries;                     // whether each question said the last password was wrong
    Problem::Kind previewed = Problem::None; // by the preview given the first answer
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
    QString argument;       // in Ghostscript's argument file
    bool unlimited = false; // asked for without a time limit
};

QImage overWhite(const QImage &image)
{
    QImage laid(image.size(), QImage::Format_RGB32);
    laid.fill(Qt::white);
    QPainter(&laid).drawImage(0, 0, image);
    return laid;
}

// The mean difference of two images in levels of 255.
double difference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 255;
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return double(sum) / (3.0 * a.width() * a.height());
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
    std::optional<Translations> m_english; // the plural forms the user reads

    QString doc(const QString &name) const { return m_docs.filePath(name); }

    // One of our documents, in a frame of 400 x 400 unless told otherwise.
    PreviewRequest request(const QString &name, const ConversionOptions &options, QRect region = {},
                           QSize box = {400, 400}) const
    {
        return {.ghostscript = m_gs, .document = doc(name), .options = options, .box = box, .region = region};
    }

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
        ImageObject::initialise(); // its folder outlives the cases' folders

        // The English plural forms, as the program installs them.
        m_english.emplace(QLocale::c());
        QCOMPARE(m_english->language(), "en");
        m_gs = GhostscriptLocator().locate();
        QVERIFY(!m_gs.isEmpty());
        QVERIFY(writePdf(doc("plain.pdf"), {{300, 200}, {200, 300}}));
        QVERIFY(writePdf(doc("a4.pdf"), {{595, 842}}));
        QVERIFY(writePdf(doc("vast.pdf"), {{14400, 14400}}));
        QVERIFY(writePdf(doc("stamp.pdf"), {{9, 9}}));
        // Text, flat colours and a slanted line: a smooth shading comes out a level apart where a part is drawn.
        QVERIFY(run(m_gs, {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite", "-o", doc("flat.pdf"), "-c",
                           "<< /PageSize [300 200] >> setpagedevice 0 1 29 { /i exch def i 30 div 0.7 0.8 sethsbcolor "
                           "i 10 mul 2 add 20 8 100 rectfill } for /Helvetica findfont 18 scalefont setfont 0 setgray "
                           "20 150 moveto (Actual pixels 0123) show 1 0 0 setrgbcolor 10 10 moveto 290 190 lineto "
                           "1.5 setlinewidth stroke showpage"}));
        QVERIFY(encrypt(doc("plain.pdf"), doc("user.pdf"), "user"));
        QVERIFY(encrypt(doc("plain.pdf"), doc("quoted.pdf"), "a \"b\\c"));
        QVERIFY(encrypt(doc("plain.pdf"), doc("owner.pdf"), QString()));
        QVERIFY(encrypt(doc("plain.pdf"), doc("r5.pdf"), "user", true));
        // No trailer: Ghostscript repairs it.
        QVERIFY(plantFile(doc("truncated.pdf"), contentsOf(doc("plain.pdf")).chopped(40)));
        QVERIFY(plantFile(doc("text.pdf"), "hello"));
    }

    void opener_asksUntilThePasswordOpensIt_data()
    {
        QTest::addColumn<Opening>("c");
        const auto row = [](const char *name, const Opening &c) { QTest::newRow(name) << c; };
        // A wrong password crashes Ghostscript.
        row("wrong, then right", {"user.pdf", {"nope", "user"}, {false, true}, Problem::WrongPassword});
        row("given up", {"user.pdf", {""}, {false}, Problem::NeedsPassword, "abandoned"});
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
        const QString firstAnswer = c.answers.value(0);
        DocumentOpener opener;
        QList<bool> asked;
        QString ended; // when it did not open
        std::optional<OpenedDocument> opened;
        connect(&opener, &DocumentOpener::passwordNeeded, this, [&](const QString &, bool retry) {
            asked << retry;
            const QString answer = c.answers.isEmpty() ? QString() : c.answers.takeFirst();
            opener.providePassword(answer.isEmpty() ? std::nullopt : std::optional<QString>(answer));
        });
        connect(&opener, &DocumentOpener::opened, this, [&](const OpenedDocument &document) { opened = document; });
        connect(&opener, &DocumentOpener::failed, this, [&] { ended = "failed"; });
        connect(&opener, &DocumentOpener::abandoned, this, [&] { ended = "abandoned"; });
        opener.open(m_gs, doc(c.document), c.remembered);
        QTRY_VERIFY_WITH_TIMEOUT(opened || !ended.isEmpty(), 30000);
        QCOMPARE(opened ? QString("opened") : ended, c.outcome);
        QCOMPARE(asked, c.retries);
        if (opened) {
            const OpenedDocument &o = *opened;
            QCOMPARE(QVariantList({o.info.pageCount, o.page, o.info.pageSize(), o.info.legacyInterpreter}),
                     QVariantList({2, c.page, c.pageSize, c.document == "r5.pdf"}));
        }
        QCOMPARE(leftovers(folder.temp()), QStringList());
        // The preview reads the document itself and draws its first page.
        const PreviewResult shown =
            preview({.ghostscript = m_gs, .document = doc(c.document), .password = firstAnswer});
        QCOMPARE(shown.problem.kind, c.previewed);
        if (c.previewed != Problem::None)
            return;
        QCOMPARE(QVariantList({shown.info.pageCount, shown.info.repaired, shown.info.pageSize()}),
                 QVariantList({2, c.document == "truncated.pdf", QSizeF(300, 200)}));
        QVERIFY(!shown.image.isNull() && shown.image.width() <= 258 && shown.image.width() > 200);
    }

    // A pending request is superseded: only the second's answer comes, though the first (a missing file) fails.
    void secondRequest_supersedesFirst()
    {
        PreviewRenderer renderer;
        PreviewRequest second = request("plain.pdf", {.colorDepth = ColorDepth::TwoHundredFiftySixColors});
        answer(renderer, second);
        second.options.colorDepth = ColorDepth::BlackAndWhite;
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        renderer.request(request("gone.pdf", {}));
        renderer.request(second);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1 && !renderer.isBusy(), 30000);
        // Once more as a barrier: whatever the first request left behind would come before this answer.
        renderer.request(second);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 30000);
        for (const QList<QVariant> &signal : std::as_const(finished)) {
            const auto result = signal.first().value<PreviewResult>();
            QVERIFY2(result.problem.isNone(), qPrintable(result.problem.message));
            QCOMPARE(result.info.pageSize(), QSizeF(300, 200));
            QVERIFY(!result.image.isNull() && result.image.convertToFormat(QImage::Format_Indexed8).colorCount() <= 2);
        }
    }
    // What is drawn shows at once, and a document made for print has its overprint simulated.
    void drawing_showsAtOnce()
    {
        QVERIFY(writeDrawnPage(doc("drawn.pdf"), Everything) && writeDrawnPage(doc("press.pdf"), Inks | PrintIntent));
        PreviewRenderer renderer;
        ConversionOptions options{.colorDepth = ColorDepth::HiColor, .dpi = 72};
        const QImage all = answer(renderer, request("drawn.pdf", options)).image;
        options.drawing.text = false;
        QVERIFY(!all.isNull() && answer(renderer, request("drawn.pdf", options)).image != all);
        const QImage press = answer(renderer, request("press.pdf", options)).image;
        QCOMPARE(press.pixelColor(180, 180), QColor(46, 48, 146));
    }

    // A document saved again under its name is read again.
    void documentReplacedOnDisk_isReadAgain()
    {
        QVERIFY(writePdf(doc("report.pdf"), {{300, 200}}));
        PreviewRenderer renderer;
        QCOMPARE(answer(renderer, request("report.pdf", {})).info.pageSize(), QSizeF(300, 200));
        QVERIFY(writePdf(doc("report.pdf"), {{200, 300}, {200, 300}}));
        const PreviewResult again = answer(renderer, request("report.pdf", {}));
        QCOMPARE(QVariantList({again.info.pageSize(), again.info.pageCount}), QVariantList({QSizeF(200, 300), 2}));
        QVERIFY(again.image.width() < again.image.height());
    }

    void preview_showsTheWrittenFilesPixels_data()
    {
        QTest::addColumn<Shown>("c");
        const auto row = [](const char *name, const char *document, const ConversionOptions &options,
                            QRect region = {}) {
            QTest::newRow(name) << Shown{document, options, region};
        };
        using D = ColorDepth;
        using F = ImageFormat;
        row("fit within 150", "a4.pdf", {.colorDepth = D::SixteenColors, .fitToBox = true, .boxWidth = 150});
        row("JPEG at quality 10, fit within 150", "a4.pdf",
            {.colorDepth = D::HiColor, .format = F::Jpg, .jpegQuality = 10, .fitToBox = true, .boxWidth = 150});
        row("TIFF, fit within 150", "a4.pdf",
            {.colorDepth = D::SixteenGrays, .format = F::Tiff, .fitToBox = true, .boxWidth = 150});
        row("WebP, 72 dpi", "plain.pdf", {.colorDepth = D::SixteenColors, .format = F::Webp, .dpi = 72});
        row("transparent, 72 dpi", "plain.pdf", {.colorDepth = D::SixteenColors, .dpi = 72, .transparent = true});
        row("transparent 256 colours, fit within 200", "a4.pdf",
            {.colorDepth = D::TwoHundredFiftySixColors, .fitToBox = true, .boxWidth = 200, .transparent = true});
        row("100% at 300 dpi", "flat.pdf", {.colorDepth = D::SixteenGrays, .dpi = 300}, {60, 90, 400, 300});
        row("100% at 1200 dpi, hicolor", "flat.pdf", {.colorDepth = D::HiColor, .dpi = 1200}, {1500, 1100, 500, 400});
        row("JPEG with the transparent background still chosen, fit within 150", "plain.pdf",
            {.colorDepth = D::HiColor, .format = F::Jpg, .fitToBox = true, .boxWidth = 150, .transparent = true});
        row("100% of an output fitted within 800 x 600", "a4.pdf",
            {.colorDepth = D::SixteenGrays, .fitToBox = true, .boxWidth = 800, .boxHeight = 600}, {100, 150, 300, 200});
        row("100% at 300 dpi, not antialiased", "flat.pdf",
            {.colorDepth = D::FourGrays, .antialias = false, .dpi = 300}, {301, 201, 300, 200});
    }

    void preview_showsTheWrittenFilesPixels()
    {
        QFETCH(Shown, c);
        CaseFolder folder;
        c.options.sourceFile = doc(c.document);
        const PreviewResult result = preview(request(c.document, c.options, c.region));
        QVERIFY2(result.problem.isNone(), qPrintable(result.problem.message));
        QVERIFY(result.actualPixels);
        const QString path = folder.path("page." + OptionLists::suffix(c.options.format));
        const ConversionJob job{
            .options = c.options, .ghostscript = m_gs, .destination = path, .pageSize = result.info.pageSize()};
        QVERIFY(convert(job).isSuccess());
        const QImage written = decoded(job.destination);
        const QImage file = written.convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(result.outputSize, file.size());
        QCOMPARE(result.region, c.region.isEmpty() ? file.rect() : c.region);
        const QImage part = file.copy(result.region);
        const QImage shown = result.image.convertToFormat(QImage::Format_RGB32);
        if (written.hasAlphaChannel()) {
            const double mean = difference(overWhite(result.image), overWhite(part));
            QVERIFY2(mean < 2, qPrintable(QString::number(mean)));
        } else if (c.region.isEmpty() || !c.options.antialias) {
            if (c.options.format == ImageFormat::Webp)
                QEXPECT_FAIL("", "The library's WebP writer rounds a colour to 8 bits where its PNG writer cuts it",
                             Continue);
            QCOMPARE(shown, part.convertToFormat(QImage::Format_RGB32));
        } else {
            // Antialiased, an edge off the pixel grid can come out a step apart when only a part is drawn.
            const double mean = difference(shown, part.convertToFormat(QImage::Format_RGB32));
            QVERIFY2(mean < 0.5, qPrintable(QString::number(mean)));
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
        // Clear paper is shown over checks.
        if (written.hasAlphaChannel())
            QCOMPARE(QList<QRgb>({inFrame.pixel(1, 1), inFrame.pixel(9, 1)}), QList<QRgb>({0xffffffff, 0xffcccccc}));
        else
            QCOMPARE(back.convertToFormat(QImage::Format_RGB32), shown);
    }

    // Larger than the frame on one side only, an output is fitted; at 100% only the part in view is drawn, even of a
    // page too large to convert; a box only filled past the highest resolution is refused though it fits the frame.
    void preview_fitsWhatTheFrameCannotHold_drawsAPartAt100Percent_andRefusesWhatCannotBeWritten()
    {
        const PreviewResult tall = preview(request("a4.pdf", {.dpi = 72}, {}, {400, 1000}));
        QVERIFY2(tall.problem.isNone(), qPrintable(tall.problem.message));
        QCOMPARE(std::pair(tall.outputSize, tall.actualPixels), std::pair(QSize(595, 842), false));
        const PreviewResult part = preview(request("vast.pdf", {.dpi = 2400}, {240000, 240000, 400, 300}), 10000);
        QVERIFY2(part.problem.isNone(), qPrintable(part.problem.message));
        QCOMPARE(part.image.size(), QSize(400, 300));
        const PreviewResult stamp = preview(request("stamp.pdf", {.fitToBox = true, .boxWidth = 350}));
        QCOMPARE(stamp.problem.kind, Problem::TooLarge);
        QVERIFY2(stamp.problem.message.contains("2800 dpi"), qPrintable(stamp.problem.message));
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
        row("crash on a password",
            {"kill -SEGV $$", Problem::WrongPassword, "se cr\"et", "-sPDFPassword=\"se cr\\\"et\""});
        row("render crashes with a password",
            {opened + "page 1; kill -SEGV $$", Problem::WrongPassword, "s3cret", "-sPDFPassword=s3cret"});
        row("render never ends", {opened + "while :; do sleep 0.1; done", Problem::PageTimedOut});
        // Asked for without a limit, a render that outlasts it fails for its own reason.
        row("slow render, asked for without a limit",
            {opened + "sleep 2; echo Error; exit 1", Problem::NotPdf, {}, {}, true});
    }

    void ghostscriptFailure_isReportedNeverShown()
    {
        QFETCH(Failing, c);
        CaseFolder folder;
        // Ghostscript works in the private folder, where a core or a file of its own goes with the folder.
        const QString noted = "{ pwd; echo \"$TMPDIR\"; } >> \"$here/where\"; ";
        PreviewRequest failing = request("plain.pdf", {});
        failing.ghostscript = fakeGhostscript(folder.path(), noted + c.body);
        failing.password = c.password;
        failing.withoutTimeLimit = c.unlimited;
        const PreviewResult result = preview(failing, 1000); // a short time limit
        QCOMPARE(result.problem.kind, c.problem);
        QCOMPARE(result.timedOut, c.problem == Problem::PageTimedOut);
        QVERIFY(result.image.isNull() && !result.problem.message.isEmpty());
        QVERIFY2(!result.problem.message.contains(QLatin1String("(s)")), qPrintable(result.problem.message));
        if (result.timedOut) // the limit as the user set it, in seconds
            QVERIFY2(result.problem.message.contains("longer than 1 second "), qPrintable(result.problem.message));
        const QStringList places = QString::fromUtf8(contentsOf(folder.path("where"))).split('\n', Qt::SkipEmptyParts);
        QVERIFY(places.size() >= 2);
        for (const QString &line : places)
            QVERIFY2(line.startsWith(QDir(folder.temp()).canonicalPath() + "/SFG-"), qPrintable(line));
        // The password goes to Ghostscript in an argument file, never on its command line.
        const QString arguments = QString::fromUtf8(contentsOf(folder.path("gs.log")));
        QVERIFY(!arguments.contains(QLatin1String("cr\"et")));
        QCOMPARE(arguments.contains(QRegularExpression("^@/", QRegularExpression::MultilineOption)),
                 !c.password.isEmpty());
        QVERIFY2(QString::fromUtf8(contentsOf(folder.path("argfile.log"))).contains(c.argument),
                 qPrintable(c.argument));
        QCOMPARE(contentsOf(folder.path("found.log")), QByteArray());
    }
};

QTEST_MAIN(tst_Preview)
#include "tst_preview.moc"
