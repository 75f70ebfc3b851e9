#pragma once
// The time limits of one transfer once its connection stands (Limits): the idle limit, and the
// floor below which a transfer that still moves is given up as well.

#include "net/HttpResult.h"
#include "net/modWININET.h"

#include <chrono>
#include <cstdint>

namespace modWININET::detail {

class TransferPace {
public:
    using Clock = std::chrono::steady_clock;

    explicit TransferPace(const Limits& limits) : m_limits(limits) {}

    // A byte went out or came in: the idle limit starts again.
    void active(Clock::time_point now) { m_lastActivity = now; }
    // The transfer is held by its caller: neither limit counts the time, both start again.
    void restart(Clock::time_point now, std::int64_t moved);
    // At a progress tick with `moved` body bytes sent and received so far: None to go on, else
    // TimedOut after the idle limit or below the floor with no byte of the answer (heardAny
    // false), TooSlow below the floor once the answer began. The floor asks, over each floorTime
    // from the first tick on, floorBytesPerSecond on average (headers are not counted: libcurl
    // counts bodies).
    Failure judge(Clock::time_point now, std::int64_t moved, bool heardAny);

private:
    const Limits& m_limits;
    Clock::time_point m_lastActivity = Clock::now();
    bool m_floorRunning = false;
    Clock::time_point m_floorSince;
    std::int64_t m_floorBytes = 0;  // bytes moved at m_floorSince
};

}  // namespace modWININET::detail
