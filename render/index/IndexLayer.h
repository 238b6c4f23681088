#pragma once

#include "document/BucketGrid.h"
#include "render/index/IndexEdits.h"

#include <QRect>

#include <vector>

namespace kalmor::detail {

// Records stacked in one crowded bucket, with the draws a later record
// repeats left out.
struct Thinned {
    std::vector<Entry> entries;
    bool stale = false;
};

// The cell index of one list: buckets built in one pass, and what changed
// in the list since, followed from its change log.
struct LayerState {
    const void *list = nullptr;
    quint64 revision = 0;  // of the list as the answers follow it
    bool valid = false;
    qint64 builtShiftX = 0;  // the list's shift total when built
    qint64 builtShiftY = 0;
    qint32 builtCount = 0;
    qint32 count = 0;  // records in the list as followed

    BucketGrid grid;
    std::vector<Entry> entries;  // in grid order
    std::vector<qint32> plain;   // ascending
    // Range of the pixel offsets of the lamps kept in buckets.
    qint64 minDx = 0;
    qint64 maxDx = 0;
    qint64 minDy = 0;
    qint64 maxDy = 0;

    // Built records no longer shown, by their positions when built.
    std::vector<quint64> editedBits;
    // The records now at the positions edited since the build.
    IndexEdits edits;

    // The crowded buckets; and by position when built, which of them
    // holds the record, or -1 (empty while no bucket is crowded).
    std::vector<Thinned> thinned;
    std::vector<qint32> crowdedIn;

    // Where the built records stand now, once records were taken out or
    // put back with the order of the rest kept: position when built ->
    // position now, ascending, a record taken out sharing the position of
    // the next one kept (empty while every built record stands where it
    // was built).
    std::vector<qint32> builtNow;
    // Where in builtNow the records now at each stretch of positions
    // begin (empty until asked for after a renumbering).
    std::vector<qint32> builtFrom;
};

inline bool testBit(const std::vector<quint64> &bits, qint32 i)
{
    return (bits[std::size_t(i) >> 6] >> (i & 63)) & 1;
}

inline void widenOffsets(LayerState &layer, const Entry &e)
{
    layer.minDx = std::min<qint64>(layer.minDx, e.dx);
    layer.maxDx = std::max<qint64>(layer.maxDx, e.dx);
    layer.minDy = std::min<qint64>(layer.minDy, e.dy);
    layer.maxDy = std::max<qint64>(layer.maxDy, e.dy);
}

// A built record is no longer shown.
void hideBuilt(LayerState &layer, qint32 built);

// Builds the buckets of a list in one pass.
template <class Record>
void rebuild(LayerState &layer, IndexNames &names, const ElementList<Record> &list);

// Brings the layer up to the list; returns whether it rebuilt.
template <class Record>
bool catchUp(LayerState &layer, IndexNames &names, const ElementList<Record> &list);

// Appends what a frame draws of the layer inside the rectangle of surface
// pixels, unsorted; (shiftX, shiftY) is how far the list moved since the
// build, count its length. Crowded buckets are thinned when thin is set.
void gatherLayer(LayerState &layer, qint64 shiftX, qint64 shiftY, qint32 count, const QRect &rect, int cellSize,
                 bool thin, std::vector<IndexedDraw> &out);

}  // namespace kalmor::detail
