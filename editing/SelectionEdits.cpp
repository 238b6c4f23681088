#include "editing/SelectionEdits.h"

#include "analysis/IoPoints.h"
#include "document/LargeMemory.h"
#include "document/StationFile.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace kalmor {

namespace {

template <class Record>
void takeIn(std::vector<Record> &out, const ElementList<Record> &list, const CellRect &area, qint32 dx, qint32 dy)
{
    for (const Record &r : list) {
        if (!area.contains(r.X, r.Y))
            continue;
        Record moved = r;
        moved.X += dx;
        moved.Y += dy;
        out.push_back(std::move(moved));
    }
}

template <class Record>
void linesOf(QByteArray &out, ElementLines &lines, const std::vector<Record> &records)
{
    for (const Record &r : records)
        lines.append(out, r);
}

template <class Record>
void removeIn(StationEdit &edit, const ElementList<Record> &list, const CellRect &area)
{
    std::vector<qint32> positions;
    for (qint32 i = 0; i < qint32(list.count()); ++i) {
        if (area.contains(list.at(i).X, list.at(i).Y))
            positions.push_back(i);
    }
    edit.removeAll<Record>(std::move(positions));
}

template <class Record>
bool fits(const std::vector<Record> &list, qint64 dx, qint64 dy, qint32 columns, qint32 rows)
{
    return std::all_of(list.begin(), list.end(), [&](const Record &r) {
        const qint64 x = r.X + dx;
        const qint64 y = r.Y + dy;
        return x >= 0 && x < columns && y >= 0 && y < rows;
    });
}

// For each of n cells (cellOf(k) the k-th), whether another of them is
// the same, found with a bit a cell over the rectangle they span; empty
// when that rectangle is too large for it, and any may be shared.
template <class CellOf>
std::vector<bool> sharedCells(std::size_t n, CellOf cellOf)
{
    if (n == 0)
        return {};
    qint64 left = cellOf(0).x(), right = left, top = cellOf(0).y(), bottom = top;
    for (std::size_t k = 0; k < n; ++k) {
        const QPoint c = cellOf(k);
        left = std::min<qint64>(left, c.x());
        right = std::max<qint64>(right, c.x());
        top = std::min<qint64>(top, c.y());
        bottom = std::max<qint64>(bottom, c.y());
    }
    const qint64 width = right - left + 1;
    // A panel of 4000 x 4000 cells takes 2 MB a bit set.
    constexpr qint64 MaxCells = qint64(1) << 26;
    if (width > MaxCells || (bottom - top + 1) > MaxCells / width)
        return {};
    const auto bit = [&](std::size_t k) {
        const QPoint c = cellOf(k);
        return std::size_t((c.y() - top) * width + (c.x() - left));
    };
    std::vector<bool> seen(std::size_t(width * (bottom - top + 1)), false);
    std::vector<bool> twice(seen.size(), false);
    bool any = false;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t b = bit(k);
        any = any || seen[b];
        twice[b] = twice[b] || seen[b];
        seen[b] = true;
    }
    std::vector<bool> shared(n, false);
    for (std::size_t k = 0; any && k < n; ++k)
        shared[k] = twice[bit(k)];
    return shared;
}

// Of n records landing on cells the list does not hold (cellOf(k) the
// cell of the k-th), those sharing a cell go in as one: the last of them
// in the place of the first. Returns, for each, the one placed in its
// stead, or -1 for none. Only records on a cell met twice are sorted: a
// paste of a million records seldom stacks any.
template <class CellOf>
std::vector<qint32> lastOnEachCell(std::size_t n, CellOf cellOf)
{
    std::vector<qint32> shown = largeVector<qint32>(n);
    for (std::size_t k = 0; k < n; ++k)
        shown[k] = qint32(k);
    const std::vector<bool> shared = sharedCells(n, cellOf);
    std::vector<std::pair<quint64, qint32>> stacked;  // cell, k
    for (std::size_t k = 0; k < n; ++k) {
        if (shared.empty() || shared[k])
            stacked.emplace_back(CellIndex::key(quint32(cellOf(k).x()), quint32(cellOf(k).y())), qint32(k));
    }
    // Grouped by cell, in their order within a cell.
    std::sort(stacked.begin(), stacked.end());
    for (std::size_t g = 0; g < stacked.size();) {
        std::size_t end = g;
        while (end < stacked.size() && stacked[end].first == stacked[g].first)
            ++end;
        for (std::size_t k = g; k < end; ++k)
            shown[std::size_t(stacked[k].second)] = -1;
        shown[std::size_t(stacked[g].second)] = stacked[end - 1].second;
        g = end;
    }
    return shown;
}

// Places the records one by one as the user would: each replaces the
// first record at its cell, a record placed before it in this gesture
// included. Records on cells the list does not hold yet are appended in
// one change, of those landing on one cell the last in the place of the
// first, which leaves the same list as placing them one by one. The
// records are moved into the list, not copied.
template <class Record>
void place(StationEdit &edit, std::vector<Record> records, qint32 dx, qint32 dy)
{
    const ElementList<Record> &list = elementsOf<Record>(edit.document());
    std::vector<qint32> fresh;  // positions in records
    reserveLarge(fresh, records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        Record &r = records[i];
        r.X += dx;
        r.Y += dy;
        const qsizetype found = list.isEmpty() ? -1 : list.firstAt(r.X, r.Y);
        if (found >= 0)
            edit.replace(found, std::move(r));
        else
            fresh.push_back(qint32(i));
    }
    const std::vector<qint32> shown = lastOnEachCell(fresh.size(), [&](std::size_t k) {
        const Record &r = records[std::size_t(fresh[k])];
        return QPoint(r.X, r.Y);
    });
    // Those appended close up at the front of records, in order: each
    // moves to a place no later one is taken from.
    std::size_t kept = 0;
    for (const qint32 k : shown) {
        if (k < 0)
            continue;
        const auto from = std::size_t(fresh[std::size_t(k)]);
        if (from != kept)
            records[kept] = std::move(records[from]);
        ++kept;
    }
    records.erase(records.begin() + qsizetype(kept), records.end());
    edit.appendAll(std::move(records));
}

template <class Record>
void widen(CellRect &extent, const std::vector<Record> &list)
{
    for (const Record &r : list) {
        extent.left = std::min(extent.left, r.X);
        extent.top = std::min(extent.top, r.Y);
        extent.right = std::max(extent.right, r.X);
        extent.bottom = std::max(extent.bottom, r.Y);
    }
}

// The mirror of a coordinate within [low, high], and of a lamp offset
// within its room; both undo themselves, the offset modulo 2^32 since a
// file may hold any offset.
qint32 mirrored(qint32 v, qint32 low, qint32 high)
{
    return qint32(qint64(low) + high - v);
}

qint32 mirroredOffset(qint32 offset, int room)
{
    return qint32(quint32(room) - quint32(offset));
}

// Replaces every record of the area that mirroring changes.
template <class Record, class Mirror>
void mirrorIn(StationEdit &edit, const ElementList<Record> &list, const CellRect &area, MirrorAxis axis,
              Mirror mirrorRest)
{
    for (qint32 i = 0; i < qint32(list.count()); ++i) {
        const Record &before = list.at(i);
        if (!area.contains(before.X, before.Y))
            continue;
        Record r = before;
        if (axis == MirrorAxis::LeftRight)
            r.X = mirrored(r.X, area.left, area.right);
        else
            r.Y = mirrored(r.Y, area.top, area.bottom);
        mirrorRest(r);
        if (!(r == before))
            edit.replace(i, std::move(r));
    }
}

// Where a key points, in a direction; a key of no role of its kind is
// taken as used in both.
using Pin = std::tuple<int, quint16, quint16>;

std::vector<Pin> pinsOf(const QString &kind, const IoAssignment &a)
{
    const auto roles = ioRolesOf(kind);
    const auto role = ioRoleOfKey(roles, a.role.text());
    if (role)
        return {Pin{int(roles[*role].direction), a.address.board, a.address.pin}};
    return {Pin{int(IoDirection::In), a.address.board, a.address.pin},
            Pin{int(IoDirection::Out), a.address.board, a.address.pin}};
}

// Whether a record carries an I/O address; without, a copy of a cut.
bool hasAddresses(const ElementRecords &records)
{
    bool any = false;
    forEachIoList(records, [&any](IoList, const auto &list) {
        any = any || std::any_of(list.begin(), list.end(), [](const auto &r) { return !r.IO.isEmpty(); });
    });
    return any;
}

}  // namespace

void dropAddresses(ElementRecords &records)
{
    forEachIoList(records, [](IoList, auto &list) {
        for (auto &r : list)
            r.IO = {};
    });
}

ElementRecords withoutUsedAddresses(const StationData &doc, ElementRecords records, qint32 dx, qint32 dy)
{
    if (!hasAddresses(records))
        return records;
    std::set<Pin> used;
    forEachIoList(doc, [&](IoList list, const auto &placed) {
        // The records the placing overwrites give their pins up.
        std::vector<bool> overwritten(std::size_t(placed.count()), false);
        ioListOf(records, list, [&](const auto &pieces) {
            for (const auto &r : pieces) {
                const qsizetype found = placed.firstAt(r.X + dx, r.Y + dy);
                if (found >= 0)
                    overwritten[std::size_t(found)] = true;
            }
        });
        for (qsizetype i = 0; i < placed.count(); ++i) {
            if (overwritten[std::size_t(i)])
                continue;
            for (const IoAssignment &a : placed.at(i).IO.entries()) {
                for (const Pin &pin : pinsOf(placed.at(i).NAME, a))
                    used.insert(pin);
            }
        }
    });
    forEachIoList(records, [&used](IoList, auto &pieces) {
        for (auto &r : pieces) {
            for (const IoAssignment &a : std::vector(r.IO.entries().begin(), r.IO.entries().end())) {
                const std::vector<Pin> pins = pinsOf(r.NAME, a);
                if (std::any_of(pins.begin(), pins.end(), [&used](const Pin &p) { return used.contains(p); }))
                    r.IO.set(a.role, std::nullopt);
                else
                    used.insert(pins.begin(), pins.end());
            }
        }
    });
    return records;
}

namespace {

template <class Record>
std::vector<Record> copyOf(const std::vector<Record> &records)
{
    std::vector<Record> copy;
    reserveLarge(copy, records.size());
    copy.insert(copy.end(), records.begin(), records.end());
    return copy;
}

}  // namespace

ElementRecords ElementRecords::copied() const
{
    return {copyOf(tiles), copyOf(lamps), copyOf(plates), copyOf(deskElements)};
}

ElementRecords ElementRecords::takenFrom(StationData &data)
{
    return {data.tiles.takeAll(), data.lamps.takeAll(), data.plates.takeAll(), data.deskElements.takeAll()};
}

ElementRecords elementsIn(const StationData &doc, const CellRect &area, qint32 dx, qint32 dy)
{
    ElementRecords out;
    takeIn(out.tiles, doc.tiles, area, dx, dy);
    takeIn(out.lamps, doc.lamps, area, dx, dy);
    takeIn(out.plates, doc.plates, area, dx, dy);
    takeIn(out.deskElements, doc.deskElements, area, dx, dy);
    return out;
}

QByteArray elementLines(const ElementRecords &records)
{
    QByteArray out;
    // Room for lines of the usual length at once, in large pages, rather
    // than growing a hundred megabytes step by step.
    constexpr qsizetype UsualLine = 128;
    out.reserve(qsizetype(records.tiles.size() + records.lamps.size() + records.plates.size()
                          + records.deskElements.size())
                * UsualLine);
    adviseLargePages(out.constData(), std::size_t(out.capacity()));
    ElementLines lines;
    linesOf(out, lines, records.tiles);
    linesOf(out, lines, records.lamps);
    linesOf(out, lines, records.plates);
    linesOf(out, lines, records.deskElements);
    return out;
}

void deleteElements(StationEdit &edit, const CellRect &area)
{
    const StationDocument &doc = edit.document();
    removeIn(edit, doc.tiles(), area);
    removeIn(edit, doc.lamps(), area);
    removeIn(edit, doc.plates(), area);
    removeIn(edit, doc.deskElements(), area);
}

bool fitsPanel(const ElementRecords &records, qint64 dx, qint64 dy, qint32 columns, qint32 rows)
{
    return fits(records.tiles, dx, dy, columns, rows) && fits(records.lamps, dx, dy, columns, rows)
        && fits(records.plates, dx, dy, columns, rows) && fits(records.deskElements, dx, dy, columns, rows);
}

void placeElements(StationEdit &edit, ElementRecords records, qint32 dx, qint32 dy)
{
    edit.reserve(records.count());
    place(edit, std::move(records.tiles), dx, dy);
    place(edit, std::move(records.lamps), dx, dy);
    place(edit, std::move(records.plates), dx, dy);
    place(edit, std::move(records.deskElements), dx, dy);
}

CellRect extentOf(const ElementRecords &records)
{
    CellRect extent{0, 0, 0, 0};
    widen(extent, records.tiles);
    widen(extent, records.lamps);
    widen(extent, records.plates);
    widen(extent, records.deskElements);
    return extent;
}

void mirrorElements(StationEdit &edit, const CellRect &area, MirrorAxis axis, QSize lampRoom)
{
    const StationDocument &doc = edit.document();
    mirrorIn(edit, doc.tiles(), area, axis, [axis](TPolePanelu &t) {
        if (const auto kind = mirroredKind(t.NAME, axis))
            t.NAME = *kind;
        const TPolePanelu before = t;
        for (const BorderPoint p : AllBorderPoints)
            t.*TileFlags[std::size_t(mirroredPoint(p, axis))] = before.*TileFlags[std::size_t(p)];
    });
    mirrorIn(edit, doc.lamps(), area, axis, [axis, lampRoom](TPoleZarovka &z) {
        if (axis == MirrorAxis::LeftRight)
            z.ODSAZENI_X = mirroredOffset(z.ODSAZENI_X, lampRoom.width());
        else
            z.ODSAZENI_Y = mirroredOffset(z.ODSAZENI_Y, lampRoom.height());
    });
    mirrorIn(edit, doc.plates(), area, axis, [](TPoleStitek &) {});
    mirrorIn(edit, doc.deskElements(), area, axis, [axis](TPolePrvek &e) {
        if (const auto kind = mirroredKind(e.NAME, axis))
            e.NAME = *kind;
    });
}

}  // namespace kalmor
