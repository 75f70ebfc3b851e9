#include "contacts/OrderedFetch.h"

#include "contacts/FetchWidth.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace {

using modWININET::HttpResult;

// An exception cannot cross a thread: it becomes a failed answer of that one fetch.
HttpResult fetchSafely(const std::function<HttpResult(std::size_t, const BodyGate&)>& fetch, std::size_t index,
                       const BodyGate& gate) {
    try {
        return fetch(index, gate);
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
    using Fetch = std::function<HttpResult(std::size_t, const BodyGate&)>;

    FetchPool(const Fetch& fetch, std::size_t count) : m_fetch(fetch), m_count(count) {
        for (std::size_t i = 0; i < std::min(kFetchWidth, count); ++i) {
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
        m_doneBytes -= answer.body.size();
        m_delivered = index + 1;
        lock.unlock();
        m_work.notify_one();  // one more index may start now
        return answer;
    }

    // Stops new fetches and waits until none is in flight but those held, so that the caller's
    // runs alone.
    void pause() {
        std::unique_lock lock(m_mutex);
        m_paused = true;
        m_answered.wait(lock, [this] { return m_inFlight == m_holding.size(); });
    }
    // After a try again: the fetches go on, one at a time at first (see judge). Whole answers that
    // came while it waited were started before the fault and say nothing of the link since.
    void resume() {
        {
            const std::lock_guard lock(m_mutex);
            m_paused = false;
            m_held = false;
            m_width.narrow();
        }
        m_work.notify_all();
    }

private:
    // The bytes of the answers that wait for an earlier one, done or growing.
    std::size_t bytesAhead() const {
        const auto next = m_answers.find(m_delivered);
        return m_doneBytes - (next == m_answers.end() ? 0 : next->second.body.size()) + m_growingBytes;
    }

    bool mayStart() const {
        return !m_paused && !m_held && m_inFlight < m_width.now() && m_next < m_count &&
               m_next < m_delivered + 2 * kFetchWidth && (m_next == m_delivered || bytesAhead() < kHeldBytes);
    }

    void stopGrowing(std::size_t index) {
        const auto growing = m_growing.find(index);
        if (growing != m_growing.end()) {
            m_growingBytes -= growing->second;
            m_growing.erase(growing);
        }
        m_holding.erase(index);
    }

    // The gate of index's transfer. While a spoilt fetch is tried again, the next index is held
    // like any other, so that the try again runs alone.
    bool mayHold(std::size_t index, std::size_t bytes) {
        const std::lock_guard lock(m_mutex);
        if (m_closing || (index <= m_delivered && !m_paused)) {
            stopGrowing(index);
            return true;
        }
        const std::size_t before = m_growing.contains(index) ? m_growing[index] : 0;
        if (bytesAhead() - before + bytes > kHeldBytes) {
            if (m_holding.insert(index).second && m_paused) {
                m_answered.notify_one();
            }
            return false;
        }
        m_holding.erase(index);
        m_growingBytes += bytes - before;
        m_growing[index] = bytes;
        return true;
    }

    // A spoilt answer holds new fetches until it was tried again: a server gone quiet would make
    // each of them wait out the idle limit too, and on a flaky link the try again then follows its
    // failure with little in between. resume then narrows the width (FetchWidth.h). A refusal
    // holds them too: what started before it is delivered would be refused alike.
    void judge(const HttpResult& result) {
        if (spoilt(result) || isRefusal(judgeRequest(result).outcome)) {
            m_held = true;
        } else if (m_width.widened()) {
            m_work.notify_one();
        }
    }

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
            HttpResult result =
                fetchSafely(m_fetch, index, [this, index](std::size_t bytes) { return mayHold(index, bytes); });
            lock.lock();
            stopGrowing(index);
            judge(result);
            m_doneBytes += result.body.size();
            m_answers.emplace(index, std::move(result));
            --m_inFlight;
            // The calling thread waits for the next index in order, or for a pause to settle: an
            // answer further on would only wake it for nothing, a context switch per contact.
            if (index == m_delivered || (m_paused && m_inFlight == m_holding.size())) {
                m_answered.notify_one();
            }
        }
    }

    const Fetch& m_fetch;
    const std::size_t m_count;
    std::mutex m_mutex;
    std::condition_variable m_work;      // fetching threads wait here for an index to start
    std::condition_variable m_answered;  // the calling thread waits here
    std::map<std::size_t, HttpResult> m_answers;
    std::size_t m_doneBytes = 0;                   // the bodies in m_answers
    std::map<std::size_t, std::size_t> m_growing;  // the bodies in flight beyond the next, by index
    std::size_t m_growingBytes = 0;
    std::set<std::size_t> m_holding;  // the indexes whose transfers are held
    std::size_t m_next = 0;
    std::size_t m_delivered = 0;
    std::size_t m_inFlight = 0;
    FetchWidth m_width{kFetchWidth};
    bool m_paused = false;
    bool m_held = false;  // a fetch was spoilt: nothing starts until it was tried again
    bool m_closing = false;
    std::vector<std::thread> m_threads;
};

FetchEnding serverStopped(StopCause cause) {
    return {FetchEnd::ServerStopped, cause};
}

}  // namespace

FetchEnding fetchInOrder(std::size_t count, const std::function<HttpResult(std::size_t, const BodyGate&)>& fetch,
                         const std::function<bool(std::size_t, HttpResult&&)>& deliver, const Pause& pause) {
    const BodyGate unbounded = [](std::size_t) {
        return true;
    };  // the one to be delivered next
    FaultRun run;
    FetchPool pool(fetch, count);
    for (std::size_t i = 0; i < count; ++i) {
        HttpResult answer = pool.take(i);
        if (spoilt(answer)) {
            pool.pause();
            TriedAnswer tried = retried(
                std::move(answer), [&] { return fetchSafely(fetch, i, unbounded); }, ServerReached::Yes, pause, run);
            if (tried.end == TriesEnd::ServerStopped) {
                return serverStopped(tried.cause);  // the pool stays paused: nothing more starts
            }
            answer = std::move(tried.answer);
            pool.resume();
        } else {
            run.spoiltPast(answer, false);
        }
        if (!deliver(i, std::move(answer))) {
            return {FetchEnd::Stopped};
        }
    }
    return {FetchEnd::Finished};
}
