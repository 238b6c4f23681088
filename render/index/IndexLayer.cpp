#include "render/index/IndexLayer.h"

#include "document/LargeMemory.h"

namespace kalmor::detail {

namespace {

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

}  // namespace

template <class Record>
void rebuild(LayerState &layer, IndexNames &names, const ElementList<Record> &list)
{
    const qint32 n = qint32(list.count());
    std::vector<Entry> described = largeVector<Entry>(static_cast<std::size_t>(n));
    std::vector<qint32> column = largeVector<qint32>(static_cast<std::size_t>(n));
    std::vector<qint32> row = largeVector<qint32>(static_cast<std::size_t>(n));
    layer.minDx = layer.maxDx = layer.minDy = layer.maxDy = 0;
    for (qint32 i = 0; i < n; ++i) {
        const Record &r = list.at(i);
        Entry &e = described[std::size_t(i)];
        if (!describe(r, i, names, e)) {
            column[std::size_t(i)] = BucketGrid::LeftOut;
            continue;
        }
        widenOffsets(layer, e);
        column[std::size_t(i)] = BucketGrid::bucketOf(r.X);
        row[std::size_t(i)] = BucketGrid::bucketOf(r.Y);
        e.cell = quint8((r.X & 15) | ((r.Y & 15) << 4));
    }
    layer.built.build(described, column, row);
    layer.edits.clear(n);

    const auto shift = list.shiftTotal();
    layer.builtShiftX = shift.dx;
    layer.builtShiftY = shift.dy;
    layer.count = n;
    layer.list = &list;
    layer.revision = list.revision();
    layer.valid = true;
}

template void rebuild(LayerState &, IndexNames &, const ElementList<TPoleZarovka> &);
template void rebuild(LayerState &, IndexNames &, const ElementList<TPolePanelu> &);
template void rebuild(LayerState &, IndexNames &, const ElementList<TPoleStitek> &);
template void rebuild(LayerState &, IndexNames &, const ElementList<TPolePrvek> &);

void gatherLayer(LayerState &layer, qint64 sx, qint64 sy, const QRect &rect, int cellSize,
                 std::vector<IndexedDraw> &out)
{
    if (rect.isEmpty())
        return;
    // A record at cell X covers at most the pixels [X*c + lo, X*c + hi):
    // its cell, the corner partners one cell either side, and for lamps
    // their offsets plus a picture of up to two cells.
    const qint64 c = std::max(1, cellSize);
    const qint64 loX = std::min<qint64>(0, layer.minDx) - c;
    const qint64 hiX = std::max<qint64>(c, layer.maxDx + 2 * c) + c;
    const qint64 loY = std::min<qint64>(0, layer.minDy);
    const qint64 hiY = std::max<qint64>(c, layer.maxDy + 2 * c);
    // In the cells the buckets were built with, before the shifts since.
    const CellRange cells{floorDiv(rect.left() - hiX, c) - sx, floorDiv(qint64(rect.right()) + 1 - loX, c) - sx,
                          floorDiv(rect.top() - hiY, c) - sy, floorDiv(qint64(rect.bottom()) + 1 - loY, c) - sy};
    layer.built.gather(cells, sx, sy, out);
    layer.edits.gather(cells, sx, sy, out);
    layer.edits.gatherPlain(out);
    layer.built.gatherPlain(out);
}

}  // namespace kalmor::detail
