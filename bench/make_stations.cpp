// Writes the benchmark stations as station files, for trying them in the
// real program: make_stations DIR writes DIR/big.stvx (1.2 million
// elements), DIR/bigdesk.stvx (the same with 100,000 desk elements),
// DIR/bigtexts.stvx (that with 200,000 plates with texts more, as the 4K
// frames are measured on), DIR/stacked.stvx (200,000 tiles on one cell) and
// DIR/stacked1000.stvx (1,000 cells with 200 each).
#include "bench/support/BenchSupport.h"
#include "document/StationFile.h"

#include <QDir>

#include <cstdio>

using namespace kalmor;

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_stations DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const std::pair<const char *, StationData> stations[] = {
        {"big.stvx", bench::bigStation()},
        {"bigdesk.stvx", bench::bigDeskStation()},
        {"bigtexts.stvx", [] {
             StationData doc = bench::bigDeskStation();
             bench::addTextPlates(doc, 200000);
             return doc;
         }()},
        {"stacked.stvx", bench::stackedStation(1, 200000)},
        {"stacked1000.stvx", bench::stackedStation(1000, 200)},
    };
    for (const auto &[name, data] : stations) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        const FileResult r = writeStationFile(path, data);
        if (!r.ok()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(r.error));
            return 2;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
