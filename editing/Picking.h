#pragma once

#include "catalogue/ElementKinds.h"
#include "document/StationDocument.h"
#include "editing/TextHolder.h"

#include <QPoint>

#include <array>
#include <optional>

namespace kalmor {

class CornerDivisionPage;
class ElementSelection;
class LabelPropertiesPage;
class LampPropertiesPage;

// The element drawn on top at a cell: its text holder, else a
// track tile, else a lamp; of records stacked on the cell, the last in
// list order.
struct PickedElement {
    QString kind;
    std::optional<std::array<bool, 8>> tileFlags;  // LH, LS, LD, SH, SD, PH, PS, PD
    std::optional<QPoint> lampOffsets;
    std::optional<QString> text;                    // a plate's text, a desk element's designation
};
std::optional<PickedElement> elementOnTop(const StationData &doc, QPoint cell,
                                          ElementClass current = ElementClass::None);

// Makes the element on top at the cell the next one to place: its kind is
// chosen as a click on its picture chooses it, then a tile's flags go into
// the corner-division boxes, a lamp's offsets into the offset fields and
// a plate's text or a desk element's designation (empty too) into the
// text field of the plates' page. Nothing is placed or removed; a cell
// without an element of a catalogue kind changes nothing.
void pickElement(const StationData &doc, QPoint cell, ElementSelection &selection, CornerDivisionPage &corners,
                 LampPropertiesPage &lamps, LabelPropertiesPage *labels = nullptr);

}  // namespace kalmor
