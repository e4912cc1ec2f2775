// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class ISettingsStore;
struct ConversionSettings;

// The remembered options, one store key each.
enum class SettingField {
    SourceFile,
    ColorDepth,
    Dither,
    ImageFormat,
    Compression,
    CurrentPage,
    Width,
    Height,
    Trim,
    Antialias,
    Resolution,
};

// What the settings need of the window that shows them. Applying a value acts exactly like the user's
// change of that control: list selections and check boxes run their handling.
class ISettingsView
{
public:
    virtual ~ISettingsView() = default;
    // The field as stored: list index or check value in decimal, or the field's text.
    virtual QString fieldText(SettingField field) const = 0;
    virtual void applyField(SettingField field, const QString &value) = 0;
};

namespace SettingsPersistence {

inline const QString Section = QStringLiteral("General");

QString keyName(SettingField field);

// Stage one, before the first preview: the page, then the source file (dropped silently when gone).
void LoadSourceSettings(ISettingsStore &store, ISettingsView &view);
// Stage two, after the first preview: the nine options in their fixed order. A stored value that is not
// a number or lies outside its list falls back to the key's default.
void LoadOptionSettings(ISettingsStore &store, ISettingsView &view, ConversionSettings &settings);
// All eleven keys, in their fixed order, unvalidated.
void SaveSettings(ISettingsStore &store, const ISettingsView &view);

} // namespace SettingsPersistence
