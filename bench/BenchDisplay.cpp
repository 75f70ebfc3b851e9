#include "bench/BenchDisplay.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

constexpr const char* kUnderXvfb = "VQ_BENCH_UNDER_XVFB";

void runUnderXvfb(int argc, char** argv) {
    // Resolved here: under xvfb-run, /proc/self/exe would name its shell.
    std::string self(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length <= 0) {
        return;
    }
    self.resize(static_cast<std::size_t>(length));
    setenv(kUnderXvfb, "1", 1);
    std::vector<char*> command{const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), const_cast<char*>("-s"),
                               const_cast<char*>("-screen 0 1280x1024x24"), self.data()};
    command.insert(command.end(), argv + 1, argv + argc);
    command.push_back(nullptr);
    execvp(command[0], command.data());
    unsetenv(kUnderXvfb);  // not installed: go on here, offscreen
}

}  // namespace

BenchDisplay::BenchDisplay(int argc, char** argv) {
    if (std::getenv(kUnderXvfb) == nullptr) {
        runUnderXvfb(argc, argv);
    }
    if (std::getenv(kUnderXvfb) == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        m_description = "offscreen (no xvfb-run)";
        return;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        execlp("icewm", "icewm", static_cast<char*>(nullptr));
        _exit(127);
    }
    // Give the window manager time to take the screen before the first window maps.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
        m_windowManager = pid;
        m_description = "xcb under Xvfb, window manager icewm";
    } else {
        m_description = "xcb under Xvfb, no window manager (icewm missing)";
    }
}

BenchDisplay::~BenchDisplay() {
    if (m_windowManager > 0) {
        kill(-m_windowManager, SIGTERM);
        waitpid(m_windowManager, nullptr, 0);
    }
}
