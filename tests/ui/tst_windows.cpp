// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"
#include "TestSupport.h"

#include "document/OutputSize.h"
#include "preview/PreviewRenderer.h"
#include "ui/ActualSizeView.h"
#include "ui/MainWindow.h"
#include "ui/OptionsPanel.h"
#include "ui/PagePanel.h"
#include "ui/ProgressDialog.h"
#include "ui/QuestionGuard.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTranslator>
#include <QtTest>

using namespace TestSupport;

namespace {

// Takes Ctrl+E and Ctrl+Shift+E for editing, as a line edit does with the key bindings of X11 desktops (the
// end of the line); the offscreen platform's bindings are Windows', where neither is an editing key.
class X11EditingKeys : public QObject
{
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent *>(event)->key() == Qt::Key_E)
            event->accept();
        return false;
    }
};

} // namespace

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

    // A first start: no settings, no answers yet.
    void newWindow()
    {
        m_settings = {};
        m_messages = {};
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        m_window->show();
    }

    // A fresh window with the three-page document open.
    void openWindow()
    {
        newWindow();
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        m_window->start(m_gs, {doc("three.pdf")});
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
    }

    // Converts the page shown into path, through the real button and the save dialog's seam.
    void convertShownPage(const QString &path)
    {
        QSignalSpy finished(m_window.get(), &MainWindow::conversionFinished);
        m_files.image = path;
        child<QPushButton>("convertPageButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
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
            if (failing == "gone.pdf")
                QVERIFY(m_messages.informed.constFirst().contains("\"gone.pdf\" no longer exists"));
            QVERIFY(!child<QLabel>("previewLabel")->pixmap().isNull());
        }
        QCOMPARE(m_window->documentPath(), doc("three.pdf"));
        QCOMPARE(child<QLineEdit>("fileEdit")->text(), doc("three.pdf"));
        QCOMPARE(m_window->windowTitle(), "three.pdf \u2014 sheetforge");
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

    void documentNamedAtStart_thatIsNotThere_doesNotExist()
    {
        m_settings = {};
        m_messages = {};
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        m_window->start(m_gs, {doc("mistyped.pdf")});
        QCOMPARE(m_messages.informed, QStringList{"\"" + doc("mistyped.pdf")
                                                  + "\" does not exist. Check the file's name "
                                                    "and folder."});
        QVERIFY(m_window->documentPath().isEmpty());
        // With no document yet, one can be chosen.
        QVERIFY(child<QAction>("openAction")->isEnabled() && child<QPushButton>("browseButton")->isEnabled());
    }

    void controlCharacters_inTheDocumentsName_areShownEscaped()
    {
        const QString odd = doc("one\x1b[2J\nname.pdf");
        QVERIFY(QFile::copy(doc("one.pdf"), odd));
        m_settings = {};
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        m_window->start(m_gs, {odd});
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        QCOMPARE(m_window->documentPath(), odd);
        QCOMPARE(child<QLineEdit>("fileEdit")->text(), doc("one\\x1b[2J\\nname.pdf"));
        QCOMPARE(m_window->windowTitle(), "one\\x1b[2J\\nname.pdf \u2014 sheetforge");
    }

    void openRecent_listsTheLastTenThatExist_andChoosingOneOpensIt()
    {
        QStringList stored{doc("gone.pdf")};
        for (int i = 0; i < 10; ++i) {
            stored << doc(QStringLiteral("recent&%1.pdf").arg(i));
            QFile::copy(doc("one.pdf"), stored.last());
        }
        m_settings = {};
        m_settings.values["RecentDocuments"] = QJsonDocument(QJsonArray::fromStringList(stored)).toJson();
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        m_window->start(m_gs, {doc("three.pdf")});
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        QVERIFY(child<QMenu>("recentMenu"));
        const auto texts = [this] {
            QStringList texts;
            for (const QAction *action : child<QMenu>("recentMenu")->actions())
                texts << action->text().section(' ', 1).remove(m_docs.path() + '/');
            return texts;
        };
        // Numbered from 1 for the keyboard; ten kept, the one opened first; a missing one is not offered.
        QVERIFY(child<QMenu>("recentMenu")->actions().constFirst()->text().startsWith("&1 "));
        QVERIFY(child<QMenu>("recentMenu")->actions().constLast()->text().startsWith("&9 "));
        QCOMPARE(texts(), QStringList({"three.pdf", "recent&&0.pdf", "recent&&1.pdf", "recent&&2.pdf", "recent&&3.pdf",
                                       "recent&&4.pdf", "recent&&5.pdf", "recent&&6.pdf", "recent&&7.pdf"}));
        child<QMenu>("recentMenu")->actions().at(2)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 2, 30000);
        QCOMPARE(m_window->documentPath(), doc("recent&1.pdf"));
        // Moved to the top, not listed twice.
        QCOMPARE(texts(), QStringList({"recent&&1.pdf", "three.pdf", "recent&&0.pdf", "recent&&2.pdf", "recent&&3.pdf",
                                       "recent&&4.pdf", "recent&&5.pdf", "recent&&6.pdf", "recent&&7.pdf"}));
    }

    void cancelQuestion_onlyYesStopsTheRun_data()
    {
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QString>("outcome"); // in the status bar; %1 is the folder
        QTest::newRow("no") << QList<bool>{false} << false << "3 images written to %1.";
        QTest::newRow("no, then yes") << QList<bool>{false, true} << true
                                      << "Cancelled after 0 of 3 pages; 0 images written to %1.";
        QTest::newRow("yes") << QList<bool>{true} << true << "Cancelled after 0 of 3 pages; 0 images written to %1.";
    }

    void cancelQuestion_onlyYesStopsTheRun()
    {
        QFETCH(QList<bool>, answers);
        QFETCH(bool, cancelled);
        QFETCH(QString, outcome);
        openWindow(); // before the case folder, which then holds only what the run leaves
        CaseFolder folder;
        m_files.image = folder.path("scan.png");
        QSignalSpy finished(m_window.get(), &MainWindow::conversionFinished);
        child<QPushButton>("convertRangeButton")->click();
        auto *progress = m_window->findChild<ProgressDialog *>();
        QVERIFY(progress);
        QCOMPARE(progress->findChild<QLabel *>("statusLabel")->text(), "Processing page 1 of 3...");
        // A run under way has no outcome yet, so nothing to open either.
        QVERIFY(!child<QPushButton>("openFolderButton")->isVisible());
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
        QCOMPARE(child<QLabel>("outcomeLabel")->text(), outcome.arg(folder.path()));
        FakeDesktop desktop;
        QVERIFY(child<QPushButton>("openFolderButton")->isVisible());
        child<QPushButton>("openFolderButton")->click();
        QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(folder.path())});
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

    void quality_typedForWebPInHicolor_reachesTheFile()
    {
        openWindow();
        CaseFolder folder;
        // WebP first, then Hicolor: the depth alone makes WebP lossy.
        child<QComboBox>("formatCombo")->setCurrentIndex(int(OptionLists::formats().indexOf(ImageFormat::Webp)));
        auto *quality = child<QLineEdit>("qualityEdit");
        QVERIFY(!quality->isEnabled());
        child<QComboBox>("depthCombo")->setCurrentIndex(int(OptionLists::colorDepths().indexOf(ColorDepth::HiColor)));
        QVERIFY(quality->isEnabled());
        QList<qint64> sizes;
        for (const QString typed : {"10", "90"}) {
            quality->selectAll();
            QTest::keyClicks(quality, typed);
            const QString name = folder.path("q" + typed + ".webp");
            convertShownPage(name);
            QFile file(name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            // Lossy: the image is a "VP8 " chunk, not a lossless "VP8L" one.
            const QByteArray bytes = file.readAll();
            QCOMPARE(bytes.left(4) + bytes.mid(8, 4), "RIFFWEBP");
            QByteArrayList chunks;
            for (qsizetype at = 12; at + 8 <= bytes.size();
                 at += 8 + ((qFromLittleEndian<quint32>(bytes.constData() + at + 4) + 1) & ~1u))
                chunks << bytes.mid(at, 4);
            QVERIFY2(chunks.contains("VP8 ") && !chunks.contains("VP8L"), chunks.join(' ').constData());
            QCOMPARE(readImage(name).size, m_window->outputSize());
            sizes << file.size();
        }
        QVERIFY2(sizes.at(0) < sizes.at(1), qPrintable(QStringLiteral("%1 %2").arg(sizes.at(0)).arg(sizes.at(1))));
    }

    void shortcuts_reachTheWindowFromANumberField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("box"); // the box governs the size, so its fields can be edited
        QTest::addColumn<int>("modifiers");
        QTest::newRow("from, convert current page") << "fromSpin" << false << int(Qt::ControlModifier);
        QTest::newRow("to, convert range") << "toSpin" << false << int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("box width") << "boxWidthSpin" << true << int(Qt::ControlModifier);
        QTest::newRow("typed resolution") << "resolutionCombo" << false << int(Qt::ControlModifier);
        QTest::newRow("page list") << "pageListEdit" << false << int(Qt::ControlModifier);
    }

    void shortcuts_reachTheWindowFromANumberField()
    {
        QFETCH(QString, field);
        QFETCH(bool, box);
        QFETCH(int, modifiers);
        openWindow();
        if (box)
            child<QRadioButton>("boxRadio")->click();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_window->findChild<QWidget *>(field)->setFocus();
        QTRY_VERIFY(m_window->findChild<QWidget *>(field)->hasFocus());
        X11EditingKeys editing;
        QApplication::focusWidget()->installEventFilter(&editing);
        m_files.proposed.clear();
        m_files.image.clear(); // the save dialog is cancelled
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_files.proposed, doc("three.png"));
    }

    void pageList_convertsExactlyItsPages_orIsRefusedBeforeAnyWork_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("pages") << "1,3" << QStringList{"scan001.png", "scan003.png"} << QString();
        QTest::newRow("to the end") << " 2- " << QStringList{"scan002.png", "scan003.png"} << QString();
        QTest::newRow("turned round") << "3-1" << QStringList() << "\"3-1\": the first page comes after the last.";
        QTest::newRow("past the end") << "2,9-" << QStringList() << "The document ends at page 3; the list asks for 9.";
    }

    void pageList_convertsExactlyItsPages_orIsRefusedBeforeAnyWork()
    {
        QFETCH(QString, list);
        QFETCH(QStringList, written);
        QFETCH(QString, refusal);
        openWindow();
        CaseFolder folder;
        QTest::keyClicks(child<QLineEdit>("pageListEdit"), list);
        QVERIFY(!child<QSpinBox>("fromSpin")->isEnabled()); // the list takes their place
        QSignalSpy finished(m_window.get(), &MainWindow::conversionFinished);
        m_files.proposed.clear();
        m_files.image = folder.path("scan.png");
        child<QPushButton>("convertRangeButton")->click();
        if (!refusal.isEmpty()) {
            QCOMPARE(m_messages.informed, QStringList{refusal});
            QCOMPARE(m_files.proposed, QString()); // not even the save dialog
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QCOMPARE(filesIn(folder.path()), written);
        // Each file holds its page: the first is landscape, the others upright.
        for (const QString &name : written)
            QCOMPARE(readImage(folder.path(name)).size,
                     OutputSize::pixels(name == "scan001.png" ? QSizeF(842, 595) : QSizeF(200, 300), 144, true));
        // The list is for the pages to convert; the page shown is converted alone.
        convertShownPage(folder.path("shown.png"));
        QCOMPARE(filesIn(folder.path()), QStringList(written) << "shown.png");
        QCOMPARE(readImage(folder.path("shown.png")).size, OutputSize::pixels({842, 595}, 144, true));
        // Another document's pages are not this one's: its list starts empty.
        QSignalSpy shown(m_window.get(), &MainWindow::previewShown);
        m_files.document = doc("one.pdf");
        child<QPushButton>("browseButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 30000);
        QCOMPARE(child<QLineEdit>("pageListEdit")->text(), QString());
        QVERIFY(child<QSpinBox>("fromSpin")->isEnabled());
    }

    void resolution_typed_reachesTheFileAndTheNextStart()
    {
        openWindow();
        CaseFolder folder;
        QLineEdit *typed = child<QComboBox>("resolutionCombo")->lineEdit();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        typed->setFocus();
        QTRY_VERIFY(typed->hasFocus());
        // Below the least resolution, a number only begun: the options keep theirs, and nothing listed completes it.
        typed->selectAll();
        QTest::keyClicks(typed, "30");
        QCOMPARE(typed->text(), "30");
        QCOMPARE(m_window->options().dpi, 144);
        typed->selectAll();
        QTest::keyClicks(typed, "150");
        const QSize expected = OutputSize::pixels({842, 595}, 150, true);
        QCOMPARE(child<QLineEdit>("widthEdit")->text(), QString::number(expected.width()));
        convertShownPage(folder.path("typed.png"));
        QCOMPARE(readImage(folder.path("typed.png")).size, expected);
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        QCOMPARE(m_window->options().dpi, 150);
        QCOMPARE(child<QComboBox>("resolutionCombo")->currentText(), "150");
    }

    void destinationOfAnotherFormat_switchesTheFormatAndSaysWhatNoLongerApplies()
    {
        openWindow();
        CaseFolder folder;
        child<QCheckBox>("transparentCheck")->setChecked(true);
        convertShownPage(folder.path("t.jpg"));
        QCOMPARE(child<QComboBox>("formatCombo")->currentText(), "jpg");
        QVERIFY(!child<QCheckBox>("transparentCheck")->isChecked());
        const QString said = child<QLabel>("outcomeLabel")->text();
        QVERIFY2(said.contains("JPEG files cannot be transparent; the background is white."), qPrintable(said));
        QFile file(folder.path("t.jpg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(3), "\xff\xd8\xff");
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

        // The range button names a short list, and only says there is one when it is long.
        auto *list = panel.findChild<QLineEdit *>("pageListEdit");
        list->setText("1,3");
        QCOMPARE(panel.rangeCaption(), "Convert pages 1,3");
        list->setText("1,2,3,4,5,6,7,8,9");
        QCOMPARE(panel.rangeCaption(), "Convert the listed pages");
        list->clear();

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
        // Once nothing more is on its way, dragging the page up and left brings what lies right of and below the
        // view into it, and that part is asked for and drawn.
        QTest::qWait(1500);
        QCOMPARE(actual->shownRegion(), actual->visibleRegion());
        QTest::mousePress(actual->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(actual->viewport(), QPoint(80, 85));
        QTest::mouseMove(actual->viewport(), QPoint(60, 70));
        QTest::mouseRelease(actual->viewport(), Qt::LeftButton, {}, QPoint(60, 70));
        QCOMPARE(actual->visibleRegion().topLeft(), QPoint(40, 30));
        QTRY_COMPARE_WITH_TIMEOUT(actual->shownRegion(), actual->visibleRegion(), 30000);
        const qsizetype drawn = shown.count();
        QTest::keyClick(m_window.get(), Qt::Key_0, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(shown.count() > drawn, 30000);
        QVERIFY(label->isVisible() && child<QAction>("fitAction")->isChecked());
        QTest::mouseDClick(label, Qt::LeftButton);
        QVERIFY(actual->isVisible() && child<QAction>("actualPixelsAction")->isChecked());
        QTest::mouseDClick(actual->viewport(), Qt::LeftButton);
        QVERIFY(label->isVisible() && child<QAction>("fitAction")->isChecked());
    }

    // Waiting as long as it takes is for the page that ran out of time, not for every preview after it.
    void previewOutOfTime_waitsLongerOnlyWhenAskedAndOnlyOnce()
    {
        CaseFolder folder;
        const QString slow = fakeGhostscript(folder.path(), "[ -n \"$info\" ] && info_ok; sleep 1; page 1");
        m_settings = {};
        m_messages = {};
        m_messages.answers = {true, false};
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        auto *renderer = m_window->findChild<PreviewRenderer *>("previewRenderer");
        QCOMPARE(renderer->timeLimit(), 60000); // "a preview that takes over a minute is stopped"
        renderer->setTimeLimit(300);
        m_window->start(slow, {doc("one.pdf")});
        // Out of time, asked, and tried again without a limit: that try ends of itself.
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.questions, 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed.size(), 1, 10000);
        // The next rendering has the limit again.
        child<QCheckBox>("transparentCheck")->setChecked(true);
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.questions, 2, 10000);
        QVERIFY(m_messages.asked.at(1).endsWith("Try again and wait as long as it takes?"));
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
        // One field for every lossy format, so its label names none.
        const QList<QLabel *> labels = panel.findChildren<QLabel *>();
        const auto label = std::find_if(labels.begin(), labels.end(), [&](QLabel *l) { return l->buddy() == quality; });
        QVERIFY(label != labels.end());
        QCOMPARE((*label)->text(), "Quality:");
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
        QTest::addColumn<bool>("commandLine"); // given to the window as it starts, not dropped
        QTest::newRow("upper-case PDF") << QStringList{"/data/SCAN.PDF"} << QString() << false;
        QTest::newRow("text file") << QStringList{"/data/notes.txt"} << "\"notes.txt\" is not a PDF document." << false;
        QTest::newRow("a web page") << QStringList{"https://example.org/a.pdf"}
                                    << "Only PDF documents on this computer can be dropped here." << false;
        // Offered as a batch; the fake user declines, and the first is opened.
        QTest::newRow("two PDFs") << QStringList{"/data/a.pdf", "/data/b.pdf"} << QString() << false;
        QTest::newRow("two PDFs on the command line") << QStringList{"/data/a.pdf", "/data/b.pdf"} << QString() << true;
    }

    void drop_opensOnePdfOrSaysWhyNot()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, said);
        QFETCH(bool, commandLine);
        m_settings = {};
        m_messages = {};
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        m_window->start(m_gs, commandLine ? files : QStringList());
        // No document: nothing to convert, no range to choose.
        QVERIFY(!child<QSpinBox>("fromSpin")->isEnabled() && !child<QPushButton>("convertRangeButton")->isEnabled());
        QCOMPARE(child<QLabel>("previewLabel")->text(), "Open a PDF with Ctrl+O, or drop one here.");
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &file : files)
            urls << (file.startsWith("/") ? QUrl::fromLocalFile(file) : QUrl(file));
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        if (!commandLine)
            QCoreApplication::sendEvent(m_window.get(), &drop);
        QCOMPARE(m_window->statusBar()->currentMessage(), said);
        // Several are offered for converting; one PDF, or the first after a "No", is opened and found missing;
        // the rest are not tried.
        QCOMPARE(m_messages.questions, files.size() > 1 ? 1 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed.size(), said.isEmpty() ? 1 : 0, 30000);
        QCOMPARE(m_messages.informed.value(0).contains("a.pdf") || m_messages.informed.value(0).contains("SCAN.PDF"),
                 said.isEmpty());
    }

    // A batch stopped in its second document says so, and where the first one's files went.
    void progressStatus_namesThePageAndItsPlace_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("ordinal");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("status");
        QTest::newRow("the one page of a run") << 3 << 1 << 1 << "Processing page 3...";
        QTest::newRow("a range from 1") << 2 << 2 << 5 << "Processing page 2 of 5...";
        QTest::newRow("a list") << 6 << 2 << 11 << "Processing page 6 (2 of 11)...";
    }

    void progressStatus_namesThePageAndItsPlace()
    {
        QFETCH(int, page);
        QFETCH(int, ordinal);
        QFETCH(int, total);
        QFETCH(QString, status);
        QCOMPARE(ProgressDialog::pageStatus(page, ordinal, total), status);
    }

    // Eight failed documents are listed by name; past eight, the rest are counted.
    void severalDocuments_failuresListedUpToEight_data()
    {
        QTest::addColumn<int>("failing");
        QTest::addColumn<QString>("lastLine");
        // The missing are told first; the last line is the one document that opened.
        QTest::newRow("eight") << 8
                               << "one.pdf: Ghostscript stopped without rendering the pages. The document may be "
                                  "damaged; try opening and saving it again in another program.";
        QTest::newRow("nine") << 9 << "and 1 more";
    }

    void severalDocuments_failuresListedUpToEight()
    {
        QFETCH(int, failing);
        QFETCH(QString, lastLine);
        CaseFolder folder;
        newWindow();
        // The first opens and does not render, with words that do not name it, so its line does; the tool's own
        // stay under Show Details. One line each in the box.
        m_window->start(fakeGhostscript(folder.path(), "[ -n \"$info\" ] && info_ok; echo oops >&2; exit 0"));
        m_files.document = doc("one.pdf");
        m_files.moreDocuments.clear();
        for (int i = 2; i <= failing; ++i)
            m_files.moreDocuments << doc(QStringLiteral("gone%1.pdf").arg(i));
        m_files.folder = folder.path();
        m_messages.answers = {true};
        child<QPushButton>("browseButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed.size(), 1, 60000);
        m_files.moreDocuments.clear();
        const QStringList lines = m_messages.informed.first().split('\n');
        QCOMPARE(lines.size(), 1 + std::min(failing, 8) + (failing > 8 ? 1 : 0));
        QCOMPARE(lines.last(), lastLine);
    }

    void severalDocuments_cancelledInTheSecond_sayWhere()
    {
        openWindow();
        CaseFolder folder;
        m_files.document = doc("one.pdf");
        m_files.moreDocuments = {doc("three.pdf"), doc("locked.pdf")};
        m_files.folder = folder.path();
        m_messages.answers = {true, true}; // convert them all; then yes, stop
        bool clicked = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            auto *label = m_window->findChild<QLabel *>("statusLabel");
            // Every document is opened first; the first one's image is written before the second's pages.
            if (clicked || !label || !label->text().startsWith("Document 2 of 3, three.pdf: page"))
                return;
            clicked = true;
            label->window()->findChild<QPushButton *>("cancelButton")->click();
        });
        watch.start(5);
        child<QPushButton>("browseButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>("outcomeLabel")->text().startsWith("Cancelled"), 60000);
        m_files.moreDocuments.clear();
        QCOMPARE(child<QLabel>("outcomeLabel")->text(),
                 "Cancelled at document 2 of 3; 1 image written to " + folder.path() + ".");
    }

    void severalDocuments_convertIntoAFolder_oneProgressWindowAndOneSummary()
    {
        openWindow();
        CaseFolder folder;
        QDir().mkpath(folder.path("out"));
        // Named like the documents, but no file this run writes: nothing to ask about.
        const QStringList kept{"gone.png", "locked-too001.png", "one001.png", "three.png", "three004.png"};
        for (const QString &name : kept) {
            QFile file(folder.path("out/" + name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("kept") == 4);
        }
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
            if (child<QLabel>("outcomeLabel")->text().contains("written"))
                return;
            canOpenWhileRunning << (m_window->findChild<QAction *>("openAction")->isEnabled()
                                    || child<QPushButton>("browseButton")->isEnabled());
        });
        watch.start(5);
        child<QPushButton>("browseButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>("outcomeLabel")->text().contains("written"), 60000);
        watch.stop();
        QCOMPARE(child<QLabel>("outcomeLabel")->text(), "7 images written to " + folder.path("out") + ".");
        QStringList all = kept + QStringList{"locked001.png", "locked002.png", "locked003.png", "one.png",
                                             "three001.png",  "three002.png",  "three003.png"};
        all.sort();
        QCOMPARE(filesIn(folder.path("out")), all);
        // The password given for one document, tried on the next, is no wrong answer to a question about it.
        QCOMPARE(m_messages.passwordRetries, QList<bool>({false, false}));
        // The ones that failed are told of once, at the end.
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed.size(), 1, 5000);
        QCOMPARE(m_messages.informed.first(),
                 "2 documents could not be converted, or not completely:\n"
                 "\"gone.pdf\" no longer exists. It may have been moved, renamed or deleted.\n"
                 "The password for \"locked-too.pdf\" is not correct. Check the password and try again.");
        QVERIFY2(statuses.filter(QRegularExpression("^Document 5 of 5, three.pdf: page [123] of 3\\.\\.\\.$")).size()
                     >= 1,
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
        m_messages.password = "user";
        m_messages.questions = 0;
        m_messages.asked.clear();
        child<QPushButton>("browseButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.questions, 2, 30000);
        QCOMPARE(m_messages.asked.last(), "7 files already exist. Replace them?");
        QTest::qWait(500);
        QVERIFY(!m_window->findChild<QLabel *>("statusLabel"));
        QCOMPARE(QFileInfo(folder.path("out/one.png")).lastModified(), written);
        QCOMPARE(child<QLabel>("outcomeLabel")->text(), QString()); // nothing was done, so nothing is cancelled
        m_files.moreDocuments.clear();
    }
};

QTEST_MAIN(tst_Windows)
#include "tst_windows.moc"
