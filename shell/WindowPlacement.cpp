#include "shell/WindowPlacement.h"

#include <QEvent>
#include <QWidget>

namespace kalmor {

WindowPlacement::WindowPlacement(QWidget *window, std::function<QRect()> area, Repeat repeat)
    : QObject(window), m_window(window), m_area(std::move(area)), m_repeat(repeat)
{
    window->installEventFilter(this);
}

bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    // The show event comes before the window is mapped, and after a
    // dialog's own centring, which guesses the frame.
    if (watched != m_window || event->type() != QEvent::Show || event->spontaneous())
        return false;
    if (m_placed && m_repeat == Repeat::FirstShowingOnly)
        return false;
    m_placed = true;
    const QRect area = m_area();
    if (area.isEmpty())
        return false;
    QRect client(QPoint(0, 0), m_window->size());
    client.moveCenter(area.center());
    // A placed window is not centred by the dialog again: later showings
    // keep where the user moved it.
    m_window->setGeometry(client);
    return false;
}

}  // namespace kalmor
