// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/MagickImageObject.h"

#include "tools/Logging.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <vector>
#include <wand/MagickWand.h>

namespace {

bool isDitherMethod(const QString &text)
{
    return text.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0
        || text.compare(QLatin1String("FloydSteinberg"), Qt::CaseInsensitive) == 0
        || text.compare(QLatin1String("Riemersma"), Qt::CaseInsensitive) == 0;
}

// Debian's policy caps images at 16K pixels a side and 1 GiB of disk, which rules out most pages above
// 600 dpi. These limits keep the pixel cache within about 4 GB of memory and spill the rest to disk.
const char PrivatePolicy[] = R"(<policymap>
  <policy domain="resource" name="memory" value="1GiB"/>
  <policy domain="resource" name="map" value="3GiB"/>
  <policy domain="resource" name="width" value="128KP"/>
  <policy domain="resource" name="height" value="128KP"/>
  <policy domain="resource" name="area" value="4GP"/>
  <policy domain="resource" name="disk" value="16GiB"/>
</policymap>
)";

// One private folder holds the policy and the library's pixel-cache spill files; it goes with the process.
QTemporaryDir &privateFolder()
{
    static QTemporaryDir folder(QDir(QDir::tempPath()).filePath(QStringLiteral("SFGmagick-XXXXXX")));
    return folder;
}

void ensureGenesis()
{
    static const bool initialised = [] {
        // The library reads both variables once, when it starts.
        QTemporaryDir &folder = privateFolder();
        if (folder.isValid()) {
            QFile policy(folder.filePath(QStringLiteral("policy.xml")));
            if (policy.open(QIODevice::WriteOnly))
                policy.write(PrivatePolicy);
            const QByteArray path = QFile::encodeName(folder.path());
            const QByteArray inherited = qgetenv("MAGICK_CONFIGURE_PATH");
            qputenv("MAGICK_CONFIGURE_PATH", inherited.isEmpty() ? path : path + ':' + inherited);
            qputenv("MAGICK_TEMPORARY_PATH", path);
        }
        MagickWandGenesis();
        return true;
    }();
    Q_UNUSED(initialised);
}

} // namespace

QStringList toMagickArguments(const ArgVector &args)
{
    QStringList out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString text = args.at(i).typeId() == QMetaType::Int ? QString::number(args.at(i).toInt())
                                                                   : args.at(i).toString();
        // ImageMagick would read "" as a file name.
        if (text.isEmpty())
            continue;
        out << text;
        const bool methodFollows = i + 1 < args.size() && isDitherMethod(args.at(i + 1).toString());
        if (text == QLatin1String("-dither") && !methodFollows)
            out << QStringLiteral("Riemersma"); // the library's own default error diffusion
    }
    return out;
}

MagickImageObject::MagickImageObject()
{
    ensureGenesis();
}

bool MagickImageObject::run(bool identifyCommand, const ArgVector &args, QString *text)
{
    const QStringList arguments = toMagickArguments(args);
    std::vector<QByteArray> encoded{identifyCommand ? QByteArray("identify") : QByteArray("convert")};
    for (const QString &arg : arguments)
        encoded.push_back(QFile::encodeName(arg));
    std::vector<char *> argv;
    for (QByteArray &arg : encoded)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    ImageInfo *info = AcquireImageInfo();
    ExceptionInfo *exception = AcquireExceptionInfo();
    char *metadata = nullptr;
    const int argc = int(argv.size()) - 1;
    const MagickBooleanType ok = identifyCommand
        ? IdentifyImageCommand(info, argc, argv.data(), text ? &metadata : nullptr, exception)
        : ConvertImageCommand(info, argc, argv.data(), nullptr, exception);

    m_lastError.clear();
    if (exception->severity >= ErrorException || ok == MagickFalse) {
        m_lastError = QString::fromLocal8Bit(exception->reason ? exception->reason : "unknown ImageMagick failure");
        if (exception->description)
            m_lastError += QStringLiteral(" (") + QString::fromLocal8Bit(exception->description) + QLatin1Char(')');
        qCWarning(lcTools) << "ImageMagick:" << arguments << m_lastError;
    }
    if (text && metadata)
        *text = QString::fromLocal8Bit(metadata);
    if (metadata)
        RelinquishMagickMemory(metadata);
    DestroyExceptionInfo(exception);
    DestroyImageInfo(info);
    return m_lastError.isEmpty();
}

QString MagickImageObject::identify(const ArgVector &args)
{
    QString text;
    return run(true, args, &text) ? text : QString();
}

bool MagickImageObject::convert(const ArgVector &args)
{
    return run(false, args, nullptr);
}

IImageObject &imageObject()
{
    if (auto *fake = ImageObjectOverride::current())
        return *fake;
    static MagickImageObject real;
    return real;
}
