// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

struct ConversionSettings;

// What an inspection needs of the window that shows the document.
class IInspectionView
{
public:
    virtual ~IInspectionView() = default;
    virtual void setBusy(bool busy) = 0;
    // Replaces the page list by "Page 1" .. "Page count", then selects the first item as a user would,
    // which may start a nested inspection of page 1.
    virtual void rebuildPageList(int count) = 0;
    virtual void showPreview(const QImage &image) = 0;
    // The page was measured: recompute the output size and allow converting.
    virtual void inspectionCompleted() = 0;
};

// Checks a PDF, renders one page at 72 dpi, counts the pages when asked, measures (and trims) the page
// and shows the preview. Failures are told to the user here; no temporary file outlives a call.
class DocumentInspector
{
public:
    DocumentInspector(IInspectionView &view, const ConversionSettings &settings);

    void FillImageData(const QString &FileName, qint32 PageNum, bool init);

    // The page in points (pixels at 72 dpi), after trimming when trimming is on; 0 before any inspection.
    qint32 PageWidthPx() const { return m_pageWidthPx; }
    qint32 PageHeightPx() const { return m_pageHeightPx; }

private:
    void inspect(const QString &FileName, qint32 PageNum, bool init, const QString &bitmap);
    void reportReadError(const QString &detail);
    int measure(const QString &format, const QString &bitmap);

    IInspectionView &m_view;
    const ConversionSettings &m_settings;
    qint32 m_pageWidthPx = 0;
    qint32 m_pageHeightPx = 0;
    int m_started = 0; // inspections begun, to notice one that ran nested inside another
};
