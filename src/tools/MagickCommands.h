// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ConversionOptions.h"
#include "tools/ImageEncoding.h"

#include <QSize>
#include <QString>
#include <QStringList>

// What the image library is asked to do with one rendered page, as GhostscriptCommands takes a RenderRequest.
struct MagickRequest
{
    QString bitmap = {}; // Ghostscript's page; only for pageArguments()
    ConversionOptions options = {};
    ImageFormat written = ImageFormat::Png; // the format of the file, which decides what transparency is kept
    QSize box = {};                         // the page is scaled into it; empty for none
    int dpi = 0;                            // the resolution tag; only for pageArguments()
};

// The image library's vocabulary: the commands for a page and how its result is encoded.
namespace MagickCommands {

// Trim, scaling into the box, dither and colour reduction, with the transparency kept through them where the
// format written holds it.
QStringList reduction(const MagickRequest &request);
// The command for one page of a file: the bitmap read as what it is, the reduction, the resolution tag and the
// format's own settings.
QStringList pageArguments(const MagickRequest &request);
// How the file's page is written: format, quality and form.
ImageEncoding encoding(const MagickRequest &request);

} // namespace MagickCommands
