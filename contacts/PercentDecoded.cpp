#include "contacts/PercentDecoded.h"

#include <cctype>
#include <charconv>

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes.push_back(text[i]);
            continue;
        }
        unsigned value = 0;
        const char* digits = text.data() + i + 1;
        // from_chars would take "+" or a single digit; exactly two hex digits are an escape.
        if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(digits[0])) ||
            !std::isxdigit(static_cast<unsigned char>(digits[1]))) {
            return std::nullopt;
        }
        std::from_chars(digits, digits + 2, value, 16);
        bytes.push_back(static_cast<char>(value));
        i += 2;
    }
    return bytes;
}
