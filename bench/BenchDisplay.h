#pragma once
// Where bench_window draws: on the xcb platform under a private Xvfb with a window manager when
// xvfb-run is installed, as a person's desktop would, else on the offscreen platform.

#include <string>

class BenchDisplay {
public:
    // Call first in main, before any thread or window. Without a display of its own yet and with
    // xvfb-run on the PATH, this replaces the process with itself under xvfb-run; otherwise it
    // chooses the platform (QT_QPA_PLATFORM) and, under Xvfb, starts icewm when it is installed.
    BenchDisplay(int argc, char** argv);
    ~BenchDisplay();  // stops the window manager it started
    BenchDisplay(const BenchDisplay&) = delete;
    BenchDisplay& operator=(const BenchDisplay&) = delete;

    // For the report, e.g. "xcb under Xvfb, window manager icewm" or "offscreen (no xvfb-run)".
    const std::string& description() const { return m_description; }

private:
    std::string m_description;
    int m_windowManager = -1;
};
