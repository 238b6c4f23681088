#pragma once

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace kalmor {

namespace turns {

constexpr int Stopped = -1;

// Waits until `turn` is `job`; false when the work stopped. A turn mostly
// comes within the time of one job: waiting for it awake (yielding the
// core) is far quicker than being woken, up to a millisecond.
inline bool awaitTurn(const std::atomic<int> &turn, int job)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point awakeUntil = Clock::now() + std::chrono::milliseconds(1);
    for (int due = turn.load(std::memory_order_acquire); due != job; due = turn.load(std::memory_order_acquire)) {
        if (due == Stopped)
            return false;
        if (Clock::now() < awakeUntil)
            std::this_thread::yield();
        else
            turn.wait(due, std::memory_order_acquire);
    }
    return true;
}

}  // namespace turns

// Jobs 0 .. count - 1, each prepared on one of `threads` threads (the
// calling thread is one of them) and then finished in order on the same
// thread, once the job before it was finished: a job's result never passes
// to another thread, and no thread sleeps while another hands it work, which
// on a machine of few cores costs more than the work itself. `prepare(job,
// scratch)` and `finish(job, scratch)` get a scratch of the thread's own;
// a false from `finish` stops the work. Before each finish of its own, and
// once more at the end, the calling thread calls `progress(begun)` with the
// count of jobs whose finish has begun, the one that stopped the work
// included. True when every job was finished.
template <class Scratch, class Prepare, class Finish, class Progress>
bool takeTurns(int count, int threads, const Prepare &prepare, const Finish &finish, const Progress &progress)
{
    std::atomic<int> next{0};
    std::atomic<int> turn{0};   // the job to be finished next, or Stopped
    std::atomic<int> begun{0};  // jobs whose finish has begun
    const auto work = [&](bool calling) {
        Scratch scratch;
        for (int job = next++; job < count; job = next++) {
            prepare(job, scratch);
            if (!turns::awaitTurn(turn, job))
                return;
            begun.store(job + 1, std::memory_order_relaxed);
            if (calling)
                progress(job + 1);
            const bool finished = finish(job, scratch);
            turn.store(finished ? job + 1 : turns::Stopped, std::memory_order_release);
            turn.notify_all();
            if (!finished)
                return;
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (int t = 1; t < threads; ++t)
            helpers.emplace_back(work, false);
        work(true);
    }
    progress(begun.load(std::memory_order_relaxed));
    return turn.load(std::memory_order_relaxed) == count;
}

}  // namespace kalmor
