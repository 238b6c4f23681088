// How the cell index of a list follows the list's change log instead of
// building its buckets again.
#include "render/IndexLayer.h"

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

// The built record at a position now, or -1.
qint32 builtAt(LayerState &layer, qint32 pos)
{
    if (layer.builtNow.empty())
        return pos < layer.builtCount ? pos : -1;
    if (layer.builtAtNow.empty()) {
        // Filled when first asked: a deleted selection and its undo need
        // it not at all.
        layer.builtAtNow.assign(std::size_t(layer.renumberedCount), -1);
        for (qint32 built = 0; built < layer.builtCount; ++built) {
            if (!testBit(layer.editedBits, built))
                layer.builtAtNow[std::size_t(layer.builtNow[std::size_t(built)])] = built;
        }
    }
    return std::size_t(pos) < layer.builtAtNow.size() ? layer.builtAtNow[std::size_t(pos)] : -1;
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
// each position, -1 for those it took out and those past the end (the
// last one moved into a gap). A table by position: one pass to fill,
// and the edited records ask in no order.
class Moves {
public:
    explicit Moves(const ListRevision::Renumbering &change)
    {
        const qint32 size = qint32(change.positions.size());
        const qint32 before = change.inserted ? change.count - size : change.count + size;
        m_to.assign(std::size_t(before), -1);
        auto next = change.positions.cbegin();
        if (change.inserted) {
            qint32 from = 0;
            for (qint32 to = 0; to < change.count; ++to) {
                if (next != change.positions.cend() && *next == to)
                    ++next;
                else
                    m_to[std::size_t(from++)] = to;
            }
            return;
        }
        for (qint32 from = 0; from < before; ++from) {
            if (next != change.positions.cend() && *next == from)
                ++next;
            else
                m_to[std::size_t(from)] = from - qint32(next - change.positions.cbegin());
        }
    }

    qint32 operator()(qint32 pos) const { return std::size_t(pos) < m_to.size() ? m_to[std::size_t(pos)] : -1; }

private:
    std::vector<qint32> m_to;
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
    for (qint32 built = 0; built < layer.builtCount; ++built) {
        if (testBit(layer.editedBits, built))
            continue;
        const qint32 to = now(layer.builtNow[std::size_t(built)]);
        if (to < 0)
            hideBuilt(layer, built);
        else
            layer.builtNow[std::size_t(built)] = to;
    }
    layer.builtAtNow.clear();
    layer.renumberedCount = change.count;
    layer.edits.renumber(now, change.count);
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
    for (const qint32 pos : pending) {
        layer.edits.forget(pos);
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
        if (layer.revision == list.revision())
            return false;
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
