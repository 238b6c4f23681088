#include "editing/TextHolder.h"

namespace kalmor {

std::optional<TextHolder> textHolderAt(const StationData &doc, QPoint cell, ElementClass current)
{
    const qsizetype plate = doc.plates.lastAt(cell.x(), cell.y());
    const qsizetype desk = doc.deskElements.lastAt(cell.x(), cell.y());
    if (plate >= 0 && (desk < 0 || current == ElementClass::LabelPlate))
        return TextHolder{TextList::Plates, plate};
    if (desk >= 0)
        return TextHolder{TextList::DeskElements, desk};
    return std::nullopt;
}

QString kindOf(const StationData &doc, const TextHolder &holder)
{
    return holder.list == TextList::Plates ? doc.plates.at(holder.position).NAME
                                           : doc.deskElements.at(holder.position).NAME;
}

QString textOf(const StationData &doc, const TextHolder &holder)
{
    return holder.list == TextList::Plates ? doc.plates.at(holder.position).TEXT
                                           : doc.deskElements.at(holder.position).TEXT;
}

}  // namespace kalmor
