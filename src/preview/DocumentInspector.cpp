// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/DocumentInspector.h"

#include "preview/PreviewImage.h"
#include "settings/ConversionSettings.h"
#include "tools/CommandRunner.h"
#include "tools/GhostscriptCommands.h"
#include "tools/GhostscriptLocator.h"
#include "tools/ImageObject.h"
#include "tools/NumberText.h"
#include "tools/PathHelpers.h"
#include "ui/MessageBox.h"

#include <QFile>

namespace {

const QString ReadErrorPrefix = QStringLiteral("Error reading file:\n");

// Removes the inspection's bitmap and its preview copy on every way out.
struct TempFileGuard
{
    QString path;
    ~TempFileGuard()
    {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral(".bmp"));
    }
};

struct BusyGuard
{
    IInspectionView &view;
    explicit BusyGuard(IInspectionView &v) : view(v) { view.setBusy(true); }
    ~BusyGuard() { view.setBusy(false); }
};

// The captured output, with what the bare text cannot show.
QString withStatus(const QString &output, const ProcessStatus &status)
{
    return status.isCleanExit() ? output : output + QLatin1Char('\n') + QStringLiteral("Ghostscript: ") + status.describe();
}

} // namespace

DocumentInspector::DocumentInspector(IInspectionView &view, const ConversionSettings &settings)
    : m_view(view)
    , m_settings(settings)
{
}

void DocumentInspector::FillImageData(const QString &FileName, qint32 PageNum, bool init)
{
    if (FileName.isEmpty())
        return;
    BusyGuard busy(m_view);
    ++m_started;
    // Users name PDFs in any case; what matters is that the name ends in "pdf".
    if (!FileName.endsWith(QLatin1String("pdf"), Qt::CaseInsensitive)) {
        messageBox().inform(QStringLiteral("The file does not have a pdf extension"));
        return;
    }
    if (GhostscriptPath().isEmpty()) {
        messageBox().inform(QStringLiteral("GhostScript has not been found on your system. This utility is "
                                           "required to be able to process pdf files"));
        return;
    }
    TempFileGuard bitmap{PathHelpers::CreateTempFileName()};
    if (bitmap.path.isEmpty()) {
        reportReadError(QStringLiteral("No temporary file could be created in the temporary folder."));
        return;
    }
    inspect(FileName, PageNum, init, bitmap.path);
}

void DocumentInspector::inspect(const QString &FileName, qint32 PageNum, bool init, const QString &bitmap)
{
    ICommandRunner &runner = commandRunner();
    const QString output =
        runner.ExecuteCommand(GhostscriptCommands::previewRender(GhostscriptPath(), bitmap, PageNum, FileName));
    const ProcessStatus status = runner.lastStatus();
    if (status.outcome == ProcessStatus::NotStarted)
        return; // the runner has told the user
    const bool failed = !GhostscriptCommands::renderSucceeded(output, status, bitmap);
    // A remembered page may lie past the end of a document that has since shrunk.
    if (failed && init && PageNum != 1 && status.isCleanExit()
        && output.contains(QLatin1String("Requested FirstPage is greater")))
        return inspect(FileName, 1, init, bitmap);
    if (failed) {
        reportReadError(withStatus(output, status));
        return;
    }

    if (init) {
        const QString countOutput =
            runner.ExecuteCommand(GhostscriptCommands::pageCount(GhostscriptPath(), FileName));
        const int count = GhostscriptCommands::parsePageCount(countOutput);
        if (count <= 0) {
            reportReadError(withStatus(countOutput, runner.lastStatus()));
            return;
        }
        const int startedBefore = m_started;
        m_view.rebuildPageList(count);
        // Selecting the first page inspected page 1 already; this page's bitmap is no longer wanted.
        if (m_started != startedBefore)
            return;
    }

    QSize untrimmed;
    if (!m_settings.TrimOption.isEmpty()) {
        untrimmed = QSize(measure(QStringLiteral("%w"), bitmap), measure(QStringLiteral("%h"), bitmap));
        if (!imageObject().convert({bitmap, QStringLiteral("-trim"), bitmap})) {
            reportReadError(imageObject().lastError());
            return;
        }
    }
    const int width = measure(QStringLiteral("%w"), bitmap);
    const int height = measure(QStringLiteral("%h"), bitmap);
    if (width <= 0 || height <= 0) {
        reportReadError(imageObject().lastError());
        return;
    }
    m_pageWidthPx = width;
    m_pageHeightPx = height;

    QString error;
    const QImage preview = PreviewImage::make(bitmap, m_settings, untrimmed, QSize(width, height), &error);
    if (preview.isNull()) {
        reportReadError(error);
        return;
    }
    m_view.showPreview(preview);
    m_view.inspectionCompleted();
}

int DocumentInspector::measure(const QString &format, const QString &bitmap)
{
    const QString text = imageObject().identify({QStringLiteral("-format"), format, bitmap});
    return int(NumberText::roundHalfEven(NumberText::leadingNumber(text)));
}

void DocumentInspector::reportReadError(const QString &detail)
{
    messageBox().inform(ReadErrorPrefix + detail);
}
