#include "contacts/PercentDecoded.h"

#include "codec/AsciiText.h"

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size() || !ascii::isHexDigit(text[i + 1]) || !ascii::isHexDigit(text[i + 2])) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(ascii::hexValue(text[i + 1]) * 16 + ascii::hexValue(text[i + 2])));
        i += 2;
    }
    return bytes;
}
