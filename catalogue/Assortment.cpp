#include "catalogue/Assortment.h"

#include <algorithm>
#include <array>

namespace kalmor {

namespace {

struct PageSpec {
    const char *objectName;
    const char *caption;  // UTF-8
    const char *firstKind;
    const char *frameName;
};

constexpr std::array<PageSpec, 9> MainSpecs{{
    {"SH_PRIME", "Přímé koleje", "KOL_sLSPS", "RamecekVolby_KOL"},
    {"SH_VYHYBKY1", "Výhybky 1", "VYH_sLSPS_sLDPS", "RamecekVolby_VYH1"},
    {"SH_VYHYBKY2", "Výhybky 2", "VYH_sLSPS_sLHPS", "RamecekVolby_VYH2"},
    {"SH_HRANICE", "Kusá kolej + hranice KO", "KOZ_sLS", "RamecekVolby_HKO"},
    {"SH_ZAROVKY", "Žárovky", "ZAR_CE_ZH", "RamecekVolby_ZAR"},
    {"TabSheet2", "Tlačítka + řadiče", "TLA_VC", "RamecekVolby_TLA"},
    {"SH_STITKY", "Popisky", "STI_Cely_Dole", "RamecekVolby_STI"},
    {"TabSheet5", "Průsvitky", "PRU_SIP_L", "RamecekVolby_PRU"},
    {"TabSheet1", "Návěstidla", "NAV_HL_L", "RamecekVolby_NAV"},
}};

constexpr std::array<PageSpec, 8> PaletteSpecs{{
    {"SH_PRIME", "Přímé koleje", "KOL_sLSPS", "RamecekVolby_KOL"},
    {"SH_VYHYBKY1", "Výhybky", "VYH_sLSPS_sLDPS", "RamecekVolby_VYH1"},
    {"SH_HRANICE", "Kusá kolej + hranice KO", "KOZ_sLS", "RamecekVolby_HKO"},
    {"SH_ZAROVKY", "Žárovky", "ZAR_CE_ZH", "RamecekVolby_ZAR"},
    {"SH_OVLADANI", "Tlačítka + řadiče", "TLA_VC", "RamecekVolby_TLA"},
    {"SH_STITKY", "Popisky", "STI_Cely_Dole", "RamecekVolby_STI"},
    {"SH_PRUSVITKY", "Průsvitky", "PRU_SIP_L", "RamecekVolby_PRU"},
    {"SH_NAVESTIDLA", "Návěstidla", "NAV_HL_L", "RamecekVolby_NAV"},
}};

template <std::size_t N>
std::vector<AssortmentPage> buildPages(const std::array<PageSpec, N> &specs, bool palette)
{
    std::vector<AssortmentPage> pages;
    for (const PageSpec &s : specs)
        pages.push_back({s.objectName, QString::fromUtf8(s.caption), s.firstKind, s.frameName, {}});
    for (const KindInfo &k : allKinds())
        pages[std::size_t(palette ? k.palettePage : k.mainPage)].kinds.push_back(&k);
    const auto order = [palette](const KindInfo *a, const KindInfo *b) {
        return palette ? std::pair(a->paletteRow, a->palettePlace) < std::pair(b->paletteRow, b->palettePlace)
                       : a->mainPlace < b->mainPlace;
    };
    for (AssortmentPage &p : pages)
        std::stable_sort(p.kinds.begin(), p.kinds.end(), order);
    return pages;
}

int indexOf(std::span<const AssortmentPage> pages, QStringView objectName)
{
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (objectName == QLatin1StringView(pages[i].objectName))
            return int(i);
    }
    return -1;
}

}  // namespace

std::span<const AssortmentPage> mainPages()
{
    static const std::vector<AssortmentPage> pages = buildPages(MainSpecs, false);
    return pages;
}

std::span<const AssortmentPage> palettePages()
{
    static const std::vector<AssortmentPage> pages = buildPages(PaletteSpecs, true);
    return pages;
}

int mainPageIndex(QStringView objectName)
{
    return indexOf(mainPages(), objectName);
}

int palettePageIndex(QStringView objectName)
{
    return indexOf(palettePages(), objectName);
}

QPoint mainImagePosition(const KindInfo &kind)
{
    return {FirstImageLeft + ImageSpacing * (kind.mainPlace - 1), FirstImageTop};
}

QPoint paletteImagePosition(const KindInfo &kind)
{
    return {FirstImageLeft + ImageSpacing * (kind.palettePlace - 1),
            FirstImageTop + PaletteRowSpacing * (kind.paletteRow - 1)};
}

}  // namespace kalmor
