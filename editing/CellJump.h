#pragma once

#include <QPoint>

namespace kalmor {

class PointerInput;
class Viewport;

// Goes to a cell the user chose in a list: the cursor cell moves there
// and the scroll bars put the cell's middle in the middle of the visible
// area, as far as they reach.
void centreOnCell(Viewport &viewport, PointerInput &pointer, QPoint cell);

}  // namespace kalmor
