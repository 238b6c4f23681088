#pragma once

#include "render/index/IndexBuckets.h"

#include <cstddef>
#include <vector>

namespace kalmor::detail {

class Moves;

// A record edited since the buckets were built, at its cell as it would
// have been before the shifts since then.
struct Edited {
    qint64 x = 0;
    qint64 y = 0;
    Entry entry{};       // entry.pos is its position now, -1 once forgotten
    bool plain = false;  // drawn from the record itself
};

// The records now at edited positions. A flat table by position finds the
// record noted for a position. The latest records wait in a short list
// that frames walk whole; once there are enough of them they are grouped
// into buckets of their own, as the built ones are, in groups of a bounded
// size. Groups of like size are merged, up to that size, and groups that
// lost many records compacted, a bounded amount of that work per gather,
// so that a frame asks a handful of groups and neither a paste of many
// thousands nor the gather after it waits for a pass over all of them; a
// single edit costs a few nanoseconds. Crowded buckets are thinned out
// among the records of one group.
class IndexEdits {
public:
    // Forgets every record, for a list of count records.
    void clear(qint32 count);
    // Records noted, plain ones included.
    std::size_t size() const { return m_live; }

    // Forgets the record noted at the position, if any.
    void forget(qint32 pos);
    // Asks for a record and for what is noted at its position ahead of
    // their use.
    void prefetch(const void *record, qint32 pos) const
    {
        if (record)
            __builtin_prefetch(record);
        if (std::size_t(pos) < m_at.size())
            __builtin_prefetch(&m_at[std::size_t(pos)]);
    }
    // Room for as many more records noted.
    void reserve(std::size_t more) { m_latest.reserve(m_latest.size() + more); }
    // Notes a record, in place of one noted at its position.
    void add(const Edited &e);
    // Moves every record from position p on to where the change moved it,
    // forgetting those it took out; positions before `first` stay. count
    // is the length of the list after.
    void renumber(const Moves &moves, qint32 first, qint32 count);
    // Groups the latest records when they got many, and merges and
    // compacts groups as far as a bounded number of records allows.
    void settle();
    // Whether settle() has merges or compactions left to do.
    bool unsettled() const;
    // Thins again the crowded buckets that lost records.
    void thinChanged();

    // Appends the draws of the records kept in buckets whose cell lies in
    // the range (cells before the shifts since the build), at their cells
    // moved by (sx, sy).
    void gather(const CellRange &cells, qint64 sx, qint64 sy, std::vector<IndexedDraw> &out);
    // Appends the draws of the records drawn plain.
    void gatherPlain(std::vector<IndexedDraw> &out) const;

private:
    // Records grouped in one pass.
    struct Group {
        Buckets buckets;
        std::size_t live = 0;
    };

    // m_at holds the group and the slot in it, or None.
    static constexpr qint64 None = -1;
    static constexpr std::size_t Latest = 0xFFFF;
    static qint64 at(std::size_t group, std::size_t i) { return (qint64(group) << 32) | qint64(i); }

    // The record at the slot of the group (none for the latest) was
    // forgotten.
    void lost(Group *of, qint32 slot);
    static Group group(const std::vector<Entry> &entries, const std::vector<qint32> &column,
                       const std::vector<qint32> &row);
    bool mergeable(std::size_t g) const;
    static bool wasteful(const Group &g);
    // Groups the latest records, in groups of a bounded size.
    void groupLatest();
    // Notes where the records of the groups from `first` on are.
    void place(std::size_t first);
    // Clears where the records at positions from `first` on are.
    void unplace(qint32 first);

    std::vector<Group> m_groups;  // oldest first
    std::vector<Edited> m_latest;
    std::vector<qint64> m_at;  // by position
    std::size_t m_live = 0;
};

}  // namespace kalmor::detail
