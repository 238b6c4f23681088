#include "analysis/IoPoints.h"

#include "analysis/Csv.h"

#include <algorithm>
#include <array>
#include <bitset>
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

qint32 IoPoints::areaOf(const StationData &doc, qint32 x, qint32 y) const
{
    for (qint32 i = 0; i < qint32(doc.areas.count()); ++i) {
        if (doc.areas.at(i).contains(x, y))
            return i;
    }
    return -1;
}

IoPoints IoPoints::of(const StationData &doc)
{
    IoPoints out;
    for (const TOblast &a : doc.areas)
        out.m_areaNames.push_back(a.NAME);
    forEachIoList(doc, [&out, &doc](IoList list, const auto &records) {
        const std::size_t which = std::size_t(list);
        if (out.m_firstPoint.size() <= which)
            out.m_firstPoint.resize(which + 1);
        std::vector<qint32> &first = out.m_firstPoint[which];
        first.reserve(std::size_t(records.count()) + 1);
        out.m_points.reserve(out.m_points.size() + std::size_t(records.count()));
        for (qint32 position = 0; position < qint32(records.count()); ++position) {
            const auto &r = records.at(position);
            first.push_back(qint32(out.m_points.size()));
            const quint32 kind = out.kindId(r.NAME);
            const auto roles = out.m_kinds[kind].roles;
            if (roles.empty())
                continue;
            const qint32 area = out.areaOf(doc, r.X, r.Y);
            const QString designation = designationOf(r);
            for (std::size_t k = 0; k < roles.size(); ++k) {
                IoPoint p{list, quint8(k), roles[k].direction, position, r.X, r.Y, kind, area, designation, {}};
                p.address = r.IO.find(out.m_kinds[kind].keys[k]);
                out.m_addressed += p.address.has_value();
                out.m_points.push_back(std::move(p));
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

bool IoPoints::refresh(const StationData &doc, qint32 index)
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
        }
        m_addressed -= p.address.has_value();
        p.x = r.X;
        p.y = r.Y;
        p.area = areaOf(doc, r.X, r.Y);
        p.designation = designationOf(r);
        p.address = r.IO.find(key(p));
        m_addressed += p.address.has_value();
        return true;
    });
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
    if (p.designation.isEmpty()) {
        to.append(kindName(p)).append(QLatin1StringView(" X"));
        appendNumber(p.x);
        to.append(QLatin1StringView(" Y"));
        appendNumber(p.y);
    } else {
        to.append(p.designation);
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
    m_counts.reserve(points.size());
    for (const IoPoint &p : points.points())
        add(p.direction, p.address, 1);
}

int AddressUse::count(IoDirection direction, IoAddress a) const
{
    return m_counts.value(addressKey(direction, a));
}

void AddressUse::add(IoDirection direction, const std::optional<IoAddress> &a, int n)
{
    if (a)
        m_counts[addressKey(direction, *a)] += n;
}

std::optional<std::vector<IoAddress>> assignInOrder(const std::vector<IoPoint> &points, std::span<const qint32> chosen,
                                                    quint16 board)
{
    // Pins in use on the board, inputs in the first set, outputs in the second.
    auto used = std::make_unique<std::array<std::bitset<MaxIoNumber + 1>, 2>>();
    std::vector<bool> isChosen(points.size(), false);
    for (const qint32 i : chosen)
        isChosen[std::size_t(i)] = true;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const IoPoint &p = points[i];
        if (!isChosen[i] && p.address && p.address->board == board)
            (*used)[std::size_t(p.direction)].set(p.address->pin);
    }
    std::array<int, 2> next{MinIoNumber, MinIoNumber};
    std::vector<IoAddress> given;
    given.reserve(chosen.size());
    for (const qint32 i : chosen) {
        const std::size_t d = std::size_t(points[std::size_t(i)].direction);
        while (next[d] <= MaxIoNumber && (*used)[d].test(std::size_t(next[d])))
            ++next[d];
        if (next[d] > MaxIoNumber)
            return std::nullopt;
        given.push_back(IoAddress{board, quint16(next[d]++)});
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
