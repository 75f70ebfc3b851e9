// The protocol text helpers: ASCII rules only, whatever the bytes or the locale.

#include "codec/AsciiText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(AsciiText, ComparesLettersOfAsciiOnly) {
    struct Row {
        const char* why;
        std::string_view a, b;
        bool equal;
    };
    const Row rows[] = {
        {"letters in any case", "Content-Length", "content-LENGTH", true},
        {"a different length never matches", "VCARD", "VCARDS", false},
        {"Latin-1 letters are bytes, not letters: \xC4 is not \xE4", "\xC4", "\xE4", false},
        {"'@' and '`' sit beside the letters and are no letters", "@", "`", false},
        {"'[' is not '{'", "[", "{", false},
        {"empty texts are equal", "", "", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(ascii::equalsNoCase(row.a, row.b), row.equal);
    }
    EXPECT_TRUE(ascii::startsWithNoCase("HTTPS://host", "https://"));
    EXPECT_FALSE(ascii::startsWithNoCase("http", "https://")) << "a text shorter than the prefix";
}

TEST(AsciiText, ReadsHexDigitsAtTheirEdges) {
    struct Row {
        char c;
        int value;
    };
    const Row rows[] = {{'0', 0},  {'9', 9},  {'A', 10}, {'F', 15}, {'a', 10}, {'f', 15},   {'/', -1},
                        {':', -1}, {'@', -1}, {'G', -1}, {'`', -1}, {'g', -1}, {'\xB9', -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(1, row.c));
        EXPECT_EQ(ascii::hexValue(row.c), row.value);
    }
    EXPECT_EQ(ascii::hexDigit(0xAB), 'B') << "only the low four bits count";
    EXPECT_EQ(ascii::hexDigit(0x0A), 'A') << "upper case, as fingerprints and escapes are written";
}

TEST(AsciiText, TrimsOnlyTheBlanksItIsGiven) {
    EXPECT_EQ(ascii::trimmed(" \tvalue \t"), "value");
    EXPECT_EQ(ascii::trimmed("\r\nvalue\r\n"), "\r\nvalue\r\n") << "line ends are no blanks by default";
    EXPECT_EQ(ascii::trimmed("\r\nvalue\r\n", " \t\r\n"), "value");
    EXPECT_EQ(ascii::trimmed(" a b "), "a b") << "blanks inside stay";
    EXPECT_EQ(ascii::trimmed(" \t "), "") << "nothing but blanks";
    EXPECT_EQ(ascii::trimmed(std::u16string_view(u"  J\u00fcrgen "), u" "), u"J\u00fcrgen");
}

TEST(AsciiText, WritesNumbersAsDecimalText) {
    EXPECT_EQ(ascii::decimal(0), u"0") << "zero is one digit, not empty";
    EXPECT_EQ(ascii::decimal(-401L), u"-401") << "a sign for a negative number";
    EXPECT_EQ(ascii::decimal(std::int32_t{65535}), u"65535") << "a port";
    EXPECT_EQ(ascii::decimal(std::numeric_limits<std::size_t>::max()), u"18446744073709551615")
        << "the widest count, no narrowing";
}
