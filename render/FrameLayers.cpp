#include "render/FrameLayers.h"

#include "render/AreaFrames.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>

namespace kalmor {

namespace {

// Two pixels wide: on the grid lines around the selected cells, and one
// pixel inside them, where no grid line runs. Top, bottom, left, right.
std::array<WideRect, 4> selectionBands(const CellRect &selection, qint64 cell)
{
    const qint64 x0 = selection.left * cell;
    const qint64 y0 = selection.top * cell;
    const qint64 x1 = (qint64(selection.right) + 1) * cell;
    const qint64 y1 = (qint64(selection.bottom) + 1) * cell;
    return {WideRect{x0, y0, x1 - x0 + 1, 2}, WideRect{x0, y1 - 1, x1 - x0 + 1, 2},
            WideRect{x0, y0, 2, y1 - y0 + 1}, WideRect{x1 - 1, y0, 2, y1 - y0 + 1}};
}

void drawSelectionOutline(FrameTarget &target, const CellRect &selection, qint64 cell)
{
    const std::array<WideRect, 4> bands = selectionBands(selection, cell);
    for (std::size_t b = 0; b < bands.size(); ++b)
        fillDashed(target, bands[b], b < 2 ? Qt::Horizontal : Qt::Vertical, SelectionDashColours,
                   SelectionDashLength);
}

// The outline of the rectangle (x0, y0) - (x0 + cell + 1, y0 + cell + 1),
// right and bottom exclusive: the cell's four grid lines.
WideRect cursorCell(const EditingView &editing, qint64 cell)
{
    return WideRect{editing.cursorColumn * cell, editing.cursorRow * cell, cell + 1, cell + 1};
}

void drawCursorFrame(FrameTarget &target, const EditingView &editing, qint64 cell)
{
    const WideRect r = cursorCell(editing, cell);
    fillRect(target, WideRect{r.left, r.top, r.width, 1}, CursorFrameColour);
    fillRect(target, WideRect{r.left, r.top + cell, r.width, 1}, CursorFrameColour);
    fillRect(target, WideRect{r.left, r.top, 1, r.height}, CursorFrameColour);
    fillRect(target, WideRect{r.left + cell, r.top, 1, r.height}, CursorFrameColour);
}

constexpr int DiagnosticLeft = 10;
constexpr int DiagnosticTop = 10;
constexpr int DiagnosticStep = 10;

QRect diagnosticBlock(const std::array<QString, 6> &lines, const QFontMetrics &metrics)
{
    int widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return QRect(DiagnosticLeft, DiagnosticTop, widest + 1,
                 DiagnosticStep * int(lines.size() - 1) + metrics.height() + 1);
}

void drawDiagnostics(FrameTarget &target, const std::array<QString, 6> &lines, const CanvasState &canvas,
                     bool hollow)
{
    const QFontMetrics metrics(canvas.font, &target.image);
    if (!diagnosticBlock(lines, metrics).intersects(target.clip))
        return;
    QPainter painter(&target.image);
    painter.translate(-target.origin);
    painter.setClipRect(target.clip);
    painter.setFont(canvas.font);
    painter.setPen(QColor::fromRgb(DiagnosticColour));
    int top = DiagnosticTop;
    for (const QString &line : lines) {
        if (!hollow)
            painter.fillRect(QRect(DiagnosticLeft, top, metrics.horizontalAdvance(line), metrics.height()),
                             Qt::white);
        painter.drawText(QPoint(DiagnosticLeft, top + metrics.ascent()), line);
        top += DiagnosticStep;
    }
}

// The part of a rectangle in the clip, empty when none.
QRect within(const WideRect &r, const QRect &clip)
{
    const qint64 left = std::max<qint64>(r.left, clip.left());
    const qint64 top = std::max<qint64>(r.top, clip.top());
    const qint64 right = std::min<qint64>(r.left + r.width - 1, clip.right());
    const qint64 bottom = std::min<qint64>(r.top + r.height - 1, clip.bottom());
    if (left > right || top > bottom)
        return QRect();
    return QRect(QPoint(int(left), int(top)), QPoint(int(right), int(bottom)));
}

}  // namespace

FrameLayers::FrameLayers(const StationData &doc, const RenderState &state, const EditingView &editing,
                         const CanvasState &canvas)
    : m_doc(doc)
    , m_state(state)
    , m_editing(editing)
    , m_canvas(canvas)
    , m_cell(std::max(1, state.cellSize))
    , m_cursor(state.focus && state.switches.cursorFrame)
{
}

std::vector<QRect> FrameLayers::reach(const QRect &clip, const QPaintDevice &device) const
{
    std::vector<WideRect> wide;
    if (m_state.switches.areas && !m_doc.areas.isEmpty())
        wide = areaFramesReach(m_doc, m_cell, clip);
    if (!m_editing.selection.isEmpty()) {
        for (const WideRect &band : selectionBands(m_editing.selection, m_cell))
            wide.push_back(band);
    }
    if (m_cursor)
        wide.push_back(cursorCell(m_editing, m_cell));
    std::vector<QRect> rects;
    if (m_state.switches.diagnostics) {
        const QFontMetrics metrics(m_canvas.font, &device);
        rects.push_back(diagnosticBlock(diagnosticLines(m_state, m_editing, m_doc), metrics) & clip);
    }
    for (const WideRect &r : wide)
        rects.push_back(within(r, clip));
    std::erase_if(rects, [](const QRect &r) { return r.isEmpty(); });
    return rects;
}

void FrameLayers::draw(FrameTarget &target) const
{
    if (target.clip.isEmpty())
        return;
    if (m_state.switches.areas && !m_doc.areas.isEmpty())
        drawAreaFrames(target, m_doc, m_cell);
    if (!m_editing.selection.isEmpty())
        drawSelectionOutline(target, m_editing.selection, m_cell);
    if (m_cursor)
        drawCursorFrame(target, m_editing, m_cell);
    // The diagnostic lines stand on the brush as the cursor frame leaves it.
    if (m_state.switches.diagnostics)
        drawDiagnostics(target, diagnosticLines(m_state, m_editing, m_doc), m_canvas,
                        m_canvas.brushHollow || m_cursor);
}

void FrameLayers::finish(CanvasState &canvas) const
{
    if (m_cursor)
        canvas.brushHollow = true;
}

}  // namespace kalmor
