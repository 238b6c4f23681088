#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

#include <optional>

class QWidget;

namespace kalmor {

// Makes a window one of the editor's tool windows ("Kontrola panelu" and
// the other windows that stay open beside the panel): the first showing
// puts it at the top right of the panel's visible area, below the menus
// and tool bars, so it covers neither them nor the panel's top-left part
// where work usually starts; every later showing puts it back where the
// user last had it, a second one steps down so that both title bars show;
// Esc closes it, and Ctrl+A in its lists selects their rows.
class ToolWindow : public QObject {
    Q_OBJECT
public:
    // Room kept between the window and the panel's edges.
    static constexpr int Margin = 8;

    // panel: the widget the window stands beside (the work area's P_Plocha).
    // The helper belongs to the window and ends with it.
    static ToolWindow *attach(QWidget *window, QWidget *panel);

    // Where the window goes at its first showing, for a client area of
    // `size`, a frame that adds `frame` around it, the panel at `panel`
    // and the screen's free area `screen` (all global coordinates).
    static QRect firstPlace(QSize size, QMargins frame, const QRect &panel, const QRect &screen);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ToolWindow(QWidget *window, QWidget *panel);
    void place();

    QWidget *m_window;
    QPointer<QWidget> m_panel;
    std::optional<QRect> m_lastPlace;
};

}  // namespace kalmor
