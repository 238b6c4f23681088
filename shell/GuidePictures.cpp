#include "shell/GuidePictures.h"

#include "analysis/LayoutAnalysis.h"
#include "editing/LayoutOverlaySource.h"
#include "render/FrameComposer.h"
#include "render/index/ElementIndex.h"

namespace kalmor {

namespace {

struct PictureSpec {
    const char *name;
    QRect cells;     // of the example station
    int cellSize;
    bool grid;
    bool circuits;
};

// The whole example, its left crossover close up, and its track circuits.
constexpr PictureSpec Specs[] = {
    {"prehled", QRect(0, 0, 40, 12), 20, false, false},
    {"vyhybky", QRect(7, 3, 7, 6), 47, true, false},
    {"obvody", QRect(0, 2, 40, 9), 20, false, true},
};

QImage compose(const StationData &station, const ImageSet &images, const PictureSpec &spec,
               const OverlaySource &circuits)
{
    RenderState state;
    state.cellSize = spec.cellSize;
    state.appliedColumns = station.columns;
    state.appliedRows = station.rows;
    state.surfaceSize = QSize(station.columns * spec.cellSize, station.rows * spec.cellSize);
    state.focus = false;
    state.fillColour = station.backgroundColour;
    state.switches = ViewSwitches{false, false, false, spec.grid, spec.circuits};
    state.overlays = Overlays{spec.circuits ? &circuits : nullptr, 1, false};
    EditingView editing;
    CanvasState canvas;
    ElementIndex index;
    QImage picture;
    const QRect &c = spec.cells;
    composeFrame(picture, QRect(c.x() * spec.cellSize, c.y() * spec.cellSize, c.width() * spec.cellSize,
                                c.height() * spec.cellSize),
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
    for (const PictureSpec &spec : Specs)
        pictures[QString::fromLatin1(spec.name)] = compose(station, images, spec, circuits);
    return pictures;
}

}  // namespace kalmor
