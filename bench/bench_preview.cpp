// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
// The preview renderer's times next to the bare Ghostscript runs measured in the same process, and the
// output sizes the program predicts. Run by the scripts beside this file:
//   bench_preview [--runs N] change DOC     opening, a colour depth change and a page change
//   bench_preview [--runs N] open DOC...    opening each document
//   bench_preview sizes WIDTH HEIGHT DPI... predicted pixels (points in)
#include "document/OutputSize.h"
#include "preview/PreviewRenderer.h"
#include "tools/GhostscriptCommands.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

QString g_gs;

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

[[noreturn]] void die(const QString &what)
{
    std::fprintf(stderr, "bench_preview: %s\n", qPrintable(what));
    std::exit(1);
}

// One request to its finished(), in milliseconds; a failure ends the benchmark, so no number hides one.
double timedRequest(PreviewRenderer &renderer, const PreviewRequest &request, PreviewResult *out = nullptr)
{
    QEventLoop loop;
    PreviewResult result;
    const auto connection = QObject::connect(&renderer, &PreviewRenderer::finished, &loop, [&](const PreviewResult &r) {
        result = r;
        loop.quit();
    });
    QElapsedTimer timer;
    timer.start();
    renderer.request(request);
    loop.exec();
    const double ms = timer.nsecsElapsed() / 1e6;
    QObject::disconnect(connection);
    if (!result.problem.isNone())
        die(QStringLiteral("preview of %1 page %2 failed: %3 %4")
                .arg(request.document)
                .arg(request.page)
                .arg(result.problem.message, result.problem.details));
    if (result.image.isNull() || result.page != request.page)
        die(QStringLiteral("preview of %1 page %2 came back without its image")
                .arg(request.document)
                .arg(request.page));
    if (out)
        *out = result;
    return ms;
}

double timedGs(const QStringList &arguments)
{
    QProcess gs;
    gs.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    gs.start(g_gs, arguments);
    if (!gs.waitForFinished(-1) || gs.exitStatus() != QProcess::NormalExit || gs.exitCode() != 0)
        die(QStringLiteral("gs %1 failed: %2")
                .arg(arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(gs.readAll())));
    return timer.nsecsElapsed() / 1e6;
}

QStringList infoCommand(const QString &document)
{
    return {QStringLiteral("-q"),
            QStringLiteral("-dNODISPLAY"),
            QStringLiteral("-dSAFER"),
            QStringLiteral("-dBATCH"),
            QStringLiteral("-dNOPAUSE"),
            QStringLiteral("-dPDFINFO"),
            QFileInfo(document).absoluteFilePath()};
}

// The same page at the same resolution, antialiased the same way, written where nothing reads it.
QStringList renderCommand(const QString &document, int page, int dpi, const QString &scratch)
{
    return {QStringLiteral("-q"),
            QStringLiteral("-dSAFER"),
            QStringLiteral("-dBATCH"),
            QStringLiteral("-dNOPAUSE"),
            QStringLiteral("-sDEVICE=png16m"),
            QStringLiteral("-r%1").arg(dpi),
            QStringLiteral("-dTextAlphaBits=4"),
            QStringLiteral("-dGraphicsAlphaBits=1"),
            QStringLiteral("-dFirstPage=%1").arg(page),
            QStringLiteral("-dLastPage=%1").arg(page),
            QStringLiteral("-sOutputFile=") + scratch + QStringLiteral("/bare.png"),
            QFileInfo(document).absoluteFilePath()};
}

PreviewRequest baseRequest(const QString &document)
{
    PreviewRequest request;
    request.ghostscript = g_gs;
    request.document = QFileInfo(document).absoluteFilePath();
    request.page = 1;
    request.options.colorDepth = ColorDepth::SixteenColors;
    request.options.dither = false;
    request.options.trim = false;
    return request;
}

void printLine(const char *what, double ms, const char *peerName, double peerMs)
{
    std::printf("  %-34s %9.1f ms   %-28s %9.1f ms   ratio %5.2f\n", what, ms, peerName, peerMs, ms / peerMs);
}

// The image library sets itself up on its first call; no measured run should pay for that.
void warmUp(const QString &document)
{
    PreviewRenderer renderer;
    timedRequest(renderer, baseRequest(document));
}

int change(const QString &document, int runs, const QString &scratch)
{
    warmUp(document);
    QList<double> open, colour, page, info, render;
    int dpi = 0;
    int pages = 0;
    for (int run = 0; run < runs; ++run) {
        // A fresh renderer each run, so the first request pays for counting the pages as a new document does.
        PreviewRenderer renderer;
        PreviewRequest request = baseRequest(document);
        PreviewResult first;
        open << timedRequest(renderer, request, &first);
        dpi = OutputSize::fittingDpi(first.info.pageSize(), request.box);
        pages = first.info.pageCount;
        if (pages < 2)
            die(QStringLiteral("%1 needs two pages at least").arg(document));

        request.options.colorDepth = ColorDepth::TwoHundredFiftySixColors;
        colour << timedRequest(renderer, request);
        request.page = 2;
        page << timedRequest(renderer, request);

        info << timedGs(infoCommand(document));
        render << timedGs(renderCommand(document, 1, dpi, scratch));
    }
    std::printf("preview of %s (%d pages, box 258x258 at %d dpi), median of %d runs:\n",
                qPrintable(QFileInfo(document).fileName()), pages, dpi, runs);
    printLine("open (count, render, 16 colours)", median(open), "gs -dPDFINFO + gs render",
              median(info) + median(render));
    printLine("colour depth 16 -> 256, same page", median(colour), "bare gs render of the page", median(render));
    printLine("page 1 -> 2", median(page), "bare gs render of the page", median(render));
    return 0;
}

int open(const QStringList &documents, int runs, const QString &scratch)
{
    warmUp(documents.first());
    std::printf("%-22s %6s %10s %14s %7s %13s %12s\n", "document", "pages", "open ms", "gs -dPDFINFO", "ratio",
                "gs render ms", "ratio to sum");
    for (const QString &document : documents) {
        QList<double> open, info, render;
        int pages = 0;
        for (int run = 0; run < runs; ++run) {
            PreviewRenderer renderer;
            PreviewResult first;
            const PreviewRequest request = baseRequest(document);
            open << timedRequest(renderer, request, &first);
            pages = first.info.pageCount;
            info << timedGs(infoCommand(document));
            render << timedGs(
                renderCommand(document, 1, OutputSize::fittingDpi(first.info.pageSize(), request.box), scratch));
        }
        const double o = median(open), i = median(info), r = median(render);
        std::printf("%-22s %6d %10.1f %14.1f %7.2f %13.1f %12.2f\n", qPrintable(QFileInfo(document).fileName()), pages,
                    o, i, o / i, r, o / (i + r));
    }
    std::printf("(open: a new renderer's first request; gs -dPDFINFO: all pages, in ms; gs render: page 1 at the "
                "preview's resolution; ratio to sum: open / (PDFINFO + render))\n");
    return 0;
}

int sizes(const QStringList &arguments)
{
    if (arguments.size() < 3)
        die(QStringLiteral("sizes wants WIDTH HEIGHT DPI..."));
    const QSizeF points(arguments.at(0).toDouble(), arguments.at(1).toDouble());
    for (const QString &dpiText : arguments.mid(2)) {
        const int dpi = dpiText.toInt();
        const QSize size = OutputSize::pixels(points, dpi);
        std::printf("%d %d %d\n", dpi, size.width(), size.height());
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    int runs = 5;
    if (arguments.size() >= 2 && arguments.first() == QLatin1String("--runs")) {
        runs = std::max(1, arguments.at(1).toInt());
        arguments = arguments.mid(2);
    }
    if (arguments.isEmpty())
        die(QStringLiteral("say change, open or sizes"));
    const QString mode = arguments.takeFirst();
    if (mode == QLatin1String("sizes"))
        return sizes(arguments);

    g_gs = GhostscriptLocator().locate();
    if (g_gs.isEmpty())
        die(QStringLiteral("gs is not installed"));
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        die(scratch.errorString());
    if (mode == QLatin1String("change") && arguments.size() == 1)
        return change(arguments.first(), runs, scratch.path());
    if (mode == QLatin1String("open") && !arguments.isEmpty())
        return open(arguments, runs, scratch.path());
    die(QStringLiteral("unknown mode or missing documents"));
}
