#include "render/index/IndexEdits.h"

#include "render/index/IndexMoves.h"

#include <algorithm>

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
    m_at[std::size_t(pos)] = None;
    if (g == Latest) {
        m_latest[i].entry.pos = -1;
        lost(nullptr, qint32(i));
    } else {
        m_groups[g].buckets[i].pos = -1;
        lost(&m_groups[g], qint32(i));
    }
}

void IndexEdits::lost(Group *of, qint32 slot)
{
    --m_live;
    if (!of)
        return;
    --of->live;
    of->buckets.changed(slot);
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

void IndexEdits::renumber(const Moves &moves, qint32 first, qint32 count)
{
    // Clearing the positions noted from first on costs a miss each,
    // clearing that part of the table a pass: whichever is less.
    const std::size_t from = std::min(std::size_t(first), m_at.size());
    if (32 * (m_live + m_latest.size()) < m_at.size() - from)
        unplace(first);
    else
        std::fill(m_at.begin() + std::ptrdiff_t(from), m_at.end(), None);
    m_at.resize(std::max(m_at.size(), std::size_t(count)), None);
    const auto move = [&](qint32 &pos, std::size_t group, std::size_t slot) {
        if (pos < first)
            return;
        pos = moves(pos);
        if (pos >= 0)
            m_at[std::size_t(pos)] = at(group, slot);
        else
            lost(group == Latest ? nullptr : &m_groups[group], qint32(slot));
    };
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        Buckets &records = m_groups[g].buckets;
        for (std::size_t slot = 0; slot < records.size(); ++slot)
            move(records[slot].pos, g, slot);
    }
    for (std::size_t i = 0; i < m_latest.size(); ++i)
        move(m_latest[i].entry.pos, Latest, i);
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
        && m_groups[g].buckets.size() + m_groups[g + 1].buckets.size() <= SettleBudget;
}

bool IndexEdits::wasteful(const Group &g)
{
    return g.buckets.size() - g.live > std::max(LatestLimit, g.live);
}

void IndexEdits::groupLatest()
{
    for (std::size_t from = 0; from < m_latest.size(); from += SettleBudget) {
        std::vector<Entry> entries;
        std::vector<qint32> column;
        std::vector<qint32> row;
        for (std::size_t i = from; i < std::min(m_latest.size(), from + SettleBudget); ++i) {
            const Edited &e = m_latest[i];
            if (e.entry.pos < 0)
                continue;
            entries.push_back(e.entry);
            column.push_back(e.plain ? BucketGrid::LeftOut : BucketGrid::bucketOf(qint32(e.x)));
            row.push_back(BucketGrid::bucketOf(qint32(e.y)));
        }
        m_groups.push_back(group(entries, column, row));
    }
    m_latest.clear();
}

void IndexEdits::settle()
{
    std::size_t changed = m_groups.size();  // the first group whose records moved
    // The latest records are grouped at once, since every gather would
    // walk those left over. Compacting and merging groups, passes that no
    // change asks for, are bounded in each call.
    if (m_latest.size() > LatestLimit)
        groupLatest();
    std::size_t budget = SettleBudget;
    const auto spend = [&budget](std::size_t records) {
        if (records > budget)
            return false;
        budget -= records;
        return true;
    };
    std::vector<Entry> entries;
    std::vector<qint32> column;
    std::vector<qint32> row;
    const auto regroup = [&](std::size_t first, std::size_t last) {
        entries.clear();
        column.clear();
        row.clear();
        for (std::size_t g = first; g <= last; ++g)
            m_groups[g].buckets.takeShown(ShownAt{}, entries, column, row);
        m_groups[first] = group(entries, column, row);
        m_groups.erase(m_groups.begin() + std::ptrdiff_t(first) + 1, m_groups.begin() + std::ptrdiff_t(last) + 1);
        changed = std::min(changed, first);
    };
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        if (wasteful(m_groups[g]) && spend(m_groups[g].buckets.size()))
            regroup(g, g);
    }
    for (std::size_t g = m_groups.size(); g-- > 1;) {
        if (mergeable(g - 1) && spend(m_groups[g - 1].buckets.size() + m_groups[g].buckets.size()))
            regroup(g - 1, g);
    }
    const auto empty = std::find_if(m_groups.begin(), m_groups.end(), [](const Group &g) { return g.live == 0; });
    if (empty != m_groups.end()) {
        changed = std::min(changed, std::size_t(empty - m_groups.begin()));
        std::erase_if(m_groups, [](const Group &g) { return g.live == 0; });
    }
    place(changed);
}

void IndexEdits::thinChanged()
{
    for (Group &g : m_groups)
        g.buckets.thinChanged(ShownAt{});
}

IndexEdits::Group IndexEdits::group(const std::vector<Entry> &entries, const std::vector<qint32> &column,
                                    const std::vector<qint32> &row)
{
    Group g;
    g.buckets.build(entries, column, row, ShownAt{});
    g.live = entries.size();
    return g;
}

void IndexEdits::place(std::size_t first)
{
    for (std::size_t g = first; g < m_groups.size(); ++g) {
        const Buckets &records = m_groups[g].buckets;
        for (std::size_t slot = 0; slot < records.size(); ++slot) {
            if (records[slot].pos >= 0)
                m_at[std::size_t(records[slot].pos)] = at(g, slot);
        }
    }
}

void IndexEdits::unplace(qint32 first)
{
    const auto clear = [&](qint32 pos) {
        if (pos >= first)
            m_at[std::size_t(pos)] = None;
    };
    for (const Group &g : m_groups) {
        for (std::size_t slot = 0; slot < g.buckets.size(); ++slot)
            clear(g.buckets[slot].pos);
    }
    for (const Edited &e : m_latest)
        clear(e.entry.pos);
}

void IndexEdits::gather(const CellRange &cells, qint64 sx, qint64 sy, std::vector<IndexedDraw> &out)
{
    for (Group &g : m_groups)
        g.buckets.gather(cells, sx, sy, ShownAt{}, out);
    for (const Edited &e : m_latest) {
        const Entry &d = e.entry;
        if (d.pos >= 0 && !e.plain && e.x >= cells.x0 && e.x <= cells.x1 && e.y >= cells.y0 && e.y <= cells.y1)
            out.push_back(IndexedDraw{qint32(e.x + sx), qint32(e.y + sy), d.pos, d.name, d.dx, d.dy, d.parts, false});
    }
}

void IndexEdits::gatherPlain(std::vector<IndexedDraw> &out) const
{
    for (const Group &g : m_groups)
        g.buckets.gatherPlain(ShownAt{}, out);
    for (const Edited &e : m_latest) {
        if (e.entry.pos >= 0 && e.plain)
            out.push_back(IndexedDraw{0, 0, e.entry.pos, 0, 0, 0, PartPicture, true});
    }
}

}  // namespace kalmor::detail
