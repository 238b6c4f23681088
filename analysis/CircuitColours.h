#pragma once

#include <QtGlobal>

#include <vector>

namespace kalmor {

// The colour (0xAARRGGBB, opaque) of circuit colour number n: twelve
// chosen colours that stand out on the grey panel, then colours made from
// n. Different numbers give different colours (the chosen ones have an
// even red part, the made ones an odd one), and none is black, the colour
// of track outside any circuit.
quint32 circuitColour(int n);

// The colour number for a circuit whose neighbours have the colours taken
// (sorted in place): preferred when it is not taken, otherwise the lowest
// number that is not.
int lowestFreeColour(std::vector<int> &taken, int preferred);

}  // namespace kalmor
