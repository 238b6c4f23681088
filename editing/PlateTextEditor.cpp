#include "editing/PlateTextEditor.h"

#include "document/StationHistory.h"
#include "editing/PlateTextField.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace kalmor {

namespace {

// Room for a few words even over a small cell.
constexpr int LeastFieldWidth = 140;

}  // namespace

PlateTextEditor::PlateTextEditor(StationHistory &history, QWidget *surface, std::function<int()> cellSize,
                                 UserPrompts *prompts, QObject *parent)
    : QObject(parent), m_history(history), m_surface(surface), m_cellSize(std::move(cellSize))
{
    m_field = new QLineEdit(surface);
    m_field->setObjectName(QStringLiteral("E_TextPopisku"));
    m_field->hide();
    guardPlateText(m_field, prompts);
    m_field->installEventFilter(this);
    connect(m_field, &QLineEdit::returnPressed, this, &PlateTextEditor::keep);
}

bool PlateTextEditor::isOpen() const
{
    return m_open;
}

void PlateTextEditor::edit(QPoint cell)
{
    const qsizetype plate = m_history.document().plates().lastAt(cell.x(), cell.y());
    if (plate < 0 || !m_surface)
        return;
    m_cell = cell;
    m_open = true;
    const qint64 size = std::max(1, m_cellSize ? m_cellSize() : 47);
    const int width = int(std::max<qint64>(size, LeastFieldWidth));
    const int height = m_field->sizeHint().height();
    m_field->setGeometry(int(cell.x() * size + size / 2 - width / 2), int(cell.y() * size + size / 2 - height / 2),
                         width, height);
    m_field->setText(m_history.document().plates().at(plate).TEXT);
    m_field->selectAll();
    m_field->show();
    m_field->raise();
    m_field->setFocus(Qt::OtherFocusReason);
}

void PlateTextEditor::keep()
{
    if (!m_open)
        return;
    close();
    // The plate is looked up again: the lists may have changed meanwhile.
    const StationDocument &doc = m_history.document();
    const qsizetype plate = doc.plates().lastAt(m_cell.x(), m_cell.y());
    if (plate < 0 || doc.plates().at(plate).TEXT == m_field->text())
        return;
    TPoleStitek changed = doc.plates().at(plate);
    changed.TEXT = m_field->text();
    StationEdit edit(m_history.document());
    edit.markModified();
    edit.replace(plate, std::move(changed));
    m_history.commit(std::move(edit), QStringLiteral("Změna textu popisku"));
}

void PlateTextEditor::cancel()
{
    if (m_open)
        close();
}

void PlateTextEditor::close()
{
    m_open = false;
    m_field->hide();
    if (m_surface)
        m_surface->setFocus(Qt::OtherFocusReason);
}

bool PlateTextEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_field)
        return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        cancel();
        return true;
    }
    // Clicking elsewhere keeps what was typed, as Enter does; a message
    // box about a refused character takes the focus only for a moment.
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason
        && static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason)
        keep();
    return false;
}

}  // namespace kalmor
