#include "contacts/ContactHrefs.h"

#include <gtest/gtest.h>

namespace {

std::u16string inResponse(const std::u16string& href) {
    return u"<D:multistatus xmlns:D=\"DAV:\"><D:response><D:href>" + href + u"</D:href></D:response></D:multistatus>";
}

}  // namespace

TEST(ContactHrefs, GivesEachHrefsWholeTextAsTheDomDoes) {
    struct Row {
        const char* why;
        std::u16string answer;
        std::vector<std::u16string> hrefs;
    };
    const Row rows[] = {
        {"plain text", inResponse(u"/p/a.vcf"), {u"/p/a.vcf"}},
        {"text, CDATA and text again, in order", inResponse(u"/p/<![CDATA[b<]]>c.vcf"), {u"/p/b<c.vcf"}},
        {"text before and after a child element", inResponse(u"/p/<x>in</x>.vcf"), {u"/p/in.vcf"}},
        {"a child element first, then text", inResponse(u"<x>/p/</x>d.vcf"), {u"/p/d.vcf"}},
        {"escapes are read", inResponse(u"/p/a&amp;b&#x41;.vcf"), {u"/p/a&bA.vcf"}},
        {"Latin-1 and BMP characters survive", inResponse(u"/p/J\u00fcrgen\u20ac.vcf"), {u"/p/J\u00fcrgen\u20ac.vcf"}},
        {"a character beyond the BMP keeps its surrogate pair",
         inResponse(u"/p/\U0001F600.vcf"),
         {u"/p/\U0001F600.vcf"}},
        {"a high surrogate without its partner is dropped",
         inResponse(u"/p/a\xD83D"
                    u"b.vcf"),
         {u"/p/ab.vcf"}},
        {"a low surrogate alone is dropped",
         inResponse(u"/p/a\xDE00"
                    u"b.vcf"),
         {u"/p/ab.vcf"}},
        {"a surrogate at the very end is dropped", u"<D:response><D:href>a</D:href></D:response>\xD83D", {u"a"}},
        {"two responses, document order",
         u"<D:m><D:response><D:href>1</D:href></D:response><D:response><D:href>2</D:href></D:response></D:m>",
         {u"1", u"2"}},
        {"broken XML gives nothing", u"<D:response><D:href>a</D:href>", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(contactHrefs(row.answer), row.hrefs);
    }
}
