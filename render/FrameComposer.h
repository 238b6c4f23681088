#pragma once

#include "document/StationDocument.h"
#include "render/FrameInputs.h"
#include "render/FrameTexts.h"

#include <QFont>
#include <QImage>
#include <QRect>

#include <array>
#include <deque>
#include <memory>
#include <vector>

class QPainter;

namespace kalmor {

class ElementIndex;
class ImageSet;
class TileCache;

// The canvas settings that last from frame to frame: the brush is solid
// white until the cursor frame has once set it hollow, and the diagnostic
// texts stand on that brush. How far plate texts reach is followed from
// frame to frame too; copies share it, as they compose one document.
struct CanvasState {
    CanvasState();
    bool brushHollow = false;
    QFont font;  // the application font, drawn without anti-aliasing
    std::shared_ptr<TextReach> textReach = std::make_shared<TextReach>();
    friend bool operator==(const CanvasState &, const CanvasState &) = default;
};

// Colours of the canvas layers.
inline constexpr QRgb GridColour = 0xFF0000FF;        // blue
inline constexpr QRgb CursorFrameColour = 0xFFFF0000; // red
inline constexpr QRgb DiagnosticColour = 0xFF800000;  // maroon
// The selection outline: dashes of these two colours, SelectionDashLength
// pixels each, stand out on the grey fill, on black track and on the blue
// grid.
inline constexpr QRgb SelectionDashColours[2] = {0xFFFFFF00, 0xFF000000};  // yellow, black
inline constexpr int SelectionDashLength = 4;

// The six diagnostic lines, top to bottom (y = 10, 20, ... 60, x = 10).
std::array<QString, 6> diagnosticLines(const RenderState &state, const EditingView &editing,
                                       const StationData &doc);

// Composes one frame for the rectangle surfaceRect of the drawing surface:
// fill, lamps, tiles with corner pieces, plates, the track circuits (when
// switched on), previews, grid, the plate texts (when switched on and the
// cells are large enough), the problem outlines (when asked for), area
// frames (when switched on), selection outline, cursor frame, diagnostic
// lines, in that order. Target
// pixel (0, 0) is surface pixel surfaceRect.topLeft(); the result equals
// composing the whole surface and cutting the rectangle out. The target is
// made surfaceRect.size() in Format_RGB32 if it is not; its pixels outside
// the surface (state.surfaceSize) are left as they are.
void composeFrame(QImage &target, const QRect &surfaceRect, const StationData &doc,
                  const RenderState &state, const EditingView &editing, const ImageSet &images,
                  CanvasState &canvas, ElementIndex &index);

// The same frame, taking the tiles that the cache kept from earlier frames
// with the same inputs instead of composing them again, and keeping those
// it composes: the same pixels, for a fraction of the time while the view
// scrolls.
void composeFrame(QImage &target, const QRect &surfaceRect, const StationData &doc, const RenderState &state,
                  const EditingView &editing, const ImageSet &images, CanvasState &canvas, ElementIndex &index,
                  TileCache &tiles);

// A part of a frame to paint: the pixels of source in image go to the
// surface pixels from at on.
struct FramePiece {
    const QImage *image = nullptr;  // Format_RGB32
    QRect source;
    QPoint at;
};

// A frame as the pieces it is painted from: kept tiles as they are kept,
// and copies of those the frame-wide layers (areas, selection, cursor
// frame, diagnostic lines) lie over, with those layers drawn. Painted
// straight onto the screen, a scrolled view copies its pixels once. The
// pieces stay valid until the frame or the tiles they came from compose
// again.
class FramePieces {
public:
    const std::vector<FramePiece> &pieces() const { return m_pieces; }
    // Paints every piece at its surface pixel.
    void paint(QPainter &painter) const;

    void clear();
    void add(const FramePiece &piece) { m_pieces.push_back(piece); }
    // A copy of the source's pixels of the image for this frame, in
    // memory kept for the next frames.
    QImage &patch(const QImage &image, const QRect &source);

private:
    std::vector<FramePiece> m_pieces;
    std::deque<QImage> m_patches;  // a deque: pieces point into it as it grows
    std::size_t m_patchesUsed = 0;
};

// The frame of the kept-tiles composeFrame() as pieces, for the part of
// surfaceRect on the surface: the same pixels without copying the kept
// tiles into one image.
void composeFramePieces(FramePieces &frame, const QRect &surfaceRect, const StationData &doc,
                        const RenderState &state, const EditingView &editing, const ImageSet &images,
                        CanvasState &canvas, ElementIndex &index, TileCache &tiles);

// The same frame with every record of every list drawn in turn, without
// the index: slow on a large station, kept as the plain rule the fast
// composition is tested and measured against.
void composeFrameWalkingEveryElement(QImage &target, const QRect &surfaceRect, const StationData &doc,
                                     const RenderState &state, const EditingView &editing, const ImageSet &images,
                                     CanvasState &canvas);

}  // namespace kalmor
