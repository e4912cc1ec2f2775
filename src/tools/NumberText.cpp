// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/NumberText.h"

#include <cmath>

namespace NumberText {

double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        ++i;
    bool seenDot = false;
    bool seenDigit = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            seenDigit = true;
        else if (c == QLatin1Char('.') && !seenDot)
            seenDot = true;
        else
            break;
    }
    if (!seenDigit)
        return 0.0;
    return text.mid(start, i - start).toDouble();
}

qint64 roundHalfEven(double value)
{
    return static_cast<qint64>(std::nearbyint(value)); // the default rounding mode is to nearest, ties to even
}

bool parseInteger(const QString &text, qint64 min, qint64 max, qint64 *value)
{
    bool ok = false;
    const qint64 parsed = text.trimmed().toLongLong(&ok);
    if (!ok || parsed < min || parsed > max)
        return false;
    *value = parsed;
    return true;
}

} // namespace NumberText
