#include "analysis/KindTable.h"

#include <algorithm>

namespace kalmor {

namespace {

bool hasPicture(const QString &name)
{
    const auto named = [&name](const char *known) {
        return name.compare(QLatin1StringView(known), Qt::CaseInsensitive) == 0;
    };
    const auto kinds = allKinds();
    return std::any_of(kinds.begin(), kinds.end(), [&](const KindInfo &k) { return named(k.name); })
        || std::any_of(CornerPieceNames.begin(), CornerPieceNames.end(), named);
}

}  // namespace

KindFacts KindTable::factsOf(const QString &name)
{
    KindFacts facts;
    facts.name = name;
    const ElementClass cls = elementClassOf(name);
    const bool corner = name.startsWith(QLatin1StringView("Ruzek"));
    facts.unknown = (cls == ElementClass::None && !corner) || !hasPicture(name);
    facts.desk = cls == ElementClass::DeskElement;
    if (facts.desk && !facts.unknown) {
        facts.signal = name.startsWith(QLatin1StringView("NAV_"));
        const auto named = [&name](const char *kind) {
            return name.compare(QLatin1StringView(kind), Qt::CaseInsensitive) == 0;
        };
        facts.needsDesignation = facts.signal || named("RAD_VYH") || named("TLA_VC") || named("TLA_PC");
    }
    if (cls != ElementClass::TrackTile || facts.unknown)
        return facts;
    facts.points = borderPointsOf(name);
    if (name.startsWith(QLatin1StringView("HKO"))) {
        // The later of its two points in the catalogue's order.
        for (const BorderPoint p : AllBorderPoints) {
            if (facts.points.contains(p))
                facts.secondSide = BorderPoints(std::uint8_t(1u << int(p)));
        }
    }
    return facts;
}

quint32 KindTable::idOf(const QString &name)
{
    Recent &recent = m_recent[(quintptr(name.constData()) >> 4) % m_recent.size()];
    if (!name.isNull() && recent.name.constData() == name.constData() && recent.name.size() == name.size())
        return recent.id;
    quint32 id;
    if (const auto it = m_ids.constFind(name); it != m_ids.cend()) {
        id = *it;
    } else {
        id = quint32(m_facts.size());
        m_facts.push_back(factsOf(name));
        m_ids.insert(name, id);
    }
    recent = {name, id};
    return id;
}

void KindTable::clear()
{
    m_ids.clear();
    m_facts.clear();
    m_recent = {};
}

}  // namespace kalmor
