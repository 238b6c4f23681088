// Track circuits and the layout check on the 1.2-million-element station:
// the whole analysis, a single tile change, and frames with the track
// circuits shown and the problem cells outlined.
#include "analysis/LayoutAnalysis.h"
#include "bench/support/BenchSupport.h"
#include "editing/LayoutOverlaySource.h"
#include "render/index/ElementIndex.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"

#include <QGuiApplication>

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kalmor;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    StationData doc = bench::bigStation();

    // A fresh analysis each time (as after a load), timed without its
    // clean-up afterwards.
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        LayoutAnalysis fresh;
        QElapsedTimer timer;
        timer.start();
        fresh.update(doc);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    const double whole = times[times.size() / 2];
    LayoutAnalysis analysis;
    analysis.update(doc);
    std::printf("analysis of the 4000x4000 station (1,000,000 tiles, 100,000 lamps, 100,000 plates): median %.1f ms,"
                " %lld circuits, %lld problems, peak %ld MB\n",
                whole, static_cast<long long>(analysis.circuitCount()),
                static_cast<long long>(analysis.problems().size()), bench::peakMegabytes());

    const ImageSet images;
    const LayoutOverlaySource source(analysis);
    const int cell = 47;
    RenderState state;
    state.appliedColumns = state.appliedRows = 4000;
    state.surfaceSize = QSize(4000 * cell, 4000 * cell);
    EditingView editing;
    const QRect view(QPoint(2000 * cell - 960 + 13, 2000 * cell - 540 + 7), QSize(1920, 1080));
    editing.cursorColumn = view.center().x() / cell;
    editing.cursorRow = view.center().y() / cell;
    QImage target;
    CanvasState canvas;
    ElementIndex index;
    const auto frame = [&](bool circuits, bool outlines) {
        state.switches.trackCircuits = circuits;
        state.overlays = Overlays{&source, analysis.revision(), outlines};
        return bench::medianMs(101, [&] {
            composeFrame(target, view, doc, state, editing, images, canvas, index);
        });
    };
    const double plain = frame(false, false);
    const double coloured = frame(true, false);
    const double outlined = frame(true, true);
    std::printf("1920x1080 view at cell 47 (that of bench_render (b)): median %.3f ms plain,"
                " %.3f ms with the track circuits, %.3f ms with the circuits and the problem outlines\n",
                plain, coloured, outlined);
    // One tile replaced in turn at cells of the middle, as a click does,
    // half of them joining or dividing the track at their sides.
    qint32 k = 0;
    const auto replaceOne = [&] {
        TPolePanelu t = doc.tiles.at(k);
        t.X = 2000 + k % 31;
        t.Y = 2000 + k % 17;
        t.Cont_LS = t.Cont_PS = k % 2;
        doc.tiles.replace(k, std::move(t));
        ++k;
    };
    const double one = bench::medianMs(2001, [&] {
        replaceOne();
        analysis.update(doc);
    });
    std::printf("update after one tile replaced: median %.3f ms (%llu full analyses in all)\n", one,
                static_cast<unsigned long long>(analysis.fullAnalyses()));

    // The edits above filled 527 cells of the view with tiles.
    const double edited = bench::medianMs(501, [&] {
        replaceOne();
        analysis.update(doc);
        state.overlays.revision = analysis.revision();
        composeFrame(target, view, doc, state, editing, images, canvas, index);
    });
    std::printf("tile replaced, analysis followed and a frame with both overlays: median %.3f ms\n", edited);
    return 0;
}
