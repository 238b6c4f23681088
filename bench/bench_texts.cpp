// Plate texts on a 4000 x 4000 station with 200,000 plates carrying
// texts of 1 to 12 characters: a 1920 x 1080 view at every cell size
// (the first frame after a zoom change and the median after it), reading
// and writing the station against the same station without texts, and
// "Najít" over the 200,000 texts, keystroke by keystroke. "bench_texts
// desk": the 1.2-million-element station with 100,000 desk elements with
// designations against the same station without them, frames at every
// cell size and the file read and written.
#include "bench/support/BenchSupport.h"
#include "document/StationFile.h"
#include "editing/FindWindow.h"
#include "editing/TextSearch.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"
#include "render/index/ElementIndex.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

using namespace kalmor;

using bench::elapsedMs;
using bench::medianMs;

namespace {

constexpr double FrameTargetMs = 8;
constexpr double FileRatioTarget = 1.3;
constexpr double FindTargetMs = 50;
const QSize ViewSize(1920, 1080);

// 200,000 plates with texts on a 4000 x 4000 station.
StationData plateStation()
{
    StationData doc;
    doc.rows = doc.columns = 4000;
    bench::addTextPlates(doc, 200000);
    return doc;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

const std::vector<int> Cells{1, 2, 4, 8, 11, 12, 14, 16, 20, 27, 33, 47, 60, 87, 147, 247, 547, 1047};

// A 1920 x 1080 view in the middle of the station at one cell size.
struct View {
    RenderState state;
    QRect rect;

    View(const StationData &doc, int cell, bool texts)
    {
        state.cellSize = cell;
        state.appliedColumns = doc.columns;
        state.appliedRows = doc.rows;
        state.surfaceSize = QSize(doc.columns * cell, doc.rows * cell);
        state.switches.texts = texts;
        rect = QRect(QPoint(doc.columns / 2 * cell - ViewSize.width() / 2 + 13,
                            doc.rows / 2 * cell - ViewSize.height() / 2 + 7),
                     ViewSize);
    }
};

// The first frame at every cell size of the sweep: every size is new to
// the caches of pictures and texts, as the sweep passes more sizes than
// they keep. The very first frame of a run, which starts the threads and
// builds the cell index, is made before.
std::vector<double> firstFrames(const StationData &doc, bool texts)
{
    const ImageSet images;
    ElementIndex index;
    index.build(doc);
    CanvasState canvas;
    QImage target;
    const EditingView editing;
    const View warm(doc, 5, texts);
    composeFrame(target, warm.rect, doc, warm.state, editing, images, canvas, index);
    std::vector<double> out;
    for (const int cell : Cells) {
        const View view(doc, cell, texts);
        out.push_back(elapsedMs([&] { composeFrame(target, view.rect, doc, view.state, editing, images, canvas, index); }));
    }
    return out;
}

// The median of the first frames of several sweeps, each on caches of
// its own, with and without texts in turns.
std::pair<std::vector<double>, std::vector<double>> medianFirstFrames(const StationData &doc)
{
    constexpr int Sweeps = 5;
    std::vector<std::vector<double>> with(Cells.size()), without(Cells.size());
    for (int sweep = 0; sweep < Sweeps; ++sweep) {
        const std::vector<double> on = firstFrames(doc, true);
        const std::vector<double> off = firstFrames(doc, false);
        for (std::size_t i = 0; i < Cells.size(); ++i) {
            with[i].push_back(on[i]);
            without[i].push_back(off[i]);
        }
    }
    std::pair<std::vector<double>, std::vector<double>> out;
    for (std::size_t i = 0; i < Cells.size(); ++i) {
        out.first.push_back(median(with[i]));
        out.second.push_back(median(without[i]));
    }
    return out;
}

void frames(const StationData &doc)
{
    const auto [first, firstWithout] = medianFirstFrames(doc);
    const ImageSet images;
    ElementIndex index;
    index.build(doc);
    CanvasState canvas;
    QImage target;
    const EditingView editing;
    std::printf("1920x1080 view in the middle of the station, grid on (target < %.0f ms); first frames after a zoom:"
                " median of 5 sweeps on fresh caches\n",
                FrameTargetMs);
    for (std::size_t i = 0; i < Cells.size(); ++i) {
        View view(doc, Cells[i], true);
        const auto frame = [&] { composeFrame(target, view.rect, doc, view.state, editing, images, canvas, index); };
        const double median = medianMs(31, frame);
        view.state.switches.texts = false;
        const double without = medianMs(31, frame);
        std::printf("  cell %4d: first frame %6.2f ms, then median %5.2f ms %-4s | texts off: first %6.2f ms, "
                    "median %5.2f ms\n",
                    Cells[i], first[i], median, std::max(first[i], median) < FrameTargetMs ? "ok" : "OVER",
                    firstWithout[i], without);
    }
}


void report(const QString &what, double texts, double plain)
{
    std::printf("  %-29s %7.2f ms with texts, %7.2f ms without: %.2f x %s\n", qPrintable(what), texts, plain,
                texts / plain, texts / plain <= FileRatioTarget ? "ok" : "OVER");
}

void files(const StationData &withTexts)
{
    StationData without = withTexts;
    std::vector<TPoleStitek> bare(withTexts.plates.begin(), withTexts.plates.end());
    for (TPoleStitek &s : bare)
        s.TEXT.clear();
    without.plates.clear();
    without.plates.appendAll(std::move(bare));
    QTemporaryDir dir;
    const QString texts = dir.filePath(QStringLiteral("texty.stvx"));
    const QString plain = dir.filePath(QStringLiteral("bez.stvx"));
    writeStationFile(texts, withTexts);
    writeStationFile(plain, without);
    std::printf("\nstation file, 200,000 plates (%lld bytes with texts, %lld without), target within %.1f x, "
                "median of 9:\n",
                QFileInfo(texts).size(), QFileInfo(plain).size(), FileRatioTarget);
    // A station read from its file holds its texts one after another in
    // memory; one made text by text holds them wherever they were made.
    StationData read;
    readStationFile(texts, read);
    // Taken in turns, so that a busy moment of the machine falls on all.
    std::vector<double> writeMade, writeRead, writePlain, readTexts, readPlain;
    for (int run = 0; run < 9; ++run) {
        writeMade.push_back(elapsedMs([&] { writeStationFile(texts, withTexts); }));
        writeRead.push_back(elapsedMs([&] { writeStationFile(texts, read); }));
        writePlain.push_back(elapsedMs([&] { writeStationFile(plain, without); }));
        // The stations read are dropped outside the timing.
        StationData a, b;
        readTexts.push_back(elapsedMs([&] { readStationFile(texts, a); }));
        readPlain.push_back(elapsedMs([&] { readStationFile(plain, b); }));
    }
    report(QStringLiteral("write, texts made one by one"), median(writeMade), median(writePlain));
    report(QStringLiteral("write, texts as read"), median(writeRead), median(writePlain));
    report(QStringLiteral("read"), median(readTexts), median(readPlain));
}
void find(const StationData &data)
{
    StationDocument doc;
    doc.takeOver(StationData(data));
    std::printf("\n\"Najít\" over 200,000 texts (target < %.0f ms from a keystroke to the hit list):\n", FindTargetMs);
    TextSearch search;
    const double fold = elapsedMs([&] { search.search(doc.data(), TextNeedle(u"a")); });
    std::printf("  first search, every text folded: %.2f ms\n", fold);
    FindWindow window(doc);
    window.open();
    QString typed;
    double worst = 0;
    for (const QChar c : QStringLiteral("kolej")) {
        typed += c;
        const double ms = elapsedMs([&] { window.field()->setText(typed); });
        worst = std::max(worst, ms);
        std::printf("  \"%s\": %zu hits in %.2f ms\n", qPrintable(typed), window.hits().size(), ms);
    }
    // An edit while the window is open: the list follows at the next tick.
    doc.plates().replace(7, TPoleStitek{QStringLiteral("STI_Cely_Dole"), 7, 7, QStringLiteral("kolej 9")});
    const double followed = elapsedMs([&] { window.followEdits(); });
    std::printf("  the list after an edit of one text: %zu hits in %.2f ms; slowest keystroke %.2f ms %s\n",
                window.hits().size(), followed, worst, std::max(worst, followed) < FindTargetMs ? "ok" : "OVER");
}

// The desk elements' frames and file against the big station without them.
void desk()
{
    const StationData plain = bench::bigStation();
    const StationData withDesk = bench::bigDeskStation();
    const ImageSet images;
    std::printf("1.2-million-element station + 100,000 desk elements with designations, 1920x1080 view in the "
                "middle, grid on (target < %.0f ms), median of 15 after 15 at the cell size:\n",
                FrameTargetMs);
    std::array<ElementIndex, 2> indexes;
    indexes[0].build(withDesk);
    indexes[1].build(plain);
    // A canvas each: the reach of the texts follows one station.
    std::array<CanvasState, 2> canvases;
    QImage target;
    const EditingView editing;
    for (const int cell : Cells) {
        std::array<double, 2> ms{};
        for (std::size_t s = 0; s < 2; ++s) {
            const StationData &doc = s == 0 ? withDesk : plain;
            const View view(doc, cell, true);
            const auto frame = [&] {
                composeFrame(target, view.rect, doc, view.state, editing, images, canvases[s], indexes[s]);
            };
            // Frames at a new cell size first scale pictures and finish
            // what the index leaves to its first frames there.
            for (int warm = 0; warm < 15; ++warm)
                frame();
            ms[s] = medianMs(15, frame);
        }
        std::printf("  cell %4d: %6.2f ms %-4s | without desk elements %6.2f ms\n", cell, ms[0],
                    ms[0] < FrameTargetMs ? "ok" : "OVER", ms[1]);
    }
    QTemporaryDir dir;
    const QString deskPath = dir.filePath(QStringLiteral("pult.stvx"));
    const QString plainPath = dir.filePath(QStringLiteral("bez.stvx"));
    writeStationFile(deskPath, withDesk);
    writeStationFile(plainPath, plain);
    std::printf("\nstation file (%lld bytes with desk elements, %lld without), target within %.1f x, median of 5:\n",
                QFileInfo(deskPath).size(), QFileInfo(plainPath).size(), FileRatioTarget);
    std::vector<double> writeDesk, writePlain, readDesk, readPlain;
    for (int run = 0; run < 5; ++run) {
        writeDesk.push_back(elapsedMs([&] { writeStationFile(deskPath, withDesk); }));
        writePlain.push_back(elapsedMs([&] { writeStationFile(plainPath, plain); }));
        StationData a, b;
        readDesk.push_back(elapsedMs([&] { readStationFile(deskPath, a); }));
        readPlain.push_back(elapsedMs([&] { readStationFile(plainPath, b); }));
    }
    const auto line = [](const char *what, double with, double without) {
        std::printf("  %-6s %7.2f ms with desk elements, %7.2f ms without: %.2f x %s\n", what, with, without,
                    with / without, with / without <= FileRatioTarget ? "ok" : "OVER");
    };
    line("write", median(writeDesk), median(writePlain));
    line("read", median(readDesk), median(readPlain));
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::printf("bench_texts on %d cores\n", QThread::idealThreadCount());
    // One part alone when named: frames, files, find or desk (which runs
    // only when named).
    const QString only = app.arguments().value(1);
    if (only == u"desk") {
        desk();
        return 0;
    }
    const StationData doc = plateStation();
    if (only.isEmpty() || only == u"frames")
        frames(doc);
    if (only.isEmpty() || only == u"files")
        files(doc);
    if (only.isEmpty() || only == u"find")
        find(doc);
    return 0;
}
