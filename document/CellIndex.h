#pragma once

#include "document/BucketGrid.h"
#include "document/LargeMemory.h"

#include <QHash>
#include <QtGlobal>

#include <algorithm>
#include <span>
#include <vector>

namespace kalmor {

// Which list positions hold a record at a cell, for ElementList. Cells
// are given as keys: the 32-bit column and row, each taken modulo 2^32,
// in one 64-bit number.
//
// A whole list is indexed in one pass into buckets (a load of a million
// records costs a few milliseconds, not a million hash insertions). Single
// edits afterwards are noted in a small hash beside it; bucket entries
// they made stale are recognised by asking the list where the record at
// that position lies now.
class CellIndex {
public:
    static quint64 key(quint32 column, quint32 row) { return (quint64(column) << 32) | row; }

    // Indexes positions 0 .. keys.size() - 1, position i at keys[i].
    void rebuild(std::span<const quint64> keys);
    void clear();

    // The record at pos now lies at the key / no longer lies there.
    void added(quint64 key, qint32 pos);
    void removed(quint64 key, qint32 pos);

    // The lowest position whose record lies at the key, or -1; keyAt(pos)
    // tells where the record at a position below count lies now.
    template <class KeyAt>
    qint32 first(quint64 key, qsizetype count, KeyAt keyAt) const
    {
        qint32 best = editedFirst(key);
        const auto column = qint32(quint32(key >> 32));
        const auto row = qint32(quint32(key));
        const auto [begin, end] = m_built.range(BucketGrid::bucketOf(column), BucketGrid::bucketOf(row));
        const quint8 cell = cellInBucket(key);
        for (qint32 k = begin; k < end; ++k) {
            if (m_builtCell[std::size_t(k)] != cell)
                continue;
            const qint32 pos = m_built.items()[std::size_t(k)];
            if (best >= 0 && pos >= best)
                break;
            if (pos < count && keyAt(pos) == key)
                return pos;
        }
        return best;
    }

    // Every position whose record lies at the key, ascending, into out.
    template <class KeyAt>
    void positions(quint64 key, qsizetype count, KeyAt keyAt, std::vector<qint32> &out) const
    {
        out.clear();
        editedPositions(key, out);
        const auto [begin, end] = m_built.range(BucketGrid::bucketOf(qint32(quint32(key >> 32))),
                                                BucketGrid::bucketOf(qint32(quint32(key))));
        const quint8 cell = cellInBucket(key);
        for (qint32 k = begin; k < end; ++k) {
            const qint32 pos = m_built.items()[std::size_t(k)];
            if (m_builtCell[std::size_t(k)] == cell && pos < count && keyAt(pos) == key)
                out.push_back(pos);
        }
        // A record edited back onto its cell is known both ways.
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }

private:
    static quint8 cellInBucket(quint64 key)
    {
        constexpr quint64 Mask = (1u << BucketGrid::Shift) - 1;
        return quint8(((key >> 32) & Mask) | ((key & Mask) << BucketGrid::Shift));
    }
    qint32 editedFirst(quint64 key) const;
    void editedPositions(quint64 key, std::vector<qint32> &out) const;

    // What the last rebuild found; entries may since have gone stale.
    BucketGrid m_built;
    LargeVector<quint8> m_builtCell;  // cell within its bucket, in m_built's order
    // Where edits since the rebuild put records: exact at all times.
    QHash<quint64, qint32> m_single;               // cells holding one edited record
    QHash<quint64, std::vector<qint32>> m_multi;   // cells holding several
};

}  // namespace kalmor
