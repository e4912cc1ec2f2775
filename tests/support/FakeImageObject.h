// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ImageObject.h"

#include <QList>
#include <functional>

// Records vectors; answers identify from width/height and convert from an optional handler.
class FakeImageObject : public IImageObject
{
public:
    QString identify(const ArgVector &args) override;
    bool convert(const ArgVector &args) override;
    QString lastError() const override { return error; }

    int identifyCount = 0;
    QList<ArgVector> converts;
    QString width = QStringLiteral("612");
    QString height = QStringLiteral("792");
    std::function<bool(const ArgVector &)> onConvert;
    QString error;

private:
    ImageObjectOverride m_override{*this};
};
