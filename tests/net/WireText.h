#pragma once
// Small text helpers shared by the wire tests.

#include <cstddef>
#include <string>
#include <string_view>

namespace nettest {

// ASCII (and Latin-1) bytes as UTF-16 text, one unit per byte.
inline std::u16string widen(std::string_view bytes) {
    std::u16string text;
    for (const char byte : bytes) {
        text += char16_t(static_cast<unsigned char>(byte));
    }
    return text;
}

// Every "{port}" in a template replaced by the port number.
inline std::string withPort(std::string text, unsigned port) {
    const std::string number = std::to_string(port);
    for (auto at = text.find("{port}"); at != std::string::npos; at = text.find("{port}", at)) {
        text.replace(at, 6, number);
    }
    return text;
}

}  // namespace nettest
