#include "render/WorkArea.h"

#include "render/DrawingSurface.h"
#include "render/Viewport.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>

namespace kalmor {

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

    m_horizontal = new QScrollBar(Qt::Horizontal, this);
    m_horizontal->setObjectName(QStringLiteral("SB_Vodorovny"));
    m_vertical = new QScrollBar(Qt::Vertical, this);
    m_vertical->setObjectName(QStringLiteral("SB_Svisly"));
    for (QScrollBar *bar : {m_horizontal, m_vertical}) {
        bar->setSingleStep(1);
        bar->setPageStep(1);
    }
    mirrorScrollBars();

    connect(&viewport, &Viewport::scrollBarsChanged, this, &WorkArea::mirrorScrollBars);
    connect(m_horizontal, &QScrollBar::valueChanged, &viewport, &Viewport::setHorizontalPosition);
    connect(m_vertical, &QScrollBar::valueChanged, &viewport, &Viewport::setVerticalPosition);
    layOut();
}

void WorkArea::mirrorScrollBars()
{
    const auto mirror = [](QScrollBar *bar, const ScrollBarState &state) {
        const QSignalBlocker block(bar);
        bar->setRange(state.minimum, state.maximum);
        bar->setValue(state.position);
        bar->setEnabled(state.enabled);
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
