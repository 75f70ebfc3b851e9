#include "contacts/Outcome.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

using modWININET::Failure;
using modWININET::HttpResult;
using namespace std::chrono_literals;

// A reset is usually over at once; a server restarting needs a moment more.
constexpr std::array<std::chrono::milliseconds, 3> kPauses{0ms, 250ms, 1000ms};
constexpr std::chrono::seconds kLongestRetryAfter{10};

Verdict decided(Outcome outcome, const HttpResult& answer) {
    Verdict verdict{outcome, {}};
    verdict.answer.status = answer.status;
    verdict.answer.failure = answer.failure;
    verdict.answer.reason = answer.reason;
    verdict.answer.certificate = answer.certificate;
    verdict.answer.heardAny = answer.heardAny;
    verdict.answer.connected = answer.connected;
    verdict.answer.requestSent = answer.requestSent;
    return verdict;  // the body stays behind: a listing's runs to megabytes
}

// A connection the server took and then spoilt is that request's failure alone. A time-out
// without a byte may as well be a connection never made.
bool serverReached(const HttpResult& answer) {
    switch (answer.failure) {
        case Failure::CutOff:
        case Failure::TooBig:
        case Failure::TooSlow:
        case Failure::NotHttp: return true;
        case Failure::TimedOut: return answer.heardAny;
        case Failure::None:
        case Failure::InvalidServer:
        case Failure::NoConnection:
        case Failure::Certificate:
        case Failure::TlsHandshake: return false;
    }
    return false;
}

bool isRead(std::string_view verb) {
    return verb == "GET" || verb == "PROPFIND" || verb == "HEAD";
}

}  // namespace

Verdict judgeRequest(std::string_view verb, const HttpResult& answer) {
    if (answer.failure == Failure::Certificate || answer.failure == Failure::TlsHandshake) {
        return decided(Outcome::SecureConnectionRefused, answer);
    }
    if (answer.whole()) {
        switch (answer.status) {
            case 401: return decided(Outcome::Unauthorized, answer);
            case 403: return decided(Outcome::Forbidden, answer);
            default: return decided(answer.status < 300 ? Outcome::Done : Outcome::SomeFailed, answer);
        }
    }
    // A status that came says what the server did, whatever became of the body after it; without
    // one, a write that went out whole may have been done all the same.
    if (!isRead(verb) && answer.status != 0 && answer.status < 300) {
        return decided(Outcome::Done, answer);
    }
    if (!isRead(verb) && answer.requestSent && answer.status == 0) {
        return decided(Outcome::MayHaveBeenStored, answer);
    }
    return decided(serverReached(answer) ? Outcome::SomeFailed : Outcome::Unreachable, answer);
}

Verdict judgeRequest(const HttpResult& answer) {
    return judgeRequest("GET", answer);
}

Verdict judgeListing(const HttpResult& propfind) {
    Verdict verdict = judgeRequest("PROPFIND", propfind);
    if (verdict.outcome == Outcome::SomeFailed ||
        (verdict.outcome == Outcome::Done && propfind.body.find("D:response") == std::string_view::npos)) {
        verdict.outcome = Outcome::NoContactFolder;
    }
    return verdict;
}

bool isRefusal(Outcome outcome) {
    return outcome == Outcome::Unauthorized || outcome == Outcome::Forbidden ||
           outcome == Outcome::SecureConnectionRefused;
}

WriteOutcome judgeWrite(const HttpResult& answer, WriteVerb verb) {
    switch (judgeRequest(answer).outcome) {
        case Outcome::Done: return WriteOutcome::Done;
        case Outcome::Unauthorized: return WriteOutcome::Unauthorized;
        case Outcome::Forbidden: return WriteOutcome::Forbidden;
        case Outcome::SecureConnectionRefused: return WriteOutcome::SecureConnectionRefused;
        default: break;
    }
    if (!answer.whole()) {
        return WriteOutcome::LinkFailed;
    }
    switch (answer.status) {
        case 404: return verb == WriteVerb::Delete ? WriteOutcome::Done : WriteOutcome::Failed;
        case 412: return WriteOutcome::Changed;
        case 405:
        case 501: return WriteOutcome::NotAllowed;
        default: return WriteOutcome::Failed;
    }
}

bool stopsListing(Outcome outcome) {
    return isRefusal(outcome) || outcome == Outcome::ServerStopped;
}

TryVerdict judgeTry(const HttpResult& answer, ServerReached reached) {
    if (answer.whole()) {
        return answer.status == 503 ? TryVerdict::Again : TryVerdict::Done;
    }
    switch (answer.failure) {
        case Failure::TimedOut: return answer.heardAny ? TryVerdict::Again : TryVerdict::Stalled;
        case Failure::CutOff:
        case Failure::TooSlow: return TryVerdict::Again;
        case Failure::NoConnection: return reached == ServerReached::Yes ? TryVerdict::Again : TryVerdict::Done;
        // Refused certificates and handshakes, bad server text, too big, no HTTP: the same again.
        case Failure::None:
        case Failure::InvalidServer:
        case Failure::TooBig:
        case Failure::NotHttp:
        case Failure::Certificate:
        case Failure::TlsHandshake: return TryVerdict::Done;
    }
    return TryVerdict::Done;
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
