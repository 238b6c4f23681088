#pragma once

#include "document/BucketGrid.h"
#include "render/IndexEntry.h"

#include <cstddef>
#include <vector>

namespace kalmor::detail {

// A record edited since the buckets were built, at its cell as it would
// have been before the shifts since then.
struct Edited {
    qint64 x = 0;
    qint64 y = 0;
    Entry entry{};       // entry.pos is its position now, -1 once forgotten
    bool plain = false;  // drawn from the record itself
};

// The records now at edited positions. A flat table by position finds the
// record noted for a position; buckets of their own find them by place.
// The buckets are grouped in one pass, as the built ones are, once enough
// records came or went since; the latest ones wait in a short list that
// frames walk whole. So a paste of many thousands costs one pass, and a
// single edit a few nanoseconds.
class IndexEdits {
public:
    void clear();
    // Records noted, plain ones included.
    std::size_t size() const { return m_live; }

    // Forgets the record noted at the position, if any.
    void forget(qint32 pos);
    // Notes a record; none is noted at its position.
    void add(const Edited &e);
    // Moves every record from position p to now(p), forgetting those for
    // which it gives -1; count is the length of the list after.
    template <class Now>
    void renumber(Now now, qint32 count)
    {
        m_at.assign(std::size_t(count), -1);
        for (std::size_t i = 0; i < m_records.size(); ++i) {
            qint32 &pos = m_records[i].entry.pos;
            if (pos < 0)
                continue;
            pos = now(pos);
            if (pos < 0)
                --m_live;
            else
                m_at[std::size_t(pos)] = qint32(i);
        }
    }
    // Groups the latest records into the buckets when they got many, or
    // many were forgotten.
    void settle();

    // Calls visit(edited) for every record kept in buckets whose cell lies
    // in [x0, x1] x [y0, y1] (cells before the shifts since the build).
    template <class Visit>
    void forEachIn(qint64 x0, qint64 x1, qint64 y0, qint64 y1, Visit visit) const
    {
        const auto take = [&](const Edited &e) {
            if (e.entry.pos >= 0 && !e.plain && e.x >= x0 && e.x <= x1 && e.y >= y0 && e.y <= y1)
                visit(e);
        };
        m_grid.forEachIn(bucket(x0), bucket(x1), bucket(y0), bucket(y1), [&](qint64, qint64, qint32 begin, qint32 end) {
            for (qint32 k = begin; k < end; ++k)
                take(m_records[std::size_t(m_grid.items()[std::size_t(k)])]);
        });
        for (std::size_t i = m_grouped; i < m_records.size(); ++i)
            take(m_records[i]);
    }

    // Calls visit(pos) for every record drawn plain.
    template <class Visit>
    void forEachPlain(Visit visit) const
    {
        for (const qint32 i : m_plain) {
            const Edited &e = m_records[std::size_t(i)];
            if (e.entry.pos >= 0)
                visit(e.entry.pos);
        }
    }

    // The bucket of a cell, for any cell a search may ask about.
    static qint64 bucket(qint64 cell);

private:
    void regroup();

    std::vector<Edited> m_records;
    std::vector<qint32> m_at;     // by position: index into m_records, or -1
    std::vector<qint32> m_plain;  // indexes of the plain records
    BucketGrid m_grid;            // of m_records[0, m_grouped)
    std::size_t m_grouped = 0;
    std::size_t m_live = 0;
};

}  // namespace kalmor::detail
