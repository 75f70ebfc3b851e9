// The list line the window and `vqcontacts list` share: a name never holds the brackets that
// mark the file name, so the line's first " [" opens it.

#include "contacts/DisplayLine.h"
#include "contacts/GetSubString.h"

#include <gtest/gtest.h>

TEST(DisplayLine, KeepsTheFileNameFindableWhateverTheName) {
    struct Row {
        const char* why;
        std::u16string name;
        std::u16string file;
        std::u16string line;
    };
    const Row rows[] = {
        {"a plain name", u"Ann Lee", u"a.vcf", u"Ann Lee [a.vcf]"},
        {"brackets in the name become parentheses", u"Lee [work]", u"b.vcf", u"Lee (work) [b.vcf]"},
        {"a lone closing bracket too", u"x]y", u"c.vcf", u"x)y [c.vcf]"},
        {"no name still names the file", u"", u"d.vcf", u" [d.vcf]"},
        {"the file name is left as it is", u"Ann", u"e[1].vcf", u"Ann [e[1].vcf]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(displayLine(row.name, row.file), row.line);
        EXPECT_EQ(displayName(row.name) + u" [" + row.file + u"]", row.line) << "the command line's name";
        if (row.file.find(u']') == std::u16string::npos) {
            EXPECT_EQ(GetSubString(row.line, u"[", u"]"), row.file) << "what a double-click opens";
        }
    }
}
