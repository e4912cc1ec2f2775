// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/MultiPageTiff.h"

#include <QCoreApplication>

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace TiffJoin {

// libtiff reads and writes through these, so that a page never needs a file of its own and the joined file
// is written only through its DestinationFile. Each handle keeps its own last error: several threads write
// several files at once.
struct Channel
{
    qint64 position = 0;
    QString error;
    TIFF *tiff = nullptr;

    Channel() = default;
    Channel(const Channel &) = delete;
    Channel &operator=(const Channel &) = delete;
    virtual ~Channel()
    {
        if (tiff)
            TIFFClose(tiff);
    }
    virtual qint64 size() const = 0;
    virtual tmsize_t read(void *data, tmsize_t size) = 0;
    virtual tmsize_t write(const void *data, tmsize_t size) = 0;

    bool open(const char *mode)
    {
        TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
        TIFFOpenOptionsSetErrorHandlerExtR(options, &Channel::keepError, this);
        TIFFOpenOptionsSetWarningHandlerExtR(options, &Channel::dropWarning, nullptr);
        tiff = TIFFClientOpenExt(
            "TIFF", mode, this,
            [](thandle_t channel, void *data, tmsize_t size) {
                return static_cast<Channel *>(channel)->read(data, size);
            },
            [](thandle_t channel, void *data, tmsize_t size) {
                return static_cast<Channel *>(channel)->write(data, size);
            },
            [](thandle_t channel, toff_t offset, int whence) {
                return static_cast<Channel *>(channel)->seek(offset, whence);
            },
            [](thandle_t) { return 0; },
            [](thandle_t channel) { return toff_t(static_cast<Channel *>(channel)->size()); },
            [](thandle_t, void **, toff_t *) { return 0; }, [](thandle_t, void *, toff_t) {}, options);
        TIFFOpenOptionsFree(options);
        return tiff != nullptr;
    }

private:
    toff_t seek(toff_t offset, int whence)
    {
        const qint64 base = whence == SEEK_CUR ? position : whence == SEEK_END ? size() : 0;
        position = base + qint64(offset);
        return toff_t(position);
    }

    static int keepError(TIFF *, void *channel, const char *, const char *format, va_list arguments)
    {
        char text[512];
        std::vsnprintf(text, sizeof text, format, arguments);
        static_cast<Channel *>(channel)->error = QString::fromLocal8Bit(text);
        return 1;
    }

    static int dropWarning(TIFF *, void *, const char *, const char *, va_list) { return 1; }
};

// One page, as the image library wrote it.
struct PageReader : Channel
{
    explicit PageReader(const QByteArray &page)
        : data(page)
    {}
    qint64 size() const override { return data.size(); }
    tmsize_t read(void *into, tmsize_t size) override
    {
        const qint64 count = std::clamp<qint64>(data.size() - position, 0, size);
        std::memcpy(into, data.constData() + position, size_t(count));
        position += count;
        return tmsize_t(count);
    }
    tmsize_t write(const void *, tmsize_t) override { return -1; }

    const QByteArray data;
};

// The joined file. A write that fails keeps why: a full disk, a folder gone.
struct FileChannel : Channel
{
    explicit FileChannel(DestinationFile &destination)
        : file(destination)
    {}
    qint64 size() const override { return file.size(); }
    tmsize_t read(void *into, tmsize_t size) override
    {
        const qint64 count = file.readAt(position, static_cast<char *>(into), size);
        position += std::max<qint64>(count, 0);
        return tmsize_t(count);
    }
    tmsize_t write(const void *from, tmsize_t size) override
    {
        const Problem written =
            file.writeAt(position, QByteArray::fromRawData(static_cast<const char *>(from), qsizetype(size)));
        if (!written.isNone()) {
            if (problem.isNone())
                problem = written;
            return -1;
        }
        position += size;
        return size;
    }

    DestinationFile &file;
    Problem problem;
};

} // namespace TiffJoin

namespace {

using TiffJoin::Channel;
using TiffJoin::FileChannel;
using TiffJoin::PageReader;

Problem badPage(const QString &why)
{
    return Problem::make(Problem::PageFailed, QCoreApplication::translate("MultiPageTiff", "TIFF page: %1").arg(why));
}

template <typename T>
void copyField(TIFF *from, TIFF *to, ttag_t tag)
{
    T value{};
    if (TIFFGetField(from, tag, &value))
        TIFFSetField(to, tag, value);
}

// The page the reader stands on, appended to the writer's file as tiffcp copies it: its directory's fields,
// and its strips as they are compressed; marked as page index of a document whose page count is not yet known.
// Returns what went wrong, or nothing.
QString copyPage(Channel &from, Channel &to, int index)
{
    TIFF *in = from.tiff;
    TIFF *out = to.tiff;
    if (TIFFIsTiled(in))
        return QCoreApplication::translate("MultiPageTiff", "tiled pages are not joined");
    // Raw strips keep the byte order they were written in, which only single bytes do not have.
    uint16_t bits = 1;
    TIFFGetFieldDefaulted(in, TIFFTAG_BITSPERSAMPLE, &bits);
    if (bits > 8 && TIFFIsByteSwapped(in) != TIFFIsByteSwapped(out))
        return QCoreApplication::translate("MultiPageTiff", "%1-bit samples in the other byte order").arg(bits);
    // The compression first: the fields of its codec exist only once it is set.
    copyField<uint16_t>(in, out, TIFFTAG_COMPRESSION);
    for (const ttag_t tag :
         {TIFFTAG_IMAGEWIDTH, TIFFTAG_IMAGELENGTH, TIFFTAG_ROWSPERSTRIP, TIFFTAG_T4OPTIONS, TIFFTAG_T6OPTIONS})
        copyField<uint32_t>(in, out, tag);
    for (const ttag_t tag :
         {TIFFTAG_BITSPERSAMPLE, TIFFTAG_SAMPLESPERPIXEL, TIFFTAG_PHOTOMETRIC, TIFFTAG_FILLORDER, TIFFTAG_ORIENTATION,
          TIFFTAG_PLANARCONFIG, TIFFTAG_RESOLUTIONUNIT, TIFFTAG_PREDICTOR, TIFFTAG_SAMPLEFORMAT})
        copyField<uint16_t>(in, out, tag);
    for (const ttag_t tag : {TIFFTAG_XRESOLUTION, TIFFTAG_YRESOLUTION})
        copyField<float>(in, out, tag);
    TIFFSetField(out, TIFFTAG_SUBFILETYPE, uint32_t(FILETYPE_PAGE));
    TIFFSetField(out, TIFFTAG_PAGENUMBER, uint16_t(std::min(index, 0xffff)), uint16_t(0));
    uint16_t extraCount = 0;
    uint16_t *extra = nullptr;
    if (TIFFGetField(in, TIFFTAG_EXTRASAMPLES, &extraCount, &extra))
        TIFFSetField(out, TIFFTAG_EXTRASAMPLES, extraCount, extra);
    // A CMYK page means something only with the profile it was rendered to.
    uint32_t profileSize = 0;
    void *profile = nullptr;
    if (TIFFGetField(in, TIFFTAG_ICCPROFILE, &profileSize, &profile))
        TIFFSetField(out, TIFFTAG_ICCPROFILE, profileSize, profile);
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (TIFFGetField(in, TIFFTAG_COLORMAP, &red, &green, &blue))
        TIFFSetField(out, TIFFTAG_COLORMAP, red, green, blue);

    uint64_t *counts = nullptr;
    if (!TIFFGetField(in, TIFFTAG_STRIPBYTECOUNTS, &counts) || !counts)
        return from.error.isEmpty() ? QCoreApplication::translate("MultiPageTiff", "no strips") : from.error;
    QByteArray strip;
    for (uint32_t index = 0; index < TIFFNumberOfStrips(in); ++index) {
        if (counts[index] > uint64_t(from.size()))
            return QCoreApplication::translate("MultiPageTiff", "strip %1 out of bounds").arg(index);
        strip.resize(qsizetype(counts[index]));
        const tmsize_t read = TIFFReadRawStrip(in, index, strip.data(), tmsize_t(strip.size()));
        if (read < 0)
            return from.error;
        if (TIFFWriteRawStrip(out, index, strip.data(), read) != read)
            return to.error;
    }
    if (!TIFFWriteDirectory(out))
        return to.error;
    return {};
}

} // namespace

MultiPageTiff::MultiPageTiff(const QString &path, qint64 classicLimit)
    : m_file(path, DestinationFile::Temporary::Exclusive)
    , m_classicLimit(classicLimit)
{}

MultiPageTiff::~MultiPageTiff() = default;

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
    m_writer = std::make_unique<FileChannel>(m_file);
    if (!m_writer->open("w"))
        return m_writer->problem.isNone() ? badPage(m_writer->error) : m_writer->problem;
    return {};
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

Problem MultiPageTiff::append(const QByteArray &page)
{
    if (!m_opened) {
        const Problem opened = openFile();
        if (!opened.isNone())
            return opened;
    }
    // Writing on into a file whose folder is gone would succeed until the very end.
    const Problem gone = output().checkFolder();
    if (!gone.isNone())
        return gone;
    PageReader reader(page);
    if (!reader.open("rm"))
        return badPage(reader.error);
    if (TIFFNumberOfDirectories(reader.tiff) != 1)
        return badPage(QCoreApplication::translate("MultiPageTiff", "more than one image"));
    // A page adds its own bytes and a directory's few.
    if (!m_big && m_file.size() + page.size() + 4096 > m_classicLimit) {
        const Problem grown = growIntoBigTiff();
        if (!grown.isNone())
            return grown;
    }
    const QString error = copyPage(reader, *m_writer, m_pages);
    if (!m_writer->problem.isNone())
        return m_writer->problem;
    if (!error.isNull())
        return badPage(error);
    ++m_pages;
    return {};
}

Problem MultiPageTiff::growIntoBigTiff()
{
    // The pages so far are copied into a BigTIFF beside the classic file, which keeps the name claimed until
    // the end and is emptied once copied.
    m_writer.reset();
    auto big = std::make_unique<DestinationFile>(m_file.path());
    Problem problem = big->open();
    if (!problem.isNone())
        return problem;
    FileChannel classic(m_file);
    if (!classic.open("rm"))
        return badPage(classic.error);
    auto writer = std::make_unique<FileChannel>(*big);
    if (!writer->open("w8"))
        return writer->problem.isNone() ? badPage(writer->error) : writer->problem;
    int index = 0;
    do {
        const QString error = copyPage(classic, *writer, index++);
        if (!writer->problem.isNone())
            return writer->problem;
        if (!error.isNull())
            return badPage(error);
    } while (TIFFReadDirectory(classic.tiff));
    m_big = std::move(big);
    m_writer = std::move(writer);
    m_file.truncate();
    return {};
}

Problem MultiPageTiff::closeWriter()
{
    if (!m_writer)
        return {};
    // Closing writes whatever libtiff still holds.
    TIFFClose(std::exchange(m_writer->tiff, nullptr));
    const Problem problem = m_writer->problem;
    m_writer.reset();
    return problem;
}

Problem MultiPageTiff::commit()
{
    const QMutexLocker lock(&m_mutex);
    m_closed = true;
    const Problem closed = closeWriter();
    if (m_failed.isNone())
        m_failed = closed;
    if (!m_failed.isNone() || m_pages == 0) {
        if (m_big)
            m_big->discard();
        m_file.discard();
        return m_failed;
    }
    if (!m_big)
        return m_file.commit();
    const Problem committed = m_big->commit();
    m_file.discard();
    return committed;
}

void MultiPageTiff::cancel()
{
    const QMutexLocker lock(&m_mutex);
    m_closed = true;
    closeWriter();
    if (m_big)
        m_big->discard();
    m_file.discard();
}
