#pragma once

#include "editing/Placement.h"
#include "render/FrameInputs.h"

namespace kalmor {

class CornerDivisionPage;
class LabelPropertiesPage;
class LampPropertiesPage;
class PanelSelection;
class PointerInput;

// What the next placement copies, read from the controls now: the current
// kind, the eight corner boxes, the two lamp offsets and the plate text
// (none without the page). The main window hands PointerInput a lambda
// calling this.
PlacementInputs currentPlacementInputs(const QString &kind, const CornerDivisionPage &corners,
                                       const LampPropertiesPage &lamps,
                                       const LabelPropertiesPage *labels = nullptr);

// The editing state a frame shows (cursor cell, current kind, the four
// corner boxes, lamp offsets, selected cells), for whoever drives the
// renderer.
EditingView currentEditingView(const PointerInput &pointer, const QString &kind, const CornerDivisionPage &corners,
                               const LampPropertiesPage &lamps, const PanelSelection &selection);

}  // namespace kalmor
