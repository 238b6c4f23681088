// Placement and shift figures for a large station: a row fill across 4000
// columns with 1,000,000 tiles already placed, and a shift of all of them;
// select all with copy, paste and delete on the 1.2-million-element
// station.
#include "bench/support/BenchSupport.h"
#include "document/StationHistory.h"
#include "document/UserPrompts.h"
#include "document/StationFile.h"
#include "document/Windows1250.h"
#include "editing/PanelSelection.h"
#include "editing/PointerInput.h"
#include "editing/SelectionCommands.h"
#include "editing/ShiftElements.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kalmor;
using bench::SilentPrompts;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// 1,000,000 tiles on rows 0, 2, 4, ... of a 4000-column panel (rows 1 to
// 499 odd stay empty), kept one cell away from every edge.
void fill(StationDocument &doc)
{
    doc.setColumns(4000);
    doc.setRows(4000);
    doc.tiles().reserve(1'000'000);
    for (qint32 i = 0; i < 1'000'000; ++i) {
        TPolePanelu t;
        t.X = 1 + i % 3998;
        t.Y = 2 + 2 * (i / 3998);
        t.Cont_LS = t.Cont_PS = true;
        t.NAME = QStringLiteral("KOL_sLSPS");
        doc.tiles().append(std::move(t));
    }
}

}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    StationDocument doc;
    fill(doc);
    constexpr int cell = 47;
    PlacementInputs inputs;
    inputs.kind = QStringLiteral("VYH_sLSPS_sLDPS");
    StationHistory history(doc);
    PointerInput pointer(history, [] { return cell; }, [&inputs] { return inputs; });

    // A left drag from column 0 to column 3999 along one row: the release
    // cell, then the fill of all 4000 columns.
    const auto dragAlong = [&pointer](int row) {
        const int y = row * cell + 5;
        pointer.mouseMoved(5, y);
        pointer.mousePressed(Qt::LeftButton, 5, y);
        pointer.mouseMoved(3999 * cell + 5, y);
        pointer.mouseReleased(Qt::LeftButton, 3999 * cell + 5, y);
    };
    std::vector<double> overwrite, append;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer t;
        t.start();
        dragAlong(2 + 2 * run);  // every cell but the two edge ones holds a tile
        overwrite.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        dragAlong(3 + 2 * run);  // an empty row: 4000 appends
        append.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("row fill, 4000 columns, 1,000,000 tiles, row of tiles: median %.2f ms (target < 10 ms)\n",
                median(overwrite));
    std::printf("row fill, 4000 columns, 1,000,000 tiles, empty row:    median %.2f ms (target < 10 ms)\n",
                median(append));

    StationDocument shifted;
    fill(shifted);
    StationHistory shiftHistory(shifted);
    SilentPrompts prompts;
    std::vector<double> shifts;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer t;
        t.start();
        const bool done = shiftAllElements(shiftHistory, run % 2 ? -1 : 1, run % 2 ? 1 : -1, 4000, 4000, prompts);
        shifts.push_back(double(t.nsecsElapsed()) / 1e6);
        if (!done) {
            std::printf("shift refused unexpectedly\n");
            return 1;
        }
    }
    std::printf("shift all elements, %lld tiles: median %.2f ms (target < 50 ms)\n",
                static_cast<long long>(shifted.tiles().count()), median(shifts));

    // The selection commands on the whole 1.2-million-element station; each
    // run is undone (untimed) before the next.
    StationDocument big;
    big.takeOver(bench::bigStation());
    StationHistory bigHistory(big);
    PanelSelection selection;
    QPoint cursor;
    SelectionCommands commands(bigHistory, prompts, selection, [&cursor] { return cursor; },
                               [] { return QSize(4000, 4000); }, QSize(31, 32));
    const qsizetype elements = big.data().elementCount();
    const double copy = bench::medianMs(3, [&] {
        commands.selectAll();
        commands.copySelected();
    });
    std::printf("select all + copy, %lld elements: median %.0f ms (target < 1000 ms)\n",
                static_cast<long long>(elements), copy);
    std::vector<double> pastes, deletes, undos, appends;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        commands.paste();  // at (0, 0), over the station itself: every record replaces one
        pastes.push_back(double(t.nsecsElapsed()) / 1e6);
        bigHistory.undo();
        commands.selectAll();
        t.restart();
        commands.deleteSelected();
        deletes.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        commands.paste();  // into the emptied station: every record appended
        appends.push_back(double(t.nsecsElapsed()) / 1e6);
        bigHistory.undo();
        t.restart();
        bigHistory.undo();
        undos.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    if (big.data().elementCount() != elements || prompts.messages != 0) {
        std::printf("the station changed unexpectedly\n");
        return 1;
    }
    std::printf("paste of %lld elements over the station: median %.0f ms (target < 1000 ms)\n",
                static_cast<long long>(elements), median(pastes));
    std::printf("delete of all %lld elements: median %.0f ms (target < 1000 ms), its undo %.0f ms\n",
                static_cast<long long>(elements), median(deletes), median(undos));
    std::printf("paste of %lld elements into the emptied station: median %.0f ms (target < 1000 ms)\n",
                static_cast<long long>(elements), median(appends));

    // The same text as if another program had put it on the clipboard:
    // read by the station file reader.
    StationDocument empty;
    StationHistory emptyHistory(empty);
    SelectionCommands into(emptyHistory, prompts, selection, [&cursor] { return cursor; },
                           [] { return QSize(4000, 4000); }, QSize(31, 32));
    std::vector<double> foreign;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        into.paste();
        foreign.push_back(double(t.nsecsElapsed()) / 1e6);
        emptyHistory.undo();
    }
    std::printf("paste of the same text from elsewhere into an empty station: median %.0f ms (target < 600 ms)\n",
                median(foreign));
    // The share of the station file reader in that paste.
    const QByteArray bytes = encodeWindows1250(QGuiApplication::clipboard()->text());
    const double readMs = bench::medianMs(3, [&bytes] {
        StationData read;
        readStationBytes(bytes, read);
    });
    std::printf("  of that, the station file reader alone: median %.0f ms\n", readMs);
    return 0;
}
