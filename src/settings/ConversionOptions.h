// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

enum class ColorDepth {
    BlackAndWhite,
    FourColors,
    SixteenColors,
    TwoHundredFiftySixColors,
    HiColor,
    Grayscale,
    SixteenGrays,
    FourGrays,
    Cmyk
};
enum class ImageFormat { Png, Gif, Jpg, Tiff, Webp };
// Which of the page's boxes is the image; a page without it shows its media box, as Ghostscript does.
enum class PageBox { Crop, Media, Trim, Bleed, Art };
// Overprinted inks mixed as print would mix them: always, never, or where the document is made for print
// (it declares a PDF/X output intent).
enum class Overprint { Auto, On, Off };

// What of the page is drawn: everything, by default, as a viewer shows it.
struct Drawing
{
    bool annotations = true;
    bool forms = true;
    // As printed: annotations marked not to print are left out, those marked not to view are drawn.
    bool printed = false;
    bool text = true;
    bool images = true;
    bool vectors = true;
    bool operator==(const Drawing &) const = default;
};

// The user's choices; the single source of truth that the window edits, the store keeps and the
// conversion reads.
struct ConversionOptions
{
    static constexpr int DefaultJpegQuality = 75;
    static constexpr int LibraryDefaultQuality = -1; // an empty quality field

    QString sourceFile;
    ColorDepth colorDepth = ColorDepth::SixteenColors;
    bool dither = false;
    bool antialias = true;
    ImageFormat format = ImageFormat::Png;
    int jpegQuality = DefaultJpegQuality; // 0..100, or LibraryDefaultQuality; also lossy WebP's
    int dpi = 144;
    // Instead of the resolution: each page is scaled to fit within boxWidth x boxHeight pixels, aspect
    // kept; 0 leaves that side free.
    bool fitToBox = false;
    int boxWidth = 0;
    int boxHeight = 0;
    bool trim = false;
    // The paper left out: the page's own transparency kept, where the format can hold it.
    bool transparent = false;
    PageBox pageBox = PageBox::Crop;
    Drawing drawing;
    Overprint overprint = Overprint::Auto;
    // Colour files carry the sRGB profile; without it they are smaller, and read as sRGB all the same.
    bool iccProfile = false;
    int page = 1;

    bool isMonochrome() const { return colorCount() == 2; }
    bool isGray() const;
    // Inks rather than light: rendered and written in CMYK, with the profile it was rendered to.
    bool isCmyk() const;
    static bool holdsCmyk(ImageFormat written);
    // Whether the quality governs the file: JPEG, and WebP in true colour (the others are lossless).
    bool usesQualityFor(ImageFormat written) const;
    bool usesQuality() const { return usesQualityFor(format); }
    // Whether the written file keeps the background transparent: asked for, and a format that holds it.
    static bool holdsTransparency(ImageFormat written);
    // CMYK is ink on paper.
    bool keepsTransparencyIn(ImageFormat written) const
    {
        return transparent && holdsTransparency(written) && !isCmyk();
    }
    // The most colours an image may keep; 2 for black and white.
    int colorCount() const;
    // Bits a pixel takes in the written file where the format lets us choose: 1, 2, 4 or 8; 0 for true colour.
    int bitsPerPixel() const;

    // Whether a change from before shows in the preview. Every option does: where the output fits the
    // preview, or at 100%, the preview shows the output's own pixels, its size and its format's losses too.
    bool changesPreview(const ConversionOptions &before) const { return !(*this == before); }

    // Whether a box in pixels governs the size, rather than the resolution.
    bool usesBox() const { return fitToBox && (boxWidth > 0 || boxHeight > 0); }
    QSize box() const { return usesBox() ? QSize(boxWidth, boxHeight) : QSize(); }

    bool operator==(const ConversionOptions &) const = default;
};

// What a colour depth is. A setting is stored as a depth's position in this table, so it only ever grows at
// its end: stored settings keep their meaning.
struct ColorDepthFacts
{
    ColorDepth depth;
    const char *name;                      // as the window lists it, translated in the "OptionLists" context
    QList<QLatin1String> commandLineNames; // the first is the one printed
    int colors;                            // the most colours an image keeps; 2 for black and white
    int bits;                              // a pixel's bits where the format lets us choose; 0 for true colour
    bool gray;
    // The colours are reduced to the count: all but full gray, whose 256 levels are the file's own.
    bool palette;
    bool cmyk = false;
};

// Where a format's quality governs the file; the others are lossless.
enum class QualityUse { Never, Always, InTrueColor };

// What an image format is; stored by position like the depths.
struct ImageFormatFacts
{
    ImageFormat format;
    QLatin1String suffix;               // the one written
    QList<QLatin1String> otherSuffixes; // also read as this format in a file name
    QLatin1String libraryName;
    bool holdsTransparency;
    QualityUse quality;
    bool holdsCmyk = false;
};

// A choice from a short fixed list, stored by position like the depths.
template <typename Value>
struct ChoiceFacts
{
    Value value;
    const char *name;              // as the window lists it, translated in the "OptionLists" context
    QLatin1String commandLineName; // also the stored text where a list of them is stored
};

// What a drawing switch leaves out when it is off, for --without.
struct ContentFacts
{
    bool Drawing::*member;
    const char *name;
    QLatin1String commandLineName;
};

// The fixed lists the window offers.
namespace OptionLists {

const QList<ColorDepthFacts> &colorDepthTable();
const ColorDepthFacts &facts(ColorDepth depth);
const QList<ImageFormatFacts> &formatTable();
const ImageFormatFacts &facts(ImageFormat format);

QList<ColorDepth> colorDepths();
QStringList colorDepthNames(); // in the order of colorDepths()
QList<ImageFormat> formats();
const QList<int> &resolutions();
const QList<ChoiceFacts<PageBox>> &pageBoxTable();
const QList<ChoiceFacts<Overprint>> &overprintTable();
const QList<ContentFacts> &contentTable();
const ChoiceFacts<PageBox> &facts(PageBox box);
// A choice table's values in its order, the positions they are stored at.
template <typename Value>
QList<Value> valuesOf(const QList<ChoiceFacts<Value>> &table)
{
    QList<Value> values;
    for (const ChoiceFacts<Value> &row : table)
        values << row.value;
    return values;
}
QStringList pageBoxNames();   // translated, in the table's order
QStringList overprintNames(); // translated, in the table's order
// The content left out, by command-line name ("text,images"); empty when everything is drawn.
QString omittedContent(const Drawing &drawing);
// Sets drawing's content switches from such a list ("none" draws everything); false for an unknown name.
bool setOmittedContent(const QString &list, Drawing &drawing);
// The largest box side the window and the command line take, in pixels.
constexpr int MaxBoxSide = 100000;
// The resolutions that can be typed, beside the listed ones.
constexpr int LowestDpi = 72;
constexpr int HighestDpi = 2400;
QString suffix(ImageFormat format);
QStringList suffixes();
// The format a file name's extension asks for ("jpeg" counts as jpg), if it is one of ours.
std::optional<ImageFormat> formatForFileName(const QString &fileName);

} // namespace OptionLists
