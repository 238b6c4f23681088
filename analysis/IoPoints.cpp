#include "analysis/IoPoints.h"

#include "analysis/Csv.h"
#include "document/LargeMemory.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <memory>

namespace kalmor {

QString directionText(IoDirection direction)
{
    return direction == IoDirection::In ? QStringLiteral("vstup") : QStringLiteral("výstup");
}

QByteArray ioKeyOf(std::span<const IoRole> roles, std::size_t index)
{
    const IoRole &role = roles[index];
    QByteArray key(role.code);
    if (role.direction == IoDirection::In
        && std::any_of(roles.begin(), roles.end(), [&role](const IoRole &other) {
               return other.direction == IoDirection::Out && qstrcmp(other.code, role.code) == 0;
           }))
        key += "_V";
    return key;
}

std::optional<std::size_t> ioRoleOfKey(std::span<const IoRole> roles, QByteArrayView key)
{
    for (std::size_t i = 0; i < roles.size(); ++i) {
        if (ioKeyOf(roles, i) == key)
            return i;
    }
    return std::nullopt;
}

quint32 IoPoints::kindId(const QString &name)
{
    const auto it = m_kindIds.constFind(name);
    if (it != m_kindIds.cend())
        return *it;
    const quint32 id = quint32(m_kinds.size());
    Kind kind{name, ioRolesOf(name), {}};
    for (std::size_t k = 0; k < kind.roles.size(); ++k)
        kind.keys.push_back(ioKeyOf(kind.roles, k));
    m_kinds.push_back(std::move(kind));
    m_kindIds.insert(name, id);
    return id;
}

IoPoints IoPoints::of(const StationData &doc)
{
    IoPoints out;
    for (const TOblast &a : doc.areas)
        out.m_areaNames.push_back(a.NAME);
    out.m_areaFinder = AreaFinder(std::span(doc.areas.begin(), doc.areas.end()));
    forEachIoList(doc, [&out](IoList list, const auto &records) {
        const std::size_t which = std::size_t(list);
        if (out.m_firstPoint.size() <= which)
            out.m_firstPoint.resize(which + 1);
        std::vector<qint32> &first = out.m_firstPoint[which];
        first.reserve(std::size_t(records.count()) + 1);
        // The kinds first, so that the points take their room at once.
        std::vector<quint32> kinds(std::size_t(records.count()));
        std::size_t count = out.m_points.size();
        for (qint32 position = 0; position < qint32(records.count()); ++position) {
            kinds[std::size_t(position)] = out.kindId(records.at(position).NAME);
            count += out.m_kinds[kinds[std::size_t(position)]].roles.size();
        }
        reserveLarge(out.m_points, count);
        for (qint32 position = 0; position < qint32(records.count()); ++position) {
            const auto &r = records.at(position);
            first.push_back(qint32(out.m_points.size()));
            const quint32 kind = kinds[std::size_t(position)];
            const Kind &k = out.m_kinds[kind];
            if (k.roles.empty())
                continue;
            const qint32 area = out.m_areaFinder.first(r.X, r.Y);
            qint32 designation = -1;
            if (!designationOf(r).isEmpty()) {
                designation = qint32(out.m_designations.size());
                out.m_designations.push_back(designationOf(r));
            }
            for (std::size_t role = 0; role < k.roles.size(); ++role) {
                IoPoint &p = out.m_points.emplace_back(IoPoint{list, quint8(role), k.roles[role].direction, position,
                                                               r.X, r.Y, kind, area, designation, {}});
                if (!r.IO.isEmpty())
                    p.address = r.IO.find(k.keys[role]);
                out.m_addressed += p.address.has_value();
            }
        }
        first.push_back(qint32(out.m_points.size()));
    });
    return out;
}

std::pair<qint32, qint32> IoPoints::pointsOfRecord(IoList list, qint32 position) const
{
    const std::size_t which = std::size_t(list);
    if (which >= m_firstPoint.size() || position < 0 || std::size_t(position) + 1 >= m_firstPoint[which].size())
        return {-1, -1};
    const auto &first = m_firstPoint[which];
    return {first[std::size_t(position)], first[std::size_t(position) + 1]};
}

bool IoPoints::refresh(const StationData &doc, qint32 index, bool &relabelled)
{
    IoPoint &p = m_points[std::size_t(index)];
    return ioListOf(doc, p.list, [&](const auto &records) {
        if (p.position >= records.count())
            return false;
        const auto &r = records.at(p.position);
        const quint32 kind = kindId(r.NAME);
        if (kind != p.kind) {
            // Another kind with the same roles in the same order (a signal
            // mirrored) keeps its points.
            const auto was = m_kinds[p.kind].roles;
            const auto now = m_kinds[kind].roles;
            if (!std::equal(was.begin(), was.end(), now.begin(), now.end()))
                return false;
            p.kind = kind;
            relabelled = true;
        }
        m_addressed -= p.address.has_value();
        if (p.x != r.X || p.y != r.Y) {
            p.x = r.X;
            p.y = r.Y;
            p.area = m_areaFinder.first(r.X, r.Y);
            relabelled = true;
        }
        if (designation(p) != designationOf(r)) {
            if (p.designation < 0) {
                p.designation = qint32(m_designations.size());
                m_designations.push_back(designationOf(r));
            } else {
                m_designations[std::size_t(p.designation)] = designationOf(r);
            }
            relabelled = true;
        }
        p.address = r.IO.find(key(p));
        m_addressed += p.address.has_value();
        return true;
    });
}

void IoPoints::setAddress(qint32 index, const std::optional<IoAddress> &address)
{
    IoPoint &p = m_points[std::size_t(index)];
    m_addressed += qsizetype(address.has_value()) - qsizetype(p.address.has_value());
    p.address = address;
}

void IoPoints::appendLabel(QString &to, const IoPoint &p) const
{
    // Numbers go through a buffer of their own: a window of many points
    // writes a label for each, and no allocation per number.
    const auto appendNumber = [&to](qint32 n) {
        std::array<char, 12> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), n).ptr;
        to.append(QLatin1StringView(digits.data(), end));
    };
    if (designation(p).isEmpty()) {
        to.append(kindName(p)).append(QLatin1StringView(" X"));
        appendNumber(p.x);
        to.append(QLatin1StringView(" Y"));
        appendNumber(p.y);
    } else {
        to.append(designation(p));
    }
    to.append(u'.').append(QLatin1StringView(role(p).code));
}

QString IoPoints::label(const IoPoint &p) const
{
    QString label;
    appendLabel(label, p);
    return label;
}

AddressUse::AddressUse(const IoPoints &points)
{
    std::size_t size = 16;
    while (size * 3 < std::size_t(points.size()) * 4)
        size *= 2;
    m_slots.resize(size);
    for (const IoPoint &p : points.points())
        add(p.direction, p.address, 1);
}

std::size_t AddressUse::slotOf(quint32 key) const
{
    // Fibonacci hashing spreads neighbouring pins over the table.
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = std::size_t((quint64(key) * 0x9E3779B97F4A7C15ULL) >> 32) & mask;
    while (m_slots[at].key != 0 && m_slots[at].key != key)
        at = (at + 1) & mask;
    return at;
}

void AddressUse::grow()
{
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    for (const Slot &s : old) {
        if (s.key != 0)
            m_slots[slotOf(s.key)] = s;
    }
}

int AddressUse::count(IoDirection direction, IoAddress a) const
{
    return m_slots[slotOf(addressKey(direction, a))].count;
}

void AddressUse::add(IoDirection direction, const std::optional<IoAddress> &a, int n)
{
    if (!a)
        return;
    const quint32 key = addressKey(direction, *a);
    Slot *slot = &m_slots[slotOf(key)];
    if (slot->key == 0) {
        // Keys stay once counted (at zero when no point uses them any
        // more), so that a search never stops early; the table grows
        // before it is three quarters full.
        if (4 * (m_keys + 1) > 3 * m_slots.size()) {
            grow();
            slot = &m_slots[slotOf(key)];
        }
        slot->key = key;
        ++m_keys;
    }
    slot->count += n;
}

std::optional<std::vector<IoAddress>> assignInOrder(const std::vector<IoPoint> &points, std::span<const qint32> chosen,
                                                    quint16 firstBoard, quint16 lastBoard)
{
    constexpr qint64 PinsPerBoard = MaxIoNumber;
    constexpr std::size_t Row = MaxIoNumber + 1;  // pin 0 stays unused
    std::vector<bool> isChosen(points.size(), false);
    std::array<qint64, 2> wanted{0, 0};
    for (const qint32 i : chosen) {
        isChosen[std::size_t(i)] = true;
        ++wanted[std::size_t(points[std::size_t(i)].direction)];
    }
    const auto onBoards = [&](const IoPoint &p) {
        return p.address && p.address->board >= firstBoard && p.address->board <= lastBoard;
    };
    // Each direction needs no more boards than its chosen points and the
    // pins others use there fill, so only those boards are looked at.
    std::array<qint64, 2> used{0, 0};
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!isChosen[i] && onBoards(points[i]))
            ++used[std::size_t(points[i].direction)];
    }
    std::array<qint64, 2> boards{};
    std::array<std::vector<bool>, 2> taken;
    for (std::size_t d = 0; d < 2; ++d) {
        boards[d] = std::min<qint64>(qint64(lastBoard) - firstBoard + 1,
                                     (wanted[d] + used[d] + PinsPerBoard - 1) / PinsPerBoard);
        taken[d].resize(std::size_t(std::max<qint64>(boards[d], 0)) * Row);
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const IoPoint &p = points[i];
        const std::size_t d = std::size_t(p.direction);
        if (!isChosen[i] && onBoards(p) && p.address->board - firstBoard < boards[d])
            taken[d][std::size_t(p.address->board - firstBoard) * Row + p.address->pin] = true;
    }
    // The next pin to try in each direction, counted from pin 0 of the
    // first board.
    std::array<std::size_t, 2> next{MinIoNumber, MinIoNumber};
    std::vector<IoAddress> given;
    given.reserve(chosen.size());
    for (const qint32 i : chosen) {
        const std::size_t d = std::size_t(points[std::size_t(i)].direction);
        std::size_t &at = next[d];
        while (at < taken[d].size() && (at % Row == 0 || taken[d][at]))
            ++at;
        if (at >= taken[d].size())
            return std::nullopt;
        given.push_back(IoAddress{quint16(firstBoard + at / Row), quint16(at % Row)});
        ++at;
    }
    return given;
}

namespace {

CsvTable wireTable(const IoPoints &points, std::span<const qint32> rows)
{
    CsvTable table;
    table.addRow({QStringLiteral("Bod"), QStringLiteral("Směr"), QStringLiteral("Druh"), QStringLiteral("X"),
                  QStringLiteral("Y"), QStringLiteral("Oblast"), QStringLiteral("Deska"), QStringLiteral("Pin")});
    for (const qint32 i : rows) {
        const IoPoint &p = points.at(i);
        table.addRow({points.label(p), directionText(p.direction), points.kindName(p), QString::number(p.x),
                      QString::number(p.y), points.areaName(p),
                      p.address ? QString::number(p.address->board) : QString(),
                      p.address ? QString::number(p.address->pin) : QString()});
    }
    return table;
}

}  // namespace

QByteArray wireListCsv(const IoPoints &points, std::span<const qint32> rows)
{
    return wireTable(points, rows).csv();
}

QString wireListText(const IoPoints &points, std::span<const qint32> rows)
{
    return wireTable(points, rows).text();
}

std::vector<qint32> allRows(const IoPoints &points)
{
    std::vector<qint32> rows(std::size_t(points.size()));
    for (qint32 i = 0; i < qint32(rows.size()); ++i)
        rows[std::size_t(i)] = i;
    return rows;
}

}  // namespace kalmor
