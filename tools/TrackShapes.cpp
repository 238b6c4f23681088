#include "tools/TrackShapes.h"

#include "catalogue/ElementKinds.h"

#include <QList>

#include <vector>

namespace kalmor {

namespace {

constexpr int Unbounded = 1000;

// Pixels with lo <= cx * x + cy * y + c <= hi: every track shape is an
// intersection of such bands.
struct Band {
    int cx;
    int cy;
    int c;
    int lo;
    int hi;

    int value(int x, int y) const { return cx * x + cy * y + c; }
    bool contains(int x, int y) const
    {
        const int v = value(x, y);
        return lo <= v && v <= hi;
    }
    Band limited(int newLo, int newHi) const { return {cx, cy, c, newLo, newHi}; }
};

using Shape = std::vector<Band>;   // intersection
using Shapes = std::vector<Shape>; // union

enum class Strip { Horizontal, Vertical, Rising, Falling };

constexpr Band HorizontalBand{0, 1, 0, 19, 27};
constexpr Band VerticalBand{1, 0, 0, 19, 27};
constexpr Band RisingBand{1, 1, 0, 40, 52};
constexpr Band FallingBand{1, -1, 0, -6, 6};
// Position along a diagonal, 0 at the centre; the diagonals end square at +-40.
constexpr Band AlongRising{1, -1, 0, -40, 40};
constexpr Band AlongFalling{1, 1, -46, -40, 40};
constexpr Band Columns{1, 0, 0, -Unbounded, Unbounded};
constexpr Band Rows{0, 1, 0, -Unbounded, Unbounded};

struct Pixel {
    int x;
    int y;
};

Pixel pixelOf(BorderPoint p)
{
    switch (p) {
    case BorderPoint::LH: return {0, 0};
    case BorderPoint::SH: return {23, 0};
    case BorderPoint::PH: return {46, 0};
    case BorderPoint::LS: return {0, 23};
    case BorderPoint::PS: return {46, 23};
    case BorderPoint::LD: return {0, 46};
    case BorderPoint::SD: return {23, 46};
    case BorderPoint::PD: return {46, 46};
    }
    return {23, 23};
}

Strip stripOf(BorderPoint p)
{
    switch (p) {
    case BorderPoint::LS:
    case BorderPoint::PS: return Strip::Horizontal;
    case BorderPoint::SH:
    case BorderPoint::SD: return Strip::Vertical;
    case BorderPoint::LD:
    case BorderPoint::PH: return Strip::Rising;
    case BorderPoint::LH:
    case BorderPoint::PD: return Strip::Falling;
    }
    return Strip::Horizontal;
}

Band bandOf(Strip s)
{
    switch (s) {
    case Strip::Horizontal: return HorizontalBand;
    case Strip::Vertical: return VerticalBand;
    case Strip::Rising: return RisingBand;
    case Strip::Falling: return FallingBand;
    }
    return HorizontalBand;
}

// A whole strip, the diagonals cut square at the corners.
Shape stripShape(Strip s)
{
    switch (s) {
    case Strip::Rising: return {RisingBand, AlongRising};
    case Strip::Falling: return {FallingBand, AlongFalling};
    default: return {bandOf(s)};
    }
}

// The arm of a bent segment that leads to `from`: from's strip up to and
// including the far edge of the other end's strip, so the two arms meet in
// a mitre.
Shape armShape(BorderPoint from, BorderPoint other)
{
    Shape arm = stripShape(stripOf(from));
    const Band crossing = bandOf(stripOf(other));
    const Pixel p = pixelOf(from);
    if (crossing.value(p.x, p.y) < crossing.lo)
        arm.push_back(crossing.limited(-Unbounded, crossing.hi));
    else
        arm.push_back(crossing.limited(crossing.lo, Unbounded));
    return arm;
}

Shapes segmentShapes(BorderPoint a, BorderPoint b)
{
    if (stripOf(a) == stripOf(b))
        return {stripShape(stripOf(a))};
    return {armShape(a, b), armShape(b, a)};
}

std::optional<BorderPoint> pointOf(QStringView code)
{
    for (const BorderPoint p : AllBorderPoints) {
        if (borderPointCode(p) == code)
            return p;
    }
    return std::nullopt;
}

// "sLSPH" -> the segment's shapes.
std::optional<Shapes> parseSegment(QStringView part)
{
    if (part.size() != 5 || part.front() != u's')
        return std::nullopt;
    const auto a = pointOf(part.mid(1, 2));
    const auto b = pointOf(part.mid(3, 2));
    if (!a || !b || *a == *b)
        return std::nullopt;
    return segmentShapes(*a, *b);
}

// The straight strip with a gap across the centre.
Shapes boundaryShapes(Strip s)
{
    const Shape strip = stripShape(s);
    auto piece = [&strip](Band limit) {
        Shape shape = strip;
        shape.push_back(limit);
        return shape;
    };
    switch (s) {
    case Strip::Horizontal:
        return {piece(Columns.limited(-Unbounded, 16)), piece(Columns.limited(30, Unbounded))};
    case Strip::Vertical:
        return {piece(Rows.limited(-Unbounded, 16)), piece(Rows.limited(30, Unbounded))};
    case Strip::Rising:
        return {piece(AlongRising.limited(-Unbounded, -9)), piece(AlongRising.limited(9, Unbounded))};
    case Strip::Falling:
        return {piece(AlongFalling.limited(-Unbounded, -9)), piece(AlongFalling.limited(9, Unbounded))};
    }
    return {};
}

std::optional<Shapes> deadEndShapes(QStringView point)
{
    const auto p = pointOf(point);
    if (!p)
        return std::nullopt;
    // Straight dead ends stop 3 pixels past the centre in a bar 6 thick and
    // 21 long; diagonal ones run to the far edge of the crossing diagonal,
    // whose middle piece is the bar.
    const Shape risingBar{RisingBand, AlongRising.limited(-16, 16)};
    const Shape fallingBar{FallingBand, AlongFalling.limited(-16, 16)};
    switch (*p) {
    case BorderPoint::LS:
        return Shapes{{HorizontalBand, Columns.limited(-Unbounded, 26)},
                      {Columns.limited(21, 26), Rows.limited(13, 33)}};
    case BorderPoint::PS:
        return Shapes{{HorizontalBand, Columns.limited(20, Unbounded)},
                      {Columns.limited(20, 25), Rows.limited(13, 33)}};
    case BorderPoint::SH:
        return Shapes{{VerticalBand, Rows.limited(-Unbounded, 26)},
                      {Rows.limited(21, 26), Columns.limited(13, 33)}};
    case BorderPoint::SD:
        return Shapes{{VerticalBand, Rows.limited(20, Unbounded)},
                      {Rows.limited(20, 25), Columns.limited(13, 33)}};
    case BorderPoint::LH:
        return Shapes{{FallingBand, AlongFalling, RisingBand.limited(-Unbounded, 52)}, risingBar};
    case BorderPoint::PD:
        return Shapes{{FallingBand, AlongFalling, RisingBand.limited(40, Unbounded)}, risingBar};
    case BorderPoint::LD:
        return Shapes{{RisingBand, AlongRising, FallingBand.limited(-Unbounded, 6)}, fallingBar};
    case BorderPoint::PH:
        return Shapes{{RisingBand, AlongRising, FallingBand.limited(-6, Unbounded)}, fallingBar};
    }
    return std::nullopt;
}

// The notch a diagonal's square end leaves in each corner.
std::optional<Shapes> cornerShapes(QStringView corner)
{
    const auto p = pointOf(corner);
    if (!p)
        return std::nullopt;
    switch (*p) {
    case BorderPoint::LH: return Shapes{{Band{1, 1, 0, -Unbounded, 5}}};
    case BorderPoint::PH: return Shapes{{Band{1, -1, 0, 41, Unbounded}}};
    case BorderPoint::LD: return Shapes{{Band{-1, 1, 0, 41, Unbounded}}};
    case BorderPoint::PD: return Shapes{{Band{1, 1, 0, 87, Unbounded}}};
    default: return std::nullopt;
    }
}

std::optional<Shapes> shapesOf(QStringView name)
{
    const QList<QStringView> parts = name.split(u'_');
    if (parts.size() < 2)
        return std::nullopt;
    const QStringView prefix = parts.front();
    if (prefix == u"Ruzek" && parts.size() == 2)
        return cornerShapes(parts[1]);
    if (prefix == u"KOZ" && parts.size() == 2 && parts[1].size() == 3 && parts[1].front() == u's')
        return deadEndShapes(parts[1].mid(1));
    if (prefix == u"HKO") {
        if (parts.size() != 2 || parts[1].size() != 5 || parts[1].front() != u's')
            return std::nullopt;
        const auto from = pointOf(parts[1].mid(1, 2));
        const auto to = pointOf(parts[1].mid(3, 2));
        if (!from || !to || *from == *to || stripOf(*from) != stripOf(*to))
            return std::nullopt;
        return boundaryShapes(stripOf(*from));
    }
    if (prefix != u"KOL" && prefix != u"KRI" && prefix != u"VYH" && prefix != u"OBO" && prefix != u"ANG")
        return std::nullopt;
    // This double slip lists sSDLH as a connection, yet its picture shows
    // nothing at LH: only its first three segments are drawn.
    const qsizetype segmentCount = name == u"ANG_sLDPH_sSDSH_sLDSH_sSDLH" ? 3 : parts.size() - 1;
    Shapes shapes;
    for (qsizetype i = 1; i <= segmentCount; ++i) {
        const auto segment = parseSegment(parts[i]);
        if (!segment)
            return std::nullopt;
        shapes.insert(shapes.end(), segment->begin(), segment->end());
    }
    return shapes;
}

bool shapeContains(const Shape &shape, int x, int y)
{
    for (const Band &band : shape) {
        if (!band.contains(x, y))
            return false;
    }
    return true;
}

}  // namespace

std::optional<TrackMask> trackMaskOf(QStringView name)
{
    const auto shapes = shapesOf(name);
    if (!shapes)
        return std::nullopt;
    TrackMask mask;
    for (int y = 0; y < PictureSide; ++y) {
        for (int x = 0; x < PictureSide; ++x) {
            for (const Shape &shape : *shapes) {
                if (shapeContains(shape, x, y)) {
                    mask.insert(x, y);
                    break;
                }
            }
        }
    }
    return mask;
}

}  // namespace kalmor
