#include "cli/Console.h"

#include "cli/LocalError.h"
#include "codec/WriteAll.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>
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

std::string inQuotes(std::string_view bytes) {
    std::string text = "\"";
    const auto escape = [&text](unsigned char byte) {
        char hex[5];
        std::snprintf(hex, sizeof hex, "\\x%02X", byte);
        text += hex;
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const auto next = static_cast<unsigned char>(i + 1 < bytes.size() ? bytes[i + 1] : 0);
        if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            escape(byte);
            escape(next);
            ++i;
        } else if (byte < 0x20 || byte == 0x7F) {
            escape(byte);
        } else {
            text += bytes[i];
        }
    }
    return text + '"';
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
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about "\r" + a temporary string.
    std::string line = "\r";
    line += groupedDigits(done);
    line += " of ";
    line += groupedDigits(m_total);
    line += "\033[K";
    writeAll(STDERR_FILENO, line);
    progressShown = true;
}
