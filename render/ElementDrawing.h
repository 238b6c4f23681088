#pragma once

#include "document/StationDocument.h"
#include "render/index/ElementIndex.h"
#include "render/FrameInputs.h"
#include "render/PictureDrawing.h"

#include <QString>

#include <array>
#include <optional>

namespace kalmor {

class ImageSet;

// Where a lamp stands in its cell, and the picture whose size gives the
// lamp rectangle's: for a placed element the lamp record at its index,
// for the preview the current element kind.
struct LampOffsets {
    qint64 x = 0;
    qint64 y = 0;
    const QString *sizeName = nullptr;
};

// Draw element: one name at one cell, its picture scaled into the cell or
// lamp rectangle, a corner piece with its partner.
class ElementPainter {
public:
    ElementPainter(FrameTarget &target, const ImageSet &images, int cellSize);

    // offsets: where a lamp stands in its cell and which picture gives its
    // size; a lamp without them (a lamp name in another list past the end
    // of the lamp list) is not drawn.
    void draw(const QString &name, qint64 x, qint64 y, int opacity, const std::optional<LampOffsets> &offsets);

    // Opaque draws from now on copy only the pixels whose last draw came
    // before the key's (see DrawOrder); none: all of them.
    void orderBy(DrawOrder *order, quint32 key)
    {
        m_order = order;
        m_key = key;
    }

private:
    void drawInCell(const QString &name, qint64 x, qint64 y, int opacity);
    void drawLamp(const QString &name, qint64 x, qint64 y, int opacity, const LampOffsets &offsets);
    void drawPicture(const QString &name, const WideRect &rect, int opacity);
    void drawPicture(int picture, const WideRect &rect, int opacity);

    FrameTarget &m_target;
    const ImageSet &m_images;
    qint64 m_cell;
    DrawOrder *m_order = nullptr;
    quint32 m_key = 0;
};

// The rules of draw element that drawing through the cell index shares.
namespace drawing {

enum class Placement { Cell, Lamp, Corner, Nothing };
Placement placementOf(const QString &name);

// The corner pieces a tile's flags draw, in the order they are drawn,
// with the part of an indexed draw that stands for each.
struct CornerFlag {
    const QString *name;
    DrawPart part;
};
extern const std::array<CornerFlag, 4> CornerFlags;

// The side of a lamp's rectangle, of a picture designed that large.
qint64 lampExtent(int design, qint64 cell);

// One record drawn by the rules: its picture, then for a tile the corner
// pieces its flags ask for.
void drawRecord(ElementPainter &painter, const StationData &doc, ElementIndex::Layer layer, qint32 i);

inline constexpr std::array<ElementIndex::Layer, 4> LayerOrder{ElementIndex::Layer::Lamps, ElementIndex::Layer::Tiles,
                                                              ElementIndex::Layer::Plates, ElementIndex::Layer::Desk};
qsizetype countOf(const StationData &doc, ElementIndex::Layer layer);

}  // namespace drawing

// The same by walking every record of every list and drawing each in
// turn, exactly as the rules state it: the plain way, against which the
// index's way is tested and measured.
void drawEveryElement(FrameTarget &target, const StationData &doc, const ImageSet &images, int cellSize);

// The surface pixels the previews at the cursor cell may reach (a bound,
// clipped to the surface): the cursor cell, its corner partners beside it
// and a lamp at its offsets, at most two cells large. Empty when no
// preview is drawn.
QRect previewReach(int cellSize, const RenderState &state, const EditingView &editing);

// The previews at the cursor cell, blended: the corner pieces of the
// checked corner-division boxes, then the current element kind.
void drawPreviews(FrameTarget &target, const ImageSet &images, int cellSize, const RenderState &state,
                  const EditingView &editing);

}  // namespace kalmor
