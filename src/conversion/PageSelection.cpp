// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/PageSelection.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>

#include <limits>

std::optional<PageSelection> PageSelection::parse(const QString &text, QString *error)
{
    static const QRegularExpression part(QStringLiteral("^\\s*(\\d{1,18})\\s*(-\\s*(\\d{0,18}))?\\s*$"));
    const auto fail = [error](const QString &message) -> std::optional<PageSelection> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    if (text.trimmed().isEmpty())
        return fail(
            QCoreApplication::translate("PageSelection", "A page list is wanted, for example 1,3,5-7,10- or odd."));
    PageSelection selection;
    for (const QString &piece : text.split(QLatin1Char(','))) {
        const QString word = piece.trimmed().toLower();
        if (word == QLatin1String("odd") || word == QLatin1String("even")) {
            selection.m_ranges << Range{word == QLatin1String("odd") ? 1 : 2, 0, 2};
            continue;
        }
        const QRegularExpressionMatch match = part.match(piece);
        if (!match.hasMatch())
            return fail(QCoreApplication::translate(
                            "PageSelection",
                            "\"%1\" is not a page or a range; give FIRST-LAST, FIRST-, one page, odd or even, for "
                            "example 1,3,5-7,10-.")
                            .arg(piece.trimmed()));
        const qint64 first = match.captured(1).toLongLong();
        const qint64 last = match.captured(2).isEmpty() ? first : match.captured(3).toLongLong();
        if (std::max(first, last) > std::numeric_limits<int>::max())
            return fail(QCoreApplication::translate("PageSelection", "\"%1\": no document has that many pages.")
                            .arg(piece.trimmed()));
        Range range{int(first), int(last)};
        if (range.first < 1)
            return fail(QCoreApplication::translate("PageSelection", "\"%1\": pages are numbered from 1.")
                            .arg(piece.trimmed()));
        if (!match.captured(3).isEmpty() && range.last < range.first)
            return fail(QCoreApplication::translate("PageSelection", "\"%1\": the first page comes after the last.")
                            .arg(piece.trimmed()));
        selection.m_ranges << range;
    }
    return selection;
}

QList<int> PageSelection::resolve(int pageCount, QList<Range> *missing) const
{
    // Page arithmetic runs in 64 bits: a document may claim as many pages as an int holds, and the page
    // after the last must not wrap around.
    const QList<Range> ranges = isEverything() ? QList<Range>{{1, 0}} : m_ranges;
    QSet<int> wanted;
    QList<Range> beyond;
    for (const Range &range : ranges) {
        const qint64 last = std::min<qint64>(range.last == 0 ? pageCount : range.last, pageCount);
        for (qint64 page = range.first; page <= last; page += range.step)
            wanted << int(page);
        // Every other page of a document of one page is no missing page.
        if (range.last == 0 && range.first > pageCount && range.step == 1)
            beyond << Range{range.first, range.first};
        else if (range.last != 0 && range.last > pageCount)
            beyond << Range{std::max(range.first, pageCount + 1), range.last};
    }
    QList<int> pages(wanted.begin(), wanted.end());
    std::sort(pages.begin(), pages.end());
    if (missing) {
        std::sort(beyond.begin(), beyond.end(), [](const Range &a, const Range &b) { return a.first < b.first; });
        missing->clear();
        for (const Range &range : beyond) {
            if (!missing->isEmpty() && range.first <= qint64(missing->last().last) + 1)
                missing->last().last = std::max(missing->last().last, range.last);
            else
                *missing << range;
        }
    }
    return pages;
}

QString PageSelection::text(const QList<int> &pages)
{
    QList<Range> ranges;
    for (int page : pages) {
        if (!ranges.isEmpty() && qint64(ranges.last().last) + 1 == page)
            ranges.last().last = page;
        else
            ranges << Range{page, page};
    }
    return text(ranges);
}

QString PageSelection::text(const QList<Range> &ranges, const QString &separator)
{
    QStringList parts;
    for (const Range &range : ranges)
        parts << (range.first == range.last ? QString::number(range.first)
                                            : QStringLiteral("%1-%2").arg(range.first).arg(range.last));
    return parts.join(separator);
}
