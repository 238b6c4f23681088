#include "render/Viewport.h"

#include <algorithm>

namespace kalmor {

namespace {

// A surface extent in pixels: computed in 64-bit, then held to what a
// widget can be (QWIDGETSIZE_MAX) and at least 1, since the surface is a
// widget and 4000 cells of 247 pixels would otherwise not fit every
// platform limit; a bigger panel is cut off at the far edge.
int surfaceExtent(qint32 cells, int cellSize)
{
    const qint64 pixels = qint64(cells) * cellSize;
    return int(std::clamp<qint64>(pixels, 1, Viewport::MaxSurfaceExtent));
}

// Lowers the position when the new maximum falls below it; reports
// whether the position changed.
bool setMaximum(ScrollBarState &bar, int maximum)
{
    bar.maximum = maximum;
    if (bar.position > maximum) {
        bar.position = maximum;
        return true;
    }
    return false;
}

}  // namespace

Viewport::Viewport(QObject *parent) : QObject(parent) {}

int Viewport::cellSizeFor(int zoom)
{
    return int(std::clamp<qint64>(qint64(DesignCellSize) + zoom, 1, MaxCellSize));
}

int Viewport::cellSize() const
{
    return cellSizeFor(m_zoom);
}

int Viewport::pageStep(Qt::Orientation orientation) const
{
    const int extent = orientation == Qt::Horizontal ? m_visible.width() : m_visible.height();
    return extent > cellSize() ? extent - cellSize() : std::max(1, extent);
}

void Viewport::setZoom(int zoom)
{
    if (zoom == m_zoom)
        return;
    const int before = cellSize();
    m_zoom = zoom;
    emit zoomChanged(m_zoom);
    if (cellSize() != before)
        emit cellSizeChanged(cellSize());
}

void Viewport::applyPanelSize(qint32 columns, qint32 rows)
{
    const QSize surface(surfaceExtent(columns, cellSize()), surfaceExtent(rows, cellSize()));
    if (surface != m_surface) {
        m_surface = surface;
        emit surfaceSizeChanged(m_surface);
    }
    if (columns != m_columns || rows != m_rows) {
        m_columns = columns;
        m_rows = rows;
        emit appliedSizeChanged(m_columns, m_rows);
    }
    adjustScrollBars(m_visible);
}

void Viewport::adjustScrollBars(QSize visibleArea)
{
    m_visible = visibleArea;
    const ScrollBarState oldHorizontal = m_horizontal;
    const ScrollBarState oldVertical = m_vertical;
    QPoint position = m_surfacePos;

    m_horizontal.enabled = m_surface.width() > visibleArea.width();
    m_vertical.enabled = m_surface.height() > visibleArea.height();
    if (m_horizontal.enabled) {
        if (setMaximum(m_horizontal, m_surface.width() - visibleArea.width()))
            position.setX(-m_horizontal.position);
    } else {
        position.setX(0);
    }
    if (m_vertical.enabled) {
        if (setMaximum(m_vertical, m_surface.height() - visibleArea.height()))
            position.setY(-m_vertical.position);
    } else {
        position.setY(0);
    }

    if (m_horizontal != oldHorizontal || m_vertical != oldVertical)
        emit scrollBarsChanged();
    moveSurface(position);
}

void Viewport::setHorizontalPosition(int position)
{
    position = std::clamp(position, m_horizontal.minimum, m_horizontal.maximum);
    if (position != m_horizontal.position) {
        m_horizontal.position = position;
        emit scrollBarsChanged();
    }
    moveSurface(QPoint(-position, m_surfacePos.y()));
}

void Viewport::setVerticalPosition(int position)
{
    position = std::clamp(position, m_vertical.minimum, m_vertical.maximum);
    if (position != m_vertical.position) {
        m_vertical.position = position;
        emit scrollBarsChanged();
    }
    moveSurface(QPoint(m_surfacePos.x(), -position));
}

void Viewport::scrollTo(Qt::Orientation orientation, qint64 position)
{
    const ScrollBarState &bar = orientation == Qt::Horizontal ? m_horizontal : m_vertical;
    if (!bar.enabled)
        return;
    const int held = int(std::clamp<qint64>(position, bar.minimum, bar.maximum));
    if (orientation == Qt::Horizontal)
        setHorizontalPosition(held);
    else
        setVerticalPosition(held);
}

void Viewport::centreOn(qint64 x, qint64 y)
{
    scrollTo(Qt::Horizontal, x - m_visible.width() / 2);
    scrollTo(Qt::Vertical, y - m_visible.height() / 2);
}

void Viewport::moveSurface(QPoint position)
{
    if (position == m_surfacePos)
        return;
    m_surfacePos = position;
    emit surfacePositionChanged(m_surfacePos);
}

}  // namespace kalmor
