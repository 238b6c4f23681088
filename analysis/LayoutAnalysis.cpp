// What the whole analysis and the following of edits share: the result
// read back, the meetings of a slot, the problems of a cell and the
// circuits with their colours.
#include "analysis/LayoutAnalysis.h"

#include "analysis/CircuitColours.h"
#include "analysis/LayoutAnalysisLinks.h"

#include <algorithm>
#include <bit>

namespace kalmor {

using analysisdetail::designated;
using analysisdetail::flagsOf;
using analysisdetail::panelCells;

void LayoutAnalysis::update(const StationData &doc)
{
    std::array<std::vector<qint32>, ListCount> touched;
    const bool followable = m_source == &doc && m_columns == panelCells(doc.columns)
        && m_rows == panelCells(doc.rows) && doc.tiles.positionsChangedSince(m_listRevisions[0], touched[0])
        && doc.lamps.positionsChangedSince(m_listRevisions[1], touched[1])
        && doc.plates.positionsChangedSince(m_listRevisions[2], touched[2])
        && doc.deskElements.positionsChangedSince(m_listRevisions[3], touched[3]);
    const bool cells
        = !followable || std::any_of(touched.cbegin(), touched.cend(), [](const auto &t) { return !t.empty(); });
    if (!followable)
        analyseAll(doc);
    else if (cells)
        follow(doc, touched);
    const bool stationWide = m_stationWide.update(doc, m_kinds, !followable);
    if (stationWide)
        m_problems.replaceStationWide(m_stationWide.problems());
    if (!cells && !stationWide)
        return;
    m_source = &doc;
    m_listRevisions = {doc.tiles.revision(), doc.lamps.revision(), doc.plates.revision(),
                       doc.deskElements.revision()};
    ++m_revision;
}

std::optional<TileCircuits> LayoutAnalysis::tileAt(qint32 x, qint32 y) const
{
    const qint32 s = slotAt(x, y);
    if (s < 0 || m_slots[std::size_t(s)].points == 0)
        return std::nullopt;
    const Slot &slot = m_slots[std::size_t(s)];
    TileCircuits t;
    t.position = slot.position;
    t.circuit[0] = m_label[std::size_t(2 * s)];
    t.circuit[1] = slot.secondSide ? m_label[std::size_t(2 * s + 1)] : t.circuit[0];
    for (std::size_t side = 0; side < 2; ++side)
        t.colour[side] = circuitColour(m_circuits[std::size_t(t.circuit[side])].colour);
    if (slot.secondSide) {
        const int second = std::countr_zero(unsigned(slot.secondSide));
        const int first = std::countr_zero(unsigned(slot.points & ~slot.secondSide));
        const QPoint d = thirdsOf(BorderPoint(second)) - thirdsOf(BorderPoint(first));
        t.dx = qint8((d.x() > 0) - (d.x() < 0));
        t.dy = qint8((d.y() > 0) - (d.y() < 0));
    }
    return t;
}

void LayoutAnalysis::tilesIn(const QRect &cells, std::vector<std::pair<QPoint, TileCircuits>> &out) const
{
    out.clear();
    const QRect panel = cells & QRect(0, 0, m_columns, m_rows);
    for (qint32 y = panel.top(); y <= panel.bottom(); ++y) {
        for (qint32 x = panel.left(); x <= panel.right(); ++x) {
            if (gridAt(x, y) >= 0) {
                if (const auto t = tileAt(x, y))
                    out.emplace_back(QPoint(x, y), *t);
            }
        }
    }
}

LayoutAnalysis::Slot LayoutAnalysis::slotFor(const StationData &doc, qint32 x, qint32 y, qint32 position)
{
    const TPolePanelu &t = doc.tiles.at(position);
    const quint32 kind = m_kinds.idOf(t.NAME);
    const KindFacts &facts = m_kinds[kind];
    return Slot{x, y, position, kind, facts.points.bits(), flagsOf(t), facts.secondSide.bits()};
}

qint32 LayoutAnalysis::addSlot(const Slot &slot)
{
    if (!m_freeSlots.empty()) {
        const qint32 s = m_freeSlots.back();
        m_freeSlots.pop_back();
        m_slots[std::size_t(s)] = slot;
        return s;
    }
    m_slots.push_back(slot);
    m_label.resize(m_label.size() + 2, -1);
    return qint32(m_slots.size() - 1);
}

LayoutAnalysis::Meetings LayoutAnalysis::meetingsOf(const Slot &slot) const
{
    Meetings m;
    for (quint8 rest = slot.points; rest; rest &= quint8(rest - 1)) {
        const int i = std::countr_zero(unsigned(rest));
        const Step step = stepOf(BorderPoint(i));
        const qint32 n = slotAt(slot.x + step.dx, slot.y + step.dy);
        if (n >= 0 && (m_slots[std::size_t(n)].points & pointBit(step.opposite))) {
            m.points |= quint8(1u << i);
            m.slot[std::size_t(i)] = n;
        }
    }
    return m;
}

void LayoutAnalysis::pointProblems(const Slot &slot, const Meetings &m, std::vector<Problem> &out) const
{
    const auto problem = [&](ProblemCode code, BorderPoint p) {
        out.push_back(Problem{slot.x, slot.y, slot.position, slot.kind, code, p, ListKind::Tiles});
    };
    for (const BorderPoint p : PointsInCodeOrder) {
        const Step step = stepOf(p);
        if ((m.points & pointBit(p)) && step.forward
            && bool(slot.flags & pointBit(p)) != bool(m_slots[std::size_t(m.slot[std::size_t(p)])].flags & pointBit(step.opposite)))
            problem(ProblemCode::DivisionMismatch, p);
    }
    for (const BorderPoint p : PointsInCodeOrder) {
        if ((slot.points & pointBit(p)) && !(m.points & pointBit(p)))
            problem(ProblemCode::OpenEnd, p);
    }
}

void LayoutAnalysis::recordProblems(ListKind list, qint32 position, qint32 x, qint32 y, quint32 kind, bool first,
                                    bool designated, std::vector<Problem> &out) const
{
    const auto problem = [&](ProblemCode code) {
        out.push_back(Problem{x, y, position, kind, code, std::nullopt, list});
    };
    const KindFacts &facts = m_kinds[kind];
    const bool onDesk = list == ListKind::Desk;
    if (onDesk && facts.needsDesignation && !designated)
        problem(ProblemCode::NoDesignation);
    if (!inside(x, y))
        problem(ProblemCode::OutsidePanel);
    if (onDesk && facts.signal && !trackNear(x, y))
        problem(ProblemCode::SignalWithoutTrack);
    if (!first)
        problem(ProblemCode::Stacked);
    if (facts.unknown || facts.desk != onDesk)
        problem(ProblemCode::UnknownKind);
}

bool LayoutAnalysis::trackNear(qint32 x, qint32 y) const
{
    for (const qint64 row : {qint64(y) - 1, qint64(y), qint64(y) + 1}) {
        const qint32 s = row >= 0 && row < m_rows ? slotAt(x, qint32(row)) : -1;
        if (s >= 0 && m_slots[std::size_t(s)].points != 0)
            return true;
    }
    return false;
}

void LayoutAnalysis::cellProblems(const StationData &doc, QPoint cell, std::vector<Problem> &out)
{
    std::vector<Problem> here;
    std::vector<qint32> positions;
    const auto records = [&](const auto &list, ListKind kind) {
        list.positionsAt(cell.x(), cell.y(), positions);
        for (std::size_t k = 0; k < positions.size(); ++k) {
            const qint32 p = positions[k];
            const auto &r = list.at(p);
            recordProblems(kind, p, cell.x(), cell.y(), m_kinds.idOf(r.NAME), k == 0, designated(r), here);
        }
    };
    records(doc.tiles, ListKind::Tiles);
    records(doc.lamps, ListKind::Lamps);
    records(doc.plates, ListKind::Plates);
    records(doc.deskElements, ListKind::Desk);
    if (const qint32 s = slotAt(cell.x(), cell.y()); s >= 0)
        pointProblems(m_slots[std::size_t(s)], meetingsOf(m_slots[std::size_t(s)]), here);
    std::sort(here.begin(), here.end(), problemBefore);
    out.insert(out.end(), here.cbegin(), here.cend());
}

qint32 LayoutAnalysis::newCircuit()
{
    qint32 c;
    if (!m_freeCircuits.empty()) {
        c = m_freeCircuits.back();
        m_freeCircuits.pop_back();
    } else {
        c = qint32(m_circuits.size());
        m_circuits.emplace_back();
    }
    m_circuits[std::size_t(c)] = Circuit{-1, m_updates, true};
    ++m_circuitCount;
    return c;
}

// The circuit's number is given out again only after the update, so its
// colour can still be read meanwhile.
void LayoutAnalysis::retire(qint32 circuit, std::vector<qint32> &retired)
{
    m_circuits[std::size_t(circuit)].live = false;
    --m_circuitCount;
    retired.push_back(circuit);
}

// Neighbouring circuits are those met at dividing meeting points and
// across a boundary.
int LayoutAnalysis::chooseColour(qint32 circuit, const std::vector<qint32> &nodes, int preferred) const
{
    std::vector<int> taken;
    for (const qint32 node : nodes) {
        forEachLink(node, [&](qint32 other, bool connected) {
            const qint32 c = m_label[std::size_t(other)];
            if (!connected && c >= 0 && c != circuit && m_circuits[std::size_t(c)].live)
                taken.push_back(m_circuits[std::size_t(c)].colour);
        });
    }
    return lowestFreeColour(taken, preferred);
}

// Colours every circuit in turn from the pairs of sides that meet at a
// dividing meeting point or across a boundary.
void LayoutAnalysis::colourAll(const std::vector<std::pair<qint32, qint32>> &dividing)
{
    std::vector<std::pair<qint32, qint32>> edges;
    edges.reserve(2 * dividing.size());
    for (const auto &[a, b] : dividing) {
        const qint32 ca = m_label[std::size_t(a)];
        const qint32 cb = m_label[std::size_t(b)];
        if (ca != cb) {
            edges.emplace_back(ca, cb);
            edges.emplace_back(cb, ca);
        }
    }
    std::sort(edges.begin(), edges.end());
    std::vector<int> taken;
    auto e = edges.cbegin();
    for (std::size_t c = 0; c < m_circuits.size(); ++c) {
        taken.clear();
        for (; e != edges.cend() && e->first == qint32(c); ++e)
            taken.push_back(m_circuits[std::size_t(e->second)].colour);
        std::erase(taken, -1);
        m_circuits[c].colour = lowestFreeColour(taken, -1);
    }
}

}  // namespace kalmor
