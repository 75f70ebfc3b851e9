#pragma once
// Several GETs at a time, as a browser fetches from one host, with the answers handed on in the
// order the folder lists them.

#include "net/HttpResult.h"

#include <cstddef>
#include <functional>

// The number of exchanges in flight at once: what browsers open to one host.
inline constexpr std::size_t kFetchWidth = 6;

// Runs fetch(i) for every i < count on up to width threads at once, and calls deliver(i, result)
// on the calling thread in index order, each as soon as it and every one before it are in.
// When several run at once, a fetch that got no whole answer, or a 503, may have met a server that
// serves one connection at a time: it is run again alone, once the others in flight are done,
// before it is delivered, and only that answer counts. With width 1 nothing is run again. At most width * 2 answers
// wait to be delivered. deliver returning false stops: nothing more starts or is delivered, and the call returns once
// the fetches in flight have ended. An exception from fetch is a failed answer (failure CutOff,
// its text the reason); one from deliver ends the fetching the same way and then propagates.
void fetchInOrder(std::size_t count, const std::function<modWININET::HttpResult(std::size_t)>& fetch,
                  const std::function<bool(std::size_t, modWININET::HttpResult&&)>& deliver,
                  std::size_t width = kFetchWidth);
