#include "cli/Password.h"

#include "cli/LocalError.h"
#include "cli/TerminalPrompt.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace {

// A password is short; a file that goes on longer without a line end is no password file.
constexpr std::size_t maxLineBytes = std::size_t{64} << 10;

std::string withoutLineEnd(std::string line) {
    if (const std::size_t end = line.find('\n'); end != std::string::npos) {
        line.resize(end);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

}  // namespace

std::optional<std::string> firstLineOf(const std::filesystem::path& file) {
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string line;
    char chunk[512];
    bool failed = false;
    while (line.find('\n') == std::string::npos && line.size() < maxLineBytes) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        failed = got < 0;
        if (got <= 0) {
            break;
        }
        line.append(chunk, static_cast<std::size_t>(got));
    }
    close(fd);
    if (failed || (line.size() >= maxLineBytes && line.find('\n') == std::string::npos)) {
        return std::nullopt;
    }
    return withoutLineEnd(std::move(line));
}

std::string readPassword(const std::optional<std::filesystem::path>& passwordFile, const char* environmentValue,
                         const std::string& prompt) {
    std::string password;
    if (passwordFile) {
        std::optional<std::string> line = firstLineOf(*passwordFile);
        if (!line) {
            throw LocalError("cannot read the password file \"" + passwordFile->string() + "\"");
        }
        password = std::move(*line);
    } else if (environmentValue != nullptr) {
        password = environmentValue;
    } else {
        std::optional<std::string> typed = promptWithoutEcho(prompt);
        if (!typed) {
            throw LocalError(
                "no password: there is no terminal to ask on; set VQCONTACTS_PASSWORD or give "
                "--password-file FILE");
        }
        password = std::move(*typed);
    }
    if (password.empty()) {
        throw LocalError("the password is empty");
    }
    return password;
}
