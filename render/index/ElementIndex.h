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
// them without reading the records again. Each list is kept in buckets of
// 16 x 16 cells with the cell, name, corner flags and lamp offsets of
// every record (IndexBuckets), built once per list (a load builds them on
// its own thread, before the document takes the station over) and then
// following the list's change log (IndexFollow): a shift by its offset;
// the records now at edited positions in buckets of their own, grouped and
// merged a bounded amount at a time (IndexEdits); records taken out or put
// back with the order of the rest kept by moving a table of the built
// records' positions in one pass (IndexBuilt); so neither a shift, a paste,
// a removal of many nor their undo costs a rebuild. Whether a record shows,
// and at which position, is decided in one place (ShownAt): a built record
// no longer shows once its position was edited, once it was taken out and
// once it stands past the end, an edited one once it was forgotten; every
// walk of the buckets and the thinning of stacks ask it. Records stacked
// in a crowded bucket are thinned out, as a picture drawn opaque again at
// the same place later in the list covers the earlier one exactly. Answers
// are in list order, so the stacking within a layer stays that of the
// list. A record reaches at most its own cell and the horizontal
// neighbours (corner partners), except lamps, which stand at pixel
// offsets; lamps with offsets beyond a few hundred pixels, and lamp names
// in the other lists (they borrow offsets from the lamp list), are
// kept apart and offered for every rectangle, and drawing clips them.
class ElementIndex {
public:
    enum class Layer { Lamps, Tiles, Plates, Desk };

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

    // Follows the lists' changes now, with the merges, compactions and
    // thinning they leave, which gathering otherwise spreads over its
    // calls: an editing command has it done as it ends, so that the next
    // frame only draws.
    // A list the index must be built for again waits for the frame.
    void followNow(const StationData &doc);

    // The kind name of IndexedDraw::name.
    const QString &name(quint32 id) const;
    quint32 nameCount() const;

    // Builds the buckets of all four lists now: a load does it on its own
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
    // Tests look at what the index has followed (tests/support/IndexProbe.h).
    friend struct IndexProbe;

    std::unique_ptr<detail::IndexNames> m_names;
    std::vector<detail::LayerState> m_layers;
    std::vector<IndexedDraw> m_scratch;
    quint64 m_rebuilds = 0;
};

}  // namespace kalmor
