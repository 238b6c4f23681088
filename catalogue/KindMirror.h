#pragma once

#include "catalogue/ElementKinds.h"

#include <QString>

#include <optional>

namespace kalmor {

// Left-right swaps the points L* and P*, top-bottom the points *H and *D.
enum class MirrorAxis : std::uint8_t { LeftRight, TopBottom };

BorderPoint mirroredPoint(BorderPoint p, MirrorAxis axis);

// The kind that is the mirror image of the named one, spelt as the
// catalogue spells it; nothing for a name that is no track or desk kind
// of the catalogue. Mirroring twice gives the name back. A desk kind for
// movements to the left and its partner to the right swap left-right;
// every other desk kind is its own mirror image.
//
// Every track kind has a partner with exactly the mirrored segments but
// the two double slips across the vertical track: the catalogue spells one
// of them with SD-LH where its picture and its partner want SD-PH, so the
// two are paired by the tracks they cross, as the pictures show them.
std::optional<QString> mirroredKind(const QString &name, MirrorAxis axis);

}  // namespace kalmor
