#include "tools/shellart/AppIcon.h"

#include <QPainter>

#include <algorithm>

namespace kalmor {

QImage drawAppIcon(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = size / 16.0;
    const auto px = [unit](double v) { return int(v * unit + 0.5); };

    // The desk: a dark frame around a light panel face.
    const QRect desk(0, px(1.5), size, size - 2 * px(1.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0x46, 0x50));
    p.drawRoundedRect(desk, unit * 1.5, unit * 1.5);
    const int border = std::max(1, px(1));
    const QRect face = desk.adjusted(border, border, -border, -border);
    p.setBrush(QColor(0xd8, 0xdc, 0xd0));
    p.drawRoundedRect(face, unit * 0.5, unit * 0.5);

    // The track along the panel and a switch leaving it to the upper right.
    const int thick = std::max(2, px(2));
    const int trackTop = face.top() + int(face.height() * 0.62);
    const QColor track(0x10, 0x10, 0x10);
    p.fillRect(QRect(face.left() + px(1), trackTop, face.width() - 2 * px(1), thick), track);
    QPen branch(track, thick, Qt::SolidLine, Qt::FlatCap);
    p.setPen(branch);
    const QPointF from(face.left() + face.width() * 0.36, trackTop + thick / 2.0);
    const QPointF to(face.right() + 1 - px(1.2), face.top() + px(1.6));
    p.drawLine(from, to);

    // The lamp above the track.
    const double radius = std::max(1.6, unit * 1.7);
    const QPointF lamp(face.left() + px(1.2) + radius, face.top() + px(1.0) + radius);
    p.setPen(size >= 32 ? QPen(QColor(0x10, 0x30, 0x10), unit * 0.35) : QPen(Qt::NoPen));
    p.setBrush(QColor(0x20, 0xd0, 0x40));
    p.drawEllipse(lamp, radius, radius);
    return icon;
}

}  // namespace kalmor
