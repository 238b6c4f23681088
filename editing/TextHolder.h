#pragma once

#include "catalogue/ElementKinds.h"
#include "document/StationDocument.h"

#include <QPoint>
#include <QString>

#include <optional>

namespace kalmor {

// The lists whose records carry a text: label plates and desk elements.
enum class TextList : quint8 { Plates, DeskElements };

// A record with a text, by its list and position.
struct TextHolder {
    TextList list = TextList::Plates;
    qsizetype position = -1;
};

// The record with a text that a pick or a double click at a cell means:
// the desk element there, as it is drawn over the plate, else the plate;
// while a plate kind is current a plate there comes first, so that a
// plate under a desk element can still be picked and edited. Of records
// stacked on the cell, the last in list order.
std::optional<TextHolder> textHolderAt(const StationData &doc, QPoint cell,
                                       ElementClass current = ElementClass::None);

QString kindOf(const StationData &doc, const TextHolder &holder);
QString textOf(const StationData &doc, const TextHolder &holder);

}  // namespace kalmor
