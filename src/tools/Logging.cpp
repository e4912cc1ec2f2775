// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Logging.h"

Q_LOGGING_CATEGORY(lcTools, "sheetforge.tools", QtWarningMsg)
Q_LOGGING_CATEGORY(lcConversion, "sheetforge.conversion", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMessages, "sheetforge.messages", QtInfoMsg)
Q_LOGGING_CATEGORY(lcTiming, "sheetforge.timing", QtWarningMsg)
