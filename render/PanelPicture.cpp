#include "render/PanelPicture.h"

#include "render/ImageSet.h"
#include "render/SystemColours.h"

#include <QFontMetrics>

#include <algorithm>

namespace kalmor {

PictureOptions wholePanel(qint32 columns, qint32 rows, int cellSize, bool grid, Colour fill, bool texts)
{
    return PictureOptions{cellSize, QRect(0, 0, columns, rows), grid, fill, texts};
}

PictureOptions stationPicture(const StationData &doc, int cellSize, bool grid, bool texts)
{
    return wholePanel(doc.columns, doc.rows, cellSize, grid, doc.backgroundColour, texts);
}

std::optional<PictureOptions> areaPicture(const PictureOptions &whole, const TOblast &area)
{
    // 64-bit ends: an area read from a file may reach past the 32-bit range.
    const qint64 left = std::max<qint64>(area.X, whole.cells.left());
    const qint64 top = std::max<qint64>(area.Y, whole.cells.top());
    const qint64 right = std::min<qint64>(qint64(area.X) + area.SIRKA, qint64(whole.cells.left()) + whole.cells.width());
    const qint64 bottom = std::min<qint64>(qint64(area.Y) + area.VYSKA, qint64(whole.cells.top()) + whole.cells.height());
    if (right <= left || bottom <= top)
        return std::nullopt;
    PictureOptions picture = whole;
    picture.cells = QRect(int(left), int(top), int(right - left), int(bottom - top));
    return picture;
}

PanelComposer::PanelComposer(const StationData &doc, const ImageSet &images, const PictureOptions &options)
    : m_doc(doc), m_images(images), m_options(options)
{
    const int cell = std::max(1, options.cellSize);
    const QRect &cells = options.cells;
    m_state.cellSize = cell;
    m_state.fillColour = options.fillColour;
    m_state.switches = ViewSwitches{false, false, false, options.grid};
    m_state.switches.areas = false;
    m_state.switches.texts = options.texts;
    m_state.focus = false;
    // The grid and the surface reach exactly to the region's far edge, as
    // they reach the panel's edge after "Nastavit".
    m_state.appliedColumns = cells.x() + cells.width();
    m_state.appliedRows = cells.y() + cells.height();
    m_state.surfaceSize = QSize(int(qint64(m_state.appliedColumns) * cell), int(qint64(m_state.appliedRows) * cell));
    m_editing.cornerChecks = {false, false, false, false};
    m_origin = QPoint(int(qint64(cells.x()) * cell), int(qint64(cells.y()) * cell));
    m_width = qint64(cells.width()) * cell;
    m_height = qint64(cells.height()) * cell;
}

QRgb PanelComposer::fillPixel() const
{
    return toQColor(m_state.fillColour).rgb();
}

const QImage &PanelComposer::compose(const QRect &rect)
{
    composeFrame(m_image, rect.translated(m_origin), m_doc, m_state, m_editing, m_images, m_canvas, m_index);
    return m_image;
}

std::vector<PictureText> PanelComposer::texts() const
{
    std::vector<PictureText> out;
    const int cell = m_state.cellSize;
    if (!m_options.texts || cell < SmallestTextCell)
        return out;
    const TextLook look = m_images.texts().look(cell);
    const QFontMetrics metrics(plateTextFont(cell));
    const QRect &cells = m_options.cells;
    const auto add = [&](const auto &r) {
        if (r.TEXT.isEmpty() || r.Y < cells.top() || r.Y > cells.bottom())
            return;
        const qint64 centre = (qint64(r.X) - cells.left()) * cell + cell / 2;
        const qint64 half = metrics.horizontalAdvance(r.TEXT) / 2 + cell;
        if (centre + half < 0 || centre - half > m_width)
            return;
        const qint64 baseline = (qint64(r.Y) - cells.top()) * cell + textBaseline(r.NAME, look);
        out.push_back(PictureText{QPoint(int(centre), int(baseline)), r.TEXT, plateTextPixelSize(cell)});
    };
    for (const TPoleStitek &plate : m_doc.plates)
        add(plate);
    if (cell >= SmallestDesignationCell) {
        for (const TPolePrvek &element : m_doc.deskElements)
            add(element);
    }
    return out;
}

TileGrid::TileGrid(qint64 width, qint64 height, int tileWidth, int tileHeight)
    : m_width(width)
    , m_height(height)
    , m_tileWidth(std::max(1, tileWidth))
    , m_tileHeight(std::max(1, tileHeight))
    , m_across((width + m_tileWidth - 1) / m_tileWidth)
    , m_down((height + m_tileHeight - 1) / m_tileHeight)
{
}

QRect TileGrid::at(qint64 index) const
{
    const qint64 x = (index % m_across) * m_tileWidth;
    const qint64 y = (index / m_across) * m_tileHeight;
    return QRect(int(x), int(y), int(std::min<qint64>(m_tileWidth, m_width - x)),
                 int(std::min<qint64>(m_tileHeight, m_height - y)));
}

TileGrid cellTiles(const PanelComposer &composer, qint64 budget)
{
    const qint64 cell = composer.cellSize();
    const qint64 cellsPerTile = std::max<qint64>(1, budget / (cell * cell));
    const qint64 columns = composer.width() / cell;
    const qint64 across = std::clamp<qint64>(columns, 1, cellsPerTile);
    const qint64 down = std::max<qint64>(1, cellsPerTile / across);
    return TileGrid(composer.width(), composer.height(), int(across * cell), int(down * cell));
}

TileGrid rowStrips(const PanelComposer &composer, qint64 budget)
{
    const qint64 rows = std::max<qint64>(1, budget / std::max<qint64>(1, composer.width()));
    return TileGrid(composer.width(), composer.height(), int(composer.width()), int(std::min<qint64>(rows, 1 << 20)));
}

}  // namespace kalmor
