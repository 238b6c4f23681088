#pragma once

#include "analysis/AreaFinder.h"
#include "catalogue/DeskKinds.h"
#include "document/StationDocument.h"

#include <QHash>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace kalmor {

// The element lists whose records carry I/O roles and addresses. Each is
// named once in forEachIoList() and ioListOf() below; a list added there
// (with its designationOf()) takes part in everything built on the points.
enum class IoList : quint8 { Lamps, DeskElements };

// What a record's points are called by: a desk element by its designation;
// a lamp has none, so its points are named by its kind and cell instead.
inline QString designationOf(const TPoleZarovka &) { return {}; }
inline QString designationOf(const TPolePrvek &p) { return p.TEXT; }

// Whether a set of lists (the station, the records of a clipboard) holds
// desk elements.
template <class Data>
concept HasDeskElements = requires(Data &d) { d.deskElements; };

// Calls f(IoList, list) for every element list with I/O roles that the
// set of lists holds.
template <class Data, class F>
void forEachIoList(Data &doc, F &&f)
{
    f(IoList::Lamps, doc.lamps);
    if constexpr (HasDeskElements<Data>)
        f(IoList::DeskElements, doc.deskElements);
}

// Calls f(list) with the element list of the given kind; a set without
// that list has none of its records, so f gets an empty one.
template <class Data, class F>
decltype(auto) ioListOf(Data &doc, IoList list, F &&f)
{
    if (list == IoList::DeskElements) {
        if constexpr (HasDeskElements<Data>) {
            return f(doc.deskElements);
        } else {
            ElementList<TPolePrvek> none;
            return f(none);
        }
    }
    return f(doc.lamps);
}

// The key an element's addresses keep a role's address under, and the
// key of the IO= field: the role's code, and for an input whose code the
// kind also has as an output (a switch controller's "PLUS") the code and
// "_V" (vstup), so that both have a pin of their own.
QByteArray ioKeyOf(std::span<const IoRole> roles, std::size_t index);
// The role of the kind a key stands for; nothing for a key of no role.
std::optional<std::size_t> ioRoleOfKey(std::span<const IoRole> roles, QByteArrayView key);

// One I/O point: one role of one element.
struct IoPoint {
    IoList list = IoList::Lamps;
    quint8 role = 0;  // index into the kind's roles
    IoDirection direction = IoDirection::Out;
    qint32 position = 0;  // of the record in its list
    qint32 x = 0;
    qint32 y = 0;
    quint32 kind = 0;  // index into IoPoints::kindName()
    qint32 area = -1;  // the first area holding the cell, in area order; -1 none
    qint32 designation = -1;  // in IoPoints::designation(); -1: none, the kind and cell stand for it
    std::optional<IoAddress> address;
};

// "vstup" or "výstup".
QString directionText(IoDirection direction);

// The I/O points of a station, in list order and, within an element, in
// the order of its kind's roles.
class IoPoints {
public:
    static IoPoints of(const StationData &doc);

    const std::vector<IoPoint> &points() const { return m_points; }
    qsizetype size() const { return qsizetype(m_points.size()); }
    const IoPoint &at(qsizetype i) const { return m_points[std::size_t(i)]; }

    const QString &kindName(const IoPoint &p) const { return m_kinds[p.kind].name; }
    const IoRole &role(const IoPoint &p) const { return m_kinds[p.kind].roles[p.role]; }
    QByteArrayView roleCode(const IoPoint &p) const { return QByteArrayView(role(p).code); }
    // The key of the point's address in its record's addresses.
    const QByteArray &key(const IoPoint &p) const { return m_kinds[p.kind].keys[p.role]; }
    const QString &designation(const IoPoint &p) const
    {
        static const QString none;
        return p.designation < 0 ? none : m_designations[std::size_t(p.designation)];
    }
    const std::vector<QString> &areaNames() const { return m_areaNames; }
    QString areaName(const IoPoint &p) const { return p.area < 0 ? QString() : m_areaNames[std::size_t(p.area)]; }

    // "S1.ZE"; a point without designation "ZAR_CE_ZH X3 Y4.CE".
    QString label(const IoPoint &p) const;
    void appendLabel(QString &to, const IoPoint &p) const;

    // The point's address changed by an edit that the caller made itself.
    void setAddress(qint32 index, const std::optional<IoAddress> &address);

    // Whether any point has an address.
    bool anyAddress() const { return m_addressed > 0; }

    // The first point of a record, and one past its last, for records of
    // the list that have points; -1, -1 for the others.
    std::pair<qint32, qint32> pointsOfRecord(IoList list, qint32 position) const;

    // The same point refreshed from the station after its record changed
    // in place with the same kind (the areas unchanged); false when it has
    // other roles now. `relabelled` is set when its label changed.
    bool refresh(const StationData &doc, qint32 index, bool &relabelled);

private:
    struct Kind {
        QString name;
        std::span<const IoRole> roles;
        std::vector<QByteArray> keys;
    };
    quint32 kindId(const QString &name);

    std::vector<IoPoint> m_points;
    std::vector<Kind> m_kinds;
    QHash<QString, quint32> m_kindIds;
    std::vector<QString> m_areaNames;
    // A record's designation once for all its points.
    std::vector<QString> m_designations;
    AreaFinder m_areaFinder;
    // First point of every record, by list (one more entry than records).
    std::vector<std::vector<qint32>> m_firstPoint;
    qsizetype m_addressed = 0;
};

// One address in one direction as a single number, for counting uses.
inline quint32 addressKey(IoDirection direction, IoAddress a)
{
    return (quint32(direction) << 28) | (quint32(a.board) << 14) | a.pin;
}

// How often each address is used, by addressKey(): a table of its own
// (open addressing, keys never 0), since the I/O window counts the
// addresses of hundreds of thousands of points as it opens.
class AddressUse {
public:
    explicit AddressUse(const IoPoints &points);
    int count(IoDirection direction, IoAddress a) const;
    bool isShared(const IoPoint &p) const { return p.address && count(p.direction, *p.address) > 1; }
    void add(IoDirection direction, const std::optional<IoAddress> &a, int n);

private:
    struct Slot {
        quint32 key = 0;  // 0: free
        qint32 count = 0;
    };
    std::size_t slotOf(quint32 key) const;
    void grow();

    std::vector<Slot> m_slots;
    std::size_t m_keys = 0;
};

// Free pins for the chosen points, in their order, from the first pin of
// `firstBoard` on: a board's free pins are filled, then the next board's,
// up to `lastBoard`. Inputs and outputs are counted apart, and pins that
// points not chosen use in the same direction are skipped. The chosen
// points' own addresses do not count as used, since they are given new
// ones. Nothing when the boards up to `lastBoard` have too few free pins.
std::optional<std::vector<IoAddress>> assignInOrder(const std::vector<IoPoint> &points, std::span<const qint32> chosen,
                                                    quint16 firstBoard, quint16 lastBoard = MaxIoNumber);

// The wire list of the rows (point indices, in their order) as CSV:
// "Bod;Směr;Druh;X;Y;Oblast;Deska;Pin", UTF-8 with a byte-order mark.
QByteArray wireListCsv(const IoPoints &points, std::span<const qint32> rows);
// The same as tab-separated text without the mark, for a terminal.
QString wireListText(const IoPoints &points, std::span<const qint32> rows);

// All points in their own order.
std::vector<qint32> allRows(const IoPoints &points);

}  // namespace kalmor
