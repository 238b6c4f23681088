#include "render/index/IndexEdits.h"

#include <algorithm>
#include <limits>

namespace kalmor::detail {

namespace {

// Records waiting outside the buckets before they are grouped: a frame
// walks them all.
constexpr std::size_t LatestLimit = 2048;
// Records in one group at most, and records that one call of settle()
// compacts and merges at most: no merge of large groups costs a pass
// longer than a frame should wait (a frame gathers once per tile, and
// each gather may settle).
constexpr std::size_t SettleBudget = std::size_t(1) << 13;

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
    // Sized for the list now, so that no frame pays for filling it, with
    // a quarter more room, so that the first large paste does not copy it.
    m_at.clear();
    m_at.reserve(std::size_t(count) + std::size_t(count) / 4);
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

bool IndexEdits::unsettled() const
{
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        if (mergeable(g) || wasteful(m_groups[g]))
            return true;
    }
    return false;
}

bool IndexEdits::mergeable(std::size_t g) const
{
    // Like sizes merge, as the digits of a binary counter carry.
    return g + 1 < m_groups.size() && m_groups[g].live <= m_groups[g + 1].live
        && m_groups[g].records.size() + m_groups[g + 1].records.size() <= SettleBudget;
}

bool IndexEdits::wasteful(const Group &g)
{
    return g.records.size() - g.live > std::max(LatestLimit, g.live);
}

void IndexEdits::settle()
{
    std::size_t changed = m_groups.size();  // the first group whose records moved
    // The latest records are grouped at once, in groups of a bounded size,
    // since every gather would walk those left over. Compacting and merging
    // groups, passes that no change asks for, are bounded in each call.
    if (m_latest.size() > LatestLimit) {
        changed = std::min(changed, m_groups.size());
        for (std::size_t from = 0; from < m_latest.size(); from += SettleBudget) {
            const auto first = m_latest.begin() + std::ptrdiff_t(from);
            const auto last = m_latest.begin() + std::ptrdiff_t(std::min(m_latest.size(), from + SettleBudget));
            m_groups.push_back(group(std::vector<Edited>(first, last)));
        }
        m_latest.clear();
    }
    std::size_t budget = SettleBudget;
    const auto spend = [&budget](std::size_t records) {
        if (records > budget)
            return false;
        budget -= records;
        return true;
    };
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        if (wasteful(m_groups[g]) && spend(m_groups[g].records.size())) {
            m_groups[g] = group(std::move(m_groups[g].records));
            changed = std::min(changed, g);
        }
    }
    for (std::size_t g = m_groups.size(); g-- > 1;) {
        if (mergeable(g - 1) && spend(m_groups[g - 1].records.size() + m_groups[g].records.size())) {
            std::vector<Edited> both = std::move(m_groups[g - 1].records);
            both.insert(both.end(), m_groups[g].records.begin(), m_groups[g].records.end());
            m_groups[g - 1] = group(std::move(both));
            m_groups.erase(m_groups.begin() + std::ptrdiff_t(g));
            changed = std::min(changed, g - 1);
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

void IndexEdits::unplace(const std::vector<Edited> &records, qint32 first)
{
    for (const Edited &e : records) {
        if (e.entry.pos >= first)
            m_at[std::size_t(e.entry.pos)] = None;
    }
}

}  // namespace kalmor::detail
