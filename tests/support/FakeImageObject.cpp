// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeImageObject.h"

QString FakeImageObject::identify(const ArgVector &args)
{
    ++identifyCount;
    return args.value(1).toString() == QLatin1String("%w") ? width : height;
}

bool FakeImageObject::convert(const ArgVector &args)
{
    converts << args;
    return onConvert ? onConvert(args) : true;
}
