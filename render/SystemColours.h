#pragma once

#include "document/Colours.h"

#include <QColor>
#include <QPalette>

namespace kalmor {

// The colour a Colour value denotes on screen. RGB values (0x00BBGGRR) are
// taken as they are; a system colour (top bit set, index in the low byte)
// is the corresponding colour of the palette, so the panel fill matches
// what the colour dialog's sample shows. The specials clNone and clDefault
// keep their low 24 bits, as the window system reads them.
QColor toQColor(Colour c, const QPalette &palette);

// The same with the application's palette.
QColor toQColor(Colour c);

}  // namespace kalmor
