// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/BatchConversion.h"

#include <QHash>
#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QSet>

class QIODevice;

// A run told to the program that started it: one JSON object a line for each event, written out as it
// happens. docs/report.md describes every event and code.
class RunReport : public QObject
{
    Q_OBJECT
public:
    static constexpr int Version = 1;

    // Writes to output, which it does not own.
    explicit RunReport(QIODevice *output, QObject *parent = nullptr);

    // A document of this name is told of as "-": the copy of standard input.
    void setStandardInputCopy(const QString &path) { m_standardInput = path; }
    // A file in this folder is told of as "-": it goes to standard output.
    void setStandardOutputFolder(const QString &folder) { m_standardOutput = folder + QLatin1Char('/'); }
    void follow(BatchConversion &batch);
    void runStarted(const QStringList &documents, const ConversionOptions &options, ImageFormat written);
    // result is a code, "ok" when every page was written.
    void runFinished(const QString &result, const QString &message, int exitStatus, const BatchSummary &summary);
    // The code of the first document that failed; "ok" when none did.
    QString firstFailure() const { return m_firstFailure; }
    // Whether every line so far reached the output.
    bool isIntact() const { return m_intact; }

private:
    void onOpened(const QString &document, const OpenedDocument &opened, const QList<int> &pages);
    void onMeasured(const QList<int> &pages, const QList<QSizeF> &sizes);
    void onPageStarted(int page);
    void onPageWritten(const WrittenPage &page);
    void onPageFailed(const PageFailure &failure);
    void onDocumentFinished(const ConversionResult &result, const QList<PageSelection::Range> &missing);
    void onDocumentFailed(const QString &document, const Problem &problem);
    void warn(const QString &code, const QString &message, int page = 0, const QJsonObject &more = {});
    static QJsonObject warning(const QString &code, const QString &message, int page = 0, const QJsonObject &more = {});
    void writeOpened();
    // Page outcomes go out in page order: two pages are processed at once and may finish the other way round.
    void settle(int page, const QList<QJsonObject> &events);
    void writePending(bool all);
    void finishDocument(const QString &result, const QString &message);
    void write(QJsonObject event);
    QString shownName(const QString &document) const;
    QJsonObject sha256AndSize(const QString &file);

    QIODevice *m_output;
    QString m_standardInput;
    QString m_standardOutput;
    QString m_document;
    PageBox m_box = PageBox::Crop;
    QJsonObject m_opened; // until it is written, with the sizes once they are known
    bool m_repairedOnOpening = false;
    QList<int> m_pages;   // of the document, in order
    qsizetype m_next = 0; // the first page of m_pages without its outcome written
    QMap<int, QList<QJsonObject>> m_pending;
    QSet<int> m_started;
    QSet<QString> m_warned; // codes told of for this document, for those told once
    int m_pagesWritten = 0;
    int m_pagesFailed = 0;
    bool m_finished = true;                  // the document's result has been written
    QHash<QString, QJsonObject> m_fileFacts; // a multi-page file's hash, computed once
    QString m_firstFailure = QStringLiteral("ok");
    bool m_intact = true;
};
