// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace OutputSize {

// Pixels of a page side measured in points (pixels at 72 dpi) at the resolution the list shows.
// Wide enough for any page at 2400 dpi (a 1191-point side is 39700 pixels).
qint64 pixelsAt(const QString &resolutionText, qint32 pagePoints);

} // namespace OutputSize
