// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/DestinationFile.h"
#include "tools/Problem.h"

#include <QByteArray>
#include <QMap>
#include <QMutex>

#include <memory>

namespace TiffJoin {
struct FileChannel;
}

// Joins single-page TIFFs, as they finish in any order, into one multi-page file in page order, copying each
// page's directory and compressed strips as they stand. Only the pages waiting for an earlier one are held in
// memory, so a long run does not grow. A file that would pass what a classic TIFF holds (4 GiB) becomes a
// BigTIFF. The file appears under its name only when commit() succeeds; until then an old file of that name
// stays as it was. While one run writes the file, another run writing the same one is refused.
// Safe to call from several threads.
class MultiPageTiff
{
public:
    static constexpr qint64 ClassicLimit = 0xffffffffLL;

    // classicLimit: the size past which the file is written as a BigTIFF.
    explicit MultiPageTiff(const QString &path, qint64 classicLimit = ClassicLimit);
    ~MultiPageTiff();

    // Claims the file before any page is rendered; add() does so itself otherwise.
    Problem open();
    // The page at position index of the run, a TIFF of one image; empty for a page that failed.
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
    Problem append(const QByteArray &page);
    Problem openFile();
    Problem growIntoBigTiff();
    Problem closeWriter();
    DestinationFile &output() { return m_big ? *m_big : m_file; }

    mutable QMutex m_mutex;
    DestinationFile m_file;                 // holds the name while it is written, whatever it holds
    std::unique_ptr<DestinationFile> m_big; // the pages, once they outgrow a classic TIFF
    std::unique_ptr<TiffJoin::FileChannel> m_writer;
    qint64 m_classicLimit;
    QMap<int, QByteArray> m_waiting; // an empty page stands for one that failed
    int m_next = 0;                  // the index the file takes next
    int m_pages = 0;
    bool m_opened = false;
    bool m_closed = false; // committed or cancelled: late pages are dropped
    Problem m_failed;
};
