#include "render/FrameChanges.h"

#include "catalogue/ElementKinds.h"
#include "render/ImageSet.h"
#include "render/SystemColours.h"
#include "render/Viewport.h"

#include <QFontMetrics>

#include <algorithm>

namespace kalmor {

namespace {

QRect surfaceRect(const FrameSnapshot &s)
{
    return QRect(QPoint(0, 0), s.state.surfaceSize);
}

// The part of a rectangle of surface pixels, in 64 bits since cursor
// cells and lamp offsets reach far, that lies on the surface.
QRect onSurface(qint64 left, qint64 top, qint64 width, qint64 height, QSize surface)
{
    const qint64 l = std::clamp<qint64>(left, 0, surface.width());
    const qint64 t = std::clamp<qint64>(top, 0, surface.height());
    const qint64 r = std::clamp<qint64>(left + width, 0, surface.width());
    const qint64 b = std::clamp<qint64>(top + height, 0, surface.height());
    return QRect(int(l), int(t), int(r - l), int(b - t));
}

// What the cursor cell's layers can touch: the cell with the cursor frame
// on the grid lines around it, the horizontal neighbours where corner
// previews put their partners, and a lamp preview, which stands at the
// lamp offsets and may reach beyond the cell.
QRegion cursorArea(const FrameSnapshot &s, const ImageSet &images)
{
    const qint64 cell = std::max(1, s.state.cellSize);
    const qint64 left = s.editing.cursorColumn * cell;
    const qint64 top = s.editing.cursorRow * cell;
    QRegion area(onSurface(left - cell, top, 3 * cell + 1, cell + 1, s.state.surfaceSize));
    const QString &kind = s.editing.currentKind;
    const int picture = elementClassOf(kind) == ElementClass::Lamp ? images.indexOf(kind) : -1;
    if (picture >= 0) {
        // One pixel more than the rounded size of the scaled lamp.
        const QSize design = images.designSize(picture);
        const qint64 width = design.width() * cell / Viewport::DesignCellSize + 1;
        const qint64 height = design.height() * cell / Viewport::DesignCellSize + 1;
        area += onSurface(left + s.editing.lampOffsetX, top + s.editing.lampOffsetY, width, height,
                          s.state.surfaceSize);
    }
    return area;
}

// The six lines stand from (10, 10), 10 pixels apart; the margin of a line
// height all around covers glyphs that reach past their advance.
QRect diagnosticArea(const FrameSnapshot &s, const StationData &doc)
{
    const QFontMetrics metrics(s.canvas.font);
    int widest = 0;
    for (const QString &line : diagnosticLines(s.state, s.editing, doc))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int margin = metrics.height();
    return QRect(10 - margin, 10 - margin, widest + 2 * margin, 50 + 3 * margin) & surfaceRect(s);
}

}  // namespace

FrameSnapshot takeSnapshot(const StationData &doc, const RenderState &state, const EditingView &editing,
                           const CanvasState &canvas)
{
    return FrameSnapshot{state,
                         editing,
                         canvas,
                         {doc.lamps.revision(), doc.tiles.revision(), doc.plates.revision(), doc.deskElements.revision()},
                         doc.areas.revision(),
                         toQColor(state.fillColour).rgb()};
}

QRegion changedArea(const FrameSnapshot &before, const FrameSnapshot &after, const StationData &doc,
                    const ImageSet &images)
{
    if (before == after)
        return {};
    // Everything but the parts a small repaint can follow must be alike.
    FrameSnapshot rest = after;
    rest.state.lagCount = before.state.lagCount;
    rest.state.frameRate = before.state.frameRate;
    rest.editing.cursorColumn = before.editing.cursorColumn;
    rest.editing.cursorRow = before.editing.cursorRow;
    if (!(rest == before))
        return QRegion(surfaceRect(before)) + surfaceRect(after);

    QRegion area;
    if (after.state.switches.diagnostics
        && diagnosticLines(before.state, before.editing, doc) != diagnosticLines(after.state, after.editing, doc))
        area += QRegion(diagnosticArea(before, doc)) + diagnosticArea(after, doc);
    if (before.editing.cursorColumn != after.editing.cursorColumn || before.editing.cursorRow != after.editing.cursorRow)
        area += cursorArea(before, images) + cursorArea(after, images);
    return area;
}

QRegion FrameChanges::show(const FrameSnapshot &next, const StationData &doc)
{
    QRegion area = m_shown ? changedArea(*m_shown, next, doc, m_images) : QRegion(surfaceRect(next));
    area += m_owed;
    m_owed = QRegion();
    m_shown = next;
    return area;
}

}  // namespace kalmor
