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

// Calls copy(src, start, end, y) for the part of each run of the picture
// at (left, top) inside the clip: columns start .. end - 1 of the picture
// row src, at surface row y.
template <class Copy>
void forEachClippedRun(const FrameTarget &target, const ScaledPicture &picture, qint64 left, qint64 top, Copy copy)
{
    const QRect area = clipped(WideRect{left, top, picture.width, picture.height}, target.clip);
    if (area.isEmpty())
        return;
    // The clipped columns, in the picture's coordinates.
    const int from = int(area.left() - left);
    const int to = from + area.width();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int row = int(y - top);
        const QRgb *src = picture.row(row);
        for (int r = picture.rowStart[std::size_t(row)]; r < picture.rowStart[std::size_t(row) + 1]; ++r) {
            const ScaledPicture::Run run = picture.runs[std::size_t(r)];
            const int start = std::max(run.start, from);
            const int end = std::min(run.start + run.length, to);
            if (start < end)
                copy(src, start, end, y);
        }
    }
}

}  // namespace

ScaledPicture::ScaledPicture(QImage picture)
    : image(std::move(picture))
    , width(image.width())
    , height(image.height())
    , m_bits(image.constBits())
    , m_stride(image.bytesPerLine())
{
    rowStart.reserve(std::size_t(image.height()) + 1);
    for (int y = 0; y < image.height(); ++y) {
        rowStart.push_back(int(runs.size()));
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        // Enlarged pictures repeat each row: the runs of the one above.
        if (y > 0 && std::equal(line, line + width, reinterpret_cast<const QRgb *>(image.constScanLine(y - 1)))) {
            const int from = rowStart[std::size_t(y) - 1];
            const int to = rowStart[std::size_t(y)];
            for (int r = from; r < to; ++r)
                runs.push_back(runs[std::size_t(r)]);
            continue;
        }
        for (int x = 0; x < width;) {
            if (qAlpha(line[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && qAlpha(line[x]) != 0)
                ++x;
            runs.push_back(Run{start, x - start});
        }
    }
    rowStart.push_back(int(runs.size()));
}

void blitClipped(FrameTarget &target, const ScaledPicture &picture, qint64 left, qint64 top)
{
    forEachClippedRun(target, picture, left, top, [&](const QRgb *src, int start, int end, int y) {
        // Runs are short: a loop beats a call to copy them.
        QRgb *dst = target.at(left + start, y);
        for (int x = start; x < end; ++x)
            *dst++ = src[x];
    });
}

void DrawOrder::reset(const QRect &clip)
{
    m_clip = clip;
    m_order.assign(std::size_t(clip.width()) * std::size_t(std::max(0, clip.height())), 0);
}

void blitInOrderClipped(FrameTarget &target, DrawOrder &order, quint32 key, const ScaledPicture &picture,
                        qint64 left, qint64 top)
{
    forEachClippedRun(target, picture, left, top, [&](const QRgb *src, int start, int end, int y) {
        QRgb *dst = target.at(left + start, y);
        quint32 *last = order.at(left + start, y);
        for (int x = start; x < end; ++x, ++dst, ++last) {
            if (key >= *last) {
                *last = key;
                *dst = src[x];
            }
        }
    });
}

void drawScaledPicture(FrameTarget &target, const QImage &scaled, qint64 left, qint64 top, int opacity)
{
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
    for (int row = 0; row < area.height(); ++row) {
        QRgb *dst = target.at(area.left(), area.top() + row);
        std::fill(dst, dst + area.width(), colour);
    }
}

void fillDashed(FrameTarget &target, const WideRect &rect, Qt::Orientation along, const QRgb (&colours)[2],
                int dashLength)
{
    const QRect area = clipped(rect, target.clip);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            *target.at(x, y) = colours[((along == Qt::Horizontal ? x : y) / dashLength) & 1];
    }
}

}  // namespace kalmor
