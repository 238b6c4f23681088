#include "view/WorkArea.h"

#include "view/DrawingSurface.h"
#include "render/Viewport.h"
#include "view/ViewportKeys.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace kalmor {

namespace {

// A scroll bar of the work area. Its page size stays 0, so its thumb keeps
// the style's smallest length, but a trough click moves the view by the
// viewport's page and a wheel notch by three lines of a cell each.
class ViewportScrollBar : public QScrollBar {
public:
    ViewportScrollBar(Qt::Orientation orientation, const Viewport &viewport, QWidget *parent)
        : QScrollBar(orientation, parent), m_viewport(viewport)
    {
        setPageStep(1);
        connect(this, &QAbstractSlider::actionTriggered, this, &ViewportScrollBar::stepTaken);
    }

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        // A notch moves at most a page of the bar: for the notch, its page
        // is the viewport's.
        setPageStep(page());
        QScrollBar::wheelEvent(event);
        setPageStep(1);
    }

private:
    int page() const { return m_viewport.pageStep(orientation()); }

    // The bar has taken a step of its page size and not yet reported the
    // new value, so the step can still be set to the viewport's page.
    void stepTaken(int action)
    {
        if (action == SliderPageStepAdd)
            setSliderPosition(value() + page());
        else if (action == SliderPageStepSub)
            setSliderPosition(value() - page());
    }

    const Viewport &m_viewport;
};

}  // namespace

WorkArea::WorkArea(const StationDocument &doc, const ImageSet &images, Viewport &viewport, QWidget *parent)
    : QFrame(parent), m_viewport(viewport)
{
    setObjectName(QStringLiteral("P_PodkladPlochy"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);

    m_clip = new QWidget(this);
    m_clip->setObjectName(QStringLiteral("P_Plocha"));
    m_clip->setAutoFillBackground(true);
    QPalette grey = m_clip->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    m_clip->setPalette(grey);

    m_surface = new X_Plocha(doc, images, viewport, m_clip);
    new ViewportKeys(m_surface, viewport);

    m_horizontal = new ViewportScrollBar(Qt::Horizontal, viewport, this);
    m_horizontal->setObjectName(QStringLiteral("SB_Vodorovny"));
    m_vertical = new ViewportScrollBar(Qt::Vertical, viewport, this);
    m_vertical->setObjectName(QStringLiteral("SB_Svisly"));
    mirrorScrollBars();

    connect(&viewport, &Viewport::scrollBarsChanged, this, &WorkArea::mirrorScrollBars);
    connect(&viewport, &Viewport::cellSizeChanged, this, &WorkArea::mirrorScrollBars);
    connect(m_horizontal, &QScrollBar::valueChanged, &viewport, &Viewport::setHorizontalPosition);
    connect(m_vertical, &QScrollBar::valueChanged, &viewport, &Viewport::setVerticalPosition);
    layOut();
}

void WorkArea::mirrorScrollBars()
{
    // An arrow click, and each of the lines a wheel notch scrolls, moves
    // by one cell.
    const int cell = m_viewport.cellSize();
    const auto mirror = [cell](QScrollBar *bar, const ScrollBarState &state) {
        const QSignalBlocker block(bar);
        bar->setRange(state.minimum, state.maximum);
        bar->setValue(state.position);
        bar->setEnabled(state.enabled);
        bar->setSingleStep(cell);
    };
    mirror(m_horizontal, m_viewport.horizontal());
    mirror(m_vertical, m_viewport.vertical());
}

void WorkArea::layOut()
{
    const QRect inner = contentsRect();
    const int t = ScrollBarThickness;
    const int width = std::max(0, inner.width() - t);
    const int height = std::max(0, inner.height() - t);
    m_clip->setGeometry(inner.left(), inner.top(), width, height);
    m_horizontal->setGeometry(inner.left(), inner.top() + height, width, t);
    m_vertical->setGeometry(inner.left() + width, inner.top(), t, height);
}

void WorkArea::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layOut();
    m_viewport.adjustScrollBars(m_clip->size());
}

}  // namespace kalmor
