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
    QString document = "three.pdf";
    QString list; // typed into the page list
    int from = 0; // set in the fields, when not 0
    int to = 0;
    QString caption; // of the range button
    QString status;  // as the run starts
    QStringList written;
    QString refusal;
};

} // namespace

Q_DECLARE_METATYPE(RangeCase)

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
    std::unique_ptr<QSignalSpy> m_shown, m_finished; // since the window was made

    QString doc(const QString &name) const { return m_docs.filePath(name); }
    template <class T>
    T *child(const char *name) const
    {
        return m_window->findChild<T *>(QString::fromLatin1(name));
    }
    void click(const char *button) const { child<QPushButton>(button)->click(); }

    // A window as the program starts it: at the first start unless the settings are kept.
    void newWindow(bool firstStart = true)
    {
        if (firstStart) {
            m_settings = {};
            m_messages = {};
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

    // A first start with the document open and its preview shown.
    bool openWindow(const QString &document = "three.pdf")
    {
        newWindow();
        m_window->show();
        m_window->start(m_gs, {doc(document)});
        return shown(1);
    }

    // Converts through the button and the save dialog's seam.
    bool convert(const char *button, const QString &path)
    {
        m_files.image = path;
        const qsizetype before = m_finished->count();
        click(button);
        return finished(before + 1);
    }

    bool focus(QWidget *widget) const
    {
        QApplication::setActiveWindow(m_window.get());
        const bool active = QTest::qWaitForWindowActive(m_window.get());
        widget->setFocus();
        return active && QTest::qWaitFor([widget] { return widget->hasFocus(); });
    }

    // Chooses documents in the open dialog; several go into folder.
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
        // The plural forms the user reads, as the program installs them.
        QVERIFY(m_plurals.load(QStringLiteral(":/sheetforge/i18n/sheetforge_en.qm")));
        QCoreApplication::installTranslator(&m_plurals);
        ImageObject::initialise();
        m_gs = GhostscriptLocator().locate();
        QVERIFY(!m_gs.isEmpty());
        QVERIFY(writePdf(doc("three.pdf"), {{842, 595}, {200, 300}, {200, 300}}));
        QVERIFY(QFile::copy(doc("three.pdf"), doc("report.v2.pdf")));
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
        QVERIFY(child<QPushButton>("convertRangeButton")->isEnabled() && child<QSpinBox>("toSpin")->isEnabled());
        const QSize landscape = OutputSize::pixels({842, 595}, 144, true);
        QCOMPARE(m_window->outputSize(), landscape);
        QCOMPARE(child<QLineEdit>("widthEdit")->text(), QString::number(landscape.width()));
        // The read-out follows the page shown, and its orientation.
        const qsizetype previews = m_shown->count();
        child<QComboBox>("pageCombo")->setCurrentIndex(1);
        QVERIFY(shown(previews + 1));
        QCOMPARE(m_window->outputSize(), OutputSize::pixels({200, 300}, 144, true));
        QCOMPARE(child<QLineEdit>("heightEdit")->text(), QString::number(m_window->outputSize().height()));
    }

    void controlCharacters_inTheDocumentsName_areShownEscaped()
    {
        QVERIFY(QFile::copy(doc("one.pdf"), doc("one\x1b[2J\nname.pdf")));
        QVERIFY(openWindow("one\x1b[2J\nname.pdf"));
        QCOMPARE(m_window->documentPath(), doc("one\x1b[2J\nname.pdf"));
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
        newWindow(false);
        m_window->start(m_gs, {doc("three.pdf")});
        QVERIFY(shown(1));
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
        QVERIFY(shown(2));
        QCOMPARE(m_window->documentPath(), doc("recent&1.pdf"));
        // Moved to the top, not listed twice.
        QCOMPARE(texts(), QStringList({"recent&&1.pdf", "three.pdf", "recent&&0.pdf", "recent&&2.pdf", "recent&&3.pdf",
                                       "recent&&4.pdf", "recent&&5.pdf", "recent&&6.pdf", "recent&&7.pdf"}));
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
        QTest::newRow("list") << RangeCase{.list = "1,3",
                                           .caption = "Convert pages 1,3",
                                           .status = "Processing page 1 of 2...",
                                           .written = {"scan001.png", "scan003.png"}};
        QTest::newRow("list to the end") << RangeCase{.list = " 2- ",
                                                      .caption = "Convert pages 2-",
                                                      .status = "Processing page 2 (1 of 2)...",
                                                      .written = {"scan002.png", "scan003.png"}};
        QTest::newRow("list turned round") << RangeCase{
            .list = "3-1", .caption = "Convert pages 3-1", .refusal = "\"3-1\": the first page comes after the last."};
        QTest::newRow("list past the end") << RangeCase{.list = "2,9-",
                                                        .caption = "Convert pages 2,9-",
                                                        .refusal = "The document ends at page 3; the list asks for 9."};
        QTest::newRow("fields") << RangeCase{.from = 2,
                                             .caption = "Convert pages 2 to 3",
                                             .status = "Processing page 2 (1 of 2)...",
                                             .written = {"scan002.png", "scan003.png"}};
        // "To" below "from": the range never turns round.
        QTest::newRow("fields, to below from") << RangeCase{.from = 2,
                                                            .to = 1,
                                                            .caption = "Convert page 2",
                                                            .status = "Processing page 2...",
                                                            .written = {"scan002.png"}};
        // A single page takes the chosen name as it is.
        QTest::newRow("one page") << RangeCase{.document = "one.pdf",
                                               .caption = "Convert all pages",
                                               .status = "Processing page 1...",
                                               .written = {"scan.png"}};
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
        m_files.proposed.clear();
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
                     OutputSize::pixels(name == "scan001.png" ? QSizeF(842, 595) : QSizeF(200, 300), 144, true));
        // The range is for the pages to convert; the page shown is converted alone.
        QVERIFY(convert("convertPageButton", folder.path("shown.png")));
        QCOMPARE(filesIn(folder.path()), QStringList(c.written) << "shown.png");
        QCOMPARE(readImage(folder.path("shown.png")).size, m_window->outputSize());
        // Another document's pages are not this one's: its list starts empty.
        const qsizetype previews = m_shown->count();
        browse({doc("one.pdf")});
        QVERIFY(shown(previews + 1));
        QCOMPARE(child<QLineEdit>("pageListEdit")->text(), QString());
        QVERIFY(child<QSpinBox>("fromSpin")->isEnabled());
    }

    void quality_typedForWebPInHicolor_reachesTheFile()
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
    }

    void shortcuts_reachTheWindowFromANumberField_data()
    {
        QTest::addColumn<QString>("field"); // "boxWidthSpin" once the box governs the size
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("from, convert current page") << "fromSpin" << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("to, convert range") << "toSpin" << (Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("box width") << "boxWidthSpin" << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("typed resolution") << "resolutionCombo" << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("page list") << "pageListEdit" << Qt::KeyboardModifiers(Qt::ControlModifier);
    }

    void shortcuts_reachTheWindowFromANumberField()
    {
        QFETCH(QString, field);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QVERIFY(openWindow());
        child<QRadioButton>(field == "boxWidthSpin" ? "boxRadio" : "resolutionRadio")->click();
        QVERIFY(focus(m_window->findChild<QWidget *>(field)));
        X11EditingKeys editing;
        QApplication::focusWidget()->installEventFilter(&editing);
        m_files.proposed.clear();
        m_files.image.clear(); // the save dialog is cancelled
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, modifiers);
        QCOMPARE(m_files.proposed, doc("three.png"));
    }

    void resolutionTyped_reachesTheFile_andItAndTheGeometryTheNextStart()
    {
        QVERIFY(openWindow());
        CaseFolder folder;
        QLineEdit *typed = child<QComboBox>("resolutionCombo")->lineEdit();
        QVERIFY(focus(typed));
        // Below the least resolution, a number only begun: the options keep theirs, and nothing listed completes it.
        typed->selectAll();
        QTest::keyClicks(typed, "30");
        QCOMPARE(typed->text(), "30");
        QCOMPARE(m_window->options().dpi, 144);
        typed->selectAll();
        QTest::keyClicks(typed, "150");
        const QSize expected = OutputSize::pixels({842, 595}, 150, true);
        QCOMPARE(child<QLineEdit>("widthEdit")->text(), QString::number(expected.width()));
        QVERIFY(convert("convertPageButton", folder.path("typed.png")));
        QCOMPARE(readImage(folder.path("typed.png")).size, expected);
        m_window->resize(1000, 800);
        m_window->move(30, 40);
        QTRY_COMPARE(m_window->size(), QSize(1000, 800));
        m_window->close();
        newWindow(false);
        m_window->show();
        QCOMPARE(m_window->size(), QSize(1000, 800));
        QCOMPARE(m_window->options().dpi, 150);
        QCOMPARE(child<QComboBox>("resolutionCombo")->currentText(), "150");
    }

    // Trimmed, the read-out is measured on the preview: close to what is written.
    void destinationOfAnotherFormat_switchesTheFormatAndSaysWhatNoLongerApplies_trimmedAsReadOut()
    {
        QVERIFY(openWindow());
        CaseFolder folder;
        child<QCheckBox>("trimCheck")->setChecked(true);
        QVERIFY(shown(2));
        const QSize readOut = m_window->outputSize();
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
        QCOMPARE_LT(written.size.width(), OutputSize::pixels({842, 595}, 144, true).width() - 100);
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
        QCOMPARE(QList<QVariantList>(chosen), QList<QVariantList>{QVariantList{1}});
        // A long list would stretch the button: it only says there is one.
        panel.findChild<QLineEdit *>("pageListEdit")->setText("1,2,3,4,5,6,7,8,9");
        QCOMPARE(panel.rangeCaption(), "Convert the listed pages");
        panel.findChild<QLineEdit *>("pageListEdit")->clear();
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

    // While a question is open, previews wait; one asked for meanwhile wins over one that arrived.
    void replacingDeclined_keepsTheFolder_andThePreviewHeldMeanwhileIsShownAfter_data()
    {
        QTest::addColumn<int>("depthMeanwhile"); // chosen while the question is open; -1 for none
        QTest::addColumn<bool>("twoColours");    // in the preview shown after the answer
        QTest::newRow("arrived") << -1 << true;
        QTest::newRow("asked for meanwhile") << int(OptionLists::colorDepths().indexOf(ColorDepth::HiColor)) << false;
    }

    void replacingDeclined_keepsTheFolder_andThePreviewHeldMeanwhileIsShownAfter()
    {
        QFETCH(int, depthMeanwhile);
        QFETCH(bool, twoColours);
        QVERIFY(openWindow("report.v2.pdf"));
        CaseFolder folder;
        m_files.image = folder.path("scan.png");
        QVERIFY(QFile(folder.path("scan002.png")).open(QIODevice::WriteOnly));
        qsizetype shownWhileAsking = -1;
        m_messages.answers = {false};
        m_messages.whileAsking = [&] {
            QTest::qWait(1500);
            shownWhileAsking = m_shown->count();
            if (depthMeanwhile >= 0)
                child<QComboBox>("depthCombo")->setCurrentIndex(depthMeanwhile);
        };
        // The new colours are being reduced when the question about replacing files opens.
        child<QComboBox>("depthCombo")
            ->setCurrentIndex(int(OptionLists::colorDepths().indexOf(ColorDepth::BlackAndWhite)));
        click("convertRangeButton");
        QCOMPARE(m_files.proposed, doc("report.v2.png")); // the name is the document's up to its last dot
        QCOMPARE(m_messages.questions, 1);
        QCOMPARE(shownWhileAsking, 1);
        QVERIFY(shown(2));
        const QImage preview = child<QLabel>("previewLabel")->pixmap().toImage();
        QCOMPARE(preview.convertToFormat(QImage::Format_Indexed8).colorCount() <= 2, twoColours);
        // Declined, but the folder chosen is where the next dialog starts, and it is kept.
        m_messages.whileAsking = {};
        click("convertRangeButton");
        QCOMPARE(m_files.proposed, folder.path("report.v2.png"));
        QCOMPARE(m_settings.values.value("LastFolder"), folder.path());
    }

    void zoom_switchesBetweenFittedAnd100PercentByMenuKeysAndDoubleClick()
    {
        QVERIFY(openWindow());
        auto *label = child<QLabel>("previewLabel");
        auto *actual = child<ActualSizeView>("actualPixelsView");
        QTest::keyClick(m_window.get(), Qt::Key_1, Qt::ControlModifier);
        QVERIFY(shown(2));
        QVERIFY(actual->isVisible() && !label->isVisible());
        QVERIFY(child<QAction>("actualPixelsAction")->isChecked());
        // Only the part in view is drawn, at the output's own size.
        QCOMPARE(actual->outputSize(), m_window->outputSize());
        QCOMPARE(actual->visibleRegion().topLeft(), QPoint(0, 0));
        // Dragging the page up and left brings the part right of and below the view into it, drawn.
        QTest::qWait(1500);
        QCOMPARE(actual->shownRegion(), actual->visibleRegion());
        QTest::mousePress(actual->viewport(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(actual->viewport(), QPoint(80, 85));
        QTest::mouseMove(actual->viewport(), QPoint(60, 70));
        QTest::mouseRelease(actual->viewport(), Qt::LeftButton, {}, QPoint(60, 70));
        QCOMPARE(actual->visibleRegion().topLeft(), QPoint(40, 30));
        QTRY_COMPARE_WITH_TIMEOUT(actual->shownRegion(), actual->visibleRegion(), 30000);
        const qsizetype drawn = m_shown->count();
        QTest::keyClick(m_window.get(), Qt::Key_0, Qt::ControlModifier);
        QVERIFY(shown(drawn + 1));
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
        newWindow();
        m_messages.answers = {true, false};
        auto *renderer = m_window->findChild<PreviewRenderer *>("previewRenderer");
        QCOMPARE(renderer->timeLimit(), 60000); // a preview taking over a minute is stopped
        renderer->setTimeLimit(300);
        m_window->start(fakeGhostscript(folder.path(), "[ -n \"$info\" ] && info_ok; sleep 1; page 1"),
                        {doc("one.pdf")});
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
        const auto last = [&] { return edited.last().first().value<ConversionOptions>(); };
        auto *depth = panel.findChild<QComboBox *>("depthCombo");
        auto *format = panel.findChild<QComboBox *>("formatCombo");
        auto *resolution = panel.findChild<QComboBox *>("resolutionCombo");
        auto *quality = panel.findChild<QLineEdit *>("qualityEdit");
        auto *trim = panel.findChild<QCheckBox *>("trimCheck");
        auto *transparent = panel.findChild<QCheckBox *>("transparentCheck");
        auto *width = panel.findChild<QSpinBox *>("boxWidthSpin");
        const ConversionOptions given{.colorDepth = ColorDepth::HiColor,
                                      .dither = true,
                                      .antialias = false,
                                      .format = ImageFormat::Gif,
                                      .jpegQuality = 40,
                                      .dpi = 600,
                                      .trim = true,
                                      .page = 7};
        panel.setOptions(given);
        QCOMPARE(edited.count(), 0);
        QCOMPARE(QStringList({depth->currentText(), format->currentText(), quality->text(), resolution->currentText()}),
                 QStringList({"Hicolor (16bpp)", "gif", "40", "600"}));
        // Dither ticked, antialias not, trim ticked; the quality is not for GIF.
        QCOMPARE(QList<bool>({panel.findChild<QCheckBox *>("ditherCheck")->isChecked(),
                              panel.findChild<QCheckBox *>("antialiasCheck")->isChecked(), trim->isChecked(),
                              quality->isEnabled()}),
                 QList<bool>({true, false, true, false}));
        // One field for every lossy format, so its label names none.
        const QList<QLabel *> labels = panel.findChildren<QLabel *>();
        const auto label = std::find_if(labels.begin(), labels.end(), [&](QLabel *l) { return l->buddy() == quality; });
        QVERIFY(label != labels.end());
        QCOMPARE((*label)->text(), "Quality:");

        // Each edit comes back as the options, with the rest kept.
        format->setCurrentIndex(2);
        QVERIFY(quality->isEnabled());
        depth->setCurrentIndex(0);
        resolution->setCurrentIndex(1);
        trim->click();
        QTest::keyClicks(quality, "0"); // 400 reads as 100
        ConversionOptions expected = given;
        expected.format = ImageFormat::Jpg;
        expected.colorDepth = ColorDepth::BlackAndWhite;
        expected.dpi = 96;
        expected.trim = false;
        expected.jpegQuality = 100;
        QCOMPARE(last(), expected);
        QCOMPARE(panel.options(), expected);

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
        QVERIFY(last().usesBox());
        QCOMPARE(last().box(), QSize(800, 600));
        QCOMPARE(last().dpi, 300);
        panel.findChild<QRadioButton *>("resolutionRadio")->click();
        QVERIFY(!last().usesBox());

        // A box with no side yet starts as wide as the page is now, so the size stays until the user changes it.
        panel.setOptions({.dpi = 144});
        panel.setSuggestedWidth(1219);
        panel.findChild<QRadioButton *>("boxRadio")->click();
        QCOMPARE(last().box(), QSize(1219, 0));
        QCOMPARE(width->value(), 1219);
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
        QTest::newRow("two PDFs") << QStringList{"/data/a.pdf", "/data/b.pdf"} << false << QString()
                                  << missing.arg("a.pdf");
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
        QCOMPARE(m_messages.questions, files.size() > 1 ? 1 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_messages.informed, told.isEmpty() ? QStringList() : QStringList{told}, 30000);
        QVERIFY(m_window->documentPath().isEmpty());
        QVERIFY(child<QAction>("openAction")->isEnabled() && child<QPushButton>("browseButton")->isEnabled());
    }

    // Eight failed documents are listed by name, a line each; past eight, the rest are counted.
    void severalDocuments_failuresListedUpToEight_data()
    {
        QTest::addColumn<int>("failing");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("lastLine");
        // The missing are told first; the last line is the one document that opened.
        QTest::newRow("eight") << 8 << 9
                               << "one.pdf: Ghostscript stopped without rendering the pages. The document may be "
                                  "damaged; try opening and saving it again in another program.";
        QTest::newRow("nine") << 9 << 10 << "and 1 more";
    }

    void severalDocuments_failuresListedUpToEight()
    {
        QFETCH(int, failing);
        QFETCH(int, lines);
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
        QCOMPARE(m_messages.informed.first().split('\n').size(), lines);
        QCOMPARE(m_messages.informed.first().split('\n').last(), lastLine);
    }

    void severalDocuments_cancelledInTheSecond_sayWhere()
    {
        QVERIFY(openWindow());
        CaseFolder folder;
        m_messages.answers = {true, true}; // convert them all; then yes, stop
        std::optional<bool> couldOpen;     // another document, while the run goes on
        const QRegularExpression second("^Document 2 of 3, three.pdf: page [123] of 3\\.\\.\\.$");
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            auto *label = m_window->findChild<QLabel *>("statusLabel");
            // Every document is opened first; the first one's image is written before the second's pages.
            if (couldOpen || !label || !second.match(label->text()).hasMatch())
                return;
            couldOpen = child<QAction>("openAction")->isEnabled() || child<QPushButton>("browseButton")->isEnabled();
            label->window()->findChild<QPushButton *>("cancelButton")->click();
        });
        watch.start(5);
        browse({doc("one.pdf"), doc("three.pdf"), doc("locked.pdf")}, folder.path());
        QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>("outcomeLabel")->text().startsWith("Cancelled"), 60000);
        QCOMPARE(child<QLabel>("outcomeLabel")->text(),
                 "Cancelled at document 2 of 3; 1 image written to " + folder.path() + ".");
        // Neither the menu nor the button opens another document while a run goes on; once it ends, both do.
        QVERIFY(couldOpen == false);
        QVERIFY(child<QAction>("openAction")->isEnabled() && child<QPushButton>("browseButton")->isEnabled());
    }

    void severalDocuments_convertIntoAFolder_failuresToldOnceAtTheEnd()
    {
        QVERIFY(openWindow());
        CaseFolder folder;
        QDir().mkpath(folder.path("out"));
        // Named like the documents, but no file this run writes: nothing to ask about.
        const QStringList kept{"gone.png", "locked-too001.png", "one001.png", "three.png", "three004.png"};
        for (const QString &name : kept) {
            QFile file(folder.path("out/" + name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("kept") == 4);
        }
        const QStringList documents{doc("one.pdf"), doc("gone.pdf"), doc("locked.pdf"), doc("locked-too.pdf"),
                                    doc("three.pdf")};
        m_messages.answers = {true};
        m_messages.password = "user";
        browse(documents, folder.path("out"));
        QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>("outcomeLabel")->text().contains("written"), 60000);
        QCOMPARE(m_messages.asked.first(),
                 "Convert 5 documents with the current options, each into files of its own name in one folder?");
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
    }
};

QTEST_MAIN(tst_Windows)
#include "tst_windows.moc"
