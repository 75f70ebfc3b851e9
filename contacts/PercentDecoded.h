#pragma once
// Percent escapes (RFC 3986) of URLs and hrefs.

#include <optional>
#include <string>
#include <string_view>

// Each "%" and two hex digits become that byte, "%00" a NUL too (callers that cannot take one
// check for it); every other byte stays. nullopt when a "%" is not followed by two hex digits.
std::optional<std::string> percentDecoded(std::string_view text);
