#pragma once

#include "render/FrameComposer.h"
#include "render/PictureDrawing.h"

#include <QPaintDevice>
#include <QRect>

#include <vector>

namespace kalmor {

// The layers of a frame that lie over its tiles and are never kept with
// them: area frames (when switched on), selection outline, cursor frame
// (with the focus, when switched on) and diagnostic lines (when switched
// on), in that order. Each clips to its target, and its colours follow
// the surface coordinate, so drawing them on any part of the frame gives
// that part's pixels of the whole.
class FrameLayers {
public:
    FrameLayers(const StationData &doc, const RenderState &state, const EditingView &editing,
                const CanvasState &canvas);

    // Rectangles holding every pixel the layers may change within the
    // clip (and some beyond it); device: what the diagnostic lines are
    // measured on.
    std::vector<QRect> reach(const QRect &clip, const QPaintDevice &device) const;

    void draw(FrameTarget &target) const;

    // What the frame leaves for the next: the cursor frame leaves the
    // brush hollow whether or not it reached the part composed.
    void finish(CanvasState &canvas) const;

private:
    const StationData &m_doc;
    const RenderState &m_state;
    const EditingView &m_editing;
    const CanvasState &m_canvas;
    int m_cell;
    bool m_cursor;
};

}  // namespace kalmor
