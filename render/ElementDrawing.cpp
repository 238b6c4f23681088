#include "render/ElementDrawing.h"

#include "catalogue/ElementKinds.h"
#include "render/ImageSet.h"
#include "render/Viewport.h"

#include <algorithm>

namespace kalmor {

namespace {

// A placed lamp stands where the lamp record at its index says, and is
// as large as that record's picture: a lamp name in another list borrows both from the lamp record at the same position, when there
// is one.
std::optional<LampOffsets> lampAt(const StationData &doc, qint32 index)
{
    if (index < doc.lamps.count()) {
        const TPoleZarovka &lamp = doc.lamps.at(index);
        return LampOffsets{lamp.ODSAZENI_X, lamp.ODSAZENI_Y, &lamp.NAME};
    }
    return std::nullopt;
}

const QString CornerLH = QStringLiteral("Ruzek_LH");
const QString CornerLD = QStringLiteral("Ruzek_LD");
const QString CornerPH = QStringLiteral("Ruzek_PH");
const QString CornerPD = QStringLiteral("Ruzek_PD");

}  // namespace

namespace drawing {

// The comparisons are exact and letter case counts; a name too short for
// a prefix matches none.
Placement placementOf(const QString &name)
{
    switch (elementClassOf(name)) {
    case ElementClass::LabelPlate:
    case ElementClass::TrackTile:
    case ElementClass::DeskElement:
        return Placement::Cell;
    case ElementClass::Lamp:
        return Placement::Lamp;
    case ElementClass::None:
        break;
    }
    if (name.size() >= 5 && QStringView(name).first(5) == u"Ruzek")
        return Placement::Corner;
    return Placement::Nothing;
}

const std::array<CornerFlag, 4> CornerFlags{{
    {&CornerLH, PartCornerLH},
    {&CornerLD, PartCornerLD},
    {&CornerPH, PartCornerPH},
    {&CornerPD, PartCornerPD},
}};

qint64 lampExtent(int design, qint64 cell)
{
    return qRound(double(design) / Viewport::DesignCellSize * double(cell));
}

void drawRecord(ElementPainter &painter, const StationData &doc, ElementIndex::Layer layer, qint32 i)
{
    switch (layer) {
    case ElementIndex::Layer::Lamps: {
        const TPoleZarovka &r = doc.lamps.at(i);
        painter.draw(r.NAME, r.X, r.Y, 255, lampAt(doc, i));
        return;
    }
    case ElementIndex::Layer::Tiles: {
        const TPolePanelu &r = doc.tiles.at(i);
        painter.draw(r.NAME, r.X, r.Y, 255, lampAt(doc, i));
        const bool flags[] = {r.Cont_LH, r.Cont_LD, r.Cont_PH, r.Cont_PD};
        for (std::size_t k = 0; k < CornerFlags.size(); ++k) {
            if (flags[k])
                painter.draw(*CornerFlags[k].name, r.X, r.Y, 255, std::nullopt);
        }
        return;
    }
    case ElementIndex::Layer::Plates: {
        const TPoleStitek &r = doc.plates.at(i);
        painter.draw(r.NAME, r.X, r.Y, 255, lampAt(doc, i));
        return;
    }
    case ElementIndex::Layer::Desk: {
        const TPolePrvek &r = doc.deskElements.at(i);
        painter.draw(r.NAME, r.X, r.Y, 255, lampAt(doc, i));
        return;
    }
    }
}

qsizetype countOf(const StationData &doc, ElementIndex::Layer layer)
{
    switch (layer) {
    case ElementIndex::Layer::Lamps: return doc.lamps.count();
    case ElementIndex::Layer::Tiles: return doc.tiles.count();
    case ElementIndex::Layer::Plates: return doc.plates.count();
    case ElementIndex::Layer::Desk: return doc.deskElements.count();
    }
    return 0;
}

}  // namespace drawing

using namespace drawing;

ElementPainter::ElementPainter(FrameTarget &target, const ImageSet &images, int cellSize)
    : m_target(target), m_images(images), m_cell(cellSize)
{
}

void ElementPainter::draw(const QString &name, qint64 x, qint64 y, int opacity,
                          const std::optional<LampOffsets> &offsets)
{
    switch (placementOf(name)) {
    case Placement::Nothing:
        return;
    case Placement::Cell:
        drawInCell(name, x, y, opacity);
        return;
    case Placement::Corner:
        drawInCell(name, x, y, opacity);
        if (const auto partner = cornerPartnerOf(name))
            drawInCell(QString::fromLatin1(partner->name), x + partner->dx, y, opacity);
        return;
    case Placement::Lamp:
        if (offsets)
            drawLamp(name, x, y, opacity, *offsets);
        return;
    }
}

void ElementPainter::drawInCell(const QString &name, qint64 x, qint64 y, int opacity)
{
    drawPicture(name, WideRect{x * m_cell, y * m_cell, m_cell, m_cell}, opacity);
}

void ElementPainter::drawLamp(const QString &name, qint64 x, qint64 y, int opacity, const LampOffsets &offsets)
{
    const int picture = m_images.indexOf(name);
    const bool ownSize = offsets.sizeName == nullptr || offsets.sizeName == &name || *offsets.sizeName == name;
    const int sizePicture = ownSize ? picture : m_images.indexOf(*offsets.sizeName);
    if (picture < 0 || sizePicture < 0)
        return;
    const QSize design = m_images.designSize(sizePicture);
    drawPicture(picture,
                WideRect{x * m_cell + offsets.x, y * m_cell + offsets.y, lampExtent(design.width(), m_cell),
                         lampExtent(design.height(), m_cell)},
                opacity);
}

// A name with a class but without a picture is passed over, so one
// misspelt record read from a file cannot stop the frame.
void ElementPainter::drawPicture(const QString &name, const WideRect &rect, int opacity)
{
    const int picture = m_images.indexOf(name);
    if (picture >= 0)
        drawPicture(picture, rect, opacity);
}

void ElementPainter::drawPicture(int picture, const WideRect &rect, int opacity)
{
    const QRect &clip = m_target.clip;
    const bool reaches = rect.left <= clip.right() && rect.left + rect.width > clip.left()
        && rect.top <= clip.bottom() && rect.top + rect.height > clip.top();
    if (opacity <= 0 || rect.width <= 0 || rect.height <= 0 || !reaches)
        return;
    const auto scaled = m_images.scaledPicture(picture, QSize(int(rect.width), int(rect.height)));
    if (opacity >= 255 && m_order)
        blitInOrder(m_target, *m_order, m_key, *scaled, rect.left, rect.top);
    else if (opacity >= 255)
        blitOpaque(m_target, *scaled, rect.left, rect.top);
    else
        drawScaledPicture(m_target, scaled->image, rect.left, rect.top, opacity);
}

void drawEveryElement(FrameTarget &target, const StationData &doc, const ImageSet &images, int cellSize)
{
    ElementPainter painter(target, images, cellSize);
    for (const ElementIndex::Layer layer : LayerOrder) {
        for (qint32 i = 0; i < qint32(countOf(doc, layer)); ++i)
            drawRecord(painter, doc, layer, i);
    }
}

namespace {

WideRect previewBound(qint64 cell, const EditingView &editing)
{
    const qint64 x = qint64(editing.cursorColumn) * cell;
    const qint64 y = qint64(editing.cursorRow) * cell;
    const qint64 left = std::min(x - cell, x + editing.lampOffsetX);
    const qint64 top = std::min(y, y + editing.lampOffsetY);
    const qint64 right = std::max(x + 2 * cell, x + editing.lampOffsetX + 2 * cell);
    const qint64 bottom = std::max(y + cell, y + editing.lampOffsetY + 2 * cell);
    return WideRect{left, top, right - left, bottom - top};
}

bool meets(const WideRect &r, const QRect &clip)
{
    return r.left <= clip.right() && r.left + r.width > clip.left() && r.top <= clip.bottom()
        && r.top + r.height > clip.top();
}

}  // namespace

QRect previewReach(int cellSize, const RenderState &state, const EditingView &editing)
{
    const bool anyCorner = std::find(editing.cornerChecks.begin(), editing.cornerChecks.end(), true)
        != editing.cornerChecks.end();
    if (!anyCorner && !state.switches.preview)
        return {};
    const WideRect r = previewBound(cellSize, editing);
    const QSize surface = state.surfaceSize;
    const qint64 left = std::clamp<qint64>(r.left, 0, surface.width());
    const qint64 top = std::clamp<qint64>(r.top, 0, surface.height());
    const qint64 right = std::clamp<qint64>(r.left + r.width, 0, surface.width());
    const qint64 bottom = std::clamp<qint64>(r.top + r.height, 0, surface.height());
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

void drawPreviews(FrameTarget &target, const ImageSet &images, int cellSize, const RenderState &state,
                  const EditingView &editing)
{
    if (!meets(previewBound(cellSize, editing), target.clip))
        return;
    ElementPainter painter(target, images, cellSize);
    const LampOffsets offsets{editing.lampOffsetX, editing.lampOffsetY, &editing.currentKind};
    for (std::size_t i = 0; i < CornerFlags.size(); ++i) {
        if (editing.cornerChecks[i])
            painter.draw(*CornerFlags[i].name, editing.cursorColumn, editing.cursorRow, state.previewOpacity,
                         offsets);
    }
    if (state.switches.preview)
        painter.draw(editing.currentKind, editing.cursorColumn, editing.cursorRow, state.previewOpacity, offsets);
}

}  // namespace kalmor
