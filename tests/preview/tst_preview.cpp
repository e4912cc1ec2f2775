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

class tst_Preview : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_gs;
    QTranslator m_plurals;

    QString doc(const QString &name) const { return m_docs.filePath(name); }

    PreviewResult preview(const PreviewRequest &request, int timeLimitMs = PreviewRenderer::DefaultTimeLimitMs)
    {
        PreviewRenderer renderer;
        renderer.setTimeLimit(timeLimitMs);
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        renderer.request(request);
        [&] { QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000); }();
        // Once the preview has its answer, no Ghostscript of it runs on, a timed-out one included.
        [&] { QTRY_VERIFY_WITH_TIMEOUT(ghostscriptChildren(QCoreApplication::applicationPid()).isEmpty(), 3000); }();
        return finished.count() == 1 ? finished.first().first().value<PreviewResult>() : PreviewResult{};
    }

    static QImage overWhite(const QImage &image)
    {
        QImage laid(image.size(), QImage::Format_RGB32);
        laid.fill(Qt::white);
        QPainter(&laid).drawImage(0, 0, image);
        return laid;
    }

    // The mean difference of two images of one size, in levels of 255.
    static double meanDifference(const QImage &a, const QImage &b)
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
        QFile plain(doc("plain.pdf")), truncated(doc("truncated.pdf"));
        QVERIFY(plain.open(QIODevice::ReadOnly) && truncated.open(QIODevice::WriteOnly));
        truncated.write(plain.readAll().chopped(40)); // no trailer: Ghostscript repairs it
        QVERIFY(encrypt(doc("plain.pdf"), doc("r5.pdf"), "user", true));
        QFile text(doc("text.pdf"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("hello") > 0);
    }

    void opener_asksUntilThePasswordOpensIt_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QStringList>("answers"); // "" gives up
        QTest::addColumn<QList<bool>>("retries"); // as the questions came
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<bool>("replaced"); // by another document while the question is asked
        QTest::newRow("no password needed") << "plain.pdf" << QStringList() << QList<bool>() << "opened" << false;
        QTest::newRow("right password") << "user.pdf" << QStringList{"user"} << QList<bool>{false} << "opened" << false;
        QTest::newRow("right password, the file replaced meanwhile")
            << "user.pdf" << QStringList{"user"} << QList<bool>{false} << "opened" << true;
        QTest::newRow("wrong, then right")
            << "user.pdf" << QStringList{"nope", "user"} << QList<bool>{false, true} << "opened" << false;
        QTest::newRow("given up") << "user.pdf" << QStringList{""} << QList<bool>{false} << "abandoned" << false;
        QTest::newRow("revision 5, owner password")
            << "r5.pdf" << QStringList{"owner"} << QList<bool>{false} << "opened" << false;
        QTest::newRow("not a PDF") << "text.pdf" << QStringList() << QList<bool>() << "failed" << false;
    }

    void opener_asksUntilThePasswordOpensIt()
    {
        QFETCH(QString, document);
        QFETCH(QStringList, answers);
        QFETCH(QList<bool>, retries);
        QFETCH(QString, outcome);
        QFETCH(bool, replaced);
        CaseFolder folder;
        const QString path = folder.path("asked.pdf");
        QVERIFY(QFile::copy(doc(document), path));
        DocumentOpener opener;
        QList<bool> asked;
        QString ended;
        std::optional<OpenedDocument> opened;
        connect(&opener, &DocumentOpener::passwordNeeded, this, [&](const QString &, bool retry) {
            // The document opened is the one found at the start, whatever takes its name.
            if (replaced && asked.isEmpty())
                QVERIFY(QFile::remove(path) && QFile::copy(doc("a4.pdf"), path));
            asked << retry;
            const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
            opener.providePassword(answer.isEmpty() ? std::nullopt : std::optional<QString>(answer));
        });
        connect(&opener, &DocumentOpener::opened, this, [&](const OpenedDocument &document) {
            ended = "opened";
            opened = document;
        });
        connect(&opener, &DocumentOpener::failed, this, [&] { ended = "failed"; });
        connect(&opener, &DocumentOpener::abandoned, this, [&] { ended = "abandoned"; });
        opener.open(m_gs, path, 2);
        QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 30000);
        QCOMPARE(ended, outcome);
        QCOMPARE(asked, retries);
        if (opened) {
            QCOMPARE(opened->info.pageCount, 2);
            QCOMPARE(opened->page, 2);
            QCOMPARE(opened->info.pageSize, QSizeF(200, 300));
            QCOMPARE(opened->info.legacyInterpreter, document == "r5.pdf");
        }
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    // A remembered page past the end of a document that has since shrunk: the document opens at page 1.
    void opener_pagePastTheEnd_opensAtTheFirst()
    {
        DocumentOpener opener;
        QSignalSpy opened(&opener, &DocumentOpener::opened);
        opener.open(m_gs, doc("plain.pdf"), 40);
        QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 30000);
        const auto document = opened.first().first().value<OpenedDocument>();
        QCOMPARE(document.page, 1);
        QCOMPARE(document.info.pageSize, QSizeF(300, 200));
    }

    void password_opensOnlyTheRightDocument_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("problem");
        QTest::newRow("right password") << "user.pdf"
                                        << "user" << int(Problem::None);
        QTest::newRow("none given") << "user.pdf"
                                    << "" << int(Problem::NeedsPassword);
        QTest::newRow("wrong one crashes gs") << "user.pdf"
                                              << "nope" << int(Problem::WrongPassword);
        QTest::newRow("quote and backslash") << "quoted.pdf"
                                             << "a \"b\\c" << int(Problem::None);
        QTest::newRow("repaired") << "truncated.pdf"
                                  << "" << int(Problem::None);
        QTest::newRow("owner password only") << "owner.pdf"
                                             << "" << int(Problem::None);
    }

    void password_opensOnlyTheRightDocument()
    {
        QFETCH(QString, document);
        QFETCH(int, problem);
        QFETCH(QString, password);
        CaseFolder folder;
        const PreviewRequest request{.ghostscript = m_gs, .document = doc(document), .password = password};
        const PreviewResult result = preview(request);
        QCOMPARE(int(result.problem.kind), problem);
        if (problem == Problem::None) {
            QCOMPARE(result.info.pageCount, 2);
            QCOMPARE(result.info.repaired, document == "truncated.pdf");
            QCOMPARE(result.info.pageSize, QSizeF(300, 200));
            QVERIFY(!result.image.isNull() && result.image.width() <= 258 && result.image.width() > 200);
        }
    }

    void secondRequest_supersedesFirst_data()
    {
        QTest::addColumn<QString>("firstDocument");
        QTest::addColumn<bool>("rendered"); // so that only the colours are reduced again
        QTest::addColumn<int>("secondPage");
        QTest::addColumn<int>("secondDepth");
        const int bw = int(ColorDepth::BlackAndWhite), many = int(ColorDepth::TwoHundredFiftySixColors);
        QTest::newRow("page 1 then page 2") << "plain.pdf" << false << 2 << many;
        QTest::newRow("colours changed") << "plain.pdf" << true << 1 << bw;
        QTest::newRow("missing file then a page") << "gone.pdf" << false << 2 << bw;
    }

    void secondRequest_supersedesFirst()
    {
        QFETCH(QString, firstDocument);
        QFETCH(bool, rendered);
        QFETCH(int, secondPage);
        QFETCH(int, secondDepth);
        CaseFolder folder;
        PreviewRenderer renderer;
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        PreviewRequest first{.ghostscript = m_gs, .document = doc("plain.pdf")};
        first.options.colorDepth = ColorDepth::TwoHundredFiftySixColors;
        if (rendered) {
            renderer.request(first);
            QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
            finished.clear();
        }
        first.document = doc(firstDocument);
        PreviewRequest second{.ghostscript = m_gs, .document = doc("plain.pdf"), .page = secondPage};
        second.options.colorDepth = ColorDepth(secondDepth);
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
            QVERIFY(!result.image.isNull() && colours <= (secondDepth == int(ColorDepth::BlackAndWhite) ? 2 : 256));
        }
    }

    void documentReplacedOnDisk_isReadAgain()
    {
        CaseFolder folder;
        const QString path = folder.path("report.pdf");
        QVERIFY(writePdf(path, {{300, 200}}));
        PreviewRenderer renderer;
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        const PreviewRequest request{.ghostscript = m_gs, .document = path};
        renderer.request(request);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QCOMPARE(finished.last().first().value<PreviewResult>().info.pageSize, QSizeF(300, 200));
        // Saved again under the same name, with other pages: what was found before no longer holds.
        QVERIFY(writePdf(path, {{200, 300}, {200, 300}}));
        renderer.request(request);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 30000);
        const auto result = finished.last().first().value<PreviewResult>();
        QCOMPARE(result.info.pageSize, QSizeF(200, 300));
        QCOMPARE(result.info.pageCount, 2);
        QVERIFY(result.image.width() < result.image.height());
    }

    // The page drawn is the one of the document opened, though another file takes its name before Ghostscript
    // starts.
    void documentReplacedBeforeRendering_theOpenedOneIsDrawn()
    {
        CaseFolder folder;
        const QString path = folder.path("report.pdf");
        QVERIFY(writePdf(path, {{300, 200}}));
        QVERIFY(writePdf(folder.path("other.pdf"), {{300, 200}}, true));
        const QString slow = fakeGhostscript(folder.path(), QString("sleep 1; exec %1 \"$@\"").arg(m_gs));
        PreviewRenderer renderer;
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        renderer.request({.ghostscript = m_gs, .document = path});
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        const DocumentInfo info = finished.last().first().value<PreviewResult>().info;
        renderer.request({.ghostscript = slow, .document = path, .box = {400, 400}, .info = info});
        QCOMPARE(std::rename(QFile::encodeName(folder.path("other.pdf")), QFile::encodeName(path)), 0);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 30000);
        const QImage image = finished.last().first().value<PreviewResult>().image;
        // The other one is coloured to its corners.
        QVERIFY(!image.isNull());
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));
    }

    void preview_showsTheWrittenFilesPixels_data()
    {
        struct Row
        {
            const char *name;
            const char *document;
            ConversionOptions options;
            QRect region; // the part in view at 100%; empty for the fitted view
        };
        using D = ColorDepth;
        const QList<Row> rows{
            {"fit within 150", "a4.pdf", {.colorDepth = D::SixteenColors, .fitToBox = true, .boxWidth = 150}},
            {"JPEG at quality 10, fit within 150",
             "a4.pdf",
             {.colorDepth = D::HiColor,
              .format = ImageFormat::Jpg,
              .jpegQuality = 10,
              .fitToBox = true,
              .boxWidth = 150}},
            {"TIFF, fit within 150",
             "a4.pdf",
             {.colorDepth = D::SixteenGrays, .format = ImageFormat::Tiff, .fitToBox = true, .boxWidth = 150}},
            {"transparent, 72 dpi", "plain.pdf", {.colorDepth = D::SixteenColors, .dpi = 72, .transparent = true}},
            {"transparent 256 colours, fit within 200",
             "a4.pdf",
             {.colorDepth = D::TwoHundredFiftySixColors, .fitToBox = true, .boxWidth = 200, .transparent = true}},
            {"100% at 300 dpi", "flat.pdf", {.colorDepth = D::SixteenGrays, .dpi = 300}, QRect(60, 90, 400, 300)},
            {"100% at 1200 dpi, hicolor",
             "flat.pdf",
             {.colorDepth = D::HiColor, .dpi = 1200},
             QRect(1500, 1100, 500, 400)},
            {"JPEG with the transparent background still chosen, fit within 150",
             "plain.pdf",
             {.colorDepth = D::HiColor,
              .format = ImageFormat::Jpg,
              .fitToBox = true,
              .boxWidth = 150,
              .transparent = true}},
            {"100% of an output fitted within 800 x 600",
             "a4.pdf",
             {.colorDepth = D::SixteenGrays, .fitToBox = true, .boxWidth = 800, .boxHeight = 600},
             QRect(100, 150, 300, 200)},
            {"100% at 300 dpi, not antialiased",
             "flat.pdf",
             {.colorDepth = D::FourGrays, .antialias = false, .dpi = 300},
             QRect(301, 201, 300, 200)},
        };
        QTest::addColumn<QString>("document");
        QTest::addColumn<ConversionOptions>("options");
        QTest::addColumn<QRect>("region");
        for (const Row &row : rows)
            QTest::newRow(row.name) << row.document << row.options << row.region;
    }

    void preview_showsTheWrittenFilesPixels()
    {
        QFETCH(QString, document);
        QFETCH(ConversionOptions, options);
        QFETCH(QRect, region);
        CaseFolder folder;
        options.sourceFile = doc(document);
        const PreviewResult result = preview(
            {.ghostscript = m_gs, .document = doc(document), .options = options, .box = {400, 400}, .region = region});
        QVERIFY2(result.problem.isNone(), qPrintable(result.problem.message));
        QVERIFY(result.actualPixels);
        ConversionJob job;
        job.ghostscript = m_gs;
        job.options = options;
        job.pageSize = result.info.pageSize;
        job.destination = folder.path("page." + OptionLists::suffix(options.format));
        QVERIFY(convert(job).isSuccess());
        // Qt reads no TIFF here: the image library decodes it.
        QImage written(job.destination);
        if (written.isNull())
            written = QImage::fromData(ImageObject().convert({job.destination}, "PNG").data);
        const QImage file = written.convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(result.outputSize, file.size());
        QCOMPARE(result.region, region.isEmpty() ? file.rect() : region);
        const QImage part = file.copy(result.region);
        if (written.hasAlphaChannel()) {
            const double difference = meanDifference(overWhite(result.image), overWhite(part));
            QVERIFY2(difference < 2, qPrintable(QString::number(difference)));
        } else if (region.isEmpty() || !options.antialias) {
            QCOMPARE(result.image.convertToFormat(QImage::Format_RGB32), part.convertToFormat(QImage::Format_RGB32));
        } else {
            // Antialiased, an edge that falls a fraction of a pixel off the grid can come out a step apart
            // when only a part is drawn.
            const QImage shown = result.image.convertToFormat(QImage::Format_RGB32);
            const QImage written = part.convertToFormat(QImage::Format_RGB32);
            QCOMPARE(shown.size(), written.size());
            int differing = 0;
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x)
                    differing += shown.pixel(x, y) != written.pixel(x, y);
            }
            QVERIFY2(differing * 200 < shown.width() * shown.height(), qPrintable(QString::number(differing)));
            QVERIFY(meanDifference(shown, written) < 0.5);
        }
        if (!region.isEmpty())
            return;
        // Shown in the frame, the output's pixels enlarged without smoothing: back at its size, the same.
        PreviewPane pane;
        pane.resize(500, 500);
        pane.show(result);
        const QImage shown = pane.findChild<QLabel *>("previewLabel")->pixmap().toImage();
        QVERIFY(shown.width() > file.width());
        QVERIFY(shown.width() <= pane.box().width() && shown.height() <= pane.box().height());
        QVERIFY(qAbs(shown.width() * file.height() - shown.height() * file.width())
                <= qMax(file.width(), file.height()));
        const QImage back = shown.scaled(file.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
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
        const PreviewResult result = preview({.ghostscript = m_gs,
                                              .document = doc(document),
                                              .options = {.colorDepth = ColorDepth::SixteenColors, .dpi = 2400},
                                              .box = {400, 400},
                                              .region = region},
                                             10000);
        QVERIFY2(result.problem.isNone(), qPrintable(result.problem.message));
        QCOMPARE(result.region, region);
        QCOMPARE(result.image.size(), region.size());
    }

    // The part rendered is drawn where it lies in the output, wherever the view is scrolled to, and an output
    // smaller than the view lies in its middle.
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
        QImage part(region.size(), QImage::Format_RGB32);
        part.fill(Qt::red);
        part.setPixel(0, 0, qRgb(0, 0, 255));
        view.show(part, region);
        const QImage drawn = view.shown();
        QCOMPARE(drawn.pixel(partAt), qRgb(0, 0, 255));
        QCOMPARE(drawn.pixel(partAt + QPoint(1, 1)), qRgb(255, 0, 0));
    }

    // An output larger than the frame on one side only is fitted, not shown as its own pixels.
    void preview_largerThanTheFrameOnOneSide_isFitted()
    {
        ConversionOptions options{.sourceFile = doc("a4.pdf"), .colorDepth = ColorDepth::SixteenColors, .dpi = 72};
        const PreviewResult result =
            preview({.ghostscript = m_gs, .document = doc("a4.pdf"), .options = options, .box = {400, 1000}});
        QVERIFY2(result.problem.isNone(), qPrintable(result.problem.message));
        QCOMPARE(result.outputSize, QSize(595, 842));
        QVERIFY(!result.actualPixels);
    }

    // A box the page could only fill past the highest resolution: refused as the conversion refuses it, though
    // it would fit the frame.
    void preview_ofASizeTheConversionRefuses_isRefusedToo()
    {
        CaseFolder folder;
        QVERIFY(writePdf(folder.path("stamp.pdf"), {{9, 9}}));
        ConversionOptions options{.sourceFile = folder.path("stamp.pdf"), .fitToBox = true, .boxWidth = 350};
        const PreviewResult result =
            preview({.ghostscript = m_gs, .document = folder.path("stamp.pdf"), .options = options, .box = {400, 400}});
        QCOMPARE(int(result.problem.kind), int(Problem::TooLarge));
        QVERIFY2(result.problem.message.contains("2800 dpi"), qPrintable(result.problem.message));
    }

    void transparentPaper_showsChecksBehindIt()
    {
        // plain.pdf's page 1 has paper all round its coloured box. One renderer, so that nothing it kept from
        // the opaque page is shown for the transparent one, nor the other way round.
        PreviewRenderer renderer;
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        PreviewRequest request{.ghostscript = m_gs, .document = doc("plain.pdf")};
        request.options.colorDepth = ColorDepth::SixteenColors;
        const auto corner = [&](bool transparent) {
            request.options.transparent = transparent;
            finished.clear();
            renderer.request(request);
            [&] { QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000); }();
            PreviewPane pane;
            pane.show(finished.value(0).value(0).value<PreviewResult>());
            const QImage image = pane.findChild<QLabel *>("previewLabel")->pixmap().toImage();
            return image.isNull() ? QList<QRgb>()
                                  : QList<QRgb>{image.pixel(1, 1), image.pixel(9, 1), image.pixel(9, 9)};
        };
        const QList<QRgb> white(3, qRgb(255, 255, 255));
        QCOMPARE(corner(false), white);
        QCOMPARE(corner(true), (QList<QRgb>{qRgb(255, 255, 255), qRgb(204, 204, 204), qRgb(255, 255, 255)}));
        QCOMPARE(corner(false), white);
        // At 100% as well: a clear page is drawn over the checks.
        ActualSizeView view;
        view.resize(300, 300);
        view.setOutputSize({100, 100});
        QImage clear(100, 100, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        view.show(clear, clear.rect());
        const QImage drawn = view.shown();
        QList<QRgb> colours;
        for (int y = 0; y < drawn.height(); y += 3) {
            for (int x = 0; x < drawn.width(); x += 3) {
                if (!colours.contains(drawn.pixel(x, y)))
                    colours << drawn.pixel(x, y);
            }
        }
        QVERIFY(colours.contains(qRgb(204, 204, 204)) && colours.contains(qRgb(255, 255, 255)));
    }

    // Ghostscript reading the document works in the private folder, where a core or a file of its own goes with
    // the folder, never into the user's current one.
    void documentInfo_isReadInThePrivateFolder()
    {
        CaseFolder folder;
        const QString gs =
            fakeGhostscript(folder.path(), "[ -n \"$info\" ] && { pwd; echo \"$TMPDIR\"; } > \"$here/where\"; exit 1");
        preview({.ghostscript = gs, .document = doc("plain.pdf")});
        QFile where(folder.path("where"));
        QVERIFY(where.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(where.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        for (const QString &line : lines)
            QVERIFY2(line.startsWith(QDir(folder.temp()).canonicalPath() + "/SFG-"), qPrintable(line));
    }

    void ghostscriptFailure_isReportedNeverShown_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("unlimited"); // the user chose to wait as long as it takes
        const QString opened = "[ -n \"$info\" ] && info_ok; ";
        QTest::newRow("count crashes") << "kill -SEGV $$" << int(Problem::GhostscriptFailed) << QString() << false;
        QTest::newRow("render crashes") << opened + "page 1; kill -SEGV $$" << int(Problem::GhostscriptFailed)
                                        << QString() << false;
        QTest::newRow("render fails") << opened + "echo Error; exit 1" << int(Problem::NotPdf) << QString() << false;
        QTest::newRow("render writes nothing") << opened + "exit 0" << int(Problem::NotPdf) << QString() << false;
        QTest::newRow("crash on a password") << "kill -SEGV $$" << int(Problem::WrongPassword) << "se cr\"et" << false;
        QTest::newRow("render crashes with a password")
            << opened + "page 1; kill -SEGV $$" << int(Problem::WrongPassword) << "s3cret" << false;
        QTest::newRow("render never ends")
            << opened + "while :; do sleep 0.1; done" << int(Problem::PageTimedOut) << QString() << false;
        // Asked for without a limit, a render that outlasts it fails for its own reason.
        QTest::newRow("slow render, asked for without a limit")
            << opened + "sleep 2; echo Error; exit 1" << int(Problem::NotPdf) << QString() << true;
    }

    void ghostscriptFailure_isReportedNeverShown()
    {
        QFETCH(QString, body);
        QFETCH(QString, password);
        QFETCH(int, problem);
        QFETCH(bool, unlimited);
        CaseFolder folder;
        const PreviewRequest request{.ghostscript = fakeGhostscript(folder.path(), body),
                                     .document = doc("plain.pdf"),
                                     .password = password,
                                     .withoutTimeLimit = unlimited};
        // The time a render may take, made short.
        const PreviewResult result = preview(request, 1000);
        QCOMPARE(int(result.problem.kind), problem);
        QCOMPARE(result.timedOut, problem == Problem::PageTimedOut);
        QVERIFY(result.image.isNull());
        QVERIFY(!result.problem.message.isEmpty());
        QVERIFY2(!result.problem.message.contains(QLatin1String("(s)")), qPrintable(result.problem.message));
        // The password goes to Ghostscript in an argument file, never on its command line.
        QFile log(folder.path("gs.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QStringList arguments = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'));
        QVERIFY(!arguments.join(QLatin1Char(' ')).contains(QLatin1String("cr\"et")));
        QCOMPARE(!arguments.filter(QRegularExpression("^@/")).isEmpty(), !password.isEmpty());
        if (!password.isEmpty()) {
            QFile given(folder.path("argfile.log"));
            QVERIFY(given.open(QIODevice::ReadOnly));
            const QString expected =
                password.contains(' ') ? "-sPDFPassword=\"se cr\\\"et\"" : "-sPDFPassword=" + password;
            QVERIFY2(QString::fromUtf8(given.readAll()).contains(expected), qPrintable(expected));
            QVERIFY(!QFile::exists(folder.path("found.log")) || QFileInfo(folder.path("found.log")).size() == 0);
        }
    }
};

QTEST_MAIN(tst_Preview)
#include "tst_preview.moc"
