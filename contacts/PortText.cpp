#include "contacts/PortText.h"

#include "net/RequestText.h"

#include <charconv>

std::optional<std::int32_t> parsePortText(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    std::int32_t port = 0;
    const char* end = text.data() + text.size();
    // from_chars takes a "-" but no "+"; neither belongs in a port box.
    if (text.empty() || text.front() == '-') {
        return std::nullopt;
    }
    const auto [stop, error] = std::from_chars(text.data(), end, port);
    if (error != std::errc() || stop != end || !modWININET::detail::isValidPort(port)) {
        return std::nullopt;
    }
    return port;
}
