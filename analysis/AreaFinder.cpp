#include "analysis/AreaFinder.h"

#include <algorithm>
#include <array>
#include <limits>

namespace kalmor {

namespace {

constexpr qint64 MaxBuckets = 64;  // a side
// Many large areas take fewer buckets, so that the lists stay small.
constexpr qint64 MaxListed = qint64(1) << 22;

bool holdsCells(const TOblast &a) { return a.SIRKA > 0 && a.VYSKA > 0; }

}  // namespace

AreaFinder::AreaFinder(std::span<const TOblast> areas) : m_areas(areas.begin(), areas.end())
{
    qint64 left = std::numeric_limits<qint64>::max(), top = left;
    qint64 right = std::numeric_limits<qint64>::min(), bottom = right;  // one past
    for (const TOblast &a : m_areas) {
        if (!holdsCells(a))
            continue;
        left = std::min<qint64>(left, a.X);
        top = std::min<qint64>(top, a.Y);
        right = std::max(right, qint64(a.X) + a.SIRKA);
        bottom = std::max(bottom, qint64(a.Y) + a.VYSKA);
    }
    if (left > right)
        return;  // no area holds a cell
    m_left = left;
    m_top = top;
    const auto span = [this](const TOblast &a) {
        const qint64 x0 = (a.X - m_left) / m_step, x1 = (qint64(a.X) + a.SIRKA - 1 - m_left) / m_step;
        const qint64 y0 = (a.Y - m_top) / m_step, y1 = (qint64(a.Y) + a.VYSKA - 1 - m_top) / m_step;
        return std::array<qint64, 4>{x0, y0, x1, y1};
    };
    for (qint64 side = MaxBuckets;; side /= 2) {
        m_step = std::max<qint64>(1, (std::max(right - left, bottom - top) + side - 1) / side);
        qint64 listed = 0;
        for (const TOblast &a : m_areas) {
            if (holdsCells(a)) {
                const auto [x0, y0, x1, y1] = span(a);
                listed += (x1 - x0 + 1) * (y1 - y0 + 1);
            }
        }
        if (listed <= MaxListed || side == 1)
            break;
    }
    m_columns = (right - left + m_step - 1) / m_step;
    m_rows = (bottom - top + m_step - 1) / m_step;
    // Two passes: count each bucket's areas, then place them in area order.
    const auto buckets = [&span, this](const TOblast &a, auto &&f) {
        const auto [x0, y0, x1, y1] = span(a);
        for (qint64 y = y0; y <= y1; ++y) {
            for (qint64 x = x0; x <= x1; ++x)
                f(std::size_t(y * m_columns + x));
        }
    };
    m_start.assign(std::size_t(m_columns * m_rows) + 1, 0);
    for (const TOblast &a : m_areas) {
        if (holdsCells(a))
            buckets(a, [this](std::size_t b) { ++m_start[b + 1]; });
    }
    for (std::size_t b = 1; b < m_start.size(); ++b)
        m_start[b] += m_start[b - 1];
    m_ids.resize(std::size_t(m_start.back()));
    std::vector<qint32> filled(m_start.begin(), m_start.end() - 1);
    for (qint32 i = 0; i < qint32(m_areas.size()); ++i) {
        if (holdsCells(m_areas[std::size_t(i)]))
            buckets(m_areas[std::size_t(i)], [&](std::size_t b) { m_ids[std::size_t(filled[b]++)] = i; });
    }
}

qint32 AreaFinder::first(qint64 x, qint64 y) const
{
    const qint64 column = x - m_left, row = y - m_top;
    if (column < 0 || row < 0 || column >= m_columns * m_step || row >= m_rows * m_step)
        return -1;
    const std::size_t b = std::size_t(row / m_step * m_columns + column / m_step);
    for (qint32 k = m_start[b]; k < m_start[b + 1]; ++k) {
        const qint32 i = m_ids[std::size_t(k)];
        if (m_areas[std::size_t(i)].contains(x, y))
            return i;
    }
    return -1;
}

}  // namespace kalmor
