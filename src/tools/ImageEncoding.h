// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// How the image library encodes the image a command made: apart from the command, so that no writer's
// setting has to be read back out of its arguments.
struct ImageEncoding
{
    QString format = {};   // the library's name: "PNG", "GIF", "JPEG", "TIFF", "WEBP", "PPM"
    int quality = -1;      // < 0 leaves the library's default
    int pngColorType = -1; // 0 gray, 2 true colour, 3 palette, 4 gray and alpha; < 0 as the library chooses
    // With transparency: our writer picks the least form that holds the colours and their alpha, the library
    // its own.
    bool pngAlpha = false;
    int pngBitDepth = 0;      // 0 as the library chooses
    QStringList defines = {}; // the writer's own settings, as -define takes them: "png:compression-level=8"
};
