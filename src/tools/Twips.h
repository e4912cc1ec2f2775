// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/NumberText.h"

// Window geometry is laid out in twips (1/1440 inch), at 15 twips to a pixel.
namespace Twips {

constexpr double PerPixel = 15.0;

inline int toPixels(double twips)
{
    return int(NumberText::roundHalfEven(twips / PerPixel));
}

} // namespace Twips
