// Track circuits and the layout check on the 1.2-million-element station:
// the whole analysis, a single tile change, and a frame with the track
// circuits shown.
#include "analysis/LayoutAnalysis.h"
#include "bench/support/BenchSupport.h"

#include <cstdio>

using namespace kalmor;

int main()
{
    StationData doc = bench::bigStation();
    {
        LayoutAnalysis a;
        const double ms = bench::medianMs(5, [&] {
            LayoutAnalysis fresh;
            fresh.update(doc);
        });
        a.update(doc);
        std::printf("analysis of the 4000x4000 station (1,000,000 tiles, 100,000 lamps, 100,000 plates): median %.1f ms,"
                    " %lld circuits, %lld problems, peak %ld MB\n",
                    ms, static_cast<long long>(a.circuitCount()), static_cast<long long>(a.problems().size()),
                    bench::peakMegabytes());

        // One tile replaced in turn at cells of the middle, as a click does.
        qint32 k = 0;
        const double one = bench::medianMs(2001, [&] {
            TPolePanelu t = doc.tiles.at(k);
            t.X = 2000 + k % 31;
            t.Y = 2000 + k % 17;
            t.Cont_LS = t.Cont_PS = k % 2;
            doc.tiles.replace(k, std::move(t));
            ++k;
            a.update(doc);
        });
        std::printf("update after one tile replaced: median %.3f ms (%llu full analyses in all)\n", one,
                    static_cast<unsigned long long>(a.fullAnalyses()));
    }
    return 0;
}
