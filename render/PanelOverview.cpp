#include "render/PanelOverview.h"

#include "render/Viewport.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kalmor {

namespace {

// Pixels of one composed strip.
constexpr qint64 StripBudget = qint64(1) << 21;

// Gathers the source pixels that fall into one row of the picture. Where
// a picture pixel takes at most a few source pixels they are averaged;
// where it takes many, the one that differs most from the panel's fill
// colour stands for them all, so that a track one cell wide still shows
// when a thousand cells share a pixel.
class RowPooler {
public:
    RowPooler(QImage &out, qint64 sourceWidth, qint64 sourceHeight, QRgb fill)
        : m_out(out),
          m_fill(fill),
          m_keepDistinct(sourceWidth >= 2 * out.width() || sourceHeight >= 2 * out.height()),
          m_sums(std::size_t(out.width()) * 4, 0),
          m_column(std::size_t(sourceWidth))
    {
        // Source column x lands in picture column x * width / sourceWidth.
        for (qint64 x = 0; x < sourceWidth; ++x)
            m_column[std::size_t(x)] = int(x * out.width() / sourceWidth);
    }

    void add(const QRgb *row, qint64 width)
    {
        for (qint64 x = 0; x < width; ++x) {
            quint64 *slot = &m_sums[std::size_t(m_column[std::size_t(x)]) * 4];
            const QRgb p = row[x];
            if (m_keepDistinct) {
                const quint64 d = distance(p);
                if (slot[3] == 0 || d > slot[0]) {
                    slot[0] = d;
                    slot[1] = p;
                    slot[3] = 1;
                }
                continue;
            }
            slot[0] += quint64(qRed(p));
            slot[1] += quint64(qGreen(p));
            slot[2] += quint64(qBlue(p));
            ++slot[3];
        }
    }

    void flush(int y)
    {
        auto *line = reinterpret_cast<QRgb *>(m_out.scanLine(y));
        for (int x = 0; x < m_out.width(); ++x) {
            quint64 *slot = &m_sums[std::size_t(x) * 4];
            const quint64 n = std::max<quint64>(1, slot[3]);
            line[x] = m_keepDistinct ? QRgb(slot[1])
                                     : qRgb(int((slot[0] + n / 2) / n), int((slot[1] + n / 2) / n),
                                            int((slot[2] + n / 2) / n));
            std::fill(slot, slot + 4, 0);
        }
    }

private:
    quint64 distance(QRgb p) const
    {
        const auto sq = [](int a, int b) { return quint64((a - b) * (a - b)); };
        return sq(qRed(p), qRed(m_fill)) + sq(qGreen(p), qGreen(m_fill)) + sq(qBlue(p), qBlue(m_fill));
    }

    QImage &m_out;
    QRgb m_fill;
    bool m_keepDistinct;
    std::vector<quint64> m_sums;  // per picture pixel: r, g, b, count (or distance, pixel, -, taken)
    std::vector<int> m_column;
};

}  // namespace

QSize overviewSize(const QRect &cells, double pixelsPerCell)
{
    const auto extent = [pixelsPerCell](int n) {
        return int(std::clamp<double>(std::round(n * pixelsPerCell), 1, Viewport::MaxSurfaceExtent));
    };
    return QSize(extent(cells.width()), extent(cells.height()));
}

QImage composeOverview(const StationData &doc, const ImageSet &images, const PictureOptions &picture, QSize size)
{
    QImage out(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    // Rows no source row reaches (a scale beyond the largest cell) stay white.
    out.fill(Qt::white);
    const QRect &cells = picture.cells;
    if (cells.isEmpty())
        return out;
    const double scale = std::max(double(out.width()) / cells.width(), double(out.height()) / cells.height());
    PictureOptions options = picture;
    options.cellSize = int(std::clamp<double>(std::ceil(scale - 1e-9), 1, Viewport::MaxCellSize));
    PanelComposer composer(doc, images, options);
    const qint64 sourceHeight = composer.height();
    RowPooler pooler(out, composer.width(), sourceHeight, composer.fillPixel());
    int row = 0;
    const TileGrid strips = rowStrips(composer, StripBudget);
    for (qint64 i = 0; i < strips.count(); ++i) {
        const QRect strip = strips.at(i);
        const QImage &pixels = composer.compose(strip);
        for (int y = 0; y < strip.height(); ++y) {
            const qint64 sourceY = qint64(strip.y()) + y;
            const int target = int(sourceY * out.height() / sourceHeight);
            if (target != row) {
                pooler.flush(row);
                row = target;
            }
            pooler.add(reinterpret_cast<const QRgb *>(pixels.constScanLine(y)), strip.width());
        }
    }
    pooler.flush(row);
    return out;
}

}  // namespace kalmor
