#pragma once

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRgb>

#include <functional>

namespace kalmor {

// Cuts composed pictures into cell-sized blocks and numbers every distinct
// block once, so that a vector file defines each look of a cell once and
// places it by reference: a million tiles of a few dozen kinds are a few
// dozen pictures and a million references. Blocks that show only the fill
// (and the grid lines at their top and left edge, when the grid is on) are
// passed over: the file draws the fill and the grid itself.
class CellBlocks {
public:
    struct Block {
        int id = 0;
        bool isNew = false;   // first time this look was seen
        QPoint position;      // top-left corner in picture coordinates
    };
    // The pixels look into the composed tile: valid during the call only,
    // copied by whoever keeps them.
    using Sink = std::function<void(const Block &block, const QImage &pixels)>;

    CellBlocks(int cellSize, QRgb fill, bool grid);

    // Walks the cells of a composed tile whose top-left corner lies at
    // `origin` (a cell corner) and hands every non-empty cell to the sink.
    void scan(const QImage &tile, QPoint origin, const Sink &sink);

    int distinctCount() const { return int(m_ids.size()); }

private:
    struct Key {
        quint64 a = 0;
        quint64 b = 0;
        friend bool operator==(const Key &, const Key &) = default;
        friend size_t qHash(const Key &k, size_t seed) { return qHashMulti(seed, k.a, k.b); }
    };

    bool isEmpty(const QImage &tile, int x, int y) const;
    Key keyOf(const QImage &tile, int x, int y) const;

    int m_cell;
    QImage m_empty;
    QHash<Key, int> m_ids;
};

}  // namespace kalmor
