#include "contacts/Outcome.h"

#include <string_view>

namespace {

using modWININET::Failure;
using modWININET::HttpResult;

Verdict decided(Outcome outcome, const HttpResult& answer) {
    Verdict verdict{outcome, {}};
    verdict.answer.status = answer.status;
    verdict.answer.failure = answer.failure;
    verdict.answer.reason = answer.reason;
    verdict.answer.certificate = answer.certificate;
    verdict.answer.heardAny = answer.heardAny;
    return verdict;  // the body stays behind: a listing's runs to megabytes
}

// A connection the server took and then spoilt is that request's failure alone. A time-out
// without a byte may as well be a connection never made.
bool serverReached(const HttpResult& answer) {
    switch (answer.failure) {
        case Failure::CutOff:
        case Failure::TooBig:
        case Failure::NotHttp: return true;
        case Failure::TimedOut: return answer.heardAny;
        default: return false;
    }
}

}  // namespace

Verdict judgeRequest(const HttpResult& answer) {
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
    return decided(serverReached(answer) ? Outcome::SomeFailed : Outcome::Unreachable, answer);
}

Verdict judgeListing(const HttpResult& propfind) {
    Verdict verdict = judgeRequest(propfind);
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
