#include "editing/EditingInputs.h"

#include "editing/CornerDivisionPage.h"
#include "editing/LabelPropertiesPage.h"
#include "editing/LampPropertiesPage.h"
#include "editing/PanelSelection.h"
#include "editing/PointerInput.h"

namespace kalmor {

PlacementInputs currentPlacementInputs(const QString &kind, const CornerDivisionPage &corners,
                                       const LampPropertiesPage &lamps, const LabelPropertiesPage *labels)
{
    return {kind, corners.flags(), lamps.offsetX(), lamps.offsetY(), labels ? labels->text() : QString()};
}

EditingView currentEditingView(const PointerInput &pointer, const QString &kind, const CornerDivisionPage &corners,
                               const LampPropertiesPage &lamps, const PanelSelection &selection)
{
    EditingView view;
    view.cursorColumn = pointer.cursorCell().x();
    view.cursorRow = pointer.cursorCell().y();
    view.currentKind = kind;
    view.cornerChecks = corners.cornerChecks();
    view.lampOffsetX = lamps.offsetX();
    view.lampOffsetY = lamps.offsetY();
    view.selection = selection.area();
    return view;
}

}  // namespace kalmor
