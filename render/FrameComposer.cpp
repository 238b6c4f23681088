#include "render/FrameComposer.h"

#include "render/ElementDrawing.h"
#include "render/ImageSet.h"
#include "render/IndexedDrawing.h"
#include "render/index/ElementIndex.h"
#include "render/FrameLayers.h"
#include "render/FrameOverlays.h"
#include "render/PictureDrawing.h"
#include "render/SystemColours.h"
#include "render/TileCache.h"
#include "render/TileRunner.h"
#include "render/Viewport.h"
#include "catalogue/ElementKinds.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
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

// The pictures of every kind the station uses at the cell size, lamps
// also at their own size, and the corner pieces: those not scaled yet
// are scaled on every core at once before the tiles, so the first frame
// after a zoom does not have its tiles wait, each on the others, for the
// same pictures in the same order.
void scaleUsedPictures(const ImageSet &images, const ElementIndex &index, int cell)
{
    std::vector<std::pair<int, QSize>> wanted;
    const auto want = [&](int picture, QSize size) {
        if (picture >= 0 && !size.isEmpty() && !images.hasScaled(picture, size))
            wanted.emplace_back(picture, size);
    };
    for (quint32 id = 0; id < index.nameCount(); ++id) {
        const int picture = images.indexOf(index.name(id));
        if (picture < 0)
            continue;
        want(picture, QSize(cell, cell));
        const QSize design = images.designSize(picture);
        if (design.width() != Viewport::DesignCellSize || design.height() != Viewport::DesignCellSize)
            want(picture, QSize(int(drawing::lampExtent(design.width(), cell)), int(drawing::lampExtent(design.height(), cell))));
    }
    for (const char *corner : CornerPieceNames)
        want(images.indexOf(QString::fromLatin1(corner)), QSize(cell, cell));
    std::sort(wanted.begin(), wanted.end(), [](const auto &a, const auto &b) {
        return std::pair(a.first, std::pair(a.second.width(), a.second.height()))
            < std::pair(b.first, std::pair(b.second.width(), b.second.height()));
    });
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    if (wanted.size() > 1) {
        runTiles(int(wanted.size()), tileHelpers(int(wanted.size())), [&](int w, int) {
            images.scaledPicture(wanted[std::size_t(w)].first, wanted[std::size_t(w)].second);
        });
    }
}

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

// The part of the rectangle that lies on the surface.
QRect onSurface(const QRect &surfaceRect, const RenderState &state)
{
    return surfaceRect & QRect(QPoint(0, 0), state.surfaceSize);
}

// The frame of the surface rectangle in the image, which is made its size.
FrameTarget frameTarget(QImage &target, const QRect &surfaceRect, const RenderState &state)
{
    if (target.size() != surfaceRect.size() || target.format() != QImage::Format_RGB32)
        target = QImage(surfaceRect.size(), QImage::Format_RGB32);
    return FrameTarget{target, surfaceRect.topLeft(), onSurface(surfaceRect, state)};
}

// Copies the part of a piece the frame shows.
void copyPiece(FrameTarget &frame, const FramePiece &piece)
{
    const QRect &source = piece.source;
    const std::size_t bytes = std::size_t(source.width()) * sizeof(QRgb);
    for (int y = 0; y < source.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(piece.image->constScanLine(source.top() + y))
            + source.left();
        std::memcpy(frame.at(piece.at.x(), piece.at.y() + y), from, bytes);
    }
}

// The tile steps of a frame through kept tiles: those the frame shows
// that are not kept, or not with these inputs, are composed into the
// cache first, on every core.
std::vector<TileCache::Use> composeKeptTiles(const QRect &clip, const StationData &doc, const RenderState &state,
                                             const EditingView &editing, const ImageSet &images,
                                             ElementIndex &index, TextReach &reach, TileCache &cache)
{
    const int cell = std::max(1, state.cellSize);
    cache.beginFrame(tileInputs(doc, state, images));
    std::vector<TileCache::Use> uses
        = cache.plan(clip, previewReach(cell, state, editing), previewInputs(state, editing));
    std::vector<const TileCache::Use *> composing;
    QRect composed;
    for (const TileCache::Use &use : uses) {
        if (!use.compose.isEmpty()) {
            composing.push_back(&use);
            composed |= use.compose;
        }
    }
    if (composing.empty())
        return uses;
    // The texts are gathered for what is composed, not for what is copied.
    FrameTexts texts;
    if (state.switches.texts)
        texts.gather(doc, &index, reach, images.texts(), cell, composed);
    TileWorkers workers(doc, &index, int(composing.size()));
    if (composing.size() > 1)
        scaleUsedPictures(images, index, cell);
    workers.run(int(composing.size()), [&](int t, PlacedScratch &scratch) {
        const TileCache::Use &use = *composing[std::size_t(t)];
        FrameTarget tile(*use.image, use.origin, use.compose);
        composeTile(tile, doc, state, editing, images, &index, texts, scratch);
    });
    return uses;
}

// The kept tiles of a frame as its pieces: the tiles the frame-wide
// layers reach are copied and drawn over, the others are shown as kept.
void keptPieces(FramePieces &frame, const QRect &clip, const StationData &doc, const RenderState &state,
                const EditingView &editing, const ImageSet &images, CanvasState &canvas, ElementIndex &index,
                TileCache &cache)
{
    frame.clear();
    const FrameLayers layers(doc, state, editing, canvas);
    if (clip.isEmpty()) {
        layers.finish(canvas);
        return;
    }
    const std::vector<TileCache::Use> uses
        = composeKeptTiles(clip, doc, state, editing, images, index, *canvas.textReach, cache);
    const std::vector<QRect> reach = uses.empty() ? std::vector<QRect>{} : layers.reach(clip, *uses.front().image);
    for (const TileCache::Use &use : uses) {
        const QRect source = use.part.translated(-use.origin);
        const bool covered = std::any_of(reach.begin(), reach.end(),
                                         [&use](const QRect &r) { return r.intersects(use.part); });
        if (!covered) {
            frame.add(FramePiece{use.image, source, use.part.topLeft()});
            continue;
        }
        QImage &patch = frame.patch(*use.image, source);
        FrameTarget target(patch, use.part.topLeft(), use.part);
        layers.draw(target);
        frame.add(FramePiece{&patch, patch.rect(), use.part.topLeft()});
    }
    layers.finish(canvas);
}

// The steps of a frame: the tile steps, then the layers that span the
// frame.
void compose(QImage &target, const QRect &surfaceRect, const StationData &doc, const RenderState &state,
             const EditingView &editing, const ImageSet &images, CanvasState &canvas, ElementIndex *index)
{
    FrameTarget frame = frameTarget(target, surfaceRect, state);
    composeTiles(frame, doc, state, editing, images, index, *canvas.textReach);
    const FrameLayers layers(doc, state, editing, canvas);
    layers.draw(frame);
    layers.finish(canvas);
}

}  // namespace

void FramePieces::clear()
{
    m_pieces.clear();
    m_patchesUsed = 0;
}

QImage &FramePieces::patch(const QImage &image, const QRect &source)
{
    if (m_patchesUsed == m_patches.size())
        m_patches.emplace_back();
    QImage &patch = m_patches[m_patchesUsed++];
    if (patch.size() != source.size())
        patch = QImage(source.size(), QImage::Format_RGB32);
    FrameTarget target(patch, source.topLeft(), source);
    copyPiece(target, FramePiece{&image, source, source.topLeft()});
    return patch;
}

void FramePieces::paint(QPainter &painter) const
{
    for (const FramePiece &piece : m_pieces)
        painter.drawImage(piece.at, *piece.image, piece.source);
}

void composeFrame(QImage &target, const QRect &surfaceRect, const StationData &doc,
                  const RenderState &state, const EditingView &editing, const ImageSet &images,
                  CanvasState &canvas, ElementIndex &index)
{
    compose(target, surfaceRect, doc, state, editing, images, canvas, &index);
}

void composeFrame(QImage &target, const QRect &surfaceRect, const StationData &doc, const RenderState &state,
                  const EditingView &editing, const ImageSet &images, CanvasState &canvas, ElementIndex &index,
                  TileCache &tiles)
{
    FrameTarget frame = frameTarget(target, surfaceRect, state);
    FramePieces pieces;
    composeFramePieces(pieces, frame.clip, doc, state, editing, images, canvas, index, tiles);
    for (const FramePiece &piece : pieces.pieces())
        copyPiece(frame, piece);
}

void composeFramePieces(FramePieces &frame, const QRect &surfaceRect, const StationData &doc,
                        const RenderState &state, const EditingView &editing, const ImageSet &images,
                        CanvasState &canvas, ElementIndex &index, TileCache &tiles)
{
    keptPieces(frame, onSurface(surfaceRect, state), doc, state, editing, images, canvas, index, tiles);
}

void composeFrameWalkingEveryElement(QImage &target, const QRect &surfaceRect, const StationData &doc,
                                     const RenderState &state, const EditingView &editing, const ImageSet &images,
                                     CanvasState &canvas)
{
    compose(target, surfaceRect, doc, state, editing, images, canvas, nullptr);
}

}  // namespace kalmor
