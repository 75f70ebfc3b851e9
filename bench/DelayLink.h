#pragma once
// A slow network on loopback for the benchmarks: a TCP relay on 127.0.0.1 in a child process of its
// own, in front of a server on another loopback port. Each byte reaches the other side half a round
// trip after it was sent, and a new connection's first bytes one more round trip later, as TCP's
// handshake costs that before a client may send: an exchange on a fresh connection then takes two
// round trips, as it does across the internet. Create it before any thread starts (it forks).

#include <sys/types.h>
#include <chrono>
#include <cstdint>

class DelayLink {
public:
    // Throws std::runtime_error when no loopback port can be had or the child cannot start.
    DelayLink(std::int32_t serverPort, std::chrono::milliseconds roundTrip);
    ~DelayLink();  // stops and reaps the child
    DelayLink(const DelayLink&) = delete;
    DelayLink& operator=(const DelayLink&) = delete;

    std::int32_t port() const { return m_port; }

private:
    std::int32_t m_port = 0;
    pid_t m_pid = -1;
};
