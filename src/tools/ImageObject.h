// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/SeamOverride.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// An argument vector laid out like an ImageMagick command line; elements are text or 32-bit integers.
using ArgVector = QList<QVariant>;

// The image library's identify and convert commands.
class IImageObject
{
public:
    virtual ~IImageObject() = default;
    // The "-format" text of an identify vector; empty on failure.
    virtual QString identify(const ArgVector &args) = 0;
    // Runs a convert vector (input, options, output); false on failure.
    virtual bool convert(const ArgVector &args) = 0;
    // The library's message for the last failure.
    virtual QString lastError() const = 0;
};

// What the library receives for a vector: empty elements dropped, numbers as text, and a bare "-dither"
// given the library's default method, since ImageMagick 6.9 wants one.
QStringList toMagickArguments(const ArgVector &args);

IImageObject &imageObject();
using ImageObjectOverride = SeamOverride<IImageObject>;
