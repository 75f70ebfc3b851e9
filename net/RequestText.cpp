#include "net/RequestText.h"

#include "codec/CodePage.h"

#include <algorithm>
#include <array>

namespace modWININET::detail {
namespace {

bool isAsciiAlnum(std::uint8_t byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
}

bool isHexDigit(std::uint8_t byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'f') || (byte >= 'A' && byte <= 'F');
}

// Letters, digits, "-", "." and "_", plus bytes outside ASCII for internationalised names, which
// the resolver accepts or refuses; nothing that a URL parser reads as structure.
bool isHostNameByte(std::uint8_t byte) {
    return isAsciiAlnum(byte) || byte == '-' || byte == '.' || byte == '_' || byte >= 0x80;
}

bool isIpv6Byte(std::uint8_t byte) {
    return isHexDigit(byte) || byte == ':' || byte == '.';
}

std::string toBytes(std::u16string_view text) {
    std::string bytes(text.size(), '\0');
    codepage::toWindows1252(text, reinterpret_cast<std::uint8_t*>(bytes.data()));
    return bytes;
}

void appendPercentEncoded(std::string& out, std::uint8_t byte) {
    static constexpr std::array<char, 16> kHex = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                  '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

bool needsEncoding(std::uint8_t byte) {
    return byte <= 0x20 || byte == 0x7F || byte >= 0x80 || byte == '#';
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        };
        return lower(x) == lower(y);
    });
}

bool isRoutineHeader(std::string_view name) {
    return equalsIgnoringCase(name, "Content-Type") || equalsIgnoringCase(name, "User-Agent") ||
           equalsIgnoringCase(name, "Content-Length");
}

// A kept line in the form libcurl sends as written: it takes "Name:" with nothing after it as
// "remove this header", and sends "Name;" as the empty header instead.
std::optional<std::string> headerLine(std::string_view line) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view name = trimmed(line.substr(0, colon));
    if (name.empty() || isRoutineHeader(name)) {
        return std::nullopt;
    }
    if (trimmed(line.substr(colon + 1)).empty()) {
        return std::string(line.substr(0, colon)) + ";";
    }
    return std::string(line);
}

}  // namespace

std::optional<std::string> urlHost(std::u16string_view server) {
    const std::string host = toBytes(server);
    if (host.empty()) {
        return std::nullopt;
    }
    if (host.find(':') != std::string::npos) {
        if (!std::all_of(host.begin(), host.end(), [](char c) { return isIpv6Byte(std::uint8_t(c)); })) {
            return std::nullopt;
        }
        return "[" + host + "]";
    }
    if (!std::all_of(host.begin(), host.end(), [](char c) { return isHostNameByte(std::uint8_t(c)); })) {
        return std::nullopt;
    }
    return host;
}

bool isValidPort(std::int32_t port) {
    return port >= 1 && port <= 65535;
}

std::optional<std::string> requestVerb(std::string_view verb) {
    static constexpr std::string_view kTokenMarks = "!#$%&'*+-.^_`|~";
    const bool isToken = !verb.empty() && std::all_of(verb.begin(), verb.end(), [](char c) {
        return isAsciiAlnum(std::uint8_t(c)) || kTokenMarks.find(c) != std::string_view::npos;
    });
    if (!isToken) {
        return std::nullopt;
    }
    return std::string(verb);
}

std::string requestTarget(std::u16string_view target) {
    std::string out;
    out.reserve(target.size() + 1);
    if (target.empty() || target.front() != u'/') {
        out += '/';
    }
    for (const char16_t unit : target) {
        std::uint8_t byte = 0;
        codepage::toWindows1252(std::u16string_view(&unit, 1), &byte);
        // A "?" that stands in for a lost character must not turn the rest into a query.
        const bool standIn = byte == '?' && unit != u'?';
        if (needsEncoding(byte) || standIn) {
            appendPercentEncoded(out, byte);
        } else {
            out += char(byte);
        }
    }
    return out;
}

std::vector<std::string> callerHeaderLines(std::u16string_view headers) {
    const std::string block = toBytes(headers);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= block.size()) {
        const auto end = std::min(block.find_first_of("\r\n", start), block.size());
        if (auto line = headerLine(std::string_view(block).substr(start, end - start))) {
            lines.push_back(std::move(*line));
        }
        start = end + 1;
    }
    return lines;
}

}  // namespace modWININET::detail
