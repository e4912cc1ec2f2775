// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"
#include "TestSupport.h"

#include "preview/OutputSize.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

using namespace TestSupport;

class tst_Windows : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_gs;
    MemorySettings m_settings;
    FakeMessageBox m_messages;
    FakeFileDialog m_files;
    std::unique_ptr<MainWindow> m_window;

    QString doc(const QString &name) const { return m_docs.filePath(name); }
    template <class T>
    T *child(const char *name) const
    {
        return m_window->findChild<T *>(QString::fromLatin1(name));
    }

    // A fresh window with the three-page document open.
    void openWindow()
    {
        m_settings = {};
        m_messages = {};
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        m_window->show();
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        m_window->start(m_gs, doc("three.pdf"));
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        ImageObject::initialise();
        m_gs = GhostscriptLocator().locate();
        QVERIFY(!m_gs.isEmpty());
        QVERIFY(writePdf(doc("three.pdf"), {{842, 595}, {200, 300}, {200, 300}}));
        QVERIFY(encrypt(doc("three.pdf"), doc("locked.pdf"), "user"));
        QFile bad(doc("bad.pdf"));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("%PDF-1.4\ntruncated") > 0);
    }

    void cleanup() { m_window.reset(); }

    void opening_fillsPagesAndReadOut_andFailingKeepsThem_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::newRow("no second document") << QString();
        QTest::newRow("damaged") << "bad.pdf";
        QTest::newRow("password refused") << "locked.pdf";
        QTest::newRow("missing") << "gone.pdf";
    }

    void opening_fillsPagesAndReadOut_andFailingKeepsThem()
    {
        QFETCH(QString, failing);
        openWindow();
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        if (!failing.isEmpty()) {
            m_files.document = doc(failing);
            child<QPushButton>("cmdBrowse")->click();
            // Once told, the window shows the previous document again.
            QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
            QCOMPARE(m_messages.informed.size() + m_messages.passwordQuestions, 1);
        }
        QCOMPARE(m_window->documentPath(), doc("three.pdf"));
        QCOMPARE(child<QLineEdit>("txtFile")->text(), doc("three.pdf"));
        QCOMPARE(m_settings.values.value("SourceFile"), doc("three.pdf"));
        QCOMPARE(m_window->pageCount(), 3);
        QCOMPARE(child<QComboBox>("cboPage")->count(), 3);
        QCOMPARE(child<QSpinBox>("spnFromPage")->value(), 1);
        QCOMPARE(child<QSpinBox>("spnToPage")->value(), 3);
        QCOMPARE(child<QSpinBox>("spnToPage")->maximum(), 3);
        QVERIFY(child<QPushButton>("cmdConvert_1")->isEnabled() && child<QSpinBox>("spnToPage")->isEnabled());
        const QSize landscape = OutputSize::pixels({842, 595}, 144, true);
        QCOMPARE(m_window->outputSize(), landscape);
        QCOMPARE(child<QLineEdit>("txtImgWidth")->text(), QString::number(landscape.width()));

        // The read-out follows the page shown, and its orientation.
        shown.clear();
        child<QComboBox>("cboPage")->setCurrentIndex(1);
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        QCOMPARE(m_window->outputSize(), OutputSize::pixels({200, 300}, 144, true));
        QCOMPARE(child<QLineEdit>("txtImgHeight")->text(), QString::number(m_window->outputSize().height()));
    }

    void cancelQuestion_onlyYesStopsTheRun_data()
    {
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("no") << QList<bool>{false} << false;
        QTest::newRow("no, then yes") << QList<bool>{false, true} << true;
        QTest::newRow("yes") << QList<bool>{true} << true;
    }

    void cancelQuestion_onlyYesStopsTheRun()
    {
        QFETCH(QList<bool>, answers);
        QFETCH(bool, cancelled);
        openWindow(); // before the case folder, which then holds only what the run leaves
        CaseFolder folder;
        m_files.image = folder.path("scan.png");
        QSignalSpy finished(m_window.get(), &MainWindow::conversionFinished);
        child<QPushButton>("cmdConvert_1")->click();
        auto *progress = m_window->findChild<ProgressDialog *>();
        QVERIFY(progress);
        QSignalSpy confirmed(progress, &ProgressDialog::cancelConfirmed);
        m_messages.answers = answers;
        // While the question is open nothing may be written, though the run would finish meanwhile.
        QStringList writtenWhileAsking;
        m_messages.whileAsking = [&] {
            QTest::qWait(1500);
            writtenWhileAsking << filesIn(folder.path());
        };
        for (qsizetype i = 0; i < answers.size(); ++i)
            progress->findChild<QPushButton *>("cmdCancel")->click();
        QCOMPARE(writtenWhileAsking, QStringList());
        QCOMPARE(confirmed.count(), cancelled ? 1 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        const auto result = finished.first().first().value<ConversionResult>();
        QCOMPARE(result.cancelled, cancelled);
        QCOMPARE(result.isSuccess(), !cancelled);
        // Cancelled before Ghostscript finished a page: nothing at all is written.
        QCOMPARE(filesIn(folder.path()).size(), cancelled ? 0 : 3);
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    void rangeFieldsAndTrimmedReadOut_reachTheWrittenFiles()
    {
        openWindow();
        CaseFolder folder;
        child<QSpinBox>("spnFromPage")->setValue(2);
        QCOMPARE(child<QPushButton>("cmdConvert_1")->text(), "Convert pages 2 to 3");
        QSignalSpy finished(m_window.get(), &MainWindow::conversionFinished);
        m_files.image = folder.path("scan.png");
        child<QPushButton>("cmdConvert_1")->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QCOMPARE(filesIn(folder.path()), QStringList({"scan002.png", "scan003.png"}));

        // With trimming, the read-out is measured on the preview: close to what is written.
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        child<QCheckBox>("chkTrim")->setChecked(true);
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        const QSize readOut = m_window->outputSize();
        m_files.image = folder.path("page.png");
        child<QPushButton>("cmdConvert_0")->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 60000);
        const QSize written = readImage(folder.path("page.png")).size;
        QVERIFY2(std::abs(written.width() - readOut.width()) <= 4 && std::abs(written.height() - readOut.height()) <= 4
                     && written.width() < OutputSize::pixels({842, 595}, 144, true).width() - 100,
                 qPrintable(QStringLiteral("%1x%2 written, %3x%4 read out")
                                .arg(written.width())
                                .arg(written.height())
                                .arg(readOut.width())
                                .arg(readOut.height())));
    }

    void previewArrivingDuringAQuestion_isShownOnceItIsAnswered()
    {
        openWindow();
        CaseFolder folder;
        m_files.image = folder.path("scan.png");
        for (const char *name : {"scan001.png", "scan002.png", "scan003.png"})
            QVERIFY(QFile(folder.path(name)).open(QIODevice::WriteOnly));
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        int shownWhileAsking = -1;
        m_messages.answers = {false};
        m_messages.whileAsking = [&] {
            QTest::qWait(1500);
            shownWhileAsking = int(shown.count());
        };
        // The new colours are being reduced when the question about replacing files opens.
        child<QComboBox>("cboDepth")->setCurrentIndex(int(ColorDepth::BlackAndWhite));
        child<QPushButton>("cmdConvert_1")->click();
        QCOMPARE(shownWhileAsking, 0);
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 10000);
        const QImage preview = child<QLabel>("imgPreview")->pixmap().toImage();
        QVERIFY(preview.convertToFormat(QImage::Format_Indexed8).colorCount() <= 2);
    }

    void drop_opensOnePdfOrSaysWhyNot_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("said");
        QTest::newRow("upper-case PDF") << QStringList{"/data/SCAN.PDF"} << QString();
        QTest::newRow("text file") << QStringList{"/data/notes.txt"} << "\"notes.txt\" is not a PDF document.";
        QTest::newRow("two PDFs") << QStringList{"/data/a.pdf", "/data/b.pdf"} << "Drop one PDF document at a time.";
    }

    void drop_opensOnePdfOrSaysWhyNot()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, said);
        m_settings = {};
        m_messages = {};
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        m_window->start(m_gs);
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &file : files)
            urls << QUrl::fromLocalFile(file);
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window.get(), &drop);
        QCOMPARE(m_window->statusBar()->currentMessage(), said);
        // The PDF is opened, and found missing; the others are not even tried.
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed.size(), said.isEmpty() ? 1 : 0, 30000);
    }
};

QTEST_MAIN(tst_Windows)
#include "tst_windows.moc"
