#include "render/index/IndexLayer.h"

#include "render/index/IndexThinning.h"

#include <algorithm>

namespace kalmor::detail {

namespace {

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// The shown built records of a crowded bucket with every draw that a later
// one in the bucket repeats left out.
std::vector<Entry> thinOut(const LayerState &layer, qint32 begin, qint32 end)
{
    LaterDraws later;
    std::vector<Entry> kept;
    for (qint32 k = end - 1; k >= begin; --k) {
        Entry e = layer.entries[std::size_t(k)];
        if (testBit(layer.editedBits, e.pos))
            continue;
        e.parts = later.keep(e);
        if (e.parts != 0)
            kept.push_back(e);
    }
    std::reverse(kept.begin(), kept.end());
    return kept;
}

const std::vector<Entry> &thinned(LayerState &layer, qint32 begin, qint32 end)
{
    Thinned &t = layer.thinned[std::size_t(layer.crowdedIn[std::size_t(layer.entries[std::size_t(begin)].pos)])];
    if (t.stale) {
        t.entries = thinOut(layer, begin, end);
        t.stale = false;
    }
    return t.entries;
}

}  // namespace

void hideBuilt(LayerState &layer, qint32 built)
{
    layer.editedBits[std::size_t(built) >> 6] |= quint64(1) << (built & 63);
    if (!layer.crowdedIn.empty() && layer.crowdedIn[std::size_t(built)] >= 0)
        layer.thinned[std::size_t(layer.crowdedIn[std::size_t(built)])].stale = true;
}

template <class Record>
void rebuild(LayerState &layer, IndexNames &names, const ElementList<Record> &list)
{
    const qint32 n = qint32(list.count());
    std::vector<Entry> described(static_cast<std::size_t>(n));
    std::vector<qint32> column(static_cast<std::size_t>(n));
    std::vector<qint32> row(static_cast<std::size_t>(n));
    layer.plain.clear();
    layer.minDx = layer.maxDx = layer.minDy = layer.maxDy = 0;
    for (qint32 i = 0; i < n; ++i) {
        const Record &r = list.at(i);
        Entry &e = described[std::size_t(i)];
        if (!describe(r, i, names, e)) {
            layer.plain.push_back(i);
            column[std::size_t(i)] = BucketGrid::LeftOut;
            continue;
        }
        widenOffsets(layer, e);
        column[std::size_t(i)] = BucketGrid::bucketOf(r.X);
        row[std::size_t(i)] = BucketGrid::bucketOf(r.Y);
        e.cell = quint8((r.X & 15) | ((r.Y & 15) << 4));
    }
    const std::vector<qint32> slot = layer.grid.build(column, row);
    layer.entries.resize(layer.grid.items().size());
    for (qint32 i = 0; i < n; ++i) {
        if (slot[std::size_t(i)] >= 0)
            layer.entries[std::size_t(slot[std::size_t(i)])] = described[std::size_t(i)];
    }

    layer.editedBits.assign((std::size_t(n) + 63) / 64, 0);
    layer.edits.clear(n);
    layer.crowdedIn.clear();
    layer.thinned.clear();
    layer.builtNow.clear();
    layer.builtFrom.clear();
    layer.grid.forEachBucket([&layer, n](qint32 begin, qint32 end) {
        if (end - begin <= Crowded)
            return;
        if (layer.crowdedIn.empty())
            layer.crowdedIn.assign(std::size_t(n), -1);
        for (qint32 k = begin; k < end; ++k)
            layer.crowdedIn[std::size_t(layer.entries[std::size_t(k)].pos)] = qint32(layer.thinned.size());
        layer.thinned.push_back(Thinned{thinOut(layer, begin, end), false});
    });

    const auto shift = list.shiftTotal();
    layer.builtShiftX = shift.dx;
    layer.builtShiftY = shift.dy;
    layer.builtCount = n;
    layer.count = n;
    layer.list = &list;
    layer.revision = list.revision();
    layer.valid = true;
}

template void rebuild(LayerState &, IndexNames &, const ElementList<TPoleZarovka> &);
template void rebuild(LayerState &, IndexNames &, const ElementList<TPolePanelu> &);
template void rebuild(LayerState &, IndexNames &, const ElementList<TPoleStitek> &);

void gatherLayer(LayerState &layer, qint64 sx, qint64 sy, qint32 count, const QRect &rect, int cellSize, bool thin,
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
    const qint64 x0 = floorDiv(rect.left() - hiX, c) - sx;
    const qint64 x1 = floorDiv(qint64(rect.right()) + 1 - loX, c) - sx;
    const qint64 y0 = floorDiv(rect.top() - hiY, c) - sy;
    const qint64 y1 = floorDiv(qint64(rect.bottom()) + 1 - loY, c) - sy;
    const auto bucket = IndexEdits::bucket;

    // Records past the end are forgotten as the list is followed; the
    // count guards the answers all the same.
    const qint32 *builtNow = layer.builtNow.empty() ? nullptr : layer.builtNow.data();
    const auto now = [builtNow](qint32 built) { return builtNow ? builtNow[built] : built; };
    layer.grid.forEachIn(bucket(x0), bucket(x1), bucket(y0), bucket(y1), [&](qint64 bx, qint64 by, qint32 begin,
                                                                           qint32 end) {
        const Entry *first = layer.entries.data() + begin;
        const Entry *last = layer.entries.data() + end;
        if (thin && end - begin > Crowded) {
            const std::vector<Entry> &few = thinned(layer, begin, end);
            first = few.data();
            last = first + few.size();
        }
        const qint64 left = bx << BucketGrid::Shift;
        const qint64 top = by << BucketGrid::Shift;
        // Written in place: at the smallest cells a frame gathers a
        // hundred thousand records here.
        const std::size_t before = out.size();
        out.resize(before + std::size_t(last - first));
        IndexedDraw *to = out.data() + before;
        for (const Entry *e = first; e != last; ++e) {
            const qint64 x = left + (e->cell & 15);
            const qint64 y = top + (e->cell >> 4);
            if (x < x0 || x > x1 || y < y0 || y > y1 || testBit(layer.editedBits, e->pos))
                continue;
            const qint32 pos = now(e->pos);
            if (pos < count)
                *to++ = IndexedDraw{qint32(x + sx), qint32(y + sy), pos, e->name, e->dx, e->dy, e->parts, false};
        }
        out.resize(std::size_t(to - out.data()));
    });
    layer.edits.forEachIn(x0, x1, y0, y1, thin, [&](const Edited &e, quint8 parts) {
        const Entry &d = e.entry;
        if (d.pos < count)
            out.push_back(IndexedDraw{qint32(e.x + sx), qint32(e.y + sy), d.pos, d.name, d.dx, d.dy, parts, false});
    });
    layer.edits.forEachPlain([&](qint32 pos) {
        if (pos < count)
            out.push_back(IndexedDraw{0, 0, pos, 0, 0, 0, PartPicture, true});
    });
    for (const qint32 built : layer.plain) {
        if (!testBit(layer.editedBits, built) && now(built) < count)
            out.push_back(IndexedDraw{0, 0, now(built), 0, 0, 0, PartPicture, true});
    }
}

}  // namespace kalmor::detail
