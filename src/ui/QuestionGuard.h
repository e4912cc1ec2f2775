// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "preview/PreviewRenderer.h"

#include <QObject>

#include <optional>

// Holds previews back while the window asks the user something: a preview failing meanwhile would stack a
// second box on the first. When the question is answered, a preview asked for meanwhile is requested;
// otherwise the last result that arrived is delivered.
class QuestionGuard : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Previews wait while one of these lives.
    class Asking
    {
    public:
        explicit Asking(QuestionGuard &guard);
        ~Asking();
        Asking(const Asking &) = delete;
        Asking &operator=(const Asking &) = delete;

    private:
        QuestionGuard &m_guard;
    };

    // False while asking: the request is made again once the question is answered.
    bool mayRequest();
    // False while asking: the result is kept and delivered once the question is answered.
    bool mayShow(const PreviewResult &result);
    // Nothing held back is delivered any more.
    void close() { m_closed = true; }

signals:
    void requestDue();
    void resultDue(const PreviewResult &result);

private:
    void answered();

    int m_questions = 0;
    bool m_closed = false;
    bool m_requestWanted = false;
    std::optional<PreviewResult> m_arrived;
};
