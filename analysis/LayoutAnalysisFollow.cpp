// Single edits followed from the lists' change logs: only the cells an
// edit touched, their neighbours and the circuits running through them are
// looked at again.
#include "analysis/LayoutAnalysis.h"

#include "analysis/LayoutAnalysisLinks.h"

#include <algorithm>

namespace kalmor {

using analysisdetail::cellOf;

namespace {

bool cellBefore(QPoint a, QPoint b)
{
    return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
}

void sortUnique(std::vector<QPoint> &cells)
{
    std::sort(cells.begin(), cells.end(), cellBefore);
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
}

// The cells the logged positions of a list held before and hold now, in
// order; `cells` (the cell of every position as last analysed) is brought
// up to date.
template <class List>
std::vector<QPoint> dirtyCells(const List &list, const std::vector<qint32> &touched, std::vector<QPoint> &cells)
{
    std::vector<QPoint> dirty;
    const std::size_t count = std::size_t(list.count());
    for (const qint32 p : touched) {
        if (std::size_t(p) < cells.size())
            dirty.push_back(cells[std::size_t(p)]);
        if (std::size_t(p) < count)
            dirty.push_back(cellOf(list.at(p)));
    }
    for (std::size_t p = count; p < cells.size(); ++p)
        dirty.push_back(cells[p]);
    cells.resize(count);
    for (const qint32 p : touched) {
        if (std::size_t(p) < count)
            cells[std::size_t(p)] = cellOf(list.at(p));
    }
    sortUnique(dirty);
    return dirty;
}

}  // namespace

void LayoutAnalysis::follow(const StationData &doc, const std::array<std::vector<qint32>, ListCount> &touched)
{
    ++m_updates;
    const std::array<std::vector<QPoint>, ListCount> dirty{dirtyCells(doc.tiles, touched[0], m_cells[0]),
                                                           dirtyCells(doc.lamps, touched[1], m_cells[1]),
                                                           dirtyCells(doc.plates, touched[2], m_cells[2]),
                                                           dirtyCells(doc.deskElements, touched[3], m_cells[3])};
    std::vector<QPoint> around;
    const std::vector<TileChange> changes = tileChanges(doc, dirty[0], around);
    std::vector<qint32> retired;
    applyTileChanges(changes, around, retired);
    remakeCircuits(around, retired);

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

std::vector<LayoutAnalysis::TileChange> LayoutAnalysis::tileChanges(const StationData &doc,
                                                                    const std::vector<QPoint> &dirtyTiles,
                                                                    std::vector<QPoint> &around)
{
    // What the first tile of each touched panel cell is now; a change of
    // its points, flags or sides changes the circuits around it.
    std::vector<TileChange> changes;
    for (const QPoint cell : dirtyTiles) {
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
    return changes;
}

void LayoutAnalysis::applyTileChanges(const std::vector<TileChange> &changes, const std::vector<QPoint> &around,
                                      std::vector<qint32> &retired)
{
    // The circuits running through the cells around are made again.
    for (const QPoint cell : around) {
        const qint32 s = slotAt(cell.x(), cell.y());
        for (int side = 0; s >= 0 && side < 2; ++side) {
            const qint32 c = m_label[std::size_t(2 * s + side)];
            if (c >= 0 && m_circuits[std::size_t(c)].live)
                retire(c, retired);
        }
    }
    for (const TileChange &change : changes) {
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
}

void LayoutAnalysis::remakeCircuits(const std::vector<QPoint> &around, std::vector<qint32> &retired)
{
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
}

}  // namespace kalmor
