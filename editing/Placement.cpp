#include "editing/Placement.h"

namespace kalmor {

namespace {

TPolePanelu tileRecord(qint32 column, qint32 row, const PlacementInputs &in)
{
    TPolePanelu t;
    t.X = column;
    t.Y = row;
    t.Cont_LH = in.flags[0];
    t.Cont_LS = in.flags[1];
    t.Cont_LD = in.flags[2];
    t.Cont_SH = in.flags[3];
    t.Cont_SD = in.flags[4];
    t.Cont_PH = in.flags[5];
    t.Cont_PS = in.flags[6];
    t.Cont_PD = in.flags[7];
    t.NAME = in.kind;
    return t;
}

TPoleZarovka lampRecord(qint32 column, qint32 row, const PlacementInputs &in)
{
    return {column, row, in.lampOffsetX, in.lampOffsetY, in.kind};
}

TPoleStitek plateRecord(qint32 column, qint32 row, const PlacementInputs &in)
{
    return {in.kind, column, row, in.text};
}

TPolePrvek deskRecord(qint32 column, qint32 row, const PlacementInputs &in)
{
    return {column, row, in.kind, in.text, {}};
}

// A desk element placed again with its own kind keeps its wiring: a click
// that only changes the designation must not cut the element's wires.
// Another kind has other roles, so it starts unwired.
void keepWiring(const TPolePrvek &before, TPolePrvek &after)
{
    if (before.NAME == after.NAME)
        after.IO = before.IO;
}

template <class Record>
void keepWiring(const Record &, Record &)
{
}

template <class Record>
PlacementResult placeInto(StationEdit &edit, const ElementList<Record> &list, qint32 column, qint32 row,
                          PlacementMode mode, Record record)
{
    const qsizetype found = list.firstAt(column, row);
    if (found < 0) {
        edit.append(std::move(record));
        return PlacementResult::Appended;
    }
    if (mode == PlacementMode::Remove) {
        edit.removeAt<Record>(found);
        return PlacementResult::Removed;
    }
    keepWiring(list.at(found), record);
    edit.replace(found, std::move(record));
    return PlacementResult::Replaced;
}

}  // namespace

PlacementResult placeElement(StationEdit &edit, qint32 column, qint32 row, PlacementMode mode,
                             const PlacementInputs &inputs)
{
    edit.markModified();
    const StationDocument &doc = edit.document();
    switch (elementClassOf(inputs.kind)) {
    case ElementClass::None:
        return PlacementResult::Nothing;
    case ElementClass::TrackTile:
        return placeInto(edit, doc.tiles(), column, row, mode, tileRecord(column, row, inputs));
    case ElementClass::Lamp:
        return placeInto(edit, doc.lamps(), column, row, mode, lampRecord(column, row, inputs));
    case ElementClass::LabelPlate:
        return placeInto(edit, doc.plates(), column, row, mode, plateRecord(column, row, inputs));
    case ElementClass::DeskElement:
        return placeInto(edit, doc.deskElements(), column, row, mode, deskRecord(column, row, inputs));
    }
    return PlacementResult::Nothing;
}

}  // namespace kalmor
