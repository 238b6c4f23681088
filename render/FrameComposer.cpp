#include "render/FrameComposer.h"

#include "render/AreaFrames.h"
#include "render/ElementDrawing.h"
#include "render/ImageSet.h"
#include "render/IndexedDrawing.h"
#include "render/index/ElementIndex.h"
#include "render/FrameOverlays.h"
#include "render/PictureDrawing.h"
#include "render/SystemColours.h"
#include "render/TileCache.h"
#include "render/TileRunner.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <cstring>
#include <mutex>
#include <vector>

namespace kalmor {

CanvasState::CanvasState() : font(QGuiApplication::font())
{
    // Plain pixels in one colour: the diagnostic texts look the same on
    // every background and in every part of the surface. The lines stand
    // 10 pixels apart, so the font must be small enough not to overlap.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setPixelSize(8);
}

std::array<QString, 6> diagnosticLines(const RenderState &state, const EditingView &editing,
                                       const StationData &doc)
{
    return {
        QStringLiteral("RefreshStopCount: ") + QString::number(state.lagCount),
        QStringLiteral("RefreshTick/FrameRate: ") + QString::number(state.frameRate),
        QStringLiteral("ArrayLength_P : ") + QString::number(doc.tiles.count()),
        QStringLiteral("ArrayLength_Z: ") + QString::number(doc.lamps.count()),
        QStringLiteral("ArrayLength_S: ") + QString::number(doc.plates.count()),
        QStringLiteral("Position: X=") + QString::number(editing.cursorColumn) + QStringLiteral(" Y=")
            + QString::number(editing.cursorRow),
    };
}

namespace {

// Lines from (0, k * cell) to (surface width, k * cell) and from
// (k * cell, 0) to (k * cell, surface height) for k = 0 .. rows / columns;
// only those crossing the clip are visited. The clip lies inside the
// surface, so the vertical lines cross all its rows: they are drawn row
// by row, in the order the pixels lie in memory.
void drawGrid(FrameTarget &target, const RenderState &state, qint64 cell)
{
    const QRect &clip = target.clip;
    const qint64 firstRow = std::max<qint64>(0, (qint64(clip.top()) + cell - 1) / cell);
    const qint64 lastRow = std::min<qint64>(state.appliedRows, clip.bottom() / cell);
    for (qint64 k = firstRow; k <= lastRow; ++k)
        fillRect(target, WideRect{0, k * cell, state.surfaceSize.width(), 1}, GridColour);
    const qint64 firstColumn = std::max<qint64>(0, (qint64(clip.left()) + cell - 1) / cell);
    const qint64 lastColumn = std::min<qint64>(state.appliedColumns, clip.right() / cell);
    if (firstColumn > lastColumn)
        return;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        QRgb *line = target.at(firstColumn * cell, y);
        for (qint64 k = 0; k <= lastColumn - firstColumn; ++k)
            line[k * cell] = GridColour;
    }
}

// Whether the grid covers every pixel of the clip, as at cells of one
// pixel: every row of the clip is then a horizontal line across the whole
// surface, or every column a vertical one, and nothing drawn before the
// grid can show.
bool gridCoversClip(const FrameTarget &target, const RenderState &state, qint64 cell)
{
    if (!state.switches.grid || cell != 1)
        return false;
    const QRect &clip = target.clip;
    return clip.bottom() <= state.appliedRows || clip.right() <= state.appliedColumns;
}

// Two pixels wide: on the grid lines around the selected cells, and one
// pixel inside them, where no grid line runs.
void drawSelectionOutline(FrameTarget &target, const CellRect &selection, qint64 cell)
{
    const qint64 x0 = selection.left * cell;
    const qint64 y0 = selection.top * cell;
    const qint64 x1 = (qint64(selection.right) + 1) * cell;
    const qint64 y1 = (qint64(selection.bottom) + 1) * cell;
    const auto dashed = [&target](const WideRect &band, Qt::Orientation along) {
        fillDashed(target, band, along, SelectionDashColours, SelectionDashLength);
    };
    dashed(WideRect{x0, y0, x1 - x0 + 1, 2}, Qt::Horizontal);
    dashed(WideRect{x0, y1 - 1, x1 - x0 + 1, 2}, Qt::Horizontal);
    dashed(WideRect{x0, y0, 2, y1 - y0 + 1}, Qt::Vertical);
    dashed(WideRect{x1 - 1, y0, 2, y1 - y0 + 1}, Qt::Vertical);
}

// The outline of the rectangle (x0, y0) - (x0 + cell + 1, y0 + cell + 1),
// right and bottom exclusive: the cell's four grid lines.
void drawCursorFrame(FrameTarget &target, const EditingView &editing, qint64 cell)
{
    const qint64 x0 = editing.cursorColumn * cell;
    const qint64 y0 = editing.cursorRow * cell;
    const qint64 side = cell + 1;
    fillRect(target, WideRect{x0, y0, side, 1}, CursorFrameColour);
    fillRect(target, WideRect{x0, y0 + cell, side, 1}, CursorFrameColour);
    fillRect(target, WideRect{x0, y0, 1, side}, CursorFrameColour);
    fillRect(target, WideRect{x0 + cell, y0, 1, side}, CursorFrameColour);
}

void drawDiagnostics(FrameTarget &target, const RenderState &state, const EditingView &editing,
                     const StationData &doc, const CanvasState &canvas)
{
    constexpr int Left = 10;
    constexpr int FirstTop = 10;
    constexpr int LineStep = 10;
    const QFontMetrics metrics(canvas.font, &target.image);
    const auto lines = diagnosticLines(state, editing, doc);
    int widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QRect block(Left, FirstTop, widest + 1, LineStep * int(lines.size() - 1) + metrics.height() + 1);
    if (!block.intersects(target.clip))
        return;

    QPainter painter(&target.image);
    painter.translate(-target.origin);
    painter.setClipRect(target.clip);
    painter.setFont(canvas.font);
    painter.setPen(QColor::fromRgb(DiagnosticColour));
    int top = FirstTop;
    for (const QString &line : lines) {
        if (!canvas.brushHollow)
            painter.fillRect(QRect(Left, top, metrics.horizontalAdvance(line), metrics.height()), Qt::white);
        painter.drawText(QPoint(Left, top + metrics.ascent()), line);
        top += LineStep;
    }
}

// The steps of a frame that go tile by tile, in their order.
void composeTile(FrameTarget &tile, const StationData &doc, const RenderState &state, const EditingView &editing,
                 const ImageSet &images, ElementIndex *index, const FrameTexts &texts, PlacedScratch &scratch)
{
    const int cell = std::max(1, state.cellSize);
    const WideRect all{tile.clip.left(), tile.clip.top(), tile.clip.width(), tile.clip.height()};
    if (gridCoversClip(tile, state, cell)) {
        fillRect(tile, all, GridColour);
    } else {
        fillRect(tile, all, toQColor(state.fillColour).rgb());
        if (index)
            drawPlacedElements(tile, doc, images, cell, *index, scratch);
        else
            drawEveryElement(tile, doc, images, cell);
        if (state.switches.trackCircuits) {
            const auto held = scratch.holdShared();
            recolourTracks(tile, doc, state.overlays, images, cell);
        }
        drawPreviews(tile, images, cell, state, editing);
        if (state.switches.grid)
            drawGrid(tile, state, cell);
        // Above the grid, so that its lines do not cut the letters.
        texts.draw(tile);
    }
    const auto held = scratch.holdShared();
    outlineProblemCells(tile, state.overlays, cell);
}

// Tiles drawn on every core at once: each takes its own scratch, and
// the index and the overlays, which work out their answers as asked, are
// asked under one lock.
class TileWorkers {
public:
    TileWorkers(const StationData &doc, ElementIndex *index, int tiles)
        : m_helpers(index ? tileHelpers(tiles) : 0), m_scratch(std::size_t(m_helpers) + 1)
    {
        if (m_helpers == 0)
            return;
        index->catchUp(doc);
        for (PlacedScratch &s : m_scratch)
            s.shared = &m_shared;
    }

    // Calls work(tile, scratch) for every tile 0 .. count - 1.
    template <class Work>
    void run(int count, Work work)
    {
        runTiles(count, m_helpers, [&](int t, int worker) { work(t, m_scratch[std::size_t(worker)]); });
    }

private:
    int m_helpers;
    std::vector<PlacedScratch> m_scratch;
    std::mutex m_shared;
};

// The tile steps of a frame, drawn straight into it. ElementIndex *index:
// the placed elements come through it, or, without one, by walking every
// list.
//
// The steps up to the grid go tile by tile: at small cells a view holds a
// hundred thousand records, whose pixels in list order land all over it,
// and within a tile what one step writes is still in the cache when the
// next writes over it. Each step clips to its tile, so every pixel sees
// the same draws in the same order as without tiles, and tiles are drawn
// on every core at once.
void composeTiles(FrameTarget &frame, const StationData &doc, const RenderState &state, const EditingView &editing,
                  const ImageSet &images, ElementIndex *index, TextReach &reach)
{
    const int cell = std::max(1, state.cellSize);
    // The plain walk visits every record once per tile: one tile for it.
    constexpr int TilePixels = 256;
    const int step = index ? TilePixels : std::max(frame.clip.width(), frame.clip.height());
    std::vector<QRect> tiles;
    for (int top = frame.clip.top(); top <= frame.clip.bottom(); top += step) {
        for (int left = frame.clip.left(); left <= frame.clip.right(); left += step)
            tiles.push_back(QRect(left, top, step, step));
    }
    FrameTexts texts;
    if (state.switches.texts)
        texts.gather(doc, index, reach, images.texts(), cell, frame.clip);
    TileWorkers workers(doc, index, int(tiles.size()));
    workers.run(int(tiles.size()), [&](int t, PlacedScratch &scratch) {
        FrameTarget tile(frame, tiles[std::size_t(t)]);
        composeTile(tile, doc, state, editing, images, index, texts, scratch);
    });
}

TileInputs tileInputs(const StationData &doc, const RenderState &state, const ImageSet &images)
{
    return TileInputs{&doc,
                      &images,
                      {doc.lamps.revision(), doc.tiles.revision(), doc.plates.revision(), doc.deskElements.revision()},
                      std::max(1, state.cellSize),
                      toQColor(state.fillColour).rgb(),
                      state.switches.grid,
                      state.switches.trackCircuits,
                      state.switches.texts,
                      state.overlays,
                      state.appliedColumns,
                      state.appliedRows,
                      state.surfaceSize};
}

PreviewInputs previewInputs(const RenderState &state, const EditingView &editing)
{
    return PreviewInputs{editing.cursorColumn, editing.cursorRow, editing.currentKind, editing.cornerChecks,
                         editing.lampOffsetX,  editing.lampOffsetY, state.previewOpacity, state.switches.preview};
}

// Copies the part of a kept tile the frame shows.
void copyTile(FrameTarget &frame, const TileCache::Use &use)
{
    const QRect &part = use.part;
    const std::size_t bytes = std::size_t(part.width()) * sizeof(QRgb);
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(use.image->constScanLine(y - use.origin.y()))
            + (part.left() - use.origin.x());
        std::memcpy(frame.at(part.left(), y), from, bytes);
    }
}

// The tile steps of a frame through kept tiles: those the frame shows
// that are not kept, or not with these inputs, are composed into the
// cache first.
void composeKeptTiles(FrameTarget &frame, const StationData &doc, const RenderState &state,
                      const EditingView &editing, const ImageSet &images, ElementIndex &index, TextReach &reach,
                      TileCache &cache)
{
    const int cell = std::max(1, state.cellSize);
    cache.beginFrame(tileInputs(doc, state, images));
    const std::vector<TileCache::Use> uses
        = cache.plan(frame.clip, previewReach(cell, state, editing), previewInputs(state, editing));
    // The texts are gathered for what is composed, not for what is copied.
    QRect composed;
    for (const TileCache::Use &use : uses)
        composed |= use.compose;
    FrameTexts texts;
    if (state.switches.texts && !composed.isEmpty())
        texts.gather(doc, &index, reach, images.texts(), cell, composed);
    TileWorkers workers(doc, &index, int(uses.size()));
    workers.run(int(uses.size()), [&](int t, PlacedScratch &scratch) {
        const TileCache::Use &use = uses[std::size_t(t)];
        if (!use.compose.isEmpty()) {
            FrameTarget tile(*use.image, use.origin, use.compose);
            composeTile(tile, doc, state, editing, images, &index, texts, scratch);
        }
        copyTile(frame, use);
    });
}

// The steps of a frame: the tile steps, kept or not, then the layers
// that span the frame.
void compose(QImage &target, const QRect &surfaceRect, const StationData &doc, const RenderState &state,
             const EditingView &editing, const ImageSet &images, CanvasState &canvas, ElementIndex *index,
             TileCache *cache)
{
    if (target.size() != surfaceRect.size() || target.format() != QImage::Format_RGB32)
        target = QImage(surfaceRect.size(), QImage::Format_RGB32);
    FrameTarget frame{target, surfaceRect.topLeft(), surfaceRect & QRect(QPoint(0, 0), state.surfaceSize)};
    const int cell = std::max(1, state.cellSize);
    const bool drawCursor = state.focus && state.switches.cursorFrame;
    if (cache && index)
        composeKeptTiles(frame, doc, state, editing, images, *index, *canvas.textReach, *cache);
    else
        composeTiles(frame, doc, state, editing, images, index, *canvas.textReach);
    // The areas lie over the tiles, so kept tiles never hold them.
    if (state.switches.areas && !doc.areas.isEmpty() && !frame.clip.isEmpty())
        drawAreaFrames(frame, doc, cell);
    if (!editing.selection.isEmpty() && !frame.clip.isEmpty())
        drawSelectionOutline(frame, editing.selection, cell);
    if (drawCursor && !frame.clip.isEmpty())
        drawCursorFrame(frame, editing, cell);
    // The cursor frame leaves the brush hollow whether or not it reached
    // this part of the surface.
    if (drawCursor)
        canvas.brushHollow = true;
    if (!frame.clip.isEmpty() && state.switches.diagnostics)
        drawDiagnostics(frame, state, editing, doc, canvas);
}

}  // namespace

void composeFrame(QImage &target, const QRect &surfaceRect, const StationData &doc,
                  const RenderState &state, const EditingView &editing, const ImageSet &images,
                  CanvasState &canvas, ElementIndex &index)
{
    compose(target, surfaceRect, doc, state, editing, images, canvas, &index, nullptr);
}

void composeFrame(QImage &target, const QRect &surfaceRect, const StationData &doc, const RenderState &state,
                  const EditingView &editing, const ImageSet &images, CanvasState &canvas, ElementIndex &index,
                  TileCache &tiles)
{
    compose(target, surfaceRect, doc, state, editing, images, canvas, &index, &tiles);
}

void composeFrameWalkingEveryElement(QImage &target, const QRect &surfaceRect, const StationData &doc,
                                     const RenderState &state, const EditingView &editing, const ImageSet &images,
                                     CanvasState &canvas)
{
    compose(target, surfaceRect, doc, state, editing, images, canvas, nullptr, nullptr);
}

}  // namespace kalmor
