#pragma once
// Turns the caller's text into the pieces of one request, so that nothing the caller passes can
// reach the wire in a form that changes the request's shape. Each function is pure and never throws
// for ordinary input.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace modWININET::detail {

// The server as it goes into a URL: a host name or IPv4 address as it is, an IPv6 literal in
// brackets. Empty when the text is no bare host (blanks, control characters, "/", a scheme, a port,
// user information): such a server is never contacted.
std::optional<std::string> urlHost(std::u16string_view server);

// Only the port numbers TCP has; nothing is narrowed.
bool isValidPort(std::int32_t port);

// The verb as it goes on the request line; empty when it holds anything but token characters,
// which would let it smuggle text onto the request line.
std::optional<std::string> requestVerb(std::string_view verb);

// The request target: "/" put in front when missing; blanks, control characters, "#", bytes outside
// ASCII and a "?" that only stands in for a character Windows-1252 cannot hold go out
// percent-encoded; everything else, "%", "/", "?" and dot segments included, goes out as it is.
std::string requestTarget(std::u16string_view target);

// The caller's header block split into lines (CR, LF or both end a line). Blank lines, lines without
// a name and lines naming a header the routine sets itself (Content-Type, User-Agent,
// Content-Length) are left out, so each of those goes on the wire once.
std::vector<std::string> callerHeaderLines(std::u16string_view headers);

}  // namespace modWININET::detail
