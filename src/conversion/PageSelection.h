// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <optional>

// The pages a command line asks for: "1,3,5-7,10-", where "10-" runs to the end, and "odd" or "even".
class PageSelection
{
public:
    struct Range
    {
        int first = 1;
        int last = 0; // 0: to the end
        int step = 1; // 2 for every other page
        bool operator==(const Range &) const = default;
    };

    // Every page.
    PageSelection() = default;
    // Nothing, and *error naming the bad part, for a list that is empty or malformed.
    static std::optional<PageSelection> parse(const QString &text, QString *error);

    bool isEverything() const { return m_ranges.isEmpty(); }
    // The pages of a document of pageCount pages, ascending, each once; *missing gets the ranges past its
    // end, merged and ascending.
    QList<int> resolve(int pageCount, QList<Range> *missing = nullptr) const;
    // Pages as Ghostscript's page list takes them, and as people read them: "1,3,5-7".
    static QString text(const QList<int> &pages);
    static QString text(const QList<Range> &ranges, const QString &separator = QStringLiteral(","));

private:
    QList<Range> m_ranges;
};
