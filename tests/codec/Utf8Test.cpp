#include "codec/Utf8.h"

#include <gtest/gtest.h>

TEST(Utf8, DecodesWellFormedTextAndReplacesEachIllFormedPiece) {
    struct Row {
        const char* why;
        std::string in;
        bool valid;
        std::u16string out;
    };
    const Row rows[] = {
        {"nothing is valid", "", true, u""},
        {"two-byte umlauts", "J\xC3\xBCrgen", true, u"J\u00fcrgen"},
        {"three-byte euro sign", "\xE2\x82\xAC", true, u"\u20ac"},
        {"four bytes give a surrogate pair", "\xF0\x9F\x98\x80", true, u"\U0001F600"},
        {"the highest code point", "\xF4\x8F\xBF\xBF", true, u"\U0010FFFF"},
        {"a Windows-1252 umlaut is no sequence", "J\xFCrgen", false, u"J\ufffdrgen"},
        {"overlong slash", "\xC0\xAF", false, u"\ufffd\ufffd"},
        {"overlong three-byte form", "\xE0\x80\xAF", false, u"\ufffd\ufffd\ufffd"},
        {"an encoded surrogate", "\xED\xA0\x80", false, u"\ufffd\ufffd\ufffd"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false, u"\ufffd\ufffd\ufffd\ufffd"},
        {"a cut sequence is one replacement", "a\xE2\x82", false, u"a\ufffd"},
        {"a cut sequence does not eat the next character", "\xE2\x82z", false, u"\ufffdz"},
        {"a stray continuation byte", "\x80", false, u"\ufffd"},
        {"NUL is a character", std::string("a\0b", 3), true, std::u16string(u"a\0b", 3)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(utf8::isValid(row.in), row.valid);
        EXPECT_EQ(utf8::decode(row.in), row.out);
    }
}

TEST(Utf8, FallsBackToWindows1252WholeWhenAnyByteIsNotUtf8) {
    EXPECT_EQ(utf8::decodeOrWindows1252("Zo\xC3\xAB"), u"Zo\u00eb");
    // One bad byte decides for the whole text: the valid pair shows as its two Windows-1252 letters.
    EXPECT_EQ(utf8::decodeOrWindows1252("Zo\xC3\xAB \x80"), u"Zo\u00c3\u00ab \u20ac");
    EXPECT_EQ(utf8::decodeOrWindows1252("\x81"), u"\u0081");
}

TEST(Utf8, EncodesTextAndLeavesOutAnUnpairedSurrogate) {
    struct Row {
        const char* why;
        std::u16string in;
        std::string out;
    };
    const Row rows[] = {
        {"ASCII stays", u"a/b.vcf", "a/b.vcf"},
        {"two, three and four bytes", u"\u00fc\u20ac\U0001F600", "\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"a lone high surrogate names nothing", {u'a', char16_t{0xD800}, u'b'}, "ab"},
        {"a lone low surrogate names nothing", u"a\xDC00", "a"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(utf8::encode(row.in), row.out);
    }
}
