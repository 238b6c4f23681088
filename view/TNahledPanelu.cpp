#include "view/TNahledPanelu.h"

#include "render/PanelOverview.h"
#include "render/Viewport.h"
#include "view/DrawingSurface.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace kalmor {

namespace {

constexpr int CaptionPixelSize = 9;
constexpr int CaptionTop = 3;
// Below this many picture pixels a cell, the grid would cover the panel.
constexpr double GridFromPixels = 4.0;

// The ">" panel under the tool strip: a click brings the strip back.
class ClickPanel : public QFrame {
public:
    ClickPanel(const QString &caption, QWidget *parent, std::function<void()> onClick)
        : QFrame(parent), m_onClick(std::move(onClick))
    {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        // Covers the picture's corner rather than outlining it.
        setAutoFillBackground(true);
        auto *text = new QLabel(caption, this);
        text->setAlignment(Qt::AlignCenter);
        text->setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(17, 41);
        text->setGeometry(rect());
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_onClick();
    }

private:
    std::function<void()> m_onClick;
};

// The picture; a left click reports the point clicked.
class PictureLabel : public QLabel {
public:
    PictureLabel(QWidget *parent, std::function<void(QPoint)> onClick)
        : QLabel(parent), m_onClick(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_onClick(event->position().toPoint());
    }

private:
    std::function<void(QPoint)> m_onClick;
};

}  // namespace

TNahledPanelu::TNahledPanelu(X_Plocha &surface, QWidget *parent) : QDialog(parent), m_surface(surface)
{
    setObjectName(QStringLiteral("NahledPanelu"));
    setWindowTitle(QStringLiteral("Náhled panelu"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setSizeGripEnabled(true);
    resize(928, 480);

    // Stacking from the bottom: picture, ">" panel, tool strip.
    m_area = new QScrollArea(this);
    m_area->setObjectName(QStringLiteral("P_ZoomScreen"));
    m_area->setAlignment(Qt::AlignCenter);
    m_area->setBackgroundRole(QPalette::Dark);
    m_zoomScreen = new PictureLabel(m_area, [this](QPoint at) { pictureClicked(at); });
    m_zoomScreen->setObjectName(QStringLiteral("ZoomScreen"));
    m_area->setWidget(m_zoomScreen);

    auto *unfold = new ClickPanel(QStringLiteral(">"), this, [this] { m_toolStrip->show(); });
    unfold->setObjectName(QStringLiteral("Panel2"));
    unfold->move(0, 0);

    auto *strip = new QFrame(this);
    m_toolStrip = strip;
    strip->setObjectName(QStringLiteral("Panel1"));
    strip->setFrameStyle(QFrame::Panel | QFrame::Raised);
    strip->setAutoFillBackground(true);
    strip->setGeometry(0, 0, 137, 41);
    auto *caption = new QLabel(QStringLiteral("Zvětšení/zmenšení"), strip);
    caption->setObjectName(QStringLiteral("Label1"));
    // The strip was laid out for a face whose caption fits the 12 pixels
    // above the field; the faces standing in for it are taller, so the
    // caption takes a size that keeps it clear of the field.
    QFont captionFont = caption->font();
    captionFont.setPixelSize(CaptionPixelSize);
    caption->setFont(captionFont);
    caption->move(8, CaptionTop);
    caption->adjustSize();
    m_zoom = new QSpinBox(strip);
    m_zoom->setObjectName(QStringLiteral("SpinEdit1"));
    m_zoom->setRange(0, MaxZoomPercent);
    m_zoom->setSuffix(QStringLiteral(" %"));
    m_zoom->setSpecialValueText(QStringLiteral("celý panel"));
    m_zoom->setToolTip(QStringLiteral("Měřítko v procentech pracovní plochy; 0 = celý panel v okně"));
    m_zoom->setValue(0);
    m_zoom->setGeometry(8, 16, 97, 22);
    auto *fold = new QPushButton(QStringLiteral("x"), strip);
    fold->setObjectName(QStringLiteral("Button1"));
    fold->setGeometry(120, 0, 17, 17);
    fold->setAutoDefault(false);
    connect(fold, &QPushButton::clicked, strip, &QWidget::hide);

    m_area->setGeometry(rect());

    // Typing and resizing come in bursts: the picture is made once after.
    m_recompose = new QTimer(this);
    m_recompose->setSingleShot(true);
    m_recompose->setInterval(0);
    connect(m_recompose, &QTimer::timeout, this, &TNahledPanelu::composePicture);
    connect(m_zoom, &QSpinBox::valueChanged, m_recompose, qOverload<>(&QTimer::start));
}

double TNahledPanelu::scaleFor(QSize surface) const
{
    double scale = m_zoom->value() / 100.0;
    if (scale <= 0) {
        const QSize room = m_area->maximumViewportSize();
        scale = std::min(double(room.width()) / surface.width(), double(room.height()) / surface.height());
    }
    // Held to the picture's budget of pixels.
    const double pixels = double(surface.width()) * surface.height() * scale * scale;
    if (pixels > double(MaxPicturePixels))
        scale *= std::sqrt(double(MaxPicturePixels) / pixels);
    return scale;
}

void TNahledPanelu::composePicture()
{
    const Viewport &viewport = m_surface.viewport();
    const QRect cells(0, 0, viewport.appliedColumns(), viewport.appliedRows());
    const int cell = viewport.cellSize();
    const QSize surface(int(std::min<qint64>(qint64(cells.width()) * cell, Viewport::MaxSurfaceExtent)),
                        int(std::min<qint64>(qint64(cells.height()) * cell, Viewport::MaxSurfaceExtent)));
    m_scale = scaleFor(surface);
    const double pixelsPerCell = m_scale * cell;
    const RenderState &state = m_surface.renderState();
    const PictureOptions options = wholePanel(cells.width(), cells.height(), cell,
                                              state.switches.grid && pixelsPerCell >= GridFromPixels,
                                              state.fillColour);
    m_picture = composeOverview(m_surface.document().data(), m_surface.images(), options,
                                overviewSize(cells, pixelsPerCell));
    m_zoomScreen->setPixmap(QPixmap::fromImage(m_picture));
    m_zoomScreen->resize(m_picture.size());
}

void TNahledPanelu::copyAndShow()
{
    composePicture();
    exec();
}

void TNahledPanelu::pictureClicked(QPoint at)
{
    Viewport &viewport = m_surface.viewport();
    accept();
    viewport.centreOn(qint64(std::floor(at.x() / m_scale)), qint64(std::floor(at.y() / m_scale)));
}

void TNahledPanelu::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_area->setGeometry(rect());
    if (isVisible() && m_zoom->value() == 0)
        m_recompose->start();
}

}  // namespace kalmor
