#pragma once
// NAME and FILE as list writes them: one contact, one line, NAME tab FILE, whatever a server's
// hrefs and names hold. show takes FILE back in the same form.

#include <string>
#include <string_view>

// bytes with a tab, CR, LF and backslash written as \t, \r, \n and \\, and every other C0 control,
// DEL and C1 control as \xHH. C1 is U+0080..U+009F in UTF-8; in bytes that are not UTF-8 (read
// as Windows-1252 or Latin-1 by a terminal), every byte 0x80..0x9F.
std::string listField(std::string_view bytes);

// The bytes a list field stands for: its escapes undone. A backslash that opens none of them
// stays as it is, so a FILE typed by hand without escapes still works.
std::string fromListField(std::string_view field);
