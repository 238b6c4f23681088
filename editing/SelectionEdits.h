#pragma once

#include "catalogue/KindMirror.h"
#include "document/StationEdit.h"
#include "render/FrameInputs.h"

#include <QByteArray>
#include <QSize>

#include <vector>

namespace kalmor {

// What the selection commands do to the element lists, each through the
// edit of one step. A record belongs to an area when its cell lies in it.

// Records of the four lists as a copy or a move carries them, in list
// order.
struct ElementRecords {
    std::vector<TPolePanelu> tiles;
    std::vector<TPoleZarovka> lamps;
    std::vector<TPoleStitek> plates;
    std::vector<TPolePrvek> deskElements;

    // Moves the records out of the four lists of a station read for them,
    // which are left empty.
    static ElementRecords takenFrom(StationData &data);
    // A copy in fresh memory made ready for it, as a large copy is.
    ElementRecords copied() const;
    bool isEmpty() const { return tiles.empty() && lamps.empty() && plates.empty() && deskElements.empty(); }
    qsizetype count() const { return qsizetype(tiles.size() + lamps.size() + plates.size() + deskElements.size()); }
};

// The records of the area, their cells moved by (dx, dy).
ElementRecords elementsIn(const StationData &doc, const CellRect &area, qint32 dx = 0, qint32 dy = 0);

// The records' lines exactly as the station file writes them: tiles, then
// lamps, plates and desk elements.
QByteArray elementLines(const ElementRecords &records);

// Removes the records of the area from all four lists; the others keep
// their order.
void deleteElements(StationEdit &edit, const CellRect &area);

// Whether every record, moved by (dx, dy), stands on a panel of
// columns x rows.
bool fitsPanel(const ElementRecords &records, qint64 dx, qint64 dy, qint32 columns, qint32 rows);

// Places the records moved by (dx, dy) in their order, each as a
// left-button release places: over the first record of its list at the
// cell, else at the end of the list. The caller has checked that the
// cells fit the panel.
void placeElements(StationEdit &edit, ElementRecords records, qint32 dx, qint32 dy);

// Drops the I/O addresses of every record of every list that holds them:
// what a copy carries, as an address belongs to one point only. A cut and
// a move keep them.
void dropAddresses(ElementRecords &records);

// The records, about to be placed moved by (dx, dy), without every
// address that a record of the station the placing leaves standing
// already uses in the same direction, or that a record placed before
// takes: a paste never wires two points to one pin. So a cut pasted keeps
// its addresses once, and a cut whose originals came back with an undo
// keeps none.
ElementRecords withoutUsedAddresses(const StationData &doc, ElementRecords records, qint32 dx, qint32 dy);

// The smallest rectangle holding cell (0, 0) and the cell of every record:
// what a paste at (0, 0) covers.
CellRect extentOf(const ElementRecords &records);

// Mirrors the records of the area within it: their cells, the tile kinds
// and desk kinds (mirroredKind), the tile flags, and the lamp offsets
// within their cells, an offset o becoming lampRoom - o (lampRoom: the
// design cell less the lamp picture). Names without a mirror kind and
// plate names stay. Records keep their list positions.
void mirrorElements(StationEdit &edit, const CellRect &area, MirrorAxis axis, QSize lampRoom);

}  // namespace kalmor
