// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ConversionSettings.h"

#include <array>

void ConversionSettings::applyColorDepth(int index)
{
    static constexpr std::array<qint32, 5> counts{0, 4, 16, 256, 65536};
    MonochromeFlag = index == 0;
    if (index > 0 && index < int(counts.size()))
        ColorCount = counts[size_t(index)];
}

void ConversionSettings::applyDither(int checkValue)
{
    DitherOption = checkValue == 1 ? QStringLiteral("-dither") : QStringLiteral("+dither");
}

void ConversionSettings::applyTrim(int checkValue)
{
    TrimOption = checkValue == 1 ? QStringLiteral("-trim") : QString();
}

void ConversionSettings::applyAntialias(int checkValue)
{
    AntialiasFlag = checkValue == 1;
}
