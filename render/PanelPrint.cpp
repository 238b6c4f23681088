#include "render/PanelPrint.h"

#include "document/FileErrors.h"
#include "document/SafeFile.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace kalmor {

namespace {

constexpr double ScreenDpi = 96;
constexpr double MostUsefulDpi = 300;
constexpr double MillimetresPerInch = 25.4;
constexpr qint64 PieceBudget = 4'000'000;
// Cut marks: lines of this length, starting this far from a corner of the
// panel, so that they never reach into it.
constexpr double MarkLengthMm = 6;
constexpr double MarkGapMm = 1.5;

double millimetres(double mm, int dpi)
{
    return mm / MillimetresPerInch * dpi;
}

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

// Two short lines at each corner of the panel's part on a page, in line
// with its edges and pointing away from it.
void drawCutMarks(QPainter &painter, const QRectF &panel, int dpi)
{
    const double gap = millimetres(MarkGapMm, dpi);
    const double length = millimetres(MarkLengthMm, dpi);
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, dpi / 300.0));
    painter.setPen(pen);
    for (const QPointF corner : {panel.topLeft(), panel.topRight(), panel.bottomLeft(), panel.bottomRight()}) {
        const double outX = corner.x() == panel.left() ? -1 : 1;
        const double outY = corner.y() == panel.top() ? -1 : 1;
        painter.drawLine(QPointF(corner.x() + outX * gap, corner.y()), QPointF(corner.x() + outX * (gap + length), corner.y()));
        painter.drawLine(QPointF(corner.x(), corner.y() + outY * gap), QPointF(corner.x(), corner.y() + outY * (gap + length)));
    }
}

// Where the panel goes on the pages: the part below the header, and in
// real size also inside the margin of the marks.
struct PageFrame {
    QRectF page;
    QRectF header;
    QRectF area;
};

PageFrame pageFrame(QPagedPaintDevice &device, const QFont &font, const PrintOptions &options)
{
    PageFrame f;
    f.page = QRectF(0, 0, device.width(), device.height());
    const double headerHeight = QFontMetricsF(font, &device).height() * 1.8;
    f.header = QRectF(f.page.left(), f.page.top(), f.page.width(), headerHeight * 0.7);
    f.area = QRectF(f.page.left(), f.page.top() + headerHeight, f.page.width(), f.page.height() - headerHeight);
    if (options.fieldMm > 0) {
        const double margin = millimetres(RealSizeMarginMm, device.logicalDpiY());
        f.area.adjust(margin, margin, -margin, -margin);
    }
    return f;
}

}  // namespace

PrintLayout printLayout(qint64 pictureWidth, qint64 pictureHeight, QSizeF area, int dpi, const PrintOptions &options,
                        int cellSize)
{
    PrintLayout layout;
    const double w = double(std::max<qint64>(1, pictureWidth));
    const double h = double(std::max<qint64>(1, pictureHeight));
    if (options.fieldMm <= 0 && options.fitToPage) {
        layout.scale = std::min(area.width() / w, area.height() / h);
        return layout;
    }
    if (options.fieldMm > 0)
        layout.scale = millimetres(options.fieldMm, dpi) / std::max(1, cellSize);
    else
        layout.scale = std::max(1, options.scalePercent) / 100.0 * dpi / ScreenDpi;
    // A hair of rounding must not start a page for a sliver.
    layout.across = std::max(1, int(std::ceil(w * layout.scale / area.width() - 1e-9)));
    layout.down = std::max(1, int(std::ceil(h * layout.scale / area.height() - 1e-9)));
    return layout;
}

QString printHeader(const StationData &doc, const QString &areaName)
{
    QString header = QStringLiteral("Stanice: %1    Autor: %2    Verze: %3    Vydáno: %4")
                         .arg(doc.stationName, doc.author, doc.version, doc.issueDate);
    if (!areaName.isEmpty())
        header += QStringLiteral("    Oblast: ") + areaName;
    return header;
}

QString pageNumberText(int page, int pages)
{
    return QStringLiteral("strana %1 / %2").arg(page).arg(pages);
}

QString pagePlaceText(int row, int column)
{
    return QStringLiteral("řada %1, sloupec %2").arg(row).arg(column);
}

bool printPanel(QPagedPaintDevice &device, const StationData &doc, const ImageSet &images,
                const PictureOptions &picture, const PrintOptions &options)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const int dpi = device.logicalDpiY();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    painter.setFont(font);
    const PageFrame frame = pageFrame(device, font, options);

    const qint64 width = qint64(picture.cells.width()) * picture.cellSize;
    const qint64 height = qint64(picture.cells.height()) * picture.cellSize;
    const PrintLayout layout = printLayout(width, height, frame.area.size(), dpi, options, picture.cellSize);
    // Composing beyond what the paper shows costs time and no sharpness.
    const double devicePerPicture = layout.scale * std::min(1.0, MostUsefulDpi / dpi);
    PictureOptions scaled = picture;
    scaled.cellSize = std::clamp(int(std::ceil(picture.cellSize * devicePerPicture)), 1, picture.cellSize);
    PanelComposer composer(doc, images, scaled);

    const QString header = printHeader(doc, options.areaName);
    const double pageWidth = frame.area.width() / layout.scale;
    const double pageHeight = frame.area.height() / layout.scale;
    for (int n = 0; n < layout.pageCount(); ++n) {
        if (n > 0 && !device.newPage())
            return false;
        const int column = n % layout.across;
        const int row = n / layout.across;
        painter.setPen(Qt::black);
        painter.drawText(frame.header, Qt::AlignLeft | Qt::AlignVCenter, header);
        painter.drawText(frame.header, Qt::AlignRight | Qt::AlignVCenter, pageNumberText(n + 1, layout.pageCount()));
        painter.drawLine(QPointF(frame.page.left(), frame.header.bottom()),
                         QPointF(frame.page.right(), frame.header.bottom()));

        const QRectF source = QRectF(column * pageWidth, row * pageHeight, pageWidth, pageHeight)
                                  & QRectF(0, 0, double(width), double(height));
        const QRectF target(frame.area.topLeft(), source.size() * layout.scale);
        painter.save();
        painter.setClipRect(frame.area);
        // The picture is composed near the paper's resolution; smoothing the
        // last step keeps 1-pixel grid lines even when a preview shows the
        // page far smaller.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        drawPart(painter, composer, picture.cellSize, source, target);
        painter.restore();
        if (options.fieldMm > 0) {
            drawCutMarks(painter, target, dpi);
            const QRectF place(target.left(), frame.page.bottom() - millimetres(RealSizeMarginMm, dpi) * 0.6,
                               frame.page.width() - target.left(), millimetres(RealSizeMarginMm, dpi) * 0.5);
            painter.drawText(place, Qt::AlignLeft | Qt::AlignVCenter, pagePlaceText(row + 1, column + 1));
        }
    }
    return painter.end();
}

QString writeRealSizePdf(const QString &path, const StationData &doc, const ImageSet &images,
                         const PictureOptions &picture, const PrintOptions &options)
{
    SafeFile out(path);
    if (!out.open())
        return out.error();
    bool printed = false;
    {
        QPdfWriter pdf(&out.device());
        pdf.setTitle(doc.stationName);
        pdf.setCreator(QStringLiteral("Kalmor"));
        pdf.setResolution(int(MostUsefulDpi));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
        printed = printPanel(pdf, doc, images, picture, options);
    }
    if (printed && out.commit())
        return {};
    return out.errorNumber() != 0 ? out.error() : fileErrorMessage(EIO);
}

}  // namespace kalmor
