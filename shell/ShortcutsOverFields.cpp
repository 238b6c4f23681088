#include "shell/ShortcutsOverFields.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

namespace kalmor {

ShortcutsOverFields::ShortcutsOverFields(QWidget *window) : QObject(window), m_window(window)
{
    // The fields of the window come and go with its pages; watching the
    // application catches the override whichever of them has the focus.
    qApp->installEventFilter(this);
}

void ShortcutsOverFields::add(QAction *action)
{
    m_actions.append(action);
}

bool ShortcutsOverFields::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
    for (const QPointer<QAction> &action : std::as_const(m_actions)) {
        if (action && action->isEnabled() && action->shortcuts().contains(pressed)) {
            // Ignored and kept from the field: the shortcut map goes on
            // and triggers the action.
            event->ignore();
            return true;
        }
    }
    return false;
}

}  // namespace kalmor
