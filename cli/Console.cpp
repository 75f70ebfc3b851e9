#include "cli/Console.h"

#include "cli/LocalError.h"
#include "cli/WriteAll.h"

#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

// Set while a progress line stands on the terminal, so a message first clears it.
bool progressShown = false;

void clearProgress() {
    if (progressShown) {
        writeAll(STDERR_FILENO, "\r\033[K");
        progressShown = false;
    }
}

}  // namespace

void tell(std::string_view message) {
    clearProgress();
    std::string line = "vqcontacts: ";
    line += message;
    line += '\n';
    writeAll(STDERR_FILENO, line);
}

void writeData(std::string_view bytes) {
    if (!writeAll(STDOUT_FILENO, bytes)) {
        throw LocalError(std::string("cannot write to standard output: ") + std::strerror(errno));
    }
}

std::string groupedDigits(std::size_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, 1, ',');
    }
    return digits;
}

Progress::Progress(std::size_t total) : m_total(total), m_terminal(isatty(STDERR_FILENO) == 1) {}

Progress::~Progress() {
    clearProgress();
}

void Progress::show(std::size_t done) {
    if (!m_terminal) {
        return;
    }
    writeAll(STDERR_FILENO, "\r" + groupedDigits(done) + " of " + groupedDigits(m_total) + "\033[K");
    progressShown = true;
}
