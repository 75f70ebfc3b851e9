#include "net/TransferPace.h"

namespace modWININET::detail {

void TransferPace::restart(Clock::time_point now, std::int64_t moved) {
    m_lastActivity = now;
    m_floorRunning = true;
    m_floorSince = now;
    m_floorBytes = moved;
}

Failure TransferPace::judge(Clock::time_point now, std::int64_t moved, bool heardAny) {
    if (now - m_lastActivity >= m_limits.idleTimeout) {
        return Failure::TimedOut;
    }
    if (!m_floorRunning) {
        m_floorRunning = true;
        m_floorSince = now;
        m_floorBytes = moved;
        return Failure::None;
    }
    if (now - m_floorSince < m_limits.floorTime) {
        return Failure::None;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_floorSince).count();
    if (moved - m_floorBytes < std::int64_t(m_limits.floorBytesPerSecond) * elapsed / 1000) {
        // Without a byte of the answer, it is a server that went quiet, as after the idle limit.
        return heardAny ? Failure::TooSlow : Failure::TimedOut;
    }
    m_floorSince = now;
    m_floorBytes = moved;
    return Failure::None;
}

}  // namespace modWININET::detail
