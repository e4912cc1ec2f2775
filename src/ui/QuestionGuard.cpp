// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/QuestionGuard.h"

QuestionGuard::Asking::Asking(QuestionGuard &guard)
    : m_guard(guard)
{
    ++m_guard.m_questions;
}

QuestionGuard::Asking::~Asking()
{
    if (--m_guard.m_questions == 0)
        m_guard.answered();
}

bool QuestionGuard::mayRequest()
{
    if (m_questions == 0)
        return true;
    m_requestWanted = true;
    return false;
}

bool QuestionGuard::mayShow(const PreviewResult &result)
{
    if (m_questions == 0)
        return true;
    m_arrived = result;
    return false;
}

void QuestionGuard::answered()
{
    std::optional<PreviewResult> arrived = std::exchange(m_arrived, std::nullopt);
    const bool requestWanted = std::exchange(m_requestWanted, false);
    if (m_closed)
        return;
    // A preview asked for meanwhile supersedes one that arrived meanwhile.
    if (requestWanted)
        emit requestDue();
    else if (arrived)
        // After the question's own code has finished with the window.
        QMetaObject::invokeMethod(
            this, [this, result = *arrived] { emit resultDue(result); }, Qt::QueuedConnection);
}
