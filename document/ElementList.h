#pragma once

#include "document/CellIndex.h"
#include "document/LargeMemory.h"
#include "document/ListRevision.h"

#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace kalmor {

// An ordered list of element records with an index by cell, so that "the
// first record in list order at this cell" costs O(1) on average however
// long the list is. Files may hold several records for one cell; the index
// keeps all of them and answers with the lowest list position, exactly as
// a walk from the start of the list would.
//
// The index stores cells relative to an offset that shift() moves, so
// shifting every record does not rebuild it. Keys are formed modulo 2^32
// per axis, which is a bijection, so no coordinate a file holds can
// overflow or collide.
template <class Record>
class ElementList {
public:
    qsizetype count() const { return qsizetype(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }
    const Record &at(qsizetype i) const { return m_records[std::size_t(i)]; }
    auto begin() const { return m_records.cbegin(); }
    auto end() const { return m_records.cend(); }

    // Grows with every change of the records, so that readers keeping
    // derived data (the renderer's cell index) know when to rebuild it.
    quint64 revision() const { return m_revision.value(); }

    // Appends to out the positions whose record append, replace or removeAt
    // changed after revision since (a removal touches the position the last
    // record moved into, and the list is shorter; removeAll and insertAll
    // near the end touch every position from the first they changed);
    // false when only a rebuild can tell, after clear, shift, assignment,
    // removeAll or insertAll far from the end, or many changes.
    bool positionsChangedSince(quint64 since, std::vector<qint32> &out) const
    {
        return m_revision.touchedSince(since, out);
    }

    // The same for a reader that follows shifts by shiftTotal() and
    // removeAll and insertAll by renumbering its positions, however far
    // from the end they reach.
    bool changesSince(quint64 since, std::vector<qint32> &touched,
                      std::vector<ListRevision::RenumberedAt> &renumbered) const
    {
        return m_revision.changesSince(since, touched, renumbered);
    }

    // How far shift() has moved the records in all, exactly, since the list
    // was made. A record not touched between two readings moved by the
    // difference of the two totals.
    struct Offset {
        qint64 dx = 0;
        qint64 dy = 0;
    };
    Offset shiftTotal() const { return m_shiftTotal; }

    void reserve(qsizetype n) { m_records.reserve(std::size_t(n)); }

    void append(Record r)
    {
        const qint32 i = qint32(m_records.size());
        const quint64 k = key(r.X, r.Y);
        m_records.push_back(std::move(r));
        m_cells.added(k, i);
        m_revision.touch(i);
    }

    // Appends many records in one change of the whole list; a list that
    // was empty gets its cell index in one pass, as a load needs it.
    void appendAll(std::vector<Record> records)
    {
        if (!m_records.empty()) {
            for (Record &r : records)
                append(std::move(r));
            return;
        }
        m_records = std::move(records);
        reindex();
        m_revision.bump();
    }

    // Overwrites every field of record i; it keeps its list position.
    void replace(qsizetype i, Record r)
    {
        Record &old = m_records[std::size_t(i)];
        const quint64 oldKey = key(old.X, old.Y);
        const quint64 newKey = key(r.X, r.Y);
        if (oldKey != newKey) {
            m_cells.removed(oldKey, qint32(i));
            m_cells.added(newKey, qint32(i));
        }
        old = std::move(r);
        m_revision.touch(qint32(i));
    }

    // Removes record i; the last record takes its place.
    void removeAt(qsizetype i)
    {
        const qint32 last = qint32(m_records.size()) - 1;
        m_cells.removed(keyAt(qint32(i)), qint32(i));
        if (i != last) {
            const quint64 lastKey = keyAt(last);
            m_cells.removed(lastKey, last);
            m_cells.added(lastKey, qint32(i));
            m_records[std::size_t(i)] = std::move(m_records[std::size_t(last)]);
        }
        m_records.pop_back();
        m_revision.touch(qint32(i));
    }

    // Removes the records at the given positions (ascending, distinct);
    // the others keep their order.
    void removeAll(const std::vector<qint32> &positions)
    {
        if (positions.empty())
            return;
        const bool reindexAll = longTail(positions.front());
        if (!reindexAll) {
            for (const qint32 p : positions)
                m_cells.removed(keyAt(p), p);
        }
        std::size_t next = 0;  // into positions
        qint32 to = positions.front();
        for (qint32 from = to; from < qint32(m_records.size()); ++from) {
            if (next < positions.size() && positions[next] == from) {
                ++next;
                continue;
            }
            m_records[std::size_t(to)] = std::move(m_records[std::size_t(from)]);
            if (!reindexAll)
                renumbered(from, to);
            ++to;
        }
        m_records.resize(std::size_t(to));
        if (reindexAll)
            reindex();
        changedFrom(false, positions);
    }

    // The inverse of removeAll: records[k] goes back to positions[k]
    // (ascending, positions in the longer list); the others keep their order.
    void insertAll(const std::vector<qint32> &positions, std::vector<Record> records)
    {
        if (positions.empty())
            return;
        // Into an empty list the records are the list.
        if (m_records.empty())
            m_records = std::move(records);
        else
            moveApart(positions, records);
        if (longTail(positions.front())) {
            reindex();
        } else {
            for (const qint32 p : positions)
                m_cells.added(keyAt(p), p);
        }
        changedFrom(true, positions);
    }

    // Moves every record out and leaves the list empty.
    std::vector<Record> takeAll()
    {
        std::vector<Record> records = std::move(m_records);
        clear();
        return records;
    }

    void clear()
    {
        m_records.clear();
        m_cells.clear();
        m_offsetX = m_offsetY = 0;
        m_revision.bump();
    }

    // List position of the first record at (x, y), or -1.
    qsizetype firstAt(qint32 x, qint32 y) const
    {
        return m_cells.first(key(x, y), count(), [this](qint32 pos) { return keyAt(pos); });
    }

    // List position of the last record at (x, y), or -1: of records
    // stacked on one cell, the one drawn on top.
    qsizetype lastAt(qint32 x, qint32 y) const
    {
        std::vector<qint32> stack;
        positionsAt(x, y, stack);
        return stack.empty() ? -1 : stack.back();
    }

    // List positions of every record at (x, y), ascending, into out.
    void positionsAt(qint32 x, qint32 y, std::vector<qint32> &out) const
    {
        m_cells.positions(key(x, y), count(), [this](qint32 pos) { return keyAt(pos); }, out);
    }

    // Moves every record by (dx, dy). The caller has made sure that no
    // coordinate leaves the 32-bit range.
    void shift(qint32 dx, qint32 dy)
    {
        for (Record &r : m_records) {
            r.X = qint32(qint64(r.X) + dx);
            r.Y = qint32(qint64(r.Y) + dy);
        }
        m_offsetX += quint32(dx);
        m_offsetY += quint32(dy);
        m_shiftTotal.dx += dx;
        m_shiftTotal.dy += dy;
        m_revision.shifted();
    }

private:
    // Every position from the first one changed on holds another record,
    // or none: the renumbering is logged, then a short tail (the records
    // placed last) position by position, so that readers of positions
    // alone follow it without a rebuild; a long one they cannot follow.
    // One position is logged even when the tail is gone.
    void changedFrom(bool inserted, const std::vector<qint32> &positions)
    {
        const qint32 first = positions.front();
        const qint32 end = std::max(qint32(m_records.size()), first + 1);
        // A quarter of the log at most, so that the tail and the edits
        // around it stay in what the log keeps until readers catch up.
        const bool logged = qint64(m_records.size()) - first <= qint64(ListRevision::LogLimit / 4);
        m_revision.renumbered(inserted, positions, qint32(m_records.size()), logged ? std::size_t(end - first) : 0);
        if (!logged)
            return;
        for (qint32 i = first; i < end; ++i)
            m_revision.touch(i);
    }

    // insertAll into a list holding records: those after each position
    // move up, from the back, so that every record moves into a place
    // already left.
    void moveApart(const std::vector<qint32> &positions, std::vector<Record> &records)
    {
        qint32 from = qint32(m_records.size()) - 1;
        m_records.resize(m_records.size() + positions.size());
        const bool reindexAll = longTail(positions.front());
        std::size_t next = positions.size();
        for (qint32 to = qint32(m_records.size()) - 1; to >= positions.front(); --to) {
            if (next > 0 && positions[next - 1] == to) {
                --next;
                m_records[std::size_t(to)] = std::move(records[next]);
                continue;
            }
            m_records[std::size_t(to)] = std::move(m_records[std::size_t(from)]);
            if (!reindexAll)
                renumbered(from, to);
            --from;
        }
    }

    quint64 key(qint32 x, qint32 y) const
    {
        return CellIndex::key(quint32(x) - m_offsetX, quint32(y) - m_offsetY);
    }
    quint64 keyAt(qint32 pos) const { return key(m_records[std::size_t(pos)].X, m_records[std::size_t(pos)].Y); }

    // Whether the records from `first` on are too many to follow one by
    // one, in the cell index as in the change log.
    bool longTail(qint32 first) const { return qint64(m_records.size()) - first > qint64(ListRevision::LogLimit); }

    // The record now at `to` was at `from`.
    void renumbered(qint32 from, qint32 to)
    {
        const quint64 k = keyAt(to);
        m_cells.removed(k, from);
        m_cells.added(k, to);
    }

    // Indexes every record in one pass.
    void reindex()
    {
        LargeVector<quint64> keys(m_records.size());
        for (std::size_t i = 0; i < m_records.size(); ++i)
            keys[i] = keyAt(qint32(i));
        m_cells.rebuild(keys);
    }

    std::vector<Record> m_records;
    CellIndex m_cells;
    quint32 m_offsetX = 0;
    quint32 m_offsetY = 0;
    Offset m_shiftTotal;
    ListRevision m_revision;
};

}  // namespace kalmor
