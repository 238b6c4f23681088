#pragma once

#include "document/StationDocument.h"

#include <QRect>

#include <memory>
#include <vector>

namespace kalmor {

namespace detail {
struct LayerState;
class IndexNames;
}

// The parts of a record a frame draws: its picture, and for a track tile
// the corner pieces its flags ask for, each with its partner.
enum DrawPart : quint8 {
    PartPicture = 1,
    PartCornerLH = 2,
    PartCornerLD = 4,
    PartCornerPH = 8,
    PartCornerPD = 16,
};

// One record as the index offers it to a frame.
struct IndexedDraw {
    qint32 x = 0;        // the record's cell
    qint32 y = 0;
    qint32 pos = 0;      // its position in its list
    quint32 name = 0;    // ElementIndex::name(name) is its NAME
    qint16 dx = 0;       // a lamp's offsets
    qint16 dy = 0;
    quint8 parts = 0;    // DrawPart bits still worth drawing
    // Drawn from the record itself, as it borrows its place from the lamp
    // list or stands far from its cell.
    bool plain = false;
};

// Finds the records whose drawing can reach a rectangle of the surface
// without walking whole lists, and hands a frame what it needs to draw
// them without reading the records again: each list is kept in buckets of
// 16 x 16 cells with the cell, name, corner flags and lamp offsets of
// every record. Answers are in list order, so the stacking within a layer
// stays that of the list.
//
// The buckets are built once per list (a load builds them on its own
// thread, before the document takes the station over) and then follow
// the list: a shift by its offset, edited positions from the list's
// change log, the records now at them grouped in buckets of their own
// (a paste of many thousands in one pass over them), and records taken
// out or put back with the order of the rest kept by renumbering the
// positions in one pass, so neither a shift (nor its undo), a paste, a
// removal of many nor a deleted selection (nor its undo) costs a rebuild.
//
// Records stacked on one cell are thinned out: a picture drawn opaque
// again at the same place later in the same list covers the earlier one
// exactly, so only the last of such draws is offered.
//
// A record reaches at most its own cell and the horizontal neighbours
// (corner partners), except lamps, which stand at pixel offsets. Lamps
// with offsets beyond a few hundred pixels, and lamp names in the other
// two lists (they borrow offsets from the lamp list), are kept apart and
// offered for every rectangle; drawing clips them.
class ElementIndex {
public:
    enum class Layer { Lamps, Tiles, Plates };

    ElementIndex();
    ~ElementIndex();
    ElementIndex(ElementIndex &&) noexcept;
    ElementIndex &operator=(ElementIndex &&) noexcept;
    ElementIndex(const ElementIndex &) = delete;
    ElementIndex &operator=(const ElementIndex &) = delete;

    // In list order, or in any order for a frame that orders its draws by
    // their positions itself.
    enum class Order { List, Any };

    // What a frame draws of one list inside the rectangle of surface
    // pixels.
    void gather(Layer layer, const StationData &doc, const QRect &rect, int cellSize, std::vector<IndexedDraw> &out,
                Order order = Order::List);

    // Follows the lists' changes now. Until they change again, gathering
    // adds no kind names, so name() may then be asked from other threads
    // while one thread gathers.
    void catchUp(const StationData &doc);

    // Follows the lists' changes now, with the merges and compactions they
    // leave, which gathering otherwise spreads over its calls: an editing
    // command has it done as it ends, so that the next frame only draws.
    // A list the index must be built for again waits for the frame.
    void followNow(const StationData &doc);
    // Whether the index has followed every change of doc's lists that it
    // can follow, with nothing left to merge: for tests.
    bool followed(const StationData &doc) const;

    // The kind name of IndexedDraw::name.
    const QString &name(quint32 id) const;
    quint32 nameCount() const;

    // Positions (ascending) of records that may reach the rectangle of
    // surface pixels; a superset of those that do, stacked ones included.
    void lampsNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out);
    void tilesNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out);
    void platesNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out);

    // Builds the buckets of all three lists now: a load does it on its own
    // thread, on the station it read.
    void build(const StationData &doc);
    // The lists this index was built for were moved, unchanged, into doc
    // (the document took the station over): follow them there.
    void rebind(const StationData &doc);

    // Forget everything, e.g. when the document took over another station.
    void invalidate();

    // How often the buckets of a list have been built, for tests and
    // benchmarks.
    quint64 rebuildCount() const { return m_rebuilds; }

private:
    void collect(Layer layer, const StationData &doc, const QRect &rect, int cellSize, bool thin, Order order,
                 std::vector<IndexedDraw> &out);
    void near(Layer layer, const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out);

    std::unique_ptr<detail::IndexNames> m_names;
    std::vector<detail::LayerState> m_layers;
    std::vector<IndexedDraw> m_scratch;
    std::vector<IndexedDraw> m_scratchNear;
    quint64 m_rebuilds = 0;
};

}  // namespace kalmor
