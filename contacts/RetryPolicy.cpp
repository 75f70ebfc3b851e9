#include "contacts/RetryPolicy.h"

#include "net/TransferAbort.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

using modWININET::Failure;
using modWININET::HttpResult;
using namespace std::chrono_literals;

// A reset is usually over at once; a server restarting needs a moment more.
constexpr std::array<std::chrono::milliseconds, 3> kPauses{0ms, 250ms, 1000ms};
constexpr std::chrono::seconds kLongestRetryAfter{10};

void sleepFor(std::chrono::milliseconds pause) {
    modWININET::pauseUnlessAborted(pause);
}

}  // namespace

TryVerdict judgeTry(const HttpResult& answer, ServerReached reached) {
    if (answer.whole()) {
        return answer.status == 503 ? TryVerdict::Again : TryVerdict::Done;
    }
    switch (answer.failure) {
        case Failure::TimedOut: return answer.heardAny ? TryVerdict::Again : TryVerdict::Stalled;
        case Failure::CutOff: return TryVerdict::Again;
        case Failure::NoConnection: return reached == ServerReached::Yes ? TryVerdict::Again : TryVerdict::Done;
        default: return TryVerdict::Done;  // refused certificates, bad server text, too big: the same again
    }
}

std::optional<std::chrono::milliseconds> retryPause(std::size_t retry, const HttpResult& answer) {
    if (retry >= kPauses.size()) {
        return std::nullopt;
    }
    if (answer.whole() && answer.status == 503 && answer.retryAfterSeconds) {
        const long seconds = std::min<long>(*answer.retryAfterSeconds, kLongestRetryAfter.count());
        return std::chrono::seconds(seconds);
    }
    return kPauses[retry];
}

TriedAnswer retried(HttpResult first, const std::function<HttpResult()>& attempt, ServerReached reached,
                    const PauseFunction& sleep) {
    TriedAnswer tried{std::move(first), TriesEnd::Answered};
    TryVerdict verdict = judgeTry(tried.answer, reached);
    bool waitedOutBefore = false;  // any try that ran into the idle limit, bytes or not
    for (std::size_t retry = 0; verdict != TryVerdict::Done; ++retry) {
        // A link that resets still sends bytes; this one went quiet. A body that stalled and a try
        // that then got nothing make two idle limits: a third would pass what a person waits.
        if (verdict == TryVerdict::Stalled && waitedOutBefore) {
            tried.end = TriesEnd::ServerStopped;
            return tried;
        }
        waitedOutBefore = waitedOutBefore || tried.answer.failure == Failure::TimedOut;
        const std::optional<std::chrono::milliseconds> pause = retryPause(retry, tried.answer);
        if (!pause) {
            // Refused to the last try, after it had answered: the server went away. Each contact
            // after would wait out its tries again, a second and more each.
            if (tried.answer.failure == Failure::NoConnection) {
                tried.end = TriesEnd::ServerStopped;
            }
            return tried;
        }
        (sleep ? sleep : sleepFor)(*pause);
        tried.answer = attempt();
        verdict = judgeTry(tried.answer, ServerReached::Yes);
    }
    return tried;
}
