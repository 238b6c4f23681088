#pragma once

#include "render/FrameInputs.h"

#include <QHash>
#include <QImage>
#include <QRect>

#include <array>
#include <deque>
#include <optional>
#include <vector>

namespace kalmor {

class ImageSet;
struct StationData;

// Everything the tile steps of a frame (fill, elements, track circuits,
// grid, plate texts, problem outlines) are composed from besides the previews: tiles
// composed from equal inputs have equal pixels. The lists stand for their
// records by their revisions, which grow with every change, a
// replacement of a whole list included.
struct TileInputs {
    const StationData *doc = nullptr;
    const ImageSet *images = nullptr;
    std::array<quint64, 4> listRevisions{};  // lamps, tiles, plates, desk elements
    int cellSize = 0;
    QRgb fill = 0;
    bool grid = false;
    bool trackCircuits = false;
    bool texts = false;
    Overlays overlays;
    qint32 appliedColumns = 0;
    qint32 appliedRows = 0;
    QSize surfaceSize;
    friend bool operator==(const TileInputs &, const TileInputs &) = default;
};

// What the previews at the cursor cell are drawn from.
struct PreviewInputs {
    qint32 cursorColumn = 0;
    qint32 cursorRow = 0;
    QString currentKind;
    std::array<bool, 4> cornerChecks{};
    qint32 lampOffsetX = 0;
    qint32 lampOffsetY = 0;
    int opacity = 0;
    bool preview = false;
    friend bool operator==(const PreviewInputs &, const PreviewInputs &) = default;
};

// Composed tiles of the drawing surface kept from frame to frame: a view
// that scrolls shows mostly what the last frame composed, so a frame
// composes only the tiles that came into view and copies the rest. Tiles
// lie on a grid of Pixels x Pixels surface pixels. All of them are
// forgotten when any tile input changes (an edit, a cell size, a view
// switch, the overlays); a tile that the previews reach is kept with the
// previews it shows and composed again when they change. The frame-wide
// layers above the tiles (selection, cursor frame, diagnostics) are never
// kept. Those tiles least recently used go first once there are more than
// a view's worth.
class TileCache {
public:
    static constexpr int Pixels = 256;

    // Keeps enough tiles for a view of that size to scroll without
    // composing a tile it still shows again.
    void fitView(QSize view);

    // Forgets every tile.
    void clear();

    // Tiles composed so far, for tests and benchmarks.
    quint64 composedTiles() const { return m_composed; }

    // One tile of a frame as planned: where its pixels are, and whether
    // (and which part of it) must be composed first.
    struct Use {
        QImage *image = nullptr;  // the tile's pixels, surface pixel (tile left, tile top) at (0, 0)
        QPoint origin;            // the surface pixel at (0, 0) of the image
        QRect part;               // what the frame takes from it, in surface pixels
        QRect compose;            // what must be composed first; empty when nothing
    };

    // Starts a frame composed from these inputs, forgetting every tile
    // composed from other ones.
    void beginFrame(const TileInputs &inputs);

    // Plans the tiles of a frame that covers clip (surface pixels, on the
    // surface). previewReach: what the previews may touch (empty when no
    // preview is drawn). A frame where most tiles must be composed
    // composes only the parts it shows, as the first frame after a change
    // would otherwise compose a quarter more than the view.
    std::vector<Use> plan(const QRect &clip, const QRect &previewReach, const PreviewInputs &preview);

private:
    static constexpr QPoint NoTile{-1, -1};  // a free slot's

    struct Slot {
        QImage image;
        QPoint tile = NoTile;  // in tiles
        QRect valid;          // composed surface pixels
        std::optional<PreviewInputs> preview;  // the previews shown, when they reach the tile
        quint64 lastUsed = 0;
    };

    int slotFor(QPoint tile);
    int newSlot();
    static quint64 keyOf(QPoint tile) { return (quint64(quint32(tile.x())) << 32) | quint32(tile.y()); }

    std::optional<TileInputs> m_inputs;
    std::deque<Slot> m_slots;  // a deque: a frame's planned tiles stay where they are as slots are added
    QHash<quint64, int> m_byTile;
    std::vector<int> m_free;  // slots holding no tile
    std::size_t m_capacity = 0;  // slots kept at most; 0: not set yet
    quint64 m_frame = 0;
    quint64 m_composed = 0;
};

}  // namespace kalmor
