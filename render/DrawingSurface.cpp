#include "render/DrawingSurface.h"

#include "document/StationDocument.h"
#include "render/ImageSet.h"
#include "render/Viewport.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace kalmor {

X_Plocha::X_Plocha(const StationDocument &doc, const ImageSet &images, Viewport &viewport, QWidget *parent)
    : QWidget(parent), m_doc(doc), m_images(images), m_viewport(viewport)
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

QRect X_Plocha::visibleRect() const
{
    const QWidget *clip = parentWidget();
    if (!clip)
        return rect();
    return rect() & QRect(mapFrom(clip, QPoint(0, 0)), clip->size());
}

void X_Plocha::paintEvent(QPaintEvent *event)
{
    const QRect area = visibleRect() & event->rect();
    if (area.isEmpty())
        return;
    m_lastState = frameState();
    m_lastEditing = editingView();
    m_lastCanvas = m_canvas;
    m_hasFrame = true;
    composeFrame(m_frame, area, m_doc.data(), m_lastState, m_lastEditing, m_images, m_canvas, m_index);
    QPainter painter(this);
    painter.drawImage(area.topLeft(), m_frame);
}

QImage X_Plocha::copyOut(const QRect &rect)
{
    // The surface's size is always the current one: a resized surface has
    // no pixels beyond its new edge.
    RenderState state = m_hasFrame ? m_lastState : frameState();
    state.surfaceSize = m_viewport.surfaceSize();
    const EditingView editing = m_hasFrame ? m_lastEditing : editingView();
    CanvasState canvas = m_hasFrame ? m_lastCanvas : m_canvas;
    const QRect area = rect & QRect(QPoint(0, 0), state.surfaceSize);
    QImage image;
    if (!area.isEmpty())
        composeFrame(image, area, m_doc.data(), state, editing, m_images, canvas, m_index);
    return image;
}

void X_Plocha::X_VykreslovacTimer(int lagCount, int frameRate)
{
    m_state.lagCount = lagCount;
    m_state.frameRate = frameRate;
    update();
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
    emit mousePressed(event->button(), p.x(), p.y());
}

void X_Plocha::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    emit mouseReleased(event->button(), p.x(), p.y());
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
