#include "net/RequestText.h"

#include "codec/AsciiText.h"
#include "codec/CodePage.h"

#include <algorithm>

namespace modWININET::detail {
namespace {

bool isAsciiAlnum(std::uint8_t byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
}

// Letters, digits, "-", "." and "_", plus bytes outside ASCII for internationalised names, which
// the resolver accepts or refuses; nothing that a URL parser reads as structure.
bool isHostNameByte(std::uint8_t byte) {
    return isAsciiAlnum(byte) || byte == '-' || byte == '.' || byte == '_' || byte >= 0x80;
}

bool isIpv6Byte(std::uint8_t byte) {
    return ascii::isHexDigit(char(byte)) || byte == ':' || byte == '.';
}

bool allBytes(std::string_view text, bool (*accepted)(std::uint8_t)) {
    return std::all_of(text.begin(), text.end(), [accepted](char c) { return accepted(std::uint8_t(c)); });
}

void appendPercentEncoded(std::string& out, std::uint8_t byte) {
    out += '%';
    out += ascii::hexDigit(byte >> 4);
    out += ascii::hexDigit(byte);
}

bool needsEncoding(std::uint8_t byte) {
    return byte <= 0x20 || byte == 0x7F || byte >= 0x80 || byte == '#';
}

// The host of a bare server text, as it always was: a colon makes it a bare IPv6 literal.
std::optional<ServerAddress> bareHost(const std::string& host) {
    if (host.empty()) {
        return std::nullopt;
    }
    if (host.find(':') != std::string::npos) {
        if (!allBytes(host, isIpv6Byte)) {
            return std::nullopt;
        }
        return ServerAddress{Scheme::Http, "[" + host + "]", host};
    }
    if (!allBytes(host, isHostNameByte)) {
        return std::nullopt;
    }
    return ServerAddress{Scheme::Http, host, host};
}

// The host after a scheme. A colon there could only start a port, so an IPv6 literal needs its
// brackets, as in a browser's address bar.
std::optional<ServerAddress> hostAfterScheme(Scheme scheme, std::string_view host) {
    if (host.ends_with('/')) {
        host.remove_suffix(1);
    }
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        const std::string_view literal = host.substr(1, host.size() - 2);
        if (literal.find(':') == std::string_view::npos || !allBytes(literal, isIpv6Byte)) {
            return std::nullopt;
        }
        return ServerAddress{scheme, std::string(host), std::string(literal)};
    }
    if (host.empty() || !allBytes(host, isHostNameByte)) {
        return std::nullopt;
    }
    return ServerAddress{scheme, std::string(host), std::string(host)};
}

bool isRoutineHeader(std::string_view name) {
    return ascii::equalsNoCase(name, "Content-Type") || ascii::equalsNoCase(name, "User-Agent") ||
           ascii::equalsNoCase(name, "Content-Length");
}

// A kept line in the form libcurl sends as written: it takes "Name:" with nothing after it as
// "remove this header", and sends "Name;" as the empty header instead.
std::optional<std::string> headerLine(std::string_view line) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view name = ascii::trimmed(line.substr(0, colon));
    if (name.empty() || isRoutineHeader(name)) {
        return std::nullopt;
    }
    if (ascii::trimmed(line.substr(colon + 1)).empty()) {
        return std::string(line.substr(0, colon)) + ";";
    }
    return std::string(line);
}

}  // namespace

std::optional<ServerAddress> urlHost(std::u16string_view server) {
    const std::string text = codepage::windows1252Bytes(server);
    constexpr std::string_view kHttps = "https://";
    constexpr std::string_view kHttp = "http://";
    if (ascii::startsWithNoCase(text, kHttps)) {
        return hostAfterScheme(Scheme::Https, std::string_view(text).substr(kHttps.size()));
    }
    if (ascii::startsWithNoCase(text, kHttp)) {
        return hostAfterScheme(Scheme::Http, std::string_view(text).substr(kHttp.size()));
    }
    return bareHost(text);
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
    const std::string block = codepage::windows1252Bytes(headers);
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
