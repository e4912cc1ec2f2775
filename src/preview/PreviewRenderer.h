// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/PageInfoReader.h"
#include "settings/ConversionOptions.h"
#include "tools/GhostscriptCommands.h"
#include "tools/PrivateFolder.h"
#include "tools/Problem.h"

#include <QFile>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>

class ImageObject;
struct ConversionJob;

class ProcessRunner;
struct ProcessResult;

// The least room the preview is given, in pixels a side.
constexpr int PreviewBox = 258;

struct PreviewRequest
{
    QString ghostscript;
    QString document;
    QString password;
    int page = 1;
    ConversionOptions options;         // colour depth, dither and trim
    QSize box{PreviewBox, PreviewBox}; // device pixels the preview may fill
    // What an opener found already, so that it is not asked again.
    std::optional<DocumentInfo> info;
    // The user chose to wait for a page that ran out of time before.
    bool withoutTimeLimit = false;
    // Only this part of the output, in its own pixels (the view at 100%); empty for the whole page.
    QRect region;
};

struct PreviewResult
{
    Problem problem;
    QString document;
    int page = 1; // the page shown: a page past the end falls back to the first
    DocumentInfo info;
    QSizeF trimmedPoints; // the page in points after trimming; the whole page when not trimming
    // With its alpha as the file holds it: straight, not laid on anything.
    QImage image;
    // image holds the output's own pixels, those of region, rather than the page fitted to the box.
    bool actualPixels = false;
    QRect region;
    QSize outputSize;      // of the image written for the page
    bool timedOut = false; // rendering was stopped after the time limit; asking again without one may help
};

// Counts the pages, renders one page to fit the preview box and reduces its colours, off the window's
// thread. A newer request supersedes an older one: the stale result is never reported.
class PreviewRenderer : public QObject
{
    Q_OBJECT
public:
    explicit PreviewRenderer(const ImageObject *images = nullptr, QObject *parent = nullptr);
    ~PreviewRenderer() override;

    // A page of exponential forms can keep Ghostscript busy for hours.
    static constexpr int DefaultTimeLimitMs = 60000;

    void request(const PreviewRequest &request);
    void cancel();
    // Milliseconds a render may take; 0 for no limit.
    void setTimeLimit(int ms) { m_timeLimitMs = ms; }
    int timeLimit() const { return m_timeLimitMs; }
    bool isBusy() const { return m_busy; }

signals:
    void busyChanged(bool busy);
    void finished(const PreviewResult &result);

private:
    void onInfoRead(const PageInfo &read);
    void startRender();
    void onRenderFinished(const ProcessResult &result);
    void onRenderTimedOut();
    void reduce();
    // How the page is rendered for the request: fitted to the box, or as the file is.
    RenderRequest renderRequest(const ConversionJob &job) const;
    ConversionJob outputJob() const;
    void post(const PreviewResult &result, quint64 generation);
    void fail(const Problem &problem);
    QByteArray passwordArguments() const;
    bool ensureFolder();
    void setBusy(bool busy);

    const ImageObject *m_images = nullptr;
    PageInfoReader m_infoReader;
    ProcessRunner *m_renderRunner = nullptr;
    QTimer m_renderTimer;
    int m_timeLimitMs = DefaultTimeLimitMs;
    QThreadPool m_pool;
    std::unique_ptr<PrivateFolder> m_folder;
    // The document as this request found it, open so that its info and its render read the same file.
    QFile m_document;
    QString m_link;
    std::shared_ptr<std::atomic_bool> m_cancel;
    PreviewRequest m_request;
    // What the request shows: the output's own pixels (of m_region, within m_outputSize), or the fitted page.
    bool m_actualPixels = false;
    QRect m_region;
    QSize m_outputSize;
    quint64 m_generation = 0;
    bool m_busy = false;

    // What the last requests found, so an option change only reduces the colours again.
    QString m_infoKey;
    DocumentInfo m_info;
    QString m_bitmapKey;
    QString m_bitmap;
    int m_renders = 0;
};
