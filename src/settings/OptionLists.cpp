// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/OptionLists.h"

namespace OptionLists {

const QStringList &ColorDepthList()
{
    static const QStringList list{QStringLiteral("Black and White (1bpp)"), QStringLiteral("4 colors (2bpp)"),
                                  QStringLiteral("16 colors (4bpp)"), QStringLiteral("256 colors (8bpp)"),
                                  QStringLiteral("Hicolor (16bpp)")};
    return list;
}

const QStringList &ResolutionList()
{
    static const QStringList list{QStringLiteral("72"),  QStringLiteral("96"),  QStringLiteral("120"),
                                  QStringLiteral("144"), QStringLiteral("192"), QStringLiteral("300"),
                                  QStringLiteral("600"), QStringLiteral("1200"), QStringLiteral("2400")};
    return list;
}

const QStringList &ImageFormatList()
{
    static const QStringList list{QStringLiteral("png"), QStringLiteral("gif"), QStringLiteral("jpg")};
    return list;
}

} // namespace OptionLists
