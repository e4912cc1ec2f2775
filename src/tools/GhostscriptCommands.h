// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ConversionOptions.h"
#include "tools/Problem.h"

#include <QHash>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QFile;
struct ProcessResult;

// One Ghostscript render of a page range into numbered bitmaps.
struct RenderRequest
{
    QString document;     // the link linkDocument() made
    QString outputFolder; // a private folder: page k of the run goes to bitmapPath(outputFolder, k)
    int firstPage = 1;
    int lastPage = 1;
    QString pageList; // "1,3,5-7" instead of firstPage to lastPage; the bitmaps are numbered in its order
    int dpi = 72;
    // Text's edges smoothed, with this many bits of coverage: 4 gives 16 levels, 2 gives 4 and the paper.
    bool antialias = false;
    int textAlphaBits = 4;
    // The paper left transparent: PNG bitmaps with an alpha channel.
    bool alpha = false;
    bool withPassword = false; // the runner hands over passwordArguments() as its argument file
    bool legacyInterpreter = false;
    // Only this part of the page, in the pixels of the whole page's bitmap; empty for the whole page. Needs
    // pagePoints, the page's size as rendered.
    QRect region;
    QSizeF pagePoints;
    PageBox pageBox = PageBox::Crop;
    Drawing drawing;
    // Overprinted inks mixed as on press; otherwise the later ink covers the earlier.
    bool simulateOverprint = false;
    // A CMYK TIFF holding the profile it was rendered to, rather than an RGB one.
    bool cmyk = false;
};

// A page's boxes as Ghostscript renders them: each within the media box, turned by the page's rotation.
class PageBoxes
{
public:
    // A "key value" line of pageBoxesProgram's; lines of other keys are let be.
    void read(const QString &key, const QString &value);
    // The size box renders at, in points: a page without that box shows its media box. Invalid without a
    // media box.
    QSizeF size(PageBox box) const;
    // The box shown for box: itself, or the media box standing in for a trim, bleed or art box the page lacks.
    PageBox shown(PageBox box) const;

private:
    std::array<QRectF, 5> m_boxes; // by PageBox; null where the page has none
    int m_rotate = 0;
};

// What -dPDFINFO tells of a document and one of its pages.
struct DocumentInfo
{
    int pageCount = -1;
    PageBoxes boxes;
    // The document declares a PDF/X output intent: it is made for print.
    bool printIntent = false;
    // Read with Ghostscript's older PDF interpreter, which alone opens AES-256 revision 5 documents.
    bool legacyInterpreter = false;
    // Ghostscript repaired the document to read it.
    bool repaired = false;

    // In points, as rendered: the box, turned by the page's rotation.
    QSizeF pageSize(PageBox box = PageBox::Crop) const { return boxes.size(box); }
};

// Ghostscript's command lines and how to read what it says. The document always goes in as a link in a
// private folder to the file held open for the work: a short absolute path that no switch or length limit
// trips over, and that keeps meaning the same file when its name is replaced meanwhile.
namespace GhostscriptCommands {

// Uncompressed TIFF is the cheapest bitmap for Ghostscript to write and the library to read, and its
// device honours the downscaler.
QStringList renderArguments(const RenderRequest &request);
// The password as Ghostscript's argument file; nothing when Ghostscript cannot be given it.
std::optional<QByteArray> passwordArguments(const QString &password);

// Page count and one page's boxes, without rasterising anything. Our own lines start with the marker,
// which the document cannot know, so nothing it contains (a title, a font name) passes for them.
// link is what linkDocument() made.
QStringList infoArguments(const QString &link, int page, const QString &marker, bool withPassword,
                          bool legacyInterpreter = false);
// Every page's boxes from first to last (to the end when last lies past it), for pageSizes().
QStringList pageSizesArguments(const QString &link, int first, int last, const QString &marker, bool withPassword,
                               bool legacyInterpreter);
// The size each page renders at with box, by page number, from pageSizesArguments()'s output.
QHash<int, QSizeF> parsePageSizes(const QString &output, const QString &marker, PageBox box = PageBox::Crop);
// Ghostscript 10's own interpreter says nothing at all for an AES-256 revision 5 document, whatever the
// password; the older one opens it. Only then is the older one tried.
bool wantsLegacyInterpreter(const DocumentInfo &info, bool passwordGiven);
// A link in folder, under a name Ghostscript can be allowed to read, to the open file held: through this
// process's descriptor for it, so a file put in its place under the same name is never read (by its name
// only where /proc does not lead back to the file). Empty on failure.
QString linkDocument(const QString &folder, const QFile &held);
// The document's own bytes name an encryption dictionary (a trailer or cross-reference stream's /Encrypt).
// Asked only once Ghostscript could not open it, to tell a password's absence from damage.
bool isEncrypted(const QString &document);
// The document's own bytes declare a PDF/X output intent. One kept in a compressed object stream is not seen.
bool declaresPrintIntent(const QString &document);
DocumentInfo parseInfo(const QString &output, const QString &marker, bool legacyInterpreter = false);
// A fresh marker for infoArguments().
QString newMarker();
// A page box that cannot be rendered: empty, flat or beyond the 200 inches a PDF page may measure.
bool isRenderable(const QSizeF &points);
// Ghostscript had to repair the document to read it.
bool wasRepaired(const QString &output);
// A font the document names but neither embeds nor finds on this computer, and what Ghostscript drew instead.
struct FontSubstitution
{
    QString font;
    QString substitute;
};
// From a run's output; the fourteen fonts every PDF reader has are not substitutions.
QList<FontSubstitution> substitutedFonts(const QString &output);
// The bitmap of the index-th page of a run (from 1), as Ghostscript numbers its output files.
// A PNG with an alpha channel when alpha is set, otherwise a TIFF.
QString bitmapPath(const QString &folder, int index, bool alpha = false);
// Debian's copy of the sRGB profile, which a CMYK page is shown through on screen; empty when it is missing.
QString srgbProfile();
// The image library's name for a bitmap that bitmapPath() gave, so that nothing else is ever decoded.
QString bitmapForLibrary(const QString &bitmap);
// Pixels Ghostscript makes of a side in points: nearest at the render resolution.
int renderedPixels(double points, int dpi);

// Ghostscript's words without its banner and progress lines.
QString details(const QString &output);
// What went wrong with a run, from how it ended: not started, crashed or an error exit; None when it exited
// cleanly. Ghostscript's words go only into the details: a document can make it print any line.
Problem classify(const QString &document, const ProcessResult &result, bool passwordGiven);
// What stops the work before Ghostscript is asked: no Ghostscript, or a document that is gone, unreadable,
// empty, or that Ghostscript would not read as a PDF. On success, held (when given) is left open on the
// document, the same file whose start was judged.
Problem checkDocument(const QString &ghostscript, const QString &document, QFile *held = nullptr);
// What went wrong with an info run read through link: classify(), then a document that did not open (for
// want of a password when it is encrypted), no pages, or a page box that cannot be rendered (only when the
// page's box was asked for and found).
Problem inspect(const QString &document, const QString &link, const ProcessResult &result, const DocumentInfo &info,
                bool passwordGiven);
// The password problem of a document read through link that Ghostscript could not open, if it is one.
Problem passwordProblem(const QString &document, const QString &link, const QString &output, bool passwordGiven);
// Ghostscript ended without reporting a problem but made nothing of the document.
Problem madeNothing(const QString &document, const QString &output);

} // namespace GhostscriptCommands

// Where the Ghostscript console program is. A port adds its platform's places here.
class GhostscriptLocator
{
public:
    virtual ~GhostscriptLocator() = default;
    // Empty when there is none.
    virtual QString locate() const;
};
