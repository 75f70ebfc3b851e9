#pragma once
// Short fingerprints of a contact's bytes, kept per line instead of the bytes: enough to tell that
// a contact is still what its line was made from, or that two cards are copies, at 32 bytes a line.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace modWININET {
struct HttpResult;
}

// The first 16 bytes of a SHA-256: no two different cards of one folder share one by chance.
using CardDigest = std::array<std::uint8_t, 16>;

// Of the bytes exactly as they are.
CardDigest exactDigest(std::string_view bytes);

// Of the card as a person compares two: CR LF, LF and CR all end a line alike, and blank lines
// (nothing, or only blanks and tabs) at the end are left out, as is the last line's end.
CardDigest copyDigest(std::string_view bytes);

// The indexes of every digest equal to one before it, in order: the first copy is never among them.
// Indexes with no digest (a contact whose bytes did not come) are no copy of anything.
std::vector<std::size_t> laterCopies(const std::vector<std::optional<CardDigest>>& digests);

// What a line keeps of the GET it was made from, for a later delete.
struct CardFacts {
    std::optional<std::string> etag;  // as the server sent it
    bool bytesCame = false;           // false: the GET failed, the digests are of nothing
    CardDigest exact{};
    CardDigest copy{};
};
CardFacts cardFacts(const modWININET::HttpResult& get);
