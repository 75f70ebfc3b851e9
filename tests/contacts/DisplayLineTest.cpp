// The list line the window and `vqcontacts list` share: a name never holds the brackets that
// mark the file name, so the line's first " [" opens it.

#include "contacts/DisplayLine.h"
#include "contacts/GetSubString.h"

#include "codec/CodePage.h"

#include <gtest/gtest.h>

TEST(DisplayLine, KeepsTheFileNameFindableWhateverTheName) {
    struct Row {
        const char* why;
        std::u16string name;
        std::string file;  // the href segment's bytes
        std::u16string line;
    };
    const Row rows[] = {
        {"a plain name", u"Ann Lee", "a.vcf", u"Ann Lee [a.vcf]"},
        {"brackets in the name become parentheses", u"Lee [work]", "b.vcf", u"Lee (work) [b.vcf]"},
        {"a lone closing bracket too", u"x]y", "c.vcf", u"x)y [c.vcf]"},
        {"no name still names the file", u"", "d.vcf", u" [d.vcf]"},
        {"the file name is left as it is", u"Ann", "e[1].vcf", u"Ann [e[1].vcf]"},
        {"the file's bytes show as Windows-1252", u"J", "J\xFC\x80\x81.vcf", u"J [J\u00fc\u20ac\u0081.vcf]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(displayLine(row.name, row.file), row.line);
        const std::u16string fileText = codepage::fromWindows1252(row.file);
        EXPECT_EQ(displayName(row.name) + u" [" + fileText + u"]", row.line) << "the command line's name";
        if (row.file.find(']') == std::string::npos) {
            EXPECT_EQ(codepage::windows1252Bytes(GetSubString(row.line, u"[", u"]")), row.file)
                << "what a double-click opens, byte for byte";
        }
    }
}
