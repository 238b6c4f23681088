#pragma once

#include "document/StationDocument.h"
#include "render/PictureDrawing.h"

#include <QFont>
#include <QRgb>

#include <vector>

namespace kalmor {

// An area is outlined by dashes of these two colours, two pixels wide just
// inside its cells, and named in a box of the first colour at its
// top-left corner; orange stands apart from the yellow and black of the
// selection, the blue grid and the magenta problem outlines.
inline constexpr QRgb AreaDashColours[2] = {0xFFFF8C00, 0xFFFFFFFF};  // orange, white
inline constexpr QRgb AreaNameColour = 0xFF000000;
inline constexpr int AreaDashLength = 6;
inline constexpr int AreaFrameWidth = 2;

// The font of the names: plain pixels, the same in every part of the
// surface.
QFont areaNameFont();

// Outlines every area that reaches the clip and writes its name, cut at
// the area's edge.
void drawAreaFrames(FrameTarget &target, const StationData &doc, int cellSize);

// Rectangles holding every pixel drawAreaFrames() may change within the
// clip (and some beyond it).
std::vector<WideRect> areaFramesReach(const StationData &doc, int cellSize, const QRect &clip);

}  // namespace kalmor
