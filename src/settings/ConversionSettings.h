// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The values derived from the user's options, which the preview and the conversion read. The options
// themselves live in the main window's controls; these follow them through the apply* calls.
struct ConversionSettings
{
    QString DitherOption;
    QString TrimOption;
    bool AntialiasFlag = false;
    bool MonochromeFlag = false;
    qint32 ColorCount = 0;

    // Black and white keeps the previous ColorCount; it is not consulted while MonochromeFlag is set.
    void applyColorDepth(int index);
    void applyDither(int checkValue);
    void applyTrim(int checkValue);
    void applyAntialias(int checkValue);
};
