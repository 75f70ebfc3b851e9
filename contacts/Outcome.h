#pragma once
// How an operation on the contact folder ended (a listing, one contact's GET, one write), judged in
// one place, so that the window and the command line tell a person the same thing about it; and,
// for each try of a request, whether it is tried again and after what pause.

#include "net/HttpResult.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>

enum class Outcome {
    Done,                     // everything asked was done
    Unauthorized,             // 401: the credentials were rejected
    Forbidden,                // 403
    SecureConnectionRefused,  // the TLS certificate or handshake was refused: nothing was sent
    NoContactFolder,          // the PROPFIND was answered with no listing (another status, a cut
                              // answer, no "D:response")
    Unreachable,              // no connection, a server text that cannot be sent, or not one byte
                              // before the time limit, with the request not sent whole
    ServerStopped,            // the server stopped serving part way through a listing (StopCause)
    SomeFailed,               // the server was reached and a request failed: an error status, or an
                              // answer cut off, stalled, too slow, too big or no HTTP
    MayHaveBeenStored,        // a write (POST, PUT, DELETE) went out whole and no answer came: the
                              // server may have done it
};

// Why a listing took its server to have stopped; the message names it.
enum class StopCause {
    Silent,    // a try that ran into the idle limit and then one that got no byte at all, or
               // connections refused to the last try
    Slow,      // an answer too slow (Limits' floor), and its try again too
    Spoiling,  // five answers in a row spoilt, each tried again
    Busy,      // 503 answers in a row whose Retry-After waits passed 30 s in all
};

// An outcome and what its message names.
struct Verdict {
    Outcome outcome = Outcome::Done;
    // The answer that decided it, without its body: the refusal's reason and certificate, the
    // status or reason of a failure.
    modWININET::HttpResult answer;
    std::size_t listed = 0;               // ServerStopped: how many contacts were listed
    std::size_t total = 0;                // of how many
    StopCause cause = StopCause::Silent;  // ServerStopped: why
};

// One request by its verb: Done for a whole answer below 300, else why not. A GET, PROPFIND or
// HEAD is never MayHaveBeenStored; any other verb is when its request went out whole and no status
// came back.
Verdict judgeRequest(std::string_view verb, const modWININET::HttpResult& answer);
// A GET.
Verdict judgeRequest(const modWININET::HttpResult& answer);

// The folder's PROPFIND: Done for a success that holds "D:response"; the refusals and Unreachable
// as judgeRequest gives them; NoContactFolder for any other answer.
Verdict judgeListing(const modWININET::HttpResult& propfind);

// The login or the secure connection was refused: every further request would be refused alike.
bool isRefusal(Outcome outcome);

// How one write on a contact (a PUT or a DELETE) ended.
enum class WriteOutcome {
    Done,                     // 2xx; for a DELETE also 404: the contact is gone either way
    Changed,                  // 412: the contact changed since it was fetched, or the name is taken
    NotAllowed,               // 405 or 501: the server takes no such write on a contact
    Unauthorized,             // 401
    Forbidden,                // 403
    SecureConnectionRefused,  // the TLS certificate or handshake was refused: nothing was sent
    LinkFailed,               // no whole answer, after the tries again the retry rules allow
    Failed,                   // any other status
};
enum class WriteVerb { Put, Delete };
WriteOutcome judgeWrite(const modWININET::HttpResult& answer, WriteVerb verb);
// The listing ends at once with the outcome's message, keeping the lines so far: a refusal, or a
// server that stopped.
bool stopsListing(Outcome outcome);

// Whether the server has answered an earlier request of this operation. A refused connection
// before that is a server that is not there, not a flaky link.
enum class ServerReached { No, Yes };

// What one try of an idempotent request (GET, PROPFIND) calls for. A write is never tried again:
// a cut answer may hide what the server did.
enum class TryVerdict {
    Done,     // an answer to keep: a success, any other status, or a fault no retry mends
    Again,    // a reset, a cut or too slow answer, a refused connection after a first success, a 503
    Stalled,  // not one byte came before the idle limit
};
TryVerdict judgeTry(const modWININET::HttpResult& answer, ServerReached reached);

// The pause before retry number `retry` (0 for the first) after answer: at once, 0.25 s, then
// 1 s; a 503's Retry-After instead, capped at 10 s. nullopt: no retry is left.
std::optional<std::chrono::milliseconds> retryPause(std::size_t retry, const modWININET::HttpResult& answer);
