#include "codec/CodePage.h"

#include <array>

namespace codepage {
namespace {

// Unicode code points of bytes 0x80..0x9F. The undefined bytes keep their own value (U+0081, ...).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> makeDecodeTable() {
    std::array<char16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        table[byte] = (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : static_cast<char16_t>(byte);
    }
    return table;
}

constexpr std::array<char16_t, 256> kDecode = makeDecodeTable();

std::uint8_t encodeUnit(char16_t unit) {
    // The common case first: Latin-1 outside 0x80..0x9F is the byte itself.
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<std::uint8_t>(unit);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == unit) {
            return static_cast<std::uint8_t>(0x80 + i);
        }
    }
    return '?';
}

}  // namespace

void toWindows1252(std::u16string_view text, std::uint8_t* out) {
    for (char16_t unit : text) {
        *out++ = encodeUnit(unit);
    }
}

std::string windows1252Bytes(std::u16string_view text) {
    std::string bytes(text.size(), '\0');
    toWindows1252(text, reinterpret_cast<std::uint8_t*>(bytes.data()));
    return bytes;
}

std::vector<std::uint8_t> toWindows1252(std::u16string_view text) {
    std::vector<std::uint8_t> bytes(text.size());
    toWindows1252(text, bytes.data());
    return bytes;
}

std::u16string fromWindows1252(std::span<const std::uint8_t> bytes) {
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text[i] = kDecode[bytes[i]];
    }
    return text;
}

std::u16string fromWindows1252(std::string_view bytes) {
    return fromWindows1252(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace codepage
