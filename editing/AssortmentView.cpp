#include "editing/AssortmentView.h"

#include "editing/ElementPictures.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>

namespace kalmor {

AssortmentImage::AssortmentImage(const QString &kind, QWidget *parent) : QLabel(parent)
{
    setObjectName(kind);
    setFixedSize(ImageSize, ImageSize);
    // Track and label pictures fill the control; the smaller lamps stand centred.
    setAlignment(Qt::AlignCenter);
    setPixmap(elementPixmap(kind));
}

void AssortmentImage::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void AssortmentImage::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a left press and release both on the image.
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked(this);
}

SelectionFrame::SelectionFrame(const QString &objectName, QWidget *parent) : QWidget(parent)
{
    setObjectName(objectName);
    setFixedSize(FrameSize, FrameSize);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void SelectionFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QPen pen(QColor(0, 128, 255));
    pen.setWidth(FramePen);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // The pen is centred on the path, so the path runs half a pen inside
    // the bounds and the whole outline stays within 55 x 55.
    const qreal half = FramePen / 2.0;
    p.drawRect(QRectF(half, half, FrameSize - FramePen, FrameSize - FramePen));
}

AssortmentView::AssortmentView(Layout layout, QWidget *parent) : QTabWidget(parent), m_layout(layout)
{
    setObjectName(QStringLiteral("PC_Sortiment"));
    m_quiet = true;
    for (const AssortmentPage &page : pages())
        buildPage(page);
    m_quiet = false;
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (!m_quiet)
            emit pageChangedByUser(index);
    });
}

std::span<const AssortmentPage> AssortmentView::pages() const
{
    return m_layout == Layout::Main ? mainPages() : palettePages();
}

void AssortmentView::buildPage(const AssortmentPage &page)
{
    auto *sheet = new QWidget(this);
    sheet->setObjectName(QLatin1StringView(page.objectName));
    for (const KindInfo *kind : page.kinds) {
        auto *image = new AssortmentImage(QLatin1StringView(kind->name), sheet);
        image->move(m_layout == Layout::Main ? mainImagePosition(*kind) : paletteImagePosition(*kind));
        connect(image, &AssortmentImage::clicked, this, &AssortmentView::imageClicked);
        m_images.push_back(image);
    }
    SelectionFrame *frame = nullptr;
    if (page.frameName && !page.kinds.empty()) {
        frame = new SelectionFrame(QLatin1StringView(page.frameName), sheet);
        const QLabel *first = image(QLatin1StringView(page.firstKind));
        frame->move(first->pos() - QPoint(FrameInset, FrameInset));
        frame->raise();
        m_frames.push_back(frame);
    }
    m_pageFrames.push_back(frame);
    const int index = addTab(sheet, page.caption);
    setTabToolTip(index, page.caption);
}

AssortmentImage *AssortmentView::image(const QString &kind) const
{
    for (AssortmentImage *image : m_images) {
        if (image->objectName() == kind)
            return image;
    }
    return nullptr;
}

SelectionFrame *AssortmentView::frameOfPage(int index) const
{
    if (index < 0 || std::size_t(index) >= m_pageFrames.size())
        return nullptr;
    return m_pageFrames[std::size_t(index)];
}

void AssortmentView::bringToFront(int index)
{
    m_quiet = true;
    setCurrentIndex(index);
    m_quiet = false;
}

void AssortmentView::bringToFront(QStringView pageObjectName)
{
    for (int i = 0; i < count(); ++i) {
        if (widget(i)->objectName() == pageObjectName) {
            bringToFront(i);
            return;
        }
    }
}

}  // namespace kalmor
