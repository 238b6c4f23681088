#pragma once

#include "document/ElementList.h"
#include "render/index/IndexLayer.h"
#include "render/index/IndexNames.h"

namespace kalmor::detail {

// Brings the layer up to the list, following its change log where it can
// and building the buckets again where it cannot or where that costs
// less; returns whether it rebuilt.
template <class Record>
bool catchUp(LayerState &layer, IndexNames &names, const ElementList<Record> &list);

}  // namespace kalmor::detail
