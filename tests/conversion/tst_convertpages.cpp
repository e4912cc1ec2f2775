// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeCommandRunner.h"
#include "FakeMessageBox.h"
#include "MemoryRegistry.h"
#include "TestDocuments.h"
#include "conversion/PageConverter.h"
#include "tools/DOSOutputs.h"
#include "tools/GhostscriptLocator.h"
#include "tools/MagickImageObject.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using TestDocuments::colorCount;
using TestDocuments::imageSize;

namespace {

// Records what the run shows; "clicks" Cancel while the given page is processed.
class FakeProgress : public IProgressReport
{
public:
    void SetPercentage(int percent) override { percentages << percent; }
    void SetStatus(const QString &stat) override
    {
        statuses << stat;
        if (stat == QStringLiteral("Processing page %1...").arg(cancelDuringPage))
            cancel = true;
    }
    bool Cancel() const override { return cancel; }
    void setCancel(bool value) override { cancel = value; }

    QList<int> percentages;
    QStringList statuses;
    bool cancel = false;
    int cancelDuringPage = 0;
};

} // namespace

class TestConvertPages : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QTemporaryDir m_docs;
    QString m_twoPages, m_fivePages, m_threePages;
    std::unique_ptr<QTemporaryDir> m_out;

    QString out(const QString &name) const { return m_out->filePath(name); }

    ConversionJob job(const QString &pdf, const QString &destination, bool allPages, int pageCount)
    {
        ConversionJob job;
        job.sourceFile = pdf;
        job.destination = out(destination);
        job.allPages = allPages;
        job.pageCount = pageCount;
        job.resolution = "72";
        job.settings.applyColorDepth(2);
        job.settings.applyDither(0);
        job.settings.applyAntialias(1);
        return job;
    }

    QStringList written() const { return QDir(m_out->path()).entryList(QDir::Files, QDir::Name); }

    // Everything left in the temporary folder but the library's private folder, which holds only its policy.
    QStringList leftovers() const
    {
        QStringList left;
        for (const QString &name : QDir(m_tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            if (name.startsWith("SFGmagick-")) {
                const QStringList inside = QDir(m_tmp.filePath(name)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
                if (inside != QStringList{"policy.xml"})
                    left << name + "/" + inside.join(",");
            } else {
                left << name;
            }
        }
        return left;
    }

private slots:
    void initTestCase()
    {
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
        setGhostscriptPath(GhostscriptLocator::LocateGhostscript(MemoryRegistry()));
        m_twoPages = m_docs.filePath("two.pdf");
        m_fivePages = m_docs.filePath("five.pdf");
        m_threePages = m_docs.filePath("three.pdf");
        using namespace TestDocuments;
        QVERIFY(writePdf(m_twoPages, {letter(), letter()}));
        QVERIFY(writePdf(m_fivePages, QList<QSizeF>(5, QSizeF(200, 300))));
        QVERIFY(writePdf(m_threePages, {letter(), a4(), QSizeF(300, 200)}));
    }

    void init() { m_out = std::make_unique<QTemporaryDir>(m_docs.filePath("outXXXXXX")); }
    void cleanup() { QVERIFY2(leftovers().isEmpty(), qPrintable(leftovers().join(", "))); }

    void twoPagesToGif_numberedWithProgress()
    {
        FakeMessageBox box;
        FakeProgress progress;
        ConversionJob gif = job(m_twoPages, "scan.gif", true, 2);
        gif.imageFormat = "gif";
        gif.resolution = "144";
        const ConversionResult result = PageConverter().ConvertPages(gif, &progress);
        QCOMPARE(written(), (QStringList{"scan001.gif", "scan002.gif"}));
        QCOMPARE(result.written.size(), 2);
        QCOMPARE(progress.percentages, (QList<int>{50, 100}));
        QCOMPARE(progress.statuses, (QStringList{"Processing page 1...", "Processing page 2..."}));
        QCOMPARE(imageSize(out("scan001.gif")), QSize(1224, 1584));
        QCOMPARE(box.messages, QStringList());
    }

    void outputSize_isTheChosenResolutionWithAndWithoutAntialiasing()
    {
        for (int antialias : {0, 1}) {
            ConversionJob png = job(m_twoPages, QStringLiteral("aa%1.png").arg(antialias), false, 2);
            png.resolution = "144";
            png.settings.applyAntialias(antialias);
            PageConverter().ConvertPages(png, nullptr);
            QCOMPARE(imageSize(png.destination), QSize(1224, 1584));
            MagickImageObject magick;
            // PNG keeps its density per metre, so ask for it in inches.
            const double dpi =
                magick.identify({"-units", "PixelsPerInch", "-format", "%x", png.destination}).toDouble();
            QVERIFY2(qAbs(dpi - 144) < 0.1, qPrintable(QString::number(dpi)));
        }
    }

    void colourDepths_holdAtMostTheirColours_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("antialias");
        QTest::addColumn<int>("maxColors");
        for (int antialias : {0, 1}) {
            const QByteArray aa = antialias ? " antialiased" : "";
            QTest::newRow("black and white" + aa) << 0 << antialias << 2;
            QTest::newRow("4 colours" + aa) << 1 << antialias << 4;
            QTest::newRow("16 colours" + aa) << 2 << antialias << 16;
            QTest::newRow("256 colours" + aa) << 3 << antialias << 256;
        }
    }
    void colourDepths_holdAtMostTheirColours()
    {
        QFETCH(int, depth);
        QFETCH(int, antialias);
        QFETCH(int, maxColors);
        ConversionJob png = job(m_threePages, "depth.png", false, 3);
        png.settings.applyColorDepth(depth);
        png.settings.applyAntialias(antialias);
        png.settings.applyDither(1);
        PageConverter().ConvertPages(png, nullptr);
        QVERIFY(colorCount(png.destination) <= maxColors);
        QVERIFY(colorCount(png.destination) >= 2);
    }

    void trimming_makesTheImageSmallerWithoutCanvasOffset()
    {
        ConversionJob trimmed = job(m_twoPages, "trim.gif", false, 2);
        trimmed.settings.applyTrim(1);
        PageConverter().ConvertPages(trimmed, nullptr);
        const QSize size = imageSize(trimmed.destination);
        QVERIFY(size.width() < 612 * 0.7 && size.height() < 792 * 0.6);
        MagickImageObject magick;
        QCOMPARE(magick.identify({"-format", "%g", trimmed.destination}),
                 QStringLiteral("%1x%2+0+0").arg(size.width()).arg(size.height()));
    }

    void currentPageThree_writesPageThreeToTheChosenName()
    {
        ConversionJob current = job(m_threePages, "chosen.png", false, 3);
        current.currentPage = 3;
        PageConverter().ConvertPages(current, nullptr);
        QCOMPARE(written(), QStringList{"chosen.png"});
        QCOMPARE(imageSize(current.destination), QSize(300, 200));
    }

    void jpegFormat_replacesTheChosenExtensionAndTakesTheQuality()
    {
        ConversionJob jpeg = job(m_twoPages, "scan.png", true, 2);
        jpeg.imageFormat = "jpg";
        jpeg.settings.applyColorDepth(4);
        jpeg.compression = "10";
        PageConverter().ConvertPages(jpeg, nullptr);
        QCOMPARE(written(), (QStringList{"scan001.jpg", "scan002.jpg"}));
        QFile file(out("scan001.jpg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(2), QByteArray("\xFF\xD8"));
        const qint64 low = file.size();
        jpeg.compression = "90";
        PageConverter().ConvertPages(jpeg, nullptr);
        QVERIFY(QFileInfo(out("scan001.jpg")).size() > low);
    }

    void cancelDuringPageTwo_asksOnceAtThePageBoundary_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("yes: finished pages stay") << true << QStringList{"p001.png", "p002.png"};
        QTest::newRow("no: every page") << false
                                       << QStringList{"p001.png", "p002.png", "p003.png", "p004.png", "p005.png"};
    }
    void cancelDuringPageTwo_asksOnceAtThePageBoundary()
    {
        QFETCH(bool, yes);
        QFETCH(QStringList, pages);
        FakeMessageBox box;
        box.answers << yes;
        FakeProgress progress;
        progress.cancelDuringPage = 2;
        const ConversionResult result = PageConverter().ConvertPages(job(m_fivePages, "p.png", true, 5), &progress);
        QCOMPARE(result.cancelled, yes);
        QCOMPARE(written(), pages);
        QCOMPARE(box.questions, QStringList{"Are you sure you want to cancel the operation?"});
        QCOMPARE(progress.percentages.mid(0, 2), (QList<int>{20, 40}));
        QCOMPARE(progress.cancel, yes);
    }

    void failedPage_isReportedAndTheOthersAreWritten()
    {
        FakeMessageBox box;
        DOSOutputs real;
        FakeCommandRunner runner([&](const QStringList &command, ProcessStatus &status) {
            if (command.contains("-dFirstPage=2"))
                return QStringLiteral("   **** Error: Page drawing error occurred.\n");
            const QString output = real.ExecuteCommand(command);
            status = real.lastStatus();
            return output;
        });
        const ConversionResult result = PageConverter().ConvertPages(job(m_threePages, "f.png", true, 3), nullptr);
        QCOMPARE(written(), (QStringList{"f001.png", "f003.png"}));
        QCOMPARE(result.failures.size(), 1);
        QCOMPARE(box.messages.size(), 1);
        QVERIFY(box.messages.first().contains("Page 2: Ghostscript made no image: **** Error: Page drawing error"));
    }

    void failedConversion_leavesAnExistingFileUntouched()
    {
        FakeMessageBox box;
        QFile existing(out("keep.png"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("precious");
        existing.close();
        const QString broken = m_docs.filePath("broken.pdf");
        QFile text(broken);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a pdf");
        text.close();
        PageConverter().ConvertPages(job(broken, "keep.png", false, 1), nullptr);
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("precious"));
        QCOMPARE(written(), QStringList{"keep.png"});
        QCOMPARE(box.messages.size(), 1);
        QVERIFY(box.messages.first().startsWith("These pages could not be converted:\nPage 1:"));
    }

    void unwritableDestination_isReported()
    {
        FakeMessageBox box;
        QString folder = m_out->filePath("locked");
        QDir().mkdir(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        if (geteuid() == 0)
            folder = "/proc/sheetforge-test"; // permissions do not stop root; /proc refuses everyone
        ConversionJob locked = job(m_twoPages, "x.png", false, 2);
        locked.destination = folder + "/out.png";
        const ConversionResult result = PageConverter().ConvertPages(locked, nullptr);
        QFile::setPermissions(m_out->filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(result.written, QStringList());
        QCOMPARE(box.messages.size(), 1);
        QVERIFY2(box.messages.first().contains("cannot write " + locked.destination), qPrintable(box.messages.first()));
    }

    void fileNameSyntax_isWrittenExactlyAsChosen()
    {
        const QString name = "scan %d [1] 100%.png";
        PageConverter().ConvertPages(job(m_twoPages, name, false, 2), nullptr);
        QCOMPARE(written(), QStringList{name});
        QCOMPARE(QImage(out(name)).size(), QSize(612, 792)); // the library would read the name as syntax
    }

    void missingGhostscript_isToldOnceAndStops()
    {
        FakeMessageBox box;
        const QString gs = GhostscriptPath();
        setGhostscriptPath(m_docs.filePath("no-gs"));
        const ConversionResult result = PageConverter().ConvertPages(job(m_fivePages, "p.png", true, 5), nullptr);
        setGhostscriptPath(gs);
        QCOMPARE(result.failures.size(), 1);
        QCOMPARE(box.messages, QStringList{"File or command not found"});
        QCOMPARE(written(), QStringList());
    }
};

QTEST_MAIN(TestConvertPages)
#include "tst_convertpages.moc"
