#include "render/index/IndexMoves.h"

namespace kalmor::detail {

Moves::Moves(const ListRevision::Renumbering &change)
    : m_change(change),
      m_before(change.inserted ? change.count - qint32(change.positions.size())
                               : change.count + qint32(change.positions.size()))
{
    if (change.inserted) {
        m_landing.resize(change.positions.size());
        for (std::size_t k = 0; k < m_landing.size(); ++k)
            m_landing[k] = change.positions[k] - qint32(k);
    }
    const std::vector<qint32> &bounds = this->bounds();
    m_below.resize((std::size_t(m_before) >> BoundsShift) + 2);
    std::size_t j = 0;
    for (std::size_t s = 0; s < m_below.size(); ++s) {
        while (j < bounds.size() && std::size_t(bounds[j]) < (s << BoundsShift))
            ++j;
        m_below[s] = qint32(j);
    }
}

}  // namespace kalmor::detail
