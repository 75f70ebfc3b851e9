// What the program writes for a person to read: counts and names from the server.

#include "cli/Console.h"

#include <gtest/gtest.h>

TEST(Console, CountsAreGroupedByThousands) {
    struct Row {
        const char* why;
        std::size_t number;
        std::string text;
    };
    const Row rows[] = {
        {"nothing", 0, "0"},
        {"three digits stay", 999, "999"},
        {"the first comma", 1000, "1,000"},
        {"six digits, one comma", 123456, "123,456"},
        {"seven digits, two", 1234567, "1,234,567"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(groupedDigits(row.number), row.text);
    }
}

TEST(Console, NamesInMessagesCannotDriveTheTerminal) {
    struct Row {
        const char* why;
        std::string bytes;
        std::string shown;
    };
    const Row rows[] = {
        {"plain text as it is", "A01.vcf", "\"A01.vcf\""},
        {"UTF-8 letters as they are", "J\xC3\xBCrgen", "\"J\xC3\xBCrgen\""},
        {"a tab and a line end escaped", "a\tb\n", "\"a\\x09b\\x0A\""},
        {"an escape sequence made harmless", "\x1B[2J", "\"\\x1B[2J\""},
        {"DEL escaped", "\x7F", "\"\\x7F\""},
        {"a C1 control in UTF-8 escaped as its two bytes", "x\xC2\x9B", "\"x\\xC2\\x9B\""},
        {"a lone 0xC2 at the end is left", "x\xC2", "\"x\xC2\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(inQuotes(row.bytes), row.shown);
    }
}
