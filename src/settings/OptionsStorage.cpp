// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/OptionsStorage.h"

#include "settings/SettingsStore.h"

#include <QFileInfo>

#include <functional>
#include <limits>

namespace OptionsStorage {

namespace {

struct Key
{
    const char *name;
    const char *defaultText;
    std::function<QString(const ConversionOptions &, QSize)> text;
    std::function<void(ConversionOptions &, const QString &)> apply; // empty for keys only written
};

int integer(const QString &text, int min, int max, int fallback)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok && value >= min && value <= max ? int(value) : fallback;
}

QString flag(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

int resolutionIndex(int dpi)
{
    const qsizetype index = OptionLists::resolutions().indexOf(dpi);
    return index < 0 ? 3 : int(index);
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

// In the order they are saved.
const std::vector<Key> &keys()
{
    static const std::vector<Key> table{
        {"SourceFile", "", [](const ConversionOptions &o, QSize) { return o.sourceFile; },
         [](ConversionOptions &o, const QString &v) { o.sourceFile = QFileInfo(v).isFile() ? v : QString(); }},
        {"ColorDepth", "2", [](const ConversionOptions &o, QSize) { return QString::number(int(o.colorDepth)); },
         [](ConversionOptions &o, const QString &v) { o.colorDepth = ColorDepth(integer(v, 0, 4, 2)); }},
        {"Dither", "0", [](const ConversionOptions &o, QSize) { return flag(o.dither); },
         [](ConversionOptions &o, const QString &v) { o.dither = integer(v, 0, 1, 0) == 1; }},
        {"ImageFormat", "0", [](const ConversionOptions &o, QSize) { return QString::number(int(o.format)); },
         [](ConversionOptions &o, const QString &v) { o.format = ImageFormat(integer(v, 0, 2, 0)); }},
        {"Compression", "75",
         [](const ConversionOptions &o, QSize) {
             return o.jpegQuality < 0 ? QString() : QString::number(o.jpegQuality);
         },
         [](ConversionOptions &o, const QString &v) { o.jpegQuality = quality(v); }},
        {"pdfpage", "1", [](const ConversionOptions &o, QSize) { return QString::number(o.page); },
         [](ConversionOptions &o, const QString &v) { o.page = integer(v, 1, std::numeric_limits<int>::max(), 1); }},
        {"Width", "0", [](const ConversionOptions &, QSize size) { return QString::number(size.width()); }, {}},
        {"Height", "0", [](const ConversionOptions &, QSize size) { return QString::number(size.height()); }, {}},
        {"Trim", "0", [](const ConversionOptions &o, QSize) { return flag(o.trim); },
         [](ConversionOptions &o, const QString &v) { o.trim = integer(v, 0, 1, 0) == 1; }},
        {"Antialias", "1", [](const ConversionOptions &o, QSize) { return flag(o.antialias); },
         [](ConversionOptions &o, const QString &v) { o.antialias = integer(v, 0, 1, 1) == 1; }},
        {"Resolution", "3", [](const ConversionOptions &o, QSize) { return QString::number(resolutionIndex(o.dpi)); },
         [](ConversionOptions &o, const QString &v) { o.dpi = OptionLists::resolutions().at(integer(v, 0, 8, 3)); }},
    };
    return table;
}

} // namespace

ConversionOptions load(const SettingsStore &store)
{
    ConversionOptions options;
    for (const Key &key : keys()) {
        if (key.apply)
            key.apply(options, store.value(QString::fromLatin1(key.name), QString::fromLatin1(key.defaultText)));
    }
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
