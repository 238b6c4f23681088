#pragma once

#include "analysis/KindTable.h"
#include "analysis/Problems.h"
#include "document/StationDocument.h"

#include <array>
#include <vector>

namespace kalmor {

// The problems of the wiring and the areas, which depend on the whole
// station: an address used by more than one point of one direction
// (io-duplicate, at every such point), a point without an address while
// some point has one (io-missing), an area reaching beyond the panel
// (area-outside, at the area's top-left cell, its name as the kind).
// Found again whenever the lists with addresses, the areas or the panel
// size change.
class StationWideProblems {
public:
    // Brings the problems up to date; `kindsCleared`: the kind table was
    // emptied, so every kind number must be taken again. True when the
    // problems may have changed.
    bool update(const StationData &doc, KindTable &kinds, bool kindsCleared);

    // Ordered as the problem list orders them.
    const std::vector<Problem> &problems() const { return m_problems; }

private:
    std::vector<quint64> revisionsOf(const StationData &doc) const;

    std::vector<quint64> m_revisions;
    std::vector<Problem> m_problems;
};

// The station-wide problems of a station, found from scratch.
std::vector<Problem> stationWideProblems(const StationData &doc, KindTable &kinds);

}  // namespace kalmor
