// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRgb>

#include <array>
#include <deque>
#include <vector>

// The image library's colour reduction ("+dither -colors N" on an 8-bit page, opaque and not all gray, or with
// alpha), done row by row so that a page never has to be held whole: its colour tree is fed the rows in order,
// reduced, and then asked for each pixel's palette entry. It takes the library's arithmetic step for step, so the
// palette and every pixel come out as the library's own; only the cost differs (no 16-bit pixel cache, which at
// 2400 dpi spilled gigabytes to disk).
class ColourTree
{
public:
    // At most 256 colours; more are the library's to reduce.
    static constexpr int MaxColours = 256;

    // With alpha, colours are weighed by it, as the library does for an image with transparency; a page all of
    // gray is given the deepest tree.
    explicit ColourTree(int maximumColours, bool alpha = false, bool gray = false);
    ColourTree(const ColourTree &) = delete;
    ColourTree &operator=(const ColourTree &) = delete;

    // The next row of an opaque page, as red, green and blue bytes.
    void addRow(const uchar *rgb, int width);
    // The next row of a page with alpha.
    void addRow(const QRgb *argb, int width);
    // Ends the rows: the tree is reduced to the palette.
    void reduce();

    // The palette, at 16 bits a sample as the library holds it: red, green, blue and opacity (not alpha) of each
    // entry.
    using Entry = std::array<quint16, 4>;
    const std::vector<Entry> &palette() const { return m_palette; }
    // The palette entry a colour is given.
    int entryOf(uchar red, uchar green, uchar blue, uchar alpha = 255);

private:
    // A colour as the tree weighs it: at 16 bits a sample, times its alpha where it has some, and the bytes that
    // choose its way down.
    struct Weighed
    {
        std::array<double, 4> samples; // red, green, blue, opacity
        std::array<uchar, 4> bytes;
    };
    struct Node
    {
        Node *parent = nullptr;
        std::array<Node *, 16> child{};
        quint64 pixels = 0;
        std::array<double, 4> total{}; // of the pixels that end here, each sample over 1
        double error = 0;
        int entry = 0;
        int id = 0;
        int level = 0;
    };

    Node *newNode(int id, int level, Node *parent);
    Weighed weighed(uchar red, uchar green, uchar blue, uchar alpha) const;
    int childId(const Weighed &colour, int bit) const;
    void classify(const Weighed &colour, qint64 count, int depth);
    void endRow();
    void pruneChild(Node *node);
    void pruneLevel(Node *node);
    void pruneToCubeDepth(Node *node);
    void reduceNode(Node *node);
    size_t flattenErrors(const Node *node, size_t offset, std::vector<double> &errors) const;
    void definePalette(Node *node);
    void closest(const Node *node, const std::array<double, 4> &target, double &distance, int &entry) const;

    std::deque<Node> m_store; // nodes keep their address; pruned ones are only unlinked, as in the library
    Node *m_root = nullptr;
    size_t m_nodes = 0;
    size_t m_colours = 0;
    size_t m_maximum;
    bool m_alpha;
    int m_depth;
    bool m_fullDepth = true; // until the page shows more colours than the palette holds
    double m_pruningThreshold = 0;
    double m_nextThreshold = 0;
    std::vector<Entry> m_palette;
    // Recently looked-up colours and their entries (-1 for none yet); the look-up depends on the colour alone.
    std::vector<QRgb> m_cachedColour;
    std::vector<qint16> m_cachedEntry;
};
