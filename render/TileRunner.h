#pragma once

#include <functional>

namespace kalmor {

// The helper threads worth using for a frame of that many tiles: one per
// further core, as the tiles of a frame are independent of each other.
int tileHelpers(int tiles);

// Calls work(tile, worker) once for every tile 0 .. count - 1: on the
// calling thread as worker 0 and on `helpers` threads of the pool as
// workers 1 .. helpers, each taking the next tile nobody has taken yet.
// Returns when every tile is done. A pool thread that starts late, when a
// busy pool kept it waiting, finds no tile left and touches nothing.
void runTiles(int count, int helpers, const std::function<void(int tile, int worker)> &work);

}  // namespace kalmor
