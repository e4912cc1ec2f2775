// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ConversionSettings.h"
#include "tools/ImageObject.h"

#include <QString>

// Everything one run converts with, taken from the main window when the run starts; the progress
// window is modal, so nothing can change it meanwhile.
struct ConversionJob
{
    QString sourceFile;
    QString destination; // as chosen; all pages are numbered from it
    bool allPages = false;
    int currentPage = 1; // used when !allPages
    int pageCount = 1;
    QString resolution = QStringLiteral("144");
    QString imageFormat = QStringLiteral("png");
    QString compression = QStringLiteral("75");
    ConversionSettings settings;

    int firstPage() const { return allPages ? 1 : currentPage; }
    int lastPage() const { return allPages ? pageCount : currentPage; }
    // Antialiasing renders at twice the resolution.
    QString renderResolution() const;
    // Past this, the doubled bitmap outgrows what the library may hold, so Ghostscript halves it itself.
    bool downscaleInGhostscript() const;

    // The numbered output name of an all-pages run: three digits up to 999 pages, more beyond.
    QString pageFileName(int page) const;
    // The file a page is written to.
    QString outputFileName(int page) const;
    // The library's vector for one page: trim, halve, reduce colours, tag the resolution, write.
    ArgVector convertVector(const QString &bitmap, const QString &output) const;
};
