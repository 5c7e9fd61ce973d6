#include "spatial/NodeRunner.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "base/HazardError.h"

namespace zorv {

void RunNodes(std::size_t count, int threads, const std::function<void(std::size_t, const StopTest&)>& work,
              const std::function<bool(std::size_t)>& poll) {
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = static_cast<int>(
        std::min<std::size_t>(static_cast<std::size_t>(threads), std::max<std::size_t>(count, 1)));
    std::atomic<std::size_t> next{0}, done{0};
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::condition_variable finished;
    std::exception_ptr failure;
    int running = threads;
    const StopTest stopTest = [&stop] { return stop.load(std::memory_order_relaxed); };

    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&] {
            try {
                while (!stop.load(std::memory_order_relaxed)) {
                    const std::size_t node = next.fetch_add(1, std::memory_order_relaxed);
                    if (node >= count) break;
                    work(node, stopTest);
                    done.fetch_add(1, std::memory_order_relaxed);
                }
            } catch (...) {
                std::lock_guard<std::mutex> g(lock);
                if (!failure) failure = std::current_exception();
                stop = true;
            }
            std::lock_guard<std::mutex> g(lock);
            if (--running == 0) finished.notify_one();
        });
    bool cancelled = false;
    {
        std::unique_lock<std::mutex> g(lock);
        while (running > 0) {
            finished.wait_for(g, kPollInterval, [&] { return running == 0; });
            if (running == 0) break;
            g.unlock();
            const bool wantsStop = !cancelled && poll(done.load(std::memory_order_relaxed));
            g.lock();
            if (wantsStop) {
                cancelled = true;
                stop = true;
            }
        }
    }
    for (std::thread& t : workers) t.join();
    if (failure) std::rethrow_exception(failure);
    if (cancelled) throw EBreakProcess();
    poll(count);
}

}  // namespace zorv
