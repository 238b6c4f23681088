#include "editing/PointerInput.h"

#include "document/StationHistory.h"
#include "editing/TextHolder.h"

#include <QLabel>

#include <algorithm>
#include <utility>

namespace kalmor {

namespace {

QString cellCaption(QPoint cell)
{
    return QStringLiteral("%1x%2").arg(cell.x()).arg(cell.y());
}

QString stepName(PlacementResult result, bool filled)
{
    if (filled)
        return QStringLiteral("Vyplnění řady");
    switch (result) {
    case PlacementResult::Replaced: return QStringLiteral("Nahrazení prvku");
    case PlacementResult::Removed: return QStringLiteral("Odstranění prvku");
    case PlacementResult::Appended:
    case PlacementResult::Nothing: break;
    }
    return QStringLiteral("Vložení prvku");
}

}  // namespace

PointerInput::PointerInput(StationHistory &history, std::function<int()> cellSize,
                           std::function<PlacementInputs()> inputs, QObject *parent)
    : QObject(parent), m_history(history), m_cellSize(std::move(cellSize)), m_inputs(std::move(inputs))
{
}

void PointerInput::setCaptionLabels(QLabel *start, QLabel *end)
{
    m_startCaption = start;
    m_endCaption = end;
}

QPoint PointerInput::cellAt(int x, int y, int cellSize)
{
    const int size = std::max(cellSize, 1);
    return {x / size, y / size};
}

int PointerInput::cellSize() const
{
    return m_cellSize ? std::max(m_cellSize(), 1) : 1;
}

void PointerInput::mouseMoved(int x, int y)
{
    setCursorCell(cellAt(x, y, cellSize()));
}

void PointerInput::setCursorCell(QPoint cell)
{
    if (cell == m_cursor)
        return;
    m_cursor = cell;
    emit cursorCellChanged(m_cursor);
    if (m_gesture == Gesture::Select)
        emit cellsSelected(m_dragStart, m_cursor);
}

void PointerInput::mousePressed(Qt::MouseButton button, int, int, Qt::KeyboardModifiers modifiers)
{
    if (m_locked)
        return;
    m_click = Click{};
    m_dragStart = m_cursor;
    if (m_startCaption)
        m_startCaption->setText(cellCaption(m_dragStart));
    m_gesture = Gesture::Place;
    if (button == Qt::LeftButton && modifiers.testFlag(Qt::ShiftModifier))
        m_gesture = Gesture::Select;
    else if (button == Qt::RightButton && modifiers.testFlag(Qt::ControlModifier))
        m_gesture = Gesture::Pick;
    if (m_gesture == Gesture::Select)
        emit cellsSelected(m_dragStart, m_dragStart);
}

void PointerInput::mouseReleased(Qt::MouseButton button, int x, int y)
{
    if (m_locked)
        return;
    const QPoint target = cellAt(x, y, cellSize());
    switch (std::exchange(m_gesture, Gesture::Place)) {
    case Gesture::Place:
        place(button, target);
        break;
    case Gesture::Select:
        emit cellsSelected(m_dragStart, target);
        break;
    case Gesture::Pick:
        emit pickRequested(target);
        break;
    case Gesture::EditText:
        break;
    }
    m_dragEnd = m_cursor;
    const QString zero = QStringLiteral("0x0");
    if (m_startCaption)
        m_startCaption->setText(zero);
    if (m_endCaption)
        m_endCaption->setText(zero);
}

void PointerInput::place(Qt::MouseButton button, QPoint target)
{
    StationEdit edit(m_history.document());
    PlacementResult placed = PlacementResult::Nothing;
    if (button == Qt::LeftButton || button == Qt::RightButton) {
        placed = placeElement(edit, target.x(), target.y(),
                              button == Qt::LeftButton ? PlacementMode::Place : PlacementMode::Remove, m_inputs());
    }
    const QPoint end = m_cursor;
    const bool fill = m_dragStart.y() == end.y() && m_dragStart.x() < end.x();
    if (fill) {
        // One read of the controls serves the whole fill: nothing can change
        // them between the cells of one release.
        const PlacementInputs inputs = m_inputs();
        for (qint64 column = m_dragStart.x(); column <= end.x(); ++column)
            placeElement(edit, qint32(column), end.y(), PlacementMode::Place, inputs);
    }
    const qsizetype before = m_history.undoSteps();
    m_history.commit(std::move(edit), stepName(placed, fill));
    const bool click = button == Qt::LeftButton && !fill && m_history.undoSteps() > before;
    m_click = click ? Click{target, m_history.undoSteps()} : Click{};
}

void PointerInput::mouseDoubleClicked(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers modifiers)
{
    if (m_locked)
        return;
    const QPoint cell = cellAt(x, y, cellSize());
    if (button != Qt::LeftButton || modifiers != Qt::NoModifier) {
        mousePressed(button, x, y, modifiers);
        return;
    }
    if (m_click.cell == cell && m_click.steps == m_history.undoSteps())
        m_history.withdrawLast();
    m_click = Click{};
    const ElementClass current = elementClassOf(m_inputs().kind);
    if (!textHolderAt(m_history.document().data(), cell, current)) {
        mousePressed(button, x, y, modifiers);
        return;
    }
    m_gesture = Gesture::EditText;
    emit textEditRequested(cell, current);
}

}  // namespace kalmor
