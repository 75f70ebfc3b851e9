#include "cli/TerminalPrompt.h"

#include "codec/WriteAll.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace {

int promptFd = -1;
termios savedSettings{};
constexpr int restoredSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Only async-signal-safe calls: put the terminal back, then die of the signal as if never caught.
extern "C" void restoreAndReraise(int signal) {
    if (promptFd >= 0) {
        tcsetattr(promptFd, TCSAFLUSH, &savedSettings);
    }
    std::signal(signal, SIG_DFL);
    raise(signal);
}

std::optional<std::string> readLine(int fd) {
    std::string line;
    char c = 0;
    for (;;) {
        const ssize_t got = read(fd, &c, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0 || c == '\n') {
            return line;
        }
        line.push_back(c);
    }
}

}  // namespace

std::optional<std::string> promptLine(const std::string& prompt) {
    const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    writeAll(fd, prompt);
    std::optional<std::string> line = readLine(fd);
    close(fd);
    if (line && !line->empty() && line->back() == '\r') {
        line->pop_back();
    }
    return line;
}

std::optional<std::string> promptWithoutEcho(const std::string& prompt) {
    const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        close(fd);
        return std::nullopt;
    }
    savedSettings = settings;
    promptFd = fd;
    struct sigaction previous[std::size(restoredSignals)] = {};
    struct sigaction restore = {};
    restore.sa_handler = restoreAndReraise;
    sigemptyset(&restore.sa_mask);
    for (std::size_t i = 0; i < std::size(restoredSignals); ++i) {
        sigaction(restoredSignals[i], &restore, &previous[i]);
    }
    // ECHONL shows the Enter, so the next message starts on a line of its own.
    settings.c_lflag = (settings.c_lflag & ~static_cast<tcflag_t>(ECHO)) | ECHONL;
    writeAll(fd, prompt);
    std::optional<std::string> line;
    if (tcsetattr(fd, TCSAFLUSH, &settings) == 0) {
        line = readLine(fd);
        tcsetattr(fd, TCSAFLUSH, &savedSettings);
    }
    for (std::size_t i = 0; i < std::size(restoredSignals); ++i) {
        sigaction(restoredSignals[i], &previous[i], nullptr);
    }
    promptFd = -1;
    close(fd);
    if (line && !line->empty() && line->back() == '\r') {
        line->pop_back();
    }
    return line;
}
