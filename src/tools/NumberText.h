// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace NumberText {

// The leading number of a text: blanks skipped, digits with at most one "." (whatever the locale),
// reading stops at the first other character; 0 when there is none.
double leadingNumber(const QString &text);
// Nearest integer, halves to the even neighbour.
qint64 roundHalfEven(double value);
// A whole decimal number and nothing else (surrounding blanks allowed) within [min, max].
bool parseInteger(const QString &text, qint64 min, qint64 max, qint64 *value);

} // namespace NumberText
