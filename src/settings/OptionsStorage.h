// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ConversionOptions.h"

#include <QSize>

class SettingsStore;

// Loads and saves the options through one table of keys and defaults. The keys and their texts are
// those earlier versions wrote, so an existing settings file loads unchanged.
namespace OptionsStorage {

// A value that is not a number, or lies outside its list, falls back to its key's default. A source
// file that is no longer an ordinary file is dropped.
ConversionOptions load(const SettingsStore &store);
// outputSize is the read-out as shown, kept under "Width" and "Height".
void save(SettingsStore &store, const ConversionOptions &options, QSize outputSize);

} // namespace OptionsStorage
