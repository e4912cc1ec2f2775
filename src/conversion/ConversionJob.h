// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/DocumentOpener.h"
#include "settings/ConversionOptions.h"
#include "tools/GhostscriptCommands.h"
#include "tools/ImageObject.h"
#include "tools/Problem.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>

// Everything one conversion run needs, fixed when it starts.
struct ConversionJob
{
    ConversionOptions options; // options.sourceFile is the document
    QString ghostscript;
    QString destination; // as chosen
    int firstPage = 1;
    int lastPage = 1;
    QList<int> pageList; // ascending, each once; when empty, firstPage to lastPage
    // Numbered files (scan001.png, ...) rather than the destination itself.
    bool numbered = false;
    int pageCount = 1;              // of the document: more than 999 pages take more digits
    QString password;               // for the run only; never stored
    bool legacyInterpreter = false; // as DocumentInfo found
    int pageTimeout = 0;            // seconds a page may take; 0 for no limit
    QSizeF pageSize;                // points, of a page of the document, to judge the room a bitmap needs; may be empty
    bool printIntent = false;       // the document is made for print: found by the engine, or DocumentInfo
    bool measurePages = false;      // every page's size is read before rendering, for whoever reports them

    // A run over pages first to last of a document that opened.
    static ConversionJob forDocument(const ConversionOptions &options, const QString &ghostscript,
                                     const OpenedDocument &document, int first, int last, bool numbered);
    QList<int> pages() const;
    // What of the page Ghostscript draws, and how: the box, the drawing switches, overprint, the inks.
    void applyDrawingTo(RenderRequest &render) const;
    int pagesInRun() const { return pageList.isEmpty() ? lastPage - firstPage + 1 : int(pageList.size()); }
    // The resolution Ghostscript renders at: the one chosen, or for a box in pixels the least that covers
    // it for pageSize (the options' resolution when pageSize is unknown).
    int renderDpi() const;
    // The bytes Ghostscript needs in the temporary folder for one page, at least.
    qint64 bitmapBytes() const;
    // The bytes a page at dpi takes in memory and the temporary folder: Ghostscript's bitmap and the image
    // library's pixel cache for the copies the reduction makes.
    qint64 bitmapBytesAt(int dpi) const;
    qint64 pixelCacheBytesAt(int dpi) const;
    // A page beyond what the image library may hold, or beyond room, refused before any rendering, with the
    // highest resolution that passes the same check. None when pageSize is unknown.
    Problem checkSize(const ImageRoom &room) const;
    // The destination's own extension decides when it is one of ours, so a file's name and its content
    // always agree; otherwise the chosen format does.
    ImageFormat format() const;
    bool keepsTransparency() const { return options.keepsTransparencyIn(format()); }
    // All pages go into one file: a single page, or a multi-page TIFF.
    bool isOneFile() const { return !numbered || format() == ImageFormat::Tiff; }
    QString outputFileName(int page) const;
    QStringList outputFileNames() const;
    // The files the run would replace that the save dialog has not asked about already: numbered names, a
    // name that gained the format's extension, and the chosen name itself unless the dialog asked.
    QStringList outputsToReplace(const std::function<bool(const QString &)> &exists, bool dialogAsked) const;
    // The image library's command line for one rendered page: trim, colours, resolution tag.
    QStringList magickArguments(const QString &bitmap) const;
    // How the library writes the page for the file: its format, quality and form.
    ImageEncoding imageEncoding() const;
    // When a page's work is the colour reduction alone, into a PNG palette: its colour count, which a page of no
    // more colours keeps as they are (and needs no library). 0 otherwise.
    int exactPaletteColours() const;
    // The same for a page that keeps its transparency, which needs no library either.
    int transparentPaletteColours() const;
    // When a page's work is turning it into 8-bit gray for a PNG.
    bool writesGrayDirectly() const;
};
