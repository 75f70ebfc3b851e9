#pragma once
// Whether a window answers the window manager's pings, as GNOME and KDE ask before they call a
// window "not responding": from a connection of its own to the X server, the probe sends the window
// a _NET_WM_PING every 50 ms (each once the one before was answered or given up after 10 s) and
// keeps how long the answers took. X11 only: for window 0 it sends nothing.

#include <atomic>
#include <cstdint>
#include <thread>

class PingProbe {
public:
    explicit PingProbe(std::uint32_t window);
    ~PingProbe();  // stops and joins
    PingProbe(const PingProbe&) = delete;
    PingProbe& operator=(const PingProbe&) = delete;

    // After stop(): the pings answered, and the longest wait for an answer (ms), also of one that
    // was still unanswered at the stop.
    void stop();
    int answered() const { return m_answered; }
    double longestMs() const { return m_longestMs; }

private:
    void run();

    std::uint32_t m_window;
    std::atomic<bool> m_stop{false};
    int m_answered = 0;
    double m_longestMs = 0;
    std::thread m_thread;
};
