#include "render/PanelOverview.h"

#include "render/Viewport.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kalmor {

namespace {

// Pixels of one composed strip.
constexpr qint64 StripBudget = qint64(1) << 21;

// Sums of the source pixels that fall into one row of the picture.
class RowAverager {
public:
    RowAverager(QImage &out, qint64 sourceWidth)
        : m_out(out), m_sums(std::size_t(out.width()) * 4, 0), m_column(std::size_t(sourceWidth))
    {
        // Source column x lands in picture column x * width / sourceWidth.
        for (qint64 x = 0; x < sourceWidth; ++x)
            m_column[std::size_t(x)] = int(x * out.width() / sourceWidth);
    }

    void add(const QRgb *row, qint64 width)
    {
        for (qint64 x = 0; x < width; ++x) {
            quint64 *sum = &m_sums[std::size_t(m_column[std::size_t(x)]) * 4];
            sum[0] += quint64(qRed(row[x]));
            sum[1] += quint64(qGreen(row[x]));
            sum[2] += quint64(qBlue(row[x]));
            ++sum[3];
        }
    }

    void flush(int y)
    {
        auto *line = reinterpret_cast<QRgb *>(m_out.scanLine(y));
        for (int x = 0; x < m_out.width(); ++x) {
            quint64 *sum = &m_sums[std::size_t(x) * 4];
            const quint64 n = std::max<quint64>(1, sum[3]);
            line[x] = qRgb(int((sum[0] + n / 2) / n), int((sum[1] + n / 2) / n), int((sum[2] + n / 2) / n));
            std::fill(sum, sum + 4, 0);
        }
    }

private:
    QImage &m_out;
    std::vector<quint64> m_sums;
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
    const QRect &cells = picture.cells;
    if (cells.isEmpty()) {
        out.fill(Qt::white);
        return out;
    }
    const double scale = std::max(double(out.width()) / cells.width(), double(out.height()) / cells.height());
    PictureOptions options = picture;
    options.cellSize = int(std::clamp<double>(std::ceil(scale - 1e-9), 1, Viewport::MaxCellSize));
    PanelComposer composer(doc, images, options);
    const qint64 sourceHeight = composer.height();
    RowAverager averager(out, composer.width());
    int row = 0;
    const TileGrid strips = rowStrips(composer, StripBudget);
    for (qint64 i = 0; i < strips.count(); ++i) {
        const QRect strip = strips.at(i);
        const QImage &pixels = composer.compose(strip);
        for (int y = 0; y < strip.height(); ++y) {
            const qint64 sourceY = qint64(strip.y()) + y;
            const int target = int(sourceY * out.height() / sourceHeight);
            if (target != row) {
                averager.flush(row);
                row = target;
            }
            averager.add(reinterpret_cast<const QRgb *>(pixels.constScanLine(y)), strip.width());
        }
    }
    averager.flush(row);
    return out;
}

}  // namespace kalmor
