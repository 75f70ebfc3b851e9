#include "tests/cli/CliRun.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace {

std::vector<std::string> childEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "VQCONTACTS_", 11) != 0) {
            entries.emplace_back(*entry);
        }
    }
    entries.insert(entries.end(), extra.begin(), extra.end());
    return entries;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Feeds input and drains both outputs together, so neither side waits on a full pipe.
bool exchange(int in, int out, int err, const std::string& input, CliRun& run) {
    std::size_t fed = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    pollfd fds[3] = {{out, POLLIN, 0}, {err, POLLIN, 0}, {in, POLLOUT, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    bool ended = true;
    while (ended && (fds[0].fd >= 0 || fds[1].fd >= 0)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        ended = left.count() > 0 && (poll(fds, 3, static_cast<int>(left.count())) >= 0 || errno == EINTR);
        if (!ended) {
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && fds[i].revents != 0) {
                char chunk[65536];
                const ssize_t got = read(fds[i].fd, chunk, sizeof chunk);
                if (got > 0) {
                    sinks[i]->append(chunk, static_cast<std::size_t>(got));
                } else if (got == 0 || errno != EINTR) {
                    fds[i].fd = -1;
                }
            }
        }
        if (fds[2].fd >= 0 && fds[2].revents != 0) {
            const ssize_t wrote = fed < input.size() ? write(in, input.data() + fed, input.size() - fed) : 0;
            fed += wrote > 0 ? static_cast<std::size_t>(wrote) : 0;
            if (fed == input.size() || (wrote < 0 && errno != EINTR && errno != EAGAIN)) {
                close(in);
                fds[2].fd = -1;
            }
        }
    }
    if (fds[2].fd >= 0) {
        close(in);
    }
    return ended;
}

}  // namespace

CliRun runCli(const std::vector<std::string>& command, const std::vector<std::string>& extraEnvironment,
              const std::string& input, ErrorStream errorStream) {
    std::vector<std::string> arguments{VQ_CLI_PATH};
    arguments.insert(arguments.end(), command.begin(), command.end());
    std::vector<std::string> environment = childEnvironment(extraEnvironment);
    int in[2], out[2], err[2];
    const bool pipes = pipe2(in, O_CLOEXEC) == 0 && pipe2(out, O_CLOEXEC) == 0;
    // Raw, so the bytes come as written (no CR before each LF). Its reading side reports EIO, not
    // end of file, once the child has closed its side.
    termios raw{};
    cfmakeraw(&raw);
    const bool errors = errorStream == ErrorStream::Pipe
                            ? pipe2(err, O_CLOEXEC) == 0
                            : openpty(&err[0], &err[1], nullptr, &raw, nullptr) == 0 &&
                                  fcntl(err[0], F_SETFD, FD_CLOEXEC) == 0 && fcntl(err[1], F_SETFD, FD_CLOEXEC) == 0;
    if (!pipes || !errors) {
        throw std::runtime_error("cannot make pipes");
    }
    fcntl(in[1], F_SETFL, O_NONBLOCK);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, arguments[0].c_str(), &actions, &attributes, pointersTo(arguments).data(),
                                    pointersTo(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(in[0]);
    close(out[1]);
    close(err[1]);
    CliRun run;
    if (spawned != 0) {
        close(in[1]);
        close(out[0]);
        close(err[0]);
        throw std::runtime_error("cannot start " + arguments[0]);
    }
    if (!exchange(in[1], out[0], err[0], input, run)) {
        kill(pid, SIGKILL);
        run.err += "[killed: still running after 30 seconds]";
    }
    close(out[0]);
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && run.err.find("[killed:") == std::string::npos) {
        run.status = WEXITSTATUS(status);
    }
    return run;
}

std::vector<std::string> atPort(int port, const std::vector<std::string>& command) {
    std::vector<std::string> arguments{"--port", std::to_string(port)};
    arguments.insert(arguments.end(), command.begin(), command.end());
    return arguments;
}
