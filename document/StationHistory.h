#pragma once

#include "document/StationEdit.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <variant>

namespace kalmor {

class DocumentLifecycle;

// The settings and texts of a station that the history records.
enum class DocumentField : quint8 { Rows, Columns, BackgroundColour, StationName, Description, Author, Version, IssueDate };

// A number for rows, columns and colour, a text for the station texts.
using FieldValue = std::variant<qint64, QString>;

FieldValue fieldValue(const StationDocument &doc, DocumentField field);
// Sets the field through the document, which marks it modified.
void setFieldValue(StationDocument &doc, DocumentField field, const FieldValue &value);

// The one undo history of the station, without limit. Every change of the
// document is made through it, one step per user gesture, each with a
// short Czech name. Undo and redo set the status "Upraveno", except where
// they bring the station back to the state of the last load, save or New:
// there the status returns to what it was then.
class StationHistory : public QObject {
    Q_OBJECT
public:
    explicit StationHistory(StationDocument &doc, QObject *parent = nullptr);

    StationDocument &document() const { return m_doc; }

    // A gesture on the element lists, already made through `edit`. An edit
    // that changed nothing adds no step.
    void commit(StationEdit &&edit, const QString &name);
    // The same for a gesture that changed something the file holds: the
    // step marks the station modified.
    void commitModifying(StationEdit &&edit, const QString &name);

    // A change typed into a field: consecutive changes of one field merge
    // into one step until another step comes between or endTyping() is
    // called. A value the document already holds adds nothing.
    void type(DocumentField field, const FieldValue &value);
    // A change that is a step of its own.
    void change(DocumentField field, const FieldValue &value, const QString &name);
    void endTyping() { ++m_typingSession; }

    bool canUndo() const { return m_stack.canUndo(); }
    bool canRedo() const { return m_stack.canRedo(); }
    QString undoName() const { return m_stack.undoText(); }
    QString redoName() const { return m_stack.redoText(); }
    // Steps that undo can take back.
    qsizetype undoSteps() const { return m_stack.index(); }

    // False when there is nothing to undo or redo, or while refused.
    bool undo();
    bool redo();
    // Takes the last step back and out of the history, so that it cannot
    // be redone either: for a gesture that turns out to have been the
    // first half of another (the first click of a double click). False
    // when the last step is no gesture on the lists, or while refused.
    bool withdrawLast();

    // Empties the history when the document takes over another station
    // (New, a successful Open), marks the clean state after a save, and
    // refuses undo and redo while a save writes.
    void follow(const DocumentLifecycle &lifecycle);

    // The document now holds another station: the history empties and its
    // state, with its status, becomes the clean one.
    void restart();
    // The station was saved: this state, with its status, is the clean one.
    void markSaved();

signals:
    // What can be undone or redone, or its name, may have changed.
    void changed();
    // An undo or redo changed the panel's rows or columns.
    void panelSizeStepped();

private:
    void push(QUndoCommand *step);
    bool step(bool forward);
    void stepped();

    StationDocument &m_doc;
    QUndoStack m_stack;
    DocumentStatus m_cleanStatus;
    quint64 m_typingSession = 1;  // 0 marks a step of its own
    std::function<bool()> m_refused;
    bool m_applying = false;
};

}  // namespace kalmor
