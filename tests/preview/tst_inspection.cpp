// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeCommandRunner.h"
#include "FakeMessageBox.h"
#include "MemoryRegistry.h"
#include "TestDocuments.h"
#include "preview/DocumentInspector.h"
#include "preview/OutputSize.h"
#include "settings/ConversionSettings.h"
#include "tools/DOSOutputs.h"
#include "tools/GhostscriptLocator.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

class RecordingView : public IInspectionView
{
public:
    void setBusy(bool busy) override { busyChanges << busy; }
    void rebuildPageList(int count) override { pageCount = count; }
    void showPreview(const QImage &image) override { preview = image; }
    void inspectionCompleted() override { ++completed; }

    QList<bool> busyChanges;
    int pageCount = -1;
    QImage preview;
    int completed = 0;
};

int distinctColours(const QImage &image)
{
    QSet<QRgb> colours;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x)
            colours.insert(rgb.pixel(x, y));
    }
    return int(colours.size());
}

} // namespace

class TestInspection : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;  // the temporary folder the program uses
    QTemporaryDir m_docs; // the user's documents
    QString m_pdf;
    ConversionSettings m_settings;

    QString doc(const QString &name) const { return m_docs.filePath(name); }

private slots:
    void initTestCase()
    {
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
        setGhostscriptPath(GhostscriptLocator::LocateGhostscript(MemoryRegistry()));
        m_pdf = doc("three pages.pdf");
        QVERIFY(TestDocuments::writePdf(m_pdf, {TestDocuments::letter(), TestDocuments::a4(), QSizeF(300, 200)}));
    }

    void init()
    {
        m_settings = ConversionSettings();
        m_settings.applyColorDepth(2);
    }

    void cleanup() { QCOMPARE(TestDocuments::sfgFilesIn(m_tmp.path()), QStringList()); }

    void opening_listsPagesAndMeasuresEachPageInPoints()
    {
        RecordingView view;
        DocumentInspector inspector(view, m_settings);
        inspector.FillImageData(m_pdf, 1, true);
        QCOMPARE(view.pageCount, 3);
        QCOMPARE(view.completed, 1);
        QCOMPARE(QSize(inspector.PageWidthPx(), inspector.PageHeightPx()), QSize(612, 792));
        QCOMPARE(OutputSize::pixelsAt("300", inspector.PageWidthPx()), 2550);
        QCOMPARE(OutputSize::pixelsAt("300", inspector.PageHeightPx()), 3300);
        QCOMPARE(view.preview.size(), QSize(199, 258));
        QCOMPARE(view.busyChanges, (QList<bool>{true, false}));

        inspector.FillImageData(m_pdf, 2, false);
        QCOMPARE(QSize(inspector.PageWidthPx(), inspector.PageHeightPx()), QSize(595, 842));
        inspector.FillImageData(m_pdf, 3, false);
        QCOMPARE(QSize(inspector.PageWidthPx(), inspector.PageHeightPx()), QSize(300, 200));
        QCOMPARE(view.preview.size(), QSize(258, 172));
        QCOMPARE(view.pageCount, 3);
    }

    void trimming_measuresTheSmallerPageAndShrinksTheBox()
    {
        m_settings.applyTrim(1);
        RecordingView view;
        DocumentInspector inspector(view, m_settings);
        inspector.FillImageData(m_pdf, 1, false);
        QVERIFY(inspector.PageWidthPx() < 612 * 0.7);
        QVERIFY(inspector.PageHeightPx() < 792 * 0.6);
        QVERIFY(view.preview.width() < 199 && view.preview.height() < 258);
    }

    void preview_showsTheChosenColourDepth()
    {
        RecordingView view;
        DocumentInspector inspector(view, m_settings);
        m_settings.applyColorDepth(0);
        inspector.FillImageData(m_pdf, 1, false);
        QCOMPARE(distinctColours(view.preview), 2);
        m_settings.applyColorDepth(2);
        inspector.FillImageData(m_pdf, 1, false);
        QVERIFY(distinctColours(view.preview) <= 16);
        QVERIFY(distinctColours(view.preview) > 4);
    }

    void unreadableDocuments_sayErrorReadingFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // empty with "copy": the generated document
        QTest::addColumn<int>("page");
        QTest::newRow("page past the end") << "three pages.pdf" << QByteArray() << 9;
        QTest::newRow("text named .pdf") << "hello.pdf" << QByteArray("hello world\n") << 1;
        QTest::newRow("empty file") << "empty.pdf" << QByteArray(" ").chopped(1) << 1;
        QTest::newRow("garbled") << "garbled.pdf" << QByteArray("%PDF-1.4\n1 0 obj <</Type /Catalog /#ZZ\n") << 1;
    }
    void unreadableDocuments_sayErrorReadingFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, page);
        if (!QFile::exists(doc(name))) {
            QFile file(doc(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        FakeMessageBox box;
        RecordingView view;
        DocumentInspector inspector(view, m_settings);
        inspector.FillImageData(doc(name), page, page == 1);
        QCOMPARE(box.messages.size(), 1);
        QVERIFY2(box.messages.first().startsWith("Error reading file:\n"), qPrintable(box.messages.first()));
        QCOMPARE(view.completed, 0);
        QCOMPARE(view.pageCount, -1);
        QCOMPARE(inspector.PageWidthPx(), 0);
    }

    void rememberedPagePastTheEnd_opensPageOne()
    {
        FakeMessageBox box;
        RecordingView view;
        DocumentInspector inspector(view, m_settings);
        inspector.FillImageData(m_pdf, 9, true);
        QCOMPARE(box.messages, QStringList());
        QCOMPARE(view.pageCount, 3);
        QCOMPARE(inspector.PageWidthPx(), 612);
    }

    void encryptedDocument_saysErrorReadingFile()
    {
        const QString encrypted = doc("locked.pdf");
        QProcess::execute(GhostscriptPath(), {"-q", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite", "-sOwnerPassword=o",
                                              "-sUserPassword=u", "-sOutputFile=" + encrypted, m_pdf});
        QVERIFY(QFile::exists(encrypted));
        FakeMessageBox box;
        RecordingView view;
        DocumentInspector inspector(view, m_settings);
        inspector.FillImageData(encrypted, 1, true);
        QCOMPARE(box.messages.size(), 1);
        QVERIFY(box.messages.first().contains("password"));
        QCOMPARE(view.completed, 0);
    }

    void upperCaseExtension_isAPdfToo()
    {
        QVERIFY(QFile::copy(m_pdf, doc("SCAN.PDF")));
        RecordingView view;
        DocumentInspector inspector(view, m_settings);
        inspector.FillImageData(doc("SCAN.PDF"), 1, true);
        QCOMPARE(view.completed, 1);
    }

    void refusals_touchNoTool()
    {
        FakeMessageBox box;
        FakeCommandRunner runner;
        RecordingView view;
        DocumentInspector inspector(view, m_settings);
        inspector.FillImageData(QString(), 1, true);
        QVERIFY(view.busyChanges.isEmpty());
        inspector.FillImageData(doc("notes.txt"), 1, true);
        const QString gs = GhostscriptPath();
        setGhostscriptPath(QString());
        inspector.FillImageData(m_pdf, 1, true);
        setGhostscriptPath(gs);
        QCOMPARE(box.messages, (QStringList{"The file does not have a pdf extension",
                                            "GhostScript has not been found on your system. This utility is "
                                            "required to be able to process pdf files"}));
        QVERIFY(runner.commands.isEmpty());
        QCOMPARE(view.busyChanges, (QList<bool>{true, false, true, false}));
    }

    void ghostscriptThatCannotStart_isToldOnce()
    {
        FakeMessageBox box;
        const QString gs = GhostscriptPath();
        setGhostscriptPath(doc("no-such-gs"));
        RecordingView view;
        DocumentInspector inspector(view, m_settings);
        inspector.FillImageData(m_pdf, 1, true);
        setGhostscriptPath(gs);
        QCOMPARE(box.messages, QStringList{"File or command not found"});
        QCOMPARE(view.completed, 0);
    }

    void crashOrBadCount_stopsWithTheOutput_data()
    {
        QTest::addColumn<QString>("countOutput");
        QTest::addColumn<bool>("crash");
        QTest::newRow("render crashed") << "" << true;
        QTest::newRow("zero pages") << "        File has 0 page." << false;
        QTest::newRow("no count") << "   **** Error: Couldn't initialise file." << false;
    }
    void crashOrBadCount_stopsWithTheOutput()
    {
        QFETCH(QString, countOutput);
        QFETCH(bool, crash);
        FakeMessageBox box;
        FakeCommandRunner runner([&](const QStringList &command, ProcessStatus &status) {
            if (command.contains("-dPDFINFO"))
                return countOutput;
            QFile bitmap(FakeCommandRunner::outputFile(command));
            bitmap.open(QIODevice::WriteOnly);
            bitmap.write("BM");
            if (crash)
                status = {ProcessStatus::Crashed, 11};
            return QStringLiteral("GPL Ghostscript banner\n");
        });
        RecordingView view;
        DocumentInspector inspector(view, m_settings);
        inspector.FillImageData(m_pdf, 1, true);
        QCOMPARE(box.messages.size(), 1);
        QVERIFY(box.messages.first().startsWith("Error reading file:\n"));
        QVERIFY(box.messages.first().contains(crash ? "crashed" : countOutput));
        QCOMPARE(view.pageCount, -1);
        QCOMPARE(view.completed, 0);
    }
};

QTEST_MAIN(TestInspection)
#include "tst_inspection.moc"
