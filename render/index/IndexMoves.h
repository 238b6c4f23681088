#pragma once

#include "document/ElementList.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace kalmor::detail {

// Where a removal or re-insertion that kept the order of the rest moved
// each position. A removal takes x to x less the removed positions before
// it; an insertion to x plus the inserted ones at or before where it
// lands, that is those whose position less the inserted ones before it is
// at most x. Both keep the order of positions, so a sorted table of
// positions is moved a stretch at a time. Single positions are counted
// against those bounds by a search within a stretch of them.
class Moves {
public:
    explicit Moves(const ListRevision::Renumbering &change);

    // Records in the list before the change.
    qint32 countBefore() const { return m_before; }

    // Where the record at pos went, or -1 when it was taken out or stood
    // past the end.
    qint32 operator()(qint32 pos) const
    {
        if (pos < 0 || pos >= m_before)
            return -1;
        if (m_change.inserted)
            return pos + below(pos + 1);
        const qint32 before = below(pos);
        const std::vector<qint32> &removed = m_change.positions;
        return std::size_t(before) < removed.size() && removed[std::size_t(before)] == pos ? -1 : pos - before;
    }

    // Moves every value of the ascending table; a removed position goes
    // where the next kept one goes, so the table stays ascending. Calls
    // taken(i) for every entry i that held a removed position.
    template <class Taken>
    void moveAscending(std::vector<qint32> &table, Taken taken) const
    {
        // An insertion moves values from m_landing[j] on by j + 1; a
        // removal those above positions[j] by -(j + 1).
        const bool inserted = m_change.inserted;
        const std::vector<qint32> &bounds = this->bounds();
        auto v = std::lower_bound(table.begin(), table.end(), bounds.front());
        for (std::size_t j = 0; j < bounds.size(); ++j) {
            const qint32 by = inserted ? qint32(j + 1) : -qint32(j + 1);
            if (!inserted) {
                for (; v != table.end() && *v == bounds[j]; ++v) {
                    taken(std::size_t(v - table.begin()));
                    *v -= qint32(j);
                }
            }
            if (j + 1 == bounds.size())
                break;
            for (const qint32 limit = bounds[j + 1]; v != table.end() && *v < limit; ++v)
                *v += by;
        }
        const qint32 by = inserted ? qint32(bounds.size()) : -qint32(bounds.size());
        std::for_each(v, table.end(), [by](qint32 &x) { x += by; });
    }

private:
    // An insertion moves positions by its landing places, a removal by its
    // positions.
    const std::vector<qint32> &bounds() const { return m_change.inserted ? m_landing : m_change.positions; }

    // How many bounds are less than v (at most m_before + 1).
    qint32 below(qint32 v) const
    {
        const std::size_t s = std::size_t(v) >> BoundsShift;
        const auto first = bounds().cbegin();
        return qint32(std::lower_bound(first + m_below[s], first + m_below[s + 1], v) - first);
    }

    const ListRevision::Renumbering &m_change;
    qint32 m_before;
    std::vector<qint32> m_landing;  // an insertion's bounds
    // By stretch of 2^BoundsShift positions, how many bounds lie before it.
    static constexpr int BoundsShift = 8;
    std::vector<qint32> m_below;
};

}  // namespace kalmor::detail
