#include "wiring/IoPointModel.h"

#include "document/LargeMemory.h"
#include "document/StationHistory.h"
#include "wiring/WiringEdits.h"

#include <QColor>
#include <QByteArrayMatcher>

#include <algorithm>
#include <array>
#include <numeric>

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
    bool relabelled = false;
    for (const auto &[list, positions] : touched) {
        for (const qint32 position : positions) {
            const auto [first, end] = m_points->pointsOfRecord(list, position);
            // A record without points keeps none only while its kind has no
            // roles; one with points is checked by refresh().
            inPlace = inPlace && first >= 0
                && (first < end || ioListOf(doc, list, [&](const auto &records) {
                        return ioRolesOf(records.at(position).NAME).empty();
                    }));
            for (qint32 i = first; inPlace && i < end; ++i) {
                const IoPoint &p = m_points->at(i);
                m_use->add(p.direction, p.address, -1);
                inPlace = m_points->refresh(doc, i, relabelled);
                m_use->add(p.direction, p.address, 1);
            }
        }
    }
    if (!inPlace) {
        rebuild();
        return;
    }
    if (relabelled) {
        rankNames();
        m_searchStale = true;
    }
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void IoPointModel::rememberRevisions()
{
    const StationData &doc = m_history.document().data();
    m_listRevisions.clear();
    m_listCounts.clear();
    forEachIoList(doc, [&](IoList, const auto &list) {
        m_listRevisions.push_back(list.revision());
        m_listCounts.push_back(list.count());
    });
    m_listIdentity = &doc;
    m_areaRevision = doc.areas.revision();
}

void IoPointModel::giveAddresses(std::span<const qint32> chosen, std::span<const std::optional<IoAddress>> addresses,
                                 const QString &stepName)
{
    // Only a model that has read every change so far knows that the lists
    // differ by this step alone afterwards.
    const std::vector<quint64> read = m_listRevisions;  // what was read last
    const void *identity = m_listIdentity;
    const quint64 areaRevision = m_areaRevision;
    rememberRevisions();
    const bool current = read == m_listRevisions && identity == m_listIdentity && areaRevision == m_areaRevision;
    StationEdit edit = addressEdit(m_history.document(), *m_points, chosen, addresses);
    if (current) {
        for (std::size_t k = 0; k < chosen.size(); ++k) {
            const IoPoint &p = m_points->at(chosen[k]);
            m_use->add(p.direction, p.address, -1);
            m_points->setAddress(chosen[k], addresses[k]);
            m_use->add(p.direction, p.address, 1);
        }
        // The history tells the windows of the step as it takes it; this
        // model has it already.
        rememberRevisions();
    } else {
        m_listIdentity = nullptr;  // follow() reads it all again
    }
    m_history.commitModifying(std::move(edit), stepName);
    follow();
    if (current && !m_rows.empty())
        emit dataChanged(index(0, Board), index(rowCount() - 1, Pin));
}

void IoPointModel::rebuild()
{
    const StationData &doc = m_history.document().data();
    beginResetModel();
    m_points = std::make_unique<IoPoints>(IoPoints::of(doc));
    m_use = std::make_unique<AddressUse>(*m_points);
    m_searchStale = true;
    makeSearchText();
    m_areas.assign(doc.areas.begin(), doc.areas.end());
    rankNames();
    if (m_filterArea >= qsizetype(m_areas.size()))
        m_filterArea = AllAreas;
    applyOrder();
    applyFilter();
    endResetModel();
}

namespace {

// A text to be ranked: its first eight UTF-16 units as two numbers, so
// that most comparisons are of numbers, and the whole text for the rest.
struct Named {
    std::array<quint64, 2> prefix{};
    QStringView text;
    qint32 who = 0;  // a point (the first of its record), or -1 - a kind

    explicit Named(QStringView t, qint32 w) : text(t), who(w)
    {
        for (qsizetype i = 0; i < std::min<qsizetype>(t.size(), 8); ++i)
            prefix[std::size_t(i / 4)] |= quint64(t[i].unicode()) << (48 - 16 * (i % 4));
    }
    // Orders as comparing the texts unit by unit does.
    static int compare(const Named &a, const Named &b)
    {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix ? -1 : 1;
        const int rest = a.text.sliced(std::min<qsizetype>(a.text.size(), 8))
                             .compare(b.text.sliced(std::min<qsizetype>(b.text.size(), 8)));
        return rest != 0 ? rest : int(a.text.size() > b.text.size()) - int(a.text.size() < b.text.size());
    }
};

quint64 biased(qint32 n)
{
    return quint64(quint32(n) ^ 0x8000'0000U);
}

// Sorts by the key a byte at a time from the lowest (a stable radix
// sort): far fewer steps than comparing hundreds of thousands of keys,
// and a byte that all keys share is passed over. `spare` is room of the
// same size, kept between sorts.
void sortStably(std::vector<IoPointModel::Keyed> &keyed, std::vector<IoPointModel::Keyed> &spare)
{
    // Every byte's counts in one reading of the keys.
    std::array<std::array<std::size_t, 257>, 8> starts{};
    for (const IoPointModel::Keyed &k : keyed) {
        for (std::size_t byte = 0; byte < 8; ++byte)
            ++starts[byte][((k.key >> (8 * byte)) & 0xff) + 1];
    }
    reserveLarge(spare, keyed.size());
    spare.resize(keyed.size());
    for (std::size_t byte = 0; byte < 8; ++byte) {
        std::array<std::size_t, 257> &start = starts[byte];
        if (std::find(start.begin() + 1, start.end(), keyed.size()) != start.end())
            continue;
        for (std::size_t b = 1; b < start.size(); ++b)
            start[b] += start[b - 1];
        for (const IoPointModel::Keyed &k : keyed)
            spare[start[(k.key >> (8 * byte)) & 0xff]++] = k;
        keyed.swap(spare);
    }
}

}  // namespace

// Sorting compares numbers: each distinct text gets its place among the
// others once, not once a comparison; the points of a record share their
// designation, so it is ranked once.
void IoPointModel::rankNames()
{
    const IoPoints &pts = *m_points;
    const std::vector<IoPoint> &points = pts.points();
    std::vector<const QString *> kinds;
    std::vector<Named> texts;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const IoPoint &p = points[i];
        if (p.kind >= kinds.size())
            kinds.resize(p.kind + 1, nullptr);
        kinds[p.kind] = &pts.kindName(p);
        if (p.role == 0 && !pts.designation(p).isEmpty())
            texts.emplace_back(pts.designation(p), qint32(i));
    }
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (kinds[k])
            texts.emplace_back(*kinds[k], -1 - qint32(k));
    }
    std::sort(texts.begin(), texts.end(), [](const Named &a, const Named &b) { return Named::compare(a, b) < 0; });
    m_kindRank.assign(kinds.size(), 0);
    m_designationRank.assign(points.size(), 0);
    qint32 rank = 0;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        if (k > 0 && Named::compare(texts[k - 1], texts[k]) != 0)
            ++rank;
        const qint32 who = texts[k].who;
        if (who < 0)
            m_kindRank[std::size_t(-1 - who)] = rank;
        else
            m_designationRank[std::size_t(who)] = rank;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const IoPoint &p = points[i];
        m_designationRank[i] = pts.designation(p).isEmpty() ? m_kindRank[p.kind] : m_designationRank[i - p.role];
    }
    std::vector<QString> areas = pts.areaNames();
    std::vector<QString> sorted = areas;
    std::sort(sorted.begin(), sorted.end());
    m_areaRank.clear();
    for (const QString &a : areas)
        m_areaRank.push_back(qint32(std::lower_bound(sorted.begin(), sorted.end(), a) - sorted.begin()));
}

// Each point's place by the column as two numbers, the points sorted by
// the lower and then, keeping that order where they agree, by the
// higher, so that equal places keep the points' own order: the
// designation with the cell and the role after it, a point without
// address after all with one.
std::pair<quint64, quint64> IoPointModel::placeOf(qint32 point) const
{
    const IoPoint &p = m_points->at(point);
    const quint64 board = p.address ? p.address->board : Unset;
    const quint64 pin = p.address ? p.address->pin : Unset;
    switch (m_sortColumn) {
    case Point:
        return {quint64(m_designationRank[std::size_t(point)]) << 32 | biased(p.x), biased(p.y) << 32 | p.role};
    case Direction: return {quint64(p.direction), 0};
    case Kind: return {quint64(m_kindRank[p.kind]), 0};
    case Cell: return {biased(p.x) << 32 | biased(p.y), 0};
    case Area: return {p.area < 0 ? 0 : quint64(m_areaRank[std::size_t(p.area)]) + 1, 0};
    case Board: return {board << 16 | pin, 0};
    case Pin: return {pin << 16 | board, 0};
    default: return {0, 0};
    }
}

void IoPointModel::applyOrder()
{
    // The tables of a few hundred thousand points are fresh memory at
    // the first opening: in large pages they cost far fewer faults.
    reserveLarge(m_order, std::size_t(m_points->size()));
    m_order.resize(std::size_t(m_points->size()));
    std::iota(m_order.begin(), m_order.end(), 0);
    if (m_sortColumn == NoSort)
        return;
    const quint64 flip = m_sortOrder == Qt::DescendingOrder ? ~quint64(0) : 0;
    for (const bool high : {false, true}) {
        reserveLarge(m_keyed, m_order.size());
        m_keyed.resize(m_order.size());
        for (std::size_t k = 0; k < m_order.size(); ++k) {
            const auto [higher, lower] = placeOf(m_order[k]);
            m_keyed[k] = {(high ? higher : lower) ^ flip, m_order[k]};
        }
        sortStably(m_keyed, m_spareKeyed);
        for (std::size_t k = 0; k < m_order.size(); ++k)
            m_order[k] = m_keyed[k].point;
    }
}

bool IoPointModel::passes(qint32 point, const std::vector<char> &kindMatches, const std::vector<char> &areaMatches,
                          const std::vector<char> &textMatches) const
{
    const IoPoint &p = m_points->at(point);
    if (m_filterArea == NoArea && p.area >= 0)
        return false;
    if (m_filterArea >= 0 && !m_areas[std::size_t(m_filterArea)].contains(p.x, p.y))
        return false;
    return m_filterText.isEmpty() || kindMatches[p.kind] || (p.area >= 0 && areaMatches[std::size_t(p.area)])
        || textMatches[std::size_t(point)];
}

// The text is searched once from end to end, not label by label; a label
// that holds the needle is not searched further.
std::vector<char> IoPointModel::labelsHolding(const QByteArray &needle) const
{
    std::vector<char> holds(m_searchStart.size() - 1, 0);
    const QByteArrayMatcher matcher(needle);
    std::size_t point = 0;
    for (qsizetype at = matcher.indexIn(m_searchText, 0); at >= 0;) {
        point = std::size_t(std::upper_bound(m_searchStart.begin() + qsizetype(point), m_searchStart.end(), at)
                            - m_searchStart.begin()) - 1;
        const qsizetype end = m_searchStart[point + 1];
        const bool inside = at + needle.size() <= end;  // not into the next label
        if (inside)
            holds[point] = 1;
        at = matcher.indexIn(m_searchText, inside ? end : at + 1);
    }
    return holds;
}

namespace {

// The text in lower case, letter by letter, as UTF-8: most labels are
// ASCII, which takes a byte a letter and no table. A needle in UTF-8 is
// found in UTF-8 text only where its letters begin.
void appendLowerUtf8(QByteArray &to, QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            to.append(char(u >= u'A' && u <= u'Z' ? u + 32 : u));
            continue;
        }
        const char16_t l = c.toLower().unicode();
        if (l < 0x800) {
            to.append(char(0xC0 | (l >> 6))).append(char(0x80 | (l & 0x3F)));
        } else {
            to.append(char(0xE0 | (l >> 12))).append(char(0x80 | ((l >> 6) & 0x3F))).append(char(0x80 | (l & 0x3F)));
        }
    }
}

}  // namespace

// Every label one after another in one text, in lower case, no text of
// its own per point: made as the points are read, so that the first
// keystroke only searches.
void IoPointModel::makeSearchText()
{
    if (!m_searchStale)
        return;
    const std::vector<IoPoint> &points = m_points->points();
    m_searchText.resize(0);
    if (m_searchText.capacity() < qsizetype(points.size()) * 16) {
        m_searchText.reserve(qsizetype(points.size()) * 16);
        adviseLargePages(m_searchText.constData(), std::size_t(m_searchText.capacity()));
    }
    reserveLarge(m_searchStart, points.size() + 1);
    m_searchStart.resize(points.size() + 1);
    QString label;
    for (std::size_t i = 0; i < points.size(); ++i) {
        m_searchStart[i] = qint32(m_searchText.size());
        label.resize(0);
        m_points->appendLabel(label, points[i]);
        appendLowerUtf8(m_searchText, label);
    }
    m_searchStart.back() = qint32(m_searchText.size());
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
    std::vector<char> textMatches;
    if (!m_filterText.isEmpty()) {
        makeSearchText();
        QByteArray needle;
        appendLowerUtf8(needle, m_filterText);
        textMatches = labelsHolding(needle);
    }
    const std::vector<qint32> from = narrowing ? std::move(m_rows) : m_order;
    m_rows.clear();
    for (const qint32 point : from) {
        if (passes(point, kindMatches, areaMatches, textMatches))
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
    const auto pin = assignInOrder(m_points->points(), std::span(&point, 1), quint16(value), quint16(value));
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
    giveAddresses(std::span(&point, 1), std::span(&address, 1), AddressStepName);
    return true;
}

}  // namespace kalmor
