// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The fixed option lists; list indexes are what the settings store keeps.
namespace OptionLists {

const QStringList &ColorDepthList();
const QStringList &ResolutionList();
const QStringList &ImageFormatList();

constexpr int MonochromeIndex = 0;
constexpr int JpegIndex = 2;

} // namespace OptionLists
