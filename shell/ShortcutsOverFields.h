#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

namespace kalmor {

// Lets chosen menu shortcuts of a window win over the text field that has
// the focus there: a line or spin edit takes keys such as Ctrl+Left as
// word movement before any shortcut sees them. Only the registered
// actions' key sequences are turned away from the fields; every other key
// still reaches them.
class ShortcutsOverFields : public QObject {
    Q_OBJECT
public:
    explicit ShortcutsOverFields(QWidget *window);

    // From now on the action's shortcuts win over a focused field of the
    // window (while the action is enabled).
    void add(QAction *action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QList<QPointer<QAction>> m_actions;
};

}  // namespace kalmor
