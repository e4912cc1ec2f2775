// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
// An all-pages run at the default options next to the bare Ghostscript renders and image-library calls
// that it orders, replayed without the program around them. With --resolutions: one A4 page at every
// resolution, antialiased and not, and what became of it.
#include "FakeMessageBox.h"
#include "MemoryRegistry.h"
#include "TestDocuments.h"
#include "conversion/PageConverter.h"
#include "tools/DOSOutputs.h"
#include "tools/GhostscriptCommands.h"
#include "tools/GhostscriptLocator.h"
#include "tools/MagickImageObject.h"
#include "settings/OptionLists.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Recorder : ICommandRunner, IImageObject
{
    QString ExecuteCommand(const QStringList &command) override
    {
        steps << Step{command, {}};
        return runner.ExecuteCommand(command);
    }
    ProcessStatus lastStatus() const override { return runner.lastStatus(); }
    QString identify(const ArgVector &args) override { return magick.identify(args); }
    bool convert(const ArgVector &args) override
    {
        steps << Step{{}, args};
        return magick.convert(args);
    }
    QString lastError() const override { return magick.lastError(); }

    struct Step
    {
        QStringList command;
        ArgVector vector;
    };
    QList<Step> steps;
    DOSOutputs runner;
    MagickImageObject magick;
};

ConversionJob defaultJob(const QString &pdf, const QString &destination, int pages)
{
    ConversionJob job;
    job.sourceFile = pdf;
    job.destination = destination;
    job.allPages = true;
    job.pageCount = pages;
    job.settings.applyColorDepth(2);
    job.settings.applyDither(0);
    job.settings.applyAntialias(1);
    return job;
}

int pageCount(const QString &pdf)
{
    DOSOutputs runner;
    return GhostscriptCommands::parsePageCount(runner.ExecuteCommand(GhostscriptCommands::pageCount(GhostscriptPath(), pdf)));
}

void compare(const QString &label, const QString &pdf, const QString &outFolder)
{
    const int pages = pageCount(pdf);
    Recorder recorder;
    const CommandRunnerOverride r(recorder);
    const ImageObjectOverride m(recorder);
    QElapsedTimer timer;
    timer.start();
    PageConverter().ConvertPages(defaultJob(pdf, QDir(outFolder).filePath(QStringLiteral("page.png")), pages), nullptr);
    const double program = timer.nsecsElapsed() / 1e9;

    // The same work with nothing around it: each render into a scratch bitmap, each call on it.
    const QString bitmap = QDir(outFolder).filePath(QStringLiteral("bare.png"));
    const QString image = QDir(outFolder).filePath(QStringLiteral("bare-out.png"));
    DOSOutputs runner;
    MagickImageObject magick;
    double render = 0, post = 0;
    for (Recorder::Step step : recorder.steps) {
        timer.restart();
        if (!step.command.isEmpty()) {
            for (QString &arg : step.command) {
                if (arg.startsWith(QLatin1String("-sOutputFile=")))
                    arg = QStringLiteral("-sOutputFile=") + bitmap;
            }
            runner.ExecuteCommand(step.command);
            render += timer.nsecsElapsed() / 1e9;
        } else {
            step.vector.first() = bitmap;
            step.vector.last() = image;
            magick.convert(step.vector);
            post += timer.nsecsElapsed() / 1e9;
        }
    }
    std::printf("%-24s %4d pages  sheetforge %7.2fs  bare %7.2fs (gs %6.2fs + ImageMagick %6.2fs)  ratio %.3f\n",
                qPrintable(label), pages, program, render + post, render, post, program / (render + post));
}

void resolutions(const QString &folder)
{
    const QString pdf = QDir(folder).filePath(QStringLiteral("a4.pdf"));
    TestDocuments::writePdf(pdf, {TestDocuments::a4()});
    FakeMessageBox box; // collects what the user would be told
    for (int antialias : {0, 1}) {
        for (const QString &dpi : OptionLists::ResolutionList()) {
            ConversionJob job = defaultJob(pdf, QDir(folder).filePath(QStringLiteral("a4.png")), 1);
            job.allPages = false;
            job.resolution = dpi;
            job.settings.applyAntialias(antialias);
            box.messages.clear();
            QFile::remove(job.destination);
            QElapsedTimer timer;
            timer.start();
            const ConversionResult result = PageConverter().ConvertPages(job, nullptr);
            const double seconds = timer.nsecsElapsed() / 1e9;
            const QString outcome = result.written.isEmpty()
                ? QStringLiteral("told: ") + box.messages.value(0).section(QLatin1Char('\n'), 1, 1).left(110)
                : QStringLiteral("%1x%2").arg(TestDocuments::imageSize(job.destination).width()).arg(
                      TestDocuments::imageSize(job.destination).height());
            std::printf("A4 %5s dpi antialias %d  %7.1fs  %s\n", qPrintable(dpi), antialias, seconds, qPrintable(outcome));
            std::fflush(stdout);
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setGhostscriptPath(GhostscriptLocator::LocateGhostscript(MemoryRegistry()));
    QTemporaryDir folder;
    if (app.arguments().contains(QStringLiteral("--resolutions"))) {
        resolutions(folder.path());
        return 0;
    }
    const QString generated = folder.filePath(QStringLiteral("generated.pdf"));
    TestDocuments::writePdf(generated, QList<QSizeF>(30, TestDocuments::letter()));
    compare(QStringLiteral("generated, 30 pages"), generated, folder.path());
    for (const QString &real : app.arguments().mid(1))
        compare(QFileInfo(real).fileName(), real, folder.path());
    return 0;
}
