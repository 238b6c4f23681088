#pragma once

#include <QHash>
#include <QtGlobal>

#include <algorithm>
#include <limits>
#include <span>
#include <utility>
#include <vector>

namespace kalmor {

// Groups items by the square bucket of 16 x 16 cells they lie in, so that
// everything near a cell or a rectangle is found without walking a whole
// list. Where the items lie close together (any real panel) the buckets
// form a dense grid filled by a counting sort; items spread over a far
// larger area fall back to a hash of buckets. Within a bucket the items
// keep their ascending order.
class BucketGrid {
public:
    static constexpr int Shift = 4;  // 16 cells
    // Bucket column of an item that is left out.
    static constexpr qint32 LeftOut = std::numeric_limits<qint32>::min();

    static constexpr qint32 bucketOf(qint32 cell) { return cell >> Shift; }

    // Groups items 0 .. n - 1, item i lying in bucket (column[i], row[i]);
    // items whose column is LeftOut are not kept. Returns where each item
    // went in items() (-1 for those left out), so that callers can lay
    // data of their own out in the same order while reading their items
    // in sequence.
    std::vector<qint32> build(const std::vector<qint32> &column, const std::vector<qint32> &row);
    // The same, writing where each item went into slot (as long as column).
    void build(std::span<const qint32> column, std::span<const qint32> row, std::span<qint32> slot);
    void clear();

    // Item numbers, bucket by bucket.
    const std::vector<qint32> &items() const { return m_items; }

    // The range of items() that bucket (bx, by) holds; empty when none.
    std::pair<qint32, qint32> range(qint64 bx, qint64 by) const;

    // Calls visit(bx, by, begin, end) with the range of items() of every
    // non-empty bucket (bx, by) in the rectangle [bx0, bx1] x [by0, by1].
    template <class Visit>
    void forEachIn(qint64 bx0, qint64 bx1, qint64 by0, qint64 by1, Visit visit) const
    {
        if (m_dense) {
            const qint64 left = std::max(bx0, m_left);
            const qint64 right = std::min(bx1, m_left + m_width - 1);
            const qint64 top = std::max(by0, m_top);
            const qint64 bottom = std::min(by1, m_top + m_height - 1);
            for (qint64 by = top; left <= right && by <= bottom; ++by) {
                const qint64 row = (by - m_top) * m_width - m_left;
                for (qint64 bx = left; bx <= right; ++bx) {
                    const qint32 begin = m_starts[std::size_t(row + bx)];
                    const qint32 end = m_starts[std::size_t(row + bx + 1)];
                    if (begin != end)
                        visit(bx, by, begin, end);
                }
            }
        } else if ((bx1 - bx0 + 1) * (by1 - by0 + 1) > qint64(m_sparse.size())) {
            for (auto it = m_sparse.cbegin(); it != m_sparse.cend(); ++it) {
                const qint64 bx = qint32(quint32(it.key() >> 32));
                const qint64 by = qint32(quint32(it.key()));
                if (bx >= bx0 && bx <= bx1 && by >= by0 && by <= by1)
                    visit(bx, by, it->first, it->second);
            }
        } else {
            for (qint64 by = by0; by <= by1; ++by) {
                for (qint64 bx = bx0; bx <= bx1; ++bx) {
                    const auto it = m_sparse.constFind(key(bx, by));
                    if (it != m_sparse.cend())
                        visit(bx, by, it->first, it->second);
                }
            }
        }
    }

    // Calls visit(bx, by, begin, end) for every non-empty bucket (bx, by).
    template <class Visit>
    void forEachBucket(Visit visit) const
    {
        if (!m_dense) {
            for (auto it = m_sparse.cbegin(); it != m_sparse.cend(); ++it)
                visit(qint64(qint32(quint32(it.key() >> 32))), qint64(qint32(quint32(it.key()))), it->first, it->second);
            return;
        }
        for (std::size_t b = 0; b + 1 < m_starts.size(); ++b) {
            if (m_starts[b] != m_starts[b + 1])
                visit(m_left + qint64(b) % m_width, m_top + qint64(b) / m_width, m_starts[b], m_starts[b + 1]);
        }
    }

private:
    static quint64 key(qint64 bx, qint64 by)
    {
        return (quint64(quint32(qint32(bx))) << 32) | quint64(quint32(qint32(by)));
    }

    bool m_dense = true;
    // Dense grid: bucket (bx, by) holds m_items[m_starts[i]] .. m_items[m_starts[i + 1]]
    // with i = (by - m_top) * m_width + (bx - m_left).
    qint64 m_left = 0;
    qint64 m_top = 0;
    qint64 m_width = 0;
    qint64 m_height = 0;
    std::vector<qint32> m_starts;
    QHash<quint64, std::pair<qint32, qint32>> m_sparse;
    std::vector<qint32> m_items;
};

}  // namespace kalmor
