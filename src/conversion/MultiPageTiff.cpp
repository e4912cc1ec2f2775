// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/MultiPageTiff.h"

#include <QCoreApplication>

#include <QtEndian>

namespace {

enum Tag : quint16 {
    StripOffsets = 273,
    FreeOffsets = 288,
    SubIfds = 330,
    TileOffsets = 324,
    JpegInterchange = 513,
    ExifIfd = 34665,
    GpsIfd = 34853,
    InteropIfd = 40965,
};

int typeSize(quint16 type)
{
    switch (type) {
    case 1: // BYTE
    case 2: // ASCII
    case 6: // SBYTE
    case 7: // UNDEFINED
        return 1;
    case 3: // SHORT
    case 8: // SSHORT
        return 2;
    case 4:  // LONG
    case 9:  // SLONG
    case 11: // FLOAT
    case 13: // IFD
        return 4;
    case 5:  // RATIONAL
    case 10: // SRATIONAL
    case 12: // DOUBLE
        return 8;
    default:
        return 0;
    }
}

quint32 read32(const QByteArray &data, qint64 at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

quint16 read16(const QByteArray &data, qint64 at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

void write32(QByteArray &data, qint64 at, quint32 value)
{
    qToLittleEndian(value, data.data() + at);
}

Problem badPage(const QString &why)
{
    return Problem::make(Problem::PageFailed, QStringLiteral("TIFF page: ") + why);
}

// Moves every offset in a one-page TIFF by delta, as if its bytes from 8 on began at 8 + delta.
// Returns the directory's position in the moved page, or a problem.
std::variant<qint64, Problem> relocate(QByteArray &page, qint64 delta)
{
    if (page.size() < 8 || !page.startsWith("II*\0"))
        return badPage(QStringLiteral("not a little-endian TIFF"));
    const qint64 ifd = read32(page, 4);
    if (ifd < 8 || ifd + 2 > page.size())
        return badPage(QStringLiteral("directory out of bounds"));
    const int entries = read16(page, ifd);
    if (ifd + 2 + entries * 12 + 4 > page.size())
        return badPage(QStringLiteral("directory out of bounds"));
    if (read32(page, ifd + 2 + entries * 12) != 0)
        return badPage(QStringLiteral("more than one image"));
    for (int i = 0; i < entries; ++i) {
        const qint64 entry = ifd + 2 + i * 12;
        const quint16 tag = read16(page, entry);
        const quint16 type = read16(page, entry + 2);
        const qint64 count = read32(page, entry + 4);
        if (tag == SubIfds || tag == ExifIfd || tag == GpsIfd || tag == InteropIfd)
            return badPage(QStringLiteral("nested directory %1").arg(tag));
        const qint64 bytes = count * typeSize(type);
        qint64 values = entry + 8; // where the values sit: in the entry, or where it points
        if (bytes > 4) {
            values = read32(page, entry + 8);
            if (values < 8 || values + bytes > page.size())
                return badPage(QStringLiteral("values of tag %1 out of bounds").arg(tag));
            write32(page, entry + 8, quint32(values + delta));
        }
        const bool offsets = tag == StripOffsets || tag == TileOffsets || tag == FreeOffsets || tag == JpegInterchange;
        if (!offsets)
            continue;
        for (qint64 k = 0; k < count; ++k) {
            if (type == 4) {
                write32(page, values + 4 * k, quint32(read32(page, values + 4 * k) + delta));
            } else if (type == 3) {
                const qint64 moved = read16(page, values + 2 * k) + delta;
                if (moved > 0xffff)
                    return badPage(QStringLiteral("short offsets"));
                qToLittleEndian(quint16(moved), page.data() + values + 2 * k);
            } else {
                return badPage(QStringLiteral("offsets of type %1").arg(type));
            }
        }
    }
    return ifd + delta;
}

} // namespace

MultiPageTiff::MultiPageTiff(const QString &path)
    : m_file(path, DestinationFile::Temporary::Exclusive)
{}

Problem MultiPageTiff::open()
{
    const QMutexLocker lock(&m_mutex);
    if (m_failed.isNone() && !m_opened)
        m_failed = openFile();
    return m_failed;
}

Problem MultiPageTiff::openFile()
{
    const Problem problem = m_file.open();
    if (!problem.isNone())
        return problem;
    m_opened = true;
    // The header; its link to the first directory is filled in with the first page.
    return m_file.write(QByteArray("II*\0\0\0\0\0", 8));
}

Problem MultiPageTiff::add(int index, const QByteArray &page)
{
    const QMutexLocker lock(&m_mutex);
    if (!m_failed.isNone() || m_closed)
        return m_failed;
    m_waiting.insert(index, page);
    return appendReady();
}

int MultiPageTiff::pageCount() const
{
    const QMutexLocker lock(&m_mutex);
    return m_pages;
}

int MultiPageTiff::waiting() const
{
    const QMutexLocker lock(&m_mutex);
    return int(m_waiting.size());
}

Problem MultiPageTiff::failure() const
{
    const QMutexLocker lock(&m_mutex);
    return m_failed;
}

Problem MultiPageTiff::appendReady()
{
    while (!m_waiting.isEmpty() && m_waiting.firstKey() == m_next) {
        const QByteArray page = m_waiting.take(m_next++);
        if (page.isEmpty())
            continue;
        m_failed = append(page);
        if (!m_failed.isNone())
            return m_failed;
    }
    return {};
}

Problem MultiPageTiff::append(QByteArray page)
{
    if (!m_opened) {
        const Problem opened = openFile();
        if (!opened.isNone())
            return opened;
    }
    // Writing on into a file whose folder is gone would succeed until the very end.
    const Problem gone = m_file.checkFolder();
    if (!gone.isNone())
        return gone;
    // Offsets are to word boundaries.
    if (m_file.size() % 2 != 0) {
        const Problem padded = m_file.write(QByteArray(1, '\0'));
        if (!padded.isNone())
            return padded;
    }
    const qint64 start = m_file.size();
    if (start + page.size() > 0xffffffffLL) {
        Problem problem = Problem::make(Problem::TooLarge);
        problem.message = QCoreApplication::translate(
            "MultiPageTiff", "The TIFF file would pass 4 GiB, the most a TIFF file holds. "
                             "Convert fewer pages into one file, or choose a lower resolution.");
        return problem;
    }
    const std::variant<qint64, Problem> moved = relocate(page, start - 8);
    if (const Problem *problem = std::get_if<Problem>(&moved))
        return *problem;
    const qint64 ifd = std::get<qint64>(moved);
    QByteArray link(4, '\0');
    write32(link, 0, quint32(ifd));
    Problem written = m_file.write(page.mid(8));
    if (written.isNone())
        written = m_file.writeAt(m_nextPointer, link);
    if (!written.isNone())
        return written;
    m_nextPointer = ifd + 2 + read16(page, ifd - start + 8) * 12;
    ++m_pages;
    return {};
}

Problem MultiPageTiff::commit()
{
    const QMutexLocker lock(&m_mutex);
    m_closed = true;
    if (!m_failed.isNone() || m_pages == 0) {
        m_file.discard();
        return m_failed;
    }
    return m_file.commit();
}

void MultiPageTiff::cancel()
{
    const QMutexLocker lock(&m_mutex);
    m_closed = true;
    m_file.discard();
}
