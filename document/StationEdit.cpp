#include "document/StationEdit.h"

namespace kalmor {

namespace {

// A replaced record and the version kept change places, both ways.
template <class Record>
void swapReplaced(ElementList<Record> &list, ListChange<Record> &c)
{
    Record now = list.at(c.position);
    list.replace(c.position, std::move(c.record));
    c.record = std::move(now);
}

template <class Record>
void undoChange(ElementList<Record> &list, ListChange<Record> &c)
{
    using Kind = typename ListChange<Record>::Kind;
    switch (c.kind) {
    case Kind::Append: {
        const qsizetype last = list.count() - 1;
        c.record = list.at(last);
        list.removeAt(last);
        return;
    }
    case Kind::Replace:
        swapReplaced(list, c);
        return;
    case Kind::RemoveAt:
        // The record that moved into the gap goes back to the end, the
        // removed one back into its place.
        if (c.position < list.count()) {
            list.append(list.at(c.position));
            list.replace(c.position, c.record);
        } else {
            list.append(c.record);
        }
        c.record = {};
        return;
    case Kind::Shift:
        list.shift(-c.position, -c.dy);
        return;
    }
}

template <class Record>
void redoChange(ElementList<Record> &list, ListChange<Record> &c)
{
    using Kind = typename ListChange<Record>::Kind;
    switch (c.kind) {
    case Kind::Append:
        list.append(std::move(c.record));
        c.record = {};
        return;
    case Kind::Replace:
        swapReplaced(list, c);
        return;
    case Kind::RemoveAt:
        c.record = list.at(c.position);
        list.removeAt(c.position);
        return;
    case Kind::Shift:
        list.shift(c.position, c.dy);
        return;
    }
}

template <class Record>
void putBack(ElementList<Record> &list, ListRemoval<Record> &c)
{
    list.insertAll(c.positions, std::move(c.records));
    c.records = {};
}

template <class Record>
void takeOut(ElementList<Record> &list, ListRemoval<Record> &c)
{
    c.records.reserve(c.positions.size());
    for (const qint32 p : c.positions)
        c.records.push_back(list.at(p));
    list.removeAll(c.positions);
}

template <class Record>
void undoChange(ElementList<Record> &list, ListRemoval<Record> &c)
{
    if (c.putIn)
        takeOut(list, c);
    else
        putBack(list, c);
}

template <class Record>
void redoChange(ElementList<Record> &list, ListRemoval<Record> &c)
{
    if (c.putIn)
        putBack(list, c);
    else
        takeOut(list, c);
}

template <class Change>
auto &listOf(StationDocument &doc, const Change &)
{
    return elementsOf<typename Change::RecordType>(doc);
}

}  // namespace

void StationEdit::undo()
{
    for (auto it = m_changes.rbegin(); it != m_changes.rend(); ++it) {
        std::visit([this](auto &c) { undoChange(listOf(*m_doc, c), c); }, *it);
    }
}

void StationEdit::redo()
{
    for (Change &change : m_changes) {
        std::visit([this](auto &c) { redoChange(listOf(*m_doc, c), c); }, change);
    }
}

}  // namespace kalmor
