#pragma once

#include "document/LargeMemory.h"
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
    using RecordType = Record;
    enum class Kind : quint8 { Append, Replace, RemoveAt, Shift };
    Kind kind = Kind::Append;
    qint32 position = 0;  // Replace, RemoveAt; Shift: dx
    qint32 dy = 0;        // Shift
    Record record;
};

// Records taken out of one list at once, the others closing up in their
// order: the positions they had and, while they are out, the records.
// With putIn, the change put them in instead (at the end of the list),
// and undoing it takes them out.
template <class Record>
struct ListRemoval {
    using RecordType = Record;
    std::vector<qint32> positions;  // ascending
    std::vector<Record> records;
    bool putIn = false;
};

// A gesture's changes of the four element lists and the areas, made through it and
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
    // Appends many records as one change, which the list and its cell
    // index take in one pass.
    template <class Record>
    void appendAll(std::vector<Record> records);
    // Overwrites every field of record i; it keeps its list position.
    template <class Record>
    void replace(qsizetype i, Record r);
    // Removes record i; the last record takes its place.
    template <class Record>
    void removeAt(qsizetype i);
    // Removes the records at the ascending positions; the others keep
    // their order.
    template <class Record>
    void removeAll(std::vector<qint32> positions);
    // Moves every record of one list by (dx, dy), each whole record with
    // all its fields; the caller has checked the range.
    template <class Record>
    void shift(qint32 dx, qint32 dy);

    bool isEmpty() const { return m_changes.empty(); }
    // Room for as many more changes, when a gesture knows it makes many.
    void reserve(qsizetype changes) { m_changes.reserve(m_changes.size() + std::size_t(changes)); }

    // Only on the state right after the recording (undo) or right after an
    // undo (redo).
    void undo();
    void redo();

private:
    using Change = std::variant<ListChange<TPolePanelu>, ListChange<TPoleZarovka>, ListChange<TPoleStitek>,
                                ListChange<TPolePrvek>, ListChange<TOblast>, ListRemoval<TPolePanelu>,
                                ListRemoval<TPoleZarovka>, ListRemoval<TPoleStitek>, ListRemoval<TPolePrvek>,
                                ListRemoval<TOblast>>;

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
template <>
inline ElementList<TOblast> &elementsOf(StationDocument &doc) { return doc.areas(); }
template <>
inline ElementList<TPolePrvek> &elementsOf(StationDocument &doc) { return doc.deskElements(); }

template <class Record>
const ElementList<Record> &elementsOf(const StationDocument &doc);
template <>
inline const ElementList<TPolePanelu> &elementsOf(const StationDocument &doc) { return doc.tiles(); }
template <>
inline const ElementList<TPoleZarovka> &elementsOf(const StationDocument &doc) { return doc.lamps(); }
template <>
inline const ElementList<TPoleStitek> &elementsOf(const StationDocument &doc) { return doc.plates(); }
template <>
inline const ElementList<TOblast> &elementsOf(const StationDocument &doc) { return doc.areas(); }
template <>
inline const ElementList<TPolePrvek> &elementsOf(const StationDocument &doc) { return doc.deskElements(); }

template <class Record>
void StationEdit::append(Record r)
{
    elementsOf<Record>(*m_doc).append(std::move(r));
    m_changes.emplace_back(ListChange<Record>{ListChange<Record>::Kind::Append, 0, 0, {}});
}

template <class Record>
void StationEdit::appendAll(std::vector<Record> records)
{
    if (records.empty())
        return;
    ElementList<Record> &list = elementsOf<Record>(*m_doc);
    std::vector<qint32> positions;
    reserveLarge(positions, records.size());
    for (std::size_t k = 0; k < records.size(); ++k)
        positions.push_back(qint32(list.count() + qsizetype(k)));
    list.insertAll(positions, std::move(records));
    m_changes.emplace_back(ListRemoval<Record>{std::move(positions), {}, true});
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

template <class Record>
void StationEdit::removeAll(std::vector<qint32> positions)
{
    if (positions.empty())
        return;
    ElementList<Record> &list = elementsOf<Record>(*m_doc);
    std::vector<Record> removed;
    removed.reserve(positions.size());
    for (const qint32 p : positions)
        removed.push_back(list.at(p));
    list.removeAll(positions);
    m_changes.emplace_back(ListRemoval<Record>{std::move(positions), std::move(removed)});
}

template <class Record>
void StationEdit::shift(qint32 dx, qint32 dy)
{
    elementsOf<Record>(*m_doc).shift(dx, dy);
    m_changes.emplace_back(ListChange<Record>{ListChange<Record>::Kind::Shift, dx, dy, {}});
}

}  // namespace kalmor
