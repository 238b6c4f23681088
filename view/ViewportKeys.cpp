#include "view/ViewportKeys.h"

#include "render/Viewport.h"

#include <QKeyEvent>
#include <QWidget>

namespace kalmor {

ViewportKeys::ViewportKeys(QWidget *surface, Viewport &viewport) : QObject(surface), m_viewport(viewport)
{
    surface->installEventFilter(this);
}

bool ViewportKeys::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    // The keys of the number pad count as the same keys.
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return pageKey(key->key() == Qt::Key_PageDown, modifiers);
    case Qt::Key_Home:
    case Qt::Key_End:
        return edgeKey(key->key() == Qt::Key_End, modifiers);
    default:
        return false;
    }
}

bool ViewportKeys::pageKey(bool forward, Qt::KeyboardModifiers modifiers)
{
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return false;
    const Qt::Orientation orientation = modifiers == Qt::ShiftModifier ? Qt::Horizontal : Qt::Vertical;
    const ScrollBarState &bar = orientation == Qt::Horizontal ? m_viewport.horizontal() : m_viewport.vertical();
    const int step = m_viewport.pageStep(orientation);
    m_viewport.scrollTo(orientation, qint64(bar.position) + (forward ? step : -step));
    return true;
}

bool ViewportKeys::edgeKey(bool toEnd, Qt::KeyboardModifiers modifiers)
{
    if (modifiers != Qt::NoModifier && modifiers != Qt::ControlModifier)
        return false;
    const auto edge = [toEnd](const ScrollBarState &bar) { return toEnd ? bar.maximum : bar.minimum; };
    m_viewport.scrollTo(Qt::Horizontal, edge(m_viewport.horizontal()));
    if (modifiers == Qt::ControlModifier)
        m_viewport.scrollTo(Qt::Vertical, edge(m_viewport.vertical()));
    return true;
}

}  // namespace kalmor
