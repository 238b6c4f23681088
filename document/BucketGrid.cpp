#include "document/BucketGrid.h"

#include "document/LargeMemory.h"

#include <algorithm>
#include <limits>

namespace kalmor {

std::vector<qint32> BucketGrid::build(const std::vector<qint32> &column, const std::vector<qint32> &row)
{
    std::vector<qint32> slot(column.size());
    build(std::span<const qint32>(column), std::span<const qint32>(row), std::span<qint32>(slot));
    return slot;
}

void BucketGrid::build(std::span<const qint32> column, std::span<const qint32> row, std::span<qint32> slot)
{
    clear();
    const qint32 n = qint32(column.size());
    qint64 left = std::numeric_limits<qint64>::max();
    qint64 right = std::numeric_limits<qint64>::min();
    qint64 top = left;
    qint64 bottom = right;
    qint64 kept = 0;
    for (qint32 i = 0; i < n; ++i) {
        if (column[std::size_t(i)] == LeftOut)
            continue;
        ++kept;
        left = std::min<qint64>(left, column[std::size_t(i)]);
        right = std::max<qint64>(right, column[std::size_t(i)]);
        top = std::min<qint64>(top, row[std::size_t(i)]);
        bottom = std::max<qint64>(bottom, row[std::size_t(i)]);
    }
    const qint64 area = kept == 0 ? 0 : (right - left + 1) * (bottom - top + 1);
    m_dense = area <= 4 * kept + 65536;
    std::fill(slot.begin(), slot.end(), -1);
    reserveLarge(m_items, std::size_t(kept));
    m_items.resize(std::size_t(kept));

    if (m_dense) {
        m_left = kept == 0 ? 0 : left;
        m_top = kept == 0 ? 0 : top;
        m_width = kept == 0 ? 0 : right - left + 1;
        m_height = kept == 0 ? 0 : bottom - top + 1;
        m_starts.assign(std::size_t(area + 1), 0);
        for (qint32 i = 0; i < n; ++i) {
            if (column[std::size_t(i)] == LeftOut)
                continue;
            const qint64 b = (row[std::size_t(i)] - m_top) * m_width + column[std::size_t(i)] - m_left;
            slot[std::size_t(i)] = qint32(b);
            ++m_starts[std::size_t(b) + 1];
        }
        for (std::size_t b = 1; b < m_starts.size(); ++b)
            m_starts[b] += m_starts[b - 1];
        std::vector<qint32> fill(m_starts.begin(), m_starts.end() - 1);
        for (qint32 i = 0; i < n; ++i) {
            if (slot[std::size_t(i)] < 0)
                continue;
            const qint32 at = fill[std::size_t(slot[std::size_t(i)])]++;
            slot[std::size_t(i)] = at;
            m_items[std::size_t(at)] = i;
        }
        return;
    }

    std::vector<std::pair<quint64, qint32>> keyed;
    reserveLarge(keyed, std::size_t(kept));
    for (qint32 i = 0; i < n; ++i) {
        if (column[std::size_t(i)] != LeftOut)
            keyed.emplace_back(key(column[std::size_t(i)], row[std::size_t(i)]), i);
    }
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t k = 0; k < keyed.size(); ++k) {
        m_items[k] = keyed[k].second;
        slot[std::size_t(keyed[k].second)] = qint32(k);
        auto it = m_sparse.find(keyed[k].first);
        if (it == m_sparse.end())
            m_sparse.insert(keyed[k].first, {qint32(k), qint32(k + 1)});
        else
            it->second = qint32(k + 1);
    }
}

void BucketGrid::clear()
{
    m_dense = true;
    m_left = m_top = m_width = m_height = 0;
    m_starts.clear();
    m_sparse.clear();
    m_items.clear();
}

std::pair<qint32, qint32> BucketGrid::range(qint64 bx, qint64 by) const
{
    if (m_dense) {
        if (bx < m_left || bx >= m_left + m_width || by < m_top || by >= m_top + m_height)
            return {0, 0};
        const std::size_t i = std::size_t((by - m_top) * m_width + bx - m_left);
        return {m_starts[i], m_starts[i + 1]};
    }
    return m_sparse.value(key(bx, by), {0, 0});
}

}  // namespace kalmor
