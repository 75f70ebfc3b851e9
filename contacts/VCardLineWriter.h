#pragma once
// Writes one content line of a card the way the card's version writes it, for the editor: the
// value escaped (3.0 and 4.0: \\ \, \; \n; 2.1: \; alone, line breaks only in quoted-printable),
// in UTF-8, folded at 75 octets and never inside a UTF-8 sequence; a quoted-printable line breaks
// with "=" and never inside an "=XX". Nothing here fails.

#include "contacts/VCardLayout.h"

#include <optional>
#include <string>
#include <string_view>

// text escaped for one text value, or one component of a structured one.
std::u16string escapedText(std::u16string_view text, VCardVersion version);

// What goes before the colon, and how the value is written.
struct LineHead {
    std::string head;  // group, name and parameters as they go out
    bool quotedPrintable = false;
};

// The head for value (escaped) on a line that was original (an unfolded line of the card, or a bare
// property name for a new line): its group, name and parameters kept as written, except
//   - a CHARSET parameter says UTF-8, and a 2.1 line with a non-ASCII value gets one;
//   - quoted-printable stays where the line had it, and a 2.1 value with a line break gets it;
//   - with type given, the TYPE parameters (and 2.1's bare type words) make way for it.
LineHead rewrittenHead(std::string_view original, std::u16string_view value, VCardVersion version,
                       const std::optional<std::u16string>& type);

// The bytes of the whole line, folded, its last line end included.
std::string writtenLine(const LineHead& head, std::u16string_view value, std::string_view lineEnd);
