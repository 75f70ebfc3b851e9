#include "contacts/OrderedFetch.h"

#include <condition_variable>
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

// The PROPFIND before the fetches got an answer: a refused connection is the link, not the server.
bool spoilt(const HttpResult& answer) {
    return judgeTry(answer, ServerReached::Yes) != TryVerdict::Done;
}

// The threads that fetch. Each takes the next index itself as soon as it is free, so no fetch
// waits for the calling thread to hand it out; the calling thread only delivers, and moves the
// window of indexes that may be fetched ahead of it.
class FetchPool {
public:
    FetchPool(const std::function<HttpResult(std::size_t)>& fetch, std::size_t count, std::size_t width)
        : m_fetch(fetch), m_count(count), m_ahead(2 * width) {
        for (std::size_t i = 0; i < std::min(width, count); ++i) {
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

    // Waits until index is in and takes it, with index marked delivered: the window moves on.
    HttpResult take(std::size_t index) {
        std::unique_lock lock(m_mutex);
        m_answered.wait(lock, [&] { return m_answers.contains(index); });
        HttpResult answer = std::move(m_answers.extract(index).mapped());
        m_delivered = index + 1;
        lock.unlock();
        m_work.notify_one();  // one more index may start now
        return answer;
    }

    // Stops new fetches and waits until none is in flight, so that the caller's runs alone.
    void pause() {
        std::unique_lock lock(m_mutex);
        m_paused = true;
        m_answered.wait(lock, [this] { return m_inFlight == 0; });
    }
    void resume() {
        {
            const std::lock_guard lock(m_mutex);
            m_paused = false;
            m_quiet = false;
        }
        m_work.notify_all();
    }

private:
    bool mayStart() const { return !m_paused && !m_quiet && m_next < m_count && m_next < m_delivered + m_ahead; }

    void work() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_work.wait(lock, [this] { return m_closing || mayStart(); });
            if (m_closing) {
                return;  // nothing more starts; what runs ends on its own thread
            }
            const std::size_t index = m_next++;
            ++m_inFlight;
            lock.unlock();
            HttpResult result = fetchSafely(m_fetch, index);
            lock.lock();
            // A server gone quiet would make every new fetch wait out the idle limit too.
            m_quiet = m_quiet || judgeTry(result, ServerReached::Yes) == TryVerdict::Stalled;
            m_answers.emplace(index, std::move(result));
            --m_inFlight;
            // The calling thread waits for the next index in order, or for a pause to settle: an
            // answer further on would only wake it for nothing, a context switch per contact.
            if (index == m_delivered || (m_paused && m_inFlight == 0)) {
                m_answered.notify_one();
            }
        }
    }

    const std::function<HttpResult(std::size_t)>& m_fetch;
    const std::size_t m_count;
    const std::size_t m_ahead;  // how far past the last delivered index fetches may run
    std::mutex m_mutex;
    std::condition_variable m_work;      // fetching threads wait here for an index to start
    std::condition_variable m_answered;  // the calling thread waits here
    std::map<std::size_t, HttpResult> m_answers;
    std::size_t m_next = 0;
    std::size_t m_delivered = 0;
    std::size_t m_inFlight = 0;
    bool m_paused = false;
    bool m_quiet = false;  // a fetch got no byte at all: nothing starts until it was tried again
    bool m_closing = false;
    std::vector<std::thread> m_threads;
};

}  // namespace

FetchEnd fetchInOrder(std::size_t count, const std::function<HttpResult(std::size_t)>& fetch,
                      const std::function<bool(std::size_t, HttpResult&&)>& deliver, std::size_t width,
                      const PauseFunction& pause) {
    const auto triedAgain = [&](std::size_t i, HttpResult&& first) {
        return retried(
            std::move(first), [&] { return fetchSafely(fetch, i); }, ServerReached::Yes, pause);
    };
    if (width <= 1) {
        // One at a time through a function that cannot tell a link's fault from an answer (the
        // in-band shape): what it answers is delivered as it is.
        for (std::size_t i = 0; i < count; ++i) {
            if (!deliver(i, fetchSafely(fetch, i))) {
                return FetchEnd::Stopped;
            }
        }
        return FetchEnd::Finished;
    }
    FetchPool pool(fetch, count, width);
    for (std::size_t i = 0; i < count; ++i) {
        HttpResult answer = pool.take(i);
        if (spoilt(answer)) {
            pool.pause();
            TriedAnswer tried = triedAgain(i, std::move(answer));
            if (tried.end == TriesEnd::ServerStopped) {
                return FetchEnd::ServerStopped;  // the pool stays paused: nothing more starts
            }
            answer = std::move(tried.answer);
            pool.resume();
        }
        if (!deliver(i, std::move(answer))) {
            return FetchEnd::Stopped;
        }
    }
    return FetchEnd::Finished;
}
