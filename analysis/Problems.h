#pragma once

#include "catalogue/ElementKinds.h"

#include <QRect>
#include <QString>
#include <QtGlobal>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace kalmor {

// The kinds of layout problem, in the alphabetical order of their codes,
// which is the order a cell's problems are listed in.
enum class ProblemCode : quint8 {
    AreaOutside,
    DivisionMismatch,
    DuplicateText,
    IoDuplicate,
    IoMissing,
    NoDesignation,
    OpenEnd,
    OutsidePanel,
    SignalWithoutTrack,
    Stacked,
    UnknownKind
};
inline constexpr int ProblemCodeCount = 11;
inline constexpr std::array<ProblemCode, ProblemCodeCount> AllProblemCodes{
    ProblemCode::AreaOutside,  ProblemCode::DivisionMismatch, ProblemCode::DuplicateText,
    ProblemCode::IoDuplicate,  ProblemCode::IoMissing,        ProblemCode::NoDesignation,
    ProblemCode::OpenEnd,      ProblemCode::OutsidePanel,     ProblemCode::SignalWithoutTrack,
    ProblemCode::Stacked,      ProblemCode::UnknownKind};

// The stable English code ("open-end") and the Czech text the user reads.
QString problemCodeText(ProblemCode code);
QString problemDescription(ProblemCode code);

// An error is a fault of the layout; a warning only asks for a look (two
// plates named alike may be meant so, a point may be wired later, a desk
// may be drawn before its track or its designations). Only errors make the
// check fail.
enum class ProblemLevel : quint8 { Error, Warning };
ProblemLevel problemLevel(ProblemCode code);
// "error" or "warning".
QString problemLevelText(ProblemLevel level);

// Problems that depend on the whole station (the wiring, the areas)
// rather than on the records of a cell and its neighbours.
bool isStationWide(ProblemCode code);

enum class ListKind : quint8 { Tiles, Lamps, Plates, Desk, Areas };

// One problem at one cell. kind indexes the analysis's kind names; list
// and position name the record, so that two problems of one cell, code
// and point still have a fixed order.
struct Problem {
    qint32 x = 0;
    qint32 y = 0;
    qint32 position = 0;
    quint32 kind = 0;
    ProblemCode code = ProblemCode::OpenEnd;
    std::optional<BorderPoint> point;
    ListKind list = ListKind::Tiles;
    qint16 role = -1;  // of an I/O problem: index into the kind's roles
    friend bool operator==(const Problem &, const Problem &) = default;
};

// What the problem's point column shows: the border point, the I/O role
// (kindName: the name `kind` stands for), or nothing.
QString problemPointText(const Problem &p, const QString &kindName);

// The border points in the alphabetical order of their codes, the order
// in which a cell's problems list them.
inline constexpr std::array<BorderPoint, BorderPointCount> PointsInCodeOrder{
    BorderPoint::LD, BorderPoint::LH, BorderPoint::LS, BorderPoint::PD,
    BorderPoint::PH, BorderPoint::PS, BorderPoint::SD, BorderPoint::SH};

// Place of a point in that order; no point comes first.
int pointRank(const std::optional<BorderPoint> &point);

// Order of the list: by row, column, code, point, then list and position.
bool problemBefore(const Problem &a, const Problem &b);

// The problems of a station kept by row, so that replacing those of a few
// cells touches a few short rows however many problems there are, while
// the whole list can still be read by index in its order.
class ProblemList {
public:
    void clear();
    qsizetype size() const;
    // The problem at an index of the ordered list.
    const Problem &at(qsizetype i) const;
    qsizetype count(ProblemCode code) const { return m_counts[std::size_t(code)]; }

    // Puts the problems in (ordered) in among those held.
    void insert(const std::vector<Problem> &ordered);
    // The same, taking the vector over without a copy when it holds one
    // row that has no problems yet.
    void insert(std::vector<Problem> &&ordered);
    // Drops the problems of one cell, except the station-wide ones.
    void removeCell(qint32 x, qint32 y);
    // Replaces every station-wide problem with those given (ordered).
    void replaceStationWide(const std::vector<Problem> &ordered);

    // Cells with at least one problem inside the rectangle of cells.
    void cellsIn(const QRect &cells, std::vector<QPoint> &out) const;

    template <class F>
    void forEach(F &&f) const
    {
        for (const auto &[y, row] : m_rows)
            for (const Problem &p : row)
                f(p);
    }

private:
    void add(const Problem &p, int sign);
    void reindex() const;

    std::map<qint32, std::vector<Problem>> m_rows;
    std::vector<qint32> m_stationWideRows;  // rows holding station-wide problems
    std::array<qsizetype, ProblemCodeCount> m_counts{};
    qsizetype m_size = 0;
    // First index of each row, rebuilt after a change on the next read.
    mutable std::vector<std::pair<qsizetype, const std::vector<Problem> *>> m_starts;
    mutable bool m_stale = false;
};

}  // namespace kalmor
