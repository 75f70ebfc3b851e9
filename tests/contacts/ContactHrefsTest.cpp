#include "contacts/ContactHrefs.h"

#include "tests/support/ProcessMemory.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

std::string inResponse(const std::string& href) {
    return "<D:multistatus xmlns:D=\"DAV:\"><D:response><D:href>" + href + "</D:href></D:response></D:multistatus>";
}

}  // namespace

TEST(ContactHrefs, GivesEachHrefsWholeTextAsTheDomDoes) {
    struct Row {
        const char* why;
        std::string answer;
        std::vector<std::string> hrefs;
    };
    const Row rows[] = {
        {"plain text", inResponse("/p/a.vcf"), {"/p/a.vcf"}},
        {"text, CDATA and text again, in order", inResponse("/p/<![CDATA[b<]]>c.vcf"), {"/p/b<c.vcf"}},
        {"text before and after a child element", inResponse("/p/<x>in</x>.vcf"), {"/p/in.vcf"}},
        {"a child element first, then text", inResponse("<x>/p/</x>d.vcf"), {"/p/d.vcf"}},
        {"escapes are read", inResponse("/p/a&amp;b&#x41;.vcf"), {"/p/a&bA.vcf"}},
        {"two responses, document order",
         "<D:m><D:response><D:href>1</D:href></D:response><D:response><D:href>2</D:href></D:response></D:m>",
         {"1", "2"}},
        {"broken XML gives nothing", "<D:response><D:href>a</D:href>", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(contactHrefs(row.answer), row.hrefs);
    }
}

TEST(ContactHrefs, GivesTheAnswersOwnBytesWithoutExpandingEntities) {
    const auto inBytes = [](const std::string& href) {
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<D:multistatus xmlns:D=\"DAV:\"><D:response><D:href>" +
               href + "</D:href></D:response></D:multistatus>";
    };
    struct Row {
        const char* why;
        std::string answer;
        std::vector<std::string> hrefs;
    };
    const Row rows[] = {
        {"read as Windows-1252 whatever the declared encoding, so the bytes come back",
         inBytes("/p/J\xFCrgen\x80.vcf"),
         {"/p/J\xFCrgen\x80.vcf"}},
        {"the five bytes Windows-1252 leaves undefined come back too",
         inBytes("/p/\x81\x8D\x8F\x90\x9D.vcf"),
         {"/p/\x81\x8D\x8F\x90\x9D.vcf"}},
        {"UTF-8 bytes stay the bytes they are", inBytes("/p/\xC3\xBC.vcf"), {"/p/\xC3\xBC.vcf"}},
        {"a character reference gives its Windows-1252 byte", inBytes("/p/&#xFC;&#x20AC;.vcf"), {"/p/\xFC\x80.vcf"}},
        {"one to a character Windows-1252 lacks gives \"?\", as the wire would",
         inBytes("/p/&#x263A;.vcf"),
         {"/p/?.vcf"}},
        {"an entity XML does not predefine stays as written", inBytes("/p/a&nbsp;b.vcf"), {"/p/a&nbsp;b.vcf"}},
        {"a declared entity is not expanded either",
         "<!DOCTYPE D:multistatus [<!ENTITY big \"xxxxxxxx\">]><D:response><D:href>&big;</D:href></D:response>",
         {"&big;"}},
        {"an href inside an href counts for itself only; the outer keeps its own text",
         "<D:response><D:href>a<D:response><D:href>b</D:href></D:response>c</D:href></D:response>",
         {"ac", "b"}},
        {"8 KiB is still an href",
         "<D:response><D:href>" + std::string(8192, 'x') + "</D:href></D:response>",
         {std::string(8192, 'x')}},
        {"one byte more names no contact, its neighbours still do",
         "<D:m><D:response><D:href>" + std::string(8193, 'x') +
             "</D:href></D:response><D:response><D:href>b</D:href></D:response></D:m>",
         {"b"}},
        {"the limit holds for the text of its pieces together",
         "<D:response><D:href>" + std::string(5000, 'x') + "<![CDATA[" + std::string(5000, 'y') +
             "]]></D:href></D:response>",
         {}},
        {"a control character makes the answer no XML", inBytes("/p/a\x01.vcf"), {}},
        {"an answer cut off inside a tag lists nothing", inBytes("/p/a.vcf").substr(0, 80), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(contactHrefs(row.answer), row.hrefs);
    }
}

TEST(ContactHrefs, ReadsABigAnswerWholeAcrossItsPieces) {
    std::string answer = "<D:multistatus xmlns:D=\"DAV:\">";
    constexpr int kCount = 30'000;  // about 2 MB: the reader takes it in pieces of 1 MiB
    for (int i = 0; i < kCount; ++i) {
        answer +=
            "<D:response><D:href>/p/c" + std::to_string(i) + ".vcf</D:href><D:propstat>x</D:propstat></D:response>";
    }
    answer += "</D:multistatus>";
    ASSERT_GT(answer.size(), std::size_t{2} << 20);
    const std::vector<std::string> hrefs = contactHrefs(answer);
    ASSERT_EQ(hrefs.size(), std::size_t(kCount));
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(hrefs[std::size_t(i)], "/p/c" + std::to_string(i) + ".vcf");
    }
}

// A response inside an href inside a response, 10,000 deep with 3,000 characters a level: 30 MB
// that cost minutes and gigabytes while every text was added to every open href.
TEST(ContactHrefs, ReadsHrefsNestedTenThousandDeepInLinearTimeAndMemory) {
    constexpr std::size_t kDepth = 10'000;
    const std::string text(3'000, 'n');
    std::string answer;
    answer.reserve(kDepth * (text.size() + 50));
    for (std::size_t i = 0; i < kDepth; ++i) {
        answer += "<D:response><D:href>" + text;
    }
    for (std::size_t i = 0; i < kDepth; ++i) {
        answer += "</D:href></D:response>";
    }
    ASSERT_GT(answer.size(), std::size_t{30'000'000});
    const bool measured = !memoryIsInstrumented() && resetPeakMemory();
    const long before = residentMemory().rssKb;
    const auto start = std::chrono::steady_clock::now();
    const std::vector<std::string> hrefs = contactHrefs(std::move(answer));
    // Generous for a loaded machine: the square took minutes.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    ASSERT_EQ(hrefs.size(), kDepth);
    EXPECT_EQ(hrefs.front(), text) << "each holds its own text only";
    if (measured) {
        // The answer (30 MB) is freed while read; the hrefs take 30 MB.
        EXPECT_LT(residentMemory().peakKb - before, 150 * 1024);
    }
}
