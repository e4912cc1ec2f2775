// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionEngine.h"

#include "conversion/PageWriter.h"
#include "tools/GhostscriptCommands.h"
#include "tools/ImageObject.h"
#include "tools/Logging.h"
#include "tools/PrivateFolder.h"
#include "tools/ProcessRunner.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {
const ImageObject &realImages()
{
    static const ImageObject images;
    return images;
}
} // namespace

ConversionEngine::ConversionEngine(const ImageObject *images, ProcessRunner *runner, QObject *parent)
    : QObject(parent)
    , m_images(images ? images : &realImages())
    , m_runner(runner ? runner : new ProcessRunner(this))
{
    // Set up on this thread: the library's start reads the environment, which workers must not race.
    ImageObject::initialise();
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    connect(m_runner, &ProcessRunner::outputReceived, this, &ConversionEngine::onOutput);
    connect(m_runner, &ProcessRunner::finished, this, &ConversionEngine::onRenderFinished);
}

ConversionEngine::~ConversionEngine()
{
    if (m_cancel)
        *m_cancel = true;
    m_runner->disconnect(this);
    m_runner->cancel();
    m_pool.waitForDone();
}

void ConversionEngine::start(const ConversionJob &job)
{
    if (m_running)
        return;
    m_job = job;
    m_result = {};
    m_partialLine.clear();
    m_handedOn.clear();
    m_renderingPage = 0;
    m_inFlight = 0;
    m_done = 0;
    m_running = true;
    m_rendering = false;
    m_cancel = std::make_shared<std::atomic_bool>(false);
    emit progressChanged(0, job.pagesInRun());

    Problem problem = GhostscriptCommands::checkDocument(job.ghostscript, job.options.sourceFile);
    if (problem.isNone())
        problem = PageWriter::checkWritable(QFileInfo(job.outputFileName(job.firstPage)).absolutePath());
    if (problem.isNone()) {
        m_work = std::make_unique<PrivateFolder>();
        if (!m_work->isValid())
            problem = Problem::make(Problem::TemporaryFolderFull, m_work->errorString());
    }
    RenderRequest request;
    request.document = job.options.sourceFile;
    request.outputFolder = m_work ? m_work->path() : QString();
    request.firstPage = job.firstPage;
    request.lastPage = job.lastPage;
    request.dpi = job.options.dpi;
    request.downscaleTwice = job.options.antialias;
    if (problem.isNone() && !job.password.isEmpty()) {
        request.passwordFile = GhostscriptCommands::writePasswordFile(m_work->path(), job.password);
        if (request.passwordFile.isEmpty())
            problem = Problem::make(Problem::TemporaryFolderFull);
    }
    if (!problem.isNone()) {
        m_result.fatal = problem;
        // Reported from the event loop, so the caller always hears of it after start() returns.
        QMetaObject::invokeMethod(this, &ConversionEngine::finishIfDone, Qt::QueuedConnection);
        return;
    }
    m_rendering = true;
    m_runner->start(job.ghostscript, GhostscriptCommands::renderArguments(request));
}

void ConversionEngine::cancel()
{
    if (!m_running || m_result.cancelled)
        return;
    m_result.cancelled = true;
    *m_cancel = true;
    m_runner->cancel();
    finishIfDone();
}

void ConversionEngine::onOutput(const QString &text)
{
    m_partialLine += text;
    const qsizetype end = m_partialLine.lastIndexOf(QLatin1Char('\n'));
    if (end < 0)
        return;
    const QString lines = m_partialLine.left(end + 1);
    m_partialLine.remove(0, end + 1);
    // A page's bitmap is complete once Ghostscript begins the next one.
    for (int page : GhostscriptCommands::startedPages(lines)) {
        if (m_renderingPage > 0)
            enqueue(m_renderingPage);
        m_renderingPage = page;
        if (!*m_cancel)
            emit pageStarted(page);
    }
}

void ConversionEngine::onRenderFinished(const ProcessResult &result)
{
    m_rendering = false;
    if (*m_cancel) {
        finishIfDone();
        return;
    }
    const Problem problem = GhostscriptCommands::classify(m_job.options.sourceFile, result, !m_job.password.isEmpty());
    if (!problem.isNone()) {
        stop(problem);
        return;
    }
    onOutput(QStringLiteral("\n"));
    if (m_renderingPage > 0)
        enqueue(std::exchange(m_renderingPage, 0));
    // Pages Ghostscript never began: past the end of a shrunken document, or skipped over an error.
    if (m_handedOn.isEmpty()) {
        stop(Problem::make(Problem::GhostscriptFailed, GhostscriptCommands::details(result.output)));
        return;
    }
    for (int page = m_job.firstPage; page <= m_job.lastPage; ++page) {
        if (!m_handedOn.contains(page))
            onPageDone(page, Problem::make(Problem::PageFailed, GhostscriptCommands::details(result.output)), false);
    }
    finishIfDone();
}

void ConversionEngine::enqueue(int page)
{
    m_handedOn << page;
    const QString bitmap = GhostscriptCommands::bitmapPath(m_work->path(), page - m_job.firstPage + 1);
    if (QFileInfo(bitmap).size() <= 0) {
        onPageDone(page, Problem::make(Problem::PageFailed), false);
        return;
    }
    ++m_inFlight;
    updatePause();
    const auto job = std::make_shared<const ConversionJob>(m_job);
    m_pool.start([this, run = m_run, job, page, bitmap, images = m_images, cancel = m_cancel] {
        const Problem problem = PageWriter::process(*job, page, bitmap, *images, *cancel);
        QFile::remove(bitmap);
        QMetaObject::invokeMethod(
            this,
            [this, run, page, problem] {
                // A worker of a cancelled run may finish its library call after the run has ended.
                if (run == m_run)
                    onPageDone(page, problem, true);
            },
            Qt::QueuedConnection);
    });
}

void ConversionEngine::onPageDone(int page, const Problem &problem, bool fromWorker)
{
    if (fromWorker)
        --m_inFlight;
    if (*m_cancel) {
        finishIfDone();
        return;
    }
    ++m_done;
    emit progressChanged(m_done, m_job.pagesInRun());
    if (problem.isNone()) {
        const QString file = m_job.outputFileName(page);
        m_result.written << file;
        qCInfo(lcConversion) << "wrote" << file;
        emit pageWritten(file);
    } else if (problem.isFatalForRun()) {
        stop(problem);
    } else {
        m_result.failures << PageFailure{page, problem};
    }
    updatePause();
    finishIfDone();
}

void ConversionEngine::stop(const Problem &fatal)
{
    if (m_result.fatal.isNone())
        m_result.fatal = fatal;
    *m_cancel = true;
    m_runner->cancel();
    finishIfDone();
}

void ConversionEngine::updatePause()
{
    // Bitmaps waiting beyond one spare per worker only fill the temporary folder.
    m_runner->setPaused(m_inFlight > m_pool.maxThreadCount() + 1);
}

void ConversionEngine::finishIfDone()
{
    // A stopped run does not wait for its workers: the one library call each may still be in cannot be
    // interrupted everywhere, and their results are dropped. The bitmaps they read are unlinked, not gone.
    if (!m_running || m_rendering || (m_inFlight > 0 && !*m_cancel))
        return;
    m_running = false;
    ++m_run;
    m_work.reset();
    std::sort(m_result.written.begin(), m_result.written.end());
    std::sort(m_result.failures.begin(), m_result.failures.end(),
              [](const PageFailure &a, const PageFailure &b) { return a.page < b.page; });
    emit finished(m_result);
}
