#include "cli/ExitOutcome.h"

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "codec/Utf8.h"
#include "contacts/WindowOutcome.h"

namespace {

struct Row {
    Outcome outcome;
    ExitStatus status;
};

// A server that was reached and then failed a request, or stopped answering, leaves the rest done:
// status 4. Only what stops everything before any contact (no folder, no server, a refused TLS
// peer) is 3.
constexpr Row kRows[] = {
    {Outcome::Done, exitDone},
    {Outcome::Unauthorized, exitRejected},
    {Outcome::Forbidden, exitRejected},
    {Outcome::SecureConnectionRefused, exitNoFolder},
    {Outcome::NoContactFolder, exitNoFolder},
    {Outcome::Unreachable, exitNoFolder},
    {Outcome::ServerStopped, exitSomeFailed},
    {Outcome::SomeFailed, exitSomeFailed},
};

void tellWindowMessage(const ContactFolder& folder, const Verdict& verdict) {
    tell(utf8::encode(windowEnding(folder.login(), verdict).prompt));
}

}  // namespace

int exitStatusOf(Outcome outcome) {
    for (const Row& row : kRows) {
        if (row.outcome == outcome) {
            return row.status;
        }
    }
    return exitNoFolder;
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
    } else {
        tell(subject + ": " + failureText(verdict.answer));
    }
    return exitStatusOf(verdict.outcome);
}
