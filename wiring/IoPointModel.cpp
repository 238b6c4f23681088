#include "wiring/IoPointModel.h"

#include "document/StationHistory.h"
#include "wiring/WiringEdits.h"

#include <QColor>

#include <algorithm>
#include <numeric>
#include <tuple>

namespace kalmor {

namespace {

constexpr int Unset = MaxIoNumber + 1;  // sorts after every number

}  // namespace

IoPointModel::IoPointModel(StationHistory &history, QObject *parent)
    : QAbstractTableModel(parent), m_history(history)
{
}

bool IoPointModel::isShared(int row) const
{
    return m_use->isShared(m_points->at(pointAt(row)));
}

void IoPointModel::follow()
{
    const StationData &doc = m_history.document().data();
    std::vector<quint64> revisions;
    std::vector<qsizetype> counts;
    forEachIoList(doc, [&](IoList, const auto &list) {
        revisions.push_back(list.revision());
        counts.push_back(list.count());
    });
    const bool sameLists = m_points && m_listIdentity == &doc && counts == m_listCounts;
    if (sameLists && revisions == m_listRevisions && doc.areas.revision() == m_areaRevision)
        return;
    bool inPlace = sameLists && doc.areas.revision() == m_areaRevision;
    std::vector<std::pair<IoList, std::vector<qint32>>> touched;
    std::size_t which = 0;
    forEachIoList(doc, [&](IoList list, const auto &records) {
        std::vector<qint32> positions;
        inPlace = inPlace && records.positionsChangedSince(m_listRevisions[which++], positions);
        touched.emplace_back(list, std::move(positions));
    });
    m_listRevisions = std::move(revisions);
    m_listCounts = std::move(counts);
    m_listIdentity = &doc;
    m_areaRevision = doc.areas.revision();
    for (const auto &[list, positions] : touched) {
        for (const qint32 position : positions) {
            const auto [first, end] = m_points->pointsOfRecord(list, position);
            const std::size_t roles = ioListOf(doc, list, [&](const auto &records) {
                return position < records.count() ? ioRolesOf(records.at(position).NAME).size() : 0;
            });
            inPlace = inPlace && first >= 0 && std::size_t(end - first) == roles;
            for (qint32 i = first; inPlace && i < end; ++i) {
                const IoPoint &p = m_points->at(i);
                m_use->add(p.direction, p.address, -1);
                inPlace = m_points->refresh(doc, i);
                m_use->add(p.direction, p.address, 1);
            }
        }
    }
    if (!inPlace) {
        rebuild();
        return;
    }
    rankNames();  // a designation may have changed
    m_searchStale = true;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void IoPointModel::rebuild()
{
    const StationData &doc = m_history.document().data();
    beginResetModel();
    m_points = std::make_unique<IoPoints>(IoPoints::of(doc));
    m_use = std::make_unique<AddressUse>(*m_points);
    m_searchStale = true;
    m_areas.assign(doc.areas.begin(), doc.areas.end());
    rankNames();
    if (m_filterArea >= qsizetype(m_areas.size()))
        m_filterArea = AllAreas;
    applyOrder();
    applyFilter();
    endResetModel();
}

// Sorting compares numbers: each distinct text gets its place among the
// others once, not once a comparison.
void IoPointModel::rankNames()
{
    const IoPoints &pts = *m_points;
    std::vector<QString> kinds;
    for (const IoPoint &p : pts.points()) {
        if (p.kind >= kinds.size())
            kinds.resize(p.kind + 1);
        kinds[p.kind] = pts.kindName(p);
    }
    std::vector<QString> texts = kinds;
    for (const IoPoint &p : pts.points()) {
        if (!p.designation.isEmpty())
            texts.push_back(p.designation);
    }
    std::sort(texts.begin(), texts.end());
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    const auto rankOf = [&texts](const QString &t) {
        return qint32(std::lower_bound(texts.begin(), texts.end(), t) - texts.begin());
    };
    m_kindRank.clear();
    for (const QString &k : kinds)
        m_kindRank.push_back(rankOf(k));
    m_designationRank.resize(pts.points().size());
    for (std::size_t i = 0; i < pts.points().size(); ++i) {
        const IoPoint &p = pts.points()[i];
        m_designationRank[i] = p.designation.isEmpty() ? m_kindRank[p.kind] : rankOf(p.designation);
    }
    std::vector<QString> areas = pts.areaNames();
    std::vector<QString> sorted = areas;
    std::sort(sorted.begin(), sorted.end());
    m_areaRank.clear();
    for (const QString &a : areas)
        m_areaRank.push_back(qint32(std::lower_bound(sorted.begin(), sorted.end(), a) - sorted.begin()));
}

void IoPointModel::applyOrder()
{
    m_order.resize(std::size_t(m_points->size()));
    std::iota(m_order.begin(), m_order.end(), 0);
    if (m_sortColumn == NoSort)
        return;
    const IoPoints &pts = *m_points;
    // A point's place by the column: the designation with the cell and
    // the role after it, a point without address after all with one.
    const auto key = [&](qint32 i) -> std::tuple<int, int, int, int> {
        const IoPoint &p = pts.at(i);
        switch (m_sortColumn) {
        case Point: return {m_designationRank[std::size_t(i)], p.x, p.y, p.role};
        case Direction: return {int(p.direction), 0, 0, 0};
        case Kind: return {m_kindRank[p.kind], 0, 0, 0};
        case Cell: return {p.x, p.y, 0, 0};
        case Area: return {p.area < 0 ? -1 : m_areaRank[std::size_t(p.area)], 0, 0, 0};
        case Board: return {p.address ? p.address->board : Unset, p.address ? p.address->pin : Unset, 0, 0};
        case Pin: return {p.address ? p.address->pin : Unset, p.address ? p.address->board : Unset, 0, 0};
        default: return {0, 0, 0, 0};
        }
    };
    std::vector<std::tuple<int, int, int, int>> keys(m_order.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i] = key(qint32(i));
    const auto before = [&keys](qint32 a, qint32 b) { return keys[std::size_t(a)] < keys[std::size_t(b)]; };
    if (m_sortOrder == Qt::AscendingOrder)
        std::stable_sort(m_order.begin(), m_order.end(), before);
    else
        std::stable_sort(m_order.begin(), m_order.end(), [&before](qint32 a, qint32 b) { return before(b, a); });
}

bool IoPointModel::passes(qint32 point, const std::vector<char> &kindMatches, const std::vector<char> &areaMatches) const
{
    const IoPoint &p = m_points->at(point);
    if (m_filterArea == NoArea && p.area >= 0)
        return false;
    if (m_filterArea >= 0 && !m_areas[std::size_t(m_filterArea)].contains(p.x, p.y))
        return false;
    if (m_filterText.isEmpty() || kindMatches[p.kind] || (p.area >= 0 && areaMatches[std::size_t(p.area)]))
        return true;
    const auto from = m_searchStart[std::size_t(point)];
    return QStringView(m_searchText).sliced(from, m_searchStart[std::size_t(point) + 1] - from)
        .contains(m_needle);
}

// Every label one after another in one text, in lower case letter by
// letter (so each keeps its length): made once for the first filter
// after a change, no text of its own per point.
void IoPointModel::makeSearchText()
{
    if (!m_searchStale)
        return;
    const std::vector<IoPoint> &points = m_points->points();
    m_searchText.resize(0);
    m_searchText.reserve(qsizetype(points.size()) * 24);
    m_searchStart.resize(points.size() + 1);
    for (std::size_t i = 0; i < points.size(); ++i) {
        m_searchStart[i] = m_searchText.size();
        m_points->appendLabel(m_searchText, points[i]);
    }
    m_searchStart.back() = m_searchText.size();
    for (QChar &c : m_searchText)
        c = c.toLower();
    m_searchStale = false;
}

void IoPointModel::applyFilter(bool narrowing)
{
    // Kinds and areas are few: each is matched once, not once a row.
    std::vector<char> kindMatches;
    std::vector<char> areaMatches;
    for (const IoPoint &p : m_points->points()) {
        if (p.kind >= kindMatches.size())
            kindMatches.resize(p.kind + 1, -1);
        if (kindMatches[p.kind] < 0)
            kindMatches[p.kind] = m_points->kindName(p).contains(m_filterText, Qt::CaseInsensitive);
    }
    for (const QString &name : m_points->areaNames())
        areaMatches.push_back(name.contains(m_filterText, Qt::CaseInsensitive));
    if (m_filterText.isEmpty() && m_filterArea == AllAreas) {
        m_rows = m_order;
        return;
    }
    if (!m_filterText.isEmpty())
        makeSearchText();
    m_needle = m_filterText;
    for (QChar &c : m_needle)
        c = c.toLower();
    const std::vector<qint32> from = narrowing ? std::move(m_rows) : m_order;
    m_rows.clear();
    for (const qint32 point : from) {
        if (passes(point, kindMatches, areaMatches))
            m_rows.push_back(point);
    }
}

void IoPointModel::setFilter(const QString &text, qsizetype area)
{
    if (text == m_filterText && area == m_filterArea)
        return;
    // A longer text shows some of the rows shown now, no others.
    const bool narrowing = area == m_filterArea && !m_filterText.isEmpty() && text.startsWith(m_filterText);
    m_filterText = text;
    m_filterArea = area;
    if (!m_points)
        return;
    beginResetModel();
    applyFilter(narrowing);
    endResetModel();
}

void IoPointModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column < 0 || column >= ColumnCount ? NoSort : column;
    m_sortOrder = order;
    if (!m_points)
        return;
    beginResetModel();
    applyOrder();
    applyFilter();
    endResetModel();
}

int IoPointModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int IoPointModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant IoPointModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const qint32 point = pointAt(index.row());
    const IoPoint &p = m_points->at(point);
    if (role == Qt::BackgroundRole)
        return m_use->isShared(p) ? QVariant(SharedColour) : QVariant();
    if (role == Qt::ToolTipRole)
        return m_use->isShared(p) ? QStringLiteral("Adresa použitá vícekrát") : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case Point: return m_points->label(p);
    case Direction: return directionText(p.direction);
    case Kind: return m_points->kindName(p);
    case Cell: return QStringLiteral("%1, %2").arg(p.x).arg(p.y);
    case Area: return m_points->areaName(p);
    case Board: return p.address ? QString::number(p.address->board) : QString();
    case Pin: return p.address ? QString::number(p.address->pin) : QString();
    default: return {};
    }
}

QVariant IoPointModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const std::array<QString, ColumnCount> Captions{
        QStringLiteral("Bod"),    QStringLiteral("Směr"),  QStringLiteral("Druh"), QStringLiteral("Políčko"),
        QStringLiteral("Oblast"), QStringLiteral("Deska"), QStringLiteral("Pin")};
    return section >= 0 && section < ColumnCount ? Captions[std::size_t(section)] : QVariant();
}

Qt::ItemFlags IoPointModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Board || index.column() == Pin)
        f |= Qt::ItemIsEditable;
    return f;
}

std::optional<IoAddress> IoPointModel::edited(qint32 point, int column, int value) const
{
    const IoPoint &p = m_points->at(point);
    if (p.address) {
        IoAddress a = *p.address;
        (column == Board ? a.board : a.pin) = quint16(value);
        return a;
    }
    if (column == Pin)
        return IoAddress{m_defaultBoard, quint16(value)};
    // The first pin of the board that no other point of its direction uses.
    const auto pin = assignInOrder(m_points->points(), std::span(&point, 1), quint16(value));
    return pin ? std::optional(pin->front()) : std::nullopt;
}

bool IoPointModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString().trimmed();
    const qint32 point = pointAt(index.row());
    const IoPoint &p = m_points->at(point);
    std::optional<IoAddress> address;
    if (!text.isEmpty()) {
        bool ok = false;
        const int n = text.toInt(&ok);
        if (!ok || !isIoNumber(n))
            return false;
        address = edited(point, index.column(), n);
        if (!address)
            return false;
    }
    if (address == p.address)
        return true;
    setAddresses(m_history, *m_points, std::span(&point, 1), std::span(&address, 1), AddressStepName);
    follow();
    return true;
}

}  // namespace kalmor
