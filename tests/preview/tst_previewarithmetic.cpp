// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/OutputSize.h"
#include "preview/PreviewImage.h"
#include "ui/CenterForm.h"
#include "ui/FileDialog.h"

#include <QTest>

class TestPreviewArithmetic : public QObject
{
    Q_OBJECT
private slots:
    void outputSize_data()
    {
        QTest::addColumn<QString>("resolution");
        QTest::addColumn<int>("points");
        QTest::addColumn<qint64>("pixels");
        QTest::newRow("letter width at 300") << "300" << 612 << qint64(2550);
        QTest::newRow("letter height at 300") << "300" << 792 << qint64(3300);
        QTest::newRow("A4 width at 96") << "96" << 595 << qint64(793);
        QTest::newRow("A4 height at 96") << "96" << 842 << qint64(1123);
        QTest::newRow("half goes down to even") << "300" << 3 << qint64(12);
        QTest::newRow("half goes up to even") << "300" << 9 << qint64(38);
        QTest::newRow("past 16 bits") << "2400" << 1191 << qint64(39700);
        QTest::newRow("nothing measured yet") << "144" << 0 << qint64(0);
    }
    void outputSize()
    {
        QFETCH(QString, resolution);
        QFETCH(int, points);
        QFETCH(qint64, pixels);
        QCOMPARE(OutputSize::pixelsAt(resolution, points), pixels);
    }

    void previewBox_data()
    {
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<bool>("trimmed");
        QTest::addColumn<QSize>("untrimmed");
        QTest::addColumn<QSize>("trimmedSize");
        QTest::addColumn<QString>("box");
        QTest::newRow("untrimmed") << 15.0 << false << QSize() << QSize(612, 792) << "258x258";
        QTest::newRow("untrimmed, 12 twips a pixel") << 12.0 << false << QSize() << QSize(612, 792) << "323x323";
        QTest::newRow("trimmed portrait") << 15.0 << true << QSize(612, 792) << QSize(500, 700) << "222x228";
        QTest::newRow("trimmed landscape") << 15.0 << true << QSize(792, 612) << QSize(700, 500) << "228x222";
        QTest::newRow("failed measurement") << 15.0 << true << QSize(0, 0) << QSize(0, 0) << "258x258";
    }
    void previewBox()
    {
        QFETCH(double, twipsPerPixel);
        QFETCH(bool, trimmed);
        QFETCH(QSize, untrimmed);
        QFETCH(QSize, trimmedSize);
        QFETCH(QString, box);
        QCOMPARE(PreviewImage::previewBox(PreviewImage::innerFrameSize(twipsPerPixel), trimmed, untrimmed, trimmedSize),
                 box);
    }

    void previewVector_reducesColoursAfterResizing()
    {
        QCOMPARE(PreviewImage::previewVector("B", "258x258", false, 256),
                 (ArgVector{"B", "-resize", "258x258", "-dither", "-colors", 256, "B.bmp"}));
        QCOMPARE(PreviewImage::previewVector("B", "258x258", false, 256).at(5).typeId(), QMetaType::Int);
        QCOMPARE(PreviewImage::previewVector("B", "222x228", true, 256),
                 (ArgVector{"B", "-resize", "222x228", "-dither", "-monochrome", "B.bmp"}));
    }

    void previewIsCentredInFrame()
    {
        QCOMPARE(PreviewImage::centredPosition(QSize(258, 258)), QPoint(9, 125));
        QCOMPARE(PreviewImage::centredPosition(QSize(199, 258)), QPoint(38, 125));
    }

    void centredFormPosition_data()
    {
        QTest::addColumn<QSize>("form");
        QTest::addColumn<QRect>("owner"); // null: no owner
        QTest::addColumn<QPoint>("position");
        const QSize screen(1000, 800);
        QTest::newRow("on the screen") << QSize(400, 300) << QRect() << QPoint(300, 250);
        QTest::newRow("over the owner") << QSize(100, 50) << QRect(100, 100, 300, 250) << QPoint(200, 200);
        QTest::newRow("right edge exactly on the screen's") << QSize(100, 50) << QRect(800, 100, 300, 250)
                                                            << QPoint(900, 200);
        QTest::newRow("owner off the bottom right") << QSize(100, 50) << QRect(900, 700, 300, 250)
                                                    << QPoint(900, 750);
        QTest::newRow("owner off the top left") << QSize(100, 50) << QRect(-300, -200, 300, 250)
                                                << QPoint(-200, -100);
    }
    void centredFormPosition()
    {
        QFETCH(QSize, form);
        QFETCH(QRect, owner);
        QFETCH(QPoint, position);
        QCOMPARE(::centredFormPosition(form, owner.isNull() ? std::nullopt : std::optional<QRect>(owner),
                                       QSize(1000, 800)),
                 position);
    }

    void fileDialogConfigurations()
    {
        const FileDialogRequest save = FileDialogRequest::forMode(FileDialogMode::SaveImage, "jpg");
        QCOMPARE(save.title, QStringLiteral("Select destination file..."));
        QCOMPARE(save.filters.first(), QStringLiteral("image files (*.jpg )"));
        QCOMPARE(save.defaultSuffix, QStringLiteral("jpg"));
        QVERIFY(!save.mustExist);
        const FileDialogRequest open = FileDialogRequest::forMode(FileDialogMode::OpenDocument, QString());
        QCOMPARE(open.title, QStringLiteral("Select image file..."));
        QCOMPARE(open.filters.first(), QStringLiteral("pdf files (*.pdf)"));
        QVERIFY(open.mustExist);
    }
};

QTEST_GUILESS_MAIN(TestPreviewArithmetic)
#include "tst_previewarithmetic.moc"
