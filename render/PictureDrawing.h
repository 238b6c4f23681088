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
    FrameTarget(QImage &target, QPoint surfaceOrigin, QRect surfaceClip)
        : image(target)
        , origin(surfaceOrigin)
        , clip(surfaceClip)
        , m_bits(target.bits())
        , m_stride(target.bytesPerLine())
    {
    }

    // The pixel at surface pixel (x, y), which must lie inside the clip.
    QRgb *at(qint64 x, qint64 y) const
    {
        return reinterpret_cast<QRgb *>(m_bits + (y - origin.y()) * m_stride) + (x - origin.x());
    }

    QImage &image;
    QPoint origin;
    QRect clip;

private:
    uchar *m_bits;
    qsizetype m_stride;
};

// Draws a picture already scaled to the rectangle's size: transparent
// pixels (alpha 0) are skipped; opacity 255 or more copies the others,
// 1 to 254 blends a/255 of the picture over the rest, 0 or less draws
// nothing.
void drawScaledPicture(FrameTarget &target, const QImage &scaled, qint64 left, qint64 top, int opacity);

// Copies the picture's opaque pixels. The image set's pictures are fully
// opaque or fully transparent (alpha 255 or 0, transparent pixels 0), so
// no pixel is tested on its own; the same as drawScaledPicture() with
// opacity 255.
void blitOpaque(FrameTarget &target, const QImage &scaled, qint64 left, qint64 top);

// One channel of a blend: a/255 x picture + (1 - a/255) x below, rounded
// to the nearest whole number.
constexpr int blendChannel(int picture, int below, int opacity)
{
    return (opacity * picture + (255 - opacity) * below + 127) / 255;
}

// Fills the part of the rectangle inside the clip.
void fillRect(FrameTarget &target, const WideRect &rect, QRgb colour);

}  // namespace kalmor
