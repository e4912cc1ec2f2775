// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
// Opening documents of 10, 100 and 1000 pages and changing an option, next to the bare Ghostscript
// runs that each inspection orders, measured in the same run.
#include "MemoryRegistry.h"
#include "TestDocuments.h"
#include "preview/DocumentInspector.h"
#include "settings/ConversionSettings.h"
#include "tools/DOSOutputs.h"
#include "tools/GhostscriptLocator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class RecordingRunner : public ICommandRunner
{
public:
    QString ExecuteCommand(const QStringList &command) override
    {
        commands << command;
        return m_real.ExecuteCommand(command);
    }
    ProcessStatus lastStatus() const override { return m_real.lastStatus(); }

    QList<QStringList> commands;

private:
    DOSOutputs m_real;
};

class NullView : public IInspectionView
{
public:
    void setBusy(bool) override {}
    void rebuildPageList(int) override {}
    void showPreview(const QImage &) override {}
    void inspectionCompleted() override {}
};

// Best of `rounds` to keep a noisy shared machine's outliers out.
template <class F>
double bestSeconds(int rounds, F &&work)
{
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

double bareRuns(const QList<QStringList> &commands, const QString &scratch)
{
    DOSOutputs runner;
    return bestSeconds(3, [&] {
        for (const QStringList &command : commands) {
            runner.ExecuteCommand(command);
            QFile::remove(scratch);
        }
    });
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    setGhostscriptPath(GhostscriptLocator::LocateGhostscript(MemoryRegistry()));
    std::printf("%-6s %-14s %10s %10s %7s\n", "pages", "step", "sheetforge", "bare gs", "ratio");
    double open10 = 0;
    for (int pages : {10, 100, 1000}) {
        const QString pdf = dir.filePath(QStringLiteral("doc%1.pdf").arg(pages));
        TestDocuments::writePdf(pdf, QList<QSizeF>(pages, TestDocuments::letter()));
        ConversionSettings settings;
        settings.applyColorDepth(2);
        NullView view;
        DocumentInspector inspector(view, settings);
        RecordingRunner recorder;
        const CommandRunnerOverride useRecorder(recorder);

        const double open = bestSeconds(3, [&] { inspector.FillImageData(pdf, 1, true); });
        const QList<QStringList> openCommands = recorder.commands.mid(0, recorder.commands.size() / 3);
        recorder.commands.clear();
        settings.applyColorDepth(0);
        const double change = bestSeconds(3, [&] { inspector.FillImageData(pdf, 1, false); });
        const QList<QStringList> changeCommands = recorder.commands.mid(0, recorder.commands.size() / 3);

        const QString scratch = dir.filePath(QStringLiteral("scratch.bmp"));
        auto retarget = [&](QList<QStringList> commands) {
            for (QStringList &command : commands) {
                for (QString &arg : command) {
                    if (arg.startsWith(QLatin1String("-sOutputFile=")))
                        arg = QStringLiteral("-sOutputFile=") + scratch;
                }
            }
            return commands;
        };
        const double openGs = bareRuns(retarget(openCommands), scratch);
        const double changeGs = bareRuns(retarget(changeCommands), scratch);
        std::printf("%-6d %-14s %9.3fs %9.3fs %6.2fx\n", pages, "open", open, openGs, open / openGs);
        std::printf("%-6d %-14s %9.3fs %9.3fs %6.2fx\n", pages, "colour depth", change, changeGs, change / changeGs);
        if (pages == 10)
            open10 = open;
        else
            std::printf("%-6d %-14s %9.2fx of opening 10 pages\n", pages, "open cost", open / open10);
    }
    return 0;
}
