#pragma once

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
    // than LogLimit, or when a shift came after since.
    bool touchedSince(quint64 since, std::vector<qint32> &out) const
    {
        if (since < m_logStart || since > m_value || since < m_lastUntold || m_value - since > LogLimit
            || since < m_lastShift)
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

}  // namespace kalmor
