#pragma once

#include "render/index/ElementIndex.h"
#include "render/index/IndexLayer.h"

#include <QRect>

#include <vector>

namespace kalmor {

// What tests ask of a cell index beyond what a frame asks.
struct IndexProbe {
    // Whether the index has followed every change of doc's lists that it
    // can follow, with nothing left to merge.
    static bool followed(const ElementIndex &index, const StationData &doc)
    {
        const auto layer = [&index](ElementIndex::Layer which, const auto &list) {
            const detail::LayerState &state = index.m_layers[std::size_t(which)];
            return !state.valid || state.list != &list
                || (state.revision == list.revision() && !state.edits.unsettled());
        };
        return layer(ElementIndex::Layer::Lamps, doc.lamps) && layer(ElementIndex::Layer::Tiles, doc.tiles)
            && layer(ElementIndex::Layer::Plates, doc.plates) && layer(ElementIndex::Layer::Desk, doc.deskElements);
    }

    // The same for the index of a drawing surface.
    template <class Surface>
    static bool followed(const Surface &surface)
    {
        return followed(surface.m_index, surface.m_doc.data());
    }
};

// The positions, ascending, of the records of one list that a frame draws
// in the rectangle of surface pixels.
inline std::vector<qint32> positionsDrawn(ElementIndex &index, ElementIndex::Layer layer, const StationData &doc,
                                          const QRect &rect, int cellSize)
{
    std::vector<IndexedDraw> draws;
    index.gather(layer, doc, rect, cellSize, draws);
    std::vector<qint32> positions;
    for (const IndexedDraw &d : draws)
        positions.push_back(d.pos);
    return positions;
}

}  // namespace kalmor
