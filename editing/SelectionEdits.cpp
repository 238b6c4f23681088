#include "editing/SelectionEdits.h"

#include "analysis/IoPoints.h"
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

// Places the records one by one as the user would: each replaces the
// first record at its cell, a record placed before it in this gesture
// included. Records on cells the list does not hold yet are appended in
// one change, of those landing on one cell the last in the place of the
// first, which leaves the same list as placing them one by one.
template <class Record>
void place(StationEdit &edit, const std::vector<Record> &records, qint32 dx, qint32 dy)
{
    const ElementList<Record> &list = elementsOf<Record>(edit.document());
    std::vector<std::pair<quint64, qint32>> fresh;  // cell, position in records
    for (std::size_t i = 0; i < records.size(); ++i) {
        const qint32 x = records[i].X + dx;
        const qint32 y = records[i].Y + dy;
        const qsizetype found = list.firstAt(x, y);
        if (found >= 0) {
            Record r = records[i];
            r.X = x;
            r.Y = y;
            edit.replace(found, std::move(r));
        } else {
            fresh.emplace_back((quint64(quint32(x)) << 32) | quint32(y), qint32(i));
        }
    }
    // Grouped by cell, in their order within a cell.
    std::sort(fresh.begin(), fresh.end());
    std::vector<qint32> shown(records.size(), -1);  // first of a cell -> the last of it
    for (std::size_t g = 0; g < fresh.size();) {
        std::size_t end = g;
        while (end < fresh.size() && fresh[end].first == fresh[g].first)
            ++end;
        shown[std::size_t(fresh[g].second)] = fresh[end - 1].second;
        g = end;
    }
    std::vector<Record> appended;
    appended.reserve(fresh.size());
    for (const qint32 from : shown) {
        if (from < 0)
            continue;
        Record r = records[std::size_t(from)];
        r.X += dx;
        r.Y += dy;
        appended.push_back(std::move(r));
    }
    edit.appendAll(std::move(appended));
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

}  // namespace

bool hasAddresses(const ElementRecords &records)
{
    bool any = false;
    forEachIoList(records, [&any](IoList, const auto &list) {
        any = any || std::any_of(list.begin(), list.end(), [](const auto &r) { return !r.IO.isEmpty(); });
    });
    return any;
}

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

ElementRecords ElementRecords::of(const StationData &data)
{
    return {{data.tiles.begin(), data.tiles.end()},
            {data.lamps.begin(), data.lamps.end()},
            {data.plates.begin(), data.plates.end()},
            {data.deskElements.begin(), data.deskElements.end()}};
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

void placeElements(StationEdit &edit, const ElementRecords &records, qint32 dx, qint32 dy)
{
    edit.reserve(records.count());
    place(edit, records.tiles, dx, dy);
    place(edit, records.lamps, dx, dy);
    place(edit, records.plates, dx, dy);
    place(edit, records.deskElements, dx, dy);
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
