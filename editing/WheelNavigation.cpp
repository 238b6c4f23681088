#include "editing/WheelNavigation.h"

#include "view/DrawingSurface.h"
#include "render/Viewport.h"
#include "view/WorkArea.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace kalmor {

namespace {

constexpr int NotchAngle = 120;  // eighths of a degree

}  // namespace

WheelNavigation::WheelNavigation(Viewport &viewport, WorkArea &area, QObject *parent)
    : QObject(parent), m_viewport(viewport), m_area(area)
{
    for (QWidget *watched : {static_cast<QWidget *>(area.surface()), area.clipPanel(),
                             static_cast<QWidget *>(area.horizontalBar()), static_cast<QWidget *>(area.verticalBar())})
        watched->installEventFilter(this);
}

int WheelNavigation::steppedCellSize(int cellSize, int steps)
{
    const qsizetype count = qsizetype(CellSizes.size());
    qsizetype index = 0;
    if (steps > 0) {
        // The first size above, then further up.
        index = std::upper_bound(CellSizes.begin(), CellSizes.end(), cellSize) - CellSizes.begin();
        if (index == count)
            return cellSize;
        index += steps - 1;
    } else if (steps < 0) {
        // The last size below, then further down.
        index = std::lower_bound(CellSizes.begin(), CellSizes.end(), cellSize) - CellSizes.begin();
        if (index == 0)
            return cellSize;
        index += steps;
    } else {
        return cellSize;
    }
    return CellSizes[std::size_t(std::clamp<qsizetype>(index, 0, count - 1))];
}

void WheelNavigation::scrollBy(QPoint pixels)
{
    if (m_viewport.horizontal().enabled && pixels.x() != 0)
        m_viewport.setHorizontalPosition(m_viewport.horizontal().position + pixels.x());
    if (m_viewport.vertical().enabled && pixels.y() != 0)
        m_viewport.setVerticalPosition(m_viewport.vertical().position + pixels.y());
}

void WheelNavigation::zoomAt(QPoint pointer, int steps)
{
    const int before = m_viewport.cellSize();
    const int after = steppedCellSize(before, steps);
    if (after == before)
        return;
    // The point of the panel under the pointer, in cells.
    const QPointF spot = QPointF(pointer - m_viewport.surfacePosition()) / before;
    m_viewport.setZoom(after - Viewport::DesignCellSize);
    m_viewport.applyPanelSize(m_viewport.appliedColumns(), m_viewport.appliedRows());
    const QPointF moved = spot * after - QPointF(pointer);
    m_viewport.setHorizontalPosition(int(std::lround(moved.x())));
    m_viewport.setVerticalPosition(int(std::lround(moved.y())));
}

bool WheelNavigation::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    const auto *wheel = static_cast<QWheelEvent *>(event);
    const QPoint angle = wheel->angleDelta();
    const QPoint pointer = m_area.clipPanel()->mapFromGlobal(wheel->globalPosition()).toPoint();
    if (wheel->modifiers().testFlag(Qt::ControlModifier)) {
        m_zoomAngle += angle.y() != 0 ? angle.y() : angle.x();
        const int steps = m_zoomAngle / NotchAngle;
        m_zoomAngle %= NotchAngle;
        if (steps != 0)
            zoomAt(pointer, steps);
    } else {
        QPoint pixels = wheel->pixelDelta();
        if (pixels.isNull())
            pixels = angle * (CellsPerNotch * m_viewport.cellSize()) / NotchAngle;
        const bool sideways = watched == m_area.horizontalBar() || wheel->modifiers().testFlag(Qt::ShiftModifier);
        if (sideways && pixels.x() == 0)
            pixels = QPoint(pixels.y(), 0);
        // The wheel turned away from the user shows what lies above or left.
        scrollBy(-pixels);
    }
    // The panel moved under the pointer: the cursor cell follows it as it
    // follows a move of the pointer, so a click that comes without one
    // starts in the right cell.
    X_Plocha *surface = m_area.surface();
    const QPointF at = surface->mapFromParent(QPointF(pointer));
    if (m_area.clipPanel()->rect().contains(pointer) && surface->rect().contains(at.toPoint())) {
        QMouseEvent moved(QEvent::MouseMove, at, surface->mapToGlobal(at), Qt::NoButton, wheel->buttons(),
                          wheel->modifiers());
        QCoreApplication::sendEvent(surface, &moved);
    }
    return true;
}

}  // namespace kalmor
