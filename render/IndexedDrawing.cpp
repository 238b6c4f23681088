#include "render/IndexedDrawing.h"

#include "catalogue/ElementKinds.h"
#include "render/ImageSet.h"
#include "render/Viewport.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kalmor {

using namespace drawing;

namespace {

struct Kind {
    bool known = false;
    Placement placement = Placement::Nothing;
    int picture = -1;
    int partner = -1;  // a corner piece's partner and its column offset
    int partnerDx = 0;
};

// A kind as the ordered drawing uses it: its pictures at the cell
// size, none where they leave no pixel.
struct Look {
    bool known = false;
    bool lamp = false;
    int lampPicture = -1;
    const ScaledPicture *picture = nullptr;
    const ScaledPicture *partner = nullptr;
    int partnerDx = 0;
};

}  // namespace

// What the painters of a frame's tiles work out once per kind name or
// picture at the frame's cell size.
struct KnownKinds {
    bool ready = false;
    std::vector<Kind> names;     // by name number, worked out when first met
    std::vector<qint8> blank;    // by name number: -1 not known yet
    quint8 visibleCorners = 0;   // the corner parts that leave pixels
    std::vector<std::shared_ptr<const ScaledPicture>> scaled;  // by picture
    std::array<Kind, 4> corners;
    std::vector<Look> looks;  // by name number, when ordering pixels
    std::array<Look, 4> cornerLooks;
};

namespace {

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
    // order: draws may come in any order and are ordered pixel by pixel.
    IndexedPainter(FrameTarget &target, const ImageSet &images, int cellSize, const ElementIndex &index,
                   ElementPainter &plain, const StationData &doc, KnownKinds &known, DrawOrder *order = nullptr)
        : m_target(target)
        , m_images(images)
        , m_cell(cellSize)
        , m_index(index)
        , m_plain(plain)
        , m_doc(doc)
        , m_known(known)
        , m_order(order)
    {
        if (m_known.ready)
            return;
        m_known.ready = true;
        m_known.scaled.resize(std::size_t(images.count()));
        for (std::size_t k = 0; k < CornerFlags.size(); ++k) {
            m_known.corners[k] = resolved(*CornerFlags[k].name);
            if (!isBlank(m_known.corners[k].picture) || !isBlank(m_known.corners[k].partner))
                m_known.visibleCorners |= CornerFlags[k].part;
            m_known.cornerLooks[k] = lookOf(m_known.corners[k]);
        }
    }

    // Draws what the index gathered for the target, in list order unless
    // the painter orders the pixels.
    void draw(ElementIndex::Layer layer, const std::vector<IndexedDraw> &draws)
    {
        if (m_order) {
            drawOrdered(layer, draws);
            return;
        }
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

    // Lists must be shorter than this for their draws to be ordered pixel
    // by pixel: the key holds the layer above the position.
    static constexpr qsizetype OrderedCount = (qsizetype(1) << 30) - 1;

private:
    static quint32 orderKey(ElementIndex::Layer layer, qint32 pos)
    {
        return (quint32(layer) << 30) + quint32(pos) + 1;
    }

    // Stacks, drawn into pictures of their own, are never drawn while
    // ordering pixels.
    void blit(FrameTarget &target, const ScaledPicture &picture, qint64 left, qint64 top)
    {
        if (m_order)
            blitInOrder(target, *m_order, m_key, picture, left, top);
        else
            blitOpaque(target, picture, left, top);
    }

    Look lookOf(const Kind &kind)
    {
        Look look;
        look.known = true;
        look.lamp = kind.placement == Placement::Lamp;
        look.lampPicture = kind.picture;
        const auto visible = [this](int picture) { return isBlank(picture) ? nullptr : &cellPicture(picture); };
        if (kind.placement == Placement::Cell || kind.placement == Placement::Corner)
            look.picture = visible(kind.picture);
        if (kind.placement == Placement::Corner) {
            look.partner = visible(kind.partner);
            look.partnerDx = kind.partnerDx;
        }
        return look;
    }

    void put(const Look &look, qint64 x, qint64 y)
    {
        if (look.picture)
            blitInOrder(m_target, *m_order, m_key, *look.picture, x * m_cell, y * m_cell);
        if (look.partner)
            blitInOrder(m_target, *m_order, m_key, *look.partner, (x + look.partnerDx) * m_cell, y * m_cell);
    }

    // The draws in the order the index kept them, each pixel keeping the
    // last draw in list order: one short pass, as these cells are drawn
    // by the hundred thousand.
    void drawOrdered(ElementIndex::Layer layer, const std::vector<IndexedDraw> &draws)
    {
        if (m_known.looks.size() < m_index.nameCount())
            m_known.looks.resize(m_index.nameCount());
        const quint8 corners = m_known.visibleCorners;
        for (const IndexedDraw &d : draws) {
            m_key = orderKey(layer, d.pos);
            if (d.plain) {
                m_plain.orderBy(m_order, m_key);
                drawRecord(m_plain, m_doc, layer, d.pos);
                continue;
            }
            if (d.parts & PartPicture) {
                Look &look = m_known.looks[d.name];
                if (!look.known)
                    look = lookOf(kindOf(d.name));
                if (look.lamp)
                    drawLamp(m_target, look.lampPicture, d);
                else
                    put(look, d.x, d.y);
            }
            if ((d.parts & corners) & ~PartPicture) {
                for (std::size_t k = 0; k < CornerFlags.size(); ++k) {
                    if (d.parts & CornerFlags[k].part)
                        put(m_known.cornerLooks[k], d.x, d.y);
                }
            }
        }
    }

    // Stacks shorter than this are drawn record by record.
    static constexpr std::size_t StackAt = 8;

    void draw(FrameTarget &target, ElementIndex::Layer layer, const IndexedDraw &d)
    {
        if (d.plain) {
            drawRecord(m_plain, m_doc, layer, d.pos);
            return;
        }
        // At the smallest cells most pictures leave no pixel: a cell of
        // one pixel shows the middle of the picture.
        if ((d.parts & ~PartPicture & m_known.visibleCorners) == 0 && (!(d.parts & PartPicture) || blank(d.name)))
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
                drawCorner(target, m_known.corners[k], d.x, d.y);
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
            // Every pixel of a stretched picture is the design pixel under
            // its centre, the same for the stack as for each of its
            // pictures: made at the design size and stretched once, the
            // stack looks the same as from its pictures stretched one by
            // one, which at large cells takes longer than a whole frame.
            if (m_cell == Viewport::DesignCellSize || !designSized(draws, begin, end))
                return stackPicture(draws, begin, end);
            KnownKinds known;
            IndexedPainter designed(m_target, m_images, Viewport::DesignCellSize, m_index, m_plain, m_doc, known);
            return ImageSet::stretch(designed.stackPicture(draws, begin, end), QSize(3 * m_cell, m_cell));
        });
        const IndexedDraw &at = draws[begin];
        blitOpaque(m_target, *stack, (qint64(at.x) - 1) * m_cell, qint64(at.y) * m_cell);
    }

    QImage stackPicture(const std::vector<IndexedDraw> &draws, std::size_t begin, std::size_t end)
    {
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
    }

    // Whether every picture the stack may draw is a cell at the design size.
    bool designSized(const std::vector<IndexedDraw> &draws, std::size_t begin, std::size_t end)
    {
        const QSize design(Viewport::DesignCellSize, Viewport::DesignCellSize);
        const auto fits = [&](const Kind &kind) {
            return (kind.picture < 0 || m_images.designSize(kind.picture) == design)
                && (kind.partner < 0 || m_images.designSize(kind.partner) == design);
        };
        if (!std::all_of(m_known.corners.begin(), m_known.corners.end(), fits))
            return false;
        for (std::size_t i = begin; i < end; ++i) {
            if ((draws[i].parts & PartPicture) && !fits(kindOf(draws[i].name)))
                return false;
        }
        return true;
    }

    // Whether the kind draws nothing at this cell size.
    bool blank(quint32 id)
    {
        if (id >= m_known.blank.size())
            m_known.blank.resize(m_index.nameCount(), -1);
        qint8 &known = m_known.blank[id];
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
        std::shared_ptr<const ScaledPicture> &scaled = m_known.scaled[std::size_t(picture)];
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
        if (id >= m_known.names.size())
            m_known.names.resize(m_index.nameCount());
        Kind &kind = m_known.names[id];
        if (!kind.known)
            kind = resolved(m_index.name(id));
        return kind;
    }

    void drawInCell(FrameTarget &target, int picture, qint64 x, qint64 y)
    {
        if (picture >= 0)
            blit(target, cellPicture(picture), x * m_cell, y * m_cell);
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
        blit(target, *m_images.scaledPicture(picture, size), qint64(d.x) * m_cell + d.dx, qint64(d.y) * m_cell + d.dy);
    }

    FrameTarget &m_target;
    const ImageSet &m_images;
    int m_cell;
    const ElementIndex &m_index;
    ElementPainter &m_plain;
    const StationData &m_doc;
    KnownKinds &m_known;
    DrawOrder *m_order;
    quint32 m_key = 0;  // of the draw under way, when ordering pixels
};

// Cells up to this size are drawn in the order the index keeps records
// and ordered pixel by pixel: their pictures have a few pixels each, so
// ordering those costs less than sorting the records.
constexpr int OrderedPixelsUpTo = 6;

void gather(ElementIndex &index, PlacedScratch &scratch, ElementIndex::Layer layer, const StationData &doc,
            const QRect &clip, int cellSize, ElementIndex::Order order)
{
    const auto held = scratch.holdShared();
    index.gather(layer, doc, clip, cellSize, scratch.draws, order);
}

// drawPlacedElements() with the pixels ordered; false, drawing nothing,
// where a list is too long for the order keys.
bool drawOrderingPixels(FrameTarget &target, const StationData &doc, const ImageSet &images, int cellSize,
                        ElementIndex &index, PlacedScratch &scratch, ElementPainter &plain)
{
    for (const ElementIndex::Layer layer : LayerOrder) {
        if (countOf(doc, layer) >= IndexedPainter::OrderedCount)
            return false;
    }
    scratch.order.reset(target.clip);
    IndexedPainter painter(target, images, cellSize, index, plain, doc, *scratch.known, &scratch.order);
    for (const ElementIndex::Layer layer : LayerOrder) {
        gather(index, scratch, layer, doc, target.clip, cellSize, ElementIndex::Order::Any);
        painter.draw(layer, scratch.draws);
    }
    return true;
}

}  // namespace

PlacedScratch::PlacedScratch() : known(std::make_shared<KnownKinds>()) {}

void drawPlacedElements(FrameTarget &target, const StationData &doc, const ImageSet &images, int cellSize,
                        ElementIndex &index, PlacedScratch &scratch)
{
    ElementPainter plain(target, images, cellSize);
    if (cellSize <= OrderedPixelsUpTo && drawOrderingPixels(target, doc, images, cellSize, index, scratch, plain))
        return;
    IndexedPainter painter(target, images, cellSize, index, plain, doc, *scratch.known);
    for (const ElementIndex::Layer layer : LayerOrder) {
        gather(index, scratch, layer, doc, target.clip, cellSize, ElementIndex::Order::List);
        painter.draw(layer, scratch.draws);
    }
}

}  // namespace kalmor
