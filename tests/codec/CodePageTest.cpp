#include "codec/CodePage.h"

#include <gtest/gtest.h>

#include <numeric>

TEST(CodePage, EveryByteSurvivesTheRoundTrip) {
    std::vector<std::uint8_t> all(256);
    std::iota(all.begin(), all.end(), 0);
    const std::u16string text = codepage::fromWindows1252(all);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(codepage::toWindows1252(text), all);
}

TEST(CodePage, MapsWindows1252CharactersBothWays) {
    struct Row {
        const char* why;
        std::uint8_t byte;
        char16_t unit;
    };
    const Row rows[] = {
        {"ASCII is itself", 'A', u'A'},
        {"NUL is data", 0x00, 0x0000},
        {"0x80 is the euro sign", 0x80, 0x20AC},
        {"0x8A is S caron", 0x8A, 0x0160},
        {"0x9F is Y diaeresis", 0x9F, 0x0178},
        {"undefined 0x81 keeps its value", 0x81, 0x0081},
        {"undefined 0x8D keeps its value", 0x8D, 0x008D},
        {"undefined 0x8F keeps its value", 0x8F, 0x008F},
        {"undefined 0x90 keeps its value", 0x90, 0x0090},
        {"undefined 0x9D keeps its value", 0x9D, 0x009D},
        {"Latin-1 above 0x9F is itself", 0xE9, 0x00E9},
        {"the last byte", 0xFF, 0x00FF},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const std::uint8_t in[] = {row.byte};
        EXPECT_EQ(codepage::fromWindows1252(in), std::u16string(1, row.unit));
        EXPECT_EQ(codepage::toWindows1252(std::u16string(1, row.unit)), std::vector<std::uint8_t>{row.byte});
    }
}

TEST(CodePage, CharactersItCannotHoldBecomeQuestionMarks) {
    struct Row {
        const char* why;
        std::u16string in;
        std::vector<std::uint8_t> out;
    };
    const Row rows[] = {
        {"C1 control that 1252 redefines (0x80 is the euro)", u"\u0080", {'?'}},
        {"Cyrillic", u"\u0416", {'?'}},
        {"a surrogate pair is two unknown units", u"\U0001F600", {'?', '?'}},
        {"mixed text keeps its known parts", u"a\u20ACb\u4E2Dc", {'a', 0x80, 'b', '?', 'c'}},
        {"empty stays empty", u"", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(codepage::toWindows1252(row.in), row.out);
    }
}
