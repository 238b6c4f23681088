// The whole station analysed from scratch: after a load, New, a shift, a
// change of the panel size or a long series of edits.
#include "analysis/LayoutAnalysis.h"

#include "analysis/LayoutAnalysisLinks.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <thread>

namespace kalmor {

using analysisdetail::cellOf;
using analysisdetail::designated;
using analysisdetail::flagsOf;
using analysisdetail::panelCells;

namespace {

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

void LayoutAnalysis::analyseAll(const StationData &doc)
{
    ++m_fullAnalyses;
    ++m_updates;
    clearAll(doc);
    std::vector<Problem> records = slotFirstTiles(doc);
    // The problems only read the slots, so they are listed on the second
    // core while this one joins the circuits.
    std::sort(records.begin(), records.end(), problemBefore);
    std::jthread listing([this, &records] { listProblems(records); });
    const std::vector<std::pair<qint32, qint32>> dividing = joinCircuits();
    listing.join();
    colourAll(dividing);
}

void LayoutAnalysis::clearAll(const StationData &doc)
{
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
}

std::vector<Problem> LayoutAnalysis::slotFirstTiles(const StationData &doc)
{
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
            recordProblems(ListKind::Tiles, i, t.X, t.Y, kind, doc.tiles.firstAt(t.X, t.Y) == i, true, records);
    }
    const auto others = [&](const auto &list, ListKind kind, std::vector<QPoint> &cells) {
        cells.resize(std::size_t(list.count()));
        for (qint32 i = 0; i < list.count(); ++i) {
            const auto &r = list.at(i);
            cells[std::size_t(i)] = cellOf(r);
            recordProblems(kind, i, r.X, r.Y, m_kinds.idOf(r.NAME), list.firstAt(r.X, r.Y) == i, designated(r),
                           records);
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
        recordProblems(ListKind::Tiles, p.position, x, y, p.kind, first, true, records);
        if (!first)
            continue;
        const KindFacts &facts = m_kinds[p.kind];
        m_grid[p.cell] = qint32(m_slots.size());
        m_slots.push_back(Slot{x, y, p.position, p.kind, facts.points.bits(), p.flags, facts.secondSide.bits()});
    }
    // Signals look for track in the slots.
    others(doc.deskElements, ListKind::Desk, m_cells[3]);
    return records;
}

std::vector<std::pair<qint32, qint32>> LayoutAnalysis::joinCircuits()
{
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
    return dividing;
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

}  // namespace kalmor
