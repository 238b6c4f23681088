#include "document/Colours.h"

#include "document/ValueConversions.h"

#include <array>

namespace kalmor {

namespace {

constexpr Colour sys(int index)
{
    return SystemColourBase + Colour(index);
}

constexpr std::array<ColourName, 52> Names{{
    {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000},
    {"clOlive", 0x008080}, {"clNavy", 0x800000}, {"clPurple", 0x800080},
    {"clTeal", 0x808000}, {"clGray", 0x808080}, {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF}, {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
    {"clActiveBorder", sys(10)}, {"clActiveCaption", sys(2)},
    {"clAppWorkSpace", sys(12)}, {"clBackground", sys(1)},
    {"clBtnFace", sys(15)}, {"clBtnHighlight", sys(20)},
    {"clBtnShadow", sys(16)}, {"clBtnText", sys(18)},
    {"clCaptionText", sys(9)}, {"clGradientActiveCaption", sys(27)},
    {"clGradientInactiveCaption", sys(28)}, {"clGrayText", sys(17)},
    {"clHighlight", sys(13)}, {"clHighlightText", sys(14)},
    {"clHotLight", sys(26)}, {"clInactiveBorder", sys(11)},
    {"clInactiveCaption", sys(3)}, {"clInactiveCaptionText", sys(19)},
    {"clInfoBk", sys(24)}, {"clInfoText", sys(23)}, {"clMenu", sys(4)},
    {"clMenuBar", sys(30)}, {"clMenuHighlight", sys(29)}, {"clMenuText", sys(7)},
    {"clScrollBar", sys(0)}, {"cl3DDkShadow", sys(21)}, {"cl3DLight", sys(22)},
    {"clWindow", sys(5)}, {"clWindowFrame", sys(6)}, {"clWindowText", sys(8)},
    {"clDefault", 0x20000000}, {"clNone", 0x1FFFFFFF},
}};

bool equalsIgnoringCase(QByteArrayView a, const char *b)
{
    return a.compare(QByteArrayView(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

std::span<const ColourName> colourNames()
{
    return Names;
}

QByteArray colourToText(Colour c)
{
    for (const ColourName &n : Names) {
        if (n.value == c)
            return QByteArray(n.identifier);
    }
    return '$' + QByteArray::number(c, 16).toUpper().rightJustified(8, '0');
}

std::optional<Colour> colourFromText(QByteArrayView text)
{
    for (const ColourName &n : Names) {
        if (equalsIgnoringCase(text, n.identifier))
            return n.value;
    }
    if (const auto v = parseInteger(text))
        return Colour(quint32(*v));
    return std::nullopt;
}

}  // namespace kalmor
