#pragma once

#include "document/Records.h"

#include <span>
#include <vector>

namespace kalmor {

// Finds the first area (in area order) holding a cell without trying
// every area: the areas' common bounding box is cut into at most 64 x 64
// buckets, and each bucket lists the areas reaching into it. A station
// of a hundred desk modules and hundreds of thousands of points so asks
// a few areas per point, not a hundred.
class AreaFinder {
public:
    AreaFinder() = default;
    explicit AreaFinder(std::span<const TOblast> areas);

    // The area's position, or -1 when no area holds the cell.
    qint32 first(qint64 x, qint64 y) const;

private:
    std::vector<TOblast> m_areas;
    qint64 m_left = 0;
    qint64 m_top = 0;
    qint64 m_step = 1;
    qint64 m_columns = 0;
    qint64 m_rows = 0;
    // The areas of bucket b are m_ids[m_start[b]] up to m_ids[m_start[b + 1]].
    std::vector<qint32> m_start;
    std::vector<qint32> m_ids;
};

}  // namespace kalmor
