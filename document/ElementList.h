#pragma once

#include "document/CellIndex.h"

#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <deque>
#include <vector>

namespace kalmor {

// Counts the changes of a list. Assigning a whole list counts as a change
// too, so a reader that remembers the revision of one list object notices
// when another list is moved into it (a load), even if the two counters
// happened to agree.
//
// It also keeps a log of the positions that single changes touched, so
// that a reader keeping derived data (the renderer's cell index) can
// follow a click, a paste or a removal of many without rebuilding it. The
// log holds the latest LogLimit runs of changes (positions counting up or
// down by one, as a paste and its undo make them, share a run); a reader
// further behind cannot be told. Shifts are noted in the log too, so that
// a reader that follows them by their offset can go on reading it;
// changes of the whole list (clear, assignment) end what the log can tell.
//
// Taking records out or putting them back with the order of the rest
// kept is noted as a renumbering, so that a reader that follows those
// renumbers its positions instead of reading every position that moved;
// far from the end, it ends what the log tells readers of positions alone.
class ListRevision {
public:
    // Runs of changes the log keeps; readers of positions alone are told
    // at most this many changes.
    static constexpr std::size_t LogLimit = 1 << 16;

    // Records left the list, or went back in, with the others keeping
    // their order: removed positions in the numbering before the change,
    // inserted ones in the numbering after it, ascending.
    struct Renumbering {
        quint64 revision = 0;  // the revision the change made
        bool inserted = false;
        std::vector<qint32> positions;
        qint32 count = 0;  // records in the list after the change
        // Positions logged one by one right after it, from positions[0]
        // on; none when the tail was too long to log.
        std::size_t touches = 0;
    };

    ListRevision() = default;
    ListRevision(const ListRevision &other) = default;
    ListRevision &operator=(const ListRevision &other)
    {
        m_value = std::max(m_value, other.m_value) + 1;
        forgetLog();
        return *this;
    }
    // A change of the whole list.
    void bump()
    {
        ++m_value;
        forgetLog();
    }
    // A change of the record at one position only.
    void touch(qint32 position) { note(position); }
    // Every record moved by the same offset; positions stay.
    void shifted()
    {
        note(NoPosition);
        m_lastShift = m_value;
    }
    // A renumbering, logged before the touches of the positions it
    // changed, of which there are `touches` (none for a long tail).
    void renumbered(bool inserted, std::vector<qint32> positions, qint32 count, std::size_t touches)
    {
        note(Renumbered);
        m_renumberings.push_back(Renumbering{m_value, inserted, std::move(positions), count, touches});
        if (touches == 0)
            m_lastUntold = m_value;
    }
    quint64 value() const { return m_value; }

    // Appends to out the positions touched after revision since (with
    // repeats); false when the log cannot tell them, when they are more
    // than LogLimit, or, unless acrossShifts, when a shift came after since.
    bool touchedSince(quint64 since, std::vector<qint32> &out, bool acrossShifts) const
    {
        if (since < m_logStart || since > m_value || since < m_lastUntold || m_value - since > LogLimit
            || (!acrossShifts && since < m_lastShift))
            return false;
        forEachSince(since, [&out](qint32 position) {
            if (position >= 0)
                out.push_back(position);
        });
        return true;
    }

    // For a reader that follows shifts and renumberings: appends the
    // touched positions to touched and, for every renumbering, where in
    // touched it came (the touches before it were made in the numbering
    // before it); false when the log cannot tell.
    struct RenumberedAt {
        std::size_t touchedBefore = 0;
        const Renumbering *change = nullptr;
    };
    bool changesSince(quint64 since, std::vector<qint32> &touched, std::vector<RenumberedAt> &renumbered) const
    {
        if (since < m_logStart || since > m_value)
            return false;
        auto next = std::lower_bound(m_renumberings.cbegin(), m_renumberings.cend(), since + 1,
                                     [](const Renumbering &r, quint64 v) { return r.revision < v; });
        forEachSince(since, [&](qint32 position) {
            if (position >= 0)
                touched.push_back(position);
            else if (position == Renumbered)
                renumbered.push_back(RenumberedAt{touched.size(), &*next++});
        });
        return true;
    }

private:
    static constexpr qint32 NoPosition = -1;
    static constexpr qint32 Renumbered = -2;

    // Changes in a row whose positions count up or down by one (a paste
    // appends, its undo removes from the end, a renumbered tail is touched
    // in order) share one run, so that they fill the log by one.
    struct Run {
        quint64 revision = 0;  // made by the run's first change
        qint32 first = 0;      // position, NoPosition or Renumbered
        qint32 last = 0;
        qint32 length() const { return std::abs(last - first) + 1; }
        qint32 step() const { return last < first ? -1 : 1; }
    };

    void note(qint32 position)
    {
        ++m_value;
        if (!m_log.empty() && position >= 0 && m_log.back().first >= 0) {
            Run &run = m_log.back();
            const bool continues = run.first == run.last ? std::abs(position - run.last) == 1
                                                         : position == run.last + run.step();
            if (continues) {
                run.last = position;
                return;
            }
        }
        if (m_log.size() >= LogLimit) {
            // Keep the newer half: readers keep up frame by frame.
            const std::size_t dropped = m_log.size() / 2;
            m_log.erase(m_log.begin(), m_log.begin() + std::ptrdiff_t(dropped));
            m_logStart = m_log.front().revision - 1;
            while (!m_renumberings.empty() && m_renumberings.front().revision <= m_logStart)
                m_renumberings.pop_front();
        }
        m_log.push_back(Run{m_value, position, position});
    }

    // Calls visit with what each change after revision since touched, in
    // order: a position, NoPosition or Renumbered.
    template <class Visit>
    void forEachSince(quint64 since, Visit visit) const
    {
        auto run = std::upper_bound(m_log.cbegin(), m_log.cend(), since + 1,
                                    [](quint64 v, const Run &r) { return v < r.revision; });
        if (run == m_log.cbegin())
            return;
        --run;
        qint32 skip = qint32(std::min<quint64>(since + 1 - run->revision, quint64(run->length())));
        for (; run != m_log.cend(); ++run, skip = 0) {
            const qint32 step = run->step();
            for (qint32 k = skip, n = run->length(); k < n; ++k)
                visit(run->first + k * step);
        }
    }

    void forgetLog()
    {
        m_log.clear();
        m_renumberings.clear();
        m_logStart = m_value;
        m_lastShift = m_value;
        m_lastUntold = m_value;
    }

    quint64 m_value = 0;
    // The log tells the changes to revisions m_logStart + 1 .. m_value.
    quint64 m_logStart = 0;
    quint64 m_lastShift = 0;
    // Readers of positions alone cannot pass the last renumbering whose
    // positions were not logged.
    quint64 m_lastUntold = 0;
    std::vector<Run> m_log;
    std::deque<Renumbering> m_renumberings;  // in the order of the log
};

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
        return m_revision.touchedSince(since, out, false);
    }

    // The same for a reader that follows shifts by shiftTotal(): a shift
    // does not end what the log can tell.
    bool positionsTouchedSince(quint64 since, std::vector<qint32> &out) const
    {
        return m_revision.touchedSince(since, out, true);
    }

    // The same for a reader that also follows removeAll and insertAll by
    // renumbering its positions, however far from the end they reach.
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
        qint32 from = qint32(m_records.size()) - 1;
        m_records.resize(m_records.size() + positions.size());
        const bool reindexAll = longTail(positions.front());
        // From the back, so that every record moves into a place already left.
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
        if (reindexAll) {
            reindex();
        } else {
            for (const qint32 p : positions)
                m_cells.added(keyAt(p), p);
        }
        changedFrom(true, positions);
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
        std::vector<quint64> keys(m_records.size());
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
