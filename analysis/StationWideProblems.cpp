#include "analysis/StationWideProblems.h"

#include "analysis/IoPoints.h"

#include <algorithm>

namespace kalmor {

namespace {

ListKind listKindOf(IoList list)
{
    switch (list) {
    case IoList::Lamps: return ListKind::Lamps;
    case IoList::DeskElements: return ListKind::Desk;
    }
    return ListKind::Lamps;
}

}  // namespace

std::vector<Problem> stationWideProblems(const StationData &doc, KindTable &kinds)
{
    std::vector<Problem> out;
    const IoPoints points = IoPoints::of(doc);
    const bool anyAddress = points.anyAddress();
    if (anyAddress) {
        const AddressUse use(points);
        for (const IoPoint &p : points.points()) {
            const bool shared = use.isShared(p);
            if (p.address && !shared)
                continue;
            out.push_back(Problem{p.x, p.y, p.position, kinds.idOf(points.kindName(p)),
                                  shared ? ProblemCode::IoDuplicate : ProblemCode::IoMissing, std::nullopt,
                                  listKindOf(p.list), qint16(p.role)});
        }
    }
    for (qint32 i = 0; i < qint32(doc.areas.count()); ++i) {
        const TOblast &a = doc.areas.at(i);
        const bool inside = a.X >= 0 && a.Y >= 0 && a.SIRKA > 0 && a.VYSKA > 0
            && qint64(a.X) + a.SIRKA <= doc.columns && qint64(a.Y) + a.VYSKA <= doc.rows;
        if (!inside)
            out.push_back(Problem{a.X, a.Y, i, kinds.idOf(a.NAME), ProblemCode::AreaOutside, std::nullopt,
                                  ListKind::Areas, -1});
    }
    std::sort(out.begin(), out.end(), problemBefore);
    return out;
}

std::vector<quint64> StationWideProblems::revisionsOf(const StationData &doc) const
{
    std::vector<quint64> r{quint64(doc.columns), quint64(doc.rows), doc.areas.revision()};
    forEachIoList(doc, [&r](IoList, const auto &list) { r.push_back(list.revision()); });
    return r;
}

bool StationWideProblems::update(const StationData &doc, KindTable &kinds, bool kindsCleared)
{
    std::vector<quint64> now = revisionsOf(doc);
    if (!kindsCleared && now == m_revisions)
        return false;
    m_revisions = std::move(now);
    std::vector<Problem> found = stationWideProblems(doc, kinds);
    if (!kindsCleared && found == m_problems)
        return false;
    m_problems = std::move(found);
    return true;
}

}  // namespace kalmor
