#include "view/DrawingSurface.h"

#include "document/StationDocument.h"
#include "render/ImageSet.h"
#include "render/Viewport.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace kalmor {

X_Plocha::X_Plocha(const StationDocument &doc, const ImageSet &images, Viewport &viewport, QWidget *parent)
    : QWidget(parent), m_doc(doc), m_images(images), m_viewport(viewport), m_changes(images)
{
    setObjectName(QStringLiteral("X_Plocha"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Every paint covers its whole area with a composed frame.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(viewport.surfaceSize());
    move(viewport.surfacePosition());
    connect(&viewport, &Viewport::surfaceSizeChanged, this, [this](QSize size) { resize(size); });
    connect(&viewport, &Viewport::surfacePositionChanged, this, [this](QPoint position) { move(position); });
    connect(&doc, &StationDocument::elementsReplaced, this, [this] { m_index.invalidate(); });
}

LoadFollower X_Plocha::indexPreparation()
{
    return [this](const StationData &read) -> std::function<void()> {
        auto built = std::make_shared<ElementIndex>();
        built->build(read);
        return [this, built] {
            m_index = std::move(*built);
            m_index.rebind(m_doc.data());
        };
    };
}

void X_Plocha::setFrameSource(std::function<EditingView()> source)
{
    m_source = std::move(source);
}

void X_Plocha::setOverlaySource(std::function<Overlays(const ViewSwitches &)> source)
{
    m_overlays = std::move(source);
}

EditingView X_Plocha::editingView() const
{
    return m_source ? m_source() : EditingView{};
}

RenderState X_Plocha::frameState() const
{
    RenderState state = m_state;
    state.cellSize = m_viewport.cellSize();
    state.appliedColumns = m_viewport.appliedColumns();
    state.appliedRows = m_viewport.appliedRows();
    state.surfaceSize = m_viewport.surfaceSize();
    if (m_overlays)
        state.overlays = m_overlays(state.switches);
    return state;
}

FrameSnapshot X_Plocha::snapshot() const
{
    return takeSnapshot(m_doc.data(), frameState(), editingView(), m_canvas);
}

QRect X_Plocha::visibleRect() const
{
    const QWidget *clip = parentWidget();
    if (!clip)
        return rect();
    return rect() & QRect(mapFrom(clip, QPoint(0, 0)), clip->size());
}

void X_Plocha::paintEvent(QPaintEvent *event)
{
    // A paint between ticks (the surface exposed or scrolled) shows the
    // inputs of this moment; whatever else they change is owed to the
    // next tick.
    m_changes.owe(m_changes.show(snapshot(), m_doc.data()) - event->region());
    const FrameSnapshot &frame = *m_changes.shown();
    QPainter painter(this);
    const QRect visible = visibleRect();
    m_tiles.fitView(visible.size());
    // The kept tiles go straight onto the screen, not through a frame
    // image first: a 4K view scrolled a notch copies its pixels once.
    for (const QRect &area : event->region() & visible) {
        composeFramePieces(m_pieces, area, m_doc.data(), frame.state, frame.editing, m_images, m_canvas, m_index,
                           m_tiles);
        m_pieces.paint(painter);
        m_composedPixels += qint64(area.width()) * area.height();
    }
}

QImage X_Plocha::copyOut(const QRect &rect)
{
    // The surface's size is always the current one: a resized surface has
    // no pixels beyond its new edge.
    FrameSnapshot frame = m_changes.shown() ? *m_changes.shown() : snapshot();
    frame.state.surfaceSize = m_viewport.surfaceSize();
    const QRect area = rect & QRect(QPoint(0, 0), frame.state.surfaceSize);
    QImage image;
    if (!area.isEmpty())
        composeFrame(image, area, m_doc.data(), frame.state, frame.editing, m_images, frame.canvas, m_index);
    return image;
}

void X_Plocha::X_VykreslovacTimer(int lagCount, int frameRate)
{
    m_state.lagCount = lagCount;
    m_state.frameRate = frameRate;
    const QRegion changed = m_changes.show(snapshot(), m_doc.data());
    if (!changed.isEmpty())
        update(changed);
}

void X_Plocha::followEdits()
{
    m_index.followNow(m_doc.data());
}

void X_Plocha::X_PlochaEnter()
{
    m_state.focus = true;
}

void X_Plocha::X_PlochaExit()
{
    m_state.focus = false;
}

void X_Plocha::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    emit mouseMoved(p.x(), p.y());
}

void X_Plocha::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    emit mousePressed(event->button(), p.x(), p.y(), event->modifiers());
}

void X_Plocha::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    emit mouseReleased(event->button(), p.x(), p.y(), event->modifiers());
}

void X_Plocha::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    emit mouseDoubleClicked(event->button(), p.x(), p.y(), event->modifiers());
}

void X_Plocha::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    X_PlochaEnter();
}

void X_Plocha::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    // Another window or a menu taking over is no move of the focus to
    // another control: the surface keeps its focus flag then.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        X_PlochaExit();
}

}  // namespace kalmor
