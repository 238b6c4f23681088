#pragma once

#include <QtGlobal>

namespace kalmor {

// The colour (0xAARRGGBB, opaque) of circuit colour number n: twelve
// chosen colours that stand out on the grey panel, then colours made from
// n. Different numbers give different colours (the chosen ones have an
// even red part, the made ones an odd one), and none is black, the colour
// of track outside any circuit.
quint32 circuitColour(int n);

}  // namespace kalmor
