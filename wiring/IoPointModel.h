#pragma once

#include "analysis/IoPoints.h"

#include <QAbstractTableModel>
#include <QColor>

#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace kalmor {

class StationHistory;

// The I/O points of the station as table rows: point, direction, kind,
// cell, area, board, pin. Sorting and filtering work on plain vectors of
// point numbers, so a station of hundreds of thousands of points sorts
// and filters in a moment; board and pin are edited in place, each
// change one step of the history. Rows whose address another point of
// the same direction uses too are marked red.
//
// follow() brings it up to date after edits: a record changed in place
// refreshes its points where they stand; anything else (a record added
// or removed, the areas changed, a load) reads all points again and
// sorts and filters them as before.
class IoPointModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Point, Direction, Kind, Cell, Area, Board, Pin, ColumnCount };
    static constexpr int NoSort = -1;
    // Area filters besides an area's position.
    static constexpr qsizetype AllAreas = -1;
    static constexpr qsizetype NoArea = -2;
    static inline const QColor SharedColour{255, 170, 170};

    IoPointModel(StationHistory &history, QObject *parent = nullptr);

    const IoPoints &points() const { return *m_points; }
    // The point shown in a row.
    qint32 pointAt(int row) const { return m_rows[std::size_t(row)]; }
    bool isShared(int row) const;

    // Reads the station again where it changed since the last call.
    void follow();

    // Gives the points (indices into points()) the addresses, or takes
    // them away where an address is nothing, as one step of the history.
    // The points take the addresses as they are given, without the lists
    // being read again: a step of hundreds of thousands of records is more
    // than the lists' change log tells.
    void giveAddresses(std::span<const qint32> chosen, std::span<const std::optional<IoAddress>> addresses,
                       const QString &stepName);

    // Rows whose point, kind or area name hold the text (any letter case),
    // of the area (AllAreas, NoArea or a position in the area list).
    void setFilter(const QString &text, qsizetype area);
    const QString &filterText() const { return m_filterText; }

    // A board typed for a point without address takes the first pin free
    // there; a pin typed for one takes this board.
    void setDefaultBoard(quint16 board) { m_defaultBoard = board; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Board or pin: a whole number from 1 to 9999, or nothing to take the
    // address away; anything else is refused.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    void sort(int column, Qt::SortOrder order) override;

    // A point and its key in a sort.
    struct Keyed {
        quint64 key;
        qint32 point;
    };

private:
    void rebuild();
    void rememberRevisions();
    void rankNames();
    void makeSearchText();
    std::pair<quint64, quint64> placeOf(qint32 point) const;
    void applyOrder();
    // Filters all points, or only those shown when the filter narrows.
    void applyFilter(bool narrowing = false);
    bool passes(qint32 point, const std::vector<char> &kindMatches, const std::vector<char> &areaMatches,
                const std::vector<char> &textMatches) const;
    // By point: whether its label (in lower case) holds the needle.
    std::vector<char> labelsHolding(const QByteArray &needle) const;
    std::optional<IoAddress> edited(qint32 point, int column, int value) const;

    StationHistory &m_history;
    std::unique_ptr<IoPoints> m_points;
    std::unique_ptr<AddressUse> m_use;
    // Every point's label in lower case as UTF-8, for the filter: point
    // i's is the text from
    // m_searchStart[i] to m_searchStart[i + 1].
    QByteArray m_searchText;
    std::vector<qint32> m_searchStart;
    bool m_searchStale = true;
    // By point: where it sorts among the designations (the kind's name
    // for a point without one).
    std::vector<qint32> m_designationRank;
    std::vector<qint32> m_kindRank;  // by kind
    std::vector<qint32> m_areaRank;  // by area
    std::vector<qint32> m_order;     // every point, sorted
    // Room for sorting, kept, so that a sort takes no new memory.
    std::vector<Keyed> m_keyed;
    std::vector<Keyed> m_spareKeyed;
    std::vector<qint32> m_rows;      // the points shown, in order
    std::vector<TOblast> m_areas;
    // What follow() last read: the revision and length of each list with
    // points, and the areas' revision.
    std::vector<quint64> m_listRevisions;
    std::vector<qsizetype> m_listCounts;
    quint64 m_areaRevision = 0;
    const void *m_listIdentity = nullptr;
    int m_sortColumn = NoSort;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QString m_filterText;
    qsizetype m_filterArea = AllAreas;
    quint16 m_defaultBoard = 1;
};

}  // namespace kalmor
