// Undo history figures on the 1.2-million-element station: undo and redo
// of one placement (with the renderer's index following), undo of a shift
// of all 1,000,000 tiles, and the memory 100,000 single placements hold.
#include "bench/support/BenchSupport.h"
#include "document/StationHistory.h"
#include "document/UserPrompts.h"
#include "editing/PointerInput.h"
#include "editing/ShiftElements.h"
#include "render/index/ElementIndex.h"

#include <QCoreApplication>

#include <cstdio>
#include <malloc.h>

using namespace kalmor;
using bench::SilentPrompts;

namespace {

constexpr int Cell = 47;

void click(PointerInput &pointer, int column, int row)
{
    const int x = column * Cell + 5;
    const int y = row * Cell + 5;
    pointer.mouseMoved(x, y);
    pointer.mousePressed(Qt::LeftButton, x, y);
    pointer.mouseReleased(Qt::LeftButton, x, y);
}

double elapsedMs(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e6;
}

std::size_t heapBytes()
{
    return mallinfo2().uordblks;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    StationDocument doc;
    doc.takeOver(bench::bigStation());
    StationHistory history(doc);
    PlacementInputs inputs;
    inputs.kind = QStringLiteral("VYH_sLSPS_sLDPS");
    PointerInput pointer(history, [] { return Cell; }, [&inputs] { return inputs; });

    // One placement, then undo and redo in turn, each followed by the
    // index query a frame makes.
    ElementIndex index;
    std::vector<IndexedDraw> drawn;
    const QRect visible(1000 * Cell, 1000 * Cell, 40 * Cell, 25 * Cell);
    click(pointer, 1010, 1010);
    index.gather(ElementIndex::Layer::Tiles, doc.data(), visible, Cell, drawn);
    const quint64 builds = index.rebuildCount();
    std::vector<double> undos, redos;
    for (int run = 0; run < 201; ++run) {
        undos.push_back(elapsedMs([&history] { history.undo(); }));
        index.gather(ElementIndex::Layer::Tiles, doc.data(), visible, Cell, drawn);
        redos.push_back(elapsedMs([&history] { history.redo(); }));
        index.gather(ElementIndex::Layer::Tiles, doc.data(), visible, Cell, drawn);
    }
    std::sort(undos.begin(), undos.end());
    std::sort(redos.begin(), redos.end());
    std::printf("undo of one placement, 1.2 million elements: median %.4f ms (target well under 1 ms)\n",
                undos[undos.size() / 2]);
    std::printf("redo of one placement, 1.2 million elements: median %.4f ms (target well under 1 ms)\n",
                redos[redos.size() / 2]);
    std::printf("index rebuilds during 402 undos and redos: %llu\n",
                static_cast<unsigned long long>(index.rebuildCount() - builds));

    // The station fills the 4000 x 4000 panel; a larger applied panel
    // leaves room for every tile to move one cell right and down.
    SilentPrompts prompts;
    std::vector<double> shiftUndos;
    for (int run = 0; run < 15; ++run) {
        if (!shiftAllElements(history, 1, 1, 4002, 4002, prompts)) {
            std::printf("shift refused unexpectedly\n");
            return 1;
        }
        shiftUndos.push_back(elapsedMs([&history] { history.undo(); }));
    }
    std::sort(shiftUndos.begin(), shiftUndos.end());
    std::printf("undo of a shift of %lld tiles: median %.2f ms (target < 50 ms)\n",
                static_cast<long long>(doc.tiles().count()), shiftUndos[shiftUndos.size() / 2]);

    // What 100,000 single placements keep in the history: the heap they
    // hold, measured by emptying it again.
    history.restart();
    for (int i = 0; i < 100'000; ++i)
        click(pointer, i % 4000, 4000 + i / 4000);
    const std::size_t held = heapBytes();
    const qsizetype steps = history.undoSteps();
    history.restart();
    const double megabytes = double(held - heapBytes()) / (1024.0 * 1024.0);
    std::printf("history after %lld single placements: %.1f MB, %.0f bytes a step (target < 50 MB)\n",
                static_cast<long long>(steps), megabytes, megabytes * 1024 * 1024 / double(steps));
    std::printf("peak memory: %ld MB\n", bench::peakMegabytes());
    return 0;
}
