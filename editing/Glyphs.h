#pragma once

#include <QIcon>

namespace kalmor {

enum class ArrowDirection { Up, Down, Left, Right };

// A green arrow, 12 x 12 pixels, for the shift dialog's buttons.
QIcon arrowGlyph(ArrowDirection direction);

}  // namespace kalmor
