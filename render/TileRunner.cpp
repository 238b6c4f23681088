#include "render/TileRunner.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace kalmor {

namespace {

// Outlives the frame: a pool thread may start after the frame ended.
struct Progress {
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::mutex mutex;
    std::condition_variable allDone;
};

}  // namespace

int tileHelpers(int tiles)
{
    constexpr int MostHelpers = 3;
    return std::clamp(std::min(QThread::idealThreadCount(), tiles) - 1, 0, MostHelpers);
}

void runTiles(int count, int helpers, const std::function<void(int tile, int worker)> &work)
{
    const auto progress = std::make_shared<Progress>();
    const auto take = [progress, count, &work](int worker) {
        for (int tile = progress->next++; tile < count; tile = progress->next++) {
            work(tile, worker);
            if (++progress->done == count) {
                const std::lock_guard lock(progress->mutex);
                progress->allDone.notify_all();
            }
        }
    };
    for (int worker = 1; worker <= helpers; ++worker)
        QThreadPool::globalInstance()->start([take, worker] { take(worker); });
    take(0);
    std::unique_lock lock(progress->mutex);
    progress->allDone.wait(lock, [&progress, count] { return progress->done == count; });
}

}  // namespace kalmor
