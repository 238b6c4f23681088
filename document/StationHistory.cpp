#include "document/StationHistory.h"

#include "document/DocumentLifecycle.h"

#include <QSize>
#include <QUndoCommand>

namespace kalmor {

namespace {

// A gesture on the lists, made before it is pushed: the stack's first
// redo finds it done.
class ListEditStep : public QUndoCommand {
public:
    ListEditStep(StationEdit &&edit, const QString &name) : QUndoCommand(name), m_edit(std::move(edit)) {}

    // The stack drops a step that turns obsolete as it is undone.
    void withdrawOnUndo() { m_withdraw = true; }
    void undo() override
    {
        m_edit.undo();
        setObsolete(m_withdraw);
    }
    void redo() override
    {
        if (m_done)
            m_done = false;
        else
            m_edit.redo();
    }

private:
    StationEdit m_edit;
    bool m_done = true;
    bool m_withdraw = false;
};

// A setting or text from one value to another. Typing steps of one field
// and one typing session merge; when the typing ends where it began the
// step drops out of the history.
class FieldStep : public QUndoCommand {
public:
    static constexpr quint64 Apart = 0;

    FieldStep(StationDocument &doc, DocumentField field, FieldValue after, const QString &name, quint64 session)
        : QUndoCommand(name), m_doc(doc), m_field(field), m_before(fieldValue(doc, field)),
          m_after(std::move(after)), m_session(session)
    {
    }

    int id() const override { return m_session == Apart ? -1 : 1 + int(m_field); }
    void undo() override { setFieldValue(m_doc, m_field, m_before); }
    void redo() override { setFieldValue(m_doc, m_field, m_after); }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const FieldStep *>(other);
        if (next->m_field != m_field || next->m_session != m_session)
            return false;
        m_after = next->m_after;
        setObsolete(m_after == m_before);
        return true;
    }

private:
    StationDocument &m_doc;
    DocumentField m_field;
    FieldValue m_before;
    FieldValue m_after;
    quint64 m_session;
};

QString typingName(DocumentField field)
{
    switch (field) {
    case DocumentField::Rows: return QStringLiteral("Změna výšky panelu");
    case DocumentField::Columns: return QStringLiteral("Změna šířky panelu");
    case DocumentField::BackgroundColour: return QStringLiteral("Změna barvy pozadí");
    case DocumentField::StationName: return QStringLiteral("Změna názvu stanice");
    case DocumentField::Description: return QStringLiteral("Změna popisu");
    case DocumentField::Author: return QStringLiteral("Změna autora");
    case DocumentField::Version: return QStringLiteral("Změna verze");
    case DocumentField::IssueDate: return QStringLiteral("Změna data vydání");
    }
    return {};
}

// The value as the document would hold it, so that a control showing the
// document's value again is recognised as no change.
FieldValue normalised(DocumentField field, const FieldValue &value)
{
    if (field == DocumentField::Rows || field == DocumentField::Columns)
        return qint64(clampPanelCells(std::get<qint64>(value)));
    return value;
}

}  // namespace

FieldValue fieldValue(const StationDocument &doc, DocumentField field)
{
    switch (field) {
    case DocumentField::Rows: return qint64(doc.rows());
    case DocumentField::Columns: return qint64(doc.columns());
    case DocumentField::BackgroundColour: return qint64(doc.backgroundColour());
    case DocumentField::StationName: return doc.stationName();
    case DocumentField::Description: return doc.description();
    case DocumentField::Author: return doc.author();
    case DocumentField::Version: return doc.version();
    case DocumentField::IssueDate: return doc.issueDate();
    }
    return {};
}

void setFieldValue(StationDocument &doc, DocumentField field, const FieldValue &value)
{
    switch (field) {
    case DocumentField::Rows: doc.setRows(std::get<qint64>(value)); return;
    case DocumentField::Columns: doc.setColumns(std::get<qint64>(value)); return;
    case DocumentField::BackgroundColour: doc.setBackgroundColour(Colour(std::get<qint64>(value))); return;
    case DocumentField::StationName: doc.setStationName(std::get<QString>(value)); return;
    case DocumentField::Description: doc.setDescription(std::get<QString>(value)); return;
    case DocumentField::Author: doc.setAuthor(std::get<QString>(value)); return;
    case DocumentField::Version: doc.setVersion(std::get<QString>(value)); return;
    case DocumentField::IssueDate: doc.setIssueDate(std::get<QString>(value)); return;
    }
}

StationHistory::StationHistory(StationDocument &doc, QObject *parent)
    : QObject(parent), m_doc(doc), m_cleanStatus(doc.status())
{
}

void StationHistory::push(QUndoCommand *step)
{
    m_applying = true;
    m_stack.push(step);
    m_applying = false;
    // Typing back to the value of the clean state leaves the station as it was.
    if (m_stack.isClean())
        m_doc.setStatus(m_cleanStatus);
    emit changed();
}

void StationHistory::commitModifying(StationEdit &&edit, const QString &name)
{
    if (edit.isEmpty())
        return;
    edit.markModified();
    commit(std::move(edit), name);
}

void StationHistory::commit(StationEdit &&edit, const QString &name)
{
    if (edit.isEmpty() || m_applying)
        return;
    push(new ListEditStep(std::move(edit), name));
}

void StationHistory::type(DocumentField field, const FieldValue &value)
{
    const FieldValue v = normalised(field, value);
    // A control that follows the document during an undo reports the
    // value the document has just taken.
    if (m_applying || v == fieldValue(m_doc, field))
        return;
    push(new FieldStep(m_doc, field, v, typingName(field), m_typingSession));
}

void StationHistory::change(DocumentField field, const FieldValue &value, const QString &name)
{
    const FieldValue v = normalised(field, value);
    if (m_applying || v == fieldValue(m_doc, field))
        return;
    push(new FieldStep(m_doc, field, v, name, FieldStep::Apart));
    endTyping();
}

bool StationHistory::step(bool forward)
{
    if (m_applying || (m_refused && m_refused()) || !(forward ? canRedo() : canUndo()))
        return false;
    const QSize sizeBefore(m_doc.columns(), m_doc.rows());
    m_applying = true;
    if (forward)
        m_stack.redo();
    else
        m_stack.undo();
    m_applying = false;
    stepped();
    if (QSize(m_doc.columns(), m_doc.rows()) != sizeBefore)
        emit panelSizeStepped();
    return true;
}

bool StationHistory::withdrawLast()
{
    if (m_applying || (m_refused && m_refused()) || !canUndo())
        return false;
    auto *last = dynamic_cast<ListEditStep *>(const_cast<QUndoCommand *>(m_stack.command(m_stack.index() - 1)));
    if (!last)
        return false;
    last->withdrawOnUndo();
    m_applying = true;
    m_stack.undo();
    m_applying = false;
    stepped();
    return true;
}

void StationHistory::stepped()
{
    // Typing after an undo or redo does not join a step from before it.
    endTyping();
    if (m_stack.isClean())
        m_doc.setStatus(m_cleanStatus);
    else
        m_doc.markModified();
    emit changed();
}

bool StationHistory::undo()
{
    return step(false);
}

bool StationHistory::redo()
{
    return step(true);
}

void StationHistory::follow(const DocumentLifecycle &lifecycle)
{
    connect(&lifecycle, &DocumentLifecycle::stationReplaced, this, &StationHistory::restart);
    connect(&lifecycle, &DocumentLifecycle::stationSaved, this, &StationHistory::markSaved);
    m_refused = [&lifecycle] { return lifecycle.isBusy(); };
}

void StationHistory::restart()
{
    m_stack.clear();
    m_cleanStatus = m_doc.status();
    endTyping();
    emit changed();
}

void StationHistory::markSaved()
{
    m_stack.setClean();
    m_cleanStatus = m_doc.status();
    endTyping();
    emit changed();
}

}  // namespace kalmor
