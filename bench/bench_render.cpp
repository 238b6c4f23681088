// Time to compose one 1920 x 1080 view of the drawing surface: the start-up
// panel, the 1.2-million-element station at every cell size, stations with
// records stacked on one cell, and the first frames after a load, a shift,
// a paste and removals of many elements. Beside the figures, the plain walk
// over every record shows what the index saves in the same run.
#include "bench/support/BenchSupport.h"
#include "document/StationHistory.h"
#include "analysis/LayoutAnalysis.h"
#include "editing/LayoutOverlaySource.h"
#include "editing/SelectionEdits.h"
#include "render/index/ElementIndex.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"
#include "render/TileCache.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QThread>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace kalmor;

using bench::medianMs;

namespace {

constexpr double TargetMs = 8;
constexpr double FirstFrameTargetMs = 16;
const QSize View(1920, 1080);
const QSize View4K(3840, 2160);
constexpr std::array<int, 11> SweptCells{1, 2, 3, 4, 6, 8, 12, 20, 47, 87, 247};
// A wheel notch scrolls the view by three cells.
constexpr int CellsPerNotch = 3;

double elapsedMs(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

// A station shown at one cell size, with the view in its middle or at the
// top-left corner.
struct Scene {
    const StationData &doc;
    const ImageSet &images;
    RenderState state;
    EditingView editing;
    QRect view;
    CanvasState canvas;
    QImage &target;  // kept from scene to scene, as the drawing surface keeps its frame
    TileCache *tiles = nullptr;  // the tiles kept between frames, as the drawing surface keeps them
    FramePieces pieces;  // a frame through kept tiles, as the drawing surface paints it
    QImage *screen = nullptr;  // when set, the pieces are painted on it as on the window's

    Scene(const StationData &station, const ImageSet &set, QImage &frame, int cell, bool middle,
          QSize size = View)
        : doc(station), images(set), target(frame)
    {
        state.cellSize = cell;
        state.appliedColumns = station.columns;
        state.appliedRows = station.rows;
        state.surfaceSize = QSize(station.columns * cell, station.rows * cell);
        const QPoint at = middle ? QPoint(station.columns / 2 * cell - size.width() / 2 + 13,
                                          station.rows / 2 * cell - size.height() / 2 + 7)
                                 : QPoint(0, 0);
        view = QRect(at, size);
        editing.cursorColumn = at.x() / cell + 5;
        editing.cursorRow = at.y() / cell + 3;
    }

    void compose(ElementIndex &index)
    {
        if (tiles) {
            composeFramePieces(pieces, view, doc, state, editing, images, canvas, index, *tiles);
            if (screen) {
                QPainter painter(screen);
                painter.translate(-view.topLeft());
                pieces.paint(painter);
            }
        } else
            composeFrame(target, view, doc, state, editing, images, canvas, index);
    }
    double frame(ElementIndex &index)
    {
        return elapsedMs([&] { compose(index); });
    }
    double median(ElementIndex &index, int runs)
    {
        return medianMs(runs, [&] { compose(index); });
    }
    double plain(int runs)
    {
        return medianMs(runs, [&] {
            composeFrameWalkingEveryElement(target, view, doc, state, editing, images, canvas);
        });
    }
};

const char *verdict(double ms)
{
    return ms < TargetMs ? "ok" : "OVER";
}

void startUp(const ImageSet &images)
{
    CanvasState canvas;
    ElementIndex index;
    const StationData empty;
    const RenderState state;
    const EditingView editing;
    QImage target;
    const double ms = medianMs(101, [&] {
        composeFrame(target, QRect(QPoint(0, 0), View), empty, state, editing, images, canvas, index);
    });
    std::printf("start-up panel 150x50, empty, 1920x1080 view at (0,0): median %.3f ms\n", ms);
    const double whole = medianMs(21, [&] {
        composeFrame(target, QRect(QPoint(0, 0), state.surfaceSize), empty, state, editing, images, canvas, index);
    });
    std::printf("whole 4800x2400 start-up surface, as a full-surface renderer: median %.3f ms (%.1f x the view)\n",
                whole, whole / ms);
}

void sweep(const StationData &doc, const ImageSet &images, QImage &frame, ElementIndex &index)
{
    std::printf("\n1920x1080 view in the middle of the 4000x4000 station, every cell size (target < %.0f ms):\n",
                TargetMs);
    for (const int cell : {1, 2, 3, 4, 6, 8, 12, 20, 47, 87, 247}) {
        Scene scene(doc, images, frame, cell, true);
        const double gridOn = scene.median(index, 31);
        scene.state.switches.grid = false;
        const double gridOff = scene.median(index, 31);
        const double plain = scene.plain(3);
        std::printf("  cell %3d: median %6.2f ms with the grid, %6.2f ms without %-4s | plain walk %7.1f ms"
                    " (%.0f x)\n",
                    cell, gridOn, gridOff, verdict(std::max(gridOn, gridOff)), plain, plain / gridOff);
    }
}

// Frames of a 3840 x 2160 view while the wheel scrolls it down a notch a
// frame, the cursor cell following the pointer as it does in the editor.
double scrollingMedian(Scene &scene, ElementIndex &index, int frames)
{
    const QRect start = scene.view;
    const EditingView editing = scene.editing;
    std::vector<double> times;
    for (int k = 0; k < frames; ++k) {
        times.push_back(scene.frame(index));
        scene.view.translate(0, CellsPerNotch * scene.state.cellSize);
        scene.editing.cursorRow += CellsPerNotch;
    }
    scene.view = start;
    scene.editing = editing;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The first frame after a zoom change to the cell size: every picture and
// text is scaled for the first time, as a new image set has none scaled
// yet, and no tile is kept. The median and the worst of five.
std::pair<double, double> firstFramesAfterZoom(const StationData &doc, QImage &frame, ElementIndex &index,
                                               TileCache &tiles, int cell, QSize size)
{
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        const ImageSet fresh;
        Scene scene(doc, fresh, frame, cell, true, size);
        scene.tiles = &tiles;
        tiles.clear();
        times.push_back(scene.frame(index));
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

// One line of the sweep: the scrolling median with each switch on and
// off (the others as the editor starts: grid and texts on, circuits off),
// a whole view composed without kept tiles, and the first frame after a
// zoom.
void sweepLine(const char *name, Scene &scene, ElementIndex &index, TileCache &tiles, const Overlays &circuits)
{
    const auto [firstMedian, firstWorst]
        = firstFramesAfterZoom(scene.doc, scene.target, index, tiles, scene.state.cellSize, scene.view.size());
    const double whole = scene.median(index, 11);
    scene.tiles = &tiles;
    std::array<double, 6> m{};
    m[0] = scrollingMedian(scene, index, 31);
    scene.state.switches.grid = false;
    m[1] = scrollingMedian(scene, index, 31);
    scene.state.switches.grid = true;
    scene.state.switches.texts = false;
    m[3] = scrollingMedian(scene, index, 31);
    scene.state.switches.texts = true;
    m[2] = m[0];  // the texts on are the grid's first figure
    scene.state.switches.trackCircuits = true;
    scene.state.overlays = circuits;
    m[4] = scrollingMedian(scene, index, 31);
    scene.state.switches.trackCircuits = false;
    scene.state.overlays = Overlays{};
    m[5] = m[0];  // and so are the circuits off
    // And painted on a screen-sized image as the window paints it, which
    // Qt's backing store would otherwise do.
    QImage screen(scene.view.size(), QImage::Format_RGB32);
    scene.screen = &screen;
    const double painted = scrollingMedian(scene, index, 31);
    scene.screen = nullptr;
    std::printf("  %s cell %d: median %.2f ms with the grid, %.2f ms without; median %.2f ms with the texts,"
                " %.2f ms without; median %.2f ms with the circuits, %.2f ms without %s | painted on the screen"
                " %.2f ms | whole view composed %.2f ms %s | first frame after a zoom: median %.2f ms,"
                " worst %.2f ms %s\n",
                name, scene.state.cellSize, m[0], m[1], m[2], m[3], m[4], m[5],
                verdict(*std::max_element(m.begin(), m.end())), painted, whole, verdict(whole), firstMedian,
                firstWorst, firstWorst < FirstFrameTargetMs ? "ok" : "OVER");
}

// The 1.2-million-element station with 200,000 plates with texts more, in
// a 3840 x 2160 view and a 1920 x 1080 one beside it.
void sweep4K(const StationData &doc, const ImageSet &images, QImage &frame, ElementIndex &index,
             const std::vector<int> &cells)
{
    std::printf("\n3840x2160 and 1920x1080 views in the middle of the 4000x4000 station with 200,000 plates"
                " with texts and 100,000 desk elements more, scrolled a wheel notch a frame, composed as the"
                " pieces the window paints (target < %.0f ms; first frame after a zoom < %.0f ms):\n",
                TargetMs, FirstFrameTargetMs);
    LayoutAnalysis analysis;
    const double analysed = elapsedMs([&] { analysis.update(doc); });
    const LayoutOverlaySource source(analysis);
    const Overlays circuits{&source, 1, false};
    std::printf("  (track circuits of the station worked out in %.0f ms, outside the frames)\n", analysed);
    // The tiles of an earlier view, as the editor has them when the zoom
    // changes.
    TileCache tiles;
    tiles.fitView(View4K);
    Scene earlier(doc, images, frame, 47, true, View4K);
    earlier.tiles = &tiles;
    earlier.frame(index);
    for (const int cell : cells) {
        for (const auto &[name, size] : {std::pair{"4K", View4K}, std::pair{"1080p", View}}) {
            Scene scene(doc, images, frame, cell, true, size);
            sweepLine(name, scene, index, tiles, circuits);
        }
    }
}

void stacked(const ImageSet &images, QImage &frame)
{
    std::printf("\nStacked records, view at the top-left corner (target < %.0f ms):\n", TargetMs);
    const struct {
        const char *what;
        int cells;
        int perCell;
    } stations[] = {{"200,000 tiles on one cell", 1, 200000}, {"1,000 cells with 200 tiles each", 1000, 200}};
    for (const auto &s : stations) {
        const StationData doc = bench::stackedStation(s.cells, s.perCell);
        ElementIndex index;
        const double built = elapsedMs([&] { index.build(doc); });
        std::printf("  %s (index built in %.0f ms, as a load builds it):\n", s.what, built);
        for (const int cell : {1, 8, 47, 87, 247}) {
            Scene scene(doc, images, frame, cell, false);
            const double first = scene.frame(index);
            const double ms = scene.median(index, 31);
            std::printf("    cell %3d: median %6.2f ms, first %6.2f ms %s", cell, ms, first, verdict(std::max(ms, first)));
            // Drawing every record in turn takes seconds at the larger cells.
            if (cell == 47)
                std::printf(" | plain walk %.1f ms", scene.plain(1));
            std::printf("\n");
        }
    }
}

// The first frames after one kind of change and the frames after them.
struct FirstFrames {
    std::vector<double> first;
    std::vector<double> steady;
    std::vector<double> follow;  // the index following the command as it ended

    std::string text()
    {
        std::sort(first.begin(), first.end());
        std::sort(steady.begin(), steady.end());
        std::sort(follow.begin(), follow.end());
        char line[200];
        int n = std::snprintf(line, sizeof line, "median %6.2f ms, worst %6.2f ms %s (frames after: %.2f ms",
                              first[first.size() / 2], first.back(), verdict(first.back()), steady[steady.size() / 2]);
        if (!follow.empty())
            n += std::snprintf(line + n, sizeof line - std::size_t(n), "; index followed at the command's end: %.2f ms",
                               follow[follow.size() / 2]);
        std::snprintf(line + n, sizeof line - std::size_t(n), ")");
        return line;
    }
};

// A block of w x h tiles, one on every cell from (0, 0), as a copy of a
// filled area carries them: kinds and flags taken from the station's
// tiles from `from` on.
ElementRecords copiedBlock(const StationData &doc, int w, int h, int from)
{
    ElementRecords block;
    block.tiles.reserve(std::size_t(w) * std::size_t(h));
    for (int k = 0; k < w * h; ++k) {
        TPolePanelu t = doc.tiles.at(from + k);
        t.X = k % w;
        t.Y = k / w;
        block.tiles.push_back(std::move(t));
    }
    return block;
}

// The first frame after each change, five times over, at two cell sizes.
// Pastes, deletions and their undo go through the editor's own edits and
// history, as the commands make them.
void afterChanges(StationData &station, const ImageSet &images, QImage &frame)
{
    std::printf("\nFirst frame after a change, 4000x4000 station, view in the middle (target < %.0f ms):\n",
                TargetMs);
    StationDocument document;
    document.takeOver(std::move(station));
    StationHistory history(document);
    const StationData &doc = document.data();
    ElementIndex index;
    const double built = elapsedMs([&] { index.build(doc); });
    std::printf("  index of 1,200,000 elements built as a load builds it, on the loading thread: %.0f ms\n", built);
    // Copied from the top-left part of the list, far from the view.
    const ElementRecords small = copiedBlock(doc, 100, 100, 0);
    const ElementRecords large = copiedBlock(doc, 250, 200, 20000);
    for (const int cell : {47, 4}) {
        Scene scene(doc, images, frame, cell, true);
        std::printf("  cell %d:\n", cell);
        // Each round makes the changes in turn, each followed by a frame.
        // The surface's index follows each command as it ends, as the
        // editor has it do.
        const auto measure = [&](std::vector<std::function<void()>> changes, bool commands) {
            std::vector<FirstFrames> figures(changes.size());
            for (int run = 0; run < 5; ++run) {
                for (std::size_t c = 0; c < changes.size(); ++c) {
                    changes[c]();
                    if (commands)
                        figures[c].follow.push_back(elapsedMs([&] { index.followNow(doc); }));
                    figures[c].first.push_back(scene.frame(index));
                    figures[c].steady.push_back(scene.median(index, 3));
                }
            }
            return figures;
        };
        const auto report = [&](std::vector<std::pair<const char *, std::function<void()>>> changes) {
            std::vector<std::function<void()>> made;
            for (const auto &c : changes)
                made.push_back(c.second);
            std::vector<FirstFrames> figures = measure(std::move(made), true);
            for (std::size_t c = 0; c < changes.size(); ++c)
                std::printf("    %-58s %s\n", changes[c].first, figures[c].text().c_str());
        };
        const quint64 rebuildsBefore = index.rebuildCount();
        report({{"after the load (index built with it)", [] {}}});
        int direction = 1;
        report({{"after a shift of all 1,000,000 tiles, or its undo", [&] {
                     document.tiles().shift(direction, 0);
                     direction = -direction;
                 }}});
        // The block's middle on the view's middle, the same spot each run.
        const QPoint middle = scene.view.center() / cell;
        const auto paste = [&](const ElementRecords &block, int w, int h) {
            return [&, w, h] {
                StationEdit edit(document);
                placeElements(edit, block, middle.x() - w / 2, middle.y() - h / 2);
                history.commit(std::move(edit), QStringLiteral("Vložit"));
            };
        };
        const auto undo = [&] { history.undo(); };
        report({{"after a paste of 10,000 tiles (100 x 100) on the view", paste(small, 100, 100)},
                {"after its undo", undo}});
        report({{"after a paste of 50,000 tiles (250 x 200)", paste(large, 250, 200)}, {"after its undo", undo}});
        QRandomGenerator random(7);
        report({{"after deleting 10,000 tiles from the middle, one by one", [&] {
                     for (int i = 0; i < 10000; ++i)
                         document.tiles().removeAt(random.bounded(int(doc.tiles.count())));
                 }}});
        // A deleted selection keeps the order of the rest, and its undo
        // puts the records back where they were: every position after the
        // first one taken moves.
        const QRect area(scene.view.topLeft() / cell, scene.view.bottomRight() / cell);
        report({{"after deleting the view's elements", [&] {
                     StationEdit edit(document);
                     deleteElements(edit, CellRect{area.left(), area.top(), area.right(), area.bottom()});
                     history.commit(std::move(edit), QStringLiteral("Smazat"));
                 }},
                {"after its undo", undo}});
        // Not a paste: records appended at random cells of a 200 x 120
        // block pile up as a file with stacked cells may hold them.
        const auto stack = [&] {
            for (int i = 0; i < 50000; ++i) {
                TPolePanelu t = doc.tiles.at(i);
                t.X = middle.x() - 100 + random.bounded(200);
                t.Y = middle.y() - 60 + random.bounded(120);
                document.tiles().append(std::move(t));
            }
        };
        const auto unstack = [&] {
            for (int i = 0; i < 50000; ++i)
                document.tiles().removeAt(doc.tiles.count() - 1);
        };
        FirstFrames stacked = measure({stack}, false)[0];
        FirstFrames unstacked = measure({unstack}, false)[0];
        std::printf("    appending 50,000 onto 24,000 cells, stacks of ~10 (a loaded file's stacks, not a paste): %s;"
                    " removing them from the end: %s\n",
                    stacked.text().c_str(), unstacked.text().c_str());
        std::printf("    rebuilds of the index meanwhile: %llu\n",
                    static_cast<unsigned long long>(index.rebuildCount() - rebuildsBefore));
    }

    // Placements as the pointer makes them, each followed by a frame.
    Scene scene(doc, images, frame, 47, true);
    std::vector<double> frames;
    for (qint32 k = 0; k < 2001; ++k) {
        TPolePanelu t = doc.tiles.at(k);
        t.X = scene.editing.cursorColumn - 15 + k % 31;
        t.Y = scene.editing.cursorRow - 7 + k % 17;
        const qsizetype found = doc.tiles.firstAt(t.X, t.Y);
        if (found >= 0)
            document.tiles().replace(found, std::move(t));
        else
            document.tiles().append(std::move(t));
        frames.push_back(scene.frame(index));
    }
    std::sort(frames.begin(), frames.end());
    std::printf("  frame after each of 2,001 tile placements, cell 47: median %.2f ms, worst %.2f ms %s\n",
                frames[frames.size() / 2], frames.back(), verdict(frames.back()));
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const ImageSet images;
    std::printf("bench_render on %d cores\n", QThread::idealThreadCount());
    startUp(images);

    StationData doc;
    const double ms = elapsedMs([&] { doc = bench::bigStation(); });
    std::printf("\nbuilding the 4000x4000 station (1,000,000 tiles, 100,000 lamps, 100,000 plates): %.0f ms\n", ms);
    QImage frame;
    // "bench_render sweep|4k|stacked|changes" measures only that part.
    const QByteArray only = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (only.isEmpty() || only == "sweep") {
        ElementIndex index;
        index.build(doc);
        sweep(doc, images, frame, index);
    }
    if (only.isEmpty() || only == "4k") {
        StationData withTexts = doc;
        bench::addDeskElements(withTexts, 100000);
        bench::addTextPlates(withTexts, 200000);
        ElementIndex index;
        index.build(withTexts);
        // "bench_render 4k 1,47" measures only those cell sizes.
        std::vector<int> cells(SweptCells.begin(), SweptCells.end());
        if (argc > 2) {
            cells.clear();
            for (const QByteArray &cell : QByteArray(argv[2]).split(','))
                cells.push_back(cell.toInt());
        }
        sweep4K(withTexts, images, frame, index, cells);
    }
    if (only.isEmpty() || only == "stacked")
        stacked(images, frame);
    if (only.isEmpty() || only == "changes")
        afterChanges(doc, images, frame);
    return 0;
}
