#include "render/FrameOverlays.h"

#include "render/ImageSet.h"

#include <vector>

namespace kalmor {

namespace {

constexpr QRgb Black = 0xFF000000;

// The cells whose rectangles meet the clip (which lies on the surface,
// so its coordinates are not negative).
QRect cellsOf(const QRect &clip, int cell)
{
    return QRect(QPoint(clip.left() / cell, clip.top() / cell), QPoint(clip.right() / cell, clip.bottom() / cell));
}

}  // namespace

void recolourTracks(FrameTarget &target, const StationData &doc, const Overlays &overlays, const ImageSet &images,
                    int cellSize)
{
    if (!overlays.source)
        return;
    std::vector<TrackPaint> paints;
    overlays.source->trackPaintsIn(cellsOf(target.clip, cellSize), paints);
    if (paints.empty())
        return;
    for (const TrackPaint &paint : paints) {
        // An answer about a record that is no longer there is passed over.
        if (paint.tile < 0 || paint.tile >= doc.tiles.count())
            continue;
        const TPolePanelu &tile = doc.tiles.at(paint.tile);
        const int picture = images.indexOf(tile.NAME);
        if (tile.X != paint.cell.x() || tile.Y != paint.cell.y() || picture < 0)
            continue;
        const auto scaled = images.scaledPicture(picture, QSize(cellSize, cellSize));
        const QPoint corner(paint.cell.x() * cellSize, paint.cell.y() * cellSize);
        const QRect area = QRect(corner, QSize(cellSize, cellSize)) & target.clip;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const int py = y - corner.y();
            const QRgb *source = scaled->row(py) + (area.left() - corner.x());
            QRgb *row = target.at(area.left(), y);
            // Which side of the line across the tile's middle a pixel's
            // centre lies on, in doubled pixels, grows by 2 dx a column.
            int side = paint.dx * (2 * (area.left() - corner.x()) + 1 - cellSize) + paint.dy * (2 * py + 1 - cellSize);
            for (int x = 0; x < area.width(); ++x, side += 2 * paint.dx) {
                if (source[x] == Black && row[x] == Black)
                    row[x] = side >= 0 ? paint.second : paint.first;
            }
        }
    }
}

void outlineProblemCells(FrameTarget &target, const Overlays &overlays, int cellSize)
{
    if (!overlays.source || !overlays.outlineProblems)
        return;
    std::vector<QPoint> cells;
    overlays.source->problemCellsIn(cellsOf(target.clip, cellSize), cells);
    const qint64 cell = cellSize;
    const qint64 w = ProblemOutlineWidth;
    for (const QPoint c : cells) {
        const qint64 x0 = c.x() * cell;
        const qint64 y0 = c.y() * cell;
        if (cell < 2 * w + 2) {
            fillRect(target, WideRect{x0, y0, cell, cell}, ProblemOutlineColour);
            continue;
        }
        const qint64 inner = cell - 1;
        fillRect(target, WideRect{x0 + 1, y0 + 1, inner, w}, ProblemOutlineColour);
        fillRect(target, WideRect{x0 + 1, y0 + cell - w, inner, w}, ProblemOutlineColour);
        fillRect(target, WideRect{x0 + 1, y0 + 1, w, inner}, ProblemOutlineColour);
        fillRect(target, WideRect{x0 + cell - w, y0 + 1, w, inner}, ProblemOutlineColour);
    }
}

}  // namespace kalmor
