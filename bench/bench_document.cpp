// Station file and element list figures for a large station: 1,000,000
// track tiles, 100,000 lamps and 100,000 label plates.
#include "catalogue/ElementKinds.h"
#include "document/StationFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <thread>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace kalmor;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long peakMegabytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

StationData generate()
{
    StationData d;
    d.rows = d.columns = 4000;
    d.stationName = QStringLiteral("Velká stanice");
    QRandomGenerator rng(1);
    const auto kinds = allKinds();
    QStringList tileKinds;
    for (const KindInfo &k : kinds) {
        if (elementClassOf(QString::fromLatin1(k.name)) == ElementClass::TrackTile)
            tileKinds << QString::fromLatin1(k.name);
    }
    d.tiles.reserve(1'000'000);
    for (qint32 i = 0; i < 1'000'000; ++i) {
        TPolePanelu t;
        t.X = i % 4000;
        t.Y = (i / 4000) * 16;
        t.Cont_LS = t.Cont_PS = true;
        t.Cont_PH = (i % 7) == 0;
        t.NAME = tileKinds[qsizetype(rng.bounded(quint32(tileKinds.size())))];
        d.tiles.append(std::move(t));
    }
    for (qint32 i = 0; i < 100'000; ++i)
        d.lamps.append({i % 4000, (i / 4000) * 16 + 3, 31, 32, QStringLiteral("ZAR_CE_ZH")});
    for (qint32 i = 0; i < 100'000; ++i)
        d.plates.append({QStringLiteral("STI_Cely_Dole"), i % 4000, (i / 4000) * 16 + 5});
    return d;
}

// The least a read can cost: the file's bytes read in large pieces and
// their lines counted, in milliseconds.
double scanMs(const QString &path, qint64 &lines)
{
    QElapsedTimer t;
    t.start();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    QByteArray buffer(4 << 20, Qt::Uninitialized);
    lines = 0;
    for (qint64 n; (n = f.read(buffer.data(), buffer.size())) > 0;)
        lines += std::count(buffer.constData(), buffer.constData() + n, '\n');
    return double(t.nsecsElapsed()) / 1e6;
}

// The least a safe save can cost: the file's bytes written with plain
// write(2) beside the file, the disk started on them as they go, synced
// and renamed over the old file, in milliseconds. The replaced file is let
// go on a thread of its own, as a save lets it go.
double syncedWriteMs(const QByteArray &bytes, const QString &path)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray beside = target + ".neu";
    QElapsedTimer t;
    t.start();
    const int fd = ::open(beside.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return -1;
    constexpr qsizetype Piece = qsizetype(8) << 20;
    for (qsizetype at = 0; at < bytes.size(); at += Piece) {
        const qsizetype n = std::min(Piece, bytes.size() - at);
        if (::write(fd, bytes.constData() + at, std::size_t(n)) != n)
            return -1;
        ::sync_file_range(fd, at, n, SYNC_FILE_RANGE_WRITE);
    }
    const bool synced = ::fdatasync(fd) == 0;
    ::close(fd);
    const int replaced = ::open(target.constData(), O_RDONLY);
    if (!synced || ::rename(beside.constData(), target.constData()) != 0)
        return -1;
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (replaced >= 0)
        std::thread([replaced] { ::close(replaced); }).detach();
    return ms;
}

// Lets what the last write left behind (the replaced file's blocks, data
// on its way to the disk) settle, so that the next write does not pay
// for it.
void settle()
{
    QThread::msleep(200);
    ::sync();
}

}  // namespace

int main()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velka.stvx"));
    std::vector<double> writes, reads;
    qsizetype elements = 0;
    {
        const StationData station = generate();
        elements = station.elementCount();
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer t;
            t.start();
            const FileResult r = writeStationFile(path, station);
            writes.push_back(double(t.nsecsElapsed()) / 1e6);
            if (!r.ok()) {
                std::printf("write failed: %s\n", qPrintable(r.error));
                return 1;
            }
        }
    }
    StationData loaded;
    for (int run = 0; run < 3; ++run) {
        loaded = StationData();
        QElapsedTimer t;
        t.start();
        const FileResult r = readStationFile(path, loaded);
        reads.push_back(double(t.nsecsElapsed()) / 1e6);
        if (!r.ok() || loaded.elementCount() != elements) {
            std::printf("read failed: %s\n", qPrintable(r.error));
            return 1;
        }
    }

    std::vector<double> scans;
    qint64 lines = 0;
    for (int run = 0; run < 3; ++run)
        scans.push_back(scanMs(path, lines));

    // Placements as the pointer makes them: find the first record at the
    // cell, then replace it or append.
    QRandomGenerator rng(2);
    std::vector<double> placements;
    for (int run = 0; run < 5; ++run) {
        StationData d = loaded.settingsOnly();
        d.tiles = loaded.tiles;
        d.tiles.append({});  // detach the shared index before timing
        d.tiles.removeAt(d.tiles.count() - 1);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 100'000; ++i) {
            TPolePanelu r;
            r.X = qint32(rng.bounded(4000));
            r.Y = qint32(rng.bounded(4000));
            r.NAME = QStringLiteral("KOL_sLSPS");
            const qsizetype at = d.tiles.firstAt(r.X, r.Y);
            if (at >= 0)
                d.tiles.replace(at, std::move(r));
            else
                d.tiles.append(std::move(r));
        }
        placements.push_back(double(t.nsecsElapsed()) / 1e6);
    }

    // After the peak is taken: the bytes in memory are not the program's.
    // The station's write and the plain write of its bytes take turns, each
    // after the disk settled, so that both meet the same conditions.
    const long peak = peakMegabytes();
    std::vector<double> pairedWrites, syncedWrites;
    {
        QFile f(path);
        const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        for (int run = 0; run < 5; ++run) {
            settle();
            QElapsedTimer t;
            t.start();
            if (!writeStationFile(path, loaded).ok())
                return 1;
            pairedWrites.push_back(double(t.nsecsElapsed()) / 1e6);
            if (run == 0) {
                QFile written(path);
                if (!written.open(QIODevice::ReadOnly) || written.readAll() != bytes) {
                    std::printf("the station's write and the plain write differ in their bytes\n");
                    return 1;
                }
            }
            settle();
            syncedWrites.push_back(syncedWriteMs(bytes, path));
        }
    }

    std::printf("station: %lld elements (1,000,000 tiles, 100,000 lamps, 100,000 plates)\n", qlonglong(elements));
    std::printf("on %d cores\n", QThread::idealThreadCount());
    const double scan = median(scans);
    std::printf("file size: %.1f MB, %lld lines\n", double(QFileInfo(path).size()) / 1e6, qlonglong(lines));
    std::printf("scan (bytes read, lines counted): median %.0f ms\n", scan);
    std::printf("write: median %.0f ms (target < 250 ms), %.1f x the scan (goal within 3 x)\n", median(writes),
                median(writes) / scan);
    std::printf("taking turns, each after a sync: write median %.0f ms, plain write(2) of the same bytes, synced and renamed over the file, median %.0f ms\n",
                median(pairedWrites), median(syncedWrites));
    std::printf("read: median %.0f ms (target < 300 ms), %.1f x the scan (goal within 3 x)\n", median(reads),
                median(reads) / scan);
    const double readRatio = median(reads) / scan;
    const double writeRatio = median(pairedWrites) / median(syncedWrites);
    std::printf("read ratio to scan: %.2f x (target within 3 x) %s\n", readRatio, readRatio <= 3 ? "ok" : "OVER");
    std::printf("write ratio to plain write: %.2f x (target within 1.2 x) %s\n", writeRatio,
                writeRatio <= 1.2 ? "ok" : "OVER");
    std::printf("100,000 placements: median %.1f ms (target < 100 ms)\n", median(placements));
    std::printf("peak memory of the whole run: %ld MB (target < 400 MB)\n", peak);
    return 0;
}
