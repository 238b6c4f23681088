#include "tools/DeskPictures.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

namespace kalmor {

namespace {

constexpr int Side = 47;
// Pictures carry a fixed resolution so that saving them gives the same
// bytes whatever the screen of the process that drew them.
constexpr int DotsPerMeter = 2835;

constexpr QRgb White = qRgb(255, 255, 255);  // transparent
constexpr QRgb Outline = qRgb(0, 0, 0);
constexpr QRgb Red = qRgb(220, 0, 0);
constexpr QRgb Green = qRgb(0, 170, 0);
constexpr QRgb Yellow = qRgb(255, 190, 0);
constexpr QRgb Light = qRgb(240, 240, 240);  // white lamps, light strips, signs on dark faces
constexpr QRgb Blue = qRgb(0, 90, 255);
constexpr QRgb AtRest = qRgb(70, 70, 70);    // a lamp that shows no colour
constexpr QRgb Body = qRgb(40, 40, 40);      // signal heads, knobs, the counter's case
constexpr QRgb Grey = qRgb(160, 160, 160);   // faces that carry a black sign or text

// A set of pixels, asked pixel by pixel.
using Shape = std::function<bool(int x, int y)>;

// Pixel circles: r * (r + 1) rounds the edge so that a radius r gives a
// disc 2r + 1 pixels across with no lone pixel at the four tips.
Shape disc(int cx, int cy, int r)
{
    return [=](int x, int y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * (r + 1); };
}

Shape box(int left, int top, int right, int bottom)
{
    return [=](int x, int y) { return x >= left && x <= right && y >= top && y <= bottom; };
}

// A box whose corners are quarter circles of the radius; a radius of half
// the height gives a capsule.
Shape roundedBox(int left, int top, int right, int bottom, int radius)
{
    return [=](int x, int y) {
        if (!box(left, top, right, bottom)(x, y))
            return false;
        const int cx = std::clamp(x, left + radius, right - radius);
        const int cy = std::clamp(y, top + radius, bottom - radius);
        return disc(cx, cy, radius)(x, y);
    };
}

// A straight bar between two points, the half width measured across it.
Shape bar(double ax, double ay, double bx, double by, double halfWidth)
{
    return [=](int x, int y) {
        const double dx = bx - ax, dy = by - ay;
        const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        return std::hypot(x - ax - t * dx, y - ay - t * dy) <= halfWidth;
    };
}

Shape unite(std::initializer_list<Shape> shapes)
{
    return [list = std::vector<Shape>(shapes)](int x, int y) {
        return std::any_of(list.begin(), list.end(), [x, y](const Shape &s) { return s(x, y); });
    };
}

// An arrow pointing left with its tip at (tipX, cy): a head of the half
// height and length, then a shaft of the half width up to endX.
Shape leftArrow(int tipX, int cy, int headLength, int headHalf, int shaftHalf, int endX)
{
    return [=](int x, int y) {
        const int across = std::abs(y - cy);
        if (x >= tipX && x <= tipX + headLength)
            return across * headLength <= (x - tipX) * headHalf;
        return x > tipX + headLength && x <= endX && across <= shaftHalf;
    };
}

class Canvas {
public:
    Canvas() : m_image(Side, Side, QImage::Format_RGB32)
    {
        m_image.fill(White);
        m_image.setDotsPerMeterX(DotsPerMeter);
        m_image.setDotsPerMeterY(DotsPerMeter);
    }

    // The shape in a flat fill inside its one-pixel outline: a pixel of
    // the shape with one of its four neighbours outside is outline.
    void paint(const Shape &shape, QRgb fill)
    {
        for (int y = 0; y < Side; ++y) {
            for (int x = 0; x < Side; ++x) {
                if (!shape(x, y))
                    continue;
                const bool inner = shape(x - 1, y) && shape(x + 1, y) && shape(x, y - 1) && shape(x, y + 1);
                m_image.setPixel(x, y, inner ? fill : Outline);
            }
        }
    }

    // The shape in one colour without an outline: signs on a face.
    void fill(const Shape &shape, QRgb colour)
    {
        for (int y = 0; y < Side; ++y) {
            for (int x = 0; x < Side; ++x) {
                if (shape(x, y))
                    m_image.setPixel(x, y, colour);
            }
        }
    }

    void lamp(int cx, int cy, int r, QRgb colour) { paint(disc(cx, cy, r), colour); }

    const QImage &image() const { return m_image; }

private:
    QImage m_image;
};

// --- Signals -------------------------------------------------------------
//
// A signal lies along the track in the top of its cell: the head with its
// lamps toward the side it serves, a stem, and the foot across the stem,
// whose lower end stands just above a track drawn in the same cell.

constexpr int HeadRight = 35;
constexpr int SignalMiddle = 10;

void paintMast(Canvas &c)
{
    c.paint(unite({box(HeadRight - 1, SignalMiddle - 2, 41, SignalMiddle + 2), box(40, 2, 43, 18)}), Body);
}

// A head right-aligned at the stem, its lamps spaced evenly from the stem
// leftwards; the lamps are given from left to right. A rounded head is a
// capsule; the distant signal's has nearly square corners, so that it
// tells from a main signal's even where its colours are hard to see.
void paintHead(Canvas &c, int halfHeight, int lampRadius, int spacing, std::initializer_list<QRgb> lamps,
               bool rounded)
{
    const int count = int(lamps.size());
    const int lastLamp = HeadRight - halfHeight;
    const int left = lastLamp - (count - 1) * spacing - halfHeight;
    const int top = SignalMiddle - halfHeight, bottom = SignalMiddle + halfHeight;
    c.paint(roundedBox(left, top, HeadRight, bottom, rounded ? halfHeight : 2), Body);
    int x = lastLamp - (count - 1) * spacing;
    for (const QRgb colour : lamps) {
        c.lamp(x, SignalMiddle, lampRadius, colour);
        x += spacing;
    }
}

QImage signal(int halfHeight, int lampRadius, int spacing, std::initializer_list<QRgb> lamps, bool rounded)
{
    Canvas c;
    paintMast(c);
    paintHead(c, halfHeight, lampRadius, spacing, lamps, rounded);
    return c.image();
}

// --- Buttons, controllers, counter, lock -------------------------------
//
// Buttons stand in the upper part of the cell, so that a designation
// fits under them.

constexpr int ButtonX = 23, ButtonY = 18;

QImage ringButton(QRgb ring, QRgb face)
{
    Canvas c;
    c.paint(disc(ButtonX, ButtonY, 13), ring);
    c.paint(disc(ButtonX, ButtonY, 8), face);
    return c.image();
}

QImage cancelButton()
{
    Canvas c;
    c.paint(disc(ButtonX, ButtonY, 12), Red);
    return c.image();
}

// Square, with a seal on the cover in its lower right corner.
QImage emergencyButton()
{
    Canvas c;
    c.paint(box(ButtonX - 13, ButtonY - 13, ButtonX + 13, ButtonY + 13), Red);
    c.lamp(ButtonX + 8, ButtonY + 8, 3, Light);
    return c.image();
}

// A large face: the designation is written on it.
QImage groupButton()
{
    Canvas c;
    c.paint(roundedBox(6, 6, 40, 40, 6), Grey);
    return c.image();
}

// A dark knob with a light pointer from its centre.
void paintKnob(Canvas &c, int cx, int cy, int r, double pointerX, double pointerY)
{
    c.paint(disc(cx, cy, r), Body);
    c.fill(bar(cx, cy, pointerX, pointerY, 1.2), Light);
}

// The knob turns to "+" on the left or to "-" on the right; the lamps
// above show where the switch lies.
QImage switchController()
{
    Canvas c;
    paintKnob(c, 23, 23, 10, 23, 15);
    c.lamp(8, 8, 5, AtRest);
    c.lamp(38, 8, 5, AtRest);
    c.fill(unite({box(6, 8, 10, 8), box(8, 6, 8, 10)}), Light);
    c.fill(box(36, 8, 40, 8), Light);
    return c.image();
}

// Turned to its first position.
QImage twoPositionController()
{
    Canvas c;
    paintKnob(c, 23, 21, 12, 16, 14);
    return c.image();
}

// Digits five pixels wide and seven high, one row a string.
void paintDigit(Canvas &c, int left, int top, std::initializer_list<const char *> rows)
{
    int y = top;
    for (const char *row : rows) {
        for (int x = 0; row[x]; ++x) {
            if (row[x] == '#')
                c.fill(box(left + x, y, left + x, y), Light);
        }
        ++y;
    }
}

QImage counter()
{
    Canvas c;
    c.paint(roundedBox(4, 8, 42, 30, 2), Body);
    c.fill(box(8, 12, 38, 26), Outline);  // the window
    for (const int left : {12, 21, 30})
        paintDigit(c, left, 16, {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."});
    return c.image();
}

QImage keyLock()
{
    Canvas c;
    c.paint(disc(21, 22, 12), Grey);
    c.fill(unite({disc(21, 19, 2), box(20, 19, 22, 27)}), Outline);
    c.lamp(39, 7, 4, Light);
    return c.image();
}

// --- Lit indications ------------------------------------------------------

QImage directionArrow()
{
    Canvas c;
    c.paint(leftArrow(2, 23, 12, 11, 3, 44), Light);
    return c.image();
}

QImage lineConsent()
{
    Canvas c;
    const Shape left = leftArrow(1, 23, 7, 8, 2, 15);
    c.paint(unite({left, [left](int x, int y) { return left(Side - 1 - x, y); }}), Light);
    c.lamp(23, 23, 4, Red);
    return c.image();
}

QImage levelCrossing()
{
    Canvas c;
    c.paint(unite({bar(11, 3, 35, 27, 2.6), bar(35, 3, 11, 27, 2.6)}), Light);
    c.lamp(11, 36, 4, Light);
    c.lamp(23, 36, 4, Red);
    c.lamp(35, 36, 4, Yellow);
    return c.image();
}

// A light strip across the middle; the designation is written on it.
QImage litInscription()
{
    Canvas c;
    c.paint(roundedBox(1, 14, 45, 32, 3), Light);
    return c.image();
}

QImage leftPicture(const QString &name)
{
    static const QHash<QString, std::function<QImage()>> pictures{
        {QStringLiteral("NAV_HL_L"), [] { return signal(6, 4, 11, {Red, Green}, true); }},
        {QStringLiteral("NAV_HP_L"), [] { return signal(6, 4, 11, {Red, Green, Light}, true); }},
        {QStringLiteral("NAV_SE_L"), [] { return signal(4, 3, 9, {Blue, Light}, true); }},
        {QStringLiteral("NAV_PR_L"), [] { return signal(6, 4, 11, {Yellow, Green}, false); }},
        {QStringLiteral("TLA_VC"), [] { return ringButton(Green, Body); }},
        {QStringLiteral("TLA_PC"), [] { return ringButton(Light, Body); }},
        {QStringLiteral("TLA_RC"), cancelButton},
        {QStringLiteral("TLA_NUZ"), emergencyButton},
        {QStringLiteral("TLA_PN"), [] { return ringButton(Red, Light); }},
        {QStringLiteral("TLA_SK"), groupButton},
        {QStringLiteral("RAD_VYH"), switchController},
        {QStringLiteral("RAD_2P"), twoPositionController},
        {QStringLiteral("POC_Obsluh"), counter},
        {QStringLiteral("KLI_Zamek"), keyLock},
        {QStringLiteral("PRU_SIP_L"), directionArrow},
        {QStringLiteral("PRU_SOU"), lineConsent},
        {QStringLiteral("PRU_PRJ"), levelCrossing},
        {QStringLiteral("PRU_TXT"), litInscription},
    };
    const auto it = pictures.constFind(name);
    return it == pictures.cend() ? QImage() : (*it)();
}

}  // namespace

QImage drawDeskPicture(const QString &name)
{
    // A kind for movements to the right is its partner to the left mirrored.
    if (name.endsWith(u"_P")) {
        const QImage left = leftPicture(name.chopped(1) + u'L');
        return left.isNull() ? QImage() : left.mirrored(true, false);
    }
    return leftPicture(name);
}

}  // namespace kalmor
