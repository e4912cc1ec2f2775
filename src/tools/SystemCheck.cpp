// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/SystemCheck.h"

#include "tools/ImageObject.h"
#include "tools/PrivateFolder.h"
#include "tools/Problem.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QStorageInfo>

namespace SystemCheck {

namespace {

// A page at 144 dpi takes megabytes; at 2400 dpi gigabytes. Below this, large pages will not fit.
constexpr qint64 LowTemporarySpace = qint64(1) << 30;

QString bytes(qint64 count)
{
    return QLocale().formattedDataSize(count, 1, QLocale::DataSizeTraditionalFormat);
}

Item ghostscriptItem(const QString &ghostscript, QString *version)
{
    if (ghostscript.isEmpty())
        return {QCoreApplication::translate("SystemCheck", "Ghostscript"), false, true,
                QCoreApplication::translate("SystemCheck", "not found. %1").arg(Problem::ghostscriptFix())};
    QProcess process;
    process.start(ghostscript, {QStringLiteral("--version")});
    process.closeWriteChannel();
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {QCoreApplication::translate("SystemCheck", "Ghostscript"), false, true,
                QCoreApplication::translate(
                    "SystemCheck", "%1 does not run (%2). Install it again: sudo apt install --reinstall ghostscript")
                    .arg(Problem::escapeName(ghostscript), process.errorString())};
    *version = QString::fromLatin1(process.readAllStandardOutput()).trimmed();
    return {QCoreApplication::translate("SystemCheck", "Ghostscript"), true, true,
            QCoreApplication::translate("SystemCheck", "%1 (%2)").arg(*version, Problem::escapeName(ghostscript))};
}

// Ghostscript draws a font a document does not embed with one of its own: the URW fonts, and for Asian text
// the fallback font.
QList<Item> fontItems(const QString &version)
{
    const QString resources = QStringLiteral("/usr/share/ghostscript/%1/Resource/").arg(version);
    const bool base = QFileInfo::exists(resources + QStringLiteral("Font/NimbusSans-Regular"));
    const bool asian = QFileInfo::exists(resources + QStringLiteral("CIDFSubst/DroidSansFallback.ttf"));
    return {
        {QCoreApplication::translate("SystemCheck", "Fonts"), base, true,
         base ? QCoreApplication::translate("SystemCheck", "the URW fonts, for documents that do not embed theirs")
              : QCoreApplication::translate(
                  "SystemCheck",
                  "the URW fonts were not found: text without embedded fonts cannot be drawn. Install them: "
                  "sudo apt install fonts-urw-base35")},
        {QCoreApplication::translate("SystemCheck", "Asian fonts"), asian, false,
         asian ? QCoreApplication::translate("SystemCheck", "the fallback font, for Asian text without embedded fonts")
               : QCoreApplication::translate(
                   "SystemCheck",
                   "no fallback font: Asian text without embedded fonts is left out. Install it: sudo apt install "
                   "fonts-droid-fallback")},
    };
}

Item imageLibraryItem()
{
    const QString version = ImageObject::libraryVersion();
    const ImageRoom room = ImageObject().room();
    return {QCoreApplication::translate("SystemCheck", "Image library"), true, true,
            QCoreApplication::translate("SystemCheck",
                                        "%1; memory %2, disk %3, images up to %4 pixels a side and %5 megapixels")
                .arg(version, bytes(room.memory), bytes(room.disk))
                .arg(ImageObject::MaxSide)
                .arg(ImageObject::MaxArea / 1000000)};
}

Item temporaryItem()
{
    const QString root = PrivateFolder::temporaryRoot();
    const PrivateFolder probe;
    if (!probe.isValid())
        return {QCoreApplication::translate("SystemCheck", "Temporary folder"), false, true,
                QCoreApplication::translate("SystemCheck", "%1 Set TMPDIR to a folder you can write to.")
                    .arg(probe.problem().message)};
    const qint64 free = QStorageInfo(probe.path()).bytesAvailable();
    if (free < LowTemporarySpace)
        return {QCoreApplication::translate("SystemCheck", "Temporary folder"), false, false,
                QCoreApplication::translate(
                    "SystemCheck",
                    "%1 has only %2 free: large pages need more. Free some space, or set TMPDIR to a folder with "
                    "more room.")
                    .arg(Problem::escapeName(root), bytes(free))};
    return {QCoreApplication::translate("SystemCheck", "Temporary folder"), true, true,
            QCoreApplication::translate("SystemCheck", "%1, %2 free").arg(Problem::escapeName(root), bytes(free))};
}

} // namespace

QList<Item> run(const QString &ghostscript)
{
    QString version;
    QList<Item> items{ghostscriptItem(ghostscript, &version)};
    if (!version.isEmpty())
        items << fontItems(version);
    items << imageLibraryItem() << temporaryItem();
    const bool display = hasDisplay();
    items << Item{
        QCoreApplication::translate("SystemCheck", "Display"), display, false,
        display ? QCoreApplication::translate("SystemCheck", "the window can be shown")
                : QCoreApplication::translate(
                    "SystemCheck", "none found: the window needs a graphical session; --convert works without one")};
    return items;
}

bool passed(const QList<Item> &items)
{
    return std::all_of(items.cbegin(), items.cend(), [](const Item &item) { return item.ok || !item.needed; });
}

bool hasDisplay()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace SystemCheck
