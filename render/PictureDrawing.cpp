#include "render/PictureDrawing.h"

#include <algorithm>

namespace kalmor {

namespace {

// The part of a wide rectangle inside the clip, as an ordinary rectangle.
QRect clipped(const WideRect &rect, const QRect &clip)
{
    const qint64 left = std::max<qint64>(rect.left, clip.left());
    const qint64 top = std::max<qint64>(rect.top, clip.top());
    const qint64 right = std::min<qint64>(rect.left + rect.width, qint64(clip.right()) + 1);
    const qint64 bottom = std::min<qint64>(rect.top + rect.height, qint64(clip.bottom()) + 1);
    if (left >= right || top >= bottom)
        return {};
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

}  // namespace

void blitOpaque(FrameTarget &target, const QImage &scaled, qint64 left, qint64 top)
{
    const QRect area = clipped(WideRect{left, top, scaled.width(), scaled.height()}, target.clip);
    if (area.isEmpty())
        return;
    const int sx0 = int(area.left() - left);
    const int sy0 = int(area.top() - top);
    const int w = area.width();
    for (int row = 0; row < area.height(); ++row) {
        const auto *src = reinterpret_cast<const QRgb *>(scaled.constScanLine(sy0 + row)) + sx0;
        QRgb *dst = target.at(area.left(), area.top() + row);
        // All ones where the picture is opaque: its alpha's top bit.
        for (int x = 0; x < w; ++x) {
            const QRgb opaque = QRgb(qint32(src[x]) >> 31);
            dst[x] = src[x] | (dst[x] & ~opaque);
        }
    }
}

void drawScaledPicture(FrameTarget &target, const QImage &scaled, qint64 left, qint64 top, int opacity)
{
    if (opacity >= 255) {
        blitOpaque(target, scaled, left, top);
        return;
    }
    if (opacity <= 0)
        return;
    const QRect area = clipped(WideRect{left, top, scaled.width(), scaled.height()}, target.clip);
    if (area.isEmpty())
        return;
    const int sx0 = int(area.left() - left);
    const int sy0 = int(area.top() - top);
    const int w = area.width();
    for (int row = 0; row < area.height(); ++row) {
        const auto *src = reinterpret_cast<const QRgb *>(scaled.constScanLine(sy0 + row)) + sx0;
        QRgb *dst = target.at(area.left(), area.top() + row);
        for (int x = 0; x < w; ++x) {
            const QRgb s = src[x];
            if (qAlpha(s) == 0)
                continue;
            const QRgb d = dst[x];
            dst[x] = qRgb(blendChannel(qRed(s), qRed(d), opacity),
                          blendChannel(qGreen(s), qGreen(d), opacity),
                          blendChannel(qBlue(s), qBlue(d), opacity));
        }
    }
}

void fillRect(FrameTarget &target, const WideRect &rect, QRgb colour)
{
    const QRect area = clipped(rect, target.clip);
    if (area.isEmpty())
        return;
    for (int row = 0; row < area.height(); ++row) {
        QRgb *dst = target.at(area.left(), area.top() + row);
        std::fill(dst, dst + area.width(), colour);
    }
}

}  // namespace kalmor
