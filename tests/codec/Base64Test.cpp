#include "codec/Base64.h"
#include "codec/CodePage.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::u16string widen(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

// The text EncodeArr must give: RFC 4648 in lines of 76, CR LF after each full line when longer.
std::u16string brokenIntoLines(const std::u16string& flat) {
    if (flat.size() <= 76) {
        return flat;
    }
    std::u16string text;
    for (std::size_t at = 0; at < flat.size(); at += 76) {
        text += flat.substr(at, 76);
        if (at + 76 <= flat.size()) {
            text += u"\r\n";
        }
    }
    return text;
}

const Base64 codec;

}  // namespace

TEST(Base64Encode, FollowsRfc4648BothWays) {
    const std::pair<const char*, const char*> vectors[] = {
        {"f", "Zg=="},        {"fo", "Zm8="},        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, encoded] : vectors) {
        SCOPED_TRACE(plain);
        EXPECT_EQ(codec.EncodeArr(bytesOf(plain)), widen(encoded));
        EXPECT_EQ(codec.Encode(widen(plain)), widen(encoded));
        EXPECT_EQ(codec.DecodeArr(widen(encoded)), bytesOf(plain));
        EXPECT_EQ(codec.Decode(widen(encoded)), widen(plain));
    }
    EXPECT_EQ(codec.Encode(u""), u"");
    EXPECT_EQ(codec.EncodeArr({}), u"");
    EXPECT_EQ(codec.Decode(u""), u"");
}

TEST(Base64EncodeArr, BreaksLinesAfter76Characters) {
    struct Row {
        const char* why;
        Bytes in;
        std::u16string out;
    };
    const Row rows[] = {
        {"a zero byte is data", {0}, u"AA=="},
        {"57 bytes fill one line, no CR LF", Bytes(57, 0xFF), std::u16string(76, u'/')},
        {"the 77th character opens a new line", Bytes(58, 0xFF), std::u16string(76, u'/') + u"\r\n/w=="},
        {"two full lines both end in CR LF", Bytes(114, 0xFF),
         std::u16string(76, u'/') + u"\r\n" + std::u16string(76, u'/') + u"\r\n"},
        {"a padded last line of 76 also ends in CR LF", Bytes(113, 0xFF),
         std::u16string(76, u'/') + u"\r\n" + std::u16string(74, u'/') + u"8=\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(codec.EncodeArr(row.in), row.out);
    }
    EXPECT_EQ(codec.EncodeArr(Bytes(58, 0xFF)).size(), 82u);
    EXPECT_EQ(codec.EncodeArr(Bytes(114, 0xFF)).size(), 156u);
}

TEST(Base64EncodeArr, LongInputsMatchTheLineRule) {
    std::mt19937 random(7);
    // Upper bounds 1023 and 1024, and lengths around a line and a group.
    for (std::size_t length : {1024u, 1025u, 1026u, 5000u, 56u, 55u, 54u}) {
        SCOPED_TRACE(length);
        Bytes in(length);
        for (auto& byte : in) {
            byte = static_cast<std::uint8_t>(random());
        }
        // Line by line from the unbroken RFC text, which 57 bytes at a time gives.
        std::u16string flat;
        for (std::size_t at = 0; at < length; at += 57) {
            flat += codec.EncodeArr(Bytes(in.begin() + at, in.begin() + std::min(length, at + 57)));
        }
        EXPECT_EQ(codec.EncodeArr(in), brokenIntoLines(flat));
    }
}

TEST(Base64DecodeArr, IsLenient) {
    struct Row {
        const char* why;
        std::u16string in;
        Bytes out;
    };
    const Row rows[] = {
        {"the pad is optional", u"Zm9vYg", bytesOf("foob")},
        {"an \"=\" inside a group is skipped", u"Zm=9v", bytesOf("foo")},
        {"CR LF inside a group is skipped", u"Zm\r\n9v", bytesOf("foo")},
        {"a lone LF counts as a character of value 0", u"Zm9v\nYmFy", Bytes{102, 111, 111, 1, 137, 133}},
        {"characters outside the alphabet count as A", u"!!!!", Bytes{0, 0, 0}},
        {"only the low 8 bits of a unit count", u"\u0161\u0161\u0161\u0161", Bytes{105, 166, 154}},
        {"a lone last character adds no byte", u"Zm9vY", bytesOf("foo")},
        {"a single character gives nothing", u"Z", Bytes{}},
        {"CR LF is removed before \"=\"", u"Zm\r=\n9v", Bytes{102, 96, 0, 246}},
        {"a lone CR is a character", u"Zm9\r", Bytes{102, 111, 64}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(codec.DecodeArr(row.in), row.out);
    }
}

TEST(Base64DecodeArr, RefusesTextWithNothingLeftToDecode) {
    for (const std::u16string& in :
         {std::u16string(), std::u16string(u"===="), std::u16string(u"\r\n\r\n="), std::u16string(u"=\r\n")}) {
        try {
            codec.DecodeArr(in);
            ADD_FAILURE() << "no error for a text of " << in.size() << " units";
        } catch (const Base64Error& error) {
            EXPECT_EQ(error.source(), "Base64.DecodeArr");
            EXPECT_FALSE(error.description().empty());
        }
    }
    EXPECT_THROW(codec.Decode(u"=="), Base64Error);
}

TEST(Base64RoundTrip, GivesBackEveryInput) {
    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> lengths(1, 5000);
    for (int round = 0; round < 300; ++round) {
        Bytes in(lengths(random));
        for (auto& byte : in) {
            byte = static_cast<std::uint8_t>(random());
        }
        ASSERT_EQ(codec.DecodeArr(codec.EncodeArr(in)), in) << "length " << in.size();
    }
    Bytes all(256);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(codec.DecodeArr(codec.EncodeArr(all)), all);
    const std::u16string everyCharacter = codepage::fromWindows1252(all);
    EXPECT_EQ(codec.Decode(codec.Encode(everyCharacter)), everyCharacter);
}
