#pragma once
// When an idempotent request (GET, PROPFIND) is tried again, and how long before each try. A POST
// never is: a cut answer may hide a contact the server stored.

#include "net/HttpResult.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>

// Whether the server has answered an earlier request of this operation. A refused connection
// before that is a server that is not there, not a flaky link.
enum class ServerReached { No, Yes };

enum class TryVerdict {
    Done,     // an answer to keep: a success, any other status, or a fault no retry mends
    Again,    // a reset, a cut answer, a refused connection after a first success, or a 503
    Stalled,  // not one byte came before the idle limit
};
TryVerdict judgeTry(const modWININET::HttpResult& answer, ServerReached reached);

// The pause before retry number `retry` (0 for the first) after answer: at once, 0.25 s, then
// 1 s; a 503's Retry-After instead, capped at 10 s. nullopt: no retry is left.
std::optional<std::chrono::milliseconds> retryPause(std::size_t retry, const modWININET::HttpResult& answer);

// How a run of tries ended.
enum class TriesEnd {
    Answered,       // the last answer is what the request gives (success or not)
    ServerStopped,  // the server has stopped answering: a try that ran into the idle limit and then
                    // one that got no byte at all, or a connection refused to the last try
};

struct TriedAnswer {
    modWININET::HttpResult answer;
    TriesEnd end = TriesEnd::Answered;
};

// Tries again after first, as the verdicts and pauses above say, calling attempt() for each try.
// A try that ran into the idle limit is followed by one more at most: when that one gets no byte
// at all, the run ends in ServerStopped. sleep is the pause, so
// tests need not wait.
using PauseFunction = std::function<void(std::chrono::milliseconds)>;
TriedAnswer retried(modWININET::HttpResult first, const std::function<modWININET::HttpResult()>& attempt,
                    ServerReached reached, const PauseFunction& sleep = {});
