// NAME and FILE as list writes them: one contact, one line, one tab, whatever a server sends; and
// show takes FILE back as list wrote it.

#include "cli/ListField.h"

#include <gtest/gtest.h>

TEST(ListField, EscapesWhatWouldBreakTheLineOrDriveTheTerminal) {
    struct Row {
        const char* why;
        std::string bytes;
        std::string field;
    };
    const Row rows[] = {
        {"a plain name stays", "A01.vcf", "A01.vcf"},
        {"UTF-8 letters stay", "J\xC3\xBCrgen", "J\xC3\xBCrgen"},
        {"a tab would make a second column", "a\tb", "a\\tb"},
        {"a line feed would make a second line", "a\nb", "a\\nb"},
        {"a carriage return would overwrite the line", "a\rb", "a\\rb"},
        {"a backslash is doubled, so every escape reads back", "a\\tb", "a\\\\tb"},
        {"a terminal escape", "\x1B[2J", "\\x1B[2J"},
        {"NUL", std::string("a\0b", 3), "a\\x00b"},
        {"DEL", "a\x7F", "a\\x7F"},
        {"a C1 control in UTF-8",
         "a\xC2\x9B"
         "2J",
         "a\\xC2\\x9B2J"},
        {"U+00A0 in UTF-8 is no control", "a\xC2\xA0", "a\xC2\xA0"},
        {"bytes that are not UTF-8: 0x80..0x9F are C1 to a Latin terminal", "\xE9t\xE9\x9B\x81", "\xE9t\xE9\\x9B\\x81"},
        {"nothing stays nothing", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(listField(row.bytes), row.field);
        EXPECT_EQ(fromListField(row.field), row.bytes) << "show takes back what list wrote";
    }
}

TEST(ListField, ABackslashThatOpensNoEscapeStaysAsTyped) {
    struct Row {
        const char* why;
        std::string field;
        std::string bytes;
    };
    const Row rows[] = {
        {"an unknown letter", "a\\qb", "a\\qb"},          {"\\x without two hex digits", "a\\x4", "a\\x4"},
        {"\\x with a non-hex digit", "a\\xG1", "a\\xG1"}, {"a backslash at the end", "a\\", "a\\"},
        {"hex digits in lower case", "a\\x1b", "a\x1B"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(fromListField(row.field), row.bytes);
    }
}
