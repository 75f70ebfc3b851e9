#pragma once
// How an operation on the contact folder ended (a listing, one contact's GET, one POST), judged in
// one place, so that the window and the command line tell a person the same thing about it.

#include "net/HttpResult.h"

#include <cstddef>

enum class Outcome {
    Done,                     // everything asked was done
    Unauthorized,             // 401: the credentials were rejected
    Forbidden,                // 403
    SecureConnectionRefused,  // the TLS certificate or handshake was refused: nothing was sent
    NoContactFolder,          // the PROPFIND was answered with no listing (another status, a cut
                              // answer, no "D:response")
    Unreachable,              // no connection, a server text that cannot be sent, or not one byte
                              // before the time limit
    ServerStopped,            // the server stopped answering part way through a listing
    SomeFailed,               // the server was reached and a request failed: an error status, or an
                              // answer cut off, stalled, too big or no HTTP
};

// An outcome and what its message names.
struct Verdict {
    Outcome outcome = Outcome::Done;
    // The answer that decided it, without its body: the refusal's reason and certificate, the
    // status or reason of a failure.
    modWININET::HttpResult answer;
    std::size_t listed = 0;  // ServerStopped: how many contacts were listed
    std::size_t total = 0;   // of how many
};

// One GET or POST: Done for a whole answer below 300, else why not.
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
