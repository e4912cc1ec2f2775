// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/ConversionJob.h"

#include <QStringList>

// What an all-pages run reports to, and asks whether the user wants to stop.
class IProgressReport
{
public:
    virtual ~IProgressReport() = default;
    virtual void SetPercentage(int percent) = 0;
    virtual void SetStatus(const QString &stat) = 0;
    virtual bool Cancel() const = 0;
    virtual void setCancel(bool cancel) = 0;
};

struct ConversionResult
{
    QStringList written;
    QStringList failures; // "Page 3: why"
    bool cancelled = false;
};

// Turns pages into image files: Ghostscript renders each page, the image library makes the image, and
// the file is moved into place only when it is complete, so a failed page never damages an existing file.
class PageConverter
{
public:
    // Tells the user about every failed page at the end.
    ConversionResult ConvertPages(const ConversionJob &job, IProgressReport *progress);

private:
    QString convertPage(const ConversionJob &job, int page, const QString &workFolder);
};
