#pragma once

#include <QObject>

class QWidget;

namespace kalmor {

class Viewport;

// The keys that move the view across the panel while the drawing surface
// has the focus: PageUp / PageDown by a page up or down, with Shift to the
// left or right, Home / End to the left / right edge, Ctrl+Home / Ctrl+End
// to the top-left / bottom-right corner. Only the view moves; the plain
// arrow keys are left to the editing.
class ViewportKeys : public QObject {
    Q_OBJECT
public:
    ViewportKeys(QWidget *surface, Viewport &viewport);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool pageKey(bool forward, Qt::KeyboardModifiers modifiers);
    bool edgeKey(bool toEnd, Qt::KeyboardModifiers modifiers);

    Viewport &m_viewport;
};

}  // namespace kalmor
