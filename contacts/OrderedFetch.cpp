#include "contacts/OrderedFetch.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

using modWININET::HttpResult;

// An exception cannot cross a thread: it becomes a failed answer of that one fetch.
HttpResult fetchSafely(const std::function<HttpResult(std::size_t)>& fetch, std::size_t index) {
    try {
        return fetch(index);
    } catch (const std::exception& error) {
        HttpResult failed;
        failed.failure = modWININET::Failure::CutOff;
        failed.reason = error.what();
        return failed;
    }
}

// The threads that run the fetches, and what they share with the calling thread.
class FetchPool {
public:
    FetchPool(const std::function<HttpResult(std::size_t)>& fetch, std::size_t threads) : m_fetch(fetch) {
        for (std::size_t i = 0; i < threads; ++i) {
            m_threads.emplace_back([this] { work(); });
        }
    }
    ~FetchPool() {
        {
            const std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_work.notify_all();
        for (std::thread& thread : m_threads) {
            thread.join();
        }
    }
    FetchPool(const FetchPool&) = delete;
    FetchPool& operator=(const FetchPool&) = delete;

    void start(std::size_t index) {
        {
            const std::lock_guard lock(m_mutex);
            m_queue.push_back(index);
        }
        m_work.notify_one();
    }

    // Waits for at least one answer and moves every answer in so far into answers; gives how many.
    std::size_t collect(std::map<std::size_t, HttpResult>& answers) {
        std::unique_lock lock(m_mutex);
        m_answered.wait(lock, [this] { return !m_done.empty(); });
        for (auto& [index, result] : m_done) {
            answers[index] = std::move(result);
        }
        return std::exchange(m_done, {}).size();
    }

private:
    void work() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_work.wait(lock, [this] { return m_closing || !m_queue.empty(); });
            if (m_closing) {
                return;  // what is queued is not started; what runs ends on its own thread
            }
            const std::size_t index = m_queue.front();
            m_queue.pop_front();
            lock.unlock();
            HttpResult result = fetchSafely(m_fetch, index);
            lock.lock();
            m_done.emplace_back(index, std::move(result));
            m_answered.notify_one();  // only the calling thread waits for answers
        }
    }

    const std::function<HttpResult(std::size_t)>& m_fetch;
    mutable std::mutex m_mutex;
    // Apart, so that a start wakes one fetching thread and an answer only the calling thread.
    std::condition_variable m_work;
    std::condition_variable m_answered;
    std::deque<std::size_t> m_queue;
    std::vector<std::pair<std::size_t, HttpResult>> m_done;
    bool m_closing = false;
    std::vector<std::thread> m_threads;
};

// A server that takes one connection at a time may refuse the others, or answer them 503, even
// just after the client saw the one before end: its side of that connection may still be open.
bool mayBeOneAtATime(const HttpResult& answer) {
    return !answer.whole() || answer.status == 503;
}

}  // namespace

void fetchInOrder(std::size_t count, const std::function<HttpResult(std::size_t)>& fetch,
                  const std::function<bool(std::size_t, HttpResult&&)>& deliver, std::size_t width) {
    if (width <= 1 || count <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!deliver(i, fetchSafely(fetch, i))) {
                return;
            }
        }
        return;
    }
    std::map<std::size_t, HttpResult> answers;
    std::size_t started = 0;
    std::size_t delivered = 0;
    std::size_t queued = 0;  // started and not yet collected
    FetchPool pool(fetch, std::min(width, count));
    while (delivered < count) {
        while (started < count && queued < width && started < delivered + 2 * width) {
            pool.start(started++);
            ++queued;
        }
        queued -= pool.collect(answers);
        for (auto next = answers.find(delivered); next != answers.end(); next = answers.find(delivered)) {
            if (mayBeOneAtATime(next->second)) {
                // Nothing new starts until the others in flight are in; then it runs alone, here.
                while (queued > 0) {
                    queued -= pool.collect(answers);
                }
                next->second = fetchSafely(fetch, delivered);
            }
            HttpResult result = std::move(next->second);
            answers.erase(next);
            if (!deliver(delivered++, std::move(result))) {
                return;
            }
        }
    }
}
