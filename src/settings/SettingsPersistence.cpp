// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsPersistence.h"

#include "settings/ConversionSettings.h"
#include "settings/SettingsStore.h"
#include "tools/NumberText.h"
#include "tools/PathHelpers.h"

#include <array>
#include <limits>

namespace SettingsPersistence {

namespace {

struct KeyInfo
{
    SettingField field;
    const char *key;
    bool numeric;
    qint64 min;
    qint64 max;
    const char *defaultValue; // nullptr: the text the field already shows
};

constexpr qint64 MaxPage = std::numeric_limits<qint32>::max();

// In the order they are saved.
constexpr std::array<KeyInfo, 11> Keys{{
    {SettingField::SourceFile, "SourceFile", false, 0, 0, ""},
    {SettingField::ColorDepth, "ColorDepth", true, 0, 4, "2"},
    {SettingField::Dither, "Dither", true, 0, 1, "0"},
    {SettingField::ImageFormat, "ImageFormat", true, 0, 2, "0"},
    {SettingField::Compression, "Compression", false, 0, 0, "75"},
    {SettingField::CurrentPage, "pdfpage", true, 1, MaxPage, "1"},
    {SettingField::Width, "Width", false, 0, 0, nullptr},
    {SettingField::Height, "Height", false, 0, 0, nullptr},
    {SettingField::Trim, "Trim", true, 0, 1, "0"},
    {SettingField::Antialias, "Antialias", true, 0, 1, "1"},
    {SettingField::Resolution, "Resolution", true, 0, 8, "3"},
}};

const KeyInfo &info(SettingField field)
{
    for (const KeyInfo &k : Keys) {
        if (k.field == field)
            return k;
    }
    Q_UNREACHABLE();
}

QString read(ISettingsStore &store, const ISettingsView &view, SettingField field)
{
    const KeyInfo &k = info(field);
    const QString fallback = k.defaultValue ? QString::fromLatin1(k.defaultValue) : view.fieldText(field);
    const QString stored = store.GetSetting(Section, QString::fromLatin1(k.key), fallback);
    if (!k.numeric)
        return stored;
    qint64 value = 0;
    return NumberText::parseInteger(stored, k.min, k.max, &value) ? QString::number(value) : fallback;
}

void restore(ISettingsStore &store, ISettingsView &view, SettingField field)
{
    view.applyField(field, read(store, view, field));
}

} // namespace

QString keyName(SettingField field)
{
    return QString::fromLatin1(info(field).key);
}

void LoadSourceSettings(ISettingsStore &store, ISettingsView &view)
{
    restore(store, view, SettingField::CurrentPage);
    const QString source = read(store, view, SettingField::SourceFile);
    view.applyField(SettingField::SourceFile, PathHelpers::FileExists(source) ? source : QString());
}

void LoadOptionSettings(ISettingsStore &store, ISettingsView &view, ConversionSettings &settings)
{
    restore(store, view, SettingField::ColorDepth);
    // A box that keeps its value runs no handling, so the derived value must already match "unchecked".
    settings.applyDither(0);
    restore(store, view, SettingField::Dither);
    for (SettingField field : {SettingField::ImageFormat, SettingField::Compression, SettingField::Width,
                               SettingField::Height, SettingField::Trim, SettingField::Antialias,
                               SettingField::Resolution})
        restore(store, view, field);
}

void SaveSettings(ISettingsStore &store, const ISettingsView &view)
{
    for (const KeyInfo &k : Keys)
        store.SaveSetting(Section, QString::fromLatin1(k.key), view.fieldText(k.field));
}

} // namespace SettingsPersistence
