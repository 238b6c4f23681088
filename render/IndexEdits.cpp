#include "render/IndexEdits.h"

#include <algorithm>
#include <limits>

namespace kalmor::detail {

namespace {

// Records waiting outside the buckets before they are grouped: a frame
// walks them all, a grouping walks every record noted.
constexpr std::size_t LatestLimit = 2048;

}  // namespace

qint64 IndexEdits::bucket(qint64 cell)
{
    constexpr qint64 Low = std::numeric_limits<qint32>::min();
    constexpr qint64 High = std::numeric_limits<qint32>::max();
    return std::clamp(cell, Low, High) >> BucketGrid::Shift;
}

void IndexEdits::clear()
{
    m_records.clear();
    m_at.clear();
    m_plain.clear();
    m_grid.clear();
    m_grouped = 0;
    m_live = 0;
}

void IndexEdits::forget(qint32 pos)
{
    if (std::size_t(pos) >= m_at.size() || m_at[std::size_t(pos)] < 0)
        return;
    m_records[std::size_t(m_at[std::size_t(pos)])].entry.pos = -1;
    m_at[std::size_t(pos)] = -1;
    --m_live;
}

void IndexEdits::add(const Edited &e)
{
    const std::size_t pos = std::size_t(e.entry.pos);
    if (pos >= m_at.size())
        m_at.resize(std::max(pos + 1, m_at.size() * 2), -1);
    m_at[pos] = qint32(m_records.size());
    if (e.plain)
        m_plain.push_back(qint32(m_records.size()));
    m_records.push_back(e);
    ++m_live;
}

void IndexEdits::settle()
{
    const std::size_t forgotten = m_records.size() - m_live;
    if (m_records.size() - m_grouped > LatestLimit || forgotten > std::max(LatestLimit, m_live))
        regroup();
}

void IndexEdits::regroup()
{
    std::erase_if(m_records, [](const Edited &e) { return e.entry.pos < 0; });
    m_plain.clear();
    std::vector<qint32> column(m_records.size());
    std::vector<qint32> row(m_records.size());
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const Edited &e = m_records[i];
        m_at[std::size_t(e.entry.pos)] = qint32(i);
        if (e.plain) {
            m_plain.push_back(qint32(i));
            column[i] = BucketGrid::LeftOut;
            continue;
        }
        column[i] = BucketGrid::bucketOf(qint32(e.x));
        row[i] = BucketGrid::bucketOf(qint32(e.y));
    }
    m_grid.build(column, row);
    m_grouped = m_records.size();
}

}  // namespace kalmor::detail
