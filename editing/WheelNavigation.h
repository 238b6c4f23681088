#pragma once

#include <QObject>
#include <QPoint>

#include <array>

namespace kalmor {

class Viewport;
class WorkArea;

// The wheel over the work area: three cells per notch down and up, Shift
// (or a sideways wheel, or the wheel over the horizontal scroll bar)
// sideways, and a touchpad by its own pixels. Ctrl with the wheel zooms
// one step per notch, keeping the point under the pointer where it is:
// the zoom is set through the viewport, which the panel settings dialog's
// field follows, and the surface takes the applied panel size at the new
// cell size, so the whole panel stays reachable.
class WheelNavigation : public QObject {
    Q_OBJECT
public:
    // Cell sizes a step apart look alike: each about a third or a half
    // larger than the one before.
    static constexpr std::array<int, 15> CellSizes{2, 3, 4, 6, 8, 12, 16, 24, 32, 47, 64, 87, 128, 180, 247};
    static constexpr int CellsPerNotch = 3;

    WheelNavigation(Viewport &viewport, WorkArea &area, QObject *parent = nullptr);

    // The cell size `steps` steps from cellSize (negative: smaller),
    // within the list; a size between two of the list counts from there.
    static int steppedCellSize(int cellSize, int steps);

    // Moves the view by surface pixels (positive: right and down).
    void scrollBy(QPoint pixels);
    // Zooms by steps; `pointer` is a position in P_Plocha.
    void zoomAt(QPoint pointer, int steps);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Viewport &m_viewport;
    WorkArea &m_area;
    int m_zoomAngle = 0;  // eighths of a degree turned, not yet a whole step
};

}  // namespace kalmor
