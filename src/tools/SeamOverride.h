// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Holds the one program-wide replacement of a seam's real implementation. A test installs a fake for
// the lifetime of a SeamOverride; the destructor puts back what was there, so nothing leaks between tests.
template <class Interface>
class SeamOverride
{
public:
    explicit SeamOverride(Interface &fake)
        : m_previous(s_current)
    {
        s_current = &fake;
    }
    ~SeamOverride() { s_current = m_previous; }
    SeamOverride(const SeamOverride &) = delete;
    SeamOverride &operator=(const SeamOverride &) = delete;

    static Interface *current() { return s_current; }

private:
    Interface *m_previous = nullptr;
    static inline Interface *s_current = nullptr;
};
