#pragma once

#include <QHash>
#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace kalmor {

// Counts the changes of a list. Assigning a whole list counts as a change
// too, so a reader that remembers the revision of one list object notices
// when another list is moved into it (a load), even if the two counters
// happened to agree.
//
// It also keeps a short log of the positions that single changes touched,
// so that a reader keeping derived data (the renderer's cell index) can
// follow a click without rebuilding it. Changes of the whole list (clear,
// shift, assignment, taking out or putting back records far from the end)
// and a full log end what the log can tell.
class ListRevision {
public:
    // Single changes remembered; a reader further behind rebuilds.
    static constexpr std::size_t LogLimit = 1024;

    ListRevision() = default;
    ListRevision(const ListRevision &other)
        : m_value(other.m_value), m_logStart(other.m_logStart), m_log(other.m_log)
    {
    }
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
    void touch(qint32 position)
    {
        if (m_log.size() >= LogLimit)
            forgetLog();
        m_log.push_back(position);
        ++m_value;
    }
    quint64 value() const { return m_value; }

    // Appends to out the positions touched after revision since (with
    // repeats); false when the log cannot tell them.
    bool touchedSince(quint64 since, std::vector<qint32> &out) const
    {
        if (since < m_logStart || since > m_value)
            return false;
        out.insert(out.end(), m_log.cbegin() + std::ptrdiff_t(since - m_logStart), m_log.cend());
        return true;
    }

private:
    void forgetLog()
    {
        m_log.clear();
        m_logStart = m_value;
    }

    quint64 m_value = 0;
    // m_log[k] is the position the change to revision m_logStart + k + 1 touched.
    quint64 m_logStart = 0;
    std::vector<qint32> m_log;
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
        return m_revision.touchedSince(since, out);
    }

    void reserve(qsizetype n)
    {
        m_records.reserve(std::size_t(n));
        m_single.reserve(n);
    }

    void append(Record r)
    {
        const qint32 i = qint32(m_records.size());
        const quint64 k = key(r.X, r.Y);
        m_records.push_back(std::move(r));
        indexAdd(k, i);
        m_revision.touch(i);
    }

    // Overwrites every field of record i; it keeps its list position.
    void replace(qsizetype i, Record r)
    {
        Record &old = m_records[std::size_t(i)];
        const quint64 oldKey = key(old.X, old.Y);
        const quint64 newKey = key(r.X, r.Y);
        if (oldKey != newKey) {
            indexRemove(oldKey, qint32(i));
            indexAdd(newKey, qint32(i));
        }
        old = std::move(r);
        m_revision.touch(qint32(i));
    }

    // Removes record i; the last record takes its place.
    void removeAt(qsizetype i)
    {
        const qint32 last = qint32(m_records.size()) - 1;
        indexRemove(key(m_records[std::size_t(i)].X, m_records[std::size_t(i)].Y), qint32(i));
        if (i != last) {
            indexRenumber(key(m_records[std::size_t(last)].X, m_records[std::size_t(last)].Y), last, qint32(i));
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
        for (const qint32 p : positions)
            indexRemove(keyAt(p), p);
        std::size_t next = 0;  // into positions
        qint32 to = positions.front();
        for (qint32 from = to; from < qint32(m_records.size()); ++from) {
            if (next < positions.size() && positions[next] == from) {
                ++next;
                continue;
            }
            indexRenumber(keyAt(from), from, to);
            m_records[std::size_t(to)] = std::move(m_records[std::size_t(from)]);
            ++to;
        }
        m_records.resize(std::size_t(to));
        changedFrom(positions.front());
    }

    // The inverse of removeAll: records[k] goes back to positions[k]
    // (ascending, positions in the longer list); the others keep their order.
    void insertAll(const std::vector<qint32> &positions, std::vector<Record> records)
    {
        if (positions.empty())
            return;
        const qint32 oldCount = qint32(m_records.size());
        m_records.resize(m_records.size() + positions.size());
        // From the back, so that every record moves into a place already left.
        qint32 from = oldCount - 1;
        std::size_t next = positions.size();
        for (qint32 to = qint32(m_records.size()) - 1; to >= positions.front(); --to) {
            if (next > 0 && positions[next - 1] == to) {
                --next;
                m_records[std::size_t(to)] = std::move(records[next]);
                continue;
            }
            indexRenumber(keyAt(from), from, to);
            m_records[std::size_t(to)] = std::move(m_records[std::size_t(from)]);
            --from;
        }
        for (const qint32 p : positions)
            indexAdd(keyAt(p), p);
        changedFrom(positions.front());
    }

    void clear()
    {
        m_records.clear();
        m_single.clear();
        m_multi.clear();
        m_offsetX = m_offsetY = 0;
        m_revision.bump();
    }

    // List position of the first record at (x, y), or -1.
    qsizetype firstAt(qint32 x, qint32 y) const
    {
        const quint64 k = key(x, y);
        if (!m_multi.isEmpty()) {
            const auto it = m_multi.constFind(k);
            if (it != m_multi.cend())
                return *std::min_element(it->cbegin(), it->cend());
        }
        return m_single.value(k, -1);
    }

    // List position of the last record at (x, y), or -1: of records
    // stacked on one cell, the one drawn on top.
    qsizetype lastAt(qint32 x, qint32 y) const
    {
        const quint64 k = key(x, y);
        if (!m_multi.isEmpty()) {
            const auto it = m_multi.constFind(k);
            if (it != m_multi.cend())
                return *std::max_element(it->cbegin(), it->cend());
        }
        return m_single.value(k, -1);
    }

    // List positions of every record at (x, y), ascending, into out.
    void positionsAt(qint32 x, qint32 y, std::vector<qint32> &out) const
    {
        out.clear();
        const quint64 k = key(x, y);
        if (!m_multi.isEmpty()) {
            const auto it = m_multi.constFind(k);
            if (it != m_multi.cend()) {
                out.assign(it->cbegin(), it->cend());
                std::sort(out.begin(), out.end());
                return;
            }
        }
        const auto s = m_single.constFind(k);
        if (s != m_single.cend())
            out.push_back(*s);
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
        m_revision.bump();
    }

private:
    // Every position from `first` on holds another record, or none: a
    // short tail (the records placed last) is logged position by position,
    // so that readers follow it without a rebuild; a long one counts as a
    // change of the whole list. One position is logged even when the tail
    // is gone, so that the revision moves on.
    void changedFrom(qint32 first)
    {
        const qint32 end = std::max(qint32(m_records.size()), first + 1);
        if (end - first > qint32(ListRevision::LogLimit)) {
            m_revision.bump();
            return;
        }
        for (qint32 i = first; i < end; ++i)
            m_revision.touch(i);
    }

    quint64 keyAt(qint32 i) const { return key(m_records[std::size_t(i)].X, m_records[std::size_t(i)].Y); }

    quint64 key(qint32 x, qint32 y) const
    {
        return (quint64(quint32(x) - m_offsetX) << 32) | quint64(quint32(y) - m_offsetY);
    }

    void indexAdd(quint64 k, qint32 i)
    {
        if (!m_multi.isEmpty()) {
            const auto it = m_multi.find(k);
            if (it != m_multi.end()) {
                it->push_back(i);
                return;
            }
        }
        const auto s = m_single.find(k);
        if (s == m_single.end()) {
            m_single.insert(k, i);
            return;
        }
        m_multi.insert(k, {*s, i});
        m_single.erase(s);
    }

    void indexRemove(quint64 k, qint32 i)
    {
        if (!m_multi.isEmpty()) {
            const auto it = m_multi.find(k);
            if (it != m_multi.end()) {
                it->erase(std::find(it->begin(), it->end(), i));
                if (it->size() == 1) {
                    m_single.insert(k, it->front());
                    m_multi.erase(it);
                }
                return;
            }
        }
        m_single.remove(k);
    }

    void indexRenumber(quint64 k, qint32 from, qint32 to)
    {
        if (!m_multi.isEmpty()) {
            const auto it = m_multi.find(k);
            if (it != m_multi.end()) {
                *std::find(it->begin(), it->end(), from) = to;
                return;
            }
        }
        m_single[k] = to;
    }

    std::vector<Record> m_records;
    QHash<quint64, qint32> m_single;                // cells holding one record
    QHash<quint64, std::vector<qint32>> m_multi;    // cells holding several
    quint32 m_offsetX = 0;
    quint32 m_offsetY = 0;
    ListRevision m_revision;
};

}  // namespace kalmor
