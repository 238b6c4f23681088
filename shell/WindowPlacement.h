#pragma once

#include <QObject>
#include <QRect>

#include <functional>

class QWidget;

namespace kalmor {

// Centres a window's client area over an area each time the window is
// shown by the program, or only the first time, after which it stays
// where the user leaves it. The size of a window's frame is known only
// once it has been shown, so the client area is placed, not the frame:
// the first showing lands where the later ones do.
class WindowPlacement : public QObject {
    Q_OBJECT
public:
    enum class Repeat { EveryShowing, FirstShowingOnly };

    // area: where to centre, asked at every showing (in global coordinates).
    WindowPlacement(QWidget *window, std::function<QRect()> area, Repeat repeat);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    std::function<QRect()> m_area;
    Repeat m_repeat;
    bool m_placed = false;
};

}  // namespace kalmor
