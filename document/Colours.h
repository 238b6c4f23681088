#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <span>

namespace kalmor {

// A colour of the window system: 0x00BBGGRR for an RGB colour, or
// 0xFF000000 plus an index for a system colour, or one of two specials.
using Colour = quint32;

struct ColourName {
    const char *identifier;
    Colour value;
};

// Every colour identifier the station file knows; no two share a value.
std::span<const ColourName> colourNames();

inline constexpr Colour clMedGray = 0xA4A0A0;
inline constexpr Colour clGray = 0x808080;
inline constexpr Colour clBlack = 0x000000;
inline constexpr Colour SystemColourBase = 0xFF000000;

inline constexpr Colour rgbColour(int r, int g, int b)
{
    return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}

// The identifier of a colour, or "$" and eight upper-case hex digits.
QByteArray colourToText(Colour c);

// An identifier in any letter case, otherwise an integer; nothing when
// the text is neither.
std::optional<Colour> colourFromText(QByteArrayView text);

}  // namespace kalmor
