#include "render/ElementDrawing.h"

#include "catalogue/ElementKinds.h"
#include "render/ElementIndex.h"
#include "render/ImageSet.h"
#include "render/Viewport.h"

#include <array>
#include <vector>

namespace kalmor {

namespace {

enum class Placement { Cell, Lamp, Corner, Nothing };

// The comparisons are exact and letter case counts; a name too short for
// a prefix matches none.
Placement placementOf(const QString &name)
{
    switch (elementClassOf(name)) {
    case ElementClass::LabelPlate:
    case ElementClass::TrackTile:
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

const QString CornerLH = QStringLiteral("Ruzek_LH");
const QString CornerLD = QStringLiteral("Ruzek_LD");
const QString CornerPH = QStringLiteral("Ruzek_PH");
const QString CornerPD = QStringLiteral("Ruzek_PD");

// The corner pieces a tile's flags draw, in the order they are drawn,
// with the part of an indexed draw that stands for each.
struct CornerFlag {
    const QString *name;
    DrawPart part;
};
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

// A placed lamp stands where the lamp record at its index says, and is
// as large as that record's picture: a lamp name in the tile or plate
// list borrows both from the lamp record at the same position, when there
// is one.
std::optional<LampOffsets> lampAt(const StationData &doc, qint32 index)
{
    if (index < doc.lamps.count()) {
        const TPoleZarovka &lamp = doc.lamps.at(index);
        return LampOffsets{lamp.ODSAZENI_X, lamp.ODSAZENI_Y, &lamp.NAME};
    }
    return std::nullopt;
}

// One record drawn by the rules: its picture, then for a tile the corner
// pieces its flags ask for.
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
    }
}

constexpr std::array<ElementIndex::Layer, 3> LayerOrder{ElementIndex::Layer::Lamps, ElementIndex::Layer::Tiles,
                                                       ElementIndex::Layer::Plates};

qsizetype countOf(const StationData &doc, ElementIndex::Layer layer)
{
    switch (layer) {
    case ElementIndex::Layer::Lamps: return doc.lamps.count();
    case ElementIndex::Layer::Tiles: return doc.tiles.count();
    case ElementIndex::Layer::Plates: return doc.plates.count();
    }
    return 0;
}

// Draws what the index offers with the rules of draw element, worked out
// once per kind name and frame instead of once per record: at the
// smallest cells a frame holds a hundred thousand records. Pictures are
// opaque where they are not transparent, so they are copied as they are.
class IndexedPainter {
public:
    IndexedPainter(FrameTarget &target, const ImageSet &images, int cellSize, const ElementIndex &index,
                   ElementPainter &plain, const StationData &doc)
        : m_target(target)
        , m_images(images)
        , m_cell(cellSize)
        , m_index(index)
        , m_plain(plain)
        , m_doc(doc)
        , m_names(index.nameCount())
        , m_scaled(std::size_t(images.count()))
    {
        for (std::size_t k = 0; k < CornerFlags.size(); ++k)
            m_corners[k] = resolved(*CornerFlags[k].name);
    }

    void draw(ElementIndex::Layer layer, const IndexedDraw &d)
    {
        if (d.plain) {
            drawRecord(m_plain, m_doc, layer, d.pos);
            return;
        }
        if (d.parts & PartPicture) {
            const Kind &kind = kindOf(d.name);
            switch (kind.placement) {
            case Placement::Cell:
                drawInCell(kind.picture, d.x, d.y);
                break;
            case Placement::Corner:
                drawCorner(kind, d.x, d.y);
                break;
            case Placement::Lamp:
                // Only the lamp list: lamp names elsewhere are drawn plain.
                drawLamp(kind.picture, d);
                break;
            case Placement::Nothing:
                break;
            }
        }
        for (std::size_t k = 0; k < CornerFlags.size(); ++k) {
            if (d.parts & CornerFlags[k].part)
                drawCorner(m_corners[k], d.x, d.y);
        }
    }

private:
    struct Kind {
        bool known = false;
        Placement placement = Placement::Nothing;
        int picture = -1;
        int partner = -1;  // a corner piece's partner and its column offset
        int partnerDx = 0;
    };

    Kind resolved(const QString &name) const
    {
        Kind kind{true, placementOf(name), m_images.indexOf(name), -1, 0};
        if (kind.placement == Placement::Corner) {
            if (const auto partner = cornerPartnerOf(name)) {
                kind.partner = m_images.indexOf(QString::fromLatin1(partner->name));
                kind.partnerDx = partner->dx;
            }
        }
        return kind;
    }

    const Kind &kindOf(quint32 id)
    {
        Kind &kind = m_names[id];
        if (!kind.known)
            kind = resolved(m_index.name(id));
        return kind;
    }

    void drawInCell(int picture, qint64 x, qint64 y)
    {
        if (picture < 0)
            return;
        QImage &scaled = m_scaled[std::size_t(picture)];
        if (scaled.isNull())
            scaled = m_images.scaled(picture, QSize(m_cell, m_cell));
        blitOpaque(m_target, scaled, x * m_cell, y * m_cell);
    }

    void drawCorner(const Kind &kind, qint64 x, qint64 y)
    {
        drawInCell(kind.picture, x, y);
        if (kind.partner >= 0)
            drawInCell(kind.partner, x + kind.partnerDx, y);
    }

    void drawLamp(int picture, const IndexedDraw &d)
    {
        if (picture < 0)
            return;
        const QSize design = m_images.designSize(picture);
        const QSize size(int(lampExtent(design.width(), m_cell)), int(lampExtent(design.height(), m_cell)));
        if (size.isEmpty())
            return;
        blitOpaque(m_target, m_images.scaled(picture, size), d.x * m_cell + d.dx, d.y * m_cell + d.dy);
    }

    FrameTarget &m_target;
    const ImageSet &m_images;
    int m_cell;
    const ElementIndex &m_index;
    ElementPainter &m_plain;
    const StationData &m_doc;
    std::vector<Kind> m_names;     // by name number, worked out when first met
    std::vector<QImage> m_scaled;  // by picture, at the cell size
    std::array<Kind, 4> m_corners;
};

}  // namespace

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
    const QImage &scaled = m_images.scaled(picture, QSize(int(rect.width), int(rect.height)));
    drawScaledPicture(m_target, scaled, rect.left, rect.top, opacity);
}

void drawPlacedElements(FrameTarget &target, const StationData &doc, const ImageSet &images, int cellSize,
                        ElementIndex &index)
{
    ElementPainter plain(target, images, cellSize);
    std::vector<IndexedDraw> draws;
    for (const ElementIndex::Layer layer : LayerOrder) {
        index.gather(layer, doc, target.clip, cellSize, draws);
        // Names met first in this list: the painter knows them all.
        IndexedPainter painter(target, images, cellSize, index, plain, doc);
        for (const IndexedDraw &d : draws)
            painter.draw(layer, d);
    }
}

void drawEveryElement(FrameTarget &target, const StationData &doc, const ImageSet &images, int cellSize)
{
    ElementPainter painter(target, images, cellSize);
    for (const ElementIndex::Layer layer : LayerOrder) {
        for (qint32 i = 0; i < qint32(countOf(doc, layer)); ++i)
            drawRecord(painter, doc, layer, i);
    }
}

void drawPreviews(FrameTarget &target, const ImageSet &images, int cellSize, const RenderState &state,
                  const EditingView &editing)
{
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
