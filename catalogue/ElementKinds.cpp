#include "catalogue/ElementKinds.h"

#include <algorithm>

namespace kalmor {

namespace {

// Page indices of the kind table below; see Assortment.cpp for the pages.
enum MainPage { Prime, Vyhybky1, Vyhybky2, Hranice, Zarovky, Ovladani, Stitky, Prusvitky, Navestidla };
enum PalettePage { PPrime, PVyhybky, PHranice, PZarovky, POvladani, PStitky, PPrusvitky, PNavestidla };

constexpr std::array<KindInfo, KindCount> Kinds{{
    {"KOL_sLSPS", Prime, 1, PPrime, 1, 1},
    {"KOL_sLDPH", Prime, 2, PPrime, 1, 2},
    {"KOL_sSDSH", Prime, 3, PPrime, 1, 3},
    {"KOL_sLHPD", Prime, 4, PPrime, 1, 4},
    {"KOL_sLDPS", Prime, 5, PPrime, 1, 5},
    {"KOL_sSDPH", Prime, 6, PPrime, 2, 1},
    {"KOL_sSHPD", Prime, 7, PPrime, 2, 2},
    {"KOL_sLHPS", Prime, 8, PPrime, 2, 3},
    {"KOL_sLSPH", Prime, 9, PPrime, 2, 4},
    {"KOL_sLDSH", Prime, 10, PPrime, 2, 5},
    {"KOL_sLHSD", Prime, 11, PPrime, 3, 1},
    {"KOL_sLSPD", Prime, 12, PPrime, 3, 2},
    {"KRI_sLSPS_sSDSH", Prime, 13, PPrime, 3, 3},
    {"KRI_sLDPH_sLHPD", Prime, 14, PPrime, 3, 4},
    {"VYH_sLSPS_sLDPS", Vyhybky1, 1, PVyhybky, 1, 1},
    {"VYH_sLSPS_sLSPH", Vyhybky1, 2, PVyhybky, 1, 2},
    {"VYH_sLHPD_sLHPS", Vyhybky1, 3, PVyhybky, 1, 3},
    {"VYH_sLSPD_sLHPD", Vyhybky1, 4, PVyhybky, 1, 4},
    {"VYH_sSDSH_sPDSH", Vyhybky1, 5, PVyhybky, 1, 5},
    {"VYH_sSDSH_sSDLH", Vyhybky1, 6, PVyhybky, 1, 6},
    {"VYH_sLDPH_sSDPH", Vyhybky1, 7, PVyhybky, 2, 1},
    {"VYH_sLDPH_sLDSH", Vyhybky1, 8, PVyhybky, 2, 2},
    {"ANG_sLSPS_sLHPD_sLSPD_sLHPS", Vyhybky1, 9, PVyhybky, 2, 3},
    {"ANG_sLSPS_sLDPH_sLSPH_sLDPS", Vyhybky1, 10, PVyhybky, 2, 4},
    {"ANG_sLHPD_sSDSH_sLHSD_sSHPD", Vyhybky1, 11, PVyhybky, 2, 5},
    {"ANG_sLDPH_sSDSH_sLDSH_sSDLH", Vyhybky1, 12, PVyhybky, 2, 6},
    {"VYH_sLSPS_sLHPS", Vyhybky2, 1, PVyhybky, 3, 1},
    {"VYH_sLSPS_sLSPD", Vyhybky2, 2, PVyhybky, 3, 2},
    {"VYH_sLHPD_sSHPD", Vyhybky2, 3, PVyhybky, 3, 3},
    {"VYH_sLHPD_sLHSD", Vyhybky2, 4, PVyhybky, 3, 4},
    {"VYH_sLDPH_sLDPS", Vyhybky2, 5, PVyhybky, 3, 5},
    {"VYH_sLDPH_sLSPH", Vyhybky2, 6, PVyhybky, 3, 6},
    {"VYH_sSDSH_sSDPH", Vyhybky2, 7, PVyhybky, 4, 1},
    {"VYH_sSDSH_sLDSH", Vyhybky2, 8, PVyhybky, 4, 2},
    {"OBO_sLHPS_sLDPS", Vyhybky2, 9, PVyhybky, 4, 3},
    {"OBO_sLDSH_sPDSH", Vyhybky2, 10, PVyhybky, 4, 4},
    {"OBO_sLSPH_sLSPD", Vyhybky2, 11, PVyhybky, 4, 5},
    {"OBO_sSDLH_sSDPH", Vyhybky2, 12, PVyhybky, 4, 6},
    {"OBO_sLSPD_sSHPD", Vyhybky2, 13, PVyhybky, 5, 1},
    {"OBO_sLDSH_sLDPS", Vyhybky2, 14, PVyhybky, 5, 2},
    {"OBO_sLHSD_sLHPS", Vyhybky2, 15, PVyhybky, 5, 3},
    {"OBO_sLSPH_sSDPH", Vyhybky2, 16, PVyhybky, 5, 4},
    {"KOZ_sLS", Hranice, 1, PHranice, 1, 1},
    {"KOZ_sSD", Hranice, 2, PHranice, 1, 2},
    {"KOZ_sPS", Hranice, 3, PHranice, 1, 3},
    {"KOZ_sSH", Hranice, 4, PHranice, 1, 4},
    {"KOZ_sPD", Hranice, 5, PHranice, 2, 1},
    {"KOZ_sPH", Hranice, 6, PHranice, 2, 2},
    {"KOZ_sLH", Hranice, 7, PHranice, 2, 3},
    {"KOZ_sLD", Hranice, 8, PHranice, 2, 4},
    {"HKO_sLSPS", Hranice, 9, PHranice, 3, 1},
    {"HKO_sSDSH", Hranice, 10, PHranice, 3, 2},
    {"HKO_sLHPD", Hranice, 11, PHranice, 3, 3},
    {"HKO_sLDPH", Hranice, 12, PHranice, 3, 4},
    {"ZAR_CE_ZH", Zarovky, 1, PZarovky, 1, 1},
    {"ZAR_OR_ZH", Zarovky, 2, PZarovky, 1, 2},
    {"ZAR_BI_ZH", Zarovky, 3, PZarovky, 1, 3},
    {"ZAR_ZE_ZH", Zarovky, 4, PZarovky, 1, 4},
    {"STI_Cely_Dole", Stitky, 1, PStitky, 1, 1},
    {"STI_Cely_Nahore", Stitky, 2, PStitky, 1, 2},
    {"STI_Cely_Uprostred", Stitky, 3, PStitky, 1, 3},
    // The desk elements; on the palette the signals stand in pairs, the
    // buttons in one row and the controllers, counter and lock below them.
    {"NAV_HL_L", Navestidla, 1, PNavestidla, 1, 1},
    {"NAV_HL_P", Navestidla, 2, PNavestidla, 1, 2},
    {"NAV_HP_L", Navestidla, 3, PNavestidla, 1, 3},
    {"NAV_HP_P", Navestidla, 4, PNavestidla, 1, 4},
    {"NAV_SE_L", Navestidla, 5, PNavestidla, 2, 1},
    {"NAV_SE_P", Navestidla, 6, PNavestidla, 2, 2},
    {"NAV_PR_L", Navestidla, 7, PNavestidla, 2, 3},
    {"NAV_PR_P", Navestidla, 8, PNavestidla, 2, 4},
    {"TLA_VC", Ovladani, 1, POvladani, 1, 1},
    {"TLA_PC", Ovladani, 2, POvladani, 1, 2},
    {"TLA_RC", Ovladani, 3, POvladani, 1, 3},
    {"TLA_NUZ", Ovladani, 4, POvladani, 1, 4},
    {"TLA_PN", Ovladani, 5, POvladani, 1, 5},
    {"TLA_SK", Ovladani, 6, POvladani, 1, 6},
    {"RAD_VYH", Ovladani, 7, POvladani, 2, 1},
    {"RAD_2P", Ovladani, 8, POvladani, 2, 2},
    {"POC_Obsluh", Ovladani, 9, POvladani, 2, 3},
    {"KLI_Zamek", Ovladani, 10, POvladani, 2, 4},
    {"PRU_SIP_L", Prusvitky, 1, PPrusvitky, 1, 1},
    {"PRU_SIP_P", Prusvitky, 2, PPrusvitky, 1, 2},
    {"PRU_SOU", Prusvitky, 3, PPrusvitky, 1, 3},
    {"PRU_PRJ", Prusvitky, 4, PPrusvitky, 1, 4},
    {"PRU_TXT", Prusvitky, 5, PPrusvitky, 1, 5},
}};

constexpr std::array<const char *, 8> Codes{"LH", "LS", "LD", "SH", "SD", "PH", "PS", "PD"};

}  // namespace

QString borderPointCode(BorderPoint p)
{
    return QString::fromLatin1(Codes[static_cast<int>(p)]);
}

ElementClass elementClassOf(QStringView name)
{
    if (name.size() < 3)
        return ElementClass::None;
    const QStringView prefix = name.first(3);
    if (prefix == u"STI")
        return ElementClass::LabelPlate;
    if (isLampName(name))
        return ElementClass::Lamp;
    for (const auto *track : {u"KOL", u"ANG", u"KRI", u"HKO", u"KOZ", u"VYH", u"OBO"}) {
        if (prefix == QStringView(track))
            return ElementClass::TrackTile;
    }
    for (const auto *desk : {u"NAV", u"TLA", u"RAD", u"POC", u"KLI", u"PRU"}) {
        if (prefix == QStringView(desk))
            return ElementClass::DeskElement;
    }
    return ElementClass::None;
}

BorderPoints borderPointsOf(QStringView name)
{
    BorderPoints set;
    for (const BorderPoint p : AllBorderPoints) {
        if (name.contains(QLatin1StringView(Codes[static_cast<int>(p)]), Qt::CaseInsensitive))
            set.insert(p);
    }
    return set;
}

std::span<const KindInfo> allKinds()
{
    return Kinds;
}

const KindInfo *findKind(QStringView name)
{
    const auto it = std::find_if(Kinds.begin(), Kinds.end(), [name](const KindInfo &k) {
        return name == QLatin1StringView(k.name);
    });
    return it == Kinds.end() ? nullptr : &*it;
}

std::optional<CornerPartner> cornerPartnerOf(QStringView cornerPiece)
{
    if (cornerPiece == u"Ruzek_LH")
        return CornerPartner{"Ruzek_PH", -1};
    if (cornerPiece == u"Ruzek_PH")
        return CornerPartner{"Ruzek_LH", +1};
    if (cornerPiece == u"Ruzek_LD")
        return CornerPartner{"Ruzek_PD", -1};
    if (cornerPiece == u"Ruzek_PD")
        return CornerPartner{"Ruzek_LD", +1};
    return std::nullopt;
}

}  // namespace kalmor
