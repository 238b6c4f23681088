#pragma once

#include "render/index/IndexBuckets.h"

#include <vector>

namespace kalmor::detail {

class Moves;

// The records of a list as its buckets were built, and where they stand
// now. A built record no longer shows once its position was edited, once
// it was taken out, and once it stands past the end of the list; where it
// stands after records were taken out or put back before it is kept in a
// table by built position, moved a stretch at a time.
class BuiltRecords {
public:
    // Builds the buckets: entries[i] describes the record at position i,
    // in bucket (column[i], row[i]) or drawn plain (column[i] LeftOut).
    void build(const std::vector<Entry> &entries, const std::vector<qint32> &column, const std::vector<qint32> &row);

    ShownAt shownAt() const { return ShownAt{m_hidden.data(), m_now.empty() ? nullptr : m_now.data()}; }

    // The built record shown at pos now, or -1.
    qint32 at(qint32 pos);
    void hide(qint32 built);
    // Hides every built record that stands at or past count.
    void hideFrom(qint32 count);
    // Moves every built record as the change moved its position; those it
    // took out, and those past the end before it, are hidden.
    void renumber(const Moves &moves);

    void gather(const CellRange &cells, qint64 sx, qint64 sy, std::vector<IndexedDraw> &out)
    {
        m_buckets.gather(cells, sx, sy, shownAt(), out);
    }
    void gatherPlain(std::vector<IndexedDraw> &out) const { m_buckets.gatherPlain(shownAt(), out); }
    void thinChanged() { m_buckets.thinChanged(shownAt()); }

private:
    bool hidden(qint32 built) const { return (m_hidden[std::size_t(built) >> 6] >> (built & 63)) & 1; }

    Buckets m_buckets;
    qint32 m_count = 0;
    // By built position: the slot in the buckets, while a bucket is crowded.
    std::vector<qint32> m_slot;
    std::vector<quint64> m_hidden;  // a bit by built position
    // Built records from this one on are all hidden.
    qint32 m_shownBefore = 0;
    // Position now by built position, ascending, a record taken out
    // sharing the position of the next one kept (empty while every built
    // record stands where it was built).
    std::vector<qint32> m_now;
    // Where in m_now the records now at each stretch of positions begin
    // (empty until asked for after a renumbering).
    std::vector<qint32> m_from;
};

}  // namespace kalmor::detail
