#pragma once

#include "catalogue/KindMirror.h"
#include "document/StationEdit.h"
#include "render/FrameInputs.h"

#include <QByteArray>
#include <QSize>

namespace kalmor {

// What the selection commands do to the element lists, each through the
// edit of one step. A record belongs to an area when its cell lies in it.

// The records of the area, cells unchanged, in list order.
StationData elementsIn(const StationData &doc, const CellRect &area);

// The element lines of a copy: the records of the area exactly as the
// station file writes them, with cells counted from the area's top-left
// cell; tiles, then lamps, then plates, each in list order.
QByteArray copiedLines(const StationData &doc, const CellRect &area);

// Removes the records of the area from all three lists; the others keep
// their order.
void deleteElements(StationEdit &edit, const CellRect &area);

// Whether every record of `pieces`, moved by (dx, dy), stands on a panel
// of columns x rows.
bool fitsPanel(const StationData &pieces, qint64 dx, qint64 dy, qint32 columns, qint32 rows);

// Places the records of `pieces` moved by (dx, dy) in their order, each as
// a left-button release places: over the first record of its list at the
// cell, else at the end of the list. The caller has checked that the
// cells fit the panel.
void placeElements(StationEdit &edit, const StationData &pieces, qint32 dx, qint32 dy);

// The smallest rectangle holding cell (0, 0) and the cell of every record:
// what a paste at (0, 0) covers.
CellRect extentOf(const StationData &pieces);

// Mirrors the records of the area within it: their cells, the tile kinds
// (mirroredKind) and flags, and the lamp offsets within their cells, an
// offset o becoming lampRoom - o (lampRoom: the design cell less the lamp
// picture). Names without a mirror kind and plate names stay. Records keep
// their list positions.
void mirrorElements(StationEdit &edit, const CellRect &area, MirrorAxis axis, QSize lampRoom);

}  // namespace kalmor
