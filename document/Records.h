#pragma once

#include "document/IoAddress.h"

#include <QString>
#include <QtGlobal>

#include <array>

namespace kalmor {

// One track tile. The eight flags say at which border points the track
// circuit continues; the field names are those of the station file.
struct TPolePanelu {
    qint32 X = 0;
    qint32 Y = 0;
    bool Cont_LH = false;
    bool Cont_LS = false;
    bool Cont_LD = false;
    bool Cont_SH = false;
    bool Cont_SD = false;
    bool Cont_PH = false;
    bool Cont_PS = false;
    bool Cont_PD = false;
    QString NAME;
    friend bool operator==(const TPolePanelu &, const TPolePanelu &) = default;
};

// The eight flags in the order of the station file and the check boxes:
// LH, LS, LD, SH, SD, PH, PS, PD.
inline constexpr std::array<bool TPolePanelu::*, 8> TileFlags{
    &TPolePanelu::Cont_LH, &TPolePanelu::Cont_LS, &TPolePanelu::Cont_LD, &TPolePanelu::Cont_SH,
    &TPolePanelu::Cont_SD, &TPolePanelu::Cont_PH, &TPolePanelu::Cont_PS, &TPolePanelu::Cont_PD};

// One lamp, standing at a pixel offset from its cell's top-left corner,
// with the address its one output is wired to, when it has one.
struct TPoleZarovka {
    qint32 X = 0;
    qint32 Y = 0;
    qint32 ODSAZENI_X = 0;
    qint32 ODSAZENI_Y = 0;
    QString NAME;
    IoAddresses IO{};
    friend bool operator==(const TPoleZarovka &, const TPoleZarovka &) = default;
};

// One label plate, with the text written on it (empty: none). The text
// follows the rules of the station texts (see isStationText).
struct TPoleStitek {
    QString NAME;
    qint32 X = 0;
    qint32 Y = 0;
    QString TEXT{};
    friend bool operator==(const TPoleStitek &, const TPoleStitek &) = default;
};

// A named rectangle of cells: a desk module or a part of the station.
// Areas may overlap; X and Y are its top-left cell.
struct TOblast {
    qint32 X = 0;
    qint32 Y = 0;
    qint32 SIRKA = 0;
    qint32 VYSKA = 0;
    QString NAME;
    friend bool operator==(const TOblast &, const TOblast &) = default;

    // Whether the cell lies inside; an area of no width or height holds none.
    bool contains(qint64 x, qint64 y) const
    {
        return x >= X && y >= Y && x < qint64(X) + SIRKA && y < qint64(Y) + VYSKA;
    }
};

// One element of the desk (a signal, a button, a controller, a lit
// indication): its kind, its designation ("S1", "5"; empty: none, with the
// rules of the station texts) and the addresses its roles are wired to.
struct TPolePrvek {
    qint32 X = 0;
    qint32 Y = 0;
    QString NAME;
    QString TEXT{};
    IoAddresses IO{};
    friend bool operator==(const TPolePrvek &, const TPolePrvek &) = default;
};

}  // namespace kalmor
