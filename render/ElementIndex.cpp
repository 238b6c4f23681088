#include "render/ElementIndex.h"

#include "document/BucketGrid.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <optional>
#include <type_traits>

namespace kalmor {

namespace detail {

// Kind names by number. Records read from a file or placed with one kind
// share their string's storage, so the storage finds a name's number
// without hashing its text; the text finds it for every other copy.
// Every name is held here, so no storage it is keyed by can be freed and
// reused while the index lives.
class IndexNames {
public:
    quint32 operator()(const QString &name)
    {
        const Key key{name.constData(), name.size()};
        Slot &slot = m_recent[(reinterpret_cast<quintptr>(key.data) >> 4) % m_recent.size()];
        if (slot.key == key)
            return slot.id;
        auto it = m_byStorage.constFind(key);
        if (it == m_byStorage.cend()) {
            // Only a cache: strings edited one by one may each bring
            // storage of their own.
            if (m_held.size() >= HeldLimit)
                forgetStorage();
            auto text = m_byText.constFind(name);
            if (text == m_byText.cend()) {
                text = m_byText.insert(name, quint32(m_names.size()));
                m_names.push_back(name);
            }
            m_held.push_back(name);
            it = m_byStorage.insert(key, *text);
        }
        slot = Slot{key, *it};
        return *it;
    }

    const QString &at(quint32 id) const { return m_names[id]; }
    quint32 count() const { return quint32(m_names.size()); }

private:
    static constexpr std::size_t HeldLimit = 65536;

    void forgetStorage()
    {
        m_byStorage.clear();
        m_recent.fill(Slot{});
        m_held.clear();
    }

    struct Key {
        const QChar *data = nullptr;
        qsizetype size = -1;
        friend bool operator==(const Key &, const Key &) = default;
        friend std::size_t qHash(const Key &k, std::size_t seed = 0) noexcept
        {
            return qHashMulti(seed, k.data, k.size);
        }
    };
    struct Slot {
        Key key;
        quint32 id = 0;
    };

    std::vector<QString> m_names;
    QHash<QString, quint32> m_byText;
    QHash<Key, quint32> m_byStorage;
    std::vector<QString> m_held;  // keeps every keyed storage alive
    std::array<Slot, 256> m_recent;
};

// A record as the buckets keep it: its cell within its bucket and what a
// frame needs to draw it.
struct Entry {
    qint32 pos;  // when built, its list position; edited, its position now
    quint32 name;
    quint8 cell;   // column in bits 0-3, row in bits 4-7
    quint8 parts;
    qint16 dx;
    qint16 dy;
};

// A record edited since the buckets were built, at its cell as it would
// have been before the shifts since then.
struct Edited {
    qint64 x = 0;
    qint64 y = 0;
    Entry entry{};
};

// Records stacked in one crowded bucket, with the draws a later record
// repeats left out.
struct Thinned {
    std::vector<Entry> entries;
    bool stale = false;
};

struct LayerState {
    const void *list = nullptr;
    quint64 revision = 0;  // of the list as the answers follow it
    bool valid = false;
    qint64 builtShiftX = 0;  // the list's shift total when built
    qint64 builtShiftY = 0;
    qint32 builtCount = 0;

    BucketGrid grid;
    std::vector<Entry> entries;  // in grid order
    std::vector<qint32> plain;   // ascending
    // Range of the pixel offsets of the lamps kept in buckets.
    qint64 minDx = 0;
    qint64 maxDx = 0;
    qint64 minDy = 0;
    qint64 maxDy = 0;

    // Positions below builtCount edited since the build; the records now
    // at edited positions, in buckets of their own, and where each is.
    std::vector<quint64> editedBits;  // by the positions when built
    QHash<quint64, std::vector<Edited>> edited;
    QHash<qint32, std::optional<quint64>> editedAt;  // position -> bucket key, none when drawn plain
    std::vector<qint32> editedPlain;  // edited positions drawn plain

    std::vector<quint64> crowdedBits;  // positions in crowded buckets
    QHash<qint32, Thinned> thinned;    // by the bucket's first entry
    bool thinnedStale = false;

    // Where the built records stand now, once records were taken out or
    // put back with the order of the rest kept: position when built ->
    // position now, and position now -> position when built or -1. Both
    // empty while every built record stands where it was built.
    std::vector<qint32> builtNow;
    std::vector<qint32> builtAtNow;
};

}  // namespace detail

namespace {

using detail::Edited;
using detail::Entry;
using detail::IndexNames;
using detail::LayerState;
using detail::Thinned;

// Lamps standing farther than this from their cell are offered for every
// rectangle instead of widening every search.
constexpr qint64 NearOffset = 256;
// Edited positions followed one by one before the buckets are rebuilt.
// A frame pays a few nanoseconds for each; a rebuild pays for the list.
constexpr std::size_t EditedLimit = std::size_t(1) << 17;
// Buckets holding more records than this are thinned out.
constexpr qint32 Crowded = 512;
// A renumbering whose positions the list logged one by one up to this
// many is followed position by position; a longer one costs a pass over
// the positions instead.
constexpr std::size_t FollowedTail = 4096;
// Renumberings followed between two frames before a rebuild is cheaper.
constexpr std::size_t RenumberLimit = 8;

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

bool testBit(const std::vector<quint64> &bits, qint32 i)
{
    return (bits[std::size_t(i) >> 6] >> (i & 63)) & 1;
}

void setBit(std::vector<quint64> &bits, qint32 i)
{
    bits[std::size_t(i) >> 6] |= quint64(1) << (i & 63);
}

// elementClassOf(name) == ElementClass::Lamp, without walking the other
// prefixes: this runs for every record of a rebuilt list.
bool isLampName(const QString &name)
{
    return name.size() >= 3 && name[0] == u'Z' && name[1] == u'A' && name[2] == u'R';
}

// How the buckets keep a record: false when it is drawn plain.
template <class Record>
bool describe(const Record &r, qint32 pos, IndexNames &names, Entry &e)
{
    e = Entry{pos, names(r.NAME), 0, PartPicture, 0, 0};
    if constexpr (std::is_same_v<Record, TPolePanelu>) {
        e.parts |= (r.Cont_LH ? PartCornerLH : 0) | (r.Cont_LD ? PartCornerLD : 0) | (r.Cont_PH ? PartCornerPH : 0)
            | (r.Cont_PD ? PartCornerPD : 0);
    }
    if (!isLampName(r.NAME))
        return true;
    if constexpr (std::is_same_v<Record, TPoleZarovka>) {
        if (std::max(std::abs(qint64(r.ODSAZENI_X)), std::abs(qint64(r.ODSAZENI_Y))) > NearOffset)
            return false;
        e.dx = qint16(r.ODSAZENI_X);
        e.dy = qint16(r.ODSAZENI_Y);
        return true;
    }
    // Borrows the offsets of the lamp record at its position.
    return false;
}

void widenOffsets(LayerState &layer, const Entry &e)
{
    layer.minDx = std::min<qint64>(layer.minDx, e.dx);
    layer.maxDx = std::max<qint64>(layer.maxDx, e.dx);
    layer.minDy = std::min<qint64>(layer.minDy, e.dy);
    layer.maxDy = std::max<qint64>(layer.maxDy, e.dy);
}

// One draw of a thinned bucket: what is drawn in which cell.
struct ThinnedDraw {
    quint64 what;
    quint32 offsets;
    friend bool operator==(const ThinnedDraw &, const ThinnedDraw &) = default;
    friend std::size_t qHash(const ThinnedDraw &d, std::size_t seed = 0) noexcept
    {
        return qHashMulti(seed, d.what, d.offsets);
    }
};

// The untouched records of a crowded bucket with every draw that a later
// one in the bucket repeats left out: an opaque picture drawn again at the
// same place covers the first draw exactly.
std::vector<Entry> thinOut(const LayerState &layer, qint32 begin, qint32 end)
{
    QSet<ThinnedDraw> later;
    std::vector<Entry> kept;
    for (qint32 k = end - 1; k >= begin; --k) {
        Entry e = layer.entries[std::size_t(k)];
        if (testBit(layer.editedBits, e.pos))
            continue;
        quint8 parts = 0;
        for (quint8 part = PartPicture; part <= PartCornerPD; part <<= 1) {
            if (!(e.parts & part))
                continue;
            // A corner piece looks the same whoever asks for it.
            const bool picture = part == PartPicture;
            const ThinnedDraw d{(quint64(picture ? e.name : 0) << 16) | (quint64(e.cell) << 8) | part,
                         picture ? (quint32(quint16(e.dx)) << 16) | quint16(e.dy) : 0};
            if (!later.contains(d)) {
                later.insert(d);
                parts |= part;
            }
        }
        if (parts != 0) {
            e.parts = parts;
            kept.push_back(e);
        }
    }
    std::reverse(kept.begin(), kept.end());
    return kept;
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

    const std::size_t words = (std::size_t(n) + 63) / 64;
    layer.editedBits.assign(words, 0);
    layer.edited.clear();
    layer.editedAt.clear();
    layer.editedPlain.clear();
    layer.crowdedBits.assign(words, 0);
    layer.thinned.clear();
    layer.thinnedStale = false;
    layer.builtNow.clear();
    layer.builtAtNow.clear();
    layer.grid.forEachBucket([&layer](qint32 begin, qint32 end) {
        if (end - begin <= Crowded)
            return;
        for (qint32 k = begin; k < end; ++k)
            setBit(layer.crowdedBits, layer.entries[std::size_t(k)].pos);
        layer.thinned.insert(begin, Thinned{thinOut(layer, begin, end), false});
    });

    const auto shift = list.shiftTotal();
    layer.builtShiftX = shift.dx;
    layer.builtShiftY = shift.dy;
    layer.builtCount = n;
    layer.list = &list;
    layer.revision = list.revision();
    layer.valid = true;
}

quint64 bucketKey(qint64 x, qint64 y)
{
    return (quint64(quint32(qint32(x >> BucketGrid::Shift))) << 32) | quint32(qint32(y >> BucketGrid::Shift));
}

// Forgets what an earlier edit noted at the position.
void forgetEdit(LayerState &layer, qint32 pos)
{
    const auto at = layer.editedAt.constFind(pos);
    if (at == layer.editedAt.cend())
        return;
    if (!*at) {
        layer.editedPlain.erase(std::find(layer.editedPlain.begin(), layer.editedPlain.end(), pos));
    } else {
        const auto bucket = layer.edited.find(**at);
        std::vector<Edited> &in = *bucket;
        const auto it = std::find_if(in.begin(), in.end(), [pos](const Edited &e) { return e.entry.pos == pos; });
        *it = in.back();
        in.pop_back();
        if (in.empty())
            layer.edited.erase(bucket);
    }
    layer.editedAt.erase(at);
}

// The built record at a position now, or -1.
qint32 builtAt(const LayerState &layer, qint32 pos)
{
    if (layer.builtNow.empty())
        return pos < layer.builtCount ? pos : -1;
    return std::size_t(pos) < layer.builtAtNow.size() ? layer.builtAtNow[std::size_t(pos)] : -1;
}

void hideBuilt(LayerState &layer, qint32 built)
{
    setBit(layer.editedBits, built);
    if (testBit(layer.crowdedBits, built))
        layer.thinnedStale = true;
}

// The record at pos changed: what was noted for the position goes, and
// its record is read once every change is followed (pending).
void touch(LayerState &layer, qint32 pos, std::vector<qint32> &pending)
{
    const qint32 built = builtAt(layer, pos);
    if (built >= 0)
        hideBuilt(layer, built);
    forgetEdit(layer, pos);
    pending.push_back(pos);
}

// Moves every kept position to where a removal or re-insertion that kept
// the order of the rest put it, and forgets the records it took out.
void renumber(LayerState &layer, const ListRevision::Renumbering &change, std::vector<qint32> &pending)
{
    const qint32 size = qint32(change.positions.size());
    const qint32 before = change.inserted ? change.count - size : change.count + size;
    std::vector<qint32> moved(std::size_t(before), -1);  // position before -> after, -1 when taken out
    auto next = change.positions.cbegin();
    if (change.inserted) {
        qint32 from = 0;
        for (qint32 to = 0; to < change.count; ++to) {
            if (next != change.positions.cend() && *next == to)
                ++next;
            else
                moved[std::size_t(from++)] = to;
        }
    } else {
        for (qint32 from = 0; from < before; ++from) {
            if (next != change.positions.cend() && *next == from)
                ++next;
            else
                moved[std::size_t(from)] = from - qint32(next - change.positions.cbegin());
        }
    }
    // Records past the end (the last one moved into a gap) are gone too.
    const auto now = [&moved](qint32 pos) { return std::size_t(pos) < moved.size() ? moved[std::size_t(pos)] : -1; };

    if (layer.builtNow.empty()) {
        layer.builtNow.resize(std::size_t(layer.builtCount));
        std::iota(layer.builtNow.begin(), layer.builtNow.end(), 0);
    }
    layer.builtAtNow.assign(std::size_t(change.count), -1);
    for (qint32 built = 0; built < layer.builtCount; ++built) {
        if (testBit(layer.editedBits, built))
            continue;
        const qint32 to = now(layer.builtNow[std::size_t(built)]);
        if (to < 0) {
            hideBuilt(layer, built);
            continue;
        }
        layer.builtNow[std::size_t(built)] = to;
        layer.builtAtNow[std::size_t(to)] = built;
    }

    const auto gone = [&now](qint32 &pos) {
        pos = now(pos);
        return pos < 0;
    };
    const qsizetype editedBefore = layer.editedAt.size();
    layer.editedAt.clear();
    layer.editedAt.reserve(editedBefore);
    for (auto it = layer.edited.begin(); it != layer.edited.end();) {
        std::vector<Edited> &in = *it;
        in.erase(std::remove_if(in.begin(), in.end(), [&gone](Edited &e) { return gone(e.entry.pos); }), in.end());
        if (in.empty()) {
            it = layer.edited.erase(it);
            continue;
        }
        for (const Edited &e : in)
            layer.editedAt.insert(e.entry.pos, it.key());
        ++it;
    }
    std::vector<qint32> &plain = layer.editedPlain;
    plain.erase(std::remove_if(plain.begin(), plain.end(), gone), plain.end());
    for (const qint32 pos : plain)
        layer.editedAt.insert(pos, std::nullopt);
    pending.erase(std::remove_if(pending.begin(), pending.end(), gone), pending.end());
    if (change.inserted)
        pending.insert(pending.end(), change.positions.cbegin(), change.positions.cend());
}

// Notes the records now at the pending positions.
template <class Record>
void describeTouched(LayerState &layer, IndexNames &names, const ElementList<Record> &list,
                     const std::vector<qint32> &pending)
{
    const auto shift = list.shiftTotal();
    layer.editedAt.reserve(layer.editedAt.size() + qsizetype(pending.size()));
    for (const qint32 pos : pending) {
        forgetEdit(layer, pos);
        if (pos >= list.count())
            continue;
        const Record &r = list.at(pos);
        Edited e;
        e.x = qint64(r.X) - (shift.dx - layer.builtShiftX);
        e.y = qint64(r.Y) - (shift.dy - layer.builtShiftY);
        const bool bucketed = describe(r, pos, names, e.entry) && qint32(e.x) == e.x && qint32(e.y) == e.y;
        if (!bucketed) {
            layer.editedPlain.push_back(pos);
            layer.editedAt.insert(pos, std::nullopt);
            continue;
        }
        widenOffsets(layer, e.entry);
        const quint64 key = bucketKey(e.x, e.y);
        layer.edited[key].push_back(e);
        layer.editedAt.insert(pos, key);
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
    if (passes > RenumberLimit || std::size_t(layer.editedAt.size()) + described > EditedLimit)
        return false;

    std::vector<qint32> pending;
    std::size_t next = 0;  // into touched
    const auto touchUpTo = [&](std::size_t end) {
        for (; next < end; ++next)
            touch(layer, touched[next], pending);
    };
    for (const ListRevision::RenumberedAt &r : renumbered) {
        if (followedByTouches(*r.change))
            continue;
        touchUpTo(r.touchedBefore);
        renumber(layer, *r.change, pending);
        next += r.change->touches;
    }
    touchUpTo(touched.size());
    describeTouched(layer, names, list, pending);
    return true;
}

// Brings the layer up to the list; returns whether it rebuilt.
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

const std::vector<Entry> &thinned(LayerState &layer, qint32 begin, qint32 end)
{
    if (layer.thinnedStale) {
        for (Thinned &t : layer.thinned)
            t.stale = true;
        layer.thinnedStale = false;
    }
    Thinned &t = layer.thinned[begin];
    if (t.stale) {
        t.entries = thinOut(layer, begin, end);
        t.stale = false;
    }
    return t.entries;
}

// Sorts by list position: a radix sort, since a frame at the smallest
// cells gathers a hundred thousand records.
void sortByPosition(std::vector<IndexedDraw> &draws, std::vector<IndexedDraw> &scratch)
{
    if (draws.size() < 256) {
        std::sort(draws.begin(), draws.end(), [](const IndexedDraw &a, const IndexedDraw &b) { return a.pos < b.pos; });
        return;
    }
    constexpr int Bits = 11;
    constexpr quint32 Mask = (1u << Bits) - 1;
    quint32 highest = 0;
    for (const IndexedDraw &d : draws)
        highest = std::max(highest, quint32(d.pos));
    scratch.resize(draws.size());
    for (int shift = 0; shift < 32 && (shift == 0 || (highest >> shift) != 0); shift += Bits) {
        std::array<std::size_t, Mask + 2> start{};
        for (const IndexedDraw &d : draws)
            ++start[((quint32(d.pos) >> shift) & Mask) + 1];
        for (std::size_t b = 1; b < start.size(); ++b)
            start[b] += start[b - 1];
        for (const IndexedDraw &d : draws)
            scratch[start[(quint32(d.pos) >> shift) & Mask]++] = d;
        draws.swap(scratch);
    }
}

template <class Record>
bool gatherLayer(LayerState &layer, IndexNames &names, const ElementList<Record> &list, const QRect &rect,
                 int cellSize, bool thin, ElementIndex::Order order, std::vector<IndexedDraw> &out,
                 std::vector<IndexedDraw> &scratch)
{
    out.clear();
    const bool rebuilt = catchUp(layer, names, list);
    if (rect.isEmpty())
        return rebuilt;

    // A record at cell X covers at most the pixels [X*c + lo, X*c + hi):
    // its cell, the corner partners one cell either side, and for lamps
    // their offsets plus a picture of up to two cells.
    const qint64 c = std::max(1, cellSize);
    const qint64 loX = std::min<qint64>(0, layer.minDx) - c;
    const qint64 hiX = std::max<qint64>(c, layer.maxDx + 2 * c) + c;
    const qint64 loY = std::min<qint64>(0, layer.minDy);
    const qint64 hiY = std::max<qint64>(c, layer.maxDy + 2 * c);
    // In the cells the buckets were built with, before the shifts since.
    const auto shift = list.shiftTotal();
    const qint64 sx = shift.dx - layer.builtShiftX;
    const qint64 sy = shift.dy - layer.builtShiftY;
    const qint64 x0 = floorDiv(rect.left() - hiX, c) - sx;
    const qint64 x1 = floorDiv(qint64(rect.right()) + 1 - loX, c) - sx;
    const qint64 y0 = floorDiv(rect.top() - hiY, c) - sy;
    const qint64 y1 = floorDiv(qint64(rect.bottom()) + 1 - loY, c) - sy;
    const auto bucket = [](qint64 cell) {
        constexpr qint64 Low = std::numeric_limits<qint32>::min();
        constexpr qint64 High = std::numeric_limits<qint32>::max();
        return std::clamp(cell, Low, High) >> BucketGrid::Shift;
    };

    // A removal moves the last record into the gap and notes only the
    // gap: positions past the end are skipped wherever they are kept.
    const qint32 count = qint32(list.count());
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
    const auto takeEdited = [&](const std::vector<Edited> &in) {
        for (const Edited &e : in) {
            const Entry &d = e.entry;
            if (e.x >= x0 && e.x <= x1 && e.y >= y0 && e.y <= y1 && d.pos < count)
                out.push_back(IndexedDraw{qint32(e.x + sx), qint32(e.y + sy), d.pos, d.name, d.dx, d.dy, d.parts, false});
        }
    };
    const qint64 bx0 = bucket(x0);
    const qint64 bx1 = bucket(x1);
    const qint64 by0 = bucket(y0);
    const qint64 by1 = bucket(y1);
    if ((bx1 - bx0 + 1) * (by1 - by0 + 1) > qint64(layer.edited.size())) {
        for (const std::vector<Edited> &in : std::as_const(layer.edited))
            takeEdited(in);
    } else {
        for (qint64 by = by0; by <= by1; ++by) {
            for (qint64 bx = bx0; bx <= bx1; ++bx) {
                const auto it = layer.edited.constFind(bucketKey(bx << BucketGrid::Shift, by << BucketGrid::Shift));
                if (it != layer.edited.cend())
                    takeEdited(*it);
            }
        }
    }
    for (const qint32 pos : layer.editedPlain) {
        if (pos < count)
            out.push_back(IndexedDraw{0, 0, pos, 0, 0, 0, PartPicture, true});
    }
    for (const qint32 built : layer.plain) {
        if (!testBit(layer.editedBits, built) && now(built) < count)
            out.push_back(IndexedDraw{0, 0, now(built), 0, 0, 0, PartPicture, true});
    }
    if (order == ElementIndex::Order::List)
        sortByPosition(out, scratch);
    return rebuilt;
}

template <class Visit>
void forEachLayer(const StationData &doc, Visit visit)
{
    visit(ElementIndex::Layer::Lamps, doc.lamps);
    visit(ElementIndex::Layer::Tiles, doc.tiles);
    visit(ElementIndex::Layer::Plates, doc.plates);
}

}  // namespace

ElementIndex::ElementIndex() : m_names(std::make_unique<IndexNames>()), m_layers(3) {}

ElementIndex::~ElementIndex() = default;
ElementIndex::ElementIndex(ElementIndex &&) noexcept = default;
ElementIndex &ElementIndex::operator=(ElementIndex &&) noexcept = default;

void ElementIndex::gather(Layer layer, const StationData &doc, const QRect &rect, int cellSize,
                          std::vector<IndexedDraw> &out, Order order)
{
    collect(layer, doc, rect, cellSize, true, order, out);
}

void ElementIndex::collect(Layer layer, const StationData &doc, const QRect &rect, int cellSize, bool thin,
                           Order order, std::vector<IndexedDraw> &out)
{
    forEachLayer(doc, [&](Layer which, const auto &list) {
        if (which == layer)
            m_rebuilds += gatherLayer(m_layers[std::size_t(layer)], *m_names, list, rect, cellSize, thin, order, out,
                                      m_scratch);
    });
}

void ElementIndex::near(Layer layer, const StationData &doc, const QRect &rect, int cellSize,
                        std::vector<qint32> &out)
{
    collect(layer, doc, rect, cellSize, false, Order::List, m_scratchNear);
    out.clear();
    for (const IndexedDraw &d : m_scratchNear)
        out.push_back(d.pos);
}

const QString &ElementIndex::name(quint32 id) const
{
    return m_names->at(id);
}

quint32 ElementIndex::nameCount() const
{
    return m_names->count();
}

void ElementIndex::lampsNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out)
{
    near(Layer::Lamps, doc, rect, cellSize, out);
}

void ElementIndex::tilesNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out)
{
    near(Layer::Tiles, doc, rect, cellSize, out);
}

void ElementIndex::platesNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out)
{
    near(Layer::Plates, doc, rect, cellSize, out);
}

void ElementIndex::build(const StationData &doc)
{
    forEachLayer(doc, [this](Layer layer, const auto &list) {
        rebuild(m_layers[std::size_t(layer)], *m_names, list);
        ++m_rebuilds;
    });
}

void ElementIndex::rebind(const StationData &doc)
{
    forEachLayer(doc, [this](Layer layer, const auto &list) {
        LayerState &state = m_layers[std::size_t(layer)];
        state.list = &list;
        state.revision = list.revision();
    });
}

void ElementIndex::invalidate()
{
    for (LayerState &layer : m_layers)
        layer.valid = false;
}

}  // namespace kalmor
