// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageObject.h"

#include "tools/ExactPalettePng.h"
#include "tools/GrayPng.h"
#include "tools/LibraryPng.h"
#include "tools/Logging.h"
#include "tools/PrivateFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <malloc.h>
#include <optional>
#include <sys/mman.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>
#include <wand/MagickWand.h>

namespace {

// Debian's policy caps images at 16K pixels a side and 1 GiB of disk, which rules out most pages above
// 600 dpi. These limits keep the pixel cache within 1 GiB of memory and spill the rest to disk. A spill
// file is never memory-mapped: a mapped file that outgrows a full file system kills the process with SIGBUS,
// where write(2) fails with an error the library reports.
const char PrivatePolicy[] = R"(<policymap>
  <policy domain="resource" name="memory" value="1GiB"/>
  <policy domain="resource" name="map" value="0"/>
  <policy domain="resource" name="width" value="128KP"/>
  <policy domain="resource" name="height" value="128KP"/>
  <policy domain="resource" name="area" value="4GP"/>
  <policy domain="resource" name="disk" value="64GiB"/>
</policymap>
)";

// Splits a command's time by the progress the library reports: the time up to a report goes to the stage
// that reports it, since the library reports row by row while it works.
class StageClock
{
public:
    explicit StageClock(StageTimes *times)
        : m_times(times)
    {
        m_clock.start();
    }
    void report(const char *tag)
    {
        const qint64 now = m_clock.nsecsElapsed();
        *stage(tag) += double(now - m_last) / 1e9;
        m_last = now;
    }
    // The rest of the command, after its last report, goes to the stage reported last.
    void finish() { *m_current += double(m_clock.nsecsElapsed() - m_last) / 1e9; }

private:
    double *stage(const char *tag)
    {
        const QLatin1String name(tag);
        if (name.startsWith(QLatin1String("Load")))
            m_current = &m_times->reading;
        else if (name.startsWith(QLatin1String("Crop")))
            m_current = &m_times->trimming;
        else if (name.startsWith(QLatin1String("Resize")))
            m_current = &m_times->scaling;
        else if (!name.startsWith(QLatin1String("save"), Qt::CaseInsensitive))
            m_current = &m_times->reducing;
        return m_current;
    }

    StageTimes *m_times;
    double *m_current = &m_times->reading;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
};

struct MonitorContext
{
    const std::atomic_bool *cancel = nullptr;
    StageClock *clock = nullptr;
};

MagickBooleanType monitor(const char *tag, const MagickOffsetType, const MagickSizeType, void *data)
{
    const auto *context = static_cast<const MonitorContext *>(data);
    if (context->clock)
        context->clock->report(tag);
    return context->cancel && context->cancel->load() ? MagickFalse : MagickTrue;
}

QString exceptionText(const ExceptionInfo *exception)
{
    QString text = QString::fromLocal8Bit(exception->reason ? exception->reason : "");
    if (exception->description)
        text += QStringLiteral(" (") + QString::fromLocal8Bit(exception->description) + QLatin1Char(')');
    return text;
}

bool isResourceLimit(const QString &error)
{
    static const QRegularExpression limit(QStringLiteral("resources exhausted|exceeds limit|width or height exceeds|"
                                                         "memory allocation failed|no images defined"));
    return limit.match(error).hasMatch();
}

// Writes image into result as encoding says.
void encode(const ImageInfo *info, Image *image, const ImageEncoding &encoding, ExceptionInfo *exception,
            ImageResult &result)
{
    ImageInfo *blobInfo = CloneImageInfo(info);
    const QByteArray magick = encoding.format.toLatin1();
    qstrncpy(blobInfo->magick, magick.constData(), MaxTextExtent);
    qstrncpy(image->magick, magick.constData(), MaxTextExtent);
    QStringList defines = encoding.defines;
    if (encoding.pngColorType >= 0)
        defines << QStringLiteral("png:color-type=%1").arg(encoding.pngColorType);
    if (encoding.pngBitDepth > 0)
        defines << QStringLiteral("png:bit-depth=%1").arg(encoding.pngBitDepth);
    for (const QString &define : std::as_const(defines))
        DefineImageOption(blobInfo, define.toUtf8().constData());
    // The reader's properties (the bitmap's timestamp among them) would go into a PNG as text, and the writer
    // cannot leave out text and keep the colour profile.
    if (magick == "PNG")
        DestroyImageProperties(image);
    // The JPEG writer takes the image's own quality, which the reader set, over the one asked for.
    if (encoding.quality >= 0)
        blobInfo->quality = image->quality = size_t(encoding.quality);
    // The TIFF writer seeks while it writes, and into the library's memory blob a seek past the end of what it
    // has written so far fails ("IO error writing directory": 6 pages of 200 lost). Into a file it does not: one
    // in memory, with no name for the library to read formats or frame numbers ("%03d") into.
    if (magick == "TIFF") {
        const int fd = ::memfd_create("sheetforge-page", MFD_CLOEXEC);
        FILE *file = fd >= 0 ? ::fdopen(fd, "w+b") : nullptr;
        if (!file) {
            if (fd >= 0)
                ::close(fd);
            result.error = QString::fromLocal8Bit(std::strerror(errno));
        } else {
            SetImageInfoFile(blobInfo, file);
            qstrncpy(image->filename, "TIFF:page", MaxTextExtent);
            if (WriteImage(blobInfo, image) && image->exception.severity < ErrorException && std::fflush(file) == 0) {
                const off_t size = ::lseek(fd, 0, SEEK_END);
                result.data.resize(qsizetype(std::max<off_t>(size, 0)));
                result.ok = size > 0 && ::pread(fd, result.data.data(), size_t(size), 0) == ssize_t(size);
                result.size = QSize(int(image->columns), int(image->rows));
            }
            if (!result.ok) {
                InheritException(exception, &image->exception);
                result.error = exceptionText(exception);
            }
            std::fclose(file);
        }
        DestroyImageInfo(blobInfo);
        return;
    }
    size_t length = 0;
    void *blob = ImageToBlob(blobInfo, image, &length, exception);
    if (blob && length > 0 && exception->severity < ErrorException) {
        result.ok = true;
        result.data = QByteArray(static_cast<const char *>(blob), qsizetype(length));
        result.size = QSize(int(image->columns), int(image->rows));
    } else {
        result.error = exceptionText(exception);
    }
    if (blob)
        RelinquishMagickMemory(blob);
    DestroyImageInfo(blobInfo);
}

// Stops at the first pixel unlike the first, so a page with anything on it costs little.
bool isUniform(const Image *image, ExceptionInfo *exception)
{
    const PixelPacket *first = GetVirtualPixels(image, 0, 0, 1, 1, exception);
    if (!first)
        return false;
    const PixelPacket reference = *first;
    // Black ink of a CMYK image is in the index channel.
    const bool black = image->colorspace == CMYKColorspace;
    const IndexPacket *firstIndex = black ? GetVirtualIndexQueue(image) : nullptr;
    const IndexPacket referenceBlack = firstIndex ? *firstIndex : IndexPacket(0);
    const bool alpha = image->matte != MagickFalse;
    for (ssize_t y = 0; y < ssize_t(image->rows); ++y) {
        const PixelPacket *row = GetVirtualPixels(image, 0, y, image->columns, 1, exception);
        if (!row)
            return false;
        const IndexPacket *blacks = firstIndex ? GetVirtualIndexQueue(image) : nullptr;
        for (size_t x = 0; x < image->columns; ++x) {
            const PixelPacket &p = row[x];
            if (p.red != reference.red || p.green != reference.green || p.blue != reference.blue
                || (alpha && p.opacity != reference.opacity) || (blacks && blacks[x] != referenceBlack))
                return false;
        }
    }
    return true;
}

} // namespace

StageTimes &StageTimes::operator+=(const StageTimes &other)
{
    reading += other.reading;
    trimming += other.trimming;
    scaling += other.scaling;
    reducing += other.reducing;
    encoding += other.encoding;
    writing += other.writing;
    return *this;
}

namespace {

qint64 freeBytes(const QString &folder)
{
    struct statvfs info = {};
    if (folder.isEmpty() || ::statvfs(QFile::encodeName(folder).constData(), &info) != 0)
        return std::numeric_limits<qint64>::max();
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

qint64 resourceLimit(ResourceType type)
{
    const MagickSizeType limit = GetMagickResourceLimit(type);
    return limit >= MagickSizeType(std::numeric_limits<qint64>::max()) ? std::numeric_limits<qint64>::max()
                                                                       : qint64(limit);
}

} // namespace

namespace {

std::optional<ImageResult> ownPage(const std::optional<PageTiff::EncodedPage> &page)
{
    if (!page)
        return std::nullopt;
    ImageResult result;
    result.ok = true;
    result.data = page->png;
    result.size = page->size;
    result.colors = page->colours;
    result.uniform = page->uniform;
    result.times.reading = page->reading;
    result.times.encoding = page->encoding;
    return result;
}

} // namespace

std::optional<ImageResult> ImageObject::exactPalettePage(const QString &tiff, int colours, int dpi,
                                                         const std::atomic_bool *cancel) const
{
    return ownPage(ExactPalettePng::write(tiff, colours, dpi, cancel));
}

std::optional<ImageResult> ImageObject::transparentPalettePage(const QString &png, int colours, int dpi,
                                                               const std::atomic_bool *cancel) const
{
    return ownPage(ExactPalettePng::writeTransparent(png, colours, dpi, cancel));
}

std::optional<ImageResult> ImageObject::grayPage(const QString &tiff, int dpi, const std::atomic_bool *cancel) const
{
    return ownPage(GrayPng::write(tiff, dpi, cancel));
}

ImageRoom ImageObject::room() const
{
    initialise();
    // The library spills into the folder it was set up with; the run's bitmaps go to the temporary folder
    // as it is now.
    return {resourceLimit(MemoryResource), resourceLimit(DiskResource),
            std::min(freeBytes(PrivateFolder::magickFolder()), freeBytes(PrivateFolder::temporaryRoot()))};
}

QString ImageObject::libraryVersion()
{
    size_t number = 0;
    return QString::fromLatin1(GetMagickVersion(&number)).section(QLatin1Char(' '), 1, 2);
}

void ImageObject::initialise()
{
    static const bool done = [] {
        // The library reads both variables once, when it starts. Its spill files go to our private folder,
        // never to the working directory or the shared temporary folder.
        const QString folder = PrivateFolder::magickFolder();
        if (!folder.isEmpty()) {
            QFile policy(folder + QStringLiteral("/policy.xml"));
            if (policy.open(QIODevice::WriteOnly))
                policy.write(PrivatePolicy);
            const QByteArray path = QFile::encodeName(folder);
            const QByteArray inherited = qgetenv("MAGICK_CONFIGURE_PATH");
            qputenv("MAGICK_CONFIGURE_PATH", inherited.isEmpty() ? path : path + ':' + inherited);
            qputenv("MAGICK_TEMPORARY_PATH", path);
        }
        // A page's pixels take tens of megabytes, allocated and freed page by page. By default the C library
        // hands them back to the kernel each time and faults them in again for the next page, which cost a
        // third of the library's time on an A4 page at 144 dpi. Kept up to 32 MB a block, they are reused.
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
        MagickWandGenesis();
        // Pages run in parallel already; the library's own threads would oversubscribe the cores.
        SetMagickResourceLimit(ThreadResource, 1);
        return true;
    }();
    Q_UNUSED(done);
}

ImageResult ImageObject::convert(const QStringList &arguments, const ImageEncoding &encoding,
                                 const std::atomic_bool *cancel) const
{
    initialise();
    static std::atomic_int counter{0};
    // The result goes to the library's in-memory registry under a name of this call's own.
    const QByteArray registryName = "sfg" + QByteArray::number(++counter);

    std::vector<QByteArray> encoded{QByteArray("convert")};
    for (const QString &arg : arguments) {
        // The library would read "" as a file name.
        if (!arg.isEmpty())
            encoded.push_back(QFile::encodeName(arg));
    }
    encoded.push_back("mpr:" + registryName);
    std::vector<char *> argv;
    for (QByteArray &arg : encoded)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    ImageResult result;
    ImageInfo *info = AcquireImageInfo();
    ExceptionInfo *exception = AcquireExceptionInfo();
    std::optional<StageClock> clock;
    if (lcTiming().isInfoEnabled())
        clock.emplace(&result.times);
    MonitorContext context{cancel, clock ? &*clock : nullptr};
    if (cancel || clock)
        SetImageInfoProgressMonitor(info, monitor, &context);
    const MagickBooleanType ran = ConvertImageCommand(info, int(argv.size()) - 1, argv.data(), nullptr, exception);
    if (clock)
        clock->finish();
    // The writer reports its progress too; its time is taken whole.
    context.clock = nullptr;
    auto *image = static_cast<Image *>(GetImageRegistry(ImageRegistryType, registryName.constData(), exception));
    DeleteImageRegistry(registryName.constData());

    // Warnings (a grayscale PNG with an RGB profile) leave a good image; only errors count.
    if (ran == MagickFalse || !image || exception->severity >= ErrorException) {
        result.error = exceptionText(exception);
    } else if (cancel && *cancel) {
        // Encoding a large page takes seconds, and nobody wants it any more.
    } else {
        // The encoders may change the image's class: its palette is what the reduction made.
        const int colors = image->storage_class == PseudoClass ? int(image->colors) : 0;
        QElapsedTimer encodingTime;
        encodingTime.start();
        if (const std::optional<QByteArray> png = LibraryPng::write(image, encoding, cancel, exception)) {
            result.ok = !png->isEmpty();
            result.data = *png;
            result.size = QSize(int(image->columns), int(image->rows));
            if (!result.ok)
                result.error = QCoreApplication::translate("ImageObject", "the PNG could not be compressed");
        } else {
            encode(info, image, encoding, exception, result);
        }
        result.times.encoding = double(encodingTime.nsecsElapsed()) / 1e9;
        if (result.ok) {
            result.colors = colors;
            result.uniform = isUniform(image, exception);
        }
    }
    if (image)
        DestroyImage(image);
    result.cancelled = !result.ok && cancel && cancel->load();
    result.tooLarge = !result.ok && !result.cancelled && isResourceLimit(result.error);
    if (!result.ok && !result.cancelled) {
        if (result.error.isEmpty())
            result.error = QCoreApplication::translate("ImageObject", "the image library made no image");
        qCWarning(lcTools) << "ImageMagick:" << arguments << result.error;
    }
    DestroyExceptionInfo(exception);
    DestroyImageInfo(info);
    return result;
}
