#include "view/TNahledPanelu.h"

#include "view/DrawingSurface.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>

#include <limits>

namespace kalmor {

namespace {

constexpr int CaptionPixelSize = 9;
constexpr int CaptionTop = 3;

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

}  // namespace

TNahledPanelu::TNahledPanelu(X_Plocha &surface, QWidget *parent) : QDialog(parent), m_surface(surface)
{
    setObjectName(QStringLiteral("NahledPanelu"));
    setWindowTitle(QStringLiteral("Náhled panelu"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setSizeGripEnabled(true);
    resize(928, 480);

    // Stacking from the bottom: picture, ">" panel, tool strip.
    m_zoomScreen = new QLabel(this);
    m_zoomScreen->setObjectName(QStringLiteral("ZoomScreen"));
    m_zoomScreen->setGeometry(0, 0, PictureWidth, PictureHeight);
    m_zoomScreen->setAlignment(Qt::AlignLeft | Qt::AlignTop);

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
    // Nothing reads the zoom field yet.
    auto *zoom = new QSpinBox(strip);
    zoom->setObjectName(QStringLiteral("SpinEdit1"));
    zoom->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    zoom->setValue(0);
    zoom->setGeometry(8, 16, 97, 22);
    auto *fold = new QPushButton(QStringLiteral("x"), strip);
    fold->setObjectName(QStringLiteral("Button1"));
    fold->setGeometry(120, 0, 17, 17);
    fold->setAutoDefault(false);
    connect(fold, &QPushButton::clicked, strip, &QWidget::hide);
}

void TNahledPanelu::copyFromSurface()
{
    if (m_picture.isNull()) {
        m_picture = QImage(PictureWidth, PictureHeight, QImage::Format_RGB32);
        m_picture.fill(Qt::white);
    }
    const QImage part = m_surface.copyOut(QRect(0, 0, PictureWidth, PictureHeight));
    if (!part.isNull()) {
        QPainter painter(&m_picture);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, part);
    }
    m_zoomScreen->setPixmap(QPixmap::fromImage(m_picture));
}

void TNahledPanelu::copyAndShow()
{
    copyFromSurface();
    exec();
}

}  // namespace kalmor
