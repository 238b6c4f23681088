// kalmor-cli render of the 1.2-million-element station at cell 4 (a
// 16000 x 16000 pixel picture) to PNG and to SVG: wall time, file size and
// the peak memory of the kalmor-cli process.
#include "bench/support/BenchSupport.h"
#include "document/StationFile.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

struct Outcome {
    int status = -1;
    double seconds = 0;
    long peakMegabytes = 0;
};

Outcome runCli(const std::vector<QByteArray> &args)
{
    std::vector<char *> argv;
    QByteArray program(KALMOR_CLI);
    argv.push_back(program.data());
    std::vector<QByteArray> copies = args;
    for (QByteArray &a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    Outcome o;
    if (posix_spawn(&pid, program.constData(), nullptr, nullptr, argv.data(), environ) != 0)
        return o;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    o.seconds = double(timer.nsecsElapsed()) / 1e9;
    o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    o.peakMegabytes = usage.ru_maxrss / 1024;
    return o;
}

}  // namespace

int main()
{
    QTemporaryDir dir;
    const QString station = dir.filePath(QStringLiteral("big.stvx"));
    if (!kalmor::writeStationFile(station, kalmor::bench::bigStation()).ok()) {
        std::printf("cannot write the station\n");
        return 1;
    }
    std::printf("kalmor-cli render, 4000x4000 panel with 1,000,000 tiles, 100,000 lamps, 100,000 plates, cell 4"
                " (16000x16000 pixels):\n");
    for (const char *extension : {"png", "svg"}) {
        const QString out = dir.filePath(QStringLiteral("big.") + QLatin1String(extension));
        const Outcome o = runCli({"render", station.toLocal8Bit(), "-o", out.toLocal8Bit(), "--cell", "4"});
        if (o.status != 0) {
            std::printf("  %s: kalmor-cli failed with status %d\n", extension, o.status);
            return 1;
        }
        std::printf("  %s: %.1f s, file %.1f MB, peak memory %ld MB\n", extension, o.seconds,
                    double(QFileInfo(out).size()) / 1e6, o.peakMegabytes);
        QFile::remove(out);
    }
    return 0;
}
