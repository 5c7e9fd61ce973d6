#include "hazard/ChunkPool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace zorv {

struct ChunkPool::State {
    struct Job {
        std::size_t count = 0;
        const std::function<void(std::size_t)>* work = nullptr;
        std::atomic<std::size_t> next{0};
        std::atomic<bool> stopped{false};
    };

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable done;
    std::uint64_t generation = 0;
    Job* job = nullptr;
    std::size_t busy = 0;  // helpers still on the current job
    bool quit = false;
    std::mutex callers;  // one run at a time
    std::vector<std::thread> helpers;

    static void drain(Job& j) {
        while (!j.stopped.load(std::memory_order_relaxed)) {
            const std::size_t c = j.next.fetch_add(1, std::memory_order_relaxed);
            if (c >= j.count) break;
            (*j.work)(c);
        }
    }

    void helperLoop() {
        std::uint64_t seen = 0;
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [&] { return quit || generation != seen; });
            if (quit) return;
            seen = generation;
            Job* j = job;
            lock.unlock();
            drain(*j);
            lock.lock();
            if (--busy == 0) done.notify_one();
        }
    }
};

ChunkPool& ChunkPool::shared() {
    static ChunkPool pool;
    return pool;
}

ChunkPool::ChunkPool() : state_(new State) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const unsigned helpers = std::min(cores, 16u) - 1;
    for (unsigned i = 0; i < helpers; ++i) state_->helpers.emplace_back([this] { state_->helperLoop(); });
}

ChunkPool::~ChunkPool() {
    {
        std::lock_guard lock(state_->mutex);
        state_->quit = true;
    }
    state_->wake.notify_all();
    for (std::thread& t : state_->helpers) t.join();
    delete state_;
}

std::size_t ChunkPool::helperCount() const { return state_->helpers.size(); }

bool ChunkPool::run(std::size_t count, const std::function<void(std::size_t)>& work,
                    const std::function<bool()>& stop) {
    std::unique_lock caller(state_->callers, std::try_to_lock);
    if (!caller.owns_lock() || state_->helpers.empty() || count < 2) {
        for (std::size_t c = 0; c < count; ++c) {
            work(c);
            if (stop && stop()) return false;
        }
        return true;
    }
    State::Job job;
    job.count = count;
    job.work = &work;
    {
        std::lock_guard lock(state_->mutex);
        state_->job = &job;
        state_->busy = state_->helpers.size();
        ++state_->generation;
    }
    state_->wake.notify_all();
    bool completed = true;
    while (!job.stopped.load(std::memory_order_relaxed)) {
        const std::size_t c = job.next.fetch_add(1, std::memory_order_relaxed);
        if (c >= count) break;
        work(c);
        if (stop && stop()) {
            job.stopped.store(true, std::memory_order_relaxed);
            completed = false;
        }
    }
    std::unique_lock lock(state_->mutex);
    state_->done.wait(lock, [&] { return state_->busy == 0; });
    state_->job = nullptr;
    return completed;
}

}  // namespace zorv
