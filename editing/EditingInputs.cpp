#include "editing/EditingInputs.h"

#include "editing/CornerDivisionPage.h"
#include "editing/ElementSelection.h"
#include "editing/LampPropertiesPage.h"
#include "editing/PointerInput.h"

namespace kalmor {

PlacementInputs currentPlacementInputs(const ElementSelection &selection, const CornerDivisionPage &corners,
                                       const LampPropertiesPage &lamps)
{
    return {selection.currentKind(), corners.flags(), lamps.offsetX(), lamps.offsetY()};
}

EditingView currentEditingView(const PointerInput &pointer, const ElementSelection &selection,
                               const CornerDivisionPage &corners, const LampPropertiesPage &lamps)
{
    EditingView view;
    view.cursorColumn = pointer.cursorCell().x();
    view.cursorRow = pointer.cursorCell().y();
    view.currentKind = selection.currentKind();
    view.cornerChecks = corners.cornerChecks();
    view.lampOffsetX = lamps.offsetX();
    view.lampOffsetY = lamps.offsetY();
    return view;
}

}  // namespace kalmor
