#include "catalogue/DeskKinds.h"

#include <algorithm>
#include <array>

namespace kalmor {

namespace {

constexpr IoDirection In = IoDirection::In;
constexpr IoDirection Out = IoDirection::Out;

// Lamp colours: CE red, ZE green, ZL yellow, OR orange, BI white, MO blue.
constexpr IoRole MainSignal[] = {{"CE", Out}, {"ZE", Out}};
constexpr IoRole CallOnSignal[] = {{"CE", Out}, {"ZE", Out}, {"BI", Out}};
constexpr IoRole ShuntingSignal[] = {{"MO", Out}, {"BI", Out}};
constexpr IoRole DistantSignal[] = {{"ZL", Out}, {"ZE", Out}};
constexpr IoRole TrainRouteButton[] = {{"T", In}, {"ZE", Out}};
constexpr IoRole ButtonWithWhiteLamp[] = {{"T", In}, {"BI", Out}};
constexpr IoRole PlainButton[] = {{"T", In}};
constexpr IoRole SwitchController[] = {{"PLUS", In}, {"MINUS", In}, {"PLUS", Out}, {"MINUS", Out}, {"PORUCHA", Out}};
constexpr IoRole TwoPositionController[] = {{"A", In}, {"B", In}};
constexpr IoRole Counter[] = {{"P", Out}};
constexpr IoRole KeyLock[] = {{"K", In}, {"BI", Out}};
constexpr IoRole WhiteLamp[] = {{"BI", Out}};
constexpr IoRole LineConsent[] = {{"L", Out}, {"P", Out}, {"CE", Out}};
constexpr IoRole LevelCrossing[] = {{"BI", Out}, {"CE", Out}, {"ZL", Out}};

constexpr std::array<DeskKindInfo, 23> DeskKinds{{
    {"NAV_HL_L", "hlavní návěstidlo (vlevo)", MainSignal},
    {"NAV_HL_P", "hlavní návěstidlo (vpravo)", MainSignal},
    {"NAV_HP_L", "návěstidlo s přivolávací návěstí (vlevo)", CallOnSignal},
    {"NAV_HP_P", "návěstidlo s přivolávací návěstí (vpravo)", CallOnSignal},
    {"NAV_SE_L", "seřaďovací návěstidlo (vlevo)", ShuntingSignal},
    {"NAV_SE_P", "seřaďovací návěstidlo (vpravo)", ShuntingSignal},
    {"NAV_PR_L", "předvěst (vlevo)", DistantSignal},
    {"NAV_PR_P", "předvěst (vpravo)", DistantSignal},
    {"TLA_VC", "vlakové cestové tlačítko", TrainRouteButton},
    {"TLA_PC", "posunové cestové tlačítko", ButtonWithWhiteLamp},
    {"TLA_RC", "rušicí tlačítko", PlainButton},
    {"TLA_NUZ", "tlačítko nouzového uvolnění", ButtonWithWhiteLamp},
    {"TLA_PN", "přivolávací tlačítko", PlainButton},
    {"TLA_SK", "skupinové tlačítko", PlainButton},
    {"RAD_VYH", "výhybkový řadič", SwitchController},
    {"RAD_2P", "dvoupolohový řadič", TwoPositionController},
    {"POC_Obsluh", "počítadlo obsluh", Counter},
    {"KLI_Zamek", "klíčový zámek", KeyLock},
    {"PRU_SIP_L", "šipka směru (vlevo)", WhiteLamp},
    {"PRU_SIP_P", "šipka směru (vpravo)", WhiteLamp},
    {"PRU_SOU", "souhlas na trať", LineConsent},
    {"PRU_PRJ", "přejezd", LevelCrossing},
    {"PRU_TXT", "prosvětlený nápis", WhiteLamp},
}};

struct LampRole {
    const char *name;
    IoRole role[1];
};

constexpr std::array<LampRole, 4> LampRoles{{
    {"ZAR_CE_ZH", {{"CE", Out}}},
    {"ZAR_OR_ZH", {{"OR", Out}}},
    {"ZAR_BI_ZH", {{"BI", Out}}},
    {"ZAR_ZE_ZH", {{"ZE", Out}}},
}};

}  // namespace

std::span<const DeskKindInfo> deskKinds()
{
    return DeskKinds;
}

const DeskKindInfo *findDeskKind(QStringView name)
{
    const auto it = std::find_if(DeskKinds.begin(), DeskKinds.end(), [name](const DeskKindInfo &k) {
        return name == QLatin1StringView(k.name);
    });
    return it == DeskKinds.end() ? nullptr : &*it;
}

std::span<const IoRole> ioRolesOf(QStringView kind)
{
    if (const DeskKindInfo *desk = findDeskKind(kind))
        return desk->roles;
    for (const LampRole &lamp : LampRoles) {
        if (kind == QLatin1StringView(lamp.name))
            return lamp.role;
    }
    return {};
}

QString deskKindDescription(QStringView kind)
{
    const DeskKindInfo *desk = findDeskKind(kind);
    return desk ? QString::fromUtf8(desk->description) : QString();
}

}  // namespace kalmor
