// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/OptionsStorage.h"

#include "settings/SettingsStore.h"

#include <QFileInfo>

#include <functional>
#include <limits>
#include <optional>

namespace OptionsStorage {

namespace {

struct Key
{
    const char *name;
    std::function<QString(const ConversionOptions &, QSize)> text;
    std::function<void(ConversionOptions &, const QString &)> apply; // empty for keys only written
};

std::optional<int> integer(const QString &text, int min, int max)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok && value >= min && value <= max ? std::optional<int>(int(value)) : std::nullopt;
}

QString flag(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// A value stored as its position in list; anything else keeps what the options already hold, the default.
template <class T>
QString position(const QList<T> &list, T value)
{
    return QString::number(list.indexOf(value));
}

template <class T>
void fromPosition(const QList<T> &list, const QString &text, T &value)
{
    if (const std::optional<int> index = integer(text, 0, int(list.size()) - 1))
        value = list.at(*index);
}

void fromFlag(const QString &text, bool &value)
{
    if (const std::optional<int> set = integer(text, 0, 1))
        value = *set == 1;
}

// The quality field holds up to three digits, at most 100; empty means the library's default.
int quality(const QString &text)
{
    if (text.isEmpty())
        return ConversionOptions::LibraryDefaultQuality;
    for (QChar c : text) {
        if (!c.isDigit())
            return ConversionOptions::DefaultJpegQuality;
    }
    if (text.size() > 3)
        return ConversionOptions::DefaultJpegQuality;
    return std::min(text.toInt(), 100);
}

// In the order they are saved. A key's default is its text for ConversionOptions' own defaults.
const std::vector<Key> &keys()
{
    using O = ConversionOptions;
    static const std::vector<Key> table{
        {"SourceFile", [](const O &o, QSize) { return o.sourceFile; },
         [](O &o, const QString &v) { o.sourceFile = QFileInfo(v).isFile() ? v : QString(); }},
        {"ColorDepth", [](const O &o, QSize) { return position(OptionLists::colorDepths(), o.colorDepth); },
         [](O &o, const QString &v) { fromPosition(OptionLists::colorDepths(), v, o.colorDepth); }},
        {"Dither", [](const O &o, QSize) { return flag(o.dither); },
         [](O &o, const QString &v) { fromFlag(v, o.dither); }},
        {"ImageFormat", [](const O &o, QSize) { return position(OptionLists::formats(), o.format); },
         [](O &o, const QString &v) { fromPosition(OptionLists::formats(), v, o.format); }},
        {"Compression",
         [](const O &o, QSize) { return o.jpegQuality < 0 ? QString() : QString::number(o.jpegQuality); },
         [](O &o, const QString &v) { o.jpegQuality = quality(v); }},
        {"pdfpage", [](const O &o, QSize) { return QString::number(o.page); },
         [](O &o, const QString &v) { o.page = integer(v, 1, std::numeric_limits<int>::max()).value_or(1); }},
        {"Width", [](const O &, QSize size) { return QString::number(size.width()); }, {}},
        {"Height", [](const O &, QSize size) { return QString::number(size.height()); }, {}},
        {"Trim", [](const O &o, QSize) { return flag(o.trim); }, [](O &o, const QString &v) { fromFlag(v, o.trim); }},
        {"Antialias", [](const O &o, QSize) { return flag(o.antialias); },
         [](O &o, const QString &v) { fromFlag(v, o.antialias); }},
        {"Resolution",
         [](const O &o, QSize) {
             // A resolution from the command line that the list lacks is never stored as such.
             return position(OptionLists::resolutions(), OptionLists::resolutions().contains(o.dpi) ? o.dpi : O{}.dpi);
         },
         [](O &o, const QString &v) { fromPosition(OptionLists::resolutions(), v, o.dpi); }},
        // A typed resolution, empty for a listed one; it wins over the position above, which stays readable
        // by versions that only know the list.
        {"TypedResolution",
         [](const O &o, QSize) {
             return OptionLists::resolutions().contains(o.dpi) || o.dpi < OptionLists::LowestDpi
                            || o.dpi > OptionLists::HighestDpi
                        ? QString()
                        : QString::number(o.dpi);
         },
         [](O &o, const QString &v) {
             if (const std::optional<int> dpi = integer(v, OptionLists::LowestDpi, OptionLists::HighestDpi))
                 o.dpi = *dpi;
         }},
        {"FitToBox", [](const O &o, QSize) { return flag(o.fitToBox); },
         [](O &o, const QString &v) { fromFlag(v, o.fitToBox); }},
        {"BoxWidth", [](const O &o, QSize) { return QString::number(o.boxWidth); },
         [](O &o, const QString &v) { o.boxWidth = integer(v, 0, OptionLists::MaxBoxSide).value_or(0); }},
        {"BoxHeight", [](const O &o, QSize) { return QString::number(o.boxHeight); },
         [](O &o, const QString &v) { o.boxHeight = integer(v, 0, OptionLists::MaxBoxSide).value_or(0); }},
        {"Transparent", [](const O &o, QSize) { return flag(o.transparent); },
         [](O &o, const QString &v) { fromFlag(v, o.transparent); }},
        {"PageBox",
         [](const O &o, QSize) { return position(OptionLists::valuesOf(OptionLists::pageBoxTable()), o.pageBox); },
         [](O &o, const QString &v) {
             fromPosition(OptionLists::valuesOf(OptionLists::pageBoxTable()), v, o.pageBox);
         }},
        {"Annotations", [](const O &o, QSize) { return flag(o.drawing.annotations); },
         [](O &o, const QString &v) { fromFlag(v, o.drawing.annotations); }},
        {"Forms", [](const O &o, QSize) { return flag(o.drawing.forms); },
         [](O &o, const QString &v) { fromFlag(v, o.drawing.forms); }},
        {"Printed", [](const O &o, QSize) { return flag(o.drawing.printed); },
         [](O &o, const QString &v) { fromFlag(v, o.drawing.printed); }},
        // The content left out, as --without names it.
        {"Without", [](const O &o, QSize) { return OptionLists::omittedContent(o.drawing); },
         [](O &o, const QString &v) {
             OptionLists::setOmittedContent(v.isEmpty() ? QStringLiteral("none") : v, o.drawing);
         }},
        {"IccProfile", [](const O &o, QSize) { return flag(o.iccProfile); },
         [](O &o, const QString &v) { fromFlag(v, o.iccProfile); }},
        {"Overprint",
         [](const O &o, QSize) { return position(OptionLists::valuesOf(OptionLists::overprintTable()), o.overprint); },
         [](O &o, const QString &v) {
             fromPosition(OptionLists::valuesOf(OptionLists::overprintTable()), v, o.overprint);
         }},
    };
    return table;
}

} // namespace

ConversionOptions load(const SettingsStore &store)
{
    const ConversionOptions defaults;
    ConversionOptions options;
    for (const Key &key : keys()) {
        if (key.apply)
            key.apply(options, store.value(QString::fromLatin1(key.name), key.text(defaults, {0, 0})));
    }
    // Only a settings file edited by hand pairs CMYK with a format that cannot hold it.
    if (options.isCmyk() && !ConversionOptions::holdsCmyk(options.format))
        options.colorDepth = defaults.colorDepth;
    return options;
}

void save(SettingsStore &store, const ConversionOptions &options, QSize outputSize)
{
    for (const Key &key : keys())
        store.setValue(QString::fromLatin1(key.name), key.text(options, outputSize));
    // A program stopped by a signal or a lost display skips the destructors that would write them.
    store.sync();
}

} // namespace OptionsStorage
