#include "editing/LayoutOverlaySource.h"

#include "analysis/LayoutAnalysis.h"

namespace kalmor {

void LayoutOverlaySource::trackPaintsIn(const QRect &cells, std::vector<TrackPaint> &out) const
{
    std::vector<std::pair<QPoint, TileCircuits>> tiles;
    m_analysis.tilesIn(cells, tiles);
    out.clear();
    out.reserve(tiles.size());
    for (const auto &[cell, t] : tiles)
        out.push_back(TrackPaint{cell, t.position, QRgb(t.colour[0]), QRgb(t.colour[1]), t.dx, t.dy});
}

void LayoutOverlaySource::problemCellsIn(const QRect &cells, std::vector<QPoint> &out) const
{
    m_analysis.problems().cellsIn(cells, out);
}

}  // namespace kalmor
