// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeImageObject.h"

#include <QImage>

QString FakeImageObject::identify(const ArgVector &args)
{
    ++identifyCount;
    return args.value(1).toString() == QLatin1String("%w") ? width : height;
}

bool FakeImageObject::convert(const ArgVector &args)
{
    converts << args;
    if (onConvert)
        return onConvert(args);
    // Like the library: the output exists afterwards.
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image.save(args.constLast().toString(), "PNG");
}
