// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcTools)
Q_DECLARE_LOGGING_CATEGORY(lcConversion)
// Everything the user is told, so a terminal or the journal has it too.
Q_DECLARE_LOGGING_CATEGORY(lcMessages)
// Where a conversion's time went, stage by stage (off unless asked for: sheetforge.timing.info=true).
Q_DECLARE_LOGGING_CATEGORY(lcTiming)
