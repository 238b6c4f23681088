#pragma once

#include "document/StationDocument.h"

#include <variant>
#include <vector>

namespace kalmor {

// One exact change of one element list, kept so that it can be taken back
// and made again. It holds the one record that is not in the list at the
// moment: the appended record while it is undone, the other version of a
// replaced record, the removed record while it is removed.
template <class Record>
struct ListChange {
    enum class Kind : quint8 { Append, Replace, RemoveAt, Shift };
    Kind kind = Kind::Append;
    qint32 position = 0;  // Replace, RemoveAt; Shift: dx
    qint32 dy = 0;        // Shift
    Record record;
};

// A gesture's changes of the three element lists, made through it and
// recorded in order, so that undo() restores the lists exactly, order
// included, and redo() makes the same changes again. Every change is one
// the lists log as a single edit (or a shift), so the renderer's cell
// index follows an undo without being rebuilt.
class StationEdit {
public:
    explicit StationEdit(StationDocument &doc) : m_doc(&doc) {}

    const StationDocument &document() const { return *m_doc; }
    // A gesture marks the station modified even when it changes nothing.
    void markModified() { m_doc->markModified(); }

    template <class Record>
    void append(Record r);
    // Overwrites every field of record i; it keeps its list position.
    template <class Record>
    void replace(qsizetype i, Record r);
    // Removes record i; the last record takes its place.
    template <class Record>
    void removeAt(qsizetype i);
    // Moves every track tile by (dx, dy); the caller has checked the range.
    void shiftTiles(qint32 dx, qint32 dy);

    bool isEmpty() const { return m_changes.empty(); }

    // Only on the state right after the recording (undo) or right after an
    // undo (redo).
    void undo();
    void redo();

private:
    using Change = std::variant<ListChange<TPolePanelu>, ListChange<TPoleZarovka>, ListChange<TPoleStitek>>;

    StationDocument *m_doc;
    std::vector<Change> m_changes;
};

// The list of a record type in a document.
template <class Record>
ElementList<Record> &elementsOf(StationDocument &doc);
template <>
inline ElementList<TPolePanelu> &elementsOf(StationDocument &doc) { return doc.tiles(); }
template <>
inline ElementList<TPoleZarovka> &elementsOf(StationDocument &doc) { return doc.lamps(); }
template <>
inline ElementList<TPoleStitek> &elementsOf(StationDocument &doc) { return doc.plates(); }

template <class Record>
void StationEdit::append(Record r)
{
    elementsOf<Record>(*m_doc).append(std::move(r));
    m_changes.emplace_back(ListChange<Record>{ListChange<Record>::Kind::Append, 0, 0, {}});
}

template <class Record>
void StationEdit::replace(qsizetype i, Record r)
{
    ElementList<Record> &list = elementsOf<Record>(*m_doc);
    Record old = list.at(i);
    list.replace(i, std::move(r));
    m_changes.emplace_back(ListChange<Record>{ListChange<Record>::Kind::Replace, qint32(i), 0, std::move(old)});
}

template <class Record>
void StationEdit::removeAt(qsizetype i)
{
    ElementList<Record> &list = elementsOf<Record>(*m_doc);
    Record removed = list.at(i);
    list.removeAt(i);
    m_changes.emplace_back(ListChange<Record>{ListChange<Record>::Kind::RemoveAt, qint32(i), 0, std::move(removed)});
}

}  // namespace kalmor
