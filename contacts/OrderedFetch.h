#pragma once
// Several GETs at a time, as a browser fetches from one host, with the answers handed on in the
// order the folder lists them.

#include "contacts/Outcome.h"
#include "contacts/RetryPolicy.h"
#include "net/HttpResult.h"

#include <cstddef>
#include <functional>

// The number of exchanges in flight at once: what browsers open to one host.
inline constexpr std::size_t kFetchWidth = 6;
// The bytes that answers waiting for an earlier one may hold, in flight or done: beyond the one to
// be delivered next, which is never held back.
inline constexpr std::size_t kHeldBytes = std::size_t{32} << 20;

enum class FetchEnd {
    Finished,       // every index was delivered
    Stopped,        // deliver returned false
    ServerStopped,  // the tries again took the server to have stopped: nothing from that index on
                    // was delivered
};
struct FetchEnding {
    FetchEnd end = FetchEnd::Finished;
    StopCause cause = StopCause::Silent;  // ServerStopped: why
};

// Asked by a fetch's transfer before its body grows to a size (HttpCall::mayHold).
using BodyGate = std::function<bool(std::size_t)>;

// Runs fetch(i, gate) for every i < count on up to kFetchWidth threads at once, and calls
// deliver(i, result) on the calling thread in index order, each as soon as it and every one before
// it are in. A fetch must pass its gate on to its transfer: it holds the transfer while the
// answers waiting for an earlier one would pass kHeldBytes, and no more fetches start then.
// A fetch that the link spoilt (see Outcome.h) is tried again before it is delivered, and only the
// last answer counts. The tries again run alone, once the others in flight are done or held: a
// server that serves one connection at a time refuses the others, or answers them 503. A spoilt
// fetch keeps any more from starting until it has been tried again; after it one fetch runs at a
// time, and the number grows back over the whole answers that follow: a link that drops
// connections is often one that has too many. At most 2 * kFetchWidth answers wait to be delivered.
// deliver returning false stops: nothing more starts or is delivered, and the call returns once
// the fetches in flight have ended. An exception from fetch is a failed answer (failure CutOff,
// its text the reason); one from deliver ends the fetching the same way and then propagates.
// pause is how the tries again wait.
FetchEnding fetchInOrder(std::size_t count,
                         const std::function<modWININET::HttpResult(std::size_t, const BodyGate&)>& fetch,
                         const std::function<bool(std::size_t, modWININET::HttpResult&&)>& deliver, const Pause& pause);
