#include "analysis/Problems.h"

#include "catalogue/DeskKinds.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace kalmor {

QString problemCodeText(ProblemCode code)
{
    switch (code) {
    case ProblemCode::AreaOutside: return QStringLiteral("area-outside");
    case ProblemCode::IoDuplicate: return QStringLiteral("io-duplicate");
    case ProblemCode::IoMissing: return QStringLiteral("io-missing");
    case ProblemCode::DivisionMismatch: return QStringLiteral("division-mismatch");
    case ProblemCode::DuplicateText: return QStringLiteral("duplicate-text");
    case ProblemCode::NoDesignation: return QStringLiteral("no-designation");
    case ProblemCode::OpenEnd: return QStringLiteral("open-end");
    case ProblemCode::OutsidePanel: return QStringLiteral("outside-panel");
    case ProblemCode::SignalWithoutTrack: return QStringLiteral("signal-without-track");
    case ProblemCode::Stacked: return QStringLiteral("stacked");
    case ProblemCode::UnknownKind: return QStringLiteral("unknown-kind");
    }
    return {};
}

QString problemDescription(ProblemCode code)
{
    switch (code) {
    case ProblemCode::AreaOutside: return QStringLiteral("Oblast přesahuje panel");
    case ProblemCode::IoDuplicate: return QStringLiteral("Adresa použitá vícekrát");
    case ProblemCode::IoMissing: return QStringLiteral("Bod bez adresy");
    case ProblemCode::DivisionMismatch: return QStringLiteral("Nesouhlasné dělení kolejového obvodu");
    case ProblemCode::DuplicateText: return QStringLiteral("Stejný text na více popiscích");
    case ProblemCode::NoDesignation: return QStringLiteral("Prvek bez označení");
    case ProblemCode::OpenEnd: return QStringLiteral("Konec koleje bez návaznosti");
    case ProblemCode::OutsidePanel: return QStringLiteral("Prvek mimo panel");
    case ProblemCode::SignalWithoutTrack: return QStringLiteral("Návěstidlo bez koleje");
    case ProblemCode::Stacked: return QStringLiteral("Více prvků v jednom políčku");
    case ProblemCode::UnknownKind: return QStringLiteral("Neznámý druh prvku");
    }
    return {};
}

ProblemLevel problemLevel(ProblemCode code)
{
    switch (code) {
    case ProblemCode::AreaOutside:
    case ProblemCode::DuplicateText:
    case ProblemCode::IoMissing:
    case ProblemCode::NoDesignation:
    case ProblemCode::SignalWithoutTrack:
        return ProblemLevel::Warning;
    default:
        return ProblemLevel::Error;
    }
}

QString problemLevelText(ProblemLevel level)
{
    return level == ProblemLevel::Warning ? QStringLiteral("warning") : QStringLiteral("error");
}

bool isStationWide(ProblemCode code)
{
    return code == ProblemCode::IoDuplicate || code == ProblemCode::IoMissing || code == ProblemCode::AreaOutside;
}

QString problemPointText(const Problem &p, const QString &kindName)
{
    if (p.point)
        return borderPointCode(*p.point);
    const auto roles = ioRolesOf(kindName);
    if (p.role >= 0 && std::size_t(p.role) < roles.size())
        return QString::fromLatin1(roles[std::size_t(p.role)].code);
    return {};
}

int pointRank(const std::optional<BorderPoint> &point)
{
    static constexpr std::array<int, BorderPointCount> Rank = [] {
        std::array<int, BorderPointCount> rank{};
        for (std::size_t i = 0; i < PointsInCodeOrder.size(); ++i)
            rank[std::size_t(PointsInCodeOrder[i])] = int(i);
        return rank;
    }();
    return point ? Rank[std::size_t(*point)] : -1;
}

bool problemBefore(const Problem &a, const Problem &b)
{
    if (a.y != b.y)
        return a.y < b.y;
    if (a.x != b.x)
        return a.x < b.x;
    return std::tuple(a.code, pointRank(a.point), a.list, a.position, a.role)
        < std::tuple(b.code, pointRank(b.point), b.list, b.position, b.role);
}

void ProblemList::clear()
{
    m_rows.clear();
    m_stationWideRows.clear();
    m_counts = {};
    m_size = 0;
    m_stale = true;
}

qsizetype ProblemList::size() const
{
    return m_size;
}

const Problem &ProblemList::at(qsizetype i) const
{
    reindex();
    const auto it = std::upper_bound(m_starts.cbegin(), m_starts.cend(), i,
                                     [](qsizetype v, const auto &start) { return v < start.first; });
    const auto &[first, row] = *std::prev(it);
    return (*row)[std::size_t(i - first)];
}

void ProblemList::add(const Problem &p, int sign)
{
    m_counts[std::size_t(p.code)] += sign;
    m_size += sign;
    m_stale = true;
}

void ProblemList::insert(const std::vector<Problem> &ordered)
{
    for (auto from = ordered.cbegin(); from != ordered.cend();) {
        const auto to = std::find_if(from, ordered.cend(), [y = from->y](const Problem &p) { return p.y != y; });
        std::vector<Problem> &row = m_rows[from->y];
        const std::size_t before = row.size();
        row.insert(row.end(), from, to);
        if (before > 0)
            std::inplace_merge(row.begin(), row.begin() + std::ptrdiff_t(before), row.end(), problemBefore);
        std::for_each(from, to, [this](const Problem &p) { add(p, 1); });
        from = to;
    }
}

void ProblemList::insert(std::vector<Problem> &&ordered)
{
    if (ordered.empty())
        return;
    const qint32 y = ordered.front().y;
    if (ordered.back().y != y || m_rows.contains(y)) {
        insert(std::as_const(ordered));
        return;
    }
    for (const Problem &p : ordered)
        add(p, 1);
    m_rows.emplace(y, std::move(ordered));
}

void ProblemList::removeCell(qint32 x, qint32 y)
{
    const auto it = m_rows.find(y);
    if (it == m_rows.end())
        return;
    std::vector<Problem> &row = it->second;
    const auto lo = std::partition_point(row.begin(), row.end(), [x](const Problem &p) { return p.x < x; });
    const auto hi = std::partition_point(lo, row.end(), [x](const Problem &p) { return p.x == x; });
    const auto kept = std::stable_partition(lo, hi, [](const Problem &p) { return isStationWide(p.code); });
    std::for_each(kept, hi, [this](const Problem &p) { add(p, -1); });
    row.erase(kept, hi);
    if (row.empty())
        m_rows.erase(it);
}

void ProblemList::replaceStationWide(const std::vector<Problem> &ordered)
{
    for (const qint32 y : m_stationWideRows) {
        const auto it = m_rows.find(y);
        if (it == m_rows.end())
            continue;
        std::erase_if(it->second, [this](const Problem &p) {
            const bool wide = isStationWide(p.code);
            if (wide)
                add(p, -1);
            return wide;
        });
        if (it->second.empty())
            m_rows.erase(it);
    }
    m_stationWideRows.clear();
    for (const Problem &p : ordered) {
        if (m_stationWideRows.empty() || m_stationWideRows.back() != p.y)
            m_stationWideRows.push_back(p.y);
    }
    insert(ordered);
}

void ProblemList::cellsIn(const QRect &cells, std::vector<QPoint> &out) const
{
    out.clear();
    for (auto it = m_rows.lower_bound(cells.top()); it != m_rows.end() && it->first <= cells.bottom(); ++it) {
        const std::vector<Problem> &row = it->second;
        auto p = std::partition_point(row.cbegin(), row.cend(),
                                      [left = cells.left()](const Problem &q) { return q.x < left; });
        for (; p != row.cend() && p->x <= cells.right(); ++p) {
            if (out.empty() || out.back() != QPoint(p->x, p->y))
                out.emplace_back(p->x, p->y);
        }
    }
}

void ProblemList::reindex() const
{
    if (!m_stale)
        return;
    m_starts.clear();
    qsizetype first = 0;
    for (const auto &[y, row] : m_rows) {
        m_starts.emplace_back(first, &row);
        first += qsizetype(row.size());
    }
    m_stale = false;
}

}  // namespace kalmor
