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

// Writes the text into the record on top of the list at the cell, looked
// up again since the lists may have changed while the editor was open.
template <class Record>
void writeText(StationHistory &history, const ElementList<Record> &list, QPoint cell, const QString &text,
               const QString &stepName)
{
    const qsizetype at = list.lastAt(cell.x(), cell.y());
    if (at < 0 || list.at(at).TEXT == text)
        return;
    Record changed = list.at(at);
    changed.TEXT = text;
    StationEdit edit(history.document());
    edit.markModified();
    edit.replace(at, std::move(changed));
    history.commit(std::move(edit), stepName);
}

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

void PlateTextEditor::edit(QPoint cell, ElementClass current)
{
    const StationData &doc = m_history.document().data();
    const std::optional<TextHolder> holder = textHolderAt(doc, cell, current);
    if (!holder || !m_surface)
        return;
    m_cell = cell;
    m_list = holder->list;
    m_open = true;
    const qint64 size = std::max(1, m_cellSize ? m_cellSize() : 47);
    const int width = int(std::max<qint64>(size, LeastFieldWidth));
    const int height = m_field->sizeHint().height();
    m_field->setGeometry(int(cell.x() * size + size / 2 - width / 2), int(cell.y() * size + size / 2 - height / 2),
                         width, height);
    m_field->setText(textOf(doc, *holder));
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
    const StationDocument &doc = m_history.document();
    if (m_list == TextList::Plates)
        writeText(m_history, doc.plates(), m_cell, m_field->text(), QStringLiteral("Změna textu popisku"));
    else
        writeText(m_history, doc.deskElements(), m_cell, m_field->text(), QStringLiteral("Změna označení prvku"));
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
