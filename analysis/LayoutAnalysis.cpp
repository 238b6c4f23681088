#include "analysis/LayoutAnalysis.h"

#include "analysis/CellGeometry.h"
#include "analysis/CircuitColours.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <numeric>
#include <thread>

namespace kalmor {

namespace {

quint8 flagsOf(const TPolePanelu &t)
{
    const std::array<bool, BorderPointCount> flags{t.Cont_LH, t.Cont_LS, t.Cont_LD, t.Cont_SH,
                                                   t.Cont_SD, t.Cont_PH, t.Cont_PS, t.Cont_PD};
    quint8 bits = 0;
    for (int i = 0; i < BorderPointCount; ++i)
        bits |= quint8(flags[std::size_t(i)] ? 1u << i : 0u);
    return bits;
}

qint32 panelCells(qint32 cells)
{
    return std::clamp<qint32>(cells, 0, MaxPanelCells);
}

bool cellBefore(QPoint a, QPoint b)
{
    return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
}

void sortUnique(std::vector<QPoint> &cells)
{
    std::sort(cells.begin(), cells.end(), cellBefore);
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
}

template <class Record>
QPoint cellOf(const Record &r)
{
    return {r.X, r.Y};
}

// A tile record inside the panel, by the number of its cell.
struct Placed {
    quint32 cell;
    qint32 position;
    quint32 kind;
    quint8 flags;
};

// Sorts by cell and keeps the list order within a cell: three stable
// passes over the 24 bits a panel cell number needs. Walking the tiles in
// cell order keeps the neighbours of each in the processor's cache.
void sortByCell(std::vector<Placed> &items)
{
    static_assert(quint64(MaxPanelCells) * MaxPanelCells <= (1u << 24));
    std::vector<Placed> sorted(items.size());
    for (int shift = 0; shift < 24; shift += 8) {
        std::array<std::size_t, 257> starts{};
        for (const Placed &p : items)
            ++starts[((p.cell >> shift) & 0xFF) + 1];
        std::partial_sum(starts.begin(), starts.end(), starts.begin());
        for (const Placed &p : items)
            sorted[starts[(p.cell >> shift) & 0xFF]++] = p;
        items.swap(sorted);
    }
}

}  // namespace

void LayoutAnalysis::update(const StationData &doc)
{
    std::array<std::vector<qint32>, 3> touched;
    const bool followable = m_source == &doc && m_columns == panelCells(doc.columns)
        && m_rows == panelCells(doc.rows) && doc.tiles.positionsChangedSince(m_listRevisions[0], touched[0])
        && doc.lamps.positionsChangedSince(m_listRevisions[1], touched[1])
        && doc.plates.positionsChangedSince(m_listRevisions[2], touched[2]);
    const bool cells = !followable || !touched[0].empty() || !touched[1].empty() || !touched[2].empty();
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
    m_listRevisions = {doc.tiles.revision(), doc.lamps.revision(), doc.plates.revision()};
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
                                    std::vector<Problem> &out) const
{
    const auto problem = [&](ProblemCode code) {
        out.push_back(Problem{x, y, position, kind, code, std::nullopt, list});
    };
    if (!inside(x, y))
        problem(ProblemCode::OutsidePanel);
    if (!first)
        problem(ProblemCode::Stacked);
    if (m_kinds[kind].unknown)
        problem(ProblemCode::UnknownKind);
}

void LayoutAnalysis::cellProblems(const StationData &doc, QPoint cell, std::vector<Problem> &out)
{
    std::vector<Problem> here;
    std::vector<qint32> positions;
    const auto records = [&](const auto &list, ListKind kind) {
        list.positionsAt(cell.x(), cell.y(), positions);
        for (std::size_t k = 0; k < positions.size(); ++k) {
            const qint32 p = positions[k];
            recordProblems(kind, p, cell.x(), cell.y(), m_kinds.idOf(list.at(p).NAME), k == 0, here);
        }
    };
    records(doc.tiles, ListKind::Tiles);
    records(doc.lamps, ListKind::Lamps);
    records(doc.plates, ListKind::Plates);
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

void LayoutAnalysis::analyseAll(const StationData &doc)
{
    ++m_fullAnalyses;
    ++m_updates;
    m_kinds.clear();
    m_problems.clear();
    m_slots.clear();
    m_freeSlots.clear();
    m_circuits.clear();
    m_freeCircuits.clear();
    m_circuitCount = 0;
    m_columns = panelCells(doc.columns);
    m_rows = panelCells(doc.rows);
    m_grid.assign(std::size_t(m_columns) * std::size_t(m_rows), -1);

    // Every record: its own problems. Tiles inside the panel are taken
    // in the order of their cells; the first of each cell gets a slot.
    std::vector<Problem> records;
    std::vector<Placed> placed;
    placed.reserve(std::size_t(doc.tiles.count()));
    m_cells[0].resize(std::size_t(doc.tiles.count()));
    for (qint32 i = 0; i < doc.tiles.count(); ++i) {
        const TPolePanelu &t = doc.tiles.at(i);
        const quint32 kind = m_kinds.idOf(t.NAME);
        m_cells[0][std::size_t(i)] = cellOf(t);
        if (inside(t.X, t.Y))
            placed.push_back({quint32(t.Y) * quint32(m_columns) + quint32(t.X), i, kind, flagsOf(t)});
        else
            recordProblems(ListKind::Tiles, i, t.X, t.Y, kind, doc.tiles.firstAt(t.X, t.Y) == i, records);
    }
    const auto others = [&](const auto &list, ListKind kind, std::vector<QPoint> &cells) {
        cells.resize(std::size_t(list.count()));
        for (qint32 i = 0; i < list.count(); ++i) {
            const auto &r = list.at(i);
            cells[std::size_t(i)] = cellOf(r);
            recordProblems(kind, i, r.X, r.Y, m_kinds.idOf(r.NAME), list.firstAt(r.X, r.Y) == i, records);
        }
    };
    others(doc.lamps, ListKind::Lamps, m_cells[1]);
    others(doc.plates, ListKind::Plates, m_cells[2]);
    sortByCell(placed);
    m_slots.reserve(placed.size());
    for (std::size_t k = 0; k < placed.size(); ++k) {
        const Placed &p = placed[k];
        const bool first = k == 0 || placed[k - 1].cell != p.cell;
        const qint32 x = qint32(p.cell % quint32(m_columns));
        const qint32 y = qint32(p.cell / quint32(m_columns));
        recordProblems(ListKind::Tiles, p.position, x, y, p.kind, first, records);
        if (!first)
            continue;
        const KindFacts &facts = m_kinds[p.kind];
        m_grid[p.cell] = qint32(m_slots.size());
        m_slots.push_back(Slot{x, y, p.position, p.kind, facts.points.bits(), p.flags, facts.secondSide.bits()});
    }

    // Sides joined across connected meeting points.
    const qint32 nodeCount = qint32(2 * m_slots.size());
    std::vector<qint32> parent(static_cast<std::size_t>(nodeCount));
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&parent](qint32 n) {
        while (parent[std::size_t(n)] != n) {
            parent[std::size_t(n)] = parent[std::size_t(parent[std::size_t(n)])];
            n = parent[std::size_t(n)];
        }
        return n;
    };
    // The problems only read the slots, so they are listed on the second
    // core while this one joins the circuits.
    std::sort(records.begin(), records.end(), problemBefore);
    std::jthread listing([this, &records] { listProblems(records); });
    std::vector<std::pair<qint32, qint32>> dividing;
    for (qint32 s = 0; s < qint32(m_slots.size()); ++s) {
        forEachLinkOf(s, meetingsOf(m_slots[std::size_t(s)]), [&](qint32 node, qint32 other, bool connected) {
            if (other < node)
                return;
            if (connected)
                parent[std::size_t(root(other))] = root(node);
            else
                dividing.emplace_back(node, other);
        });
    }
    m_label.assign(std::size_t(nodeCount), -1);
    m_circuits.reserve(m_slots.size());
    std::vector<qint32> circuitOfRoot(std::size_t(nodeCount), -1);
    for (qint32 node = 0; node < nodeCount; ++node) {
        const Slot &slot = m_slots[std::size_t(node / 2)];
        if (slot.points == 0 || (node % 2 == 1 && !slot.secondSide))
            continue;
        qint32 &c = circuitOfRoot[std::size_t(root(node))];
        if (c < 0)
            c = newCircuit();
        m_label[std::size_t(node)] = c;
    }
    listing.join();
    colourAll(dividing);
}

void LayoutAnalysis::listProblems(const std::vector<Problem> &records)
{
    // The problems go into the list a row at a time, the points' problems
    // of a row merged with the records' problems of that row.
    auto record = records.cbegin();
    std::vector<Problem> row;
    const auto flushRow = [&] {
        if (row.empty())
            return;
        const qint32 y = row.front().y;
        const auto from = std::partition_point(record, records.cend(), [y](const Problem &p) { return p.y < y; });
        const auto to = std::partition_point(from, records.cend(), [y](const Problem &p) { return p.y == y; });
        m_problems.insert(std::vector<Problem>(record, from));
        std::vector<Problem> merged;
        merged.reserve(row.size() + std::size_t(to - from));
        std::merge(row.cbegin(), row.cend(), from, to, std::back_inserter(merged), problemBefore);
        m_problems.insert(std::move(merged));
        record = to;
        row.clear();
    };
    for (const Slot &slot : m_slots) {
        if (!row.empty() && row.front().y != slot.y)
            flushRow();
        pointProblems(slot, meetingsOf(slot), row);
    }
    flushRow();
    m_problems.insert(std::vector<Problem>(record, records.cend()));
}

void LayoutAnalysis::follow(const StationData &doc, const std::array<std::vector<qint32>, 3> &touched)
{
    ++m_updates;
    // The cells the logged positions held before and hold now.
    std::array<std::vector<QPoint>, 3> dirty;
    const auto collect = [&](const auto &list, std::size_t l) {
        std::vector<QPoint> &cells = m_cells[l];
        const std::size_t count = std::size_t(list.count());
        for (const qint32 p : touched[l]) {
            if (std::size_t(p) < cells.size())
                dirty[l].push_back(cells[std::size_t(p)]);
            if (std::size_t(p) < count)
                dirty[l].push_back(cellOf(list.at(p)));
        }
        for (std::size_t p = count; p < cells.size(); ++p)
            dirty[l].push_back(cells[p]);
        cells.resize(count);
        for (const qint32 p : touched[l]) {
            if (std::size_t(p) < count)
                cells[std::size_t(p)] = cellOf(list.at(p));
        }
        sortUnique(dirty[l]);
    };
    collect(doc.tiles, 0);
    collect(doc.lamps, 1);
    collect(doc.plates, 2);

    // What the first tile of each touched panel cell is now; a change of
    // its points, flags or sides changes the circuits around it.
    struct Change {
        QPoint cell;
        qint32 slot;
        Slot fresh;
        bool structural;
    };
    std::vector<Change> changes;
    std::vector<QPoint> around;
    for (const QPoint cell : dirty[0]) {
        if (!inside(cell.x(), cell.y()))
            continue;
        const qint32 first = doc.tiles.firstAt(cell.x(), cell.y());
        const qint32 s = gridAt(cell.x(), cell.y());
        if (s < 0 && first < 0)
            continue;
        const Slot fresh = first >= 0 ? slotFor(doc, cell.x(), cell.y(), first) : Slot{cell.x(), cell.y()};
        const Slot &old = s >= 0 ? m_slots[std::size_t(s)] : Slot{};
        const bool structural = s < 0 || first < 0 || old.points != fresh.points || old.flags != fresh.flags
            || old.secondSide != fresh.secondSide;
        changes.push_back({cell, s, fresh, structural});
        if (!structural)
            continue;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                around.emplace_back(cell.x() + dx, cell.y() + dy);
    }
    sortUnique(around);

    // The circuits running through those cells are made again.
    std::vector<qint32> retired;
    for (const QPoint cell : around) {
        const qint32 s = slotAt(cell.x(), cell.y());
        for (int side = 0; s >= 0 && side < 2; ++side) {
            const qint32 c = m_label[std::size_t(2 * s + side)];
            if (c >= 0 && m_circuits[std::size_t(c)].live)
                retire(c, retired);
        }
    }
    for (const Change &change : changes) {
        qint32 s = change.slot;
        if (change.fresh.position < 0) {
            m_slots[std::size_t(s)].position = -1;
            m_freeSlots.push_back(s);
            gridAt(change.cell.x(), change.cell.y()) = -1;
        } else if (s < 0) {
            s = addSlot(change.fresh);
            gridAt(change.cell.x(), change.cell.y()) = s;
        } else {
            m_slots[std::size_t(s)] = change.fresh;
        }
        if (change.structural) {
            m_label[std::size_t(2 * s)] = -1;
            m_label[std::size_t(2 * s + 1)] = -1;
        }
    }

    // Each side around the changed cells that no new circuit reached yet
    // starts one, which floods through its connected meeting points and
    // keeps the colour of the first old circuit it meets when it can.
    const auto settled = [this](qint32 node) {
        const qint32 c = m_label[std::size_t(node)];
        return c >= 0 && m_circuits[std::size_t(c)].live && m_circuits[std::size_t(c)].made == m_updates;
    };
    struct Made {
        qint32 circuit;
        std::vector<qint32> nodes;
        int preferred;
    };
    std::vector<Made> made;
    std::vector<qint32> stack;
    for (const QPoint cell : around) {
        const qint32 s = slotAt(cell.x(), cell.y());
        if (s < 0 || m_slots[std::size_t(s)].points == 0)
            continue;
        for (int side = 0; side < (m_slots[std::size_t(s)].secondSide ? 2 : 1); ++side) {
            if (settled(2 * s + side))
                continue;
            Made m{newCircuit(), {}, -1};
            const auto settle = [&](qint32 node) {
                const qint32 old = m_label[std::size_t(node)];
                if (old >= 0) {
                    // A circuit not yet retired can only be reached if it
                    // touched the changed cells; retire it all the same.
                    if (m_circuits[std::size_t(old)].live)
                        retire(old, retired);
                    if (m.preferred < 0)
                        m.preferred = m_circuits[std::size_t(old)].colour;
                }
                m_label[std::size_t(node)] = m.circuit;
                stack.push_back(node);
            };
            settle(2 * s + side);
            while (!stack.empty()) {
                const qint32 node = stack.back();
                stack.pop_back();
                m.nodes.push_back(node);
                forEachLink(node, [&](qint32 other, bool connected) {
                    if (connected && !settled(other))
                        settle(other);
                });
            }
            made.push_back(std::move(m));
        }
    }
    for (const Made &m : made)
        m_circuits[std::size_t(m.circuit)].colour = chooseColour(m.circuit, m.nodes, m.preferred);
    m_freeCircuits.insert(m_freeCircuits.end(), retired.cbegin(), retired.cend());

    // Problems of every touched cell and of the neighbours of changed tiles.
    std::vector<QPoint> cells = around;
    for (const auto &d : dirty)
        cells.insert(cells.end(), d.cbegin(), d.cend());
    sortUnique(cells);
    std::vector<Problem> fresh;
    for (const QPoint cell : cells) {
        m_problems.removeCell(cell.x(), cell.y());
        cellProblems(doc, cell, fresh);
    }
    m_problems.insert(fresh);
}

}  // namespace kalmor
