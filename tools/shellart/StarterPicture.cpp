#include "tools/shellart/StarterPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <random>

namespace kalmor {

namespace {

constexpr int Width = 377;
constexpr int Height = 254;

// The panel is drawn flat on a mosaic of square tiles, then photographed:
// seen slightly from below and left, with lens fall-off, blur and grain.
constexpr int Tile = 22;
constexpr int Columns = 30;
constexpr int Rows = 16;
constexpr int FlatWidth = Columns * Tile;
constexpr int FlatHeight = Rows * Tile;

QPointF cell(double column, double row)
{
    return QPointF(column * Tile + Tile / 2.0, row * Tile + Tile / 2.0);
}

void drawMosaic(QPainter &p, std::mt19937 &rng)
{
    std::uniform_int_distribution<int> shade(-7, 7);
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            const int g = 92 + shade(rng);
            p.fillRect(QRect(c * Tile, r * Tile, Tile, Tile), QColor(g, g, g));
        }
    }
    p.setPen(QPen(QColor(52, 52, 52), 1.2));
    for (int c = 0; c <= Columns; ++c)
        p.drawLine(QPointF(c * Tile, 0), QPointF(c * Tile, FlatHeight));
    for (int r = 0; r <= Rows; ++r)
        p.drawLine(QPointF(0, r * Tile), QPointF(FlatWidth, r * Tile));
}

// Track is a white strip with black gaps where a track circuit ends.
void drawTrack(QPainter &p, QPointF a, QPointF b)
{
    QPen pen(QColor(236, 236, 236), 5.0, Qt::SolidLine, Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(a, b);
}

void drawGap(QPainter &p, QPointF at, bool vertical)
{
    p.setPen(QPen(QColor(24, 24, 24), 2.0));
    if (vertical)
        p.drawLine(at + QPointF(0, -4), at + QPointF(0, 4));
    else
        p.drawLine(at + QPointF(-4, 0), at + QPointF(4, 0));
}

void drawTrackDiagram(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    // Main line through the station and two station tracks on either side.
    drawTrack(p, cell(0, 8), cell(29, 8));
    drawTrack(p, cell(6, 8), cell(9, 5));
    drawTrack(p, cell(9, 5), cell(20, 5));
    drawTrack(p, cell(20, 5), cell(23, 8));
    drawTrack(p, cell(7, 8), cell(10, 11));
    drawTrack(p, cell(10, 11), cell(19, 11));
    drawTrack(p, cell(19, 11), cell(22, 8));
    // A siding with a buffer stop.
    drawTrack(p, cell(12, 11), cell(14, 13));
    drawTrack(p, cell(14, 13), cell(18, 13));
    p.setPen(QPen(QColor(236, 236, 236), 5.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(cell(18, 13) + QPointF(0, -6), cell(18, 13) + QPointF(0, 6));
    for (double c : {3.0, 12.0, 17.0, 26.0})
        drawGap(p, cell(c, 8) + QPointF(Tile / 2.0, 0), true);
    for (double c : {11.0, 18.0})
        drawGap(p, cell(c, 5) + QPointF(Tile / 2.0, 0), true);
    drawGap(p, cell(14, 11) + QPointF(Tile / 2.0, 0), true);
}

void drawLamp(QPainter &p, QPointF at, bool lit)
{
    p.setPen(QPen(QColor(20, 20, 20), 1.5));
    if (lit) {
        QRadialGradient glow(at, 7);
        glow.setColorAt(0.0, QColor(255, 255, 255));
        glow.setColorAt(0.6, QColor(214, 214, 214));
        glow.setColorAt(1.0, QColor(120, 120, 120));
        p.setBrush(glow);
    } else {
        p.setBrush(QColor(58, 58, 58));
    }
    p.drawEllipse(at, 5.5, 5.5);
}

void drawLamps(QPainter &p)
{
    // Signals at the station ends and on the station tracks.
    const QPointF up(0, -Tile * 0.62);
    const QPointF down(0, Tile * 0.62);
    drawLamp(p, cell(2, 8) + up, true);
    drawLamp(p, cell(3, 8) + up, false);
    drawLamp(p, cell(26, 8) + down, true);
    drawLamp(p, cell(27, 8) + down, false);
    drawLamp(p, cell(10, 5) + up, false);
    drawLamp(p, cell(19, 5) + up, true);
    drawLamp(p, cell(11, 11) + down, true);
    drawLamp(p, cell(18, 11) + down, false);
    drawLamp(p, cell(14, 8) + up, false);
    drawLamp(p, cell(15, 8) + up, true);
}

void drawPlate(QPainter &p, QPointF centre, const QString &text)
{
    const QRectF r(centre.x() - 12, centre.y() - 6, 24, 12);
    p.setPen(QPen(QColor(30, 30, 30), 1.0));
    p.setBrush(QColor(218, 218, 218));
    p.drawRect(r);
    QFont f;
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(20, 20, 20));
    p.drawText(r, Qt::AlignCenter, text);
}

void drawPlates(QPainter &p)
{
    drawPlate(p, cell(1.5, 6.6), QStringLiteral("L"));
    drawPlate(p, cell(27.5, 9.4), QStringLiteral("S"));
    drawPlate(p, cell(14.5, 4.0), QStringLiteral("3"));
    drawPlate(p, cell(14.5, 7.0), QStringLiteral("1"));
    drawPlate(p, cell(14.5, 10.0), QStringLiteral("2"));
    drawPlate(p, cell(16.0, 14.0), QStringLiteral("4"));
    drawPlate(p, cell(7.0, 9.5), QStringLiteral("1"));
    drawPlate(p, cell(22.0, 9.5), QStringLiteral("2"));
}

void drawButton(QPainter &p, QPointF at)
{
    QRadialGradient cap(at + QPointF(-2, -2), 8);
    cap.setColorAt(0.0, QColor(200, 200, 200));
    cap.setColorAt(0.5, QColor(110, 110, 110));
    cap.setColorAt(1.0, QColor(40, 40, 40));
    p.setPen(QPen(QColor(16, 16, 16), 1.5));
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(at, 8.0, 8.0);
    p.setPen(Qt::NoPen);
    p.setBrush(cap);
    p.drawEllipse(at, 6.0, 6.0);
}

void drawButtons(QPainter &p)
{
    for (int c = 2; c < Columns - 1; c += 3)
        drawButton(p, cell(c, 15));
    drawButton(p, cell(5, 2));
    drawButton(p, cell(24, 2));
}

QImage drawFlatPanel()
{
    QImage flat(FlatWidth, FlatHeight, QImage::Format_RGB32);
    std::mt19937 rng(1407);
    QPainter p(&flat);
    drawMosaic(p, rng);
    drawTrackDiagram(p);
    drawLamps(p);
    drawPlates(p);
    drawButtons(p);
    return flat;
}

// Grey level, lens fall-off and grain; the result has no colour at all.
QImage develop(const QImage &photo)
{
    QImage out(Width, Height, QImage::Format_RGB32);
    std::mt19937 rng(2014);
    std::normal_distribution<double> grain(0.0, 7.0);
    const double cx = Width / 2.0;
    const double cy = Height / 2.0;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const double g = qGray(photo.pixel(x, y));
            const double dx = (x - cx) / cx;
            const double dy = (y - cy) / cy;
            const double falloff = 1.0 - 0.38 * (dx * dx + dy * dy) / 2.0;
            const int v = std::clamp(int(g * falloff + grain(rng)), 0, 255);
            out.setPixel(x, y, qRgb(v, v, v));
        }
    }
    return out;
}

}  // namespace

QImage drawStarterPicture()
{
    const QImage flat = drawFlatPanel();
    QImage photo(Width, Height, QImage::Format_RGB32);
    photo.fill(QColor(28, 28, 28));
    QPainter p(&photo);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setRenderHint(QPainter::Antialiasing, true);
    // The wall behind the panel darkens upwards.
    QLinearGradient wall(0, 0, 0, Height);
    wall.setColorAt(0.0, QColor(18, 18, 18));
    wall.setColorAt(1.0, QColor(60, 60, 60));
    p.fillRect(photo.rect(), wall);
    QTransform view;
    QPolygonF from;
    from << QPointF(0, 0) << QPointF(FlatWidth, 0) << QPointF(FlatWidth, FlatHeight) << QPointF(0, FlatHeight);
    QPolygonF to;
    to << QPointF(-14, 8) << QPointF(392, 22) << QPointF(384, 250) << QPointF(-6, 262);
    if (QTransform::quadToQuad(from, to, view)) {
        p.setTransform(view);
        p.drawImage(0, 0, flat);
    }
    p.end();
    // A soft lens: scale down and back up.
    const QImage soft = photo.scaled(Width * 3 / 4, Height * 3 / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .scaled(Width, Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return develop(soft).convertToFormat(QImage::Format_Grayscale8);
}

}  // namespace kalmor
