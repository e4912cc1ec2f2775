// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/MagickImageObject.h"

#include "tools/Logging.h"

#include <QFile>

#include <vector>
#include <wand/MagickWand.h>

namespace {

bool isDitherMethod(const QString &text)
{
    return text.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0
        || text.compare(QLatin1String("FloydSteinberg"), Qt::CaseInsensitive) == 0
        || text.compare(QLatin1String("Riemersma"), Qt::CaseInsensitive) == 0;
}

void ensureGenesis()
{
    static const bool initialised = [] {
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
