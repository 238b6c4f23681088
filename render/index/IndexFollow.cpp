// How the cell index of a list follows the list's change log instead of
// building its buckets again.
#include "render/index/IndexLayer.h"

#include <algorithm>
#include <numeric>

namespace kalmor::detail {

namespace {

// Edited positions followed before the buckets are rebuilt. A frame pays
// a few nanoseconds for each; a rebuild pays for the list.
constexpr std::size_t EditedLimit = std::size_t(1) << 19;
// A renumbering whose positions the list logged one by one up to this
// many is followed position by position; a longer one costs a pass over
// the positions instead.
constexpr std::size_t FollowedTail = 4096;
// Renumberings followed between two frames before a rebuild is cheaper.
constexpr std::size_t RenumberLimit = 8;

// Positions asked for this many steps ahead of their use.
constexpr std::size_t Ahead = 16;
// Positions per step of the table that tells where in builtNow the
// built records now at a stretch of positions begin.
constexpr int StretchShift = 4;

// The built record at a position now, or -1. Built records keep their
// order however they are renumbered, so the one at a position is found by
// a search, within the stretch of its position; records taken out share
// the number of the next one kept, which stands after them, so the last
// of equal numbers is the candidate.
qint32 builtAt(LayerState &layer, qint32 pos)
{
    const std::vector<qint32> &now = layer.builtNow;
    if (now.empty())
        return pos < layer.builtCount ? pos : -1;
    std::vector<qint32> &from = layer.builtFrom;
    if (from.empty()) {
        // Filled when first asked: a deleted selection and its undo need
        // it not at all.
        const std::size_t stretches = (std::size_t(now.back()) >> StretchShift) + 1;
        from.resize(stretches + 1);
        std::size_t k = 0;
        for (std::size_t b = 0; b < now.size(); ++b) {
            for (; (k << StretchShift) <= std::size_t(now[b]); ++k)
                from[k] = qint32(b);
        }
        for (; k <= stretches; ++k)
            from[k] = qint32(now.size());
    }
    const std::size_t k = std::min(std::size_t(pos) >> StretchShift, from.size() - 2);
    const auto after = std::upper_bound(now.cbegin() + from[k], now.cbegin() + from[k + 1], pos);
    if (after == now.cbegin() || *(after - 1) != pos)
        return -1;
    const qint32 built = qint32(after - now.cbegin()) - 1;
    return testBit(layer.editedBits, built) ? -1 : built;
}

// The record at pos changed, or is gone: what was noted for the position
// goes.
void forgetAt(LayerState &layer, qint32 pos)
{
    const qint32 built = builtAt(layer, pos);
    if (built >= 0)
        hideBuilt(layer, built);
    layer.edits.forget(pos);
}

// Where a removal or re-insertion that kept the order of the rest moved
// each position. A removal takes x to x less the removed positions before
// it; an insertion to x plus the inserted ones at or before where it
// lands, that is those whose position less the inserted ones before it is
// at most x. Both keep the order of positions, so a sorted table of
// positions is moved a stretch at a time. Single positions are counted
// against those bounds by a search within a stretch of them.
class Moves {
public:
    explicit Moves(const ListRevision::Renumbering &change)
        : m_change(change),
          m_before(change.inserted ? change.count - qint32(change.positions.size())
                                   : change.count + qint32(change.positions.size()))
    {
        if (change.inserted) {
            m_landing.resize(change.positions.size());
            for (std::size_t k = 0; k < m_landing.size(); ++k)
                m_landing[k] = change.positions[k] - qint32(k);
        }
        const std::vector<qint32> &bounds = this->bounds();
        m_below.resize((std::size_t(m_before) >> BoundsShift) + 2);
        std::size_t j = 0;
        for (std::size_t s = 0; s < m_below.size(); ++s) {
            while (j < bounds.size() && std::size_t(bounds[j]) < (s << BoundsShift))
                ++j;
            m_below[s] = qint32(j);
        }
    }

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

// Moves every kept position to where a removal or re-insertion that kept
// the order of the rest put it, and forgets the records it took out.
void renumber(LayerState &layer, const ListRevision::Renumbering &change, std::vector<qint32> &pending)
{
    const Moves now(change);
    if (layer.builtNow.empty()) {
        layer.builtNow.resize(std::size_t(layer.builtCount));
        std::iota(layer.builtNow.begin(), layer.builtNow.end(), 0);
    }
    // Those a removal left past the end go before the renumbering could
    // move them back below it, as edited records past the end go.
    const qint32 countBefore = change.inserted ? change.count - qint32(change.positions.size())
                                               : change.count + qint32(change.positions.size());
    for (auto past = std::lower_bound(layer.builtNow.begin(), layer.builtNow.end(), countBefore);
         past != layer.builtNow.end(); ++past) {
        const qint32 built = qint32(past - layer.builtNow.begin());
        if (!testBit(layer.editedBits, built))
            hideBuilt(layer, built);
    }
    // Those taken out go.
    now.moveAscending(layer.builtNow, [&layer](std::size_t built) {
        if (!testBit(layer.editedBits, qint32(built)))
            hideBuilt(layer, qint32(built));
    });
    layer.builtFrom.clear();
    layer.edits.renumber(now, change.positions.front(), change.count);
    std::erase_if(pending, [&now](qint32 &pos) {
        pos = now(pos);
        return pos < 0;
    });
    if (change.inserted)
        pending.insert(pending.end(), change.positions.cbegin(), change.positions.cend());
}

// Notes the records now at the pending positions.
template <class Record>
void describeTouched(LayerState &layer, IndexNames &names, const ElementList<Record> &list,
                     const std::vector<qint32> &pending)
{
    const auto shift = list.shiftTotal();
    layer.edits.reserve(pending.size());
    // Positions from list.count() on were forgotten as past the end.
    for (std::size_t k = 0; k < pending.size(); ++k) {
        const qint32 pos = pending[k];
        // Pasted or removed records lie anywhere in a long list: a miss
        // each unless asked for ahead.
        if (k + Ahead < pending.size() && pending[k + Ahead] < list.count())
            layer.edits.prefetch(&list.at(pending[k + Ahead]), pending[k + Ahead]);
        if (pos >= list.count())
            continue;
        const Record &r = list.at(pos);
        Edited e;
        e.x = qint64(r.X) - (shift.dx - layer.builtShiftX);
        e.y = qint64(r.Y) - (shift.dy - layer.builtShiftY);
        e.plain = !describe(r, pos, names, e.entry) || qint32(e.x) != e.x || qint32(e.y) != e.y;
        if (!e.plain) {
            widenOffsets(layer, e.entry);
            e.entry.cell = quint8((e.x & 15) | ((e.y & 15) << 4));
        }
        layer.edits.add(e);
    }
}

// Whether a renumbering is followed by its logged positions instead.
bool followedByTouches(const ListRevision::Renumbering &change)
{
    return change.touches > 0 && change.touches <= FollowedTail;
}

// Follows the list's changes since the layer's revision: false when only
// a rebuild can, or a rebuild costs less.
template <class Record>
bool follow(LayerState &layer, IndexNames &names, const ElementList<Record> &list)
{
    std::vector<qint32> touched;
    std::vector<ListRevision::RenumberedAt> renumbered;
    if (!list.changesSince(layer.revision, touched, renumbered))
        return false;
    std::size_t described = touched.size();
    std::size_t passes = 0;
    for (const ListRevision::RenumberedAt &r : renumbered) {
        if (followedByTouches(*r.change))
            continue;
        described -= r.change->touches;
        described += r.change->inserted ? r.change->positions.size() : 0;
        ++passes;
    }
    if (passes > RenumberLimit || layer.edits.size() + described > EditedLimit)
        return false;

    // Positions that may hold a record noted before the list got shorter:
    // a removal moves the last record into the gap and notes only the gap.
    qint32 reach = layer.count;
    std::vector<qint32> pending;
    std::size_t next = 0;  // into touched
    const auto touchUpTo = [&](std::size_t end) {
        for (; next < end; ++next) {
            const qint32 pos = touched[next];
            if (next + Ahead < end)
                layer.edits.prefetch(nullptr, touched[next + Ahead]);
            forgetAt(layer, pos);
            pending.push_back(pos);
            reach = std::max(reach, pos + 1);
        }
    };
    for (const ListRevision::RenumberedAt &r : renumbered) {
        if (followedByTouches(*r.change))
            continue;
        touchUpTo(r.touchedBefore);
        renumber(layer, *r.change, pending);
        reach = r.change->count;
        next += r.change->touches;
    }
    touchUpTo(touched.size());
    for (qint32 pos = qint32(list.count()); pos < reach; ++pos)
        forgetAt(layer, pos);
    describeTouched(layer, names, list, pending);
    layer.edits.settle();
    layer.count = qint32(list.count());
    return true;
}

}  // namespace

template <class Record>
bool catchUp(LayerState &layer, IndexNames &names, const ElementList<Record> &list)
{
    if (layer.valid && layer.list == &list) {
        if (layer.revision == list.revision()) {
            // Merges and compactions left over go on, a part per gather.
            if (layer.edits.unsettled())
                layer.edits.settle();
            return false;
        }
        if (follow(layer, names, list)) {
            layer.revision = list.revision();
            return false;
        }
    }
    rebuild(layer, names, list);
    return true;
}

template bool catchUp(LayerState &, IndexNames &, const ElementList<TPoleZarovka> &);
template bool catchUp(LayerState &, IndexNames &, const ElementList<TPolePanelu> &);
template bool catchUp(LayerState &, IndexNames &, const ElementList<TPoleStitek> &);

}  // namespace kalmor::detail
