#pragma once

#include "document/StationDocument.h"

#include <QRect>

#include <vector>

namespace kalmor {

namespace detail {
struct LayerBuckets;
}

// Finds the records whose drawing can reach a rectangle of the surface
// without walking whole lists: each list is kept in buckets of 16 x 16
// cells. Single edits (append, replace, removeAt) are followed from the
// list's change log and their positions tested one by one; clear, shift,
// a new list or a long series of edits rebuild the buckets lazily at the
// next query. Answers are in list order, so the stacking within a layer
// stays that of the list.
//
// A record reaches at most its own cell and the horizontal neighbours
// (corner partners), except lamps, which stand at pixel offsets. Lamps
// with offsets beyond a few hundred pixels, and lamp names in the other
// two lists (they borrow offsets from the lamp list), are kept apart and
// offered for every rectangle; drawing clips them.
class ElementIndex {
public:
    ElementIndex();
    ~ElementIndex();
    ElementIndex(const ElementIndex &) = delete;
    ElementIndex &operator=(const ElementIndex &) = delete;

    // Positions (ascending) of records that may reach the rectangle of
    // surface pixels; a superset of those that do.
    void lampsNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out);
    void tilesNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out);
    void platesNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out);

    // Forget everything, e.g. when the document took over another station.
    void invalidate();

    // How often the buckets of a list have been built, for tests and
    // benchmarks.
    quint64 rebuildCount() const { return m_rebuilds; }

private:
    std::vector<detail::LayerBuckets> m_layers;
    quint64 m_rebuilds = 0;
};

}  // namespace kalmor
