#include "contacts/RetryPolicy.h"

#include <optional>
#include <thread>
#include <utility>

namespace {

using modWININET::Failure;
using modWININET::HttpResult;
using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kLongestBusyRun = 30s;
constexpr std::size_t kMostSpoiltInRow = 5;

bool isBusy(const HttpResult& answer) {
    return answer.whole() && answer.status == 503;
}

TriedAnswer stopped(TriedAnswer tried, StopCause cause) {
    tried.end = TriesEnd::ServerStopped;
    tried.cause = cause;
    return tried;
}

}  // namespace

void sleepPause(std::chrono::milliseconds pause) {
    std::this_thread::sleep_for(pause);
}

bool FaultRun::busyPast(const HttpResult& answer, std::chrono::milliseconds wait) {
    if (!isBusy(answer)) {
        m_busyWaits = 0ms;
        return false;
    }
    m_busyWaits += wait;
    return m_busyWaits > kLongestBusyRun;
}

bool FaultRun::spoiltPast(const HttpResult& last, bool triedAgain) {
    if (judgeTry(last, ServerReached::Yes) == TryVerdict::Done) {
        m_spoiltInRow = 0;
        if (last.whole()) {
            m_busyWaits = 0ms;
        }
        return false;
    }
    return triedAgain && ++m_spoiltInRow >= kMostSpoiltInRow;
}

TriedAnswer retried(HttpResult first, const std::function<HttpResult()>& attempt, ServerReached reached,
                    const Pause& pause, FaultRun& run) {
    TriedAnswer tried{std::move(first), TriesEnd::Answered};
    TryVerdict verdict = judgeTry(tried.answer, reached);
    bool waitedOutBefore = false;  // any try that ran into the idle limit, bytes or not
    bool slowBefore = false;
    std::size_t retry = 0;
    for (; verdict != TryVerdict::Done; ++retry) {
        // A link that resets still sends bytes; this one went quiet. A body that stalled and a try
        // that then got nothing make two idle limits: a third would pass what a person waits.
        if (verdict == TryVerdict::Stalled && waitedOutBefore) {
            return stopped(std::move(tried), StopCause::Silent);
        }
        // A server that drips its answer drips the next one too.
        const bool slow = tried.answer.failure == Failure::TooSlow;
        if (slow && slowBefore) {
            return stopped(std::move(tried), StopCause::Slow);
        }
        slowBefore = slowBefore || slow;
        waitedOutBefore = waitedOutBefore || tried.answer.failure == Failure::TimedOut;
        const std::optional<std::chrono::milliseconds> wait = retryPause(retry, tried.answer);
        if (!wait) {
            // Refused to the last try, after it had answered: the server went away. Each contact
            // after would wait out its tries again, a second and more each.
            if (tried.answer.failure == Failure::NoConnection) {
                return stopped(std::move(tried), StopCause::Silent);
            }
            break;
        }
        if (run.busyPast(tried.answer, *wait)) {
            return stopped(std::move(tried), StopCause::Busy);
        }
        pause(*wait);
        tried.answer = attempt();
        verdict = judgeTry(tried.answer, ServerReached::Yes);
    }
    if (run.spoiltPast(tried.answer, retry > 0)) {
        return stopped(std::move(tried), StopCause::Spoiling);
    }
    return tried;
}
