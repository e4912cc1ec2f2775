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
    explicit Translations(const QLocale &locale = QLocale());
    ~Translations();
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // "de", "fr", "en".
    QString language() const;

private:
    QTranslator m_own;
    QTranslator m_qt;
};
