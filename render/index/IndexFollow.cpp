// How the cell index of a list follows the list's change log instead of
// building its buckets again.
#include "render/index/IndexFollow.h"

#include "render/index/IndexMoves.h"

#include <algorithm>

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

// The record at pos changed, or is gone: what was noted for the position
// goes.
void forgetAt(LayerState &layer, qint32 pos)
{
    const qint32 built = layer.built.at(pos);
    if (built >= 0)
        layer.built.hide(built);
    layer.edits.forget(pos);
}

// Moves every kept position to where a removal or re-insertion that kept
// the order of the rest put it, and forgets the records it took out.
void renumber(LayerState &layer, const ListRevision::Renumbering &change, std::vector<qint32> &pending)
{
    const Moves now(change);
    layer.built.renumber(now);
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

    // Positions that may hold an edited record noted before the list got
    // shorter: a removal moves the last record into the gap and notes only
    // the gap.
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
    // What stands past the end goes: built records wherever they went,
    // edited ones noted at positions the list left.
    layer.built.hideFrom(qint32(list.count()));
    for (qint32 pos = qint32(list.count()); pos < reach; ++pos)
        layer.edits.forget(pos);
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
template bool catchUp(LayerState &, IndexNames &, const ElementList<TPolePrvek> &);

}  // namespace kalmor::detail
