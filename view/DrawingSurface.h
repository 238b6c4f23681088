#pragma once

#include "render/index/ElementIndex.h"
#include "render/FrameChanges.h"
#include "render/FrameComposer.h"
#include "render/FrameInputs.h"
#include "render/TileCache.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace kalmor {

class ImageSet;
class StationDocument;
class Viewport;

// The drawing surface X_Plocha: a widget as large as the panel in pixels,
// moved inside P_Plocha by the scroll bars. Its buffer is virtual: every
// paint composes only the part of the surface that is visible, so widget
// coordinates are panel pixels and a panel of any size costs only the
// window's area. A tick repaints only what differs from the frame on
// screen, so an untouched editor composes nothing.
class X_Plocha : public QWidget {
    Q_OBJECT
public:
    X_Plocha(const StationDocument &doc, const ImageSet &images, Viewport &viewport,
             QWidget *parent = nullptr);

    // View state the frames read: preview opacity, fill colour, switches,
    // focus. Cell size, applied size and surface size come from the
    // viewport, lag count and frame rate from the render timer.
    RenderState &renderState() { return m_state; }
    const RenderState &renderState() const { return m_state; }
    ViewSwitches &switches() { return m_state.switches; }

    // Where the frames get the cursor cell, current kind, corner checks
    // and lamp offsets from; without a source the start values are used.
    void setFrameSource(std::function<EditingView()> source);
    EditingView editingView() const;

    // Where the frames get their overlays from, given the view switches;
    // without a source there are none.
    void setOverlaySource(std::function<Overlays(const ViewSwitches &)> source);

    const CanvasState &canvasState() const { return m_canvas; }

    // What the surface shows, for the windows that show it too.
    const StationDocument &document() const { return m_doc; }
    const ImageSet &images() const { return m_images; }
    Viewport &viewport() const { return m_viewport; }

    // What a load does for the frames: the cell index of the station read,
    // built on the loading thread and taken over with the station, so that
    // the first frame after the load has nothing to build.
    LoadFollower indexPreparation();

    // The surface's pixels of the rectangle (clipped to the surface's
    // current size) as the last frame had them: composed with that frame's
    // inputs.
    QImage copyOut(const QRect &rect);

    // The part of the surface P_Plocha shows, in surface pixels.
    QRect visibleRect() const;

    // Surface pixels composed so far, for tests and benchmarks.
    qint64 composedPixels() const { return m_composedPixels; }

public slots:
    // A tick of X_Vykreslovac: note the lag count and frame rate and
    // repaint what they and every other change since the last frame
    // touch.
    void X_VykreslovacTimer(int lagCount, int frameRate);
    // The focus flag: set on focus in, cleared on focus out.
    void X_PlochaEnter();
    void X_PlochaExit();
    // An editing command has ended: the cell index follows what it changed
    // now, so that a paste or delete of many elements does not make the
    // next frame long.
    void followEdits();

signals:
    // Pointer positions in surface pixels; while a button is held they
    // arrive from outside the widget too. The modifiers are those held at
    // the press or release.
    void mouseMoved(int x, int y);
    void mousePressed(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers modifiers = {});
    void mouseReleased(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers modifiers = {});
    // The second press of a double click, in place of mousePressed.
    void mouseDoubleClicked(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers modifiers = {});

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Tests look at what the cell index has followed (tests/support/IndexProbe.h).
    friend struct IndexProbe;

    RenderState frameState() const;
    FrameSnapshot snapshot() const;

    const StationDocument &m_doc;
    const ImageSet &m_images;
    Viewport &m_viewport;
    RenderState m_state;
    std::function<EditingView()> m_source;
    std::function<Overlays(const ViewSwitches &)> m_overlays;
    CanvasState m_canvas;
    ElementIndex m_index;
    FramePieces m_pieces;  // what the last paint painted
    TileCache m_tiles;     // composed tiles kept for the next paints
    FrameChanges m_changes;
    qint64 m_composedPixels = 0;
};

}  // namespace kalmor
