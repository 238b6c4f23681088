#include "render/ElementIndex.h"

#include <QHash>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace kalmor {

namespace detail {

// One list in buckets of 16 x 16 cells. Where the records lie close
// together (any real panel) the buckets form a dense grid filled by a
// counting sort; records spread over a far larger area fall back to a
// hash of buckets. Either way each bucket holds ascending list positions.
struct LayerBuckets {
    const void *list = nullptr;
    quint64 revision = 0;  // of the list as the answers follow it
    bool valid = false;
    // Positions changed by single edits since the buckets were built,
    // ascending: the buckets may hold them at an old cell or not at all,
    // so they are tested one by one.
    std::vector<qint32> touched;

    // Dense grid: bucket (bx, by) holds entries[starts[i]] .. entries[starts[i + 1]]
    // with i = (by - gridTop) * gridWidth + (bx - gridLeft).
    bool dense = true;
    qint64 gridLeft = 0;
    qint64 gridTop = 0;
    qint64 gridWidth = 0;
    qint64 gridHeight = 0;
    std::vector<qint32> starts;
    std::vector<qint32> entries;

    QHash<quint64, std::vector<qint32>> sparse;

    std::vector<qint32> outliers;  // ascending
    // Range of the pixel offsets of the lamps kept in buckets.
    qint64 minDx = 0;
    qint64 maxDx = 0;
    qint64 minDy = 0;
    qint64 maxDy = 0;
};

}  // namespace detail

namespace {

using detail::LayerBuckets;

constexpr int BucketShift = 4;  // 16 cells
// Lamps standing farther than this from their cell are offered for every
// rectangle instead of widening every search.
constexpr qint64 NearOffset = 256;
// Marks a record kept among the outliers.
constexpr qint32 Outlier = std::numeric_limits<qint32>::min();
// Edited positions followed one by one before the buckets are rebuilt:
// a click costs a few comparisons per frame instead of a rebuild of a
// million records, and a long series of edits still rebuilds now and then.
constexpr std::size_t TouchedLimit = 1024;

enum LayerId { LampLayer, TileLayer, PlateLayer, LayerCount };

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

quint64 bucketKey(qint64 bx, qint64 by)
{
    return (quint64(quint32(qint32(bx))) << 32) | quint64(quint32(qint32(by)));
}

// elementClassOf(name) == ElementClass::Lamp, without walking the other
// prefixes: this runs for every record of a rebuilt list.
bool isLampName(const QString &name)
{
    return name.size() >= 3 && name[0] == u'Z' && name[1] == u'A' && name[2] == u'R';
}

// Bucket column and row of every record (column Outlier for those kept
// apart), and the offset range of the bucketed lamps.
template <class Record>
void classify(LayerBuckets &layer, const ElementList<Record> &list, std::vector<qint32> &bucketColumn,
              std::vector<qint32> &bucketRow)
{
    layer.minDx = layer.maxDx = layer.minDy = layer.maxDy = 0;
    bucketColumn.resize(std::size_t(list.count()));
    bucketRow.resize(std::size_t(list.count()));
    for (qint32 i = 0; i < qint32(list.count()); ++i) {
        const Record &r = list.at(i);
        bucketColumn[std::size_t(i)] = r.X >> BucketShift;
        bucketRow[std::size_t(i)] = r.Y >> BucketShift;
        if (!isLampName(r.NAME))
            continue;
        if constexpr (std::is_same_v<Record, TPoleZarovka>) {
            const qint64 dx = r.ODSAZENI_X;
            const qint64 dy = r.ODSAZENI_Y;
            if (std::max(std::abs(dx), std::abs(dy)) > NearOffset) {
                bucketColumn[std::size_t(i)] = Outlier;
                continue;
            }
            layer.minDx = std::min(layer.minDx, dx);
            layer.maxDx = std::max(layer.maxDx, dx);
            layer.minDy = std::min(layer.minDy, dy);
            layer.maxDy = std::max(layer.maxDy, dy);
        } else {
            // Borrows the offsets of the lamp record at its position.
            bucketColumn[std::size_t(i)] = Outlier;
        }
    }
}

template <class Record>
void rebuild(LayerBuckets &layer, const ElementList<Record> &list)
{
    std::vector<qint32> column;
    std::vector<qint32> rowOf;
    classify(layer, list, column, rowOf);
    layer.outliers.clear();
    layer.sparse.clear();
    layer.starts.clear();
    layer.entries.clear();

    qint64 left = std::numeric_limits<qint64>::max();
    qint64 right = std::numeric_limits<qint64>::min();
    qint64 top = left;
    qint64 bottom = right;
    for (qint32 i = 0; i < qint32(column.size()); ++i) {
        if (column[std::size_t(i)] == Outlier) {
            layer.outliers.push_back(i);
            continue;
        }
        const qint64 by = rowOf[std::size_t(i)];
        left = std::min<qint64>(left, column[std::size_t(i)]);
        right = std::max<qint64>(right, column[std::size_t(i)]);
        top = std::min(top, by);
        bottom = std::max(bottom, by);
    }
    const qint64 bucketed = qint64(column.size() - layer.outliers.size());
    const qint64 area = bucketed == 0 ? 0 : (right - left + 1) * (bottom - top + 1);
    layer.dense = area <= 4 * bucketed + 65536;

    if (layer.dense) {
        layer.gridLeft = bucketed == 0 ? 0 : left;
        layer.gridTop = bucketed == 0 ? 0 : top;
        layer.gridWidth = bucketed == 0 ? 0 : right - left + 1;
        layer.gridHeight = bucketed == 0 ? 0 : bottom - top + 1;
        layer.starts.assign(std::size_t(area + 1), 0);
        std::vector<qint32> slot(column.size());
        for (qint32 i = 0; i < qint32(column.size()); ++i) {
            if (column[std::size_t(i)] == Outlier)
                continue;
            const qint64 by = rowOf[std::size_t(i)];
            slot[std::size_t(i)] = qint32((by - layer.gridTop) * layer.gridWidth + column[std::size_t(i)] - layer.gridLeft);
            ++layer.starts[std::size_t(slot[std::size_t(i)]) + 1];
        }
        for (std::size_t b = 1; b < layer.starts.size(); ++b)
            layer.starts[b] += layer.starts[b - 1];
        layer.entries.resize(std::size_t(bucketed));
        std::vector<qint32> fill(layer.starts.begin(), layer.starts.end() - 1);
        for (qint32 i = 0; i < qint32(column.size()); ++i) {
            if (column[std::size_t(i)] != Outlier)
                layer.entries[std::size_t(fill[std::size_t(slot[std::size_t(i)])]++)] = i;
        }
    } else {
        for (qint32 i = 0; i < qint32(column.size()); ++i) {
            if (column[std::size_t(i)] != Outlier)
                layer.sparse[bucketKey(column[std::size_t(i)], rowOf[std::size_t(i)])].push_back(i);
        }
    }
    layer.list = &list;
    layer.revision = list.revision();
    layer.valid = true;
    layer.touched.clear();
}

// Brings the layer up to the list: single edits are noted as touched
// positions, anything else rebuilds. Returns whether it rebuilt.
template <class Record>
bool follow(LayerBuckets &layer, const ElementList<Record> &list)
{
    if (layer.valid && layer.list == &list) {
        if (layer.revision == list.revision())
            return false;
        const std::size_t before = layer.touched.size();
        if (list.positionsChangedSince(layer.revision, layer.touched)
            && layer.touched.size() <= TouchedLimit) {
            std::sort(layer.touched.begin() + std::ptrdiff_t(before), layer.touched.end());
            std::inplace_merge(layer.touched.begin(), layer.touched.begin() + std::ptrdiff_t(before),
                               layer.touched.end());
            layer.touched.erase(std::unique(layer.touched.begin(), layer.touched.end()), layer.touched.end());
            layer.revision = list.revision();
            return false;
        }
    }
    rebuild(layer, list);
    return true;
}

// Whether a record edited since the last rebuild may reach the rectangle:
// its cell and the corner partners either side, or for a lamp its offsets
// and a picture of up to two cells. Lamp names outside the lamp list
// borrow offsets and are always offered.
template <class Record>
bool mayReach(const Record &r, const QRect &rect, qint64 c)
{
    qint64 left = (qint64(r.X) - 1) * c;
    qint64 right = (qint64(r.X) + 2) * c;
    qint64 top = qint64(r.Y) * c;
    qint64 bottom = top + c;
    if (isLampName(r.NAME)) {
        if constexpr (std::is_same_v<Record, TPoleZarovka>) {
            left = qint64(r.X) * c + r.ODSAZENI_X;
            right = left + 2 * c;
            top = qint64(r.Y) * c + r.ODSAZENI_Y;
            bottom = top + 2 * c;
        } else {
            return true;
        }
    }
    return left <= rect.right() && right > rect.left() && top <= rect.bottom() && bottom > rect.top();
}

template <class Record>
bool query(LayerBuckets &layer, const ElementList<Record> &list, const QRect &rect, int cellSize,
           std::vector<qint32> &out)
{
    out.clear();
    const bool rebuilt = follow(layer, list);
    if (rect.isEmpty())
        return rebuilt;

    // A record at cell X covers at most the pixels [X*c + lo, X*c + hi):
    // its cell, the corner partners one cell either side, and for lamps
    // their offsets plus a picture of up to two cells.
    const qint64 c = std::max(1, cellSize);
    const qint64 loX = std::min<qint64>(0, layer.minDx) - c;
    const qint64 hiX = std::max<qint64>(c, layer.maxDx + 2 * c) + c;
    const qint64 loY = std::min<qint64>(0, layer.minDy);
    const qint64 hiY = std::max<qint64>(c, layer.maxDy + 2 * c);
    const qint64 limitLow = std::numeric_limits<qint32>::min();
    const qint64 limitHigh = std::numeric_limits<qint32>::max();
    const qint64 x0 = std::clamp(floorDiv(rect.left() - hiX, c), limitLow, limitHigh);
    const qint64 x1 = std::clamp(floorDiv(qint64(rect.right()) + 1 - loX, c), limitLow, limitHigh);
    const qint64 y0 = std::clamp(floorDiv(rect.top() - hiY, c), limitLow, limitHigh);
    const qint64 y1 = std::clamp(floorDiv(qint64(rect.bottom()) + 1 - loY, c), limitLow, limitHigh);
    const qint64 bx0 = x0 >> BucketShift;
    const qint64 bx1 = x1 >> BucketShift;
    const qint64 by0 = y0 >> BucketShift;
    const qint64 by1 = y1 >> BucketShift;

    // Removals since the last rebuild leave positions past the end in
    // the buckets.
    const qint32 count = qint32(list.count());
    const auto take = [&](const qint32 *begin, const qint32 *end) {
        for (const qint32 *i = begin; i != end; ++i) {
            if (*i >= count)
                continue;
            const Record &r = list.at(*i);
            if (r.X >= x0 && r.X <= x1 && r.Y >= y0 && r.Y <= y1)
                out.push_back(*i);
        }
    };
    if (layer.dense) {
        const qint64 left = std::max(bx0, layer.gridLeft);
        const qint64 right = std::min(bx1, layer.gridLeft + layer.gridWidth - 1);
        const qint64 top = std::max(by0, layer.gridTop);
        const qint64 bottom = std::min(by1, layer.gridTop + layer.gridHeight - 1);
        for (qint64 by = top; by <= bottom; ++by) {
            const qint64 row = (by - layer.gridTop) * layer.gridWidth - layer.gridLeft;
            if (left > right)
                break;
            const qint32 *base = layer.entries.data();
            take(base + layer.starts[std::size_t(row + left)], base + layer.starts[std::size_t(row + right + 1)]);
        }
    } else if ((bx1 - bx0 + 1) * (by1 - by0 + 1) > qint64(layer.sparse.size())) {
        for (auto it = layer.sparse.cbegin(); it != layer.sparse.cend(); ++it) {
            const qint64 bx = qint32(quint32(it.key() >> 32));
            const qint64 by = qint32(quint32(it.key()));
            if (bx >= bx0 && bx <= bx1 && by >= by0 && by <= by1)
                take(it->data(), it->data() + it->size());
        }
    } else {
        for (qint64 by = by0; by <= by1; ++by) {
            for (qint64 bx = bx0; bx <= bx1; ++bx) {
                const auto it = layer.sparse.constFind(bucketKey(bx, by));
                if (it != layer.sparse.cend())
                    take(it->data(), it->data() + it->size());
            }
        }
    }
    for (const qint32 i : layer.outliers) {
        if (i < count)
            out.push_back(i);
    }
    for (const qint32 i : layer.touched) {
        if (i < count && mayReach(list.at(i), rect, c))
            out.push_back(i);
    }
    std::sort(out.begin(), out.end());
    // A touched position can also sit in a bucket or among the outliers.
    if (!layer.touched.empty())
        out.erase(std::unique(out.begin(), out.end()), out.end());
    return rebuilt;
}

}  // namespace

ElementIndex::ElementIndex() : m_layers(LayerCount) {}

ElementIndex::~ElementIndex() = default;

void ElementIndex::lampsNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out)
{
    m_rebuilds += query(m_layers[LampLayer], doc.lamps, rect, cellSize, out);
}

void ElementIndex::tilesNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out)
{
    m_rebuilds += query(m_layers[TileLayer], doc.tiles, rect, cellSize, out);
}

void ElementIndex::platesNear(const StationData &doc, const QRect &rect, int cellSize, std::vector<qint32> &out)
{
    m_rebuilds += query(m_layers[PlateLayer], doc.plates, rect, cellSize, out);
}

void ElementIndex::invalidate()
{
    for (LayerBuckets &layer : m_layers)
        layer.valid = false;
}

}  // namespace kalmor
