#include "document/CellIndex.h"

#include "document/LargeVectors.h"

#include <algorithm>

namespace kalmor {

void CellIndex::rebuild(const std::vector<quint64> &keys)
{
    clear();
    std::vector<qint32> column = largeVector<qint32>(keys.size());
    std::vector<qint32> row = largeVector<qint32>(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        column[i] = BucketGrid::bucketOf(qint32(quint32(keys[i] >> 32)));
        row[i] = BucketGrid::bucketOf(qint32(quint32(keys[i])));
    }
    const std::vector<qint32> slot = m_built.build(column, row);
    reserveLarge(m_builtCell, keys.size());
    m_builtCell.resize(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        m_builtCell[std::size_t(slot[i])] = cellInBucket(keys[i]);
}

void CellIndex::clear()
{
    m_built.clear();
    m_builtCell.clear();
    m_single.clear();
    m_multi.clear();
}

void CellIndex::added(quint64 key, qint32 pos)
{
    if (!m_multi.isEmpty()) {
        const auto it = m_multi.find(key);
        if (it != m_multi.end()) {
            it->push_back(pos);
            return;
        }
    }
    const auto s = m_single.find(key);
    if (s == m_single.end()) {
        m_single.insert(key, pos);
        return;
    }
    m_multi.insert(key, {*s, pos});
    m_single.erase(s);
}

void CellIndex::removed(quint64 key, qint32 pos)
{
    // The record may have lain there since the rebuild, unnoted here.
    if (!m_multi.isEmpty()) {
        const auto it = m_multi.find(key);
        if (it != m_multi.end()) {
            const auto at = std::find(it->begin(), it->end(), pos);
            if (at != it->end())
                it->erase(at);
            if (it->size() == 1) {
                m_single.insert(key, it->front());
                m_multi.erase(it);
            }
            return;
        }
    }
    const auto s = m_single.find(key);
    if (s != m_single.end() && *s == pos)
        m_single.erase(s);
}

qint32 CellIndex::editedFirst(quint64 key) const
{
    if (!m_multi.isEmpty()) {
        const auto it = m_multi.constFind(key);
        if (it != m_multi.cend())
            return *std::min_element(it->cbegin(), it->cend());
    }
    return m_single.value(key, -1);
}

void CellIndex::editedPositions(quint64 key, std::vector<qint32> &out) const
{
    if (!m_multi.isEmpty()) {
        const auto it = m_multi.constFind(key);
        if (it != m_multi.cend()) {
            out.insert(out.end(), it->cbegin(), it->cend());
            return;
        }
    }
    const auto s = m_single.constFind(key);
    if (s != m_single.cend())
        out.push_back(*s);
}

}  // namespace kalmor
