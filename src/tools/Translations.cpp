// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

using namespace Qt::Literals::StringLiterals;

Translations::Translations(const QLocale &locale)
{
    // English is a translation too: it holds the plural forms of the texts written with "(s)".
    if (m_own.load(locale, u"sheetforge"_s, u"_"_s, u":/sheetforge/i18n"_s)
        || m_own.load(u":/sheetforge/i18n/sheetforge_en.qm"_s))
        QCoreApplication::installTranslator(&m_own);
    // Qt's own in the language ours speaks, so that one window never mixes two.
    if (language() != "en"_L1
        && m_qt.load(u"qtbase_"_s + language(), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qt);
}

QLocale Translations::userLocale()
{
    QByteArray messages = qgetenv("LC_ALL");
    if (messages.isEmpty())
        messages = qgetenv("LC_MESSAGES");
    if (messages.isEmpty())
        messages = qgetenv("LANG");
    const QByteArray name = messages.split('.').constFirst().split('@').constFirst();
    return name.isEmpty() || name == "C" || name == "POSIX" ? QLocale::c() : QLocale();
}

Translations::~Translations()
{
    QCoreApplication::removeTranslator(&m_qt);
    QCoreApplication::removeTranslator(&m_own);
}

QString Translations::language() const
{
    return m_own.language().section(u'_', 0, 0);
}
