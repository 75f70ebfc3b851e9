#include "net/TransferAbort.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace modWININET {
namespace {

std::atomic<bool> aborted{false};
std::mutex abortMutex;
std::condition_variable abortSignal;

}  // namespace

void abortTransfers() {
    {
        const std::lock_guard lock(abortMutex);
        aborted = true;
    }
    abortSignal.notify_all();
}

bool transfersAborted() {
    return aborted.load(std::memory_order_relaxed);
}

void pauseUnlessAborted(std::chrono::milliseconds pause) {
    std::unique_lock lock(abortMutex);
    abortSignal.wait_for(lock, pause, [] { return aborted.load(); });
}

}  // namespace modWININET
