// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fakes.h"
#include "TestSupport.h"

#include "document/OutputSize.h"
#include "tools/Translations.h"
#include "ui/ActualSizeView.h"
#include "ui/MainWindow.h"
#include "ui/OptionsPanel.h"
#include "ui/ProgressDialog.h"

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
#include <QStandardItemModel>
#include <QStatusBar>
#include <QtTest>

using namespace TestSupport;

namespace {

// Ctrl+E edits a line edit under X11's key bindings; the offscreen platform has Windows', where it does not.
class X11EditingKeys : public QObject
{
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent *>(event)->key() == Qt::Key_E)
            event->accept();
        return false;
    }
};

struct RangeCase
{
    QString list; // typed into the page list
    int from = 0; // set in the fields, when not 0
    int to = 0;
    QString caption; // of the range button
    QString status;  // as the run starts
    QStringList written;
    QString refusal;
    QString document = "three.pdf";
};

} // namespace

Q_DECLARE_METATYPE(RangeCase)

class tst_Windows : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_gs;
    std::optional<Translations> m_english;
    MemorySettings m_settings;
    FakeMessageBox m_messages;
    FakeFileDialog m_files;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<QSignalSpy> m_shown, m_finished; // since the window was made

    QString doc(const QString &name) const { return m_docs.filePath(name); }
    template <class T>
    T *child(const char *name) const
    {
        return m_window->findChild<T *>(QString::fromLatin1(name));
    }
    void click(const char *button) const { child<QPushButton>(button)->click(); }
    QSize readOut() const
    {
        return {child<QLineEdit>("widthEdit")->text().toInt(), child<QLineEdit>("heightEdit")->text().toInt()};
    }

    // A window as the program starts it: at the first start unless the settings are kept.
    void newWindow(bool firstStart = true)
    {
        if (firstStart) {
            m_settings = {};
            m_messages = {};
            m_files = {};
        }
        m_window = std::make_unique<MainWindow>(m_settings, m_messages, m_files);
        m_shown = std::make_unique<QSignalSpy>(m_window.get(), &MainWindow::previewShown);
        m_finished = std::make_unique<QSignalSpy>(m_window.get(), &MainWindow::conversionFinished);
    }
    bool shown(qsizetype previews) const
    {
        return QTest::qWaitFor([&] { return m_shown->count() >= previews; }, 30000);
    }
    bool finished(qsizetype runs) const
    {
        return QTest::qWaitFor([&] { return m_finished->count() >= runs; }, 60000);
    }

    bool openWindow(const QString &document = "three.pdf")
    {
        newWindow();
        m_window->show();
        m_window->start(m_gs, {doc(document)});
        return shown(1);
    }

    bool convert(const char *button, const QString &path)
    {
        m_files.image = path;
        const qsizetype before = m_finished->count();
        click(button);
        return finished(before + 1);
    }

    void browse(const QStringList &documents, const QString &folder = {})
    {
        m_files.document = documents.value(0);
        m_files.moreDocuments = documents.mid(1);
        m_files.folder = folder;
        click("browseButton");
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // The plural forms the user reads.
        m_english.emplace(QLocale::c());
        QCOMPARE(m_english->language(), "en");
        ImageObject::initialise();
        m_gs = GhostscriptLocator().locate();
        QVERIFY(!m_gs.isEmpty());
        QVERIFY(writePdf(doc("three.pdf"), {{842, 595}, {200, 300}, {200, 300}}));
        QVERIFY(QFile::copy(doc("three.pdf"), doc("report.v2.pdf")));
        QVERIFY(encrypt(doc("three.pdf"), doc("locked.pdf"), "user"));
        QVERIFY(writePdf(doc("one.pdf"), {{200, 300}}));
        QVERIFY(encrypt(doc("one.pdf"), doc("locked-too.pdf"), "other"));
        QVERIFY(plantFile(doc("bad.pdf"), "%PDF-1.4\ntruncated"));
    }

    void cleanup() { m_window.reset(); }

    void opening_fillsPagesAndReadOut_andFailingKeepsThem_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QString>("said");
        QTest::newRow("no second document") << QString() << QString();
        QTest::newRow("damaged") << "bad.pdf" << QString();
        QTest::newRow("password refused") << "locked.pdf" << QString();
        QTest::newRow("missing") << "gone.pdf"
                                 << "\"gone.pdf\" no longer exists";
    }

    void opening_fillsPagesAndReadOut_andFailingKeepsThem()
    {
        QFETCH(QString, failing);
        QFETCH(QString, said);
        QVERIFY(openWindow());
        if (!failing.isEmpty()) {
            browse({doc(failing)});
            // Told once; the previous document stays, preview and all.
            const auto told = [this] { return m_messages.informed.size() + m_messages.passwordQuestions; };
            QTRY_COMPARE_WITH_TIMEOUT(told(), 1, 30000);
            QTest::qWait(200);
            QCOMPARE(told(), 1);
            QVERIFY(m_messages.informed.value(0).contains(said));
            QVERIFY(!child<QLabel>("previewLabel")->pixmap().isNull());
        }
        QCOMPARE(QStringList({m_window->documentPath(), child<QLineEdit>("fileEdit")->text(),
                              m_settings.values.value("SourceFile")}),
                 QStringList(3, doc("three.pdf")));
        QCOMPARE(m_window->windowTitle(), "three.pdf \u2014 sheetforge");
        QCOMPARE(QList<int>({m_window->pageCount(), child<QComboBox>("pageCombo")->count(),
                             child<QSpinBox>("fromSpin")->value(), child<QSpinBox>("toSpin")->value(),
                             child<QSpinBox>("toSpin")->maximum()}),
                 QList<int>({3, 3, 1, 3, 3}));
        QCOMPARE(readOut(), OutputSize::pixels({842, 595}, 144));
        // The read-out follows the page shown, and its orientation.
        child<QComboBox>("pageCombo")->setCurrentIndex(1);
        QVERIFY(shown(m_shown->count() + 1));
        QCOMPARE(readOut(), OutputSize::pixels({200, 300}, 144));
    }

    // The box chosen sizes the read-out at once, which names it, and a page without it shows its media box.
    void pageBox_sizesTheReadOut()
    {
        QVERIFY(writeRawPdf(doc("boxes.pdf"), {"0 0 400 400] /CropBox [20 20 380 380] /TrimBox [60 60 340 340"}));
        QVERIFY(openWindow("boxes.pdf"));
        const auto choose = [this](PageBox box) {
            child<QComboBox>("pageBoxCombo")->setCurrentIndex(int(box));
            return std::pair(readOut(), child<QLabel>("boxLabel")->text());
        };
        QCOMPARE(choose(PageBox::Trim), std::pair(QSize(560, 560), QString("Trim box shown")));
        QCOMPARE(choose(PageBox::Media), std::pair(QSize(800, 800), QString("Media box shown")));
        QCOMPARE(choose(PageBox::Art),
                 std::pair(QSize(800, 800), QString("Media box shown: this page has no Art box.")));
        QCOMPARE(choose(PageBox::Crop), std::pair(QSize(720, 720), QString("Crop box shown")));
        QCOMPARE(m_settings.values.value("PageBox"), "0");
        // CMYK only where the format holds it: a format that cannot takes Hicolor.
        auto *depth = child<QComboBox>("depthCombo");
        child<QComboBox>("formatCombo")->setCurrentIndex(int(ImageFormat::Tiff));
        depth->setCurrentIndex(int(ColorDepth::Cmyk));
        child<QComboBox>("formatCombo")->setCurrentIndex(int(ImageFormat::Png));
        const auto *depths = qobject_cast<QStandardItemModel *>(depth->model());
        QCOMPARE(std::pair(depth->currentIndex(), depths->item(int(ColorDepth::Cmyk))->isEnabled()),
                 std::pair(int(ColorDepth::HiColor), false));
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
        newWindow(false);
        m_window->start(m_gs, {doc("three.pdf")});
        QVERIFY(shown(1));
        const auto menu = [this] {
            QStringList texts;
            for (const QAction *action : child<QMenu>("recentMenu")->actions())
                texts << action->text().remove(m_docs.path() + '/');
            return texts.join(' ');
        };
        // Numbered for the keyboard; ten kept, the one opened first; a missing one is not offered.
        QCOMPARE(menu(), "&1 three.pdf &2 recent&&0.pdf &3 recent&&1.pdf &4 recent&&2.pdf &5 recent&&3.pdf "
                         "&6 recent&&4.pdf &7 recent&&5.pdf &8 recent&&6.pdf &9 recent&&7.pdf");
        child<QMenu>("recentMenu")->actions().at(2)->trigger();
        QVERIFY(shown(2));
        // Opened, moved to the top, not listed twice.
        QCOMPARE(menu(), "&1 recent&&1.pdf &2 three.pdf &3 recent&&0.pdf &4 recent&&2.pdf &5 recent&&3.pdf "
                         "&6 recent&&4.pdf &7 recent&&5.pdf &8 recent&&6.pdf &9 recent&&7.pdf");
    }

    void cancelQuestion_onlyYesStopsTheRun_data()
    {
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("outcome"); // in the status bar; %1 is the folder
        const QString cancelled = "Cancelled after 0 of 3 pages; 0 images written to %1.";
        QTest::newRow("no") << QList<bool>{false} << "3 images written to %1.";
        QTest::newRow("no, then yes") << QList<bool>{false, true} << cancelled;
        QTest::newRow("yes") << QList<bool>{true} << cancelled;
    }

    void cancelQuestion_onlyYesStopsTheRun()
    {
        QFETCH(QList<bool>, answers);
        QFETCH(QString, outcome);
        const bool cancelled = answers.last();
        QVERIFY(openWindow()); // before the case folder, which then holds only what the run leaves
        CaseFolder folder;
        m_files.image = folder.path("scan.png");
        click("convertRangeButton");
        auto *progress = m_window->findChild<ProgressDialog *>();
        // A run under way has no outcome yet, so nothing to open either.
        QVERIFY(!child<QPushButton>("openFolderButton")->isVisible());
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
        QVERIFY(finished(1));
        // Cancelled before Ghostscript finished a page: nothing at all is written.
        QCOMPARE(filesIn(folder.path()).size(), cancelled ? 0 : 3);
        QCOMPARE(leftovers(folder.temp()), QStringList());
        QCOMPARE(child<QLabel>("outcomeLabel")->text(), outcome.arg(folder.path()));
        FakeDesktop desktop;
        QVERIFY(child<QPushButton>("openFolderButton")->isVisible());
        click("openFolderButton");
        QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(folder.path())});
    }

    // The progress window says which page of how many, and where it stands in a list.
    void range_convertsExactlyItsPages_orIsRefusedBeforeAnyWork_data()
    {
        QTest::addColumn<RangeCase>("c");
        QTest::newRow("list") << RangeCase{
            "1,3", 0, 0, "Convert pages 1,3", "Processing page 1 of 2...", {"scan001.png", "scan003.png"}};
        QTest::newRow("list past the end") << RangeCase{
            "2,9-", 0, 0, "Convert pages 2,9-", {}, {}, "The document ends at page 3; the list asks for 9."};
        QTest::newRow("fields") << RangeCase{
            {}, 2, 0, "Convert pages 2 to 3", "Processing page 2 (1 of 2)...", {"scan002.png", "scan003.png"}};
        QTest::newRow("fields, to below from: never turned round")
            << RangeCase{{}, 2, 1, "Convert page 2", "Processing page 2...", {"scan002.png"}};
        QTest::newRow("one page, named as chosen")
            << RangeCase{{}, 0, 0, "Convert all pages", "Processing page 1...", {"scan.png"}, {}, "one.pdf"};
    }

    void range_convertsExactlyItsPages_orIsRefusedBeforeAnyWork()
    {
        QFETCH(RangeCase, c);
        QVERIFY(openWindow(c.document));
        CaseFolder folder;
        QTest::keyClicks(child<QLineEdit>("pageListEdit"), c.list);
        QCOMPARE(child<QSpinBox>("fromSpin")->isEnabled(), c.list.isEmpty()); // the list takes their place
        if (c.from)
            child<QSpinBox>("fromSpin")->setValue(c.from);
        if (c.to)
            child<QSpinBox>("toSpin")->setValue(c.to);
        QCOMPARE(child<QPushButton>("convertRangeButton")->text(), c.caption);
        m_files.image = folder.path("scan.png");
        click("convertRangeButton");
        const auto *status = m_window->findChild<QLabel *>("statusLabel");
        QCOMPARE(status ? status->text() : QString(), c.status);
        QCOMPARE(m_messages.informed, c.refusal.isEmpty() ? QStringList() : QStringList{c.refusal});
        QCOMPARE(m_files.proposed.isEmpty(), !c.refusal.isEmpty()); // refused before the save dialog
        if (!c.refusal.isEmpty())
            return;
        QVERIFY(finished(1));
        QCOMPARE(filesIn(folder.path()), c.written);
        // Each file holds its page: the first is landscape, the others upright.
        for (const QString &name : c.written)
            QCOMPARE(readImage(folder.path(name)).size,
                     OutputSize::pixels(name == "scan001.png" ? QSizeF(842, 595) : QSizeF(200, 300), 144));
        // The range is for the pages to convert; the page shown is converted alone, as large as the read-out says.
        QVERIFY(convert("convertPageButton", folder.path("shown.png")));
        QCOMPARE(filesIn(folder.path()), QStringList(c.written) << "shown.png");
        QCOMPARE(readImage(folder.path("shown.png")).size, readOut());
        // Another document's pages are not this one's: its list starts empty.
        browse({doc("one.pdf")});
        QVERIFY(shown(m_shown->count() + 1));
        QCOMPARE(child<QLineEdit>("pageListEdit")->text(), QString());
        QVERIFY(child<QSpinBox>("fromSpin")->isEnabled());
    }

    // The quality and resolution typed reach the file; the resolution and the window's size, the next start too.
    void typedQualityAndResolution_reachTheFile()
    {
        QVERIFY(openWindow());
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
            QVERIFY(convert("convertPageButton", name));
            QCOMPARE(readImage(name).format, "WEBP");
            sizes << QFileInfo(name).size();
        }
        // Lossless WebP spends more effort for a higher quality and comes out smaller: only a lossy file grows.
        QCOMPARE_LT(sizes.at(0), sizes.at(1));

        QLineEdit *typed = child<QComboBox>("resolutionCombo")->lineEdit();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        typed->setFocus();
        typed->selectAll();
        QTest::keyClicks(typed, "150");
        const QSize expected = OutputSize::pixels({842, 595}, 150);
        QCOMPARE(readOut(), expected);
        // Convert current page by its shortcut, which the field does not keep for itself.
        X11EditingKeys editing;
        QApplication::focusWidget()->installEventFilter(&editing);
        m_files.image = folder.path("typed.png");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
        QVERIFY(finished(3));
        QCOMPARE(readImage(folder.path("typed.png")).size, expected);
        m_window->resize(1000, 800);
        QTRY_COMPARE(m_window->size(), QSize(1000, 800));
        m_window->close();
        newWindow(false);
        m_window->show();
        QCOMPARE(m_window->size(), QSize(1000, 800));
        QCOMPARE(child<QComboBox>("resolutionCombo")->currentText(), "150");
    }

    // Trimmed, the read-out is measured on the preview: close to what is written.
    void destinationOfAnotherFormat_switchesTheFormatAndSaysWhatNoLongerApplies_trimmedAsReadOut()
    {
        QVERIFY(openWindow());
        CaseFolder folder;
        child<QCheckBox>("trimCheck")->setChecked(true);
        QVERIFY(shown(2));
        const QSize readOut = this->readOut();
        child<QCheckBox>("transparentCheck")->setChecked(true);
        QVERIFY(convert("convertPageButton", folder.path("t.jpg")));
        QCOMPARE(child<QComboBox>("formatCombo")->currentText(), "jpg");
        QVERIFY(!child<QCheckBox>("transparentCheck")->isChecked());
        const QString said = child<QLabel>("outcomeLabel")->text();
        QVERIFY2(said.contains("JPEG files cannot be transparent; the background is white."), qPrintable(said));
        const ImageFacts written = readImage(folder.path("t.jpg"));
        QCOMPARE(written.format, "JPEG");
        QCOMPARE_LE(std::abs(written.size.width() - readOut.width()), 4);
        QCOMPARE_LE(std::abs(written.size.height() - readOut.height()), 4);
        QCOMPARE_LT(written.size.width(), OutputSize::pixels({842, 595}, 144).width() - 100);
    }

    // The same fix as sheetforge --check gives.
    void ghostscriptMissing_saysWhatToInstall()
    {
        newWindow();
        m_window->show();
        m_window->start({}, {doc("three.pdf")});
        QCOMPARE(m_messages.informed.value(0),
                 "GhostScript has not been found on your system. This utility is required "
                 "to be able to process pdf files. Install it with: sudo apt install "
                 "ghostscript");
    }

    // What explains pages that do not look as expected stays beside the outcome.
    void damagedDocumentWithAMissingFont_isToldAtTheEnd()
    {
        const QByteArray whole =
            (writeRawPdf(doc("subst.pdf"), {"0 0 200 150"}, "Zorblax-Condensed"), contentsOf(doc("subst.pdf")));
        QVERIFY(plantFile(doc("subst.pdf"), whole.left(whole.lastIndexOf("xref"))));
        QVERIFY(openWindow("subst.pdf"));
        QVERIFY(m_window->statusBar()->currentMessage().contains("is damaged"));
        CaseFolder folder;
        QVERIFY(convert("convertPageButton", folder.path("s.png")));
        // The passing message would be drawn over the outcome.
        QCOMPARE(m_window->statusBar()->currentMessage(), QString());
        QCOMPARE(child<QLabel>("outcomeLabel")->text(),
                 "1 image written to " + folder.path()
                     + ". The document is damaged: Ghostscript repaired it to read it, "
                       "so some pages may be incomplete. Drawn with a substitute font: Zorblax-Condensed.");
        // In a batch, each document's own.
        QVERIFY(QDir().mkpath(folder.path("batch")));
        m_messages.answers = {true};
        browse({doc("three.pdf"), doc("subst.pdf")}, folder.path("batch"));
        QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>("outcomeLabel")->text(),
                                  "4 images written to " + folder.path("batch")
                                      + ". subst.pdf: The document is damaged: Ghostscript repaired it to read it, "
                                        "so some pages may be incomplete. Drawn with a substitute font: "
                                        "Zorblax-Condensed.",
                                  60000);
    }

    // Declined, nothing runs, but the folder chosen is kept for the next dialog.
    void replacingDeclined_startsNothing_andKeepsTheFolder()
    {
        QVERIFY(openWindow("report.v2.pdf"));
        CaseFolder folder;
        m_files.image = folder.path("scan.png");
        QVERIFY(plantFile(folder.path("scan002.png"), "kept"));
        click("convertRangeButton");
        QCOMPARE(m_files.proposed, doc("report.v2.png")); // the name is the document's up to its last dot
        QCOMPARE(m_messages.asked, QStringList{"1 file already exists. Replace it?"});
        QVERIFY(!m_window->findChild<QLabel *>("statusLabel")); // no run started
        click("convertRangeButton");
        QCOMPARE(m_files.proposed, folder.path("report.v2.png"));
        QCOMPARE(m_settings.values.value("LastFolder"), folder.path());
    }

    void zoom_100PercentByKey_pansByDragging_fittedAgainByDoubleClick()
    {
        QVERIFY(openWindow());
        auto *label = child<QLabel>("previewLabel");
        auto *actual = child<ActualSizeView>("actualPixelsView");
        QTest::keyClick(m_window.get(), Qt::Key_1, Qt::ControlModifier);
        QVERIFY(shown(2));
        QVERIFY(actual->isVisible() && !label->isVisible() && child<QAction>("actualPixelsAction")->isChecked());
        QCOMPARE(actual->outputSize(), readOut());
        // Dragged up and left in several moves, the part right of and below the view comes into it, drawn.
        QTest::mousePress(actual->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(actual->viewport(), QPoint(80, 85));
        QTest::mouseMove(actual->viewport(), QPoint(60, 70));
        QTest::mouseRelease(actual->viewport(), Qt::LeftButton, {}, QPoint(60, 70));
        QCOMPARE(actual->visibleRegion().topLeft(), QPoint(40, 30));
        QTRY_COMPARE_WITH_TIMEOUT(actual->shownRegion(), actual->visibleRegion(), 30000);
        QTest::mouseDClick(actual->viewport(), Qt::LeftButton);
        QVERIFY(label->isVisible() && child<QAction>("fitAction")->isChecked());
    }

    void optionsPanel_showsTheOptionsAndSignalsEdits()
    {
        OptionsPanel panel;
        QSignalSpy edited(&panel, &OptionsPanel::optionsEdited);
        const auto last = [&] { return edited.last().first().value<ConversionOptions>(); };
        auto *format = panel.findChild<QComboBox *>("formatCombo");
        auto *quality = panel.findChild<QLineEdit *>("qualityEdit");
        auto *transparent = panel.findChild<QCheckBox *>("transparentCheck");
        auto *resolution = panel.findChild<QComboBox *>("resolutionCombo");
        auto *width = panel.findChild<QSpinBox *>("boxWidthSpin");
        // Shown as given; the quality is not for GIF.
        panel.setOptions({.dither = true, .format = ImageFormat::Gif, .jpegQuality = 40, .trim = true, .page = 7});
        QVERIFY(panel.findChild<QCheckBox *>("ditherCheck")->isChecked() && !quality->isEnabled());
        // Each edit comes back as the options, with the rest kept; 400 reads as 100.
        format->setCurrentIndex(2);
        QTest::keyClicks(quality, "0");
        panel.findChild<QCheckBox *>("trimCheck")->click();
        QCOMPARE(last(),
                 (ConversionOptions{.dither = true, .format = ImageFormat::Jpg, .jpegQuality = 100, .page = 7}));

        // JPEG cannot be transparent: the box is off and cannot be ticked, but the choice stays for the others.
        panel.setOptions({.format = ImageFormat::Jpg, .transparent = true});
        QVERIFY(!transparent->isEnabled() && !transparent->isChecked());
        format->setCurrentIndex(3);
        QVERIFY(transparent->isEnabled() && transparent->isChecked() && last().transparent);

        // The radio button says which governs the size; only its fields can be edited.
        panel.setOptions({.dpi = 300, .fitToBox = false, .boxHeight = 600});
        QVERIFY(resolution->isEnabled() && !width->isEnabled());
        panel.findChild<QRadioButton *>("boxRadio")->click();
        QVERIFY(!resolution->isEnabled() && width->isEnabled());
        width->setValue(800);
        QVERIFY(last().usesBox() && last().box() == QSize(800, 600) && last().dpi == 300);
        // A box with no side yet starts as wide as the page is now, so the size stays until the user changes it.
        panel.setOptions({.dpi = 144});
        panel.setSuggestedWidth(1219);
        panel.findChild<QRadioButton *>("boxRadio")->click();
        QCOMPARE(last().box(), QSize(1219, 0));
        // The box, what is drawn, overprint and the profile shown as given, and kept through another edit.
        ConversionOptions drawn{.pageBox = PageBox::Media,
                                .drawing = {.annotations = false, .text = false},
                                .overprint = Overprint::Off,
                                .iccProfile = true};
        panel.setOptions(drawn);
        panel.findChild<QCheckBox *>("formsCheck")->click();
        drawn.drawing.forms = false;
        QCOMPARE(last(), drawn);
    }

    // None of these opens a document: at the first start File > Open stays the way to choose one.
    void drop_opensOnePdfOrSaysWhyNot_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("commandLine"); // given to the window as it starts, not dropped
        QTest::addColumn<QString>("said");     // in the status bar
        QTest::addColumn<QString>("told");     // in a box, of the one document opened
        // Chosen, it is found gone; named alone as the program starts, it never was.
        const QString missing = "\"%1\" no longer exists. It may have been moved, renamed or deleted.";
        QTest::newRow("upper-case PDF") << QStringList{"/data/SCAN.PDF"} << false << QString()
                                        << missing.arg("SCAN.PDF");
        QTest::newRow("text file") << QStringList{"/data/notes.txt"} << false << "\"notes.txt\" is not a PDF document."
                                   << QString();
        QTest::newRow("a web page") << QStringList{"https://example.org/a.pdf"} << false
                                    << "Only PDF documents on this computer can be dropped here." << QString();
        // Offered as a batch; the fake user declines, and the first is opened; the rest are not tried.
        QTest::newRow("two PDFs on the command line")
            << QStringList{"/data/a.pdf", "/data/b.pdf"} << true << QString() << missing.arg("a.pdf");
        QTest::newRow("one on the command line")
            << QStringList{"/data/mistyped.pdf"} << true << QString()
            << "\"/data/mistyped.pdf\" does not exist. Check the file's name and folder.";
    }

    void drop_opensOnePdfOrSaysWhyNot()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, commandLine);
        QFETCH(QString, said);
        QFETCH(QString, told);
        newWindow();
        m_window->start(m_gs, commandLine ? files : QStringList());
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
        QCOMPARE(m_messages.questions, files.size() > 1 ? 1 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed, told.isEmpty() ? QStringList() : QStringList{told}, 30000);
        QVERIFY(m_window->documentPath().isEmpty());
        QVERIFY(child<QAction>("openAction")->isEnabled() && child<QPushButton>("browseButton")->isEnabled());
    }

    // Eight failed documents are listed by name, a line each; past eight, the rest are counted.
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
        m_window->show();
        // The first renders nothing, with words that do not name it: its line does, and theirs stay in the details.
        m_window->start(fakeGhostscript(folder.path(), "[ -n \"$info\" ] && info_ok; echo oops >&2; exit 0"));
        QStringList documents{doc("one.pdf")};
        for (int i = 2; i <= failing; ++i)
            documents << doc(QStringLiteral("gone%1.pdf").arg(i));
        m_messages.answers = {true};
        browse(documents, folder.path());
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed.size(), 1, 60000);
        QCOMPARE(m_messages.informed.first().split('\n').last(), lastLine);
    }

    void severalDocuments_convertIntoAFolder_failuresToldAtTheEnd_replacingAsked_stoppedWhere()
    {
        QVERIFY(openWindow());
        CaseFolder folder;
        QDir().mkpath(folder.path("out"));
        // Named like the documents, but no file this run writes: nothing to ask about.
        const QStringList kept{"gone.png", "locked-too001.png", "one001.png", "three.png", "three004.png"};
        for (const QString &name : kept)
            QVERIFY(plantFile(folder.path("out/" + name), "kept"));
        const QStringList documents{doc("one.pdf"), doc("gone.pdf"), doc("locked.pdf"), doc("locked-too.pdf"),
                                    doc("three.pdf")};
        m_messages.answers = {true};
        m_messages.password = "user";
        browse(documents, folder.path("out"));
        QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>("outcomeLabel")->text(),
                                  "7 images written to " + folder.path("out") + ".", 60000);
        QCOMPARE(m_messages.asked.first(),
                 "Convert 5 documents with the current options, each into files of its own name in one folder?");
        QCOMPARE(
            filesIn(folder.path("out")),
            QStringList({"gone.png", "locked-too001.png", "locked001.png", "locked002.png", "locked003.png", "one.png",
                         "one001.png", "three.png", "three001.png", "three002.png", "three003.png", "three004.png"}));
        // The password given for one document, tried on the next, is no wrong answer to a question about it.
        QCOMPARE(m_messages.passwordRetries, QList<bool>({false, false}));
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed.size(), 1, 5000);
        QCOMPARE(m_messages.informed.first(),
                 "2 documents could not be converted, or not completely:\n"
                 "\"gone.pdf\" no longer exists. It may have been moved, renamed or deleted.\n"
                 "The password for \"locked-too.pdf\" is not correct. Check the password and try again.");

        // Again into the same folder: the files there are asked about once, and a "No" leaves them as they were.
        const QDateTime written = QFileInfo(folder.path("out/one.png")).lastModified();
        m_messages.answers = {true, false};
        m_messages.password = "user";
        m_messages.asked.clear();
        browse(documents, folder.path("out"));
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.asked.size(), 2, 30000);
        QCOMPARE(m_messages.asked.last(), "7 files already exist. Replace them?");
        QTest::qWait(500);
        QVERIFY(!m_window->findChild<QLabel *>("statusLabel"));
        QCOMPARE(QFileInfo(folder.path("out/one.png")).lastModified(), written);
        QCOMPARE(child<QLabel>("outcomeLabel")->text(), QString()); // nothing was done, so nothing is cancelled

        // Stopped in the second document: the first one's image is written before the second's pages. A name
        // too long for the progress window gives way to the page's number.
        const QString longName = "three, named at far greater length than the progress window is wide %1.pdf";
        QVERIFY(QFile::copy(doc("three.pdf"), doc(longName)));
        m_messages.answers = {true, true};
        browse({doc("one.pdf"), doc(longName), doc("locked.pdf")}, folder.path());
        const QRegularExpression second("^Document 2 of 3, three, named .+….* %1\\.pdf: page [123] of 3\\.\\.\\.$");
        const auto status = [this] { return m_window->findChild<QLabel *>("statusLabel"); };
        QTRY_VERIFY_WITH_TIMEOUT(status() && second.match(status()->text()).hasMatch(), 60000);
        QVERIFY2(status()->fontMetrics().horizontalAdvance(status()->text()) <= status()->width(),
                 qPrintable(status()->text()));
        // Neither the menu nor the button opens another document while a run goes on; once it ends, both do.
        QVERIFY(!child<QAction>("openAction")->isEnabled() && !child<QPushButton>("browseButton")->isEnabled());
        status()->window()->findChild<QPushButton *>("cancelButton")->click();
        // Pages of the second written before the click landed count too: the count is what the folder holds.
        const QRegularExpression cancelled("^Cancelled at document 2 of 3; (\\d+) images? written to "
                                           + QRegularExpression::escape(folder.path()) + "\\.$");
        QTRY_VERIFY_WITH_TIMEOUT(cancelled.match(child<QLabel>("outcomeLabel")->text()).hasMatch(), 60000);
        const QStringList stopped = filesIn(folder.path());
        QCOMPARE(cancelled.match(child<QLabel>("outcomeLabel")->text()).captured(1).toInt(), stopped.size());
        QVERIFY2(stopped.first() == "one.png" && stopped.filter("three").size() == stopped.size() - 1,
                 qPrintable(stopped.join(' ')));
        QVERIFY(child<QAction>("openAction")->isEnabled() && child<QPushButton>("browseButton")->isEnabled());
    }
};

QTEST_MAIN(tst_Windows)
#include "tst_windows.moc"
