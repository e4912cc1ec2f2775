// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QUrl;

// What the program hands to the desktop: a folder for the file manager. Tests put a recorder in its place.
class Desktop
{
public:
    virtual ~Desktop() = default;
    // False when no application took the URL.
    virtual bool openUrl(const QUrl &url);

    static Desktop &current();

    // Puts a desktop in place of the current one for its own lifetime.
    class Override
    {
    public:
        explicit Override(Desktop &desktop);
        ~Override();
        Override(const Override &) = delete;
        Override &operator=(const Override &) = delete;

    private:
        Desktop *m_previous;
    };

private:
    static Desktop *s_current;
};
