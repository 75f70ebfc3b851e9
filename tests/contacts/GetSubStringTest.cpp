#include "contacts/GetSubString.h"

#include <gtest/gtest.h>

TEST(GetSubString, TakesTextBetweenFirstStartAndNextEnd) {
    struct Row {
        const char* why;
        std::u16string source, start, end, result;
    };
    const Row rows[] = {
        {"name line of a vCard", u"xFN:Jane Doe\r\nN:Doe", u"FN:", u"\r\n", u"Jane Doe"},
        {"file name of a display line", u"Jane (Work) Doe [A12.vcf]", u"[", u"]", u"A12.vcf"},
        {"no end marker after the start", u"FN:Jane", u"FN:", u"\r\n", u""},
        {"case matters", u"fn:Jane\r\n", u"FN:", u"\r\n", u""},
        {"an end before the start does not count", u"]a[b]c", u"[", u"]", u"b"},
        {"markers side by side give nothing", u"a[]b", u"[", u"]", u""},
        {"only the first start marker counts", u"a[b[c]d", u"[", u"]", u"b[c"},
        {"empty source", u"", u"[", u"]", u""},
        {"empty source and markers", u"", u"", u"", u""},
        {"empty start marker is found at the front", u"ab]c", u"", u"]", u"ab"},
        {"start marker at the very end", u"abc[", u"[", u"]", u""},
        {"missing start marker", u"abc]", u"[", u"]", u""},
        {"later start not tried when the first has no end", u"FN:a\nFN:b\r\n", u"FN:", u"\r\n", u"a\nFN:b"},
        {"a bare LF is no CR LF", u"FN:Jane\nN:x", u"FN:", u"\r\n", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(GetSubString(row.source, row.start, row.end), row.result);
    }
}
