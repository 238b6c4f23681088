#pragma once

#include "analysis/KindTable.h"
#include "analysis/Problems.h"
#include "analysis/StationWideProblems.h"
#include "document/StationDocument.h"

#include <QPoint>
#include <QRect>

#include <array>
#include <optional>
#include <vector>

namespace kalmor {

// The track circuits of one analysed tile (the first tile record of its
// cell): a boundary has two sides, every other tile one.
struct TileCircuits {
    qint32 position = -1;               // of the tile record in the tile list
    std::array<qint32, 2> circuit{};    // of the first and the second side
    std::array<quint32, 2> colour{};    // 0xAARRGGBB of the two sides
    // Direction from the first side's point to the second's (each -1, 0
    // or 1); 0, 0 for a tile with one side.
    qint8 dx = 0;
    qint8 dy = 0;
};

// Track circuits and layout problems of a station, computed from the
// document alone and kept up to date with it.
//
// A tile's points are the border points of its kind. Two tiles meet at a
// point when the neighbour across it has the opposite point; the circuit
// goes on across a meeting point only when both tiles have that point's
// flag set. All points of a tile belong to one circuit, except the two
// sides of a track-circuit boundary. Only the first tile record of a cell
// inside the panel takes part, as it is the one the editor shows and
// edits; records outside the panel are reported and otherwise left out,
// so a point on the panel's edge is always an open end.
//
// Problems: an open end (a point nobody meets), a division mismatch (the
// two tiles of a meeting point disagree on its flag; reported once, at
// the tile to the left of or above the point), a stacked record (every
// record of a list after the first on its cell), a record outside the
// panel, and an unknown kind (a record for which nothing is drawn, or a
// kind on the wrong list: a desk kind among the other lists, another name
// among the desk elements); and the station-wide problems of the wiring
// and the areas. Warnings: a signal without track in its cell or the cells
// above and below it, and a signal, switch controller or route button
// without a designation.
//
// Neighbouring circuits, which never share a colour, are those that meet
// at a dividing meeting point and the two sides of a boundary.
//
// update() follows single edits from the lists' change logs: only the
// cells an edit touched, their neighbours and the circuits running
// through them are looked at again. A new station, a shift, a change of
// the panel size or a long series of edits analyses everything again.
class LayoutAnalysis {
public:
    // Tiles, lamps, plates, desk elements.
    static constexpr std::size_t ListCount = 4;

    void update(const StationData &doc);

    // Grows with every change of the result.
    quint64 revision() const { return m_revision; }
    // How often everything was analysed, for tests and benchmarks.
    quint64 fullAnalyses() const { return m_fullAnalyses; }

    qsizetype circuitCount() const { return m_circuitCount; }
    const ProblemList &problems() const { return m_problems; }
    const QString &kindName(quint32 kind) const { return m_kinds[kind].name; }

    std::optional<TileCircuits> tileAt(qint32 x, qint32 y) const;
    // The analysed tiles with track inside a rectangle of cells.
    void tilesIn(const QRect &cells, std::vector<std::pair<QPoint, TileCircuits>> &out) const;

private:
    struct Slot {
        qint32 x = 0;
        qint32 y = 0;
        qint32 position = -1;  // -1: a free slot
        quint32 kind = 0;
        quint8 points = 0;
        quint8 flags = 0;
        quint8 secondSide = 0;
    };
    struct Circuit {
        int colour = -1;
        quint64 made = 0;  // the update that made it
        bool live = false;
    };

    // What the first tile of a touched cell is now, against its slot.
    struct TileChange {
        QPoint cell;
        qint32 slot;     // -1: the cell had none
        Slot fresh;      // position -1: the cell has no tile now
        bool structural; // points, flags or sides changed: circuits around change
    };

    // The whole station from scratch (LayoutAnalysisWhole.cpp).
    void analyseAll(const StationData &doc);
    void clearAll(const StationData &doc);
    // A slot for the first tile of each panel cell; returns every record's
    // own problems.
    std::vector<Problem> slotFirstTiles(const StationData &doc);
    // Labels every side with its circuit; returns the pairs of sides that
    // meet at a dividing meeting point or across a boundary.
    std::vector<std::pair<qint32, qint32>> joinCircuits();
    // Every problem of the slots' points, with the records' own problems
    // (ordered), into the empty list; reads the slots only.
    void listProblems(const std::vector<Problem> &records);

    // Edits followed from the change logs (LayoutAnalysisFollow.cpp).
    void follow(const StationData &doc, const std::array<std::vector<qint32>, ListCount> &touched);
    // The changes at the touched tile cells; `around` gets the cells next
    // to structural ones, in order.
    std::vector<TileChange> tileChanges(const StationData &doc, const std::vector<QPoint> &dirtyTiles,
                                        std::vector<QPoint> &around);
    void applyTileChanges(const std::vector<TileChange> &changes, const std::vector<QPoint> &around,
                          std::vector<qint32> &retired);
    void remakeCircuits(const std::vector<QPoint> &around, std::vector<qint32> &retired);

    bool inside(qint32 x, qint32 y) const { return x >= 0 && y >= 0 && x < m_columns && y < m_rows; }
    qint32 &gridAt(qint32 x, qint32 y) { return m_grid[std::size_t(y) * std::size_t(m_columns) + std::size_t(x)]; }
    qint32 gridAt(qint32 x, qint32 y) const
    {
        return m_grid[std::size_t(y) * std::size_t(m_columns) + std::size_t(x)];
    }
    qint32 slotAt(qint32 x, qint32 y) const { return inside(x, y) ? gridAt(x, y) : -1; }
    Slot slotFor(const StationData &doc, qint32 x, qint32 y, qint32 position);
    qint32 addSlot(const Slot &slot);

    // The tiles met across the points of a slot.
    struct Meetings {
        quint8 points = 0;                              // where a tile is met
        std::array<qint32, BorderPointCount> slot{};    // the slot met there
    };
    Meetings meetingsOf(const Slot &slot) const;
    template <class F>
    void forEachLinkOf(qint32 s, const Meetings &m, F &&f) const;
    template <class F>
    void forEachLink(qint32 node, F &&f) const;
    void pointProblems(const Slot &slot, const Meetings &m, std::vector<Problem> &out) const;
    void cellProblems(const StationData &doc, QPoint cell, std::vector<Problem> &out);
    // designated: the record has a text, for the kinds that ask for one.
    void recordProblems(ListKind list, qint32 position, qint32 x, qint32 y, quint32 kind, bool first,
                        bool designated, std::vector<Problem> &out) const;
    // Whether a track tile is the first tile of the cell or of the cells
    // above and below it.
    bool trackNear(qint32 x, qint32 y) const;

    qint32 newCircuit();
    void retire(qint32 circuit, std::vector<qint32> &retired);
    int chooseColour(qint32 circuit, const std::vector<qint32> &nodes, int preferred) const;
    void colourAll(const std::vector<std::pair<qint32, qint32>> &dividing);

    const StationData *m_source = nullptr;
    qint32 m_columns = 0;
    qint32 m_rows = 0;
    std::array<quint64, ListCount> m_listRevisions{};
    // The cell of every record, by list and position, as last analysed:
    // an edit's log names positions, and the cells they held are dirty too.
    std::array<std::vector<QPoint>, ListCount> m_cells;

    std::vector<qint32> m_grid;   // slot of each panel cell, or -1
    std::vector<Slot> m_slots;
    std::vector<qint32> m_freeSlots;
    std::vector<qint32> m_label;  // circuit of each side: node 2 * slot + side
    std::vector<Circuit> m_circuits;
    std::vector<qint32> m_freeCircuits;
    qsizetype m_circuitCount = 0;

    ProblemList m_problems;
    StationWideProblems m_stationWide;
    KindTable m_kinds;
    quint64 m_revision = 0;
    quint64 m_fullAnalyses = 0;
    quint64 m_updates = 0;
};

}  // namespace kalmor
