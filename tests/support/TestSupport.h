// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/ConversionEngine.h"
#include "tools/GhostscriptCommands.h"

#include <QList>
#include <QRect>
#include <QSizeF>
#include <QStringList>
#include <QTemporaryDir>

namespace TestSupport {

// A PDF with one page per size (points): a gradient box inside a white margin, and the page number. A colour
// wheel fills the margin instead when asked, so that no reduction of the colours falls short of its target.
bool writePdf(const QString &path, const QList<QSizeF> &pages, bool wheel = false);
// A PDF written byte by byte, for what QPdfWriter will not make: one page per media box ("0 0 612 792"),
// each showing text in a font of the given name (PDF syntax, so "#0A" is a line break), and a title. The page
// tree claims claimedPages pages when given.
bool writeRawPdf(const QString &path, const QStringList &mediaBoxes, const QByteArray &fontName = "Helvetica",
                 const QByteArray &title = {}, qint64 claimedPages = 0);
// Runs a helper tool such as qpdf to its end; true when it exits with 0.
bool run(const QString &program, const QStringList &arguments);
// AES-256 with owner password "owner"; an empty user password opens it without asking. Revision 5 is the
// older form of AES-256.
bool encrypt(const QString &pdf, const QString &encrypted, const QString &userPassword, bool revision5 = false);
// Ghostscript's own answer to -dPDFINFO for one page.
DocumentInfo documentInfo(const QString &pdf, int page);

// A shell script standing in for gs, written into folder. Before body runs, every argument is appended to
// folder/gs.log, an argument file's contents to folder/argfile.log (and the names of files in TMPDIR that
// hold them to folder/found.log), $info is set for the page count, "page N" announces page N and writes its
// bitmap, and "info_ok" answers a one-page document and exits.
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
};
ImageFacts readImage(const QString &path);

// Runs the engine on job to its end (a minute at most); images may be null for the real library.
ConversionResult convert(const ConversionJob &job, const ImageObject *images = nullptr);
// The same on an engine the caller has wired up, to cancel or hold it on the way.
ConversionResult convert(ConversionEngine &engine, const ConversionJob &job);

// Writes bytes to path, replacing what was there; true when all were written.
bool plantFile(const QString &path, const QByteArray &bytes);
// A file's bytes; empty when it cannot be read.
QByteArray contentsOf(const QString &path);

// A red TIFF of the given size as Ghostscript writes one: no compression, least significant byte first.
QByteArray uncompressedTiff(QSize size);
// A file's permission bits; -1 when it is not there.
int modeOf(const QString &path);
// The permission bits the umask leaves a new file: as readable as any other the user makes.
int newFileMode();

// Files in folder, by name.
QStringList filesIn(const QString &folder);
// Everything left in folder, hidden entries included.
QStringList leftovers(const QString &folder);
// Live gs processes whose parent is pid.
QList<int> ghostscriptChildren(qint64 pid);
// The state letter /proc gives a process ('S', 'T', 'Z', ...); 0 when it is gone.
char processState(qint64 pid);

// A tmpfs mounted with options ("size=1m") at path while the object lives; mounted is false where that is not
// allowed.
class SmallDisk
{
public:
    SmallDisk(const QString &path, const QString &options);
    ~SmallDisk();
    const QString path;
    const bool mounted;
};

// While it lives, a write that takes a file past bytes fails as on a full disk, without filling one.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();

private:
    qint64 m_previous;
    void (*m_handler)(int);
};

// A fresh folder per case whose "t%03d" subfolder is the temporary folder while it lives; the percent sign
// keeps Ghostscript's output-name escaping honest in every run.
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
