// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/DestinationFile.h"
#include "tools/Problem.h"

#include <QByteArray>
#include <QMap>
#include <QMutex>

// Joins single-page TIFFs, as they finish in any order, into one multi-page file in page order. Only
// the pages waiting for an earlier one are held in memory, so a long run does not grow. The file appears
// under its name only when commit() succeeds; until then an old file of that name stays as it was. While one
// run writes the file, another run writing the same one is refused.
// Safe to call from several threads.
class MultiPageTiff
{
public:
    explicit MultiPageTiff(const QString &path);

    // Claims the file before any page is rendered; add() does so itself otherwise.
    Problem open();
    // The page at position index of the run, a little-endian TIFF of one image; empty for a page that failed.
    Problem add(int index, const QByteArray &page);
    int pageCount() const;
    // Pages finished but waiting for an earlier one.
    int waiting() const;
    // What stopped the file: every page after it would fail alike.
    Problem failure() const;
    Problem commit();
    void cancel();

private:
    Problem appendReady();
    Problem append(QByteArray page);
    Problem openFile();

    mutable QMutex m_mutex;
    DestinationFile m_file;
    QMap<int, QByteArray> m_waiting; // an empty page stands for one that failed
    int m_next = 0;                  // the index the file takes next
    qint64 m_nextPointer = 4;        // where the last directory's link to the next one sits
    int m_pages = 0;
    bool m_opened = false;
    bool m_closed = false; // committed or cancelled: late pages are dropped
    Problem m_failed;
};
