// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeCommandRunner.h"
#include "FakeFileDialog.h"
#include "FakeImageObject.h"
#include "FakeMessageBox.h"
#include "FakeSettingsStore.h"
#include "MemoryRegistry.h"
#include "TestDocuments.h"
#include "tools/GhostscriptLocator.h"
#include "ui/TerminationSignals.h"
#include "ui/frmAbout.h"
#include "ui/frmMainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

namespace {

// Stands in for Ghostscript: writes a bitmap for every render and reports `pages` for a count.
FakeCommandRunner::Handler fakeGhostscript(int pages)
{
    return [pages](const QStringList &command, ProcessStatus &) {
        if (command.contains("-dPDFINFO"))
            return QStringLiteral("        File has %1 pages\n").arg(pages);
        QFile bitmap(FakeCommandRunner::outputFile(command));
        bitmap.open(QIODevice::WriteOnly);
        bitmap.write("BM");
        return QString();
    };
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QTemporaryDir m_docs;
    QString m_pdf;
    QStringList m_opened;

    template <class T>
    static T *child(QWidget *window, const char *name)
    {
        T *widget = window->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    std::unique_ptr<frmMainWindow> loadWindow()
    {
        auto window = std::make_unique<frmMainWindow>();
        window->load(MemoryRegistry());
        return window;
    }

    static int renders(const FakeCommandRunner &runner) { return runner.countContaining("-sDEVICE=bmp16m"); }

public slots:
    void openUrl(const QUrl &url) { m_opened << url.toString(); }

private slots:
    void initTestCase()
    {
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
        m_pdf = m_docs.filePath("doc.pdf");
        QVERIFY(TestDocuments::writePdf(m_pdf, {TestDocuments::letter(), TestDocuments::a4(), TestDocuments::letter()}));
        QDesktopServices::setUrlHandler("https", this, "openUrl");
    }

    void cleanup() { QCOMPARE(TestDocuments::sfgFilesIn(m_tmp.path()), QStringList()); }

    void firstStart_showsDefaults()
    {
        FakeSettingsStore store;
        auto window = loadWindow();
        QCOMPARE(window->windowTitle(), QStringLiteral("sheetforge 1.0"));
        QCOMPARE(child<QComboBox>(window.get(), "cboDepth")->currentText(), QStringLiteral("16 colors (4bpp)"));
        QVERIFY(!child<QCheckBox>(window.get(), "chkDither")->isChecked());
        QVERIFY(child<QCheckBox>(window.get(), "chkAntialias")->isChecked());
        QCOMPARE(child<QComboBox>(window.get(), "cboImageFormat")->currentText(), QStringLiteral("png"));
        QCOMPARE(child<QLineEdit>(window.get(), "txtCompression")->text(), QStringLiteral("75"));
        QVERIFY(!child<QLineEdit>(window.get(), "txtCompression")->isEnabled());
        QVERIFY(!child<QLabel>(window.get(), "lblCompression")->isEnabled());
        QCOMPARE(child<QComboBox>(window.get(), "cboResolution")->currentText(), QStringLiteral("144"));
        QVERIFY(!child<QCheckBox>(window.get(), "chkTrim")->isChecked());
        QCOMPARE(child<QLineEdit>(window.get(), "txtFile")->text(), QString());
        QVERIFY(!child<QPushButton>(window.get(), "cmdConvert_0")->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), "cmdConvert_1")->isEnabled());
        QCOMPARE(child<QLineEdit>(window.get(), "txtImgWidth")->text(), QStringLiteral("0"));
        QCOMPARE(child<QLineEdit>(window.get(), "txtImgHeight")->text(), QStringLiteral("0"));
        const ConversionSettings &derived = window->conversionSettings();
        QCOMPARE(derived.DitherOption, QStringLiteral("+dither"));
        QCOMPARE(derived.TrimOption, QString());
        QVERIFY(derived.AntialiasFlag && !derived.MonochromeFlag);
        QCOMPARE(derived.ColorCount, 16);
        QCOMPARE(window->CurrentPage(), 1);
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
    }

    void onlyPreviewAffectingEvents_renderAgain()
    {
        FakeSettingsStore store;
        store.set("SourceFile", m_pdf);
        FakeCommandRunner runner(fakeGhostscript(3));
        FakeImageObject magick;
        auto window = loadWindow();
        // The first preview, then again when the stored colour depth replaces the one the list was filled with.
        QCOMPARE(renders(runner), 2);
        QCOMPARE(runner.countContaining("-dPDFINFO"), 1);
        QVERIFY(child<QPushButton>(window.get(), "cmdConvert_0")->isEnabled());

        child<QCheckBox>(window.get(), "chkDither")->click();
        child<QCheckBox>(window.get(), "chkAntialias")->click();
        child<QComboBox>(window.get(), "cboImageFormat")->setCurrentIndex(1);
        child<QComboBox>(window.get(), "cboResolution")->setCurrentIndex(5);
        QCOMPARE(renders(runner), 2);
        QCOMPARE(window->conversionSettings().DitherOption, QStringLiteral("-dither"));
        QVERIFY(!window->conversionSettings().AntialiasFlag);
        QCOMPARE(child<QLineEdit>(window.get(), "txtImgWidth")->text(), QStringLiteral("2550"));

        child<QComboBox>(window.get(), "cboDepth")->setCurrentIndex(0);
        QCOMPARE(renders(runner), 3);
        QVERIFY(window->conversionSettings().MonochromeFlag);
        QVERIFY(magick.converts.last().contains("-monochrome"));
        QVERIFY(child<QCheckBox>(window.get(), "chkDither")->isEnabled());

        child<QCheckBox>(window.get(), "chkTrim")->click();
        child<QCheckBox>(window.get(), "chkTrim")->click();
        QCOMPARE(renders(runner), 5);

        child<QComboBox>(window.get(), "cboPage")->setCurrentIndex(0);
        QCOMPARE(renders(runner), 5);
        child<QComboBox>(window.get(), "cboPage")->setCurrentIndex(1);
        QCOMPARE(renders(runner), 6);
        QVERIFY(runner.commands.last().contains("-dFirstPage=2"));
        QCOMPARE(window->CurrentPage(), 2);
    }

    void compressionField_takesDigitsAndCutsAt100()
    {
        FakeSettingsStore store;
        auto window = loadWindow();
        auto *field = child<QLineEdit>(window.get(), "txtCompression");
        child<QComboBox>(window.get(), "cboImageFormat")->setCurrentIndex(2);
        QVERIFY(field->isEnabled());
        QVERIFY(child<QLabel>(window.get(), "lblCompression")->isEnabled());
        field->clear();
        QTest::keyClicks(field, "1x5-0");
        QCOMPARE(field->text(), QStringLiteral("150"));
        QTest::keyClicks(field, "9");
        QCOMPARE(field->text(), QStringLiteral("150"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(field->text(), QStringLiteral("100"));
        child<QComboBox>(window.get(), "cboImageFormat")->setCurrentIndex(0);
        QVERIFY(!field->isEnabled());
        QCOMPARE(field->text(), QStringLiteral("100"));
    }

    void browse_cancelMissingAndSameFileAgain()
    {
        FakeSettingsStore store;
        FakeMessageBox box;
        FakeFileDialog dialog;
        FakeCommandRunner runner(fakeGhostscript(3));
        FakeImageObject magick;
        auto window = loadWindow();
        auto *browse = child<QPushButton>(window.get(), "cmdBrowse");
        auto *file = child<QLineEdit>(window.get(), "txtFile");

        browse->click(); // cancelled
        QVERIFY(runner.commands.isEmpty());
        QCOMPARE(dialog.calls.last().initialFolder, QDir::homePath());
        QCOMPARE(dialog.calls.last().mode, FileDialogMode::OpenDocument);

        dialog.answers << m_docs.filePath("gone.pdf");
        browse->click();
        QCOMPARE(box.messages, QStringList{"File not found"});
        QCOMPARE(file->text(), QString());

        dialog.answers << m_pdf;
        browse->click();
        QCOMPARE(file->text(), m_pdf);
        QCOMPARE(file->cursorPosition(), m_pdf.size());
        QCOMPARE(child<QComboBox>(window.get(), "cboPage")->count(), 3);
        child<QComboBox>(window.get(), "cboPage")->setCurrentIndex(2);
        const int before = renders(runner);

        dialog.answers << m_pdf;
        browse->click();
        QCOMPARE(dialog.calls.last().initialFolder, m_docs.path() + "/");
        QCOMPARE(renders(runner), before + 1);
        QVERIFY(runner.commands.at(runner.commands.size() - 2).contains("-dFirstPage=1"));
        QCOMPARE(child<QComboBox>(window.get(), "cboPage")->currentIndex(), 0);
        QCOMPARE(window->CurrentPage(), 1);

        dialog.answers << m_docs.filePath("notes.txt");
        QFile(m_docs.filePath("notes.txt")).open(QIODevice::WriteOnly);
        browse->click();
        QCOMPARE(box.messages.last(), QStringLiteral("The file does not have a pdf extension"));
        QVERIFY(child<QPushButton>(window.get(), "cmdConvert_0")->isEnabled());
    }

    void restoredSize_isRecomputedNotTheStoredText()
    {
        FakeSettingsStore store;
        store.set("SourceFile", m_pdf);
        store.set("Width", "1");
        store.set("Height", "2");
        store.set("Resolution", "0"); // the index the list was filled with: no change to react to
        FakeCommandRunner runner(fakeGhostscript(3));
        FakeImageObject magick;
        auto window = loadWindow();
        QCOMPARE(child<QLineEdit>(window.get(), "txtImgWidth")->text(), QStringLiteral("612"));
        QCOMPARE(child<QLineEdit>(window.get(), "txtImgHeight")->text(), QStringLiteral("792"));
    }

    void rememberedPage_endsOnPageOneWithRealTools()
    {
        FakeSettingsStore store;
        FakeMessageBox box;
        store.set("SourceFile", m_pdf);
        store.set("pdfpage", "2");
        auto window = loadWindow();
        QCOMPARE(box.messages, QStringList());
        QCOMPARE(child<QComboBox>(window.get(), "cboPage")->count(), 3);
        QCOMPARE(child<QComboBox>(window.get(), "cboPage")->currentText(), QStringLiteral("Page 1"));
        QCOMPARE(window->CurrentPage(), 1);
        QCOMPARE(child<QLineEdit>(window.get(), "txtImgWidth")->text(), QStringLiteral("1224"));
        QVERIFY(!child<QLabel>(window.get(), "imgPreview")->pixmap().isNull());
    }

    void terminationSignal_closesTheWindowSoSettingsAreSaved()
    {
        FakeSettingsStore store;
        auto window = loadWindow();
        window->show();
        const TerminationSignals termination;
        ::raise(SIGTERM);
        QTRY_COMPARE(store.savedKeys.size(), 11);
        QVERIFY(!window->isVisible());
    }

    void aboutWindow_oneAtATimeWithVersionOnce()
    {
        FakeSettingsStore store;
        auto window = loadWindow();
        QAction *about = window->findChild<QAction *>("mnuAbout");
        about->trigger();
        about->trigger();
        QCOMPARE(aboutWindows().size(), 1);
        frmAbout *dialog = aboutWindows().first();
        QCOMPARE(child<QLabel>(dialog, "Label1")->text(), QStringLiteral("sheetforge 1.0 (build 0)"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("About sheetforge..."));

        m_opened.clear();
        QTest::mouseClick(child<QLabel>(dialog, "lblSiteLink"), Qt::LeftButton);
        QTest::mouseClick(child<QLabel>(dialog, "lbldonate"), Qt::LeftButton);
        QTest::mouseClick(child<QLabel>(dialog, "imgDonate"), Qt::LeftButton);
        QCOMPARE(m_opened, (QStringList{frmAbout::SiteAddress, frmAbout::DonationAddress}));

        child<QPushButton>(dialog, "cmdOK")->click();
        QTRY_COMPARE(aboutWindows().size(), 0);
        about->trigger();
        QCOMPARE(aboutWindows().size(), 1);
        QCOMPARE(child<QLabel>(aboutWindows().first(), "Label1")->text(), QStringLiteral("sheetforge 1.0 (build 0)"));
        window->close();
        QTRY_COMPARE(aboutWindows().size(), 0);
    }

private:
    static QList<frmAbout *> aboutWindows()
    {
        QList<frmAbout *> found;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *about = qobject_cast<frmAbout *>(w); about && about->isVisible())
                found << about;
        }
        return found;
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
