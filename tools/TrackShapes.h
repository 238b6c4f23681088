#pragma once

#include <QStringView>

#include <bitset>
#include <optional>

namespace kalmor {

// Track, label-plate and corner pictures are this many pixels square.
inline constexpr int PictureSide = 47;

// The pixels of a 47 x 47 picture that carry track (or buffer bar, or
// corner piece): the black pixels of its picture.
class TrackMask {
public:
    bool contains(int x, int y) const { return m_bits.test(index(x, y)); }
    void insert(int x, int y) { m_bits.set(index(x, y)); }
    int count() const { return int(m_bits.count()); }
    TrackMask &operator|=(const TrackMask &other)
    {
        m_bits |= other.m_bits;
        return *this;
    }
    friend bool operator==(const TrackMask &, const TrackMask &) = default;

private:
    static std::size_t index(int x, int y) { return std::size_t(y * PictureSide + x); }
    std::bitset<PictureSide * PictureSide> m_bits;
};

// Track pixels of a track-tile kind or a corner piece, found by its exact
// name; nothing for lamps, label plates and names that are no such kind.
std::optional<TrackMask> trackMaskOf(QStringView name);

}  // namespace kalmor
