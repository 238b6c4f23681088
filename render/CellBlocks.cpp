#include "render/CellBlocks.h"

#include <cstring>

namespace kalmor {

CellBlocks::CellBlocks(int cellSize, QRgb fill, bool grid)
    : m_cell(cellSize), m_empty(cellSize, cellSize, QImage::Format_RGB32)
{
    m_empty.fill(fill);
    if (grid) {
        constexpr QRgb Blue = 0xFF0000FF;
        for (int i = 0; i < cellSize; ++i) {
            m_empty.setPixel(i, 0, Blue);
            m_empty.setPixel(0, i, Blue);
        }
    }
}

bool CellBlocks::isEmpty(const QImage &tile, int x, int y) const
{
    const std::size_t bytes = std::size_t(m_cell) * sizeof(QRgb);
    for (int row = 0; row < m_cell; ++row) {
        const auto *line = reinterpret_cast<const QRgb *>(tile.constScanLine(y + row)) + x;
        if (std::memcmp(line, m_empty.constScanLine(row), bytes) != 0)
            return false;
    }
    return true;
}

CellBlocks::Key CellBlocks::keyOf(const QImage &tile, int x, int y) const
{
    // Two hashes with different seeds: 128 bits, so that two different
    // looks sharing a key is not a practical concern, without keeping the
    // pixels of every block seen.
    Key key{0x6b616c6d6f72ULL, 0x9e3779b97f4a7c15ULL};
    const std::size_t bytes = std::size_t(m_cell) * sizeof(QRgb);
    for (int row = 0; row < m_cell; ++row) {
        const auto *line = reinterpret_cast<const QRgb *>(tile.constScanLine(y + row)) + x;
        key.a = qHashBits(line, bytes, key.a);
        key.b = qHashBits(line, bytes, key.b ^ quint64(row));
    }
    return key;
}

void CellBlocks::scan(const QImage &tile, QPoint origin, const Sink &sink)
{
    for (int y = 0; y + m_cell <= tile.height(); y += m_cell) {
        for (int x = 0; x + m_cell <= tile.width(); x += m_cell) {
            if (isEmpty(tile, x, y))
                continue;
            const Key key = keyOf(tile, x, y);
            Block block;
            block.position = origin + QPoint(x, y);
            const auto found = m_ids.constFind(key);
            if (found != m_ids.cend()) {
                block.id = found.value();
            } else {
                block.id = int(m_ids.size());
                block.isNew = true;
                m_ids.insert(key, block.id);
            }
            const QImage pixels(tile.constScanLine(y) + std::size_t(x) * sizeof(QRgb), m_cell, m_cell,
                                tile.bytesPerLine(), tile.format());
            sink(block, pixels);
        }
    }
}

}  // namespace kalmor
