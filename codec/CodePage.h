#pragma once
// The program's one conversion between UTF-16 text and bytes: Windows-1252, the code page that
// stands for the original platform's ANSI code page.
//
// The conversion is a bijection on bytes: the 27 printable characters of 0x80..0x9F map to their
// Unicode code points, and the five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to U+0081, U+008D, U+008F, U+0090 and U+009D and back. So bytes -> text -> bytes gives
// every file and every server answer back unchanged. A code unit that Windows-1252 cannot hold
// becomes "?" when text turns into bytes. Neither function fails.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace codepage {

std::vector<std::uint8_t> toWindows1252(std::u16string_view text);
std::u16string fromWindows1252(std::span<const std::uint8_t> bytes);
std::u16string fromWindows1252(std::string_view bytes);

// The same bytes as toWindows1252(text), in the string the transport and the files take.
std::string windows1252Bytes(std::u16string_view text);

// Writes text.size() bytes to out (which must have room for them); the building block of
// toWindows1252 for callers that own their buffer.
void toWindows1252(std::u16string_view text, std::uint8_t* out);

}  // namespace codepage
