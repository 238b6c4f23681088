#include "render/FrameComposer.h"

#include "catalogue/ElementKinds.h"
#include "render/ElementIndex.h"
#include "render/FrameOverlays.h"
#include "render/ImageSet.h"
#include "render/PictureDrawing.h"
#include "render/SystemColours.h"
#include "render/Viewport.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <optional>
#include <vector>

namespace kalmor {

CanvasState::CanvasState() : font(QGuiApplication::font())
{
    // Plain pixels in one colour: the diagnostic texts look the same on
    // every background and in every part of the surface. The lines stand
    // 10 pixels apart, so the font must be small enough not to overlap.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setPixelSize(8);
}

std::array<QString, 6> diagnosticLines(const RenderState &state, const EditingView &editing,
                                       const StationData &doc)
{
    return {
        QStringLiteral("RefreshStopCount: ") + QString::number(state.lagCount),
        QStringLiteral("RefreshTick/FrameRate: ") + QString::number(state.frameRate),
        QStringLiteral("ArrayLength_P : ") + QString::number(doc.tiles.count()),
        QStringLiteral("ArrayLength_Z: ") + QString::number(doc.lamps.count()),
        QStringLiteral("ArrayLength_S: ") + QString::number(doc.plates.count()),
        QStringLiteral("Position: X=") + QString::number(editing.cursorColumn) + QStringLiteral(" Y=")
            + QString::number(editing.cursorRow),
    };
}

namespace {

// Where a lamp stands in its cell, and the picture whose size gives the
// lamp rectangle's: for a placed element the lamp record at its index,
// for the preview the current element kind.
struct LampOffsets {
    qint64 x = 0;
    qint64 y = 0;
    const QString *sizeName = nullptr;
};

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

// Draw element: one name at one cell, its picture scaled into the cell or
// lamp rectangle, a corner piece with its partner.
class ElementPainter {
public:
    ElementPainter(FrameTarget &target, const ImageSet &images, int cellSize)
        : m_target(target), m_images(images), m_cell(cellSize)
    {
    }

    // offsets: where a lamp stands in its cell and which picture gives its
    // size; a lamp without them (a lamp name in another list past the end
    // of the lamp list) is not drawn.
    void draw(const QString &name, qint64 x, qint64 y, int opacity, const std::optional<LampOffsets> &offsets)
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

private:
    void drawInCell(const QString &name, qint64 x, qint64 y, int opacity)
    {
        drawPicture(name, WideRect{x * m_cell, y * m_cell, m_cell, m_cell}, opacity);
    }

    void drawLamp(const QString &name, qint64 x, qint64 y, int opacity, const LampOffsets &offsets)
    {
        const int picture = m_images.indexOf(name);
        const bool ownSize = offsets.sizeName == nullptr || offsets.sizeName == &name || *offsets.sizeName == name;
        const int sizePicture = ownSize ? picture : m_images.indexOf(*offsets.sizeName);
        if (picture < 0 || sizePicture < 0)
            return;
        const QSize design = m_images.designSize(sizePicture);
        const qint64 w = qRound(double(design.width()) / Viewport::DesignCellSize * m_cell);
        const qint64 h = qRound(double(design.height()) / Viewport::DesignCellSize * m_cell);
        drawPicture(picture, WideRect{x * m_cell + offsets.x, y * m_cell + offsets.y, w, h}, opacity);
    }

    // A name with a class but without a picture is passed over, so one
    // misspelt record read from a file cannot stop the frame.
    void drawPicture(const QString &name, const WideRect &rect, int opacity)
    {
        const int picture = m_images.indexOf(name);
        if (picture >= 0)
            drawPicture(picture, rect, opacity);
    }

    void drawPicture(int picture, const WideRect &rect, int opacity)
    {
        if (opacity <= 0 || rect.width <= 0 || rect.height <= 0 || !reaches(rect))
            return;
        const QImage &scaled = m_images.scaled(picture, QSize(int(rect.width), int(rect.height)));
        drawScaledPicture(m_target, scaled, rect.left, rect.top, opacity);
    }

    bool reaches(const WideRect &rect) const
    {
        const QRect &clip = m_target.clip;
        return rect.left <= clip.right() && rect.left + rect.width > clip.left()
            && rect.top <= clip.bottom() && rect.top + rect.height > clip.top();
    }

    FrameTarget &m_target;
    const ImageSet &m_images;
    qint64 m_cell;
};

const QString CornerLH = QStringLiteral("Ruzek_LH");
const QString CornerLD = QStringLiteral("Ruzek_LD");
const QString CornerPH = QStringLiteral("Ruzek_PH");
const QString CornerPD = QStringLiteral("Ruzek_PD");

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

void drawElements(ElementPainter &painter, const StationData &doc, const QRect &clip, int cell,
                  ElementIndex &index)
{
    std::vector<qint32> near;
    index.lampsNear(doc, clip, cell, near);
    for (const qint32 i : near) {
        const TPoleZarovka &r = doc.lamps.at(i);
        painter.draw(r.NAME, r.X, r.Y, 255, lampAt(doc, i));
    }
    index.tilesNear(doc, clip, cell, near);
    for (const qint32 i : near) {
        const TPolePanelu &r = doc.tiles.at(i);
        painter.draw(r.NAME, r.X, r.Y, 255, lampAt(doc, i));
        if (r.Cont_LH)
            painter.draw(CornerLH, r.X, r.Y, 255, std::nullopt);
        if (r.Cont_LD)
            painter.draw(CornerLD, r.X, r.Y, 255, std::nullopt);
        if (r.Cont_PH)
            painter.draw(CornerPH, r.X, r.Y, 255, std::nullopt);
        if (r.Cont_PD)
            painter.draw(CornerPD, r.X, r.Y, 255, std::nullopt);
    }
    index.platesNear(doc, clip, cell, near);
    for (const qint32 i : near) {
        const TPoleStitek &r = doc.plates.at(i);
        painter.draw(r.NAME, r.X, r.Y, 255, lampAt(doc, i));
    }
}

void drawPreviews(ElementPainter &painter, const RenderState &state, const EditingView &editing)
{
    const std::array<const QString *, 4> corners{&CornerLH, &CornerLD, &CornerPH, &CornerPD};
    const LampOffsets offsets{editing.lampOffsetX, editing.lampOffsetY, &editing.currentKind};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        if (editing.cornerChecks[i])
            painter.draw(*corners[i], editing.cursorColumn, editing.cursorRow, state.previewOpacity, offsets);
    }
    if (state.switches.preview)
        painter.draw(editing.currentKind, editing.cursorColumn, editing.cursorRow, state.previewOpacity, offsets);
}

// Lines from (0, k * cell) to (surface width, k * cell) and from
// (k * cell, 0) to (k * cell, surface height) for k = 0 .. rows / columns;
// only those crossing the clip are visited.
void drawGrid(FrameTarget &target, const RenderState &state, qint64 cell)
{
    const QRect &clip = target.clip;
    const QSize surface = state.surfaceSize;
    const qint64 firstRow = std::max<qint64>(0, (qint64(clip.top()) + cell - 1) / cell);
    const qint64 lastRow = std::min<qint64>(state.appliedRows, clip.bottom() / cell);
    for (qint64 k = firstRow; k <= lastRow; ++k)
        fillRect(target, WideRect{0, k * cell, surface.width(), 1}, GridColour);
    const qint64 firstColumn = std::max<qint64>(0, (qint64(clip.left()) + cell - 1) / cell);
    const qint64 lastColumn = std::min<qint64>(state.appliedColumns, clip.right() / cell);
    for (qint64 k = firstColumn; k <= lastColumn; ++k)
        fillRect(target, WideRect{k * cell, 0, 1, surface.height()}, GridColour);
}

// Two pixels wide: on the grid lines around the selected cells, and one
// pixel inside them, where no grid line runs.
void drawSelectionOutline(FrameTarget &target, const CellRect &selection, qint64 cell)
{
    const qint64 x0 = selection.left * cell;
    const qint64 y0 = selection.top * cell;
    const qint64 x1 = (qint64(selection.right) + 1) * cell;
    const qint64 y1 = (qint64(selection.bottom) + 1) * cell;
    const auto dashed = [&target](const WideRect &band, Qt::Orientation along) {
        fillDashed(target, band, along, SelectionDashColours, SelectionDashLength);
    };
    dashed(WideRect{x0, y0, x1 - x0 + 1, 2}, Qt::Horizontal);
    dashed(WideRect{x0, y1 - 1, x1 - x0 + 1, 2}, Qt::Horizontal);
    dashed(WideRect{x0, y0, 2, y1 - y0 + 1}, Qt::Vertical);
    dashed(WideRect{x1 - 1, y0, 2, y1 - y0 + 1}, Qt::Vertical);
}

// The outline of the rectangle (x0, y0) - (x0 + cell + 1, y0 + cell + 1),
// right and bottom exclusive: the cell's four grid lines.
void drawCursorFrame(FrameTarget &target, const EditingView &editing, qint64 cell)
{
    const qint64 x0 = editing.cursorColumn * cell;
    const qint64 y0 = editing.cursorRow * cell;
    const qint64 side = cell + 1;
    fillRect(target, WideRect{x0, y0, side, 1}, CursorFrameColour);
    fillRect(target, WideRect{x0, y0 + cell, side, 1}, CursorFrameColour);
    fillRect(target, WideRect{x0, y0, 1, side}, CursorFrameColour);
    fillRect(target, WideRect{x0 + cell, y0, 1, side}, CursorFrameColour);
}

void drawDiagnostics(FrameTarget &target, const RenderState &state, const EditingView &editing,
                     const StationData &doc, const CanvasState &canvas)
{
    constexpr int Left = 10;
    constexpr int FirstTop = 10;
    constexpr int LineStep = 10;
    const QFontMetrics metrics(canvas.font, &target.image);
    const auto lines = diagnosticLines(state, editing, doc);
    int widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QRect block(Left, FirstTop, widest + 1, LineStep * int(lines.size() - 1) + metrics.height() + 1);
    if (!block.intersects(target.clip))
        return;

    QPainter painter(&target.image);
    painter.translate(-target.origin);
    painter.setClipRect(target.clip);
    painter.setFont(canvas.font);
    painter.setPen(QColor::fromRgb(DiagnosticColour));
    int top = FirstTop;
    for (const QString &line : lines) {
        if (!canvas.brushHollow)
            painter.fillRect(QRect(Left, top, metrics.horizontalAdvance(line), metrics.height()), Qt::white);
        painter.drawText(QPoint(Left, top + metrics.ascent()), line);
        top += LineStep;
    }
}

}  // namespace

void composeFrame(QImage &target, const QRect &surfaceRect, const StationData &doc,
                  const RenderState &state, const EditingView &editing, const ImageSet &images,
                  CanvasState &canvas, ElementIndex &index)
{
    if (target.size() != surfaceRect.size() || target.format() != QImage::Format_RGB32)
        target = QImage(surfaceRect.size(), QImage::Format_RGB32);
    FrameTarget frame{target, surfaceRect.topLeft(), surfaceRect & QRect(QPoint(0, 0), state.surfaceSize)};
    const int cell = std::max(1, state.cellSize);
    const bool drawCursor = state.focus && state.switches.cursorFrame;

    if (!frame.clip.isEmpty()) {
        const WideRect all{frame.clip.left(), frame.clip.top(), frame.clip.width(), frame.clip.height()};
        fillRect(frame, all, toQColor(state.fillColour).rgb());
        ElementPainter painter(frame, images, cell);
        drawElements(painter, doc, frame.clip, cell, index);
        if (state.switches.trackCircuits)
            recolourTracks(frame, doc, state.overlays, images, cell);
        drawPreviews(painter, state, editing);
        if (state.switches.grid)
            drawGrid(frame, state, cell);
        outlineProblemCells(frame, state.overlays, cell);
        if (!editing.selection.isEmpty())
            drawSelectionOutline(frame, editing.selection, cell);
        if (drawCursor)
            drawCursorFrame(frame, editing, cell);
    }
    // The cursor frame leaves the brush hollow whether or not it reached
    // this part of the surface.
    if (drawCursor)
        canvas.brushHollow = true;
    if (!frame.clip.isEmpty() && state.switches.diagnostics)
        drawDiagnostics(frame, state, editing, doc, canvas);
}

}  // namespace kalmor
