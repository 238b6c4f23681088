#include "shell/GuidePictures.h"

#include "analysis/LayoutAnalysis.h"
#include "editing/LayoutOverlaySource.h"
#include "render/FrameComposer.h"
#include "render/index/ElementIndex.h"

namespace kalmor {

namespace {

struct GuidePicture {
    const char *name;
    QRect cells;     // of the example station
    int cellSize;
    bool grid;
    bool circuits;
};

// The whole example, its left crossover close up, and its track circuits.
constexpr GuidePicture Pictures[] = {
    {"prehled", QRect(0, 0, 40, 12), 20, false, false},
    {"vyhybky", QRect(7, 3, 7, 6), 47, true, false},
    {"obvody", QRect(0, 2, 40, 9), 20, false, true},
};

QImage compose(const StationData &station, const ImageSet &images, const GuidePicture &wanted,
               const OverlaySource &circuits)
{
    RenderState state;
    state.cellSize = wanted.cellSize;
    state.appliedColumns = station.columns;
    state.appliedRows = station.rows;
    state.surfaceSize = QSize(station.columns * wanted.cellSize, station.rows * wanted.cellSize);
    state.focus = false;
    state.fillColour = station.backgroundColour;
    state.switches = ViewSwitches{false, false, false, wanted.grid, wanted.circuits};
    state.overlays = Overlays{wanted.circuits ? &circuits : nullptr, 1, false};
    EditingView editing;
    CanvasState canvas;
    ElementIndex index;
    QImage picture;
    const QRect &c = wanted.cells;
    composeFrame(picture, QRect(c.x() * wanted.cellSize, c.y() * wanted.cellSize, c.width() * wanted.cellSize,
                                c.height() * wanted.cellSize),
                 station, state, editing, images, canvas, index);
    return picture;
}

}  // namespace

std::map<QString, QImage> guidePictures(const StationData &station, const ImageSet &images)
{
    LayoutAnalysis analysis;
    analysis.update(station);
    const LayoutOverlaySource circuits(analysis);
    std::map<QString, QImage> pictures;
    for (const GuidePicture &wanted : Pictures)
        pictures[QString::fromLatin1(wanted.name)] = compose(station, images, wanted, circuits);
    return pictures;
}

}  // namespace kalmor
