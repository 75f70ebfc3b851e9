#include "cli/ExitOutcome.h"

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "codec/Utf8.h"
#include "contacts/WindowOutcome.h"

namespace {

void tellWindowMessage(const ContactFolder& folder, const Verdict& verdict) {
    tell(utf8::encode(windowEnding(folder.login(), verdict).prompt));
}

}  // namespace

// A server that was reached and then failed a request, or stopped answering, leaves the rest done:
// status 4; so does a write that may have been done, which a person checks before sending it again.
// Only what stops everything before any contact (no folder, no server, a refused TLS peer) is 3.
int exitStatusOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::Done: return exitDone;
        case Outcome::Unauthorized:
        case Outcome::Forbidden: return exitRejected;
        case Outcome::SecureConnectionRefused:
        case Outcome::NoContactFolder:
        case Outcome::Unreachable: return exitNoFolder;
        case Outcome::ServerStopped:
        case Outcome::SomeFailed:
        case Outcome::MayHaveBeenStored: return exitSomeFailed;
    }
    return exitNoFolder;  // not reached: every case returns
}

std::string failureText(const modWININET::HttpResult& answer) {
    if (answer.failure != modWININET::Failure::None) {
        return answer.reason;
    }
    return "the server answered " + std::to_string(answer.status);
}

int reportListing(const ContactFolder& folder, const Verdict& verdict) {
    tellWindowMessage(folder, verdict);
    if (!isRefusal(verdict.outcome)) {
        // The window says no more; a person at a shell is helped by what actually went wrong.
        tell(verdict.answer.succeeded() ? "the server's answer lists no contacts (no D:response in it)"
                                        : failureText(verdict.answer));
    }
    return exitStatusOf(verdict.outcome);
}

int reportRequest(const ContactFolder& folder, const Verdict& verdict, const std::string& subject) {
    if (isRefusal(verdict.outcome)) {
        tellWindowMessage(folder, verdict);
    } else if (verdict.outcome == Outcome::MayHaveBeenStored) {
        tell(subject + " may have been stored: it went out whole, then " + failureText(verdict.answer) +
             "; list the folder before sending it again");
    } else {
        tell(subject + ": " + failureText(verdict.answer));
    }
    return exitStatusOf(verdict.outcome);
}
