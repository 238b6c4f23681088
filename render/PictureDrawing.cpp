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

void drawScaledPicture(FrameTarget &target, const QImage &scaled, qint64 left, qint64 top, int opacity)
{
    if (opacity <= 0)
        return;
    const QRect area = clipped(WideRect{left, top, scaled.width(), scaled.height()}, target.clip);
    if (area.isEmpty())
        return;
    const int sx0 = int(area.left() - left);
    const int sy0 = int(area.top() - top);
    const int tx0 = area.left() - target.origin.x();
    const int ty0 = area.top() - target.origin.y();
    const int w = area.width();
    for (int row = 0; row < area.height(); ++row) {
        const auto *src = reinterpret_cast<const QRgb *>(scaled.constScanLine(sy0 + row)) + sx0;
        auto *dst = reinterpret_cast<QRgb *>(target.image.scanLine(ty0 + row)) + tx0;
        if (opacity >= 255) {
            for (int x = 0; x < w; ++x) {
                if (qAlpha(src[x]) != 0)
                    dst[x] = src[x];
            }
            continue;
        }
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
    const int tx0 = area.left() - target.origin.x();
    const int ty0 = area.top() - target.origin.y();
    for (int row = 0; row < area.height(); ++row) {
        auto *dst = reinterpret_cast<QRgb *>(target.image.scanLine(ty0 + row)) + tx0;
        std::fill(dst, dst + area.width(), colour);
    }
}

void fillDashed(FrameTarget &target, const WideRect &rect, Qt::Orientation along, const QRgb (&colours)[2],
                int dashLength)
{
    const QRect area = clipped(rect, target.clip);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(target.image.scanLine(y - target.origin.y()));
        for (int x = area.left(); x <= area.right(); ++x)
            row[x - target.origin.x()] = colours[((along == Qt::Horizontal ? x : y) / dashLength) & 1];
    }
}

}  // namespace kalmor
