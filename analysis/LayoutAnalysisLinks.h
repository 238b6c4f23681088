#pragma once

// What the parts of LayoutAnalysis share: the walk over a slot's links and
// small conversions of records. Included by the analysis's sources only.
#include "analysis/CellGeometry.h"
#include "analysis/LayoutAnalysis.h"

#include <algorithm>
#include <bit>

namespace kalmor::analysisdetail {

inline quint8 flagsOf(const TPolePanelu &t)
{
    const std::array<bool, BorderPointCount> flags{t.Cont_LH, t.Cont_LS, t.Cont_LD, t.Cont_SH,
                                                   t.Cont_SD, t.Cont_PH, t.Cont_PS, t.Cont_PD};
    quint8 bits = 0;
    for (int i = 0; i < BorderPointCount; ++i)
        bits |= quint8(flags[std::size_t(i)] ? 1u << i : 0u);
    return bits;
}

inline qint32 panelCells(qint32 cells)
{
    return std::clamp<qint32>(cells, 0, MaxPanelCells);
}

template <class Record>
QPoint cellOf(const Record &r)
{
    return {r.X, r.Y};
}

// Whether a record has the designation its kind may ask for; only desk
// elements carry one.
template <class Record>
bool designated(const Record &)
{
    return true;
}
inline bool designated(const TPolePrvek &r)
{
    return !r.TEXT.isEmpty();
}

}  // namespace kalmor::analysisdetail

namespace kalmor {

// Calls f(node, other node, connected) for every meeting point of the
// slot, and for its two sides if it is a boundary (never connected).
template <class F>
void LayoutAnalysis::forEachLinkOf(qint32 s, const Meetings &m, F &&f) const
{
    const Slot &slot = m_slots[std::size_t(s)];
    for (quint8 rest = m.points; rest; rest &= quint8(rest - 1)) {
        const int i = std::countr_zero(unsigned(rest));
        const quint8 own = quint8(1u << i);
        const quint8 opposite = pointBit(stepOf(BorderPoint(i)).opposite);
        const qint32 n = m.slot[std::size_t(i)];
        const Slot &other = m_slots[std::size_t(n)];
        f(2 * s + ((slot.secondSide & own) ? 1 : 0), 2 * n + ((other.secondSide & opposite) ? 1 : 0),
          (slot.flags & own) && (other.flags & opposite));
    }
    if (slot.secondSide)
        f(2 * s, 2 * s + 1, false);
}

// Calls f(other node, connected) for the links of one side.
template <class F>
void LayoutAnalysis::forEachLink(qint32 node, F &&f) const
{
    const qint32 s = node / 2;
    forEachLinkOf(s, meetingsOf(m_slots[std::size_t(s)]), [&](qint32 a, qint32 b, bool connected) {
        if (a == node)
            f(b, connected);
        else if (b == node)
            f(a, connected);
    });
}

}  // namespace kalmor
