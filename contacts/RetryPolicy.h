#pragma once
// The tries again of idempotent requests (GET, PROPFIND) as contacts/Outcome.h judges each try,
// and the runs of faults across one operation's requests that tell when a server is to be taken
// as stopped.

#include "contacts/Outcome.h"
#include "net/HttpResult.h"

#include <chrono>
#include <cstddef>
#include <functional>

// How tries again wait. The program sleeps (sleepPause); tests pass one that keeps the pauses.
using Pause = std::function<void(std::chrono::milliseconds)>;
void sleepPause(std::chrono::milliseconds pause);

// The faults of one operation so far, across its requests.
class FaultRun {
public:
    // Before a try again after answer waits `wait`: true when answer is a 503 and the waits of
    // the 503s in a row, this one included, pass 30 s. Any other answer ends the row.
    bool busyPast(const modWININET::HttpResult& answer, std::chrono::milliseconds wait);
    // A request's last answer: true when it is the fifth in a row still spoilt after its tries
    // again. A whole answer other than a 503 ends both rows.
    bool spoiltPast(const modWININET::HttpResult& last, bool triedAgain);

private:
    std::chrono::milliseconds m_busyWaits{0};
    std::size_t m_spoiltInRow = 0;
};

// How a run of tries ended.
enum class TriesEnd {
    Answered,       // the last answer is what the request gives (success or not)
    ServerStopped,  // the server is taken to have stopped, for the cause given
};

struct TriedAnswer {
    modWININET::HttpResult answer;
    TriesEnd end = TriesEnd::Answered;
    StopCause cause = StopCause::Silent;  // ServerStopped: why
};

// Tries again after first, as judgeTry and retryPause say, calling attempt() for each try and
// pause before it. A try that ran into the idle limit or the floor is followed by one more at
// most: when that one gets no byte at all, or is too slow again, the run ends in ServerStopped.
// So it does when connections are refused to the last try, and when run says the server spoils
// or is busy for too long.
TriedAnswer retried(modWININET::HttpResult first, const std::function<modWININET::HttpResult()>& attempt,
                    ServerReached reached, const Pause& pause, FaultRun& run);
