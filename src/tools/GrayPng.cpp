// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/GrayPng.h"

#include "tools/PngEncoder.h"

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

namespace GrayPng {

uchar levelOf(uchar red, uchar green, uchar blue)
{
    // The library's samples are 16 bits, 257 times the 8-bit ones.
    const double luma = 0.212656 * (red * 257.0) + 0.715158 * (green * 257.0) + 0.072186 * (blue * 257.0);
    const double rounded = luma <= 0 ? 0 : luma >= 65535 ? 65535 : double(quint32(luma + 0.5));
    return uchar(rounded * 255.0 / 65535.0);
}

std::optional<PageTiff::EncodedPage> write(const QString &tiff, int dpi, const std::atomic_bool *cancel)
{
    QElapsedTimer clock;
    clock.start();
    PageTiff::EncodedPage result;
    const PageTiff::File file = PageTiff::openRgb(tiff, &result.size);
    if (!file || PngEncoder::packedBytes(result.size, 8, PngEncoder::Gray) > PageTiff::MaxPackedBytes)
        return std::nullopt;
    PngEncoder encoder(result.size, PngEncoder::Gray, 8);
    encoder.setDotsPerMeter(PngEncoder::dotsPerMeterFor(dpi));
    std::vector<uchar> row(size_t(TIFFScanlineSize(file.get())));
    std::vector<uchar> gray(size_t(result.size.width()));
    // Pages are runs of paper and ink: the last colour's level is mostly the next one's.
    QRgb last = qRgb(255, 255, 255);
    uchar lastLevel = levelOf(255, 255, 255);
    uchar firstLevel = 0;
    bool uniform = true;
    double reading = 0;
    for (int y = 0; y < result.size.height(); ++y) {
        const qint64 started = clock.nsecsElapsed();
        if ((cancel && *cancel) || TIFFReadScanline(file.get(), row.data(), uint32_t(y)) < 0)
            return std::nullopt;
        reading += double(clock.nsecsElapsed() - started) / 1e9;
        const uchar *in = row.data();
        for (uchar &level : gray) {
            const QRgb colour = qRgb(in[0], in[1], in[2]);
            if (colour != last) {
                last = colour;
                lastLevel = levelOf(in[0], in[1], in[2]);
            }
            level = lastLevel;
            in += 3;
        }
        if (y == 0)
            firstLevel = gray[0];
        uniform = uniform && std::all_of(gray.cbegin(), gray.cend(), [&](uchar level) { return level == firstLevel; });
        encoder.addRow(gray.data());
    }
    result.png = encoder.finish();
    if (result.png.isEmpty())
        return std::nullopt;
    result.uniform = uniform;
    result.reading = reading;
    result.encoding = double(clock.nsecsElapsed()) / 1e9 - reading;
    return result;
}

} // namespace GrayPng
