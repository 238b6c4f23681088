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
//
// Records stacked on one cell, one after another in the list with nothing
// else in between that reaches the same pixels, are drawn as one picture
// made of theirs: each pixel shows the last of them that covers it, as it
// would if they were drawn in turn.
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
        , m_scaled(std::size_t(images.count()))
    {
        for (std::size_t k = 0; k < CornerFlags.size(); ++k) {
            m_corners[k] = resolved(*CornerFlags[k].name);
            if (!isBlank(m_corners[k].picture) || !isBlank(m_corners[k].partner))
                m_visibleCorners |= CornerFlags[k].part;
        }
    }

    // Draws what the index gathered for the target, in list order.
    void draw(ElementIndex::Layer layer, const std::vector<IndexedDraw> &draws)
    {
        for (std::size_t i = 0; i < draws.size();) {
            std::size_t end = i + 1;
            while (end < draws.size() && stackable(draws[i]) && stackable(draws[end]) && draws[end].x == draws[i].x
                   && draws[end].y == draws[i].y)
                ++end;
            if (end - i >= StackAt) {
                drawStack(draws, i, end);
            } else {
                for (; i < end; ++i)
                    draw(m_target, layer, draws[i]);
            }
            i = end;
        }
    }

private:
    // Stacks shorter than this are drawn record by record.
    static constexpr std::size_t StackAt = 8;

    struct Kind {
        bool known = false;
        Placement placement = Placement::Nothing;
        int picture = -1;
        int partner = -1;  // a corner piece's partner and its column offset
        int partnerDx = 0;
    };

    void draw(FrameTarget &target, ElementIndex::Layer layer, const IndexedDraw &d)
    {
        if (d.plain) {
            drawRecord(m_plain, m_doc, layer, d.pos);
            return;
        }
        // At the smallest cells most pictures leave no pixel: a cell of
        // one pixel shows the middle of the picture.
        if ((d.parts & ~PartPicture & m_visibleCorners) == 0 && (!(d.parts & PartPicture) || blank(d.name)))
            return;
        if (d.parts & PartPicture) {
            const Kind &kind = kindOf(d.name);
            switch (kind.placement) {
            case Placement::Cell:
                drawInCell(target, kind.picture, d.x, d.y);
                break;
            case Placement::Corner:
                drawCorner(target, kind, d.x, d.y);
                break;
            case Placement::Lamp:
                // Only the lamp list: lamp names elsewhere are drawn plain.
                drawLamp(target, kind.picture, d);
                break;
            case Placement::Nothing:
                break;
            }
        }
        for (std::size_t k = 0; k < CornerFlags.size(); ++k) {
            if (d.parts & CornerFlags[k].part)
                drawCorner(target, m_corners[k], d.x, d.y);
        }
    }

    // Whether the record stays within its cell and the two beside it.
    bool stackable(const IndexedDraw &d)
    {
        return !d.plain && (!(d.parts & PartPicture) || kindOf(d.name).placement != Placement::Lamp);
    }

    // The stack draws[begin .. end) at one cell, as one picture spanning
    // the cell and its two neighbours, made at cell (1, 0) and kept by the
    // pictures it is made of.
    void drawStack(const std::vector<IndexedDraw> &draws, std::size_t begin, std::size_t end)
    {
        QList<quint64> what;
        what.reserve(qsizetype(end - begin));
        for (std::size_t i = begin; i < end; ++i) {
            const Kind &kind = kindOf(draws[i].name);
            what.push_back(quint64(draws[i].parts) | (quint64(quint16(kind.picture + 1)) << 8)
                           | (quint64(quint16(kind.partner + 1)) << 24) | (quint64(kind.partnerDx + 1) << 40)
                           | (quint64(kind.placement) << 44));
        }
        const auto stack = m_images.composite(what, QSize(3 * m_cell, m_cell), [&] {
            QImage picture(3 * m_cell, m_cell, QImage::Format_ARGB32_Premultiplied);
            picture.fill(Qt::transparent);
            FrameTarget made(picture, QPoint(0, 0), picture.rect());
            for (std::size_t i = begin; i < end; ++i) {
                IndexedDraw d = draws[i];
                d.x = 1;
                d.y = 0;
                draw(made, ElementIndex::Layer::Tiles, d);
            }
            return picture;
        });
        const IndexedDraw &at = draws[begin];
        blitOpaque(m_target, *stack, (qint64(at.x) - 1) * m_cell, qint64(at.y) * m_cell);
    }

    // Whether the kind draws nothing at this cell size.
    bool blank(quint32 id)
    {
        if (id >= m_blank.size())
            m_blank.resize(m_index.nameCount(), -1);
        qint8 &known = m_blank[id];
        if (known < 0) {
            const Kind &kind = kindOf(id);
            const bool cellBlank = kind.placement == Placement::Cell || kind.placement == Placement::Corner;
            known = kind.placement == Placement::Nothing
                || (cellBlank && isBlank(kind.picture) && (kind.placement == Placement::Cell || isBlank(kind.partner)));
        }
        return known != 0;
    }

    bool isBlank(int picture)
    {
        return picture < 0 || cellPicture(picture).runs.empty();
    }

    const ScaledPicture &cellPicture(int picture)
    {
        std::shared_ptr<const ScaledPicture> &scaled = m_scaled[std::size_t(picture)];
        if (!scaled)
            scaled = m_images.scaledPicture(picture, QSize(m_cell, m_cell));
        return *scaled;
    }

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
        if (id >= m_names.size())
            m_names.resize(m_index.nameCount());
        Kind &kind = m_names[id];
        if (!kind.known)
            kind = resolved(m_index.name(id));
        return kind;
    }

    void drawInCell(FrameTarget &target, int picture, qint64 x, qint64 y)
    {
        if (picture >= 0)
            blitOpaque(target, cellPicture(picture), x * m_cell, y * m_cell);
    }

    void drawCorner(FrameTarget &target, const Kind &kind, qint64 x, qint64 y)
    {
        drawInCell(target, kind.picture, x, y);
        if (kind.partner >= 0)
            drawInCell(target, kind.partner, x + kind.partnerDx, y);
    }

    void drawLamp(FrameTarget &target, int picture, const IndexedDraw &d)
    {
        if (picture < 0)
            return;
        const QSize design = m_images.designSize(picture);
        const QSize size(int(lampExtent(design.width(), m_cell)), int(lampExtent(design.height(), m_cell)));
        if (size.isEmpty())
            return;
        blitOpaque(target, *m_images.scaledPicture(picture, size), qint64(d.x) * m_cell + d.dx,
                   qint64(d.y) * m_cell + d.dy);
    }

    FrameTarget &m_target;
    const ImageSet &m_images;
    int m_cell;
    const ElementIndex &m_index;
    ElementPainter &m_plain;
    const StationData &m_doc;
    std::vector<Kind> m_names;     // by name number, worked out when first met
    std::vector<qint8> m_blank;    // by name number: -1 not known yet
    quint8 m_visibleCorners = 0;   // the corner parts that leave pixels
    std::vector<std::shared_ptr<const ScaledPicture>> m_scaled;  // by picture, at the cell size
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
    const auto scaled = m_images.scaledPicture(picture, QSize(int(rect.width), int(rect.height)));
    if (opacity >= 255)
        blitOpaque(m_target, *scaled, rect.left, rect.top);
    else
        drawScaledPicture(m_target, scaled->image, rect.left, rect.top, opacity);
}

void drawPlacedElements(FrameTarget &target, const StationData &doc, const ImageSet &images, int cellSize,
                        ElementIndex &index)
{
    ElementPainter plain(target, images, cellSize);
    IndexedPainter painter(target, images, cellSize, index, plain, doc);
    std::vector<IndexedDraw> draws;
    for (const ElementIndex::Layer layer : LayerOrder) {
        index.gather(layer, doc, target.clip, cellSize, draws);
        painter.draw(layer, draws);
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
    // The previews reach the cursor cell, its corner partners beside it
    // and a lamp at its offsets, at most two cells large.
    const qint64 c = cellSize;
    const qint64 x = qint64(editing.cursorColumn) * c;
    const qint64 y = qint64(editing.cursorRow) * c;
    const QRect &clip = target.clip;
    if (std::min(x - c, x + editing.lampOffsetX) > clip.right() || std::max(x + 2 * c, x + editing.lampOffsetX + 2 * c) <= clip.left()
        || std::min(y, y + editing.lampOffsetY) > clip.bottom() || std::max(y + c, y + editing.lampOffsetY + 2 * c) <= clip.top())
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
