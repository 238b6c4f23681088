#pragma once

#include "catalogue/ElementKinds.h"
#include "document/StationDocument.h"
#include "render/index/ElementIndex.h"
#include "render/index/IndexNames.h"

#include <algorithm>
#include <cstdlib>
#include <type_traits>

namespace kalmor::detail {

// A record as the cell index keeps it: its cell within its bucket and
// what a frame needs to draw it.
struct Entry {
    qint32 pos;  // when built, its list position; edited, its position now
    quint32 name;
    quint8 cell;   // column in bits 0-3, row in bits 4-7
    quint8 parts;
    qint16 dx;
    qint16 dy;
};

// Lamps standing farther than this from their cell are offered for every
// rectangle instead of widening every search.
constexpr qint64 NearOffset = 256;

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

}  // namespace kalmor::detail
