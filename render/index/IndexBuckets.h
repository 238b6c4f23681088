#pragma once

#include "document/BucketGrid.h"
#include "render/index/ElementIndex.h"
#include "render/index/IndexEntry.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace kalmor::detail {

// Buckets holding more records than this are thinned out.
constexpr qint32 Crowded = 512;

// Where a record of the buckets stands in its list now, or -1 where it
// no longer shows: the one rule that every walk and every thinning of the
// buckets asks. An edited record holds its position now (-1 once
// forgotten); a built one keeps the position it was built at, and the
// built records' tables tell whether it still shows and where it went.
struct ShownAt {
    const quint64 *hidden = nullptr;  // built records no longer shown, by built position
    const qint32 *moved = nullptr;    // position now by built position, once renumbered

    qint32 operator()(const Entry &e) const
    {
        if (!hidden)
            return e.pos;
        if ((hidden[std::size_t(e.pos) >> 6] >> (e.pos & 63)) & 1)
            return -1;
        return moved ? moved[e.pos] : e.pos;
    }
};

// A rectangle of cells, ends included, in the cells the records were
// bucketed with.
struct CellRange {
    qint64 x0 = 0;
    qint64 x1 = 0;
    qint64 y0 = 0;
    qint64 y1 = 0;
};

// Records kept in buckets of 16 x 16 cells with what a frame needs to draw
// each, laid out in one pass bucket by bucket, those drawn plain after
// them. Crowded buckets are thinned out: an opaque picture drawn again at
// the same place later in the list covers an earlier draw exactly, whatever
// is drawn between them, so only the last of such draws is offered.
class Buckets {
public:
    // The bucket of a cell, for any cell a search may ask about.
    static qint64 bucketOf(qint64 cell);

    // Lays the entries out: entries[i] in bucket (column[i], row[i]), or
    // drawn plain where column[i] is BucketGrid::LeftOut. Returns the slot
    // each went to, and thins the crowded buckets as shown tells.
    std::vector<qint32> build(const std::vector<Entry> &entries, const std::vector<qint32> &column,
                              const std::vector<qint32> &row, ShownAt shown);

    std::size_t size() const { return m_entries.size(); }
    Entry &operator[](std::size_t slot) { return m_entries[slot]; }
    const Entry &operator[](std::size_t slot) const { return m_entries[slot]; }
    bool crowded() const { return !m_crowds.empty(); }

    // The record at the slot no longer shows, or shows elsewhere in the
    // order: its bucket, if crowded, is thinned again when next asked.
    void changed(qint32 slot);
    // Thins again every crowded bucket that changed.
    void thinChanged(ShownAt shown);

    // Appends the records shown, each with its bucket (LeftOut for those
    // drawn plain), to lay them out again.
    void takeShown(ShownAt shown, std::vector<Entry> &entries, std::vector<qint32> &column,
                   std::vector<qint32> &row) const;

    // Appends the draws of the shown records whose cell lies in the range,
    // at their cells moved by (sx, sy), crowded buckets thinned out.
    void gather(const CellRange &cells, qint64 sx, qint64 sy, ShownAt shown, std::vector<IndexedDraw> &out);
    // Appends the draws of the shown records drawn plain.
    void gatherPlain(ShownAt shown, std::vector<IndexedDraw> &out) const;

private:
    // A crowded bucket: the slots worth drawing, in list order, with the
    // parts of each worth drawing.
    struct Crowd {
        qint32 begin = 0;
        qint32 end = 0;
        std::vector<std::pair<qint32, quint8>> kept;
        bool stale = true;
    };

    void thin(Crowd &crowd, ShownAt shown);

    BucketGrid m_grid;
    std::vector<Entry> m_entries;  // bucket by bucket, then those drawn plain
    std::size_t m_plainFrom = 0;
    std::vector<Crowd> m_crowds;  // by their first slot
};

}  // namespace kalmor::detail
