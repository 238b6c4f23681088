#include "editing/Picking.h"

#include "editing/CornerDivisionPage.h"
#include "editing/ElementSelection.h"
#include "editing/LabelPropertiesPage.h"
#include "editing/LampPropertiesPage.h"

namespace kalmor {

std::optional<PickedElement> elementOnTop(const StationData &doc, QPoint cell, ElementClass current)
{
    if (const std::optional<TextHolder> holder = textHolderAt(doc, cell, current)) {
        return PickedElement{kindOf(doc, *holder), std::nullopt, std::nullopt, textOf(doc, *holder)};
    }
    if (const qsizetype i = doc.tiles.lastAt(cell.x(), cell.y()); i >= 0) {
        const TPolePanelu &t = doc.tiles.at(i);
        std::array<bool, 8> flags{};
        for (std::size_t k = 0; k < flags.size(); ++k)
            flags[k] = t.*TileFlags[k];
        return PickedElement{t.NAME, flags, std::nullopt, std::nullopt};
    }
    if (const qsizetype i = doc.lamps.lastAt(cell.x(), cell.y()); i >= 0) {
        const TPoleZarovka &z = doc.lamps.at(i);
        return PickedElement{z.NAME, std::nullopt, QPoint(z.ODSAZENI_X, z.ODSAZENI_Y), std::nullopt};
    }
    return std::nullopt;
}

void pickElement(const StationData &doc, QPoint cell, ElementSelection &selection, CornerDivisionPage &corners,
                 LampPropertiesPage &lamps, LabelPropertiesPage *labels)
{
    const std::optional<PickedElement> picked = elementOnTop(doc, cell, elementClassOf(selection.currentKind()));
    if (!picked || !selection.chooseKindByName(picked->kind))
        return;
    // A record in a list its kind does not belong to lends nothing.
    const ElementClass kind = elementClassOf(picked->kind);
    if (picked->tileFlags && kind == ElementClass::TrackTile)
        corners.setFlags(*picked->tileFlags);
    if (picked->lampOffsets && kind == ElementClass::Lamp)
        lamps.setOffsets(picked->lampOffsets->x(), picked->lampOffsets->y());
    if (picked->text && labels && (kind == ElementClass::LabelPlate || kind == ElementClass::DeskElement))
        labels->setText(*picked->text);
}

}  // namespace kalmor
