// Ticks of the drawing surface in a 1920 x 1080 work area: the pixels
// composed and the time per tick when a tick repaints only what changed,
// against repainting the whole view every tick.
#include "bench/support/BenchSupport.h"
#include "view/DrawingSurface.h"
#include "render/ImageSet.h"
#include "render/Viewport.h"
#include "view/WorkArea.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace kalmor;

namespace {

constexpr int Ticks = 300;  // five seconds of frames

struct Phase {
    const char *name;
    // What changes before the tick with this number.
    std::function<void(int)> change;
};

struct Outcome {
    qint64 pixels = 0;
    double medianMs = 0;
};

class Driver {
public:
    Driver(StationDocument &doc, X_Plocha &surface, EditingView &editing)
        : m_doc(doc), m_surface(surface), m_editing(editing)
    {
    }

    Outcome run(const Phase &phase, bool wholeViewEveryTick)
    {
        const qint64 before = m_surface.composedPixels();
        std::vector<qint64> times;
        for (int t = 0; t < Ticks; ++t) {
            phase.change(t);
            QElapsedTimer timer;
            timer.start();
            m_surface.X_VykreslovacTimer(m_lag, m_rate);
            if (wholeViewEveryTick)
                m_surface.update();
            QCoreApplication::processEvents();
            times.push_back(timer.nsecsElapsed());
        }
        std::sort(times.begin(), times.end());
        return Outcome{m_surface.composedPixels() - before, double(times[times.size() / 2]) / 1e6};
    }

    std::vector<Phase> phases()
    {
        return {
            {"at rest (frame rate changes once a second)", [this](int t) { m_rate = 59 + t / 60 % 2; }},
            {"lag count changes every tick", [this](int t) { m_lag = 1 + t % 2; }},
            {"pointer moves to the next cell every tick",
             [this](int t) {
                 m_lag = 1;
                 m_editing.cursorColumn = 3 + t % 30;
                 m_editing.cursorRow = 2 + t / 30 % 15;
             }},
            {"a tile placed every 30th tick",
             [this](int t) {
                 if (t % 30 == 0) {
                     TPolePanelu tile;
                     tile.X = 5 + t / 30;
                     tile.Y = 6;
                     tile.NAME = QStringLiteral("KOL_sLSPS");
                     m_doc.tiles().append(tile);
                 }
             }},
        };
    }

private:
    StationDocument &m_doc;
    X_Plocha &m_surface;
    EditingView &m_editing;
    int m_lag = 1;
    int m_rate = 60;
};

void measure(const char *station, StationDocument &doc, X_Plocha &surface, EditingView &editing)
{
    Driver driver(doc, surface, editing);
    const QRect view = surface.visibleRect();
    std::printf("%s, view %dx%d, %d ticks per phase:\n", station, view.width(), view.height(), Ticks);
    for (const Phase &phase : driver.phases()) {
        // Both ways from the same state: the phase's changes are repeated.
        const Outcome whole = driver.run(phase, true);
        const Outcome changed = driver.run(phase, false);
        std::printf("  %-45s composed %7.1f Mpx of %7.1f (%5.1f %% saved); tick median %.3f ms, whole view %.3f ms\n",
                    phase.name, double(changed.pixels) / 1e6, double(whole.pixels) / 1e6,
                    100.0 * double(whole.pixels - changed.pixels) / double(std::max<qint64>(1, whole.pixels)),
                    changed.medianMs, whole.medianMs);
    }
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const ImageSet images;
    StationDocument doc;
    Viewport viewport;
    WorkArea area(doc, images, viewport);
    area.resize(1920, 1080);
    area.show();
    EditingView editing;
    X_Plocha &surface = *area.surface();
    surface.setFrameSource([&] { return editing; });
    QCoreApplication::processEvents();

    measure("start-up panel 150x50", doc, surface, editing);

    StationData big = bench::bigStation();
    doc.takeOver(std::move(big));
    viewport.applyPanelSize(4000, 4000);
    editing = EditingView{};
    surface.X_VykreslovacTimer(1, 60);
    QCoreApplication::processEvents();
    measure("1.2-million-element station 4000x4000, view at the top-left corner", doc, surface, editing);
    return 0;
}
