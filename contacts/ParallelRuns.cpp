#include "contacts/ParallelRuns.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

void runAtOnce(std::size_t count, std::size_t width, const std::function<bool(std::size_t)>& job) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stopped{false};
    const auto work = [&] {
        while (!stopped.load()) {
            const std::size_t index = next.fetch_add(1);
            if (index >= count) {
                return;
            }
            if (!job(index)) {
                stopped.store(true);
            }
        }
    };
    std::vector<std::jthread> threads;
    for (std::size_t i = 1; i < std::min(std::max<std::size_t>(width, 1), count); ++i) {
        threads.emplace_back(work);
    }
    work();  // the calling thread is one of them
}
