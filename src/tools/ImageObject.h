// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ImageEncoding.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

// Where the time of a page went, in seconds; measured only while the timing log category is on.
struct StageTimes
{
    double reading = 0;
    double trimming = 0;
    double scaling = 0;
    double reducing = 0; // colours, dithering, gray levels, transparency
    double encoding = 0;
    double writing = 0;

    StageTimes &operator+=(const StageTimes &other);
    double total() const { return reading + trimming + scaling + reducing + encoding + writing; }
};

struct ImageResult
{
    bool ok = false;
    bool cancelled = false;
    bool tooLarge = false; // the library's resource limits stopped it
    QString error;
    QByteArray data; // the encoded image
    QSize size;
    // The colours of a palette image (0 for one without a palette), and whether every pixel is the same: a
    // blank page.
    int colors = 0;
    bool uniform = false;
    StageTimes times;
};

// Where a page's pixels may go: the library's memory, then spill files in the temporary folder, which
// Ghostscript's bitmaps share.
struct ImageRoom
{
    qint64 memory = 0; // the library's memory limit
    qint64 disk = 0;   // its limit on spill files
    qint64 free = 0;   // bytes free in the temporary folder
};

// The image library's convert command, run in-process. The arguments are laid out like a convert command
// line without its output name: the result stays in memory and comes back encoded, so the caller decides
// how and where it is written. Safe to call from several threads at once.
class ImageObject
{
public:
    // The largest image the library is allowed to hold (its policy's width, height and area).
    static constexpr qint64 MaxSide = 128000;
    static constexpr qint64 MaxArea = 4000000000;
    // The pixel cache of one image at 16 bits a sample: four samples and a palette index a pixel.
    static constexpr qint64 CacheBytesPerPixel = 10;

    virtual ~ImageObject() = default;
    // Setting *cancel makes a running call give up soon.
    virtual ImageResult convert(const QStringList &arguments, const ImageEncoding &encoding,
                                const std::atomic_bool *cancel = nullptr) const;
    // In a format of the library's name ("PNG", "TIFF", "PPM") as it writes it by default.
    ImageResult convert(const QStringList &arguments, const QString &format) const
    {
        return convert(arguments, ImageEncoding{.format = format});
    }

    // A page of Ghostscript's (an 8-bit RGB TIFF) reduced to `colours` colours, written as the indexed PNG that
    // "+dither -colors N" would give, without the library; nothing when the library must do the work.
    virtual std::optional<ImageResult> exactPalettePage(const QString &tiff, int colours, int dpi,
                                                        const std::atomic_bool *cancel = nullptr) const;
    // The same for a page with alpha (an 8-bit RGBA PNG), its alpha levelled as a transparent page's is.
    virtual std::optional<ImageResult> transparentPalettePage(const QString &png, int colours, int dpi,
                                                              const std::atomic_bool *cancel = nullptr) const;
    // Such a page as the 8-bit gray PNG that "-colorspace Gray -depth 8" would give, without the library; nothing
    // when the library must do the work.
    virtual std::optional<ImageResult> grayPage(const QString &tiff, int dpi,
                                                const std::atomic_bool *cancel = nullptr) const;

    // The library's limits and the room left in its temporary folder, as they stand.
    virtual ImageRoom room() const;

    // "6.9.11-60 Q16"
    static QString libraryVersion();
    // Sets up the library once per process; also done by the first convert().
    static void initialise();
};
