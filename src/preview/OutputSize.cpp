// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/OutputSize.h"

#include "tools/NumberText.h"

namespace OutputSize {

qint64 pixelsAt(const QString &resolutionText, qint32 pagePoints)
{
    return NumberText::roundHalfEven(NumberText::leadingNumber(resolutionText) * pagePoints / 72.0);
}

} // namespace OutputSize
