#pragma once

#include <QFrame>

class QScrollBar;

namespace kalmor {

class ImageSet;
class StationDocument;
class Viewport;
class X_Plocha;

// The work area P_PodkladPlochy: the clipping panel P_Plocha (grey) holding
// the drawing surface X_Plocha, the horizontal scroll bar SB_Vodorovny
// along the bottom and the vertical SB_Svisly along the right, both 17
// pixels thick. The scroll bars mirror the viewport; a resize runs the
// scroll bar adjustment with P_Plocha's size. An arrow click moves the view
// by a cell, a trough click by the viewport's page, and the view keys work
// while the surface has the focus (ViewportKeys).
class WorkArea : public QFrame {
    Q_OBJECT
public:
    static constexpr int ScrollBarThickness = 17;

    WorkArea(const StationDocument &doc, const ImageSet &images, Viewport &viewport,
             QWidget *parent = nullptr);

    X_Plocha *surface() const { return m_surface; }
    QWidget *clipPanel() const { return m_clip; }
    QScrollBar *horizontalBar() const { return m_horizontal; }
    QScrollBar *verticalBar() const { return m_vertical; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layOut();
    void mirrorScrollBars();

    Viewport &m_viewport;
    QWidget *m_clip = nullptr;
    X_Plocha *m_surface = nullptr;
    QScrollBar *m_horizontal = nullptr;
    QScrollBar *m_vertical = nullptr;
};

}  // namespace kalmor
