#pragma once

#include "document/StationDocument.h"
#include "render/FrameInputs.h"
#include "render/PictureDrawing.h"

namespace kalmor {

class ImageSet;

// The outline of a cell with a problem: two pixels wide just inside its
// grid lines, or the whole cell when it is too small for that.
inline constexpr QRgb ProblemOutlineColour = 0xFFFF00FF;  // magenta
inline constexpr int ProblemOutlineWidth = 2;

// Track circuits: every black pixel of an analysed tile's picture that is
// still black in the frame (nothing drawn over it since) takes its
// circuit's colour. Corner pieces, lamps, plates and the other records of
// a cell stay as they are.
void recolourTracks(FrameTarget &target, const StationData &doc, const Overlays &overlays, const ImageSet &images,
                    int cellSize);

// Outlines the cells the overlay source names as having problems.
void outlineProblemCells(FrameTarget &target, const Overlays &overlays, int cellSize);

}  // namespace kalmor
