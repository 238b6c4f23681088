#pragma once

#include "catalogue/ElementKinds.h"
#include "editing/Placement.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class QLabel;

namespace kalmor {

class StationHistory;

// Turns pointer events of the drawing surface into placements. Keeps the
// cursor cell (read by the renderer), the drag start and end cells, and
// runs the row fill of a left-to-right drag along one row. Each release is
// one step of the history, the row fill included.
//
// Two gestures, told by the modifiers at the press, place nothing and
// leave the status alone: Shift with the left button selects the cells
// from the press cell to the cell under the pointer (reported while the
// pointer moves and at the release); Ctrl with the right button picks the
// element at the release cell.
//
// A double click of the left button on a plate or a desk element asks to
// edit its text (textHolderAt says which, with the current kind's class);
// what the first click of it placed is withdrawn from the history, so the
// element and what lies under it stay as they were. Elsewhere a double
// click is two clicks.
//
// Wiring: connect X_Plocha's mouseMoved / mousePressed / mouseReleased /
// mouseDoubleClicked to the slots of the same names; give the captions L_Pocatek and L_Konec of
// the corner-division page with setCaptionLabels().
class PointerInput : public QObject {
    Q_OBJECT
public:
    // cellSize: the current cell width = height in pixels (never below 1;
    // a smaller value is taken as 1). inputs: the current kind, the eight
    // corner flags and the lamp offsets at the moment of each placement.
    PointerInput(StationHistory &history, std::function<int()> cellSize,
                 std::function<PlacementInputs()> inputs, QObject *parent = nullptr);

    void setCaptionLabels(QLabel *start, QLabel *end);

    QPoint cursorCell() const { return m_cursor; }
    // Puts the cursor cell somewhere without the pointer (a jump to a cell).
    void setCursorCell(QPoint cell);
    QPoint dragStartCell() const { return m_dragStart; }
    QPoint dragEndCell() const { return m_dragEnd; }

    // While a save writes the file, presses and releases change nothing.
    void setLocked(bool locked) { m_locked = locked; }
    bool isLocked() const { return m_locked; }

    // Cell of a pixel position: division rounded toward zero, so positions
    // from -1 to -(cell size - 1) still give 0.
    static QPoint cellAt(int x, int y, int cellSize);

public slots:
    void mouseMoved(int x, int y);
    void mousePressed(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers modifiers = {});
    void mouseReleased(Qt::MouseButton button, int x, int y);
    // In place of the second press of a double click.
    void mouseDoubleClicked(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers modifiers = {});

signals:
    void cursorCellChanged(QPoint cell);
    void cellsSelected(QPoint from, QPoint to);
    void pickRequested(QPoint cell);
    // current: the class of the current kind, which textHolderAt weighs.
    void textEditRequested(QPoint cell, kalmor::ElementClass current);

private:
    enum class Gesture { Place, Select, Pick, EditText };
    // The step the last plain left click committed, and at which cell.
    struct Click {
        QPoint cell;
        qsizetype steps = -1;  // undo steps right after it
    };

    int cellSize() const;
    // A release of the plain gesture: place or remove at the target cell,
    // then the row fill from the drag start cell to the cursor cell.
    void place(Qt::MouseButton button, QPoint target);

    StationHistory &m_history;
    std::function<int()> m_cellSize;
    std::function<PlacementInputs()> m_inputs;
    QPointer<QLabel> m_startCaption;
    QPointer<QLabel> m_endCaption;
    QPoint m_cursor;
    QPoint m_dragStart;
    QPoint m_dragEnd;
    Gesture m_gesture = Gesture::Place;
    Click m_click;
    bool m_locked = false;
};

}  // namespace kalmor
