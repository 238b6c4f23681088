#include "shell/PanelFocus.h"

#include "document/DocumentLifecycle.h"
#include "view/DrawingSurface.h"
#include "view/WorkArea.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <QTimer>

namespace kalmor {

PanelFocus::PanelFocus(QWidget *mainWindow, WorkArea *workArea, const DocumentLifecycle &lifecycle)
    : QObject(mainWindow), m_main(mainWindow), m_surface(workArea->surface())
{
    // Every window's hide event passes here; only a type is compared.
    qApp->installEventFilter(this);
    connect(&lifecycle, &DocumentLifecycle::stationReplaced, this, &PanelFocus::focusPanel);
    for (QScrollBar *bar : {workArea->horizontalBar(), workArea->verticalBar()}) {
        bar->setFocusPolicy(Qt::NoFocus);
        connect(bar, &QAbstractSlider::sliderPressed, this, &PanelFocus::focusPanel);
        connect(bar, &QAbstractSlider::actionTriggered, this, &PanelFocus::focusPanel);
    }
}

void PanelFocus::focusPanel()
{
    if (!m_surface || QApplication::activeModalWidget())
        return;
    m_surface->setFocus(Qt::OtherFocusReason);
}

bool PanelFocus::isOwnWindow(const QWidget *window) const
{
    if (window == m_main || !window->isWindow() || !window->parentWidget())
        return false;
    const Qt::WindowType type = window->windowType();
    return (type == Qt::Dialog || type == Qt::Tool || type == Qt::Sheet || type == Qt::Window)
        && window->parentWidget()->window() == m_main;
}

bool PanelFocus::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Hide && type != QEvent::Show) || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (type == QEvent::Show && widget == m_main && !event->spontaneous()) {
        focusPanel();
    } else if (type == QEvent::Hide && isOwnWindow(widget)) {
        // Once the window system has given the main window back.
        QTimer::singleShot(0, this, &PanelFocus::focusPanel);
    }
    return false;
}

}  // namespace kalmor
