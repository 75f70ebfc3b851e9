// When two cards count as copies, and which lines Select Duplicates and `vqcontacts duplicates` take.

#include "contacts/CardDigest.h"

#include <gtest/gtest.h>

TEST(CardDigest, CopiesDifferOnlyInLineEndsAndTrailingBlankLines) {
    const std::string card = "BEGIN:VCARD\r\nFN:Ann\r\n\r\nNOTE:x\r\nEND:VCARD\r\n";
    struct Row {
        const char* why;
        std::string other;
        bool copy;
    };
    const Row rows[] = {
        {"LF line ends", "BEGIN:VCARD\nFN:Ann\n\nNOTE:x\nEND:VCARD\n", true},
        {"CR line ends", "BEGIN:VCARD\rFN:Ann\r\rNOTE:x\rEND:VCARD\r", true},
        {"no line end at the close", "BEGIN:VCARD\r\nFN:Ann\r\n\r\nNOTE:x\r\nEND:VCARD", true},
        {"trailing blank lines, one of blanks", "BEGIN:VCARD\r\nFN:Ann\r\n\r\nNOTE:x\r\nEND:VCARD\r\n\r\n \t\r\n\n",
         true},
        {"an inner blank line left out", "BEGIN:VCARD\r\nFN:Ann\r\nNOTE:x\r\nEND:VCARD\r\n", false},
        {"an inner blank line of blanks", "BEGIN:VCARD\r\nFN:Ann\r\n \r\nNOTE:x\r\nEND:VCARD\r\n", false},
        {"a trailing blank on a line with text", "BEGIN:VCARD\r\nFN:Ann \r\n\r\nNOTE:x\r\nEND:VCARD\r\n", false},
        {"letter case", "BEGIN:VCARD\r\nFN:ann\r\n\r\nNOTE:x\r\nEND:VCARD\r\n", false},
        {"a line break moved", "BEGIN:VCARD\r\nFN:Ann\r\n\r\nNOTE:\r\nxEND:VCARD\r\n", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(copyDigest(row.other) == copyDigest(card), row.copy);
        EXPECT_NE(exactDigest(row.other), exactDigest(card)) << "the exact digest tells every byte";
    }
}

TEST(CardDigest, LaterCopiesLeaveTheFirstOfEachAndLinesWithoutBytes) {
    const CardDigest a = copyDigest("A");
    const CardDigest b = copyDigest("B");
    const std::vector<std::optional<CardDigest>> digests{a, std::nullopt, b, a, std::nullopt, a, b};
    EXPECT_EQ(laterCopies(digests), (std::vector<std::size_t>{3, 5, 6}));
    EXPECT_TRUE(laterCopies({}).empty());
}
