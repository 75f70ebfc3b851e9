#include "app/LoginCheck.h"

#include <gtest/gtest.h>

#include <optional>

TEST(ParsePort, AcceptsTrimmedWholeNumbersFrom1To65535) {
    struct Row {
        const char* why;
        const char* text;
        std::optional<std::int32_t> port;
    };
    const Row rows[] = {
        {"the design value", "8080", 8080},
        {"blanks around are trimmed", "  80 ", 80},
        {"a tab counts as a blank", "\t443", 443},
        {"the lowest port", "1", 1},
        {"the highest port", "65535", 65535},
        {"above the 16-bit signed limit is still a port", "32768", 32768},
        {"leading zeros are still the number", "0080", 80},
        {"empty box", "", std::nullopt},
        {"only blanks", "   ", std::nullopt},
        {"port 0 does not exist", "0", std::nullopt},
        {"one past the highest", "65536", std::nullopt},
        {"negative", "-1", std::nullopt},
        {"an explicit sign is not a whole number as typed", "+80", std::nullopt},
        {"letters", "http", std::nullopt},
        {"trailing garbage", "80a", std::nullopt},
        {"blank inside", "80 80", std::nullopt},
        {"a fraction", "80.5", std::nullopt},
        {"beyond 32 bits", "99999999999", std::nullopt},
        {"hex is not accepted", "0x50", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(parsePort(QString::fromUtf8(row.text)), row.port);
    }
}

TEST(AuthorizationFor, IsBasicAndOneLineOfWindows1252Base64) {
    struct Row {
        const char* why;
        QString username;
        QString password;
        QString value;
    };
    const Row rows[] = {
        {"plain credentials", "demo", "demo", "Basic ZGVtbzpkZW1v"},
        {"colons in both are encoded unchanged", "a:b", "c:d", "Basic YTpiOmM6ZA=="},
        {"accents and the euro sign go as Windows-1252 bytes, not UTF-8", QString::fromUtf8("J\u00fcrgen"),
         QString::fromUtf8("p\u00e4ssw\u00f6rd\u20ac"), "Basic SvxyZ2VuOnDkc3N39nJkgA=="},
        {"blanks are kept, not trimmed", " ", " ", "Basic IDog"},
        {"60 bytes give 80 characters on one line, no CR LF", QString(30, 'x'), QString(29, 'y'),
         "Basic eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4Onl5eXl5eXl5eXl5eXl5eXl5eXl5eXl5eXl5eXl5"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(QString::fromStdU16String(authorizationFor(row.username, row.password)), row.value);
    }
}

TEST(CheckLogin, RefusesMissingEntriesBeforeABadPort) {
    struct Row {
        const char* why;
        LoginEntries entries;
        QString refusal;  // empty: accepted
    };
    const Row rows[] = {
        {"no user name", {"", "pw", "127.0.0.1", "8080"}, kMissingEntryMessage},
        {"no password", {"user", "", "127.0.0.1", "8080"}, kMissingEntryMessage},
        {"no server", {"user", "pw", "", "8080"}, kMissingEntryMessage},
        {"a missing entry wins over a bad port", {"", "pw", "host", "abc"}, kMissingEntryMessage},
        {"blanks count as filled", {" ", " ", " ", "8080"}, ""},
        {"empty port", {"user", "pw", "host", ""}, kBadPortMessage},
        {"port out of range", {"user", "pw", "host", "70000"}, kBadPortMessage},
        {"all good", {"user", "pw", "host", "8080"}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const auto outcome = checkLogin(row.entries);
        if (row.refusal.isEmpty()) {
            EXPECT_TRUE(std::holds_alternative<LoginState>(outcome));
        } else {
            ASSERT_TRUE(std::holds_alternative<LoginRefusal>(outcome));
            EXPECT_EQ(std::get<LoginRefusal>(outcome).message, row.refusal);
        }
    }
}

TEST(CheckLogin, KeepsTheServerAsTypedAndTheParsedPort) {
    const auto outcome = checkLogin({"demo", "demo", " mail.example ", " 8080 "});
    ASSERT_TRUE(std::holds_alternative<LoginState>(outcome));
    const auto& values = std::get<LoginState>(outcome);
    EXPECT_EQ(values.server, u" mail.example ");
    EXPECT_EQ(values.port, 8080);
    EXPECT_EQ(values.authorization, u"Basic ZGVtbzpkZW1v");
}
