// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QTranslator>

// The program's texts and Qt's own (buttons, file dialogs, --help's headings) in the first language of the locale
// that the program speaks; English otherwise. Installed while it lives; make it before any text is made.
class Translations
{
public:
    explicit Translations(const QLocale &locale = userLocale());
    ~Translations();
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // "de", "fr", "en".
    QString language() const;

    // The system's locale, read as gettext reads it: LANGUAGE's list counts only when the locale itself is not
    // C, so that a script's LC_ALL=C gets English whatever language the desktop exports.
    static QLocale userLocale();

private:
    QTranslator m_own;
    QTranslator m_qt;
};
