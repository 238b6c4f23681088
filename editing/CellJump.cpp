#include "editing/CellJump.h"

#include "editing/PointerInput.h"
#include "render/Viewport.h"

#include <algorithm>
#include <limits>

namespace kalmor {

void centreOnCell(Viewport &viewport, PointerInput &pointer, QPoint cell)
{
    pointer.setCursorCell(cell);
    const qint64 size = viewport.cellSize();
    const QSize visible = viewport.visibleArea();
    const auto position = [](qint64 pixels) {
        return int(std::clamp<qint64>(pixels, 0, std::numeric_limits<int>::max()));
    };
    viewport.setHorizontalPosition(position(cell.x() * size + size / 2 - visible.width() / 2));
    viewport.setVerticalPosition(position(cell.y() * size + size / 2 - visible.height() / 2));
}

}  // namespace kalmor
