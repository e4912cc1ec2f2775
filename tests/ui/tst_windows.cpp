// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"
#include "TestSupport.h"

#include "preview/OutputSize.h"
#include "ui/ActualSizeView.h"
#include "ui/MainWindow.h"
#include "ui/OptionsPanel.h"
#include "ui/PagePanel.h"
#include "ui/ProgressDialog.h"
#include "ui/QuestionGuard.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTranslator>
#include <QtTest>

using namespace TestSupport;

class tst_Windows : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_gs;
    QTranslator m_plurals;
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
        // The plural forms the user reads, as the program installs them.
        QVERIFY(m_plurals.load(QStringLiteral(":/sheetforge/i18n/sheetforge_en.qm")));
        QCoreApplication::installTranslator(&m_plurals);
        ImageObject::initialise();
        m_gs = GhostscriptLocator().locate();
        QVERIFY(!m_gs.isEmpty());
        QVERIFY(writePdf(doc("three.pdf"), {{842, 595}, {200, 300}, {200, 300}}));
        QVERIFY(encrypt(doc("three.pdf"), doc("locked.pdf"), "user"));
        QVERIFY(writePdf(doc("one.pdf"), {{200, 300}}));
        QVERIFY(encrypt(doc("one.pdf"), doc("locked-too.pdf"), "other"));
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
            child<QPushButton>("browseButton")->click();
            // Told once; the previous document stays, preview and all.
            QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed.size() + m_messages.passwordQuestions, 1, 30000);
            QTest::qWait(200);
            QCOMPARE(m_messages.informed.size() + m_messages.passwordQuestions, 1);
            QVERIFY(!child<QLabel>("previewLabel")->pixmap().isNull());
        }
        QCOMPARE(m_window->documentPath(), doc("three.pdf"));
        QCOMPARE(child<QLineEdit>("fileEdit")->text(), doc("three.pdf"));
        QCOMPARE(m_settings.values.value("SourceFile"), doc("three.pdf"));
        QCOMPARE(m_window->pageCount(), 3);
        QCOMPARE(child<QComboBox>("pageCombo")->count(), 3);
        QCOMPARE(child<QSpinBox>("fromSpin")->value(), 1);
        QCOMPARE(child<QSpinBox>("toSpin")->value(), 3);
        QCOMPARE(child<QSpinBox>("toSpin")->maximum(), 3);
        QVERIFY(child<QPushButton>("convertRangeButton")->isEnabled() && child<QSpinBox>("toSpin")->isEnabled());
        const QSize landscape = OutputSize::pixels({842, 595}, 144, true);
        QCOMPARE(m_window->outputSize(), landscape);
        QCOMPARE(child<QLineEdit>("widthEdit")->text(), QString::number(landscape.width()));

        // The read-out follows the page shown, and its orientation.
        shown.clear();
        child<QComboBox>("pageCombo")->setCurrentIndex(1);
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        QCOMPARE(m_window->outputSize(), OutputSize::pixels({200, 300}, 144, true));
        QCOMPARE(child<QLineEdit>("heightEdit")->text(), QString::number(m_window->outputSize().height()));
    }

    void controlCharacters_inTheDocumentsName_areShownEscaped()
    {
        const QString odd = doc("one\x1b[2J\nname.pdf");
        QVERIFY(QFile::copy(doc("one.pdf"), odd));
        m_settings = {};
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        m_window->start(m_gs, odd);
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        QCOMPARE(m_window->documentPath(), odd);
        QCOMPARE(child<QLineEdit>("fileEdit")->text(), doc("one\\x1b[2J\\nname.pdf"));
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
        child<QPushButton>("convertRangeButton")->click();
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
            progress->findChild<QPushButton *>("cancelButton")->click();
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
        child<QSpinBox>("fromSpin")->setValue(2);
        QCOMPARE(child<QPushButton>("convertRangeButton")->text(), "Convert pages 2 to 3");
        child<QSpinBox>("toSpin")->setValue(1); // below "from": the range never turns round
        QCOMPARE(child<QSpinBox>("toSpin")->value(), 2);
        QCOMPARE(child<QPushButton>("convertRangeButton")->text(), "Convert page 2");
        QSignalSpy finished(m_window.get(), &MainWindow::conversionFinished);
        m_files.image = folder.path("scan.png");
        child<QPushButton>("convertRangeButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QCOMPARE(filesIn(folder.path()), QStringList({"scan002.png"}));

        // With trimming, the read-out is measured on the preview: close to what is written.
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        child<QCheckBox>("trimCheck")->setChecked(true);
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        const QSize readOut = m_window->outputSize();
        m_files.image = folder.path("page.png");
        child<QPushButton>("convertPageButton")->click();
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

    void rangeOfAOnePageDocument_writesTheChosenName()
    {
        openWindow();
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        m_window->openDocument(doc("one.pdf"));
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        CaseFolder folder;
        m_files.image = folder.path("single.png");
        QSignalSpy finished(m_window.get(), &MainWindow::conversionFinished);
        child<QPushButton>("convertRangeButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QCOMPARE(filesIn(folder.path()), QStringList{"single.png"});
    }

    void destination_proposedFromTheWholeName_andItsFolderKeptWhenReplacingIsDeclined()
    {
        openWindow();
        QFile::copy(doc("three.pdf"), doc("report.v2.pdf"));
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        m_window->openDocument(doc("report.v2.pdf"));
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        CaseFolder folder;
        QVERIFY(QFile(folder.path("scan001.png")).open(QIODevice::WriteOnly));
        m_files.image = folder.path("scan.png");
        m_messages.answers = {false};
        child<QPushButton>("convertRangeButton")->click();
        QCOMPARE(m_files.proposed, QDir(m_docs.path()).filePath("report.v2.png"));
        QCOMPARE(m_messages.questions, 1);
        // Declined, but the folder chosen is where the next dialog starts, and it is kept.
        child<QPushButton>("convertRangeButton")->click();
        QCOMPARE(m_files.proposed, folder.path("report.v2.png"));
        QCOMPARE(m_settings.values.value("LastFolder"), QFileInfo(folder.path("scan.png")).absolutePath());
    }

    // The page shown is set without the panel asking for it again.
    void pagePanel_showsThePageItIsGiven()
    {
        PagePanel panel;
        QSignalSpy chosen(&panel, &PagePanel::pageChosen);
        panel.setDocument(5, 2);
        auto *pages = panel.findChild<QComboBox *>("pageCombo");
        QCOMPARE(pages->currentText(), "Page 2");
        panel.setPage(4);
        QCOMPARE(pages->currentText(), "Page 4");
        QCOMPARE(chosen.count(), 0);
        pages->setCurrentIndex(0);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toInt(), 1);

        // A document of more pages than a list holds gets a number field, at once.
        QElapsedTimer clock;
        clock.start();
        panel.setDocument(std::numeric_limits<int>::max(), 7);
        QVERIFY(clock.elapsed() < 1000);
        auto *number = panel.findChild<QSpinBox *>("pageSpin");
        QCOMPARE(pages->count(), 0);
        QCOMPARE(number->value(), 7);
        QCOMPARE(panel.lastPage(), std::numeric_limits<int>::max());
        number->setValue(2000000000);
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(chosen.last().first().toInt(), 2000000000);

        // A list holds 2000 pages; one more, and the number field takes its place.
        panel.setDocument(2000, 1);
        QCOMPARE(pages->count(), 2000);
        QVERIFY(!pages->isHidden() && number->isHidden());
        panel.setDocument(2001, 1);
        QCOMPARE(pages->count(), 0);
        QVERIFY(pages->isHidden() && !number->isHidden());
    }

    // While a question is open, previews wait; a preview asked for meanwhile wins over one that arrived.
    void questionGuard_requestsAgainRatherThanShowingAStalePreview()
    {
        QuestionGuard guard;
        QSignalSpy requested(&guard, &QuestionGuard::requestDue);
        QSignalSpy delivered(&guard, &QuestionGuard::resultDue);
        {
            const QuestionGuard::Asking asking(guard);
            QVERIFY(!guard.mayShow(PreviewResult{}));
            QVERIFY(!guard.mayRequest());
        }
        QCOMPARE(requested.count(), 1);
        QTest::qWait(50);
        QCOMPARE(delivered.count(), 0);
        {
            const QuestionGuard::Asking asking(guard);
            QVERIFY(!guard.mayShow(PreviewResult{}));
        }
        QTRY_COMPARE(delivered.count(), 1);
        QCOMPARE(requested.count(), 1);
        QVERIFY(guard.mayRequest() && guard.mayShow(PreviewResult{}));
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
        child<QComboBox>("depthCombo")->setCurrentIndex(int(ColorDepth::BlackAndWhite));
        child<QPushButton>("convertRangeButton")->click();
        QCOMPARE(shownWhileAsking, 0);
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 10000);
        const QImage preview = child<QLabel>("previewLabel")->pixmap().toImage();
        QVERIFY(preview.convertToFormat(QImage::Format_Indexed8).colorCount() <= 2);
    }

    void zoom_switchesBetweenFittedAnd100PercentByMenuKeysAndDoubleClick()
    {
        openWindow();
        auto *label = child<QLabel>("previewLabel");
        auto *actual = child<ActualSizeView>("actualPixelsView");
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        QTest::keyClick(m_window.get(), Qt::Key_1, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        QVERIFY(actual->isVisible() && !label->isVisible());
        QVERIFY(child<QAction>("actualPixelsAction")->isChecked());
        // Only the part in view is drawn, at the output's own size: 144 dpi of a landscape A4 page.
        QCOMPARE(actual->outputSize(), m_window->outputSize());
        QCOMPARE(actual->visibleRegion().topLeft(), QPoint(0, 0));
        QVERIFY(actual->visibleRegion().width() < m_window->outputSize().width());
        QVERIFY(actual->shown().pixel(actual->shown().rect().center())
                != actual->palette().color(QPalette::Dark).rgb());
        QTest::keyClick(m_window.get(), Qt::Key_0, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 2, 30000);
        QVERIFY(label->isVisible() && child<QAction>("fitAction")->isChecked());
        QTest::mouseDClick(label, Qt::LeftButton);
        QVERIFY(actual->isVisible() && child<QAction>("actualPixelsAction")->isChecked());
    }

    void progressDialog_closesWhenTheRunEndsDuringTheQuestion()
    {
        m_messages = {};
        ProgressDialog progress(m_messages);
        QSignalSpy confirmed(&progress, &ProgressDialog::cancelConfirmed);
        progress.open();
        m_messages.answers = {true};
        m_messages.whileAsking = [&progress] { progress.finish(); };
        progress.findChild<QPushButton *>("cancelButton")->click();
        QVERIFY(!progress.isVisible());
        QCOMPARE(progress.result(), int(QDialog::Accepted));
        QCOMPARE(confirmed.count(), 0); // nothing left to stop
    }

    void optionsPanel_showsTheOptionsAndSignalsEdits()
    {
        OptionsPanel panel;
        QSignalSpy edited(&panel, &OptionsPanel::optionsEdited);
        ConversionOptions shown{.colorDepth = ColorDepth::HiColor,
                                .dither = true,
                                .antialias = false,
                                .format = ImageFormat::Gif,
                                .jpegQuality = 40,
                                .dpi = 600,
                                .trim = true,
                                .page = 7};
        panel.setOptions(shown);
        QCOMPARE(edited.count(), 0);
        const auto *depth = panel.findChild<QComboBox *>("depthCombo");
        const auto *quality = panel.findChild<QLineEdit *>("qualityEdit");
        QCOMPARE(depth->currentText(), "Hicolor (16bpp)");
        QVERIFY(panel.findChild<QCheckBox *>("ditherCheck")->isChecked());
        QVERIFY(!panel.findChild<QCheckBox *>("antialiasCheck")->isChecked());
        QCOMPARE(panel.findChild<QComboBox *>("formatCombo")->currentText(), "gif");
        QCOMPARE(quality->text(), "40");
        QVERIFY(!quality->isEnabled()); // quality is for JPEG only
        QCOMPARE(panel.findChild<QComboBox *>("resolutionCombo")->currentText(), "600");
        QVERIFY(panel.findChild<QCheckBox *>("trimCheck")->isChecked());

        // Each edit comes back as the options, with the rest kept.
        panel.findChild<QComboBox *>("formatCombo")->setCurrentIndex(2);
        QVERIFY(quality->isEnabled());
        panel.findChild<QComboBox *>("depthCombo")->setCurrentIndex(0);
        panel.findChild<QComboBox *>("resolutionCombo")->setCurrentIndex(1);
        panel.findChild<QCheckBox *>("trimCheck")->click();
        QTest::keyClicks(panel.findChild<QLineEdit *>("qualityEdit"), "0"); // 400 reads as 100
        ConversionOptions expected = shown;
        expected.format = ImageFormat::Jpg;
        expected.colorDepth = ColorDepth::BlackAndWhite;
        expected.dpi = 96;
        expected.trim = false;
        expected.jpegQuality = 100;
        QCOMPARE(edited.last().first().value<ConversionOptions>(), expected);
        QCOMPARE(panel.options(), expected);

        // JPEG cannot be transparent: the box is off and cannot be ticked, but the choice stays for the others.
        auto *transparent = panel.findChild<QCheckBox *>("transparentCheck");
        panel.setOptions({.format = ImageFormat::Jpg, .transparent = true});
        QVERIFY(!transparent->isEnabled() && !transparent->isChecked());
        panel.findChild<QComboBox *>("formatCombo")->setCurrentIndex(3);
        QVERIFY(transparent->isEnabled() && transparent->isChecked());
        QVERIFY(edited.last().first().value<ConversionOptions>().transparent);

        // WebP takes a quality only where it is lossy: in Hicolor.
        panel.setOptions({.colorDepth = ColorDepth::HiColor, .format = ImageFormat::Webp});
        QVERIFY(quality->isEnabled());
        panel.setOptions({.colorDepth = ColorDepth::TwoHundredFiftySixColors, .format = ImageFormat::Webp});
        QVERIFY(!quality->isEnabled());

        // The radio button says which governs the size; only its fields can be edited.
        auto *resolution = panel.findChild<QComboBox *>("resolutionCombo");
        auto *width = panel.findChild<QSpinBox *>("boxWidthSpin");
        panel.setOptions({.dpi = 300, .fitToBox = false, .boxHeight = 600});
        QVERIFY(resolution->isEnabled() && !width->isEnabled());
        panel.findChild<QRadioButton *>("boxRadio")->click();
        QVERIFY(!resolution->isEnabled() && width->isEnabled());
        width->setValue(800);
        const ConversionOptions fitted = edited.last().first().value<ConversionOptions>();
        QVERIFY(fitted.usesBox());
        QCOMPARE(fitted.box(), QSize(800, 600));
        QCOMPARE(fitted.dpi, 300);
        panel.findChild<QRadioButton *>("resolutionRadio")->click();
        QVERIFY(!edited.last().first().value<ConversionOptions>().usesBox());

        // A box with no side yet starts as wide as the page is now, so the size stays until the user changes it.
        panel.setOptions({.dpi = 144});
        panel.setSuggestedWidth(1219);
        panel.findChild<QRadioButton *>("boxRadio")->click();
        QCOMPARE(edited.last().first().value<ConversionOptions>().box(), QSize(1219, 0));
        QCOMPARE(width->value(), 1219);
    }

    void geometry_isKeptFromOneStartToTheNext()
    {
        m_settings = {};
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        m_window->show();
        m_window->resize(1000, 800);
        m_window->move(30, 40);
        QTRY_COMPARE(m_window->size(), QSize(1000, 800));
        m_window->close();
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        m_window->show();
        QCOMPARE(m_window->size(), QSize(1000, 800));
    }

    void drop_opensOnePdfOrSaysWhyNot_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("said");
        QTest::newRow("upper-case PDF") << QStringList{"/data/SCAN.PDF"} << QString();
        QTest::newRow("text file") << QStringList{"/data/notes.txt"} << "\"notes.txt\" is not a PDF document.";
        QTest::newRow("a web page") << QStringList{"https://example.org/a.pdf"}
                                    << "Only PDF documents on this computer can be dropped here.";
        // Offered as a batch; the fake user declines.
        QTest::newRow("two PDFs") << QStringList{"/data/a.pdf", "/data/b.pdf"} << QString();
    }

    void drop_opensOnePdfOrSaysWhyNot()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, said);
        m_settings = {};
        m_messages = {};
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        m_window->start(m_gs);
        // No document: nothing to convert, no range to choose.
        QVERIFY(!child<QSpinBox>("fromSpin")->isEnabled() && !child<QPushButton>("convertRangeButton")->isEnabled());
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &file : files)
            urls << (file.startsWith("/") ? QUrl::fromLocalFile(file) : QUrl(file));
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window.get(), &drop);
        QCOMPARE(m_window->statusBar()->currentMessage(), said);
        // One PDF is opened, and found missing; several are offered for converting; the rest are not tried.
        QCOMPARE(m_messages.questions, files.size() > 1 ? 1 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed.size(), said.isEmpty() && files.size() == 1 ? 1 : 0, 30000);
    }

    void severalDocuments_convertIntoAFolder_oneProgressWindowAndOneSummary()
    {
        openWindow();
        CaseFolder folder;
        QDir().mkpath(folder.path("out"));
        m_files.document = doc("one.pdf");
        m_files.moreDocuments = {doc("gone.pdf"), doc("locked.pdf"), doc("locked-too.pdf"), doc("three.pdf")};
        m_files.folder = folder.path("out");
        m_messages.answers = {true};
        m_messages.password = "user";
        QStringList statuses;
        QList<bool> canOpenWhileRunning;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            auto *label = m_window->findChild<QLabel *>("statusLabel");
            if (!label)
                return;
            if (!statuses.contains(label->text()))
                statuses << label->text();
            // Once the run has ended, the controls are free again.
            if (m_window->statusBar()->currentMessage().contains("written"))
                return;
            canOpenWhileRunning << (m_window->findChild<QAction *>("openAction")->isEnabled()
                                    || child<QPushButton>("browseButton")->isEnabled());
        });
        watch.start(5);
        child<QPushButton>("browseButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(m_window->statusBar()->currentMessage().contains("written"), 60000);
        watch.stop();
        QCOMPARE(filesIn(folder.path("out")), QStringList({"locked001.png", "locked002.png", "locked003.png", "one.png",
                                                           "three001.png", "three002.png", "three003.png"}));
        // The password given for one document, tried on the next, is no wrong answer to a question about it.
        QCOMPARE(m_messages.passwordRetries, QList<bool>({false, false}));
        // The ones that failed are told of once, at the end.
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed.size(), 1, 5000);
        QVERIFY(m_messages.informed.first().startsWith("2 document"));
        QVERIFY2(statuses.filter(QRegularExpression("^Document 5 of 5, three.pdf: page [123]")).size() >= 1,
                 qPrintable(statuses.join('|')));
        // Neither the menu nor the button opens another document while a run goes on.
        QVERIFY(!canOpenWhileRunning.isEmpty() && !canOpenWhileRunning.contains(true));
        QVERIFY(child<QPushButton>("browseButton")->isEnabled());
        QVERIFY(m_window->findChild<QAction *>("openAction")->isEnabled());

        QCOMPARE(m_messages.asked.first(),
                 "Convert 5 documents with the current options, each into files of its own name in one folder?");

        // Again into the same folder: the files there are asked about once, and a "No" leaves them as they were.
        const QDateTime written = QFileInfo(folder.path("out/one.png")).lastModified();
        m_messages.answers = {true, false};
        m_messages.questions = 0;
        m_messages.asked.clear();
        child<QPushButton>("browseButton")->click();
        QCOMPARE(m_messages.questions, 2);
        QCOMPARE(m_messages.asked.last(), "7 files already exist. Replace them?");
        QTest::qWait(500);
        QVERIFY(!m_window->findChild<QLabel *>("statusLabel"));
        QCOMPARE(QFileInfo(folder.path("out/one.png")).lastModified(), written);
        m_files.moreDocuments.clear();
    }
};

QTEST_MAIN(tst_Windows)
#include "tst_windows.moc"
