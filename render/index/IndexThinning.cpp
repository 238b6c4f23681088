#include "render/index/IndexThinning.h"

#include <algorithm>

namespace kalmor::detail {

quint8 LaterDraws::keep(const Entry &e)
{
    quint8 parts = 0;
    for (quint8 part = PartPicture; part <= PartCornerPD; part <<= 1) {
        if (!(e.parts & part))
            continue;
        // A corner piece looks the same whoever asks for it.
        const bool picture = part == PartPicture;
        const Draw d{(quint64(picture ? e.name : 0) << 16) | (quint64(e.cell) << 8) | part,
                     picture ? (quint32(quint16(e.dx)) << 16) | quint16(e.dy) : 0};
        if (meet(d))
            parts |= part;
    }
    return parts;
}

bool LaterDraws::meet(const Draw &d)
{
    if (2 * (m_count + 1) > m_met.size()) {
        std::vector<Draw> met(std::max<std::size_t>(64, 2 * m_met.size()));
        met.swap(m_met);
        m_count = 0;
        for (const Draw &old : met) {
            if (old.what != 0)
                meet(old);
        }
    }
    const std::size_t mask = m_met.size() - 1;
    quint64 h = d.what * 0x9E3779B97F4A7C15ull ^ quint64(d.offsets) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 31;
    for (std::size_t i = std::size_t(h) & mask;; i = (i + 1) & mask) {
        Draw &slot = m_met[i];
        if (slot.what == 0) {
            slot = d;
            ++m_count;
            return true;
        }
        if (slot.what == d.what && slot.offsets == d.offsets)
            return false;
    }
}

}  // namespace kalmor::detail
