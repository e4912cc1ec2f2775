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

// A weighed sample back at 16 bits, and then at 8, as the library picks a node by it.
quint16 clampPixel(double value)
{
    if (value < 0.0)
        return 0;
    if (value >= QuantumRange)
        return quint16(QuantumRange);
    return quint16(value + 0.5);
}

uchar toByte(quint16 quantum)
{
    return uchar(((quantum + 128UL) - ((quantum + 128UL) >> 8)) >> 8);
}

} // namespace

ColourTree::ColourTree(int maximumColours, bool alpha, bool gray)
    : m_maximum(size_t(std::clamp(maximumColours, 1, MaxColours)))
    , m_alpha(alpha)
{
    // The tree's depth for a palette of this size, one less for a large palette with transparency, the deepest
    // for gray.
    int depth = 1;
    for (size_t colours = m_maximum; colours != 0; ++depth)
        colours >>= 2;
    if (alpha && depth > 5)
        --depth;
    if (gray)
        depth = MaxTreeDepth;
    m_depth = std::clamp(depth, 2, MaxTreeDepth);
    m_root = newNode(0, 0, nullptr);
    m_root->parent = m_root;
    m_cachedColour.assign(size_t(1) << CacheBits, 0);
    m_cachedEntry.assign(size_t(1) << CacheBits, -1);
}

ColourTree::Weighed ColourTree::weighed(uchar red, uchar green, uchar blue, uchar alpha) const
{
    const std::array<quint16, 4> quanta{quint16(257 * red), quint16(257 * green), quint16(257 * blue),
                                        quint16(65535 - 257 * alpha)};
    Weighed colour{};
    if (!m_alpha || quanta[3] == 0) {
        for (size_t c = 0; c < 4; ++c)
            colour.samples[c] = double(quanta[c]);
    } else {
        const double weight = QuantumScale * (65535 - quanta[3]);
        for (size_t c = 0; c < 3; ++c)
            colour.samples[c] = weight * quanta[c];
        colour.samples[3] = double(quanta[3]);
    }
    for (size_t c = 0; c < 4; ++c)
        colour.bytes[c] = toByte(clampPixel(colour.samples[c]));
    return colour;
}

int ColourTree::childId(const Weighed &colour, int bit) const
{
    const auto &bytes = colour.bytes;
    int id = ((bytes[0] >> bit) & 1) | (((bytes[1] >> bit) & 1) << 1) | (((bytes[2] >> bit) & 1) << 2);
    if (m_alpha)
        id |= ((bytes[3] >> bit) & 1) << 3;
    return id;
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
        classify(weighed(pixel[0], pixel[1], pixel[2], 255), count, m_fullDepth ? MaxTreeDepth : m_depth);
        x += count;
    }
    endRow();
}

void ColourTree::addRow(const QRgb *argb, int width)
{
    if (m_nodes > MaxNodes) {
        pruneLevel(m_root);
        --m_depth;
    }
    for (int x = 0; x < width;) {
        const QRgb pixel = argb[x];
        int count = 1;
        while (x + count < width && argb[x + count] == pixel)
            ++count;
        classify(weighed(uchar(qRed(pixel)), uchar(qGreen(pixel)), uchar(qBlue(pixel)), uchar(qAlpha(pixel))), count,
                 m_fullDepth ? MaxTreeDepth : m_depth);
        x += count;
    }
    endRow();
}

void ColourTree::endRow()
{
    // Every colour gets a leaf of its own until there are more than the palette holds; from the next row on the
    // tree goes only as deep as its size asks.
    if (m_fullDepth && m_colours > m_maximum) {
        pruneToCubeDepth(m_root);
        m_fullDepth = false;
    }
}

void ColourTree::classify(const Weighed &colour, qint64 count, int depth)
{
    const std::array<double, 4> &pixel = colour.samples;
    double bisect = (QuantumRange + 1.0) / 2.0;
    std::array<double, 4> mid{QuantumRange / 2.0, QuantumRange / 2.0, QuantumRange / 2.0, QuantumRange / 2.0};
    Node *node = m_root;
    int bit = MaxTreeDepth - 1;
    for (int level = 1; level <= depth; ++level, --bit) {
        bisect *= 0.5;
        const int id = childId(colour, bit);
        for (int c = 0; c < 4; ++c)
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
        const double opacity = m_alpha ? QuantumScale * (pixel[3] - mid[3]) : 0.0;
        const double distance = red * red + green * green + blue * blue + opacity * opacity;
        node->error += double(count) * std::sqrt(distance);
        m_root->error += node->error;
    }
    node->pixels += quint64(count);
    for (size_t c = 0; c < 4; ++c)
        node->total[c] += double(count) * QuantumScale * clampPixel(c < 3 || m_alpha ? pixel[c] : 0.0);
}

void ColourTree::pruneChild(Node *node)
{
    for (Node *child : node->child) {
        if (child)
            pruneChild(child);
    }
    Node *parent = node->parent;
    parent->pixels += node->pixels;
    for (size_t c = 0; c < 4; ++c)
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
    // The mean colour of the node's pixels; with alpha, taken back from its weighing.
    const double alpha = perceptibleReciprocal(double(qint64(node->pixels)));
    Entry entry{};
    entry[3] = m_alpha ? clampToQuantum(alpha * QuantumRange * node->total[3]) : 0;
    if (entry[3] == 0) {
        for (size_t c = 0; c < 3; ++c)
            entry[c] = clampToQuantum(alpha * QuantumRange * node->total[c]);
    } else {
        const double gamma = perceptibleReciprocal(QuantumScale * (QuantumRange - double(entry[3])));
        for (size_t c = 0; c < 3; ++c)
            entry[c] = clampToQuantum(alpha * gamma * QuantumRange * node->total[c]);
    }
    node->entry = int(m_palette.size());
    m_palette.push_back(entry);
}

int ColourTree::entryOf(uchar red, uchar green, uchar blue, uchar alpha)
{
    const QRgb key = qRgba(red, green, blue, alpha);
    const size_t slot = (key * 2654435761u) >> (32 - CacheBits);
    if (m_cachedEntry[slot] >= 0 && m_cachedColour[slot] == key)
        return m_cachedEntry[slot];
    // The deepest node on the colour's way down, and the closest entry among its parent's nodes.
    const Weighed colour = weighed(red, green, blue, alpha);
    const Node *node = m_root;
    for (int bit = MaxTreeDepth - 1; bit > 0; --bit) {
        const Node *child = node->child[size_t(childId(colour, bit))];
        if (!child)
            break;
        node = child;
    }
    double distance = 4.0 * (QuantumRange + 1.0) * (QuantumRange + 1.0) + 1.0;
    int entry = 0;
    closest(node->parent, colour.samples, distance, entry);
    m_cachedColour[slot] = key;
    m_cachedEntry[slot] = qint16(entry);
    return entry;
}

void ColourTree::closest(const Node *node, const std::array<double, 4> &target, double &distance, int &entry) const
{
    for (const Node *child : node->child) {
        if (child)
            closest(child, target, distance, entry);
    }
    if (node->pixels == 0)
        return;
    // Summed a sample at a time, given up as soon as it is further than the best so far; a tie goes to the later.
    // With alpha both colours are weighed by it (the target a second time, as the library does).
    const Entry &colour = m_palette[size_t(node->entry)];
    const double alpha = m_alpha ? QuantumScale * (65535 - colour[3]) : 1.0;
    const double beta = m_alpha ? QuantumScale * (QuantumRange - target[3]) : 1.0;
    double sum = 0;
    for (size_t c = 0; c < 3; ++c) {
        const double difference = alpha * colour[c] - beta * target[c];
        sum += difference * difference;
        if (sum > distance)
            return;
    }
    if (m_alpha) {
        const double difference = double(65535 - colour[3]) - (QuantumRange - target[3]);
        sum += difference * difference;
        if (sum > distance)
            return;
    }
    distance = sum;
    entry = node->entry;
}
