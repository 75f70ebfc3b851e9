#pragma once
// UTF-8 bytes and UTF-16 text, for what the program only shows a person (a contact's name, the
// text of the details view) and for the XML parser, which reads UTF-8. What goes to the server
// never passes through here (see CodePage.h). No function fails.

#include <string>
#include <string_view>

namespace utf8 {

// True when bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
// The empty text is valid.
bool isValid(std::string_view bytes);

// The text of bytes read as UTF-8. Each ill-formed piece (the longest start of a sequence that
// could still have been valid, or one stray byte) becomes one U+FFFD, as the Unicode standard
// recommends, so no byte makes the text vanish.
std::u16string decode(std::string_view bytes);

// The text of bytes as a person's other programs show text that names no charset of its own: as
// UTF-8 when the bytes are valid UTF-8, else as Windows-1252.
std::u16string decodeOrWindows1252(std::string_view bytes);

// The same for text that was read as Windows-1252 (a server's answer): its bytes come back
// exactly, so ASCII text, "Error:" texts and the empty text stay as they are.
std::u16string decodeOrWindows1252(std::u16string_view windows1252Text);

// The UTF-8 bytes of text. A surrogate without its partner names no character and is left out,
// as an XML parser reading the same UTF-16 text leaves it out.
std::string encode(std::u16string_view text);

// What some programs write in front of UTF-8 text: no part of the text.
inline constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

}  // namespace utf8
