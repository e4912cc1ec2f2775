// SPDX-FileCopyrightText: 2026 sheetforge contributors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ColourTree.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

// Every expression below keeps the library's order of operations and its types (doubles, 16-bit samples):
// floating-point sums taken in another order would move a palette entry by one level now and then.
namespace {

constexpr double QuantumRange = 65535.0;
constexpr double QuantumScale = 1.0 / QuantumRange;
constexpr size_t MaxNodes = 266817;
constexpr int MaxTreeDepth = 8;
constexpr int CacheBits = 16;

double perceptibleReciprocal(double x)
{
    const double sign = x < 0.0 ? -1.0 : 1.0;
    return sign * x >= 1.0e-12 ? 1.0 / x : sign / 1.0e-12;
}

quint16 clampToQuantum(double value)
{
    if (std::isnan(value) || value <= 0.0)
        return 0;
    if (value >= QuantumRange)
        return quint16(QuantumRange);
    return quint16(value + 0.5);
}

// The library's comparison for its sort of the nodes' errors, equal within its epsilon; the same sort of the same
// array, so the same threshold.
int compareErrors(const void *a, const void *b)
{
    const double p = *static_cast<const double *>(a), q = *static_cast<const double *>(b);
    if (p > q)
        return 1;
    if (std::fabs(q - p) <= 1.0e-12)
        return 0;
    return -1;
}

int childId(uchar red, uchar green, uchar blue, int bit)
{
    return ((red >> bit) & 1) | (((green >> bit) & 1) << 1) | (((blue >> bit) & 1) << 2);
}

} // namespace

ColourTree::ColourTree(int maximumColours)
    : m_maximum(size_t(std::clamp(maximumColours, 1, MaxColours)))
{
    // The tree's depth for a palette of this size, one less with transparency or dithering, neither of which
    // comes here.
    int depth = 1;
    for (size_t colours = m_maximum; colours != 0; ++depth)
        colours >>= 2;
    m_depth = std::clamp(depth, 2, MaxTreeDepth);
    m_root = newNode(0, 0, nullptr);
    m_root->parent = m_root;
    m_cachedColour.assign(size_t(1) << CacheBits, 0);
    m_cachedEntry.assign(size_t(1) << CacheBits, 0);
}

ColourTree::Node *ColourTree::newNode(int id, int level, Node *parent)
{
    Node &node = m_store.emplace_back();
    node.parent = parent;
    node.id = id;
    node.level = level;
    ++m_nodes;
    return &node;
}

void ColourTree::addRow(const uchar *rgb, int width)
{
    if (m_nodes > MaxNodes) {
        pruneLevel(m_root);
        --m_depth;
    }
    // Runs of one colour go down the tree once.
    for (int x = 0; x < width;) {
        const uchar *pixel = rgb + 3 * x;
        int count = 1;
        while (x + count < width && pixel[3 * count] == pixel[0] && pixel[3 * count + 1] == pixel[1]
               && pixel[3 * count + 2] == pixel[2])
            ++count;
        classify(pixel, count, m_fullDepth ? MaxTreeDepth : m_depth);
        x += count;
    }
    // Every colour gets a leaf of its own until there are more than the palette holds; from the next row on the
    // tree goes only as deep as its size asks.
    if (m_fullDepth && m_colours > m_maximum) {
        pruneToCubeDepth(m_root);
        m_fullDepth = false;
    }
}

void ColourTree::classify(const uchar *rgb, qint64 count, int depth)
{
    const std::array<double, 3> pixel{257.0 * rgb[0], 257.0 * rgb[1], 257.0 * rgb[2]};
    double bisect = (QuantumRange + 1.0) / 2.0;
    std::array<double, 3> mid{QuantumRange / 2.0, QuantumRange / 2.0, QuantumRange / 2.0};
    Node *node = m_root;
    int bit = MaxTreeDepth - 1;
    for (int level = 1; level <= depth; ++level, --bit) {
        bisect *= 0.5;
        const int id = childId(rgb[0], rgb[1], rgb[2], bit);
        for (int c = 0; c < 3; ++c)
            mid[size_t(c)] += (id & (1 << c)) != 0 ? bisect : -bisect;
        if (!node->child[size_t(id)]) {
            node->child[size_t(id)] = newNode(id, level, node);
            if (level == depth)
                ++m_colours;
        }
        node = node->child[size_t(id)];
        // The node's quantization error: how far its pixels lie from its centre.
        const double red = QuantumScale * (pixel[0] - mid[0]);
        const double green = QuantumScale * (pixel[1] - mid[1]);
        const double blue = QuantumScale * (pixel[2] - mid[2]);
        const double distance = red * red + green * green + blue * blue;
        node->error += double(count) * std::sqrt(distance);
        m_root->error += node->error;
    }
    node->pixels += quint64(count);
    for (size_t c = 0; c < 3; ++c)
        node->total[c] += double(count) * QuantumScale * pixel[c];
}

void ColourTree::pruneChild(Node *node)
{
    for (Node *child : node->child) {
        if (child)
            pruneChild(child);
    }
    Node *parent = node->parent;
    parent->pixels += node->pixels;
    for (size_t c = 0; c < 3; ++c)
        parent->total[c] += node->total[c];
    parent->child[size_t(node->id)] = nullptr;
    --m_nodes;
}

void ColourTree::pruneLevel(Node *node)
{
    for (Node *child : node->child) {
        if (child)
            pruneLevel(child);
    }
    if (node->level == m_depth)
        pruneChild(node);
}

void ColourTree::pruneToCubeDepth(Node *node)
{
    for (Node *child : node->child) {
        if (child)
            pruneToCubeDepth(child);
    }
    if (node->level > m_depth)
        pruneChild(node);
}

void ColourTree::reduceNode(Node *node)
{
    for (Node *child : node->child) {
        if (child)
            reduceNode(child);
    }
    if (node->error <= m_pruningThreshold) {
        pruneChild(node);
        return;
    }
    if (node->pixels > 0)
        ++m_colours;
    if (node->error < m_nextThreshold)
        m_nextThreshold = node->error;
}

size_t ColourTree::flattenErrors(const Node *node, size_t offset, std::vector<double> &errors) const
{
    if (offset >= m_nodes)
        return 0;
    errors[offset] = node->error;
    size_t n = 1;
    for (const Node *child : node->child) {
        if (child)
            n += flattenErrors(child, offset + n, errors);
    }
    return n;
}

void ColourTree::reduce()
{
    if (m_colours > m_maximum) {
        // The first threshold leaves about a tenth more nodes than colours; then the least error goes, pass by pass.
        m_nextThreshold = 0.0;
        std::vector<double> errors(m_nodes);
        flattenErrors(m_root, 0, errors);
        std::qsort(errors.data(), errors.size(), sizeof(double), compareErrors);
        const size_t kept = 110 * (m_maximum + 1) / 100;
        if (m_nodes > kept)
            m_nextThreshold = errors[m_nodes - kept];
        while (m_colours > m_maximum) {
            m_pruningThreshold = m_nextThreshold;
            m_nextThreshold = m_root->error - 1;
            m_colours = 0;
            reduceNode(m_root);
        }
    }
    m_palette.clear();
    definePalette(m_root);
}

void ColourTree::definePalette(Node *node)
{
    for (Node *child : node->child) {
        if (child)
            definePalette(child);
    }
    if (node->pixels == 0)
        return;
    // The mean colour of the node's pixels.
    const double alpha = perceptibleReciprocal(double(qint64(node->pixels)));
    std::array<quint16, 3> entry{};
    for (size_t c = 0; c < 3; ++c)
        entry[c] = clampToQuantum(alpha * QuantumRange * node->total[c]);
    node->entry = int(m_palette.size());
    m_palette.push_back(entry);
}

int ColourTree::entryOf(uchar red, uchar green, uchar blue)
{
    const quint32 colour = (quint32(red) << 16 | quint32(green) << 8 | blue) | 1u << 24;
    const size_t slot = (colour * 2654435761u) >> (32 - CacheBits);
    if (m_cachedColour[slot] == colour)
        return m_cachedEntry[slot];
    // The deepest node on the colour's way down, and the closest entry among its parent's nodes.
    const Node *node = m_root;
    for (int bit = MaxTreeDepth - 1; bit > 0; --bit) {
        const Node *child = node->child[size_t(childId(red, green, blue, bit))];
        if (!child)
            break;
        node = child;
    }
    const std::array<double, 3> target{257.0 * red, 257.0 * green, 257.0 * blue};
    double distance = 4.0 * (QuantumRange + 1.0) * (QuantumRange + 1.0) + 1.0;
    int entry = 0;
    closest(node->parent, target, distance, entry);
    m_cachedColour[slot] = colour;
    m_cachedEntry[slot] = quint8(entry);
    return entry;
}

void ColourTree::closest(const Node *node, const std::array<double, 3> &target, double &distance, int &entry) const
{
    for (const Node *child : node->child) {
        if (child)
            closest(child, target, distance, entry);
    }
    if (node->pixels == 0)
        return;
    // Summed a sample at a time, given up as soon as it is further than the best so far; a tie goes to the later.
    const std::array<quint16, 3> &colour = m_palette[size_t(node->entry)];
    double sum = 0;
    for (size_t c = 0; c < 3; ++c) {
        const double difference = 1.0 * colour[c] - 1.0 * target[c];
        sum += difference * difference;
        if (sum > distance)
            return;
    }
    distance = sum;
    entry = node->entry;
}
