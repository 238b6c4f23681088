#pragma once

#include "document/Colours.h"
#include "document/StationDocument.h"
#include "render/index/ElementIndex.h"
#include "render/FrameComposer.h"

#include <QImage>
#include <QRect>

#include <functional>
#include <optional>
#include <vector>

namespace kalmor {

class ImageSet;

// What a picture of the panel shows: the cells of `cells` (columns and
// rows, inside the panel) at `cellSize`, on the fill colour, with the grid
// when asked. The cursor frame, the preview and the diagnostic lines of
// the window never appear in a picture.
struct PictureOptions {
    int cellSize = 47;
    QRect cells;
    bool grid = false;
    Colour fillColour = clGray;
    bool texts = true;  // the plate texts, where the cells are large enough
};

// The whole panel of `columns` x `rows` cells.
PictureOptions wholePanel(qint32 columns, qint32 rows, int cellSize, bool grid, Colour fill, bool texts = true);

// A plate text or desk designation as a vector picture writes it: centred on `anchor.x()`,
// standing on the baseline `anchor.y()` (picture coordinates), in the
// plate text face at `pixelSize`.
struct PictureText {
    QPoint anchor;
    QString text;
    int pixelSize = 0;
};

// The station's picture as the export, the print and `kalmor-cli render`
// all make it: the station's own rows and columns on its own background
// colour, at the cell size, with the grid and the plate texts when asked.
PictureOptions stationPicture(const StationData &doc, int cellSize, bool grid, bool texts = true);

// The same picture limited to one area's cells, as far as they lie in
// it; nothing when none does.
std::optional<PictureOptions> areaPicture(const PictureOptions &whole, const TOblast &area);

// Pictures beyond this many pixels are refused as PNG: the file would be
// too large to be of use and the reader would need gigabytes.
inline constexpr qint64 MaxPngPixels = 400'000'000;

// Composes any part of the picture with the window's own frame
// composition, the view overlays switched off. Picture coordinates start
// at the top-left corner of the first cell of the region.
class PanelComposer {
public:
    PanelComposer(const StationData &doc, const ImageSet &images, const PictureOptions &options);

    // Width and height of the picture in pixels (64-bit: a panel of 4000
    // cells of 1047 pixels has more pixels than an int counts).
    qint64 width() const { return m_width; }
    qint64 height() const { return m_height; }
    qint64 pixelCount() const { return m_width * m_height; }
    int cellSize() const { return m_state.cellSize; }
    const PictureOptions &options() const { return m_options; }
    QRgb fillPixel() const;

    // The pixels of `rect` (picture coordinates, inside the picture).
    // The image stays valid until the next call.
    const QImage &compose(const QRect &rect);

    // Vector pictures write the plate texts as text: their pixels are
    // then left out of what compose() gives.
    void leaveTextsToVectors() { m_state.switches.texts = false; }
    // The texts the picture shows, the plates' then the desk elements'
    // (where the cells are large enough for them), each list in its order:
    // those whose record's row lies in the picture and whose text reaches
    // into it.
    std::vector<PictureText> texts() const;

private:
    const StationData &m_doc;
    const ImageSet &m_images;
    PictureOptions m_options;
    RenderState m_state;
    EditingView m_editing;
    CanvasState m_canvas;
    ElementIndex m_index;
    QPoint m_origin;
    qint64 m_width = 0;
    qint64 m_height = 0;
    QImage m_image;
};

// A rectangle cut into tiles of at most `tileWidth` x `tileHeight`, walked
// row by row, left to right: how a picture is composed piece by piece with
// bounded memory.
class TileGrid {
public:
    TileGrid(qint64 width, qint64 height, int tileWidth, int tileHeight);
    qint64 count() const { return m_across * m_down; }
    QRect at(qint64 index) const;

private:
    qint64 m_width;
    qint64 m_height;
    int m_tileWidth;
    int m_tileHeight;
    qint64 m_across;
    qint64 m_down;
};

// Tiles of whole cells with at most about `budget` pixels each (at least
// one cell), and strips of whole rows of the picture.
TileGrid cellTiles(const PanelComposer &composer, qint64 budget);
TileGrid rowStrips(const PanelComposer &composer, qint64 budget);

// Told after every piece written: pieces done and pieces in all.
using PictureProgress = std::function<void(qint64 done, qint64 total)>;

}  // namespace kalmor
