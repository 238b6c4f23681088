#include "render/PanelPrint.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kalmor {

namespace {

constexpr double ScreenDpi = 96;
constexpr double MostUsefulDpi = 300;
constexpr qint64 PieceBudget = 4'000'000;

// Draws the part `source` (picture pixels at the document's cell size) of
// the picture into `target` (device pixels), composed at `composer`'s
// cell size, which may be smaller.
void drawPart(QPainter &painter, PanelComposer &composer, int fullCell, const QRectF &source, const QRectF &target)
{
    const double shrink = double(composer.cellSize()) / fullCell;
    const QRect wanted = QRectF(source.topLeft() * shrink, source.size() * shrink).toAlignedRect()
        & QRect(0, 0, int(composer.width()), int(composer.height()));
    if (wanted.isEmpty())
        return;
    const double toTarget = target.width() / source.width();
    const int stripRows = int(std::clamp<qint64>(PieceBudget / wanted.width(), 1, wanted.height()));
    for (int top = wanted.top(); top <= wanted.bottom(); top += stripRows) {
        const QRect strip(wanted.left(), top, wanted.width(), std::min(stripRows, wanted.bottom() + 1 - top));
        const QImage &pixels = composer.compose(strip);
        const QPointF from = QPointF(strip.topLeft()) / shrink - source.topLeft();
        const QRectF to(target.topLeft() + from * toTarget, QSizeF(strip.size()) / shrink * toTarget);
        painter.drawImage(to, pixels);
    }
}

}  // namespace

PrintLayout printLayout(qint64 pictureWidth, qint64 pictureHeight, QSizeF area, int dpi, const PrintOptions &options)
{
    PrintLayout layout;
    const double w = double(std::max<qint64>(1, pictureWidth));
    const double h = double(std::max<qint64>(1, pictureHeight));
    if (options.fitToPage) {
        layout.scale = std::min(area.width() / w, area.height() / h);
        return layout;
    }
    layout.scale = std::max(1, options.scalePercent) / 100.0 * dpi / ScreenDpi;
    // A hair of rounding must not start a page for a sliver.
    layout.across = std::max(1, int(std::ceil(w * layout.scale / area.width() - 1e-9)));
    layout.down = std::max(1, int(std::ceil(h * layout.scale / area.height() - 1e-9)));
    return layout;
}

QString printHeader(const StationData &doc)
{
    return QStringLiteral("Stanice: %1    Autor: %2    Verze: %3    Vydáno: %4")
        .arg(doc.stationName, doc.author, doc.version, doc.issueDate);
}

QString pageNumberText(int page, int pages)
{
    return QStringLiteral("strana %1 / %2").arg(page).arg(pages);
}

bool printPanel(QPagedPaintDevice &device, const StationData &doc, const ImageSet &images,
                const PictureOptions &picture, const PrintOptions &options)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const int dpi = device.logicalDpiY();
    const QRectF page(0, 0, device.width(), device.height());
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    painter.setFont(font);
    const double headerHeight = QFontMetricsF(font, &device).height() * 1.8;
    const QRectF area(page.left(), page.top() + headerHeight, page.width(), page.height() - headerHeight);

    const qint64 width = qint64(picture.cells.width()) * picture.cellSize;
    const qint64 height = qint64(picture.cells.height()) * picture.cellSize;
    const PrintLayout layout = printLayout(width, height, area.size(), dpi, options);
    // Composing beyond what the paper shows costs time and no sharpness.
    const double devicePerPicture = layout.scale * std::min(1.0, MostUsefulDpi / dpi);
    PictureOptions scaled = picture;
    scaled.cellSize = std::clamp(int(std::ceil(picture.cellSize * devicePerPicture)), 1, picture.cellSize);
    PanelComposer composer(doc, images, scaled);

    const QString header = printHeader(doc);
    const double pageWidth = area.width() / layout.scale;
    const double pageHeight = area.height() / layout.scale;
    for (int n = 0; n < layout.pageCount(); ++n) {
        if (n > 0 && !device.newPage())
            return false;
        const int column = n % layout.across;
        const int row = n / layout.across;
        painter.setPen(Qt::black);
        const QRectF headerRect(page.left(), page.top(), page.width(), headerHeight * 0.7);
        painter.drawText(headerRect, Qt::AlignLeft | Qt::AlignVCenter, header);
        painter.drawText(headerRect, Qt::AlignRight | Qt::AlignVCenter, pageNumberText(n + 1, layout.pageCount()));
        painter.drawLine(QPointF(page.left(), headerRect.bottom()), QPointF(page.right(), headerRect.bottom()));

        const QRectF source = QRectF(column * pageWidth, row * pageHeight, pageWidth, pageHeight)
                                  & QRectF(0, 0, double(width), double(height));
        const QRectF target(area.topLeft(), source.size() * layout.scale);
        painter.save();
        painter.setClipRect(area);
        // The picture is composed near the paper's resolution; smoothing the
        // last step keeps 1-pixel grid lines even when a preview shows the
        // page far smaller.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        drawPart(painter, composer, picture.cellSize, source, target);
        painter.restore();
    }
    return painter.end();
}

}  // namespace kalmor
