#pragma once
// Several GETs at a time, as a browser fetches from one host, with the answers handed on in the
// order the folder lists them.

#include "contacts/RetryPolicy.h"
#include "net/HttpResult.h"

#include <cstddef>
#include <functional>

// The number of exchanges in flight at once: what browsers open to one host.
inline constexpr std::size_t kFetchWidth = 6;

enum class FetchEnd {
    Finished,       // every index was delivered
    Stopped,        // deliver returned false
    ServerStopped,  // an index got no byte at all twice: nothing from it on was delivered
};

// Runs fetch(i) for every i < count on up to width threads at once, and calls deliver(i, result)
// on the calling thread in index order, each as soon as it and every one before it are in.
// A fetch that the link spoilt (see RetryPolicy.h) is tried again before it is delivered, and only
// the last answer counts. The tries again run alone, once the others in flight are done: a server
// that serves one connection at a time refuses the others, or answers them 503. A spoilt fetch
// keeps any more from starting until it has been tried again, and after it one fetch runs at a time, and the number
// grows back to width over the whole answers that follow: a link that drops connections is often one that has too many.
// At most width * 2 answers wait to be delivered. deliver returning false stops: nothing more starts or is delivered,
// and the call returns once the fetches in flight have ended. An exception from fetch is a failed answer (failure
// CutOff, its text the reason); one from deliver ends the fetching the same way and then propagates. pause is how tries
// again wait (tests pass one that does not). With width 1 (an in-band transport, which cannot tell a link's fault)
// nothing is tried again.
FetchEnd fetchInOrder(std::size_t count, const std::function<modWININET::HttpResult(std::size_t)>& fetch,
                      const std::function<bool(std::size_t, modWININET::HttpResult&&)>& deliver,
                      std::size_t width = kFetchWidth, const PauseFunction& pause = {});
