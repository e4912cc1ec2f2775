// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewRenderer.h"

#include "conversion/ConversionJob.h"
#include "conversion/PageWriter.h"
#include "document/OutputSize.h"
#include "tools/ImageObject.h"
#include "tools/MagickCommands.h"
#include "tools/PrivateFolder.h"
#include "tools/ProcessRunner.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>

namespace {

const ImageObject &realImages()
{
    static const ImageObject images;
    return images;
}

// A document replaced on disk under the same name must not be served from what was found before.
QString key(const PreviewRequest &request, const QString &rendering = {})
{
    const QFileInfo file(request.document);
    return QStringList{
        request.document, QString::number(file.size()),  QString::number(file.lastModified().toMSecsSinceEpoch()),
        request.password, QString::number(request.page), rendering}
        .join(QChar(0));
}

} // namespace

PreviewRenderer::PreviewRenderer(const ImageObject *images, QObject *parent)
    : QObject(parent)
    , m_images(images ? images : &realImages())
    , m_renderRunner(new ProcessRunner(this))
    , m_cancel(std::make_shared<std::atomic_bool>(false))
{
    ImageObject::initialise();
    m_pool.setMaxThreadCount(1);
    connect(&m_infoReader, &PageInfoReader::finished, this, &PreviewRenderer::onInfoRead);
    connect(m_renderRunner, &ProcessRunner::finished, this, &PreviewRenderer::onRenderFinished);
    m_renderTimer.setSingleShot(true);
    connect(&m_renderTimer, &QTimer::timeout, this, &PreviewRenderer::onRenderTimedOut);
}

PreviewRenderer::~PreviewRenderer()
{
    *m_cancel = true;
    m_pool.waitForDone();
}

void PreviewRenderer::request(const PreviewRequest &request)
{
    cancel();
    m_request = request;
    setBusy(true);
    Problem problem = GhostscriptCommands::checkDocument(request.ghostscript, request.document, &m_document);
    if (problem.isNone() && !request.password.isEmpty() && !GhostscriptCommands::passwordArguments(request.password))
        problem = Problem::make(Problem::UnusablePassword);
    if (!problem.isNone()) {
        fail(problem);
        return;
    }
    if (!ensureFolder())
        return;
    m_link = GhostscriptCommands::linkDocument(m_folder->path(), m_document);
    if (m_link.isEmpty()) {
        fail(PrivateFolder::full());
        return;
    }
    if (request.info) {
        m_info = *request.info;
        m_infoKey = key(m_request);
    }
    if (m_infoKey == key(m_request))
        startRender();
    else
        m_infoReader.read(request.ghostscript, request.document, m_link, request.page, request.password);
}

void PreviewRenderer::cancel()
{
    ++m_generation;
    *m_cancel = true;
    m_cancel = std::make_shared<std::atomic_bool>(false);
    m_infoReader.cancel();
    m_renderTimer.stop();
    m_renderRunner->cancel();
    setBusy(false);
}

QByteArray PreviewRenderer::passwordArguments() const
{
    return m_request.password.isEmpty()
               ? QByteArray()
               : GhostscriptCommands::passwordArguments(m_request.password).value_or(QByteArray());
}

bool PreviewRenderer::ensureFolder()
{
    if (!m_folder)
        m_folder = std::make_unique<PrivateFolder>();
    if (m_folder->isValid())
        return true;
    fail(m_folder->problem());
    m_folder.reset();
    return false;
}

void PreviewRenderer::onInfoRead(const PageInfo &read)
{
    if (!read.problem.isNone()) {
        fail(read.problem);
        return;
    }
    m_request.page = read.page;
    m_info = read.info;
    m_infoKey = key(m_request);
    startRender();
}

ConversionJob PreviewRenderer::outputJob() const
{
    ConversionJob job;
    job.options = m_request.options;
    // The window reads PNG, GIF and JPEG; a TIFF holds the same pixels as a PNG, and so does a lossless WebP.
    // A CMYK page is shown in the screen's colours: as a PNG, through its profile.
    if (job.options.format == ImageFormat::Tiff || job.options.format == ImageFormat::Webp || job.options.isCmyk())
        job.options.format = ImageFormat::Png;
    job.ghostscript = m_request.ghostscript;
    job.pageSize = m_info.pageSize(job.options.pageBox);
    job.legacyInterpreter = m_info.legacyInterpreter;
    job.printIntent = m_info.printIntent;
    return job;
}

RenderRequest PreviewRenderer::renderRequest(const ConversionJob &job) const
{
    RenderRequest render;
    render.document = m_link;
    render.firstPage = render.lastPage = m_request.page;
    render.withPassword = !m_request.password.isEmpty();
    render.legacyInterpreter = m_info.legacyInterpreter;
    render.alpha = job.keepsTransparency();
    job.applyDrawingTo(render);
    if (m_actualPixels) {
        // As the conversion renders the page.
        render.dpi = job.renderDpi();
        render.antialias = job.options.antialias;
        // Only the part in view, where its pixels lie where the whole page's do: neither trimmed nor scaled.
        if (!m_request.region.isEmpty() && !job.options.trim && !job.options.usesBox()) {
            render.region = m_region;
            render.pagePoints = job.pageSize;
        }
    } else {
        render.dpi = OutputSize::fittingDpi(job.pageSize, m_request.box);
        render.antialias = true;
    }
    return render;
}

void PreviewRenderer::startRender()
{
    const ConversionJob job = outputJob();
    m_outputSize = OutputSize::written(job.options, job.pageSize);
    const QRect whole(QPoint(), m_outputSize);
    const QRect region = m_request.region.intersected(whole);
    m_region = region.isEmpty() ? whole : region;
    // An output that fits the box is shown as its own pixels, so that a small one looks as coarse as it is.
    m_actualPixels =
        !m_request.region.isEmpty()
        || (m_outputSize.width() <= m_request.box.width() && m_outputSize.height() <= m_request.box.height());
    RenderRequest render = renderRequest(job);
    if (m_actualPixels && render.region.isEmpty()) {
        const Problem tooLarge = job.checkSize(m_images->room());
        if (!tooLarge.isNone()) {
            fail(tooLarge);
            return;
        }
    }
    // Whatever Ghostscript is told decides the bitmap.
    const QString bitmapKey = key(m_request, GhostscriptCommands::renderArguments(render).join(QChar(0)));
    if (bitmapKey == m_bitmapKey && QFile::exists(m_bitmap)) {
        reduce();
        return;
    }
    if (!ensureFolder())
        return;
    // A reduction still reading the last bitmap keeps it open; only the name goes.
    if (!m_bitmap.isEmpty())
        QDir(QFileInfo(m_bitmap).absolutePath()).removeRecursively();
    m_bitmapKey.clear();
    // Each render gets a folder of its own, so a reduction still reading the last bitmap never sees a
    // half-written one.
    const QString folder = QDir(m_folder->path()).filePath(QStringLiteral("r%1").arg(++m_renders));
    QDir().mkpath(folder);
    render.outputFolder = folder;
    m_bitmap = GhostscriptCommands::bitmapPath(folder, 1, render.alpha);
    m_renderRunner->setProperty("bitmapKey", bitmapKey);
    m_renderRunner->setTemporaryFolder(m_folder->path());
    m_renderRunner->start(m_request.ghostscript, GhostscriptCommands::renderArguments(render), passwordArguments());
    if (m_timeLimitMs > 0 && !m_request.withoutTimeLimit)
        m_renderTimer.start(m_timeLimitMs);
}

void PreviewRenderer::onRenderTimedOut()
{
    m_renderRunner->cancel();
    PreviewResult result;
    result.problem = Problem::make(Problem::PageTimedOut);
    result.problem.message = tr("Page %1 took longer than %n second(s) to draw, so its preview was stopped.", nullptr,
                                std::max(1, m_timeLimitMs / 1000))
                                 .arg(m_request.page);
    result.timedOut = true;
    result.document = m_request.document;
    result.page = m_request.page;
    post(result, m_generation);
}

void PreviewRenderer::onRenderFinished(const ProcessResult &result)
{
    m_renderTimer.stop();
    if (result.outcome == ProcessResult::Cancelled)
        return;
    Problem problem = GhostscriptCommands::classify(m_request.document, result, !m_request.password.isEmpty());
    if (problem.isNone() && QFileInfo(m_bitmap).size() <= 0)
        problem = GhostscriptCommands::madeNothing(m_request.document, result.output);
    if (!problem.isNone()) {
        fail(problem);
        return;
    }
    m_bitmapKey = m_renderRunner->property("bitmapKey").toString();
    // Ghostscript says so only once it has drawn a page, not while counting them.
    m_info.repaired = m_info.repaired || GhostscriptCommands::wasRepaired(result.output);
    reduce();
}

void PreviewRenderer::reduce()
{
    PreviewResult base;
    base.document = m_request.document;
    base.page = m_request.page;
    base.info = m_info;
    base.trimmedPoints = m_info.pageSize(m_request.options.pageBox);
    base.actualPixels = m_actualPixels;
    base.outputSize = m_outputSize;
    base.region = m_region;
    const quint64 generation = m_generation;
    const ConversionJob job = outputJob();
    const RenderRequest render = renderRequest(job);
    if (m_actualPixels) {
        // The file's own reduction and encoding, read back.
        const bool whole = render.region.isEmpty();
        m_pool.start([this, job, whole, base, generation, bitmap = m_bitmap, images = m_images, cancel = m_cancel] {
            QByteArray encoded;
            PreviewResult result = base;
            result.problem = PageWriter::encode(job, bitmap, *images, *cancel, nullptr, &encoded);
            QImage image = QImage::fromData(encoded);
            if (result.problem.isNone() && image.isNull() && !cancel->load())
                result.problem = Problem::make(Problem::PageFailed);
            if (!image.isNull()) {
                image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
                if (whole) {
                    // Trimming decides the size only now.
                    result.outputSize = image.size();
                    if (job.options.trim)
                        result.trimmedPoints = QSizeF(image.size()) * 72.0 / job.options.dpi;
                    result.region = base.region.intersected(image.rect());
                    if (result.region.isEmpty())
                        result.region = image.rect();
                    image = image.copy(result.region);
                }
                result.image = image;
            }
            if (!cancel->load())
                post(result, generation);
        });
        return;
    }
    const ConversionOptions &options = job.options;
    const QStringList args = QStringList{GhostscriptCommands::bitmapForLibrary(m_bitmap)}
                             + MagickCommands::reduction({.options = options, .written = options.format});
    const int dpi = render.dpi;
    const bool alpha = render.alpha;
    const bool trim = options.trim;
    m_pool.start([this, args, base, dpi, trim, alpha, generation, images = m_images, cancel = m_cancel] {
        // PPM is the quickest to hand over, but has no transparency.
        const char *format = alpha ? "PNG" : "PPM";
        const ImageResult reduced =
            images->convert(args, ImageEncoding{.format = QString::fromLatin1(format)}, cancel.get());
        PreviewResult result = base;
        if (reduced.ok) {
            result.image = QImage::fromData(reduced.data, format);
            if (alpha)
                result.image = result.image.convertToFormat(QImage::Format_ARGB32);
            if (trim)
                result.trimmedPoints = QSizeF(reduced.size) * 72.0 / dpi;
        } else if (!reduced.cancelled) {
            result.problem = Problem::make(reduced.tooLarge ? Problem::TooLarge : Problem::PageFailed, reduced.error);
        }
        if (!cancel->load())
            post(result, generation);
    });
}

void PreviewRenderer::fail(const Problem &problem)
{
    PreviewResult result;
    result.problem = problem;
    result.document = m_request.document;
    result.page = m_request.page;
    post(result, m_generation);
}

void PreviewRenderer::post(const PreviewResult &result, quint64 generation)
{
    // Always through the event loop, so a caller hears of it after request() returns; a result that a
    // newer request has superseded is dropped there.
    QMetaObject::invokeMethod(
        this,
        [this, result, generation] {
            if (generation != m_generation)
                return;
            setBusy(false);
            emit finished(result);
        },
        Qt::QueuedConnection);
}

void PreviewRenderer::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}
