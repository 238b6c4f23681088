#include "editing/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTransform>

namespace kalmor {

QIcon arrowGlyph(ArrowDirection direction)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn pointing right, then turned: a shaft and a triangular head.
    QPainterPath arrow;
    arrow.addRect(1, 4.5, 5, 3);
    arrow.moveTo(5.5, 1);
    arrow.lineTo(11, 6);
    arrow.lineTo(5.5, 11);
    arrow.closeSubpath();
    int angle = 0;
    switch (direction) {
    case ArrowDirection::Right:
        angle = 0;
        break;
    case ArrowDirection::Down:
        angle = 90;
        break;
    case ArrowDirection::Left:
        angle = 180;
        break;
    case ArrowDirection::Up:
        angle = 270;
        break;
    }
    QTransform turn;
    turn.translate(6, 6);
    turn.rotate(angle);
    turn.translate(-6, -6);
    p.setPen(QPen(QColor(0, 96, 0), 1));
    p.setBrush(QColor(0, 176, 0));
    p.drawPath(turn.map(arrow.simplified()));
    return QIcon(pixmap);
}

}  // namespace kalmor
