#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>

namespace kalmor {

// Which element list a kind belongs to, decided by the first three
// letters of its name. Desk elements are the signals, buttons,
// controllers, counters, key locks and lit indications of the desk.
enum class ElementClass { None, TrackTile, Lamp, LabelPlate, DeskElement };

// The eight border points of a cell, in the order in which the station
// file, the check boxes and the presets walk them.
enum class BorderPoint : std::uint8_t { LH, LS, LD, SH, SD, PH, PS, PD };
inline constexpr int BorderPointCount = 8;
inline constexpr std::array<BorderPoint, 8> AllBorderPoints{
    BorderPoint::LH, BorderPoint::LS, BorderPoint::LD, BorderPoint::SH,
    BorderPoint::SD, BorderPoint::PH, BorderPoint::PS, BorderPoint::PD};

// The two-letter code of a border point ("LH", "PS", ...).
QString borderPointCode(BorderPoint p);

// A set of border points as a bit mask: bit i is AllBorderPoints[i].
class BorderPoints {
public:
    constexpr BorderPoints() = default;
    constexpr explicit BorderPoints(std::uint8_t bits) : m_bits(bits) {}
    constexpr bool contains(BorderPoint p) const { return m_bits & bit(p); }
    constexpr void insert(BorderPoint p) { m_bits |= bit(p); }
    constexpr int count() const { return std::popcount(m_bits); }
    constexpr bool isEmpty() const { return m_bits == 0; }
    constexpr std::uint8_t bits() const { return m_bits; }
    friend constexpr bool operator==(BorderPoints, BorderPoints) = default;

private:
    static constexpr std::uint8_t bit(BorderPoint p) { return std::uint8_t(1u << static_cast<int>(p)); }
    std::uint8_t m_bits = 0;
};

// Element class of a kind name: the prefix is compared with letter case.
ElementClass elementClassOf(QStringView name);

// elementClassOf(name) == ElementClass::Lamp, without walking the other
// prefixes: for those that ask it of every record of a list.
inline bool isLampName(QStringView name)
{
    return name.size() >= 3 && name[0] == u'Z' && name[1] == u'A' && name[2] == u'R';
}

// Border points named anywhere in a kind name, letter case ignored.
BorderPoints borderPointsOf(QStringView name);

// One placeable kind with its places in both assortments (1-based, as a
// user counts them).
struct KindInfo {
    const char *name;
    int mainPage;      // index into mainPages()
    int mainPlace;     // 1-based place in the page's single row
    int palettePage;   // index into palettePages()
    int paletteRow;    // 1-based row
    int palettePlace;  // 1-based place in the row
};

inline constexpr int KindCount = 84;
std::span<const KindInfo> allKinds();
const KindInfo *findKind(QStringView name);  // exact name, or nullptr

// Corner pieces: pictures the renderer draws for set corner flags; they
// are no kinds and have no class.
inline constexpr std::array<const char *, 4> CornerPieceNames{
    "Ruzek_LH", "Ruzek_PH", "Ruzek_LD", "Ruzek_PD"};

// The horizontal partner of a corner piece: its name and the column
// offset of the cell it is drawn in.
struct CornerPartner {
    const char *name;
    int dx;
};
std::optional<CornerPartner> cornerPartnerOf(QStringView cornerPiece);

}  // namespace kalmor
