#include "render/index/IndexBuilt.h"

#include "render/index/IndexMoves.h"

#include <algorithm>
#include <numeric>

namespace kalmor::detail {

namespace {

// Positions per step of the table that tells where in m_now the built
// records now at a stretch of positions begin.
constexpr int StretchShift = 4;

}  // namespace

void BuiltRecords::build(const std::vector<Entry> &entries, const std::vector<qint32> &column,
                         const std::vector<qint32> &row)
{
    m_count = qint32(entries.size());
    // At least one word, so that shownAt() tells built records from edited ones.
    m_hidden.assign(std::size_t(m_count) / 64 + 1, 0);
    m_shownBefore = m_count;
    m_now.clear();
    m_from.clear();
    std::vector<qint32> slot = m_buckets.build(entries, column, row, shownAt());
    if (m_buckets.crowded())
        m_slot = std::move(slot);
    else
        m_slot.clear();
}

// Built records keep their order however they are renumbered, so the one
// at a position is found by a search, within the stretch of its position;
// records taken out share the number of the next one kept, which stands
// after them, so the last of equal numbers is the candidate.
qint32 BuiltRecords::at(qint32 pos)
{
    if (m_now.empty())
        return pos < m_count && !hidden(pos) ? pos : -1;
    if (m_from.empty()) {
        // Filled when first asked: a deleted selection and its undo need
        // it not at all.
        const std::size_t stretches = (std::size_t(m_now.back()) >> StretchShift) + 1;
        m_from.resize(stretches + 1);
        std::size_t k = 0;
        for (std::size_t b = 0; b < m_now.size(); ++b) {
            for (; (k << StretchShift) <= std::size_t(m_now[b]); ++k)
                m_from[k] = qint32(b);
        }
        for (; k <= stretches; ++k)
            m_from[k] = qint32(m_now.size());
    }
    const std::size_t k = std::min(std::size_t(pos) >> StretchShift, m_from.size() - 2);
    const auto after = std::upper_bound(m_now.cbegin() + m_from[k], m_now.cbegin() + m_from[k + 1], pos);
    if (after == m_now.cbegin() || *(after - 1) != pos)
        return -1;
    const qint32 built = qint32(after - m_now.cbegin()) - 1;
    return hidden(built) ? -1 : built;
}

void BuiltRecords::hide(qint32 built)
{
    if (hidden(built))
        return;
    m_hidden[std::size_t(built) >> 6] |= quint64(1) << (built & 63);
    if (!m_slot.empty())
        m_buckets.changed(m_slot[std::size_t(built)]);
}

void BuiltRecords::hideFrom(qint32 count)
{
    const qint32 first = m_now.empty() ? std::min(count, m_count)
                                       : qint32(std::lower_bound(m_now.cbegin(), m_now.cend(), count) - m_now.cbegin());
    for (qint32 built = first; built < m_shownBefore; ++built)
        hide(built);
    m_shownBefore = std::min(m_shownBefore, first);
}

void BuiltRecords::renumber(const Moves &moves)
{
    // Those past the end go before the renumbering could move them back
    // below it, as edited records past the end go.
    hideFrom(moves.countBefore());
    if (m_now.empty()) {
        m_now.resize(std::size_t(m_count));
        std::iota(m_now.begin(), m_now.end(), 0);
    }
    moves.moveAscending(m_now, [this](std::size_t built) { hide(qint32(built)); });
    m_from.clear();
}

}  // namespace kalmor::detail
