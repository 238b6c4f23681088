#include "editing/PanelSelection.h"

namespace kalmor {

void PanelSelection::select(const CellRect &area)
{
    const CellRect next = area.isEmpty() ? CellRect{} : area;
    if (next == m_area)
        return;
    m_area = next;
    emit changed();
}

void PanelSelection::selectCells(QPoint from, QPoint to)
{
    select(CellRect::spanning(from.x(), from.y(), to.x(), to.y()));
}

}  // namespace kalmor
