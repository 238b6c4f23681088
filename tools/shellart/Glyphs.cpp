#include "tools/shellart/Glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace kalmor {

namespace {

constexpr int Side = 16;

QImage blankImage()
{
    QImage img(Side, Side, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

QImage blankSheet()
{
    QImage img = blankImage();
    QPainter p(&img);
    QPolygon sheet;
    sheet << QPoint(3, 1) << QPoint(10, 1) << QPoint(13, 4) << QPoint(13, 14) << QPoint(3, 14);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(Qt::white);
    p.drawPolygon(sheet);
    // The folded corner.
    QPolygon fold;
    fold << QPoint(10, 1) << QPoint(10, 4) << QPoint(13, 4);
    p.setBrush(QColor(192, 192, 192));
    p.drawPolygon(fold);
    return img;
}

void drawFloppy(QPainter &p, const QRect &r)
{
    const QColor body(24, 48, 128);
    p.setPen(QColor(0, 0, 48));
    p.setBrush(body);
    QPolygon outline;
    outline << r.topLeft() << QPoint(r.right() - 1, r.top()) << QPoint(r.right(), r.top() + 1)
            << r.bottomRight() << r.bottomLeft();
    p.drawPolygon(outline);
    // Metal shutter at the top with its window.
    const int w = r.width();
    const QRect shutter(r.left() + w / 4, r.top(), w / 2, r.height() * 3 / 8);
    p.setPen(QColor(96, 96, 96));
    p.setBrush(QColor(200, 200, 208));
    p.drawRect(shutter);
    p.fillRect(QRect(shutter.right() - shutter.width() / 3, shutter.top() + 1, 1 + shutter.width() / 6,
                     shutter.height() - 1),
               body);
    // White label at the bottom.
    const QRect label(r.left() + 2, r.top() + r.height() / 2 + 1, w - 5, r.height() / 2 - 2);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(label);
    p.setPen(QColor(160, 160, 200));
    if (label.height() > 3)
        p.drawLine(label.left() + 1, label.top() + 2, label.right() - 1, label.top() + 2);
}

QImage floppy()
{
    QImage img = blankImage();
    QPainter p(&img);
    drawFloppy(p, QRect(1, 1, 14, 14));
    return img;
}

QImage twoFloppies()
{
    QImage img = blankImage();
    QPainter p(&img);
    drawFloppy(p, QRect(0, 0, 10, 10));
    drawFloppy(p, QRect(5, 5, 10, 10));
    return img;
}

QImage openFolder()
{
    QImage img = blankImage();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor edge(128, 96, 0);
    // Back of the folder with its tab.
    QPolygon back;
    back << QPoint(1, 3) << QPoint(5, 3) << QPoint(6, 4) << QPoint(12, 4) << QPoint(12, 13) << QPoint(1, 13);
    p.setPen(edge);
    p.setBrush(QColor(224, 176, 32));
    p.drawPolygon(back);
    // A sheet sticking out.
    p.setBrush(Qt::white);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(3, 5, 8, 5);
    // The open front flap, lighter and tilted.
    QPolygon front;
    front << QPoint(3, 7) << QPoint(15, 7) << QPoint(12, 13) << QPoint(1, 13);
    p.setPen(edge);
    p.setBrush(QColor(255, 224, 96));
    p.drawPolygon(front);
    return img;
}

QImage greenArrowLeft()
{
    QImage img = blankImage();
    QPainter p(&img);
    QPolygon arrow;
    arrow << QPoint(1, 8) << QPoint(7, 2) << QPoint(7, 5) << QPoint(14, 5) << QPoint(14, 11)
          << QPoint(7, 11) << QPoint(7, 14);
    p.setPen(QColor(0, 96, 0));
    p.setBrush(QColor(32, 176, 32));
    p.drawPolygon(arrow);
    p.setPen(QColor(144, 232, 144));
    p.drawLine(8, 6, 13, 6);
    return img;
}

// The arrow of "Zpět", turned to point right.
QImage greenArrowRight()
{
    return greenArrowLeft().mirrored(true, false);
}

QImage anchor()
{
    QImage img = blankImage();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor ink(16, 16, 64);
    QPen pen(ink, 1.6);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 2.5), 1.7, 1.7);  // ring
    p.drawLine(QPointF(8, 4.3), QPointF(8, 14));  // shank
    p.drawLine(QPointF(4.5, 6.5), QPointF(11.5, 6.5));  // stock
    QPainterPath arms;
    arms.moveTo(2.5, 10);
    arms.quadTo(3.5, 14.2, 8, 14.2);
    arms.quadTo(12.5, 14.2, 13.5, 10);
    p.drawPath(arms);
    // Flukes.
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    QPolygonF left;
    left << QPointF(1.2, 11.2) << QPointF(2.6, 8.4) << QPointF(4.4, 10.6);
    QPolygonF right;
    right << QPointF(14.8, 11.2) << QPointF(13.4, 8.4) << QPointF(11.6, 10.6);
    p.drawPolygon(left);
    p.drawPolygon(right);
    return img;
}

}  // namespace

std::vector<Glyph> drawGlyphs()
{
    return {
        {QStringLiteral("new.png"), blankSheet()},
        {QStringLiteral("save.png"), floppy()},
        {QStringLiteral("saveas.png"), twoFloppies()},
        {QStringLiteral("open.png"), openFolder()},
        {QStringLiteral("undo.png"), greenArrowLeft()},
        {QStringLiteral("redo.png"), greenArrowRight()},
        {QStringLiteral("anchor.png"), anchor()},
    };
}

}  // namespace kalmor
