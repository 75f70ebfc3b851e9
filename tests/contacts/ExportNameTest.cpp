// The names export stores contacts under, hostile ones among them: whatever the server's hrefs
// say, a name never leaves the folder and never carries a control character to a terminal.

#include "contacts/ExportName.h"
#include "contacts/PercentDecoded.h"

#include <gtest/gtest.h>

#include <optional>

TEST(ExportName, DecodedWhenPlainElseAsItStandsElseSkipped) {
    struct Row {
        const char* why;
        std::string file;
        std::optional<std::string> name;
    };
    const Row rows[] = {
        {"a plain name stays", "A01.vcf", "A01.vcf"},
        {"an escaped blank is decoded", "Jane%20Doe.vcf", "Jane Doe.vcf"},
        {"escapes of UTF-8 give its bytes", "J%C3%BCrgen.vcf", "J\xC3\xBCrgen.vcf"},
        {"raw UTF-8 stays as it is", "J\xC3\xBCrgen.vcf", "J\xC3\xBCrgen.vcf"},
        {"lower-case hex digits", "%7e%41.vcf", "~A.vcf"},
        {"an escaped percent sign decodes once", "100%2541.vcf", "100%41.vcf"},
        {"a Windows-1252 byte is a plain name", "%E9t%E9.vcf", "\xE9t\xE9.vcf"},
        {"a leading dot would hide the file: refused", ".hidden.vcf", std::nullopt},
        {"a shell's start-up file is refused", ".profile", std::nullopt},
        {"an escaped leading dot keeps the name as it stands", "%2Ebash_login", "%2Ebash_login"},
        {"a dot inside or at the end is plain", "a.b.", "a.b."},
        {"an escaped slash climbing out starts with a dot: refused", "..%2F..%2Fetc%2Fpasswd", std::nullopt},
        {"an escaped slash keeps the name as it stands", "x%2F..%2Fpasswd", "x%2F..%2Fpasswd"},
        {"an escaped dot-dot keeps the name as it stands", "%2E%2E", "%2E%2E"},
        {"an escaped dot keeps the name as it stands", "%2e", "%2e"},
        {"an escaped NUL keeps the name as it stands", "a%00b.vcf", "a%00b.vcf"},
        {"an escaped line end keeps the name as it stands", "a%0Ab.vcf", "a%0Ab.vcf"},
        {"an escaped terminal escape keeps the name as it stands", "%1B%5B31m.vcf", "%1B%5B31m.vcf"},
        {"an escaped DEL keeps the name as it stands", "x%7F", "x%7F"},
        {"a UTF-8 C1 control keeps the name as it stands", "x%C2%9B2J", "x%C2%9B2J"},
        {"an undefined Windows-1252 byte reads as a C1 control", "x%81", "x%81"},
        {"a broken escape keeps the name as it stands", "50%.vcf", "50%.vcf"},
        {"a cut escape at the end keeps the name as it stands", "a%4", "a%4"},
        {"an empty name is skipped", "", std::nullopt},
        {"a dot is skipped", ".", std::nullopt},
        {"dot-dot is skipped", "..", std::nullopt},
        {"a raw tab is skipped", "a\tb.vcf", std::nullopt},
        {"a raw line end is skipped", "a\nb.vcf", std::nullopt},
        {"a raw escape character is skipped", "\x1b[2J.vcf", std::nullopt},
        {"a raw C1 control in UTF-8 is skipped",
         "a\xC2\x9B"
         "b.vcf",
         std::nullopt},
        {"a raw undefined Windows-1252 byte is skipped",
         "a\x8D"
         "b.vcf",
         std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(exportFileName(row.file), row.name);
    }
}

TEST(ExportName, PercentDecodingNeedsTwoHexDigits) {
    struct Row {
        const char* why;
        std::string text;
        std::optional<std::string> bytes;
    };
    const Row rows[] = {
        {"no escapes", "abc", "abc"},
        {"every byte value can be escaped", "%00%FF", std::string("\0\xFF", 2)},
        {"a sign is no hex digit", "%+1", std::nullopt},
        {"a single digit before the end", "%A", std::nullopt},
        {"a lone percent sign", "%", std::nullopt},
        {"a letter beyond F", "%G0", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(percentDecoded(row.text), row.bytes);
    }
}
