// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionEngine.h"

#include <QtTest>

class tst_Job : public QObject
{
    Q_OBJECT
private slots:
    void outputsToReplace_areTheOnesNotAskedAboutYet_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("numbered");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QStringList>("replaced");
        QTest::newRow("the chosen name: the save dialog asked")
            << "/o/a.png" << false << QStringList{"/o/a.png"} << QStringList();
        QTest::newRow("a name that gained the extension")
            << "/o/a.bmp" << false << QStringList{"/o/a.bmp.png"} << QStringList{"/o/a.bmp.png"};
        QTest::newRow("numbered, some exist")
            << "/o/a.png" << true << QStringList{"/o/a.png", "/o/a002.png", "/o/a004.png"}
            << QStringList{"/o/a002.png"};
        QTest::newRow("numbered, none exist") << "/o/a.png" << true << QStringList() << QStringList();
    }

    void outputsToReplace_areTheOnesNotAskedAboutYet()
    {
        QFETCH(QString, destination);
        QFETCH(bool, numbered);
        QFETCH(QStringList, existing);
        QFETCH(QStringList, replaced);
        ConversionJob job;
        job.destination = destination;
        job.numbered = numbered;
        job.firstPage = 2;
        job.lastPage = numbered ? 3 : 2;
        job.pageCount = 5;
        QCOMPARE(job.outputsToReplace([&existing](const QString &name) { return existing.contains(name); }), replaced);
    }

    void failureSummary_namesEightPagesThenCountsTheRest_data()
    {
        QTest::addColumn<int>("failed");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("last");
        QTest::newRow("one") << 1 << 2 << "Page 1: The page could not be converted.";
        QTest::newRow("eight") << 8 << 9 << "Page 8: The page could not be converted.";
        QTest::newRow("nine") << 9 << 10 << "and 1 more";
        QTest::newRow("thirty") << 30 << 10 << "and 22 more";
    }

    void failureSummary_namesEightPagesThenCountsTheRest()
    {
        QFETCH(int, failed);
        QFETCH(int, lines);
        QFETCH(QString, last);
        QList<PageFailure> failures;
        for (int page = 1; page <= failed; ++page)
            failures << PageFailure{page, Problem::make(Problem::PageFailed, QStringLiteral("detail %1").arg(page))};
        const FailureSummary summary = FailureSummary::of(failures);
        const QStringList shown = summary.text.split(QLatin1Char('\n'));
        QCOMPARE(shown.size(), lines);
        QVERIFY(shown.first().startsWith(QString::number(failed)));
        QCOMPARE(shown.last(), last);
        // Every page, with the tool's words, goes into the details.
        QCOMPARE(summary.details.count(QLatin1Char('\n')), failed - 1);
        QVERIFY(summary.details.endsWith(QStringLiteral("detail %1").arg(failed)));
    }
};

QTEST_GUILESS_MAIN(tst_Job)
#include "tst_job.moc"
