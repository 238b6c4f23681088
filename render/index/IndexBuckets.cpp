#include "render/index/IndexBuckets.h"

#include "document/LargeMemory.h"

#include <algorithm>
#include <limits>

namespace kalmor::detail {

namespace {

// The draws met so far while a crowded bucket is walked from its last
// record back: only the last of repeated draws is worth offering.
class LaterDraws {
public:
    // The parts of e that no draw met so far repeats; notes them as met.
    quint8 keep(const Entry &e)
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

private:
    // What is drawn in which cell (never 0), and with which offsets.
    struct Draw {
        quint64 what = 0;
        quint32 offsets = 0;
    };

    // Notes the draw; false when it was met before. An open-addressed
    // table, half full at most: a crowded bucket is thinned often, and a
    // node-based set costs several times as much.
    bool meet(const Draw &d)
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

    std::vector<Draw> m_met;
    std::size_t m_count = 0;
};

}  // namespace

qint64 Buckets::bucketOf(qint64 cell)
{
    constexpr qint64 Low = std::numeric_limits<qint32>::min();
    constexpr qint64 High = std::numeric_limits<qint32>::max();
    return std::clamp(cell, Low, High) >> BucketGrid::Shift;
}

std::vector<qint32> Buckets::build(const std::vector<Entry> &entries, const std::vector<qint32> &column,
                                   const std::vector<qint32> &row, ShownAt shown)
{
    std::vector<qint32> slot = m_grid.build(column, row);
    m_plainFrom = m_grid.items().size();
    reserveLarge(m_entries, entries.size());
    m_entries.resize(entries.size());
    qint32 plain = qint32(m_plainFrom);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (slot[i] < 0)
            slot[i] = plain++;
        m_entries[std::size_t(slot[i])] = entries[i];
    }
    m_crowds.clear();
    m_grid.forEachBucket([this](qint64, qint64, qint32 begin, qint32 end) {
        if (end - begin > Crowded)
            m_crowds.push_back(Crowd{begin, end, {}, true});
    });
    std::sort(m_crowds.begin(), m_crowds.end(), [](const Crowd &a, const Crowd &b) { return a.begin < b.begin; });
    thinChanged(shown);
    return slot;
}

void Buckets::changed(qint32 slot)
{
    const auto after = std::upper_bound(m_crowds.begin(), m_crowds.end(), slot,
                                        [](qint32 s, const Crowd &c) { return s < c.begin; });
    if (after != m_crowds.begin() && slot < (after - 1)->end)
        (after - 1)->stale = true;
}

void Buckets::thinChanged(ShownAt shown)
{
    for (Crowd &crowd : m_crowds) {
        if (crowd.stale)
            thin(crowd, shown);
    }
}

void Buckets::thin(Crowd &crowd, ShownAt shown)
{
    // The records shown, by their positions now: built ones are laid out
    // in list order already, edited ones in the order they were edited.
    std::vector<std::pair<qint32, qint32>> order;
    for (qint32 slot = crowd.begin; slot < crowd.end; ++slot) {
        const qint32 pos = shown(m_entries[std::size_t(slot)]);
        if (pos >= 0)
            order.emplace_back(pos, slot);
    }
    if (!std::is_sorted(order.begin(), order.end()))
        std::sort(order.begin(), order.end());
    LaterDraws later;
    crowd.kept.clear();
    for (auto it = order.crbegin(); it != order.crend(); ++it) {
        const quint8 parts = later.keep(m_entries[std::size_t(it->second)]);
        if (parts != 0)
            crowd.kept.emplace_back(it->second, parts);
    }
    std::reverse(crowd.kept.begin(), crowd.kept.end());
    crowd.stale = false;
}

void Buckets::takeShown(ShownAt shown, std::vector<Entry> &entries, std::vector<qint32> &column,
                        std::vector<qint32> &row) const
{
    const auto take = [&](const Entry &e, qint32 bx, qint32 by) {
        if (shown(e) < 0)
            return;
        entries.push_back(e);
        column.push_back(bx);
        row.push_back(by);
    };
    m_grid.forEachBucket([&](qint64 bx, qint64 by, qint32 begin, qint32 end) {
        for (qint32 slot = begin; slot < end; ++slot)
            take(m_entries[std::size_t(slot)], qint32(bx), qint32(by));
    });
    for (std::size_t slot = m_plainFrom; slot < m_entries.size(); ++slot)
        take(m_entries[slot], BucketGrid::LeftOut, 0);
}

void Buckets::gather(const CellRange &cells, qint64 sx, qint64 sy, ShownAt shown, std::vector<IndexedDraw> &out)
{
    const auto inBucket = [&](qint64 bx, qint64 by, qint32 begin, qint32 end) {
        const Crowd *crowd = nullptr;
        if (end - begin > Crowded) {
            const auto it = std::lower_bound(m_crowds.begin(), m_crowds.end(), begin,
                                             [](const Crowd &c, qint32 b) { return c.begin < b; });
            if (it->stale)
                thin(*it, shown);
            crowd = &*it;
        }
        const qint64 left = bx << BucketGrid::Shift;
        const qint64 top = by << BucketGrid::Shift;
        // Written in place: at the smallest cells a frame gathers a
        // hundred thousand records here.
        const std::size_t before = out.size();
        out.resize(before + (crowd ? crowd->kept.size() : std::size_t(end - begin)));
        IndexedDraw *to = out.data() + before;
        const auto put = [&](const Entry &e, quint8 parts) {
            const qint64 x = left + (e.cell & 15);
            const qint64 y = top + (e.cell >> 4);
            if (x < cells.x0 || x > cells.x1 || y < cells.y0 || y > cells.y1)
                return;
            const qint32 pos = shown(e);
            if (pos >= 0)
                *to++ = IndexedDraw{qint32(x + sx), qint32(y + sy), pos, e.name, e.dx, e.dy, parts, false};
        };
        if (crowd) {
            for (const auto &[slot, parts] : crowd->kept)
                put(m_entries[std::size_t(slot)], parts);
        } else {
            for (qint32 slot = begin; slot < end; ++slot)
                put(m_entries[std::size_t(slot)], m_entries[std::size_t(slot)].parts);
        }
        out.resize(std::size_t(to - out.data()));
    };
    m_grid.forEachIn(bucketOf(cells.x0), bucketOf(cells.x1), bucketOf(cells.y0), bucketOf(cells.y1), inBucket);
}

void Buckets::gatherPlain(ShownAt shown, std::vector<IndexedDraw> &out) const
{
    for (std::size_t slot = m_plainFrom; slot < m_entries.size(); ++slot) {
        const qint32 pos = shown(m_entries[slot]);
        if (pos >= 0)
            out.push_back(IndexedDraw{0, 0, pos, 0, 0, 0, PartPicture, true});
    }
}

}  // namespace kalmor::detail
