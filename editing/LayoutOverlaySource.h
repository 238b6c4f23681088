#pragma once

#include "render/FrameInputs.h"

namespace kalmor {

class LayoutAnalysis;

// Hands the renderer what the layout analysis found: the colours of each
// analysed tile's track and the cells with problems.
class LayoutOverlaySource : public OverlaySource {
public:
    explicit LayoutOverlaySource(const LayoutAnalysis &analysis) : m_analysis(analysis) {}

    void trackPaintsIn(const QRect &cells, std::vector<TrackPaint> &out) const override;
    void problemCellsIn(const QRect &cells, std::vector<QPoint> &out) const override;

private:
    const LayoutAnalysis &m_analysis;
};

}  // namespace kalmor
