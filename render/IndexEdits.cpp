#include "render/IndexEdits.h"

#include <algorithm>
#include <limits>

namespace kalmor::detail {

namespace {

// Records waiting outside the buckets before they are grouped: a frame
// walks them all.
constexpr std::size_t LatestLimit = 2048;
// Groups are merged up to this many records; a larger one costs a pass
// longer than a frame should wait.
constexpr std::size_t MergeLimit = std::size_t(1) << 16;

}  // namespace

qint64 IndexEdits::bucket(qint64 cell)
{
    constexpr qint64 Low = std::numeric_limits<qint32>::min();
    constexpr qint64 High = std::numeric_limits<qint32>::max();
    return std::clamp(cell, Low, High) >> BucketGrid::Shift;
}

void IndexEdits::clear(qint32 count)
{
    m_groups.clear();
    m_latest.clear();
    // Sized for the list now, so that no frame pays for filling it.
    m_at.assign(std::size_t(count), None);
    m_live = 0;
}

void IndexEdits::forget(qint32 pos)
{
    if (std::size_t(pos) >= m_at.size() || m_at[std::size_t(pos)] == None)
        return;
    const std::size_t g = std::size_t(m_at[std::size_t(pos)] >> 32);
    const std::size_t i = std::size_t(m_at[std::size_t(pos)] & 0xFFFFFFFF);
    Group *of = g == Latest ? nullptr : &m_groups[g];
    Edited &e = of ? of->records[i] : m_latest[i];
    e.entry.pos = -1;
    m_at[std::size_t(pos)] = None;
    lost(e, of);
}

void IndexEdits::lost(const Edited &e, Group *of)
{
    --m_live;
    if (!of)
        return;
    --of->live;
    if (e.crowded >= 0)
        of->thinned[std::size_t(e.crowded)].stale = true;
}

void IndexEdits::add(const Edited &e)
{
    const std::size_t pos = std::size_t(e.entry.pos);
    if (pos >= m_at.size())
        m_at.resize(std::max(pos + 1, m_at.size() + m_at.size() / 8), None);
    else if (m_at[pos] != None)
        forget(e.entry.pos);
    m_at[pos] = at(Latest, m_latest.size());
    m_latest.push_back(e);
    ++m_live;
}

void IndexEdits::settle()
{
    std::size_t changed = m_groups.size();  // the first group whose records moved
    if (m_latest.size() > LatestLimit) {
        m_groups.push_back(group(std::move(m_latest)));
        m_latest.clear();
        // Like sizes merge, as the digits of a binary counter carry.
        while (m_groups.size() >= 2) {
            Group &older = m_groups[m_groups.size() - 2];
            const Group &newer = m_groups.back();
            if (older.live > newer.live || older.live + newer.live > MergeLimit)
                break;
            std::vector<Edited> both = std::move(older.records);
            both.insert(both.end(), newer.records.begin(), newer.records.end());
            m_groups.pop_back();
            m_groups.back() = group(std::move(both));
        }
        changed = std::min(changed, m_groups.size() - 1);
    }
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        Group &kept = m_groups[g];
        if (kept.records.size() - kept.live > std::max(LatestLimit, kept.live)) {
            kept = group(std::move(kept.records));
            changed = std::min(changed, g);
        }
    }
    const auto empty = std::find_if(m_groups.begin(), m_groups.end(), [](const Group &g) { return g.live == 0; });
    if (empty != m_groups.end()) {
        changed = std::min(changed, std::size_t(empty - m_groups.begin()));
        std::erase_if(m_groups, [](const Group &g) { return g.live == 0; });
    }
    place(changed);
    for (Group &g : m_groups) {
        for (Thinned &t : g.thinned) {
            if (t.stale)
                thinOut(g, t);
        }
    }
}

IndexEdits::Group IndexEdits::group(std::vector<Edited> records)
{
    std::erase_if(records, [](const Edited &e) { return e.entry.pos < 0; });
    const auto plain = std::stable_partition(records.begin(), records.end(), [](const Edited &e) { return !e.plain; });
    Group g;
    g.plainFrom = std::size_t(plain - records.begin());
    g.live = records.size();
    std::vector<qint32> column(g.plainFrom);
    std::vector<qint32> row(g.plainFrom);
    for (std::size_t i = 0; i < g.plainFrom; ++i) {
        column[i] = BucketGrid::bucketOf(qint32(records[i].x));
        row[i] = BucketGrid::bucketOf(qint32(records[i].y));
    }
    const std::vector<qint32> slot = g.grid.build(column, row);
    g.records.resize(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        Edited &e = g.records[i < g.plainFrom ? std::size_t(slot[i]) : i];
        e = records[i];
        e.crowded = -1;
    }
    g.grid.forEachBucket([&g](qint32 begin, qint32 end) {
        if (end - begin <= Crowded)
            return;
        for (qint32 i = begin; i < end; ++i)
            g.records[std::size_t(i)].crowded = qint32(g.thinned.size());
        g.thinned.push_back(Thinned{{}, begin, end, true});
    });
    for (Thinned &t : g.thinned)
        thinOut(g, t);
    return g;
}

void IndexEdits::thinOut(Group &g, Thinned &t)
{
    std::vector<qint32> latestFirst;
    for (qint32 i = t.begin; i < t.end; ++i) {
        if (g.records[std::size_t(i)].entry.pos >= 0)
            latestFirst.push_back(i);
    }
    std::sort(latestFirst.begin(), latestFirst.end(), [&g](qint32 a, qint32 b) {
        return g.records[std::size_t(a)].entry.pos > g.records[std::size_t(b)].entry.pos;
    });
    LaterDraws later;
    t.kept.clear();
    for (const qint32 i : latestFirst) {
        const quint8 parts = later.keep(g.records[std::size_t(i)].entry);
        if (parts != 0)
            t.kept.emplace_back(i, parts);
    }
    t.stale = false;
}

void IndexEdits::place(std::size_t first)
{
    for (std::size_t g = first; g < m_groups.size(); ++g) {
        const std::vector<Edited> &records = m_groups[g].records;
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (records[i].entry.pos >= 0)
                m_at[std::size_t(records[i].entry.pos)] = at(g, i);
        }
    }
}

void IndexEdits::unplace(const std::vector<Edited> &records)
{
    for (const Edited &e : records) {
        if (e.entry.pos >= 0)
            m_at[std::size_t(e.entry.pos)] = None;
    }
}

}  // namespace kalmor::detail
