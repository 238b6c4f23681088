#pragma once

#include "document/BucketGrid.h"
#include "render/index/IndexEntry.h"
#include "render/index/IndexThinning.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace kalmor::detail {

// A record edited since the buckets were built, at its cell as it would
// have been before the shifts since then.
struct Edited {
    qint64 x = 0;
    qint64 y = 0;
    Entry entry{};        // entry.pos is its position now, -1 once forgotten
    bool plain = false;   // drawn from the record itself
    qint32 crowded = -1;  // which crowded bucket of its group holds it
};

// The records now at edited positions. A flat table by position finds the
// record noted for a position. The latest records wait in a short list
// that frames walk whole; once there are enough of them they are grouped
// into buckets of their own, as the built ones are, in groups of a bounded
// size. Groups of like size are merged, up to that size, and groups that
// lost many records compacted, a bounded amount of that work per gather,
// so that a frame asks a handful of groups and neither a paste of many
// thousands nor the gather after it waits for a pass over all of them; a
// single edit costs a few nanoseconds. Crowded buckets are thinned out as
// the built ones are, among the records of one group: a later record
// covers an earlier one whatever is drawn between them.
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
    // Moves every record from position p to now(p), forgetting those for
    // which it gives -1; positions before `first` stay. count is the length
    // of the list after.
    template <class Now>
    void renumber(const Now &now, qint32 first, qint32 count)
    {
        // Clearing the positions noted from first on costs a miss each,
        // clearing that part of the table a pass: whichever is less.
        const std::size_t from = std::min(std::size_t(first), m_at.size());
        if (32 * (m_live + m_latest.size()) < m_at.size() - from) {
            for (const Group &g : m_groups)
                unplace(g.records, first);
            unplace(m_latest, first);
        } else {
            std::fill(m_at.begin() + std::ptrdiff_t(from), m_at.end(), None);
        }
        m_at.resize(std::max(m_at.size(), std::size_t(count)), None);
        const auto move = [&](std::vector<Edited> &records, std::size_t group, Group *of) {
            for (std::size_t i = 0; i < records.size(); ++i) {
                Edited &e = records[i];
                if (e.entry.pos < first)
                    continue;
                e.entry.pos = now(e.entry.pos);
                if (e.entry.pos >= 0)
                    m_at[std::size_t(e.entry.pos)] = at(group, i);
                else
                    lost(e, of);
            }
        };
        for (std::size_t g = 0; g < m_groups.size(); ++g)
            move(m_groups[g].records, g, &m_groups[g]);
        move(m_latest, Latest, nullptr);
    }
    // Groups the latest records when they got many, merges and compacts
    // groups as far as a bounded number of records allows, and thins out
    // again the crowded buckets that lost records.
    void settle();
    // Whether settle() has merges or compactions left to do.
    bool unsettled() const;

    // Calls visit(edited, parts) for every record kept in buckets whose
    // cell lies in [x0, x1] x [y0, y1] (cells before the shifts since the
    // build), with the parts worth drawing: in crowded buckets, when thin
    // is set, only those no later record of its group repeats.
    template <class Visit>
    void forEachIn(qint64 x0, qint64 x1, qint64 y0, qint64 y1, bool thin, Visit visit) const
    {
        const auto take = [&](const Edited &e, quint8 parts) {
            if (e.entry.pos >= 0 && !e.plain && e.x >= x0 && e.x <= x1 && e.y >= y0 && e.y <= y1)
                visit(e, parts);
        };
        for (const Group &g : m_groups) {
            const auto inBucket = [&](qint64, qint64, qint32 begin, qint32 end) {
                if (thin && end - begin > Crowded) {
                    const Thinned &t = g.thinned[std::size_t(g.records[std::size_t(begin)].crowded)];
                    for (const auto &[i, parts] : t.kept)
                        take(g.records[std::size_t(i)], parts);
                    return;
                }
                for (qint32 i = begin; i < end; ++i)
                    take(g.records[std::size_t(i)], g.records[std::size_t(i)].entry.parts);
            };
            g.grid.forEachIn(bucket(x0), bucket(x1), bucket(y0), bucket(y1), inBucket);
        }
        for (const Edited &e : m_latest)
            take(e, e.entry.parts);
    }

    // Calls visit(pos) for every record drawn plain.
    template <class Visit>
    void forEachPlain(Visit visit) const
    {
        const auto take = [&](const Edited &e) {
            if (e.entry.pos >= 0 && e.plain)
                visit(e.entry.pos);
        };
        for (const Group &g : m_groups)
            std::for_each(g.records.begin() + std::ptrdiff_t(g.plainFrom), g.records.end(), take);
        std::for_each(m_latest.begin(), m_latest.end(), take);
    }

    // The bucket of a cell, for any cell a search may ask about.
    static qint64 bucket(qint64 cell);

private:
    // A crowded bucket thinned out: its records worth drawing, with the
    // parts still worth drawing.
    struct Thinned {
        std::vector<std::pair<qint32, quint8>> kept;
        qint32 begin = 0;  // the bucket's records
        qint32 end = 0;
        bool stale = false;
    };
    // Records grouped in one pass: bucket by bucket in the grid's order,
    // those drawn plain after them.
    struct Group {
        std::vector<Edited> records;
        BucketGrid grid;
        std::size_t plainFrom = 0;
        std::size_t live = 0;
        std::vector<Thinned> thinned;
    };

    // m_at holds the group and the index in it, or None.
    static constexpr qint64 None = -1;
    static constexpr std::size_t Latest = 0xFFFF;
    static qint64 at(std::size_t group, std::size_t i) { return (qint64(group) << 32) | qint64(i); }

    // A record of the group (none for the latest) was forgotten.
    void lost(const Edited &e, Group *of);
    static Group group(std::vector<Edited> records);
    bool mergeable(std::size_t g) const;
    static bool wasteful(const Group &g);
    static void thinOut(Group &g, Thinned &t);
    // Notes where the records of the groups from `first` on are.
    void place(std::size_t first);
    // Clears where the records at positions from `first` on are.
    void unplace(const std::vector<Edited> &records, qint32 first);

    std::vector<Group> m_groups;  // oldest first
    std::vector<Edited> m_latest;
    std::vector<qint64> m_at;  // by position
    std::size_t m_live = 0;
};

}  // namespace kalmor::detail
