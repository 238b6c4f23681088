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
// cells, rebuilt lazily when the list's revision changes. Answers are in
// list order, so the stacking within a layer stays that of the list.
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

private:
    std::vector<detail::LayerBuckets> m_layers;
};

}  // namespace kalmor
