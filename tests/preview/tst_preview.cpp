// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "preview/DocumentOpener.h"
#include "preview/PreviewRenderer.h"
#include "tools/ImageObject.h"

#include <QTranslator>
#include <QtTest>

using namespace TestSupport;

class tst_Preview : public QObject
{
    Q_OBJECT
    QTemporaryDir m_docs;
    QString m_gs;
    QTranslator m_plurals;

    QString doc(const QString &name) const { return m_docs.filePath(name); }

    PreviewResult preview(const PreviewRequest &request, int timeLimitMs = PreviewRenderer::DefaultTimeLimitMs)
    {
        PreviewRenderer renderer;
        renderer.setTimeLimit(timeLimitMs);
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        renderer.request(request);
        [&] { QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000); }();
        return finished.count() == 1 ? finished.first().first().value<PreviewResult>() : PreviewResult{};
    }

private slots:
    void initTestCase()
    {
        // The image library's own folder lives as long as the process, outside the cases' folders.
        ImageObject::initialise();
        // The English plural forms, as the program installs them.
        QVERIFY(m_plurals.load(QStringLiteral(":/sheetforge/i18n/sheetforge_en.qm")));
        QCoreApplication::installTranslator(&m_plurals);
        m_gs = GhostscriptLocator().locate();
        QVERIFY(!m_gs.isEmpty());
        QVERIFY(writePdf(doc("plain.pdf"), {{300, 200}, {200, 300}}));
        QVERIFY(encrypt(doc("plain.pdf"), doc("user.pdf"), "user"));
        QVERIFY(encrypt(doc("plain.pdf"), doc("quoted.pdf"), "a \"b\\c"));
        QVERIFY(encrypt(doc("plain.pdf"), doc("owner.pdf"), QString()));
        QFile plain(doc("plain.pdf")), truncated(doc("truncated.pdf"));
        QVERIFY(plain.open(QIODevice::ReadOnly) && truncated.open(QIODevice::WriteOnly));
        truncated.write(plain.readAll().chopped(40)); // no trailer: Ghostscript repairs it
        QVERIFY(encrypt(doc("plain.pdf"), doc("r5.pdf"), "user", true));
        QFile text(doc("text.pdf"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("hello") > 0);
    }

    void opener_asksUntilThePasswordOpensIt_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QStringList>("answers"); // "" gives up
        QTest::addColumn<QList<bool>>("retries"); // as the questions came
        QTest::addColumn<QString>("outcome");
        QTest::newRow("no password needed") << "plain.pdf" << QStringList() << QList<bool>() << "opened";
        QTest::newRow("right password") << "user.pdf" << QStringList{"user"} << QList<bool>{false} << "opened";
        QTest::newRow("wrong, then right")
            << "user.pdf" << QStringList{"nope", "user"} << QList<bool>{false, true} << "opened";
        QTest::newRow("given up") << "user.pdf" << QStringList{""} << QList<bool>{false} << "abandoned";
        QTest::newRow("revision 5, owner password")
            << "r5.pdf" << QStringList{"owner"} << QList<bool>{false} << "opened";
        QTest::newRow("not a PDF") << "text.pdf" << QStringList() << QList<bool>() << "failed";
    }

    void opener_asksUntilThePasswordOpensIt()
    {
        QFETCH(QString, document);
        QFETCH(QStringList, answers);
        QFETCH(QList<bool>, retries);
        QFETCH(QString, outcome);
        CaseFolder folder;
        DocumentOpener opener;
        QList<bool> asked;
        QString ended;
        std::optional<OpenedDocument> opened;
        connect(&opener, &DocumentOpener::passwordNeeded, this, [&](const QString &, bool retry) {
            asked << retry;
            const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
            opener.providePassword(answer.isEmpty() ? std::nullopt : std::optional<QString>(answer));
        });
        connect(&opener, &DocumentOpener::opened, this, [&](const OpenedDocument &document) {
            ended = "opened";
            opened = document;
        });
        connect(&opener, &DocumentOpener::failed, this, [&] { ended = "failed"; });
        connect(&opener, &DocumentOpener::abandoned, this, [&] { ended = "abandoned"; });
        opener.open(m_gs, doc(document), 2);
        QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 30000);
        QCOMPARE(ended, outcome);
        QCOMPARE(asked, retries);
        if (opened) {
            QCOMPARE(opened->info.pageCount, 2);
            QCOMPARE(opened->page, 2);
            QCOMPARE(opened->info.pageSize, QSizeF(200, 300));
            QCOMPARE(opened->info.legacyInterpreter, document == "r5.pdf");
        }
        QCOMPARE(leftovers(folder.temp()), QStringList());
    }

    // A remembered page past the end of a document that has since shrunk: the document opens at page 1.
    void opener_pagePastTheEnd_opensAtTheFirst()
    {
        DocumentOpener opener;
        QSignalSpy opened(&opener, &DocumentOpener::opened);
        opener.open(m_gs, doc("plain.pdf"), 40);
        QTRY_COMPARE_WITH_TIMEOUT(opened.count(), 1, 30000);
        const auto document = opened.first().first().value<OpenedDocument>();
        QCOMPARE(document.page, 1);
        QCOMPARE(document.info.pageSize, QSizeF(300, 200));
    }

    void password_opensOnlyTheRightDocument_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("problem");
        QTest::newRow("right password") << "user.pdf"
                                        << "user" << int(Problem::None);
        QTest::newRow("none given") << "user.pdf"
                                    << "" << int(Problem::NeedsPassword);
        QTest::newRow("wrong one crashes gs") << "user.pdf"
                                              << "nope" << int(Problem::WrongPassword);
        QTest::newRow("quote and backslash") << "quoted.pdf"
                                             << "a \"b\\c" << int(Problem::None);
        QTest::newRow("repaired") << "truncated.pdf"
                                  << "" << int(Problem::None);
        QTest::newRow("owner password only") << "owner.pdf"
                                             << "" << int(Problem::None);
    }

    void password_opensOnlyTheRightDocument()
    {
        QFETCH(QString, document);
        QFETCH(int, problem);
        QFETCH(QString, password);
        CaseFolder folder;
        const PreviewRequest request{.ghostscript = m_gs, .document = doc(document), .password = password};
        const PreviewResult result = preview(request);
        QCOMPARE(int(result.problem.kind), problem);
        if (problem == Problem::None) {
            QCOMPARE(result.info.pageCount, 2);
            QCOMPARE(result.info.repaired, document == "truncated.pdf");
            QCOMPARE(result.info.pageSize, QSizeF(300, 200));
            QVERIFY(!result.image.isNull() && result.image.width() <= 258 && result.image.width() > 200);
        }
    }

    void secondRequest_supersedesFirst_data()
    {
        QTest::addColumn<QString>("firstDocument");
        QTest::addColumn<bool>("rendered"); // so that only the colours are reduced again
        QTest::addColumn<int>("secondPage");
        QTest::addColumn<int>("secondDepth");
        const int bw = int(ColorDepth::BlackAndWhite), many = int(ColorDepth::TwoHundredFiftySixColors);
        QTest::newRow("page 1 then page 2") << "plain.pdf" << false << 2 << many;
        QTest::newRow("colours changed") << "plain.pdf" << true << 1 << bw;
        QTest::newRow("missing file then a page") << "gone.pdf" << false << 2 << bw;
    }

    void secondRequest_supersedesFirst()
    {
        QFETCH(QString, firstDocument);
        QFETCH(bool, rendered);
        QFETCH(int, secondPage);
        QFETCH(int, secondDepth);
        CaseFolder folder;
        PreviewRenderer renderer;
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        PreviewRequest first{.ghostscript = m_gs, .document = doc("plain.pdf")};
        first.options.colorDepth = ColorDepth::TwoHundredFiftySixColors;
        if (rendered) {
            renderer.request(first);
            QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
            finished.clear();
        }
        first.document = doc(firstDocument);
        PreviewRequest second{.ghostscript = m_gs, .document = doc("plain.pdf"), .page = secondPage};
        second.options.colorDepth = ColorDepth(secondDepth);
        renderer.request(first);
        renderer.request(second);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1 && !renderer.isBusy(), 30000);
        // Once more as a barrier: whatever the first request left behind would come before this answer.
        renderer.request(second);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 30000);
        for (const QList<QVariant> &signal : std::as_const(finished)) {
            const auto result = signal.first().value<PreviewResult>();
            QVERIFY2(result.problem.isNone(), qPrintable(result.problem.message));
            QCOMPARE(result.page, secondPage);
            QCOMPARE(result.info.pageSize, secondPage == 1 ? QSizeF(300, 200) : QSizeF(200, 300));
            // Up to 256 colours an indexed copy keeps them all; more would be reduced to 256.
            const int colours = result.image.convertToFormat(QImage::Format_Indexed8).colorCount();
            QVERIFY(!result.image.isNull() && colours <= (secondDepth == int(ColorDepth::BlackAndWhite) ? 2 : 256));
        }
    }

    void documentReplacedOnDisk_isReadAgain()
    {
        CaseFolder folder;
        const QString path = folder.path("report.pdf");
        QVERIFY(writePdf(path, {{300, 200}}));
        PreviewRenderer renderer;
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        const PreviewRequest request{.ghostscript = m_gs, .document = path};
        renderer.request(request);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QCOMPARE(finished.last().first().value<PreviewResult>().info.pageSize, QSizeF(300, 200));
        // Saved again under the same name, with other pages: what was found before no longer holds.
        QVERIFY(writePdf(path, {{200, 300}, {200, 300}}));
        renderer.request(request);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 30000);
        const auto result = finished.last().first().value<PreviewResult>();
        QCOMPARE(result.info.pageSize, QSizeF(200, 300));
        QCOMPARE(result.info.pageCount, 2);
        QVERIFY(result.image.width() < result.image.height());
    }

    void transparentPaper_showsChecksBehindIt()
    {
        // plain.pdf's page 1 has paper all round its coloured box. One renderer, so that nothing it kept from
        // the opaque page is shown for the transparent one, nor the other way round.
        PreviewRenderer renderer;
        QSignalSpy finished(&renderer, &PreviewRenderer::finished);
        PreviewRequest request{.ghostscript = m_gs, .document = doc("plain.pdf")};
        request.options.colorDepth = ColorDepth::SixteenColors;
        const auto corner = [&](bool transparent) {
            request.options.transparent = transparent;
            finished.clear();
            renderer.request(request);
            [&] { QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000); }();
            const QImage image = finished.value(0).value(0).value<PreviewResult>().image;
            return image.isNull() ? QList<QRgb>()
                                  : QList<QRgb>{image.pixel(1, 1), image.pixel(9, 1), image.pixel(9, 9)};
        };
        const QList<QRgb> white(3, qRgb(255, 255, 255));
        QCOMPARE(corner(false), white);
        QCOMPARE(corner(true), (QList<QRgb>{qRgb(255, 255, 255), qRgb(204, 204, 204), qRgb(255, 255, 255)}));
        QCOMPARE(corner(false), white);
    }

    void ghostscriptFailure_isReportedNeverShown_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("unlimited"); // the user chose to wait as long as it takes
        const QString opened = "[ -n \"$info\" ] && info_ok; ";
        QTest::newRow("count crashes") << "kill -SEGV $$" << int(Problem::GhostscriptFailed) << QString() << false;
        QTest::newRow("render crashes") << opened + "page 1; kill -SEGV $$" << int(Problem::GhostscriptFailed)
                                        << QString() << false;
        QTest::newRow("render fails") << opened + "echo Error; exit 1" << int(Problem::NotPdf) << QString() << false;
        QTest::newRow("render writes nothing") << opened + "exit 0" << int(Problem::NotPdf) << QString() << false;
        QTest::newRow("crash on a password") << "kill -SEGV $$" << int(Problem::WrongPassword) << "se cr\"et" << false;
        QTest::newRow("render crashes with a password")
            << opened + "page 1; kill -SEGV $$" << int(Problem::WrongPassword) << "s3cret" << false;
        QTest::newRow("render never ends")
            << opened + "exec sleep 60" << int(Problem::PageTimedOut) << QString() << false;
        // Asked for without a limit, a render that outlasts it fails for its own reason.
        QTest::newRow("slow render, asked for without a limit")
            << opened + "sleep 2; echo Error; exit 1" << int(Problem::NotPdf) << QString() << true;
    }

    void ghostscriptFailure_isReportedNeverShown()
    {
        QFETCH(QString, body);
        QFETCH(QString, password);
        QFETCH(int, problem);
        QFETCH(bool, unlimited);
        CaseFolder folder;
        const PreviewRequest request{.ghostscript = fakeGhostscript(folder.path(), body),
                                     .document = doc("plain.pdf"),
                                     .password = password,
                                     .withoutTimeLimit = unlimited};
        // The time a render may take, made short.
        const PreviewResult result = preview(request, 1000);
        QCOMPARE(int(result.problem.kind), problem);
        QCOMPARE(result.timedOut, problem == Problem::PageTimedOut);
        QVERIFY(result.image.isNull());
        QVERIFY(!result.problem.message.isEmpty());
        QVERIFY2(!result.problem.message.contains(QLatin1String("(s)")), qPrintable(result.problem.message));
        // The password goes to Ghostscript in an argument file, never on its command line.
        QFile log(folder.path("gs.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QStringList arguments = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'));
        QVERIFY(!arguments.join(QLatin1Char(' ')).contains(QLatin1String("cr\"et")));
        QCOMPARE(!arguments.filter(QRegularExpression("^@/")).isEmpty(), !password.isEmpty());
        if (!password.isEmpty()) {
            QFile given(folder.path("argfile.log"));
            QVERIFY(given.open(QIODevice::ReadOnly));
            const QString expected =
                password.contains(' ') ? "-sPDFPassword=\"se cr\\\"et\"" : "-sPDFPassword=" + password;
            QVERIFY2(QString::fromUtf8(given.readAll()).contains(expected), qPrintable(expected));
            QVERIFY(!QFile::exists(folder.path("found.log")) || QFileInfo(folder.path("found.log")).size() == 0);
        }
    }
};

QTEST_MAIN(tst_Preview)
#include "tst_preview.moc"
