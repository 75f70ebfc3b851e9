#pragma once
// The small text helpers that protocol text needs: header names, vCard property names, URL
// schemes and escapes are ASCII, so letter case and hex digits are ASCII only here. Bytes outside
// ASCII are never letters or digits, whatever the locale says. None of these fails.

#include <concepts>
#include <string>
#include <string_view>

namespace ascii {

constexpr char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The same letters in any case, and the same length.
constexpr bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

constexpr bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

// Whether needle stands anywhere in text, ASCII letters in either case.
constexpr bool containsNoCase(std::string_view text, std::string_view needle) {
    for (std::size_t at = 0; at + needle.size() <= text.size(); ++at) {
        if (startsWithNoCase(text.substr(at), needle)) {
            return true;
        }
    }
    return false;
}

// text without the blanks at either end; blanks names which characters count as blank.
template <typename Char>
constexpr std::basic_string_view<Char> trimmed(std::basic_string_view<Char> text, std::basic_string_view<Char> blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::basic_string_view<Char>::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}
constexpr std::string_view trimmed(std::string_view text, std::string_view blanks = " \t") {
    return trimmed<char>(text, blanks);
}
constexpr std::u16string_view trimmed(std::u16string_view text, std::u16string_view blanks = u" \t") {
    return trimmed<char16_t>(text, blanks);
}

// The value of a hex digit in either case; -1 for any other character.
constexpr int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

constexpr bool isHexDigit(char c) {
    return hexValue(c) >= 0;
}

// The upper-case hex digit of the low four bits of value.
constexpr char hexDigit(unsigned value) {
    return "0123456789ABCDEF"[value & 0x0F];
}

// A whole number in decimal digits ("-" before a negative one), as UTF-16 text.
template <std::integral Number>
std::u16string decimal(Number number) {
    const std::string digits = std::to_string(number);
    return {digits.begin(), digits.end()};
}

}  // namespace ascii
