// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Desktop.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

Desktop *Desktop::s_current = nullptr;

bool Desktop::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

Desktop &Desktop::current()
{
    static Desktop real;
    return s_current ? *s_current : real;
}

Desktop::Override::Override(Desktop &desktop)
    : m_previous(std::exchange(s_current, &desktop))
{}

Desktop::Override::~Override()
{
    s_current = m_previous;
}
