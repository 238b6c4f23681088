#pragma once

#include <QImage>
#include <QRect>
#include <QtGlobal>

namespace kalmor {

// A rectangle of surface pixels in 64-bit, since cells read from a file
// can lie anywhere a 32-bit cell number reaches.
struct WideRect {
    qint64 left = 0;
    qint64 top = 0;
    qint64 width = 0;
    qint64 height = 0;
};

// Where a frame is drawn: the target image holds the surface pixels
// starting at origin, and nothing outside clip (surface pixels, inside the
// target and the surface) may change.
struct FrameTarget {
    QImage &image;
    QPoint origin;
    QRect clip;
};

// Draws a picture already scaled to the rectangle's size: transparent
// pixels (alpha 0) are skipped; opacity 255 or more copies the others,
// 1 to 254 blends a/255 of the picture over the rest, 0 or less draws
// nothing.
void drawScaledPicture(FrameTarget &target, const QImage &scaled, qint64 left, qint64 top, int opacity);

// One channel of a blend: a/255 x picture + (1 - a/255) x below, rounded
// to the nearest whole number.
constexpr int blendChannel(int picture, int below, int opacity)
{
    return (opacity * picture + (255 - opacity) * below + 127) / 255;
}

// Fills the part of the rectangle inside the clip.
void fillRect(FrameTarget &target, const WideRect &rect, QRgb colour);

// The same in dashes of two colours along one direction: the colour of a
// pixel follows its surface coordinate, so every part of the surface is
// composed alike.
void fillDashed(FrameTarget &target, const WideRect &rect, Qt::Orientation along, const QRgb (&colours)[2],
                int dashLength);

}  // namespace kalmor
