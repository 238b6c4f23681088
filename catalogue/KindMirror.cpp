#include "catalogue/KindMirror.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace kalmor {

namespace {

// A segment as the set of its end points (one point for a dead end).
using Segment = std::uint8_t;
using Shape = std::vector<Segment>;  // sorted

std::optional<BorderPoint> pointOf(QStringView code)
{
    for (const BorderPoint p : AllBorderPoints) {
        if (borderPointCode(p) == code)
            return p;
    }
    return std::nullopt;
}

Segment pointBit(BorderPoint p)
{
    return Segment(1u << static_cast<int>(p));
}

// The segments of a track kind's name: every part after the prefix is "s"
// and one or two point codes.
Shape shapeOf(QStringView name)
{
    Shape shape;
    const QList<QStringView> parts = name.split(u'_');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        Segment segment = 0;
        for (qsizetype at = 1; at + 2 <= parts[i].size(); at += 2) {
            if (const auto p = pointOf(parts[i].sliced(at, 2)))
                segment |= pointBit(*p);
        }
        shape.push_back(segment);
    }
    std::sort(shape.begin(), shape.end());
    return shape;
}

Shape mirrored(const Shape &shape, MirrorAxis axis)
{
    Shape out;
    for (const Segment segment : shape) {
        Segment m = 0;
        for (const BorderPoint p : AllBorderPoints) {
            if (segment & pointBit(p))
                m |= pointBit(mirroredPoint(p, axis));
        }
        out.push_back(m);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// The straight tracks of a shape: segments between opposite points.
Shape straightTracks(const Shape &shape)
{
    const auto straight = [](Segment s) {
        for (const auto &[a, b] : {std::pair{BorderPoint::LS, BorderPoint::PS}, {BorderPoint::SH, BorderPoint::SD},
                                   {BorderPoint::LD, BorderPoint::PH}, {BorderPoint::LH, BorderPoint::PD}}) {
            if (s == (pointBit(a) | pointBit(b)))
                return true;
        }
        return false;
    };
    Shape out;
    std::copy_if(shape.begin(), shape.end(), std::back_inserter(out), straight);
    return out;
}

using Table = QHash<QString, QString>;

// A desk element serves movements to the left (_L) or to the right (_P);
// left-right mirroring swaps the two, everything else stays itself.
Table deskTable(MirrorAxis axis)
{
    Table table;
    for (const KindInfo &k : allKinds()) {
        const QString name = QString::fromLatin1(k.name);
        if (elementClassOf(name) != ElementClass::DeskElement)
            continue;
        QString partner = name;
        if (axis == MirrorAxis::LeftRight && (name.endsWith(u"_L") || name.endsWith(u"_P")))
            partner.back() = name.back() == u'L' ? u'P' : u'L';
        table.insert(name, findKind(partner) ? partner : name);
    }
    return table;
}

Table buildTable(MirrorAxis axis)
{
    struct Kind {
        QString name;
        Shape shape;
    };
    std::vector<Kind> kinds;
    for (const KindInfo &k : allKinds()) {
        const QString name = QString::fromLatin1(k.name);
        if (elementClassOf(name) == ElementClass::TrackTile)
            kinds.push_back({name, shapeOf(name)});
    }
    // The one kind of the same prefix with the wanted segments, or failing
    // that with the wanted straight tracks.
    const auto partner = [&kinds](const Kind &of, const Shape &wanted, auto key) -> const Kind * {
        const Kind *found = nullptr;
        for (const Kind &k : kinds) {
            if (QStringView(k.name).first(3) == QStringView(of.name).first(3) && key(k.shape) == key(wanted)) {
                if (found)
                    return nullptr;
                found = &k;
            }
        }
        return found;
    };
    Table table = deskTable(axis);
    for (const Kind &k : kinds) {
        const Shape wanted = mirrored(k.shape, axis);
        const Kind *p = partner(k, wanted, [](const Shape &s) { return s; });
        if (!p)
            p = partner(k, wanted, straightTracks);
        if (p)
            table.insert(k.name, p->name);
    }
    return table;
}

}  // namespace

BorderPoint mirroredPoint(BorderPoint p, MirrorAxis axis)
{
    using enum BorderPoint;
    if (axis == MirrorAxis::LeftRight) {
        switch (p) {
        case LH: return PH;
        case LS: return PS;
        case LD: return PD;
        case PH: return LH;
        case PS: return LS;
        case PD: return LD;
        case SH:
        case SD: return p;
        }
    } else {
        switch (p) {
        case LH: return LD;
        case SH: return SD;
        case PH: return PD;
        case LD: return LH;
        case SD: return SH;
        case PD: return PH;
        case LS:
        case PS: return p;
        }
    }
    return p;
}

std::optional<QString> mirroredKind(const QString &name, MirrorAxis axis)
{
    static const Table leftRight = buildTable(MirrorAxis::LeftRight);
    static const Table topBottom = buildTable(MirrorAxis::TopBottom);
    const Table &table = axis == MirrorAxis::LeftRight ? leftRight : topBottom;
    const auto it = table.constFind(name);
    if (it == table.cend())
        return std::nullopt;
    return *it;
}

}  // namespace kalmor
