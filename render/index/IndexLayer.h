#pragma once

#include "document/StationDocument.h"
#include "render/index/IndexBuilt.h"
#include "render/index/IndexEdits.h"
#include "render/index/IndexNames.h"

#include <QRect>

#include <algorithm>
#include <vector>

namespace kalmor::detail {

// The cell index of one list: buckets built in one pass, and what changed
// in the list since, followed from its change log.
struct LayerState {
    const void *list = nullptr;
    quint64 revision = 0;  // of the list as the answers follow it
    bool valid = false;
    qint64 builtShiftX = 0;  // the list's shift total when built
    qint64 builtShiftY = 0;
    qint32 count = 0;  // records in the list as followed

    // Range of the pixel offsets of the lamps kept in buckets.
    qint64 minDx = 0;
    qint64 maxDx = 0;
    qint64 minDy = 0;
    qint64 maxDy = 0;

    BuiltRecords built;
    // The records now at the positions edited since the build.
    IndexEdits edits;
};

inline void widenOffsets(LayerState &layer, const Entry &e)
{
    layer.minDx = std::min<qint64>(layer.minDx, e.dx);
    layer.maxDx = std::max<qint64>(layer.maxDx, e.dx);
    layer.minDy = std::min<qint64>(layer.minDy, e.dy);
    layer.maxDy = std::max<qint64>(layer.maxDy, e.dy);
}

// Builds the buckets of a list in one pass.
template <class Record>
void rebuild(LayerState &layer, IndexNames &names, const ElementList<Record> &list);

// Appends what a frame draws of the layer inside the rectangle of surface
// pixels, unsorted; (shiftX, shiftY) is how far the list moved since the
// build.
void gatherLayer(LayerState &layer, qint64 shiftX, qint64 shiftY, const QRect &rect, int cellSize,
                 std::vector<IndexedDraw> &out);

}  // namespace kalmor::detail
