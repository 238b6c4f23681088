// Median time to compose one 1920 x 1080 view of the drawing surface.
#include "bench/support/BenchSupport.h"
#include "render/ElementIndex.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace kalmor;

using bench::bigStation;
using bench::medianMs;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const ImageSet images;
    const QSize view(1920, 1080);
    QImage target;

    {
        CanvasState canvas;
        ElementIndex index;
        const StationData empty;
        const RenderState state;
        const EditingView editing;
        const double ms = medianMs(101, [&] {
            composeFrame(target, QRect(QPoint(0, 0), view), empty, state, editing, images, canvas, index);
        });
        std::printf("(a) start-up panel 150x50, empty, 1920x1080 view at (0,0): median %.3f ms\n", ms);
        QImage whole;
        const double full = medianMs(21, [&] {
            composeFrame(whole, QRect(QPoint(0, 0), state.surfaceSize), empty, state, editing, images, canvas,
                         index);
        });
        std::printf("(c) whole 4800x2400 start-up surface, as a full-surface renderer: median %.3f ms"
                    " (%.1f x the view)\n",
                    full, full / ms);
    }

    QElapsedTimer built;
    built.start();
    StationData doc = bigStation();
    std::printf("    building the 4000x4000 station (1,000,000 tiles, 100,000 lamps, 100,000 plates): %.0f ms\n",
                double(built.nsecsElapsed()) / 1e6);
    for (const int cell : {47, 20, 87, 1}) {
        CanvasState canvas;
        ElementIndex index;
        RenderState state;
        state.cellSize = cell;
        state.appliedColumns = state.appliedRows = 4000;
        state.surfaceSize = QSize(4000 * cell, 4000 * cell);
        EditingView editing;
        const QPoint middle(2000 * cell - view.width() / 2 + 13, 2000 * cell - view.height() / 2 + 7);
        editing.cursorColumn = middle.x() / cell + 5;
        editing.cursorRow = middle.y() / cell + 3;
        const QRect rect(middle, view);
        QElapsedTimer first;
        first.start();
        composeFrame(target, rect, doc, state, editing, images, canvas, index);
        const double firstMs = double(first.nsecsElapsed()) / 1e6;
        const double ms = medianMs(101, [&] {
            composeFrame(target, rect, doc, state, editing, images, canvas, index);
        });
        std::printf("%s 4000x4000 panel, cell %d, 1920x1080 view at (%d,%d): median %.3f ms"
                    " (first frame with index build %.0f ms)\n",
                    cell == 1 ? "(extra, smallest zoom)" : "(b)", cell, middle.x(), middle.y(), ms, firstMs);
        if (cell == 47) {
            // Placements at cells of the view, each followed by a frame;
            // the tile placed before is removed again first, so the view
            // keeps its content. The index follows single edits and
            // rebuilds after 1024 of them.
            qint32 k = 0;
            const quint64 rebuildsBefore = index.rebuildCount();
            QElapsedTimer all;
            all.start();
            const int placements = 2001;
            const double placed = medianMs(placements, [&] {
                if (k > 0)
                    doc.tiles.removeAt(doc.tiles.count() - 1);
                TPolePanelu t = doc.tiles.at(k);
                t.X = editing.cursorColumn - 15 + k % 31;
                t.Y = editing.cursorRow - 7 + k % 17;
                doc.tiles.append(std::move(t));
                ++k;
                composeFrame(target, rect, doc, state, editing, images, canvas, index);
            });
            doc.tiles.removeAt(doc.tiles.count() - 1);
            std::printf("    frame after a tile placement (index follows the edit): median %.3f ms,"
                        " mean %.3f ms over %d placements with %llu rebuilds\n",
                        placed, double(all.nsecsElapsed()) / 1e6 / placements, placements,
                        static_cast<unsigned long long>(index.rebuildCount() - rebuildsBefore));
            const double rebuild = medianMs(5, [&] {
                index.invalidate();
                composeFrame(target, rect, doc, state, editing, images, canvas, index);
            });
            std::printf("    frame after an index rebuild (shift, load, or the 1025th edit): median %.1f ms\n",
                        rebuild);
        }
    }
    return 0;
}
