#include "view/ToolWindow.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>
#include <QWidget>

#include <algorithm>

namespace kalmor {

namespace {

// Before a window has been shown its frame is unknown: room for a usual
// title bar and border is kept.
constexpr QMargins GuessedFrame(4, 28, 4, 4);

}  // namespace

ToolWindow *ToolWindow::attach(QWidget *window, QWidget *panel)
{
    return new ToolWindow(window, panel);
}

ToolWindow::ToolWindow(QWidget *window, QWidget *panel) : QObject(window), m_window(window), m_panel(panel)
{
    window->installEventFilter(this);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setObjectName(QStringLiteral("ZavritEsc"));
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, window, &QWidget::close);
    // The main window's shortcuts also work in its tool windows; a list
    // or table there keeps Ctrl+A for its own rows, so "Vybrat vše" does
    // not select the panel behind it.
    const auto views = window->findChildren<QAbstractItemView *>();
    for (QAbstractItemView *view : views)
        view->installEventFilter(this);
}

QRect ToolWindow::firstPlace(QSize size, QMargins frame, const QRect &panel, const QRect &screen)
{
    // The client area's top-left corner so that the whole frame stands
    // inside the panel at its top right, as far as the panel is wide and
    // the screen is high.
    QRect client(QPoint(0, 0), size);
    const int right = panel.right() - Margin - frame.right();
    client.moveTopLeft(QPoint(std::max(panel.left() + Margin + frame.left(), right - size.width() + 1),
                              panel.top() + Margin + frame.top()));
    if (!screen.isEmpty()) {
        const int lowest = screen.bottom() - frame.bottom() - size.height() + 1;
        client.moveTop(std::max(screen.top() + frame.top(), std::min(client.top(), lowest)));
        client.moveLeft(std::max(screen.left() + frame.left(), client.left()));
    }
    return client;
}

void ToolWindow::place()
{
    if (m_lastPlace) {
        m_window->setGeometry(*m_lastPlace);
        return;
    }
    if (!m_panel || !m_panel->isVisible())
        return;
    const QRect panel(m_panel->mapToGlobal(QPoint(0, 0)), m_panel->size());
    const QRect screen = m_panel->screen() ? m_panel->screen()->availableGeometry() : QRect();
    QRect place = firstPlace(m_window->size(), GuessedFrame, panel, screen);
    // A second tool window opened beside the panel steps down a title
    // bar's height rather than hiding the first one's title bar.
    const QWidget *owner = m_window->parentWidget();
    const auto takenBySibling = [&] {
        const auto siblings = owner ? owner->findChildren<QWidget *>(Qt::FindDirectChildrenOnly) : QList<QWidget *>();
        return std::any_of(siblings.begin(), siblings.end(), [&](const QWidget *w) {
            return w != m_window && w->isWindow() && w->isVisible() && w->geometry().top() == place.top()
                && w->geometry().intersects(place);
        });
    };
    for (int step = 0; step < 10 && takenBySibling(); ++step)
        place.translate(0, GuessedFrame.top());
    m_window->setGeometry(place);
}

bool ToolWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *view = qobject_cast<QAbstractItemView *>(watched);
        const bool many = view && (view->selectionMode() == QAbstractItemView::ExtendedSelection
                                   || view->selectionMode() == QAbstractItemView::MultiSelection);
        if (many && static_cast<QKeyEvent *>(event)->matches(QKeySequence::SelectAll)) {
            event->accept();
            return true;
        }
        return false;
    }
    if (watched != m_window || event->spontaneous())
        return false;
    // The show event comes before the window is mapped; the hide event
    // while its place is still known.
    if (event->type() == QEvent::Show)
        place();
    else if (event->type() == QEvent::Hide)
        m_lastPlace = m_window->geometry();
    return false;
}

}  // namespace kalmor
