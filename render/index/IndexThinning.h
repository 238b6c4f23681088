#pragma once

#include "render/index/IndexEntry.h"

#include <vector>

namespace kalmor::detail {

// Buckets holding more records than this are thinned out.
constexpr qint32 Crowded = 512;

// The draws met so far while a crowded bucket is walked from its last
// record back: an opaque picture drawn again at the same place later in
// the list covers an earlier draw exactly, so only the last is worth
// offering.
class LaterDraws {
public:
    // The parts of e that no draw met so far repeats; notes them as met.
    quint8 keep(const Entry &e);

private:
    // What is drawn in which cell (never 0), and with which offsets.
    struct Draw {
        quint64 what = 0;
        quint32 offsets = 0;
    };

    // Notes the draw; false when it was met before.
    bool meet(const Draw &d);

    // An open-addressed table, half full at most: a crowded bucket is
    // thinned often, and a node-based set costs several times as much.
    std::vector<Draw> m_met;
    std::size_t m_count = 0;
};

}  // namespace kalmor::detail
