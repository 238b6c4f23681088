#include "render/AreaFrames.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace kalmor {

namespace {

constexpr int NameMargin = 3;  // between the frame and the name's box, and inside the box

void drawName(FrameTarget &target, const TOblast &area, const WideRect &cells, const QFont &font)
{
    const QFontMetrics metrics(font);
    const qint64 left = cells.left + AreaFrameWidth;
    const qint64 top = cells.top + AreaFrameWidth;
    const qint64 width = std::min<qint64>(metrics.horizontalAdvance(area.NAME) + 2 * NameMargin,
                                          cells.width - 2 * AreaFrameWidth);
    const qint64 height = std::min<qint64>(metrics.height() + NameMargin, cells.height - 2 * AreaFrameWidth);
    const QRect &clip = target.clip;
    if (width <= 0 || height <= 0 || area.NAME.isEmpty() || left > clip.right() || top > clip.bottom()
        || left + width <= clip.left() || top + height <= clip.top())
        return;
    // Within the clip's reach, so the box fits plain pixel coordinates.
    const QRect box{int(left), int(top), int(width), int(height)};
    fillRect(target, WideRect{left, top, width, height}, AreaDashColours[0]);
    QPainter painter(&target.image);
    painter.translate(-target.origin);
    painter.setClipRect(box & clip);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(AreaNameColour));
    painter.drawText(QPoint(box.left() + NameMargin, box.top() + NameMargin / 2 + metrics.ascent()), area.NAME);
}

}  // namespace

QFont areaNameFont()
{
    QFont font;
    font.setStyleStrategy(QFont::NoAntialias);
    font.setPixelSize(11);
    font.setBold(true);
    return font;
}

void drawAreaFrames(FrameTarget &target, const StationData &doc, int cellSize)
{
    const qint64 cell = std::max(1, cellSize);
    const QFont font = areaNameFont();
    const QRect &clip = target.clip;
    for (const TOblast &area : doc.areas) {
        if (area.SIRKA <= 0 || area.VYSKA <= 0)
            continue;
        const WideRect r{area.X * cell, area.Y * cell, area.SIRKA * cell, area.VYSKA * cell};
        if (r.left > clip.right() || r.top > clip.bottom() || r.left + r.width <= clip.left()
            || r.top + r.height <= clip.top())
            continue;
        const qint64 w = std::min<qint64>(AreaFrameWidth, std::min(r.width, r.height));
        const auto dashed = [&target](const WideRect &band, Qt::Orientation along) {
            fillDashed(target, band, along, AreaDashColours, AreaDashLength);
        };
        dashed(WideRect{r.left, r.top, r.width, w}, Qt::Horizontal);
        dashed(WideRect{r.left, r.top + r.height - w, r.width, w}, Qt::Horizontal);
        dashed(WideRect{r.left, r.top, w, r.height}, Qt::Vertical);
        dashed(WideRect{r.left + r.width - w, r.top, w, r.height}, Qt::Vertical);
        drawName(target, area, r, font);
    }
}

}  // namespace kalmor
