#pragma once

#include "catalogue/ElementKinds.h"

#include <QPoint>

#include <array>

namespace kalmor {

// Where the analysis walks from a tile to its neighbours.

// A point as a bit of a BorderPoints mask.
inline constexpr quint8 pointBit(BorderPoint p)
{
    return quint8(1u << int(p));
}

// The neighbour across a border point and the point it must have there.
// A forward point looks at a cell that comes later in the order of rows
// and columns; the tile on that side of a meeting point reports a
// mismatch, so it is reported once.
struct Step {
    int dx;
    int dy;
    BorderPoint opposite;
    bool forward;
};

inline constexpr Step stepOf(BorderPoint p)
{
    switch (p) {
    case BorderPoint::LH: return {-1, -1, BorderPoint::PD, false};
    case BorderPoint::LS: return {-1, 0, BorderPoint::PS, false};
    case BorderPoint::LD: return {-1, 1, BorderPoint::PH, true};
    case BorderPoint::SH: return {0, -1, BorderPoint::SD, false};
    case BorderPoint::SD: return {0, 1, BorderPoint::SH, true};
    case BorderPoint::PH: return {1, -1, BorderPoint::LD, false};
    case BorderPoint::PS: return {1, 0, BorderPoint::LS, true};
    case BorderPoint::PD: return {1, 1, BorderPoint::LH, true};
    }
    return {0, 0, p, false};
}

// Column and row of a point on the cell, each 0, 1 or 2.
inline QPoint thirdsOf(BorderPoint p)
{
    constexpr std::array<std::array<int, 2>, BorderPointCount> Thirds{
        {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 1}, {2, 2}}};
    const auto [x, y] = Thirds[std::size_t(p)];
    return {x, y};
}

}  // namespace kalmor
