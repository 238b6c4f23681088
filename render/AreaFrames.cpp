#include "render/AreaFrames.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>

namespace kalmor {

namespace {

constexpr int NameMargin = 3;  // between the frame and the name's box, and inside the box

// The box of an area's name at its top-left corner, within the area.
WideRect nameBox(const TOblast &area, const WideRect &cells, const QFontMetrics &metrics)
{
    const qint64 left = cells.left + AreaFrameWidth;
    const qint64 top = cells.top + AreaFrameWidth;
    const qint64 width = std::min<qint64>(metrics.horizontalAdvance(area.NAME) + 2 * NameMargin,
                                          cells.width - 2 * AreaFrameWidth);
    const qint64 height = std::min<qint64>(metrics.height() + NameMargin, cells.height - 2 * AreaFrameWidth);
    return WideRect{left, top, width, height};
}

bool reaches(const WideRect &r, const QRect &clip)
{
    return r.width > 0 && r.height > 0 && r.left <= clip.right() && r.top <= clip.bottom()
        && r.left + r.width > clip.left() && r.top + r.height > clip.top();
}

void drawName(FrameTarget &target, const TOblast &area, const WideRect &cells, const QFont &font)
{
    const QFontMetrics metrics(font);
    const WideRect name = nameBox(area, cells, metrics);
    const QRect &clip = target.clip;
    if (area.NAME.isEmpty() || !reaches(name, clip))
        return;
    // Within the clip's reach, so the box fits plain pixel coordinates.
    const QRect box{int(name.left), int(name.top), int(name.width), int(name.height)};
    fillRect(target, name, AreaDashColours[0]);
    QPainter painter(&target.image);
    painter.translate(-target.origin);
    painter.setClipRect(box & clip);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(AreaNameColour));
    painter.drawText(QPoint(box.left() + NameMargin, box.top() + NameMargin / 2 + metrics.ascent()), area.NAME);
}

// The cells of every area with room inside, reaching the clip.
template <class Visit>
void forAreas(const StationData &doc, int cellSize, const QRect &clip, Visit visit)
{
    const qint64 cell = std::max(1, cellSize);
    for (const TOblast &area : doc.areas) {
        if (area.SIRKA <= 0 || area.VYSKA <= 0)
            continue;
        const WideRect r{area.X * cell, area.Y * cell, area.SIRKA * cell, area.VYSKA * cell};
        if (reaches(r, clip))
            visit(area, r, std::min<qint64>(AreaFrameWidth, std::min(r.width, r.height)));
    }
}

std::array<WideRect, 4> frameBands(const WideRect &r, qint64 w)
{
    return {WideRect{r.left, r.top, r.width, w}, WideRect{r.left, r.top + r.height - w, r.width, w},
            WideRect{r.left, r.top, w, r.height}, WideRect{r.left + r.width - w, r.top, w, r.height}};
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
    const QFont font = areaNameFont();
    forAreas(doc, cellSize, target.clip, [&](const TOblast &area, const WideRect &r, qint64 w) {
        const std::array<WideRect, 4> bands = frameBands(r, w);
        for (std::size_t b = 0; b < bands.size(); ++b)
            fillDashed(target, bands[b], b < 2 ? Qt::Horizontal : Qt::Vertical, AreaDashColours, AreaDashLength);
        drawName(target, area, r, font);
    });
}

std::vector<WideRect> areaFramesReach(const StationData &doc, int cellSize, const QRect &clip)
{
    std::vector<WideRect> reach;
    const QFontMetrics metrics(areaNameFont());
    forAreas(doc, cellSize, clip, [&](const TOblast &area, const WideRect &r, qint64 w) {
        for (const WideRect &band : frameBands(r, w))
            reach.push_back(band);
        if (!area.NAME.isEmpty())
            reach.push_back(nameBox(area, r, metrics));
    });
    return reach;
}

}  // namespace kalmor
