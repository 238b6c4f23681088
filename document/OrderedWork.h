#pragma once

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kalmor {

// The threads a large read or write uses: one per core unless told. The
// cores are counted once: counting reads a file of the system each time.
inline int workThreads(int wanted)
{
    static const int cores = int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    return wanted > 0 ? wanted : cores;
}

// Jobs processed on worker threads and consumed on the calling thread in
// the order they were added, each as soon as it and all before it are
// processed. A few jobs are in flight at a time, so memory stays bounded
// however many there are. With no worker threads each job is processed
// and consumed at once.
template <class Job>
class OrderedWork {
public:
    using Process = std::function<void(Job &)>;  // on a worker
    using Consume = std::function<bool(Job &)>;  // in order; false stops the work

    OrderedWork(int threads, Process process, Consume consume)
        : m_process(std::move(process)), m_consume(std::move(consume))
    {
        for (int i = 0; i < threads; ++i)
            m_workers.emplace_back([this] { work(); });
    }

    ~OrderedWork()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_closing = true;
            m_waiting.clear();
        }
        m_wake.notify_all();
        for (std::thread &t : m_workers)
            t.join();
    }

    OrderedWork(const OrderedWork &) = delete;
    OrderedWork &operator=(const OrderedWork &) = delete;

    // False once the work stopped; later jobs are not wanted then.
    bool add(std::unique_ptr<Job> job)
    {
        if (m_stopped)
            return false;
        if (m_workers.empty()) {
            m_process(*job);
            m_stopped = !m_consume(*job);
            return !m_stopped;
        }
        std::unique_lock lock(m_mutex);
        m_inOrder.push_back(Entry{std::move(job), false});
        m_waiting.push_back(&m_inOrder.back());
        m_wake.notify_one();
        consumeProcessed(lock, InFlightPerThread * m_workers.size());
        return !m_stopped;
    }

    // Consumes every job still in flight; false when the work stopped.
    bool finish()
    {
        std::unique_lock lock(m_mutex);
        consumeProcessed(lock, 0);
        return !m_stopped;
    }

private:
    static constexpr std::size_t InFlightPerThread = 2;

    struct Entry {
        std::unique_ptr<Job> job;
        bool processed;
    };

    // Consumes jobs from the front while they are processed, and waits for
    // them while more than `keep` are in flight.
    void consumeProcessed(std::unique_lock<std::mutex> &lock, std::size_t keep)
    {
        while (!m_stopped && !m_inOrder.empty()) {
            if (!m_inOrder.front().processed) {
                if (m_inOrder.size() <= keep)
                    return;
                m_processed.wait(lock);
                continue;
            }
            const std::unique_ptr<Job> job = std::move(m_inOrder.front().job);
            m_inOrder.pop_front();
            lock.unlock();
            const bool go = m_consume(*job);
            lock.lock();
            m_stopped = !go;
        }
        if (m_stopped)
            m_waiting.clear();
    }

    void work()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_closing || !m_waiting.empty(); });
            if (m_waiting.empty())
                return;
            Entry *entry = m_waiting.front();
            m_waiting.pop_front();
            Job &job = *entry->job;
            lock.unlock();
            m_process(job);
            lock.lock();
            entry->processed = true;
            m_processed.notify_all();
        }
    }

    Process m_process;
    Consume m_consume;
    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_processed;
    std::deque<Entry> m_inOrder;     // not consumed yet, in order
    std::deque<Entry *> m_waiting;   // not started yet
    bool m_closing = false;
    bool m_stopped = false;
};

}  // namespace kalmor
