#include "editing/SelectionEdits.h"

#include "document/StationFile.h"

#include <algorithm>

namespace kalmor {

namespace {

template <class Record>
void appendIn(ElementList<Record> &out, const ElementList<Record> &list, const CellRect &area)
{
    for (const Record &r : list) {
        if (area.contains(r.X, r.Y))
            out.append(r);
    }
}

template <class Record>
void linesIn(QByteArray &out, ElementLines &lines, const ElementList<Record> &list, const CellRect &area)
{
    for (Record r : list) {
        if (!area.contains(r.X, r.Y))
            continue;
        r.X -= area.left;
        r.Y -= area.top;
        lines.append(out, r);
    }
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
bool fits(const ElementList<Record> &list, qint64 dx, qint64 dy, qint32 columns, qint32 rows)
{
    return std::all_of(list.begin(), list.end(), [&](const Record &r) {
        const qint64 x = r.X + dx;
        const qint64 y = r.Y + dy;
        return x >= 0 && x < columns && y >= 0 && y < rows;
    });
}

template <class Record>
void place(StationEdit &edit, const ElementList<Record> &pieces, qint32 dx, qint32 dy)
{
    const ElementList<Record> &list = elementsOf<Record>(edit.document());
    for (Record r : pieces) {
        r.X += dx;
        r.Y += dy;
        const qsizetype found = list.firstAt(r.X, r.Y);
        if (found < 0)
            edit.append(std::move(r));
        else
            edit.replace(found, std::move(r));
    }
}

template <class Record>
void widen(CellRect &extent, const ElementList<Record> &list)
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

}  // namespace

StationData elementsIn(const StationData &doc, const CellRect &area)
{
    StationData out;
    appendIn(out.tiles, doc.tiles, area);
    appendIn(out.lamps, doc.lamps, area);
    appendIn(out.plates, doc.plates, area);
    return out;
}

QByteArray copiedLines(const StationData &doc, const CellRect &area)
{
    QByteArray out;
    ElementLines lines;
    linesIn(out, lines, doc.tiles, area);
    linesIn(out, lines, doc.lamps, area);
    linesIn(out, lines, doc.plates, area);
    return out;
}

void deleteElements(StationEdit &edit, const CellRect &area)
{
    const StationDocument &doc = edit.document();
    removeIn(edit, doc.tiles(), area);
    removeIn(edit, doc.lamps(), area);
    removeIn(edit, doc.plates(), area);
}

bool fitsPanel(const StationData &pieces, qint64 dx, qint64 dy, qint32 columns, qint32 rows)
{
    return fits(pieces.tiles, dx, dy, columns, rows) && fits(pieces.lamps, dx, dy, columns, rows)
        && fits(pieces.plates, dx, dy, columns, rows);
}

void placeElements(StationEdit &edit, const StationData &pieces, qint32 dx, qint32 dy)
{
    place(edit, pieces.tiles, dx, dy);
    place(edit, pieces.lamps, dx, dy);
    place(edit, pieces.plates, dx, dy);
}

CellRect extentOf(const StationData &pieces)
{
    CellRect extent{0, 0, 0, 0};
    widen(extent, pieces.tiles);
    widen(extent, pieces.lamps);
    widen(extent, pieces.plates);
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
}

}  // namespace kalmor
