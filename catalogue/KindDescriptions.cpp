#include "catalogue/KindDescriptions.h"

#include "catalogue/DeskKinds.h"
#include "catalogue/ElementKinds.h"

#include <array>
#include <utility>

namespace kalmor {

namespace {

using Pair = std::pair<const char16_t *, const char16_t *>;

constexpr std::array<Pair, 6> ColourNames{{{u"CE", u"červená"},
                                           {u"ZE", u"zelená"},
                                           {u"ZL", u"žlutá"},
                                           {u"OR", u"oranžová"},
                                           {u"BI", u"bílá"},
                                           {u"MO", u"modrá"}}};

constexpr std::array<Pair, 7> TrackClasses{{{u"KOL", u"kolej"},
                                            {u"KRI", u"křížení kolejí"},
                                            {u"VYH", u"výhybka"},
                                            {u"OBO", u"souměrná výhybka"},
                                            {u"ANG", u"anglická výhybka"},
                                            {u"KOZ", u"kusá kolej"},
                                            {u"HKO", u"hranice kolejového obvodu"}}};

constexpr std::array<Pair, 3> PlatePlaces{{{u"STI_Cely_Dole", u"štítek, text dole"},
                                           {u"STI_Cely_Nahore", u"štítek, text nahoře"},
                                           {u"STI_Cely_Uprostred", u"štítek, text uprostřed"}}};

template <std::size_t N>
QString lookUp(const std::array<Pair, N> &table, QStringView key)
{
    for (const auto &[k, v] : table) {
        if (key == QStringView(k))
            return QString::fromUtf16(v);
    }
    return {};
}

}  // namespace

QString lampColourName(QStringView code)
{
    return lookUp(ColourNames, code);
}

QString kindDescription(QStringView kind)
{
    switch (elementClassOf(kind)) {
    case ElementClass::DeskElement:
        return deskKindDescription(kind);
    case ElementClass::Lamp: {
        const auto roles = ioRolesOf(kind);
        const QString colour = roles.empty() ? QString() : lampColourName(QString::fromLatin1(roles.front().code));
        return colour.isEmpty() ? QStringLiteral("žárovka") : QStringLiteral("žárovka ") + colour;
    }
    case ElementClass::LabelPlate: {
        const QString place = lookUp(PlatePlaces, kind);
        return place.isEmpty() ? QStringLiteral("štítek") : place;
    }
    case ElementClass::TrackTile:
        return lookUp(TrackClasses, kind.first(3));
    case ElementClass::None:
        break;
    }
    return {};
}

}  // namespace kalmor
