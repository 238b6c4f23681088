#pragma once

#include "document/StationDocument.h"
#include "render/FrameComposer.h"
#include "render/FrameInputs.h"

#include <QRegion>
#include <QRgb>

#include <array>
#include <optional>

namespace kalmor {

class ImageSet;

// Everything a frame of the drawing surface is composed from besides the
// pictures: frames with equal snapshots have equal pixels. The document
// is represented by the revisions of its lists, the fill by the colour it
// shows (a system colour follows the palette).
struct FrameSnapshot {
    RenderState state;
    EditingView editing;
    CanvasState canvas;  // as the frame finds it
    std::array<quint64, 4> listRevisions{};  // lamps, tiles, plates, desk elements
    quint64 areaRevision = 0;
    QRgb fill = 0;
    friend bool operator==(const FrameSnapshot &, const FrameSnapshot &) = default;
};

FrameSnapshot takeSnapshot(const StationData &doc, const RenderState &state, const EditingView &editing,
                           const CanvasState &canvas);

// The part of the surface whose pixels may differ between the frames of
// two snapshots of one document: nothing when they are equal, the
// diagnostic block when only its texts differ, the cells
// around the old and new cursor cell when the cursor moved, and the whole
// surface when anything else differs, inputs added to the snapshot's
// structs later included.
QRegion changedArea(const FrameSnapshot &before, const FrameSnapshot &after, const StationData &doc,
                    const ImageSet &images);

// Follows what the drawing surface shows: the snapshot its pixels on
// screen were composed from, and what is still to be composed again.
class FrameChanges {
public:
    explicit FrameChanges(const ImageSet &images) : m_images(images) {}

    // The snapshot of the frame on screen, once there was one.
    const std::optional<FrameSnapshot> &shown() const { return m_shown; }

    // Takes next as the frame to show and returns what must be composed
    // for the screen to show it: what differs from the frame shown so far
    // and what earlier paints left owed.
    QRegion show(const FrameSnapshot &next, const StationData &doc);

    // Area that show() asked for and that was not composed yet.
    void owe(const QRegion &area) { m_owed += area; }

private:
    const ImageSet &m_images;
    std::optional<FrameSnapshot> m_shown;
    QRegion m_owed;
};

}  // namespace kalmor
