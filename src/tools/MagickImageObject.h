// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ImageObject.h"

// IImageObject on MagickWand's in-process command API.
class MagickImageObject : public IImageObject
{
public:
    MagickImageObject();
    QString identify(const ArgVector &args) override;
    bool convert(const ArgVector &args) override;
    QString lastError() const override { return m_lastError; }

private:
    bool run(bool identifyCommand, const ArgVector &args, QString *text);

    QString m_lastError;
};
