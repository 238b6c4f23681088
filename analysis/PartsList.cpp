#include "analysis/PartsList.h"

#include "analysis/Csv.h"
#include "catalogue/DeskKinds.h"
#include "catalogue/ElementKinds.h"
#include "catalogue/KindDescriptions.h"

#include <QHash>

#include <algorithm>

namespace kalmor {

namespace {

// Lamp colours in the order the list gives them, with their plural.
constexpr std::array<std::pair<const char *, const char16_t *>, 6> Colours{{{"CE", u"žárovky červené"},
                                                                           {"ZE", u"žárovky zelené"},
                                                                           {"ZL", u"žárovky žluté"},
                                                                           {"OR", u"žárovky oranžové"},
                                                                           {"BI", u"žárovky bílé"},
                                                                           {"MO", u"žárovky modré"}}};

int colourIndex(const char *code)
{
    for (std::size_t i = 0; i < Colours.size(); ++i) {
        if (qstrcmp(Colours[i].first, code) == 0)
            return int(i);
    }
    return -1;
}

// The catalogue's place of a kind; names of no kind after all of them.
int catalogueRank(const QString &name)
{
    const KindInfo *kind = findKind(name);
    return kind ? int(kind - allKinds().data()) : KindCount;
}

// Adds what `count` elements of one kind take to the operating parts.
void countParts(PartsCount &c, const QString &kind, qsizetype count)
{
    const bool desk = elementClassOf(kind) == ElementClass::DeskElement;
    const QStringView prefix = QStringView(kind).first(std::min<qsizetype>(3, kind.size()));
    for (const IoRole &role : ioRolesOf(kind)) {
        if (role.direction != IoDirection::Out)
            continue;
        if (const int colour = colourIndex(role.code); colour >= 0)
            c.lampsByColour[std::size_t(colour)] += count;
        else if (prefix != u"POC")
            c.otherLamps += count;
    }
    if (!desk)
        return;
    if (prefix == u"TLA")
        c.buttons += count;
    else if (prefix == u"RAD")
        c.controllers += count;
    else if (prefix == u"POC")
        c.counters += count;
    else if (prefix == u"KLI")
        c.keyLocks += count;
}

PartsCount finish(const QString &group, const QHash<QString, qsizetype> &kinds)
{
    PartsCount c;
    c.group = group;
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it) {
        c.kinds.emplace_back(it.key(), it.value());
        countParts(c, it.key(), it.value());
    }
    std::sort(c.kinds.begin(), c.kinds.end(), [](const auto &a, const auto &b) {
        const int ra = catalogueRank(a.first);
        const int rb = catalogueRank(b.first);
        return ra != rb ? ra < rb : a.first < b.first;
    });
    return c;
}

CsvTable partsTable(const std::vector<PartsCount> &counts)
{
    CsvTable table;
    table.addRow({QStringLiteral("Oblast"), QStringLiteral("Druh"), QStringLiteral("Popis"), QStringLiteral("Počet")});
    for (const PartsCount &c : counts) {
        for (const auto &[kind, n] : c.kinds)
            table.addRow({c.group, kind, kindDescription(kind), QString::number(n)});
        const auto total = [&](const QString &what, qsizetype n) { table.addRow({c.group, {}, what, QString::number(n)}); };
        for (std::size_t i = 0; i < Colours.size(); ++i)
            total(QString::fromUtf16(Colours[i].second), c.lampsByColour[i]);
        total(QStringLiteral("žárovky bez barvy"), c.otherLamps);
        total(QStringLiteral("tlačítka"), c.buttons);
        total(QStringLiteral("řadiče"), c.controllers);
        total(QStringLiteral("počítadla"), c.counters);
        total(QStringLiteral("klíčové zámky"), c.keyLocks);
    }
    return table;
}

}  // namespace

std::vector<PartsCount> partsList(const StationData &doc)
{
    const qsizetype areas = doc.areas.count();
    std::vector<QHash<QString, qsizetype>> kinds(std::size_t(areas) + 1);
    forEachElement(doc, [&](const auto &r) {
        ++kinds.back()[r.NAME];
        for (qsizetype a = 0; a < areas; ++a) {
            if (doc.areas.at(a).contains(r.X, r.Y))
                ++kinds[std::size_t(a)][r.NAME];
        }
    });
    std::vector<PartsCount> out;
    for (qsizetype a = 0; a < areas; ++a)
        out.push_back(finish(doc.areas.at(a).NAME, kinds[std::size_t(a)]));
    out.push_back(finish(QStringLiteral("Celkem"), kinds.back()));
    return out;
}

QByteArray partsListCsv(const std::vector<PartsCount> &counts)
{
    return partsTable(counts).csv();
}

QString partsListText(const std::vector<PartsCount> &counts)
{
    return partsTable(counts).text();
}

}  // namespace kalmor
