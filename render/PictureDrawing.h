#pragma once

#include <QImage>
#include <QRect>
#include <QtGlobal>

#include <vector>

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

    // A part of the same target, clipped further. Made without touching
    // the image, so that parts can be drawn on several threads at once.
    FrameTarget(const FrameTarget &whole, const QRect &part)
        : image(whole.image)
        , origin(whole.origin)
        , clip(whole.clip & part)
        , m_bits(whole.m_bits)
        , m_stride(whole.m_stride)
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

// A picture scaled for drawing, with its opaque pixels found once as runs
// along each row: track pictures are mostly transparent, so an opaque draw
// copies only the runs.
struct ScaledPicture {
    explicit ScaledPicture(QImage picture);

    struct Run {
        int start;
        int length;
    };
    QImage image;
    int width = 0;
    int height = 0;
    std::vector<Run> runs;
    std::vector<int> rowStart;  // row y: runs[rowStart[y]] .. runs[rowStart[y + 1]]

    const QRgb *row(int y) const { return reinterpret_cast<const QRgb *>(m_bits + y * m_stride); }

private:
    const uchar *m_bits = nullptr;
    qsizetype m_stride = 0;
};

// blitOpaque() for a picture partly outside the clip.
void blitClipped(FrameTarget &target, const ScaledPicture &picture, qint64 left, qint64 top);

// Copies the picture's opaque pixels: the same as drawScaledPicture() with
// opacity 255. Small pictures at small cells are drawn by the hundred
// thousand, nearly all wholly inside the clip: those take no call.
inline void blitOpaque(FrameTarget &target, const ScaledPicture &picture, qint64 left, qint64 top)
{
    const QRect &clip = target.clip;
    if (left < clip.left() || top < clip.top() || left + picture.width > qint64(clip.right()) + 1
        || top + picture.height > qint64(clip.bottom()) + 1) {
        blitClipped(target, picture, left, top);
        return;
    }
    for (int y = 0; y < picture.height; ++y) {
        const QRgb *src = picture.row(y);
        QRgb *dst = target.at(left, top + y);
        for (int r = picture.rowStart[std::size_t(y)]; r < picture.rowStart[std::size_t(y) + 1]; ++r) {
            const ScaledPicture::Run run = picture.runs[std::size_t(r)];
            for (int x = run.start; x < run.start + run.length; ++x)
                dst[x] = src[x];
        }
    }
}

// For each pixel of a clip, the order of the draw that copied it last:
// draws coming in any order then leave what drawing them in turn would,
// as a draw copies a pixel only where it comes later. At the smallest
// cells this spares sorting a hundred thousand records and lets them be
// drawn where they lie in memory.
class DrawOrder {
public:
    // Nothing drawn yet in the clip.
    void reset(const QRect &clip);

    quint32 *at(qint64 x, qint64 y)
    {
        return m_order.data() + (y - m_clip.top()) * qint64(m_clip.width()) + (x - m_clip.left());
    }

private:
    QRect m_clip;
    std::vector<quint32> m_order;
};


// blitInOrder() for a picture partly outside the clip.
void blitInOrderClipped(FrameTarget &target, DrawOrder &order, quint32 key, const ScaledPicture &picture,
                        qint64 left, qint64 top);

// blitOpaque() by a draw of the order key (above 0): copies the pixels
// whose last draw came before it. The small pictures of the smallest
// cells are drawn by the hundred thousand, nearly all wholly inside the
// clip: those take no call.
inline void blitInOrder(FrameTarget &target, DrawOrder &order, quint32 key, const ScaledPicture &picture,
                        qint64 left, qint64 top)
{
    const QRect &clip = target.clip;
    if (left < clip.left() || top < clip.top() || left + picture.width > qint64(clip.right()) + 1
        || top + picture.height > qint64(clip.bottom()) + 1) {
        blitInOrderClipped(target, order, key, picture, left, top);
        return;
    }
    for (int y = 0; y < picture.height; ++y) {
        const QRgb *src = picture.row(y);
        QRgb *dst = target.at(left, top + y);
        quint32 *last = order.at(left, top + y);
        for (int r = picture.rowStart[std::size_t(y)]; r < picture.rowStart[std::size_t(y) + 1]; ++r) {
            const ScaledPicture::Run run = picture.runs[std::size_t(r)];
            for (int x = run.start; x < run.start + run.length; ++x) {
                if (key >= last[x]) {
                    last[x] = key;
                    dst[x] = src[x];
                }
            }
        }
    }
}

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
