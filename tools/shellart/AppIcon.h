#pragma once

#include <QImage>

#include <array>

namespace kalmor {

// The sizes a desktop looks for in the hicolor icon theme.
inline constexpr std::array<int, 8> AppIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The program's icon at one size: a small desk panel with a straight
// track, a switch branching off and a green lamp. Drawn for each size on
// its pixel grid, so that even at 16 pixels the track stays two solid
// pixels thick.
QImage drawAppIcon(int size);

}  // namespace kalmor
