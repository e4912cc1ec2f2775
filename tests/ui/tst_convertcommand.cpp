// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeCommandRunner.h"
#include "FakeFileDialog.h"
#include "FakeMessageBox.h"
#include "FakeSettingsStore.h"
#include "MemoryRegistry.h"
#include "TestDocuments.h"
#include "ui/frmMainWindow.h"
#include "ui/frmProgress.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestConvertCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QTemporaryDir m_docs;

    QStringList outputs() const
    {
        return QDir(m_docs.path()).entryList({"*.png", "*.gif", "*.jpg"}, QDir::Files, QDir::Name);
    }

    std::unique_ptr<frmMainWindow> openWindow(FakeSettingsStore &store, const QString &pdf)
    {
        store.set("SourceFile", pdf);
        auto window = std::make_unique<frmMainWindow>();
        window->load(MemoryRegistry());
        return window;
    }

    static QPushButton *button(QWidget *window, int index)
    {
        return window->findChild<QPushButton *>(QStringLiteral("cmdConvert_%1").arg(index));
    }

private slots:
    void initTestCase()
    {
        qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
        using namespace TestDocuments;
        QVERIFY(writePdf(m_docs.filePath("two.pdf"), {letter(), letter()}));
        QVERIFY(writePdf(m_docs.filePath("one.pdf"), {a4()}));
        QVERIFY(writePdf(m_docs.filePath("three.pdf"), {letter(), letter(), QSizeF(300, 200)}));
    }
    void cleanup()
    {
        QCOMPARE(TestDocuments::sfgFilesIn(m_tmp.path()), QStringList());
        for (const QString &name : outputs())
            QFile::remove(m_docs.filePath(name));
    }

    void cancelledDialog_convertsNothingAndEnablesTheButtons()
    {
        const QString pdf = m_docs.filePath("two.pdf");
        FakeSettingsStore store;
        FakeFileDialog dialog;
        auto window = openWindow(store, pdf);
        FakeCommandRunner runner;
        button(window.get(), 1)->click();
        QVERIFY(runner.commands.isEmpty());
        QCOMPARE(dialog.calls.size(), 1);
        QCOMPARE(dialog.calls.first().mode, FileDialogMode::SaveImage);
        QCOMPARE(dialog.calls.first().extension, QStringLiteral("png"));
        QCOMPARE(dialog.calls.first().initialFolder, m_docs.path() + "/");
        QVERIFY(button(window.get(), 0)->isEnabled() && button(window.get(), 1)->isEnabled());
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(window->DestinationFile(), QString());
    }

    void allPages_runsInTheProgressWindow()
    {
        const QString pdf = m_docs.filePath("two.pdf");
        FakeSettingsStore store;
        FakeFileDialog dialog;
        dialog.answers << m_docs.filePath("scan.png");
        auto window = openWindow(store, pdf);
        button(window.get(), 1)->click();
        QCOMPARE(outputs(), (QStringList{"scan001.png", "scan002.png"}));
        QCOMPARE(window->DestinationFile(), m_docs.filePath("scan.png"));
        QVERIFY(button(window.get(), 0)->isEnabled());
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(window->findChildren<frmProgress *>().isEmpty());
    }

    void onePageDocument_allPagesWritesTheChosenName()
    {
        const QString pdf = m_docs.filePath("one.pdf");
        FakeSettingsStore store;
        FakeFileDialog dialog;
        dialog.answers << m_docs.filePath("single.png");
        auto window = openWindow(store, pdf);
        button(window.get(), 1)->click();
        QCOMPARE(outputs(), QStringList{"single.png"});
    }

    void currentPage_convertsTheSelectedPage()
    {
        const QString pdf = m_docs.filePath("three.pdf");
        FakeSettingsStore store;
        FakeFileDialog dialog;
        dialog.answers << m_docs.filePath("third.gif");
        auto window = openWindow(store, pdf);
        window->findChild<QComboBox *>("cboPage")->setCurrentIndex(2);
        window->findChild<QComboBox *>("cboResolution")->setCurrentIndex(0);
        button(window.get(), 0)->click();
        QCOMPARE(outputs(), QStringList{"third.gif"});
        QCOMPARE(TestDocuments::imageSize(m_docs.filePath("third.gif")), QSize(300, 200));
    }

    void progressWindow_barStatusAndCancel()
    {
        FakeMessageBox box;
        QList<int> barWidths;
        bool cancelSeenAfterClose = false;
        bool visibleAfterClose = false;
        frmProgress progress(nullptr, [&](frmProgress &window) {
            auto *bar = window.findChild<QLabel *>("txtprogressbar");
            for (int percent : {0, 25, 50, 100}) {
                window.SetPercentage(percent);
                barWidths << bar->width();
            }
            window.SetStatus("Processing page 4...");
            QCOMPARE(window.findChild<QLabel *>("txtStatus")->text(), QStringLiteral("Processing page 4..."));
            // The title bar's close during a run only asks the run to stop.
            window.close();
            cancelSeenAfterClose = window.Cancel();
            visibleAfterClose = window.isVisible();
            window.setCancel(false);
            QTest::keyClick(&window, Qt::Key_Escape);
            QVERIFY(window.Cancel());
        });
        QCOMPARE(progress.windowTitle(), QStringLiteral("Progress..."));
        progress.exec();
        QCOMPARE(barWidths, (QList<int>{0, 70, 140, 281}));
        QVERIFY(cancelSeenAfterClose);
        QVERIFY(visibleAfterClose);
        QVERIFY(!progress.isVisible());
    }
};

QTEST_MAIN(TestConvertCommand)
#include "tst_convertcommand.moc"
