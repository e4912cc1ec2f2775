// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/ConversionEngine.h"
#include "tools/GhostscriptCommands.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QScopeGuard>
#include <QSizeF>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace TestSupport {

// A PDF, one page per size (points): a gradient box and the page number, in a margin white or of all colours.
bool writePdf(const QString &path, const QList<QSizeF> &pages, bool wheel = false);
// A PDF by hand: per media box ("0 0 612 792") a page of text in fontName (PDF syntax: "#0A" breaks a line).
bool writeRawPdf(const QString &path, const QStringList &mediaBoxes, const QByteArray &fontName = "Helvetica",
                 const QByteArray &title = {}, qint64 claimedPages = 0);
// A page of 400 x 400 points whose five boxes differ, holding the parts named. The note does not print; the
// field's appearance, like the note's, is a vector fill.
enum Part {
    Text = 1,
    Image = 2,
    Vector = 4,
    Note = 8,
    Field = 16,
    Boxes = 32,
    Inks = 64,
    PrintIntent = 128,
    Lines = 256
};
constexpr int Everything = Text | Image | Vector | Note | Field | Boxes;

bool writeDrawnPage(const QString &path, int parts);
// A page that takes Ghostscript hours: forms nested nine deep, each drawing the next ten times.
bool writeEndlessPage(const QString &path);
// Runs a helper tool such as qpdf to its end; true when it exits with 0.
bool run(const QString &program, const QStringList &arguments);
// AES-256 with owner password "owner"; an empty user password opens without asking. Revision 5 is the older form.
bool encrypt(const QString &pdf, const QString &encrypted, const QString &userPassword, bool revision5 = false);
// Ghostscript's own answer to -dPDFINFO for one page.
DocumentInfo documentInfo(const QString &pdf, int page);

// A stand-in gs in folder: logs arguments to gs.log, an argument file to argfile.log and files in TMPDIR holding
// it to found.log, sets $info for the page count, then runs body: "page N" draws page N, "info_ok" answers 1 page.
QString fakeGhostscript(const QString &folder, const QString &body);

struct ImageFacts
{
    QSize size;
    QRect page; // the canvas the image sits on: offset and page geometry
    int colors = 0;
    int quality = 0; // as the file's encoder recorded it
    double dpi = 0;  // the resolution tag
    QByteArray format;
    bool gray = false;      // stored as gray, not as colour
    int images = 0;         // pages, in a multi-page file
    QByteArray compression; // of the first image, as the library names it: "Group4", "LZW", ...
    int pngBitDepth = 0;    // from a PNG's header
    int pngColorType = -1;  // 0 gray, 2 RGB, 3 palette, 4 gray and alpha, 6 RGBA
    bool cmyk = false;
    int profileBytes = 0; // of an embedded colour profile
};
ImageFacts readImage(const QString &path);
// A written image's pixels: Qt reads no TIFF or WebP here, so the image library decodes those.
QImage decoded(const QString &path);

// Runs job to its end (a minute at most) on the real library when images is null, or on the engine wired up.
ConversionResult convert(const ConversionJob &job, const ImageObject *images = nullptr,
                         ConversionEngine *wired = nullptr);

// Writes bytes to path, replacing what was there, true when all were written; and a file's bytes, if any.
bool plantFile(const QString &path, const QByteArray &bytes);
QByteArray contentsOf(const QString &path);

// A red TIFF as Ghostscript writes one: no compression, least significant byte first.
QByteArray uncompressedTiff(QSize size);
// A file's permission bits; -1 when it is not there.
int modeOf(const QString &path);

// Files in folder, by name; and everything left in it, hidden entries, dangling links and FIFOs included.
QStringList filesIn(const QString &folder);
QStringList leftovers(const QString &folder);
// Live gs processes whose parent is pid, and the state letter of a process ('S', 'T', 'Z'; 0 when it is gone).
QList<int> ghostscriptChildren(qint64 pid);
char processState(qint64 pid);

// While the guard lives, a write that takes a file past bytes fails as on a full disk, without filling one.
QScopeGuard<std::function<void()>> limitFileSize(qint64 bytes);

// A folder per case whose "t%03d" subfolder, which keeps output-name escaping honest, is the temporary folder.
class CaseFolder
{
public:
    CaseFolder();
    ~CaseFolder();
    QString path(const QString &name = {}) const;
    QString temp() const { return path("t%03d"); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previousTemp;
};

} // namespace TestSupport
