// The built vqcontacts against tools/httpmail-server: what list, show and export give back.

#include "tests/cli/CliRun.h"
#include "tests/cli/TempFolder.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"
#include "tests/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

HttpMailServerOptions seeded() {
    HttpMailServerOptions options;
    options.seedSamples = true;
    return options;
}

std::string allByteValues() {
    std::string bytes = "BEGIN:VCARD\r\nFN:Every Byte\r\nNOTE:";
    for (int value = 0; value < 256; ++value) {
        bytes += static_cast<char>(value);
    }
    return bytes + "\r\nEND:VCARD\r\n";
}

}  // namespace

TEST(CliList, GivesTheWindowsNamesInFolderOrder) {
    HttpMailServer server(seeded());
    const CliRun run = runCli(atPort(server.port(), {"list"}), demoLogin);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "") << "no terminal: no progress line";
    // The window's lines without " [file]": brackets as parentheses, names read by the vCard rules.
    EXPECT_EQ(run.out,
              "Jane (Work) Doe\tA01.vcf\nJohn Smith\tA02.vcf\nJ\u00fcrgen M\u00fcller\tA03.vcf\n"
              "Zo\u00eb Lef\u00e8vre (Paris)\tA04.vcf\nAn Nguyen\tA05.vcf\nVelqor Support\tA06.vcf\n"
              "Siobh\u00e1n O'Brien\tA07.vcf\nJos\u00e9 Garc\u00eda (Home)\tA08.vcf\nAnna Kowalski\tA09.vcf\n"
              "Hiro Tanaka\tA10.vcf\nOla Berg (Board) (Chair)\tA11.vcf\nChris Adams\tA12.vcf\n"
              "\u0141ukasz \u017b\u00f3\u0142kiewski\tA13.vcf\nRen\u00e9e Fa\u00dfbender\tA14.vcf\n"
              "Ana\u00efs Fran\u00e7ois-Dupont\tA15.vcf\n"
              "Maximilian Alexander Freiherr von Hohenberg-Schwarzenfels und Lichtenstein\tA16.vcf\n"
              "Robert Smith, Jr.\tA17.vcf\nDr. Chinedu Emeka Okafor\tA18.vcf\nIngrid Svensson\tA19.vcf\n"
              "Greta Lindqvist\tA20.vcf\n");
    EXPECT_EQ(server.requests("GET").size(), 20u);
}

TEST(CliList, ShowsProgressOnlyOnATerminalAndClearsIt) {
    HttpMailServer server(seeded());
    const CliRun run = runCli(atPort(server.port(), {"list"}), demoLogin, {}, ErrorStream::Terminal);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, runCli(atPort(server.port(), {"list"}), demoLogin).out) << "the data is the same";
    EXPECT_TRUE(run.err.starts_with("\r1 of 20\033[K")) << run.err;
    EXPECT_NE(run.err.find("\r20 of 20\033[K"), std::string::npos);
    EXPECT_TRUE(run.err.ends_with("\r\033[K")) << "the line is cleared at the end";
}

TEST(CliExport, KeepsEveryByteAndJoinsTheFilesInOrderOnStandardOutput) {
    HttpMailServer server(seeded());
    const std::string everyByte = allByteValues();
    std::ofstream(server.folder() / "bytes.vcf", std::ios::binary) << everyByte;
    std::ofstream(server.folder() / "Jane Doe.vcf", std::ios::binary) << "BEGIN:VCARD\r\nFN:J\r\nEND:VCARD\r\n";
    std::ofstream(server.folder() / "%41.vcf", std::ios::binary) << "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n";
    const TempFolder temp;
    const fs::path dir = temp.path() / "backup" / "today";

    const CliRun exported = runCli(atPort(server.port(), {"export", dir.string()}), demoLogin);
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "") << "standard output holds only data";
    ASSERT_EQ(namesIn(dir), namesIn(server.folder())) << "escaped names come back decoded";
    std::string joined;
    for (const std::string& name : namesIn(server.folder())) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fileBytes(dir / name), fileBytes(server.folder() / name));
        joined += fileBytes(server.folder() / name);
    }
    EXPECT_EQ(fileBytes(dir / "bytes.vcf"), everyByte);

    const CliRun streamed = runCli(atPort(server.port(), {"export", "-"}), demoLogin);
    EXPECT_EQ(streamed.status, 0) << streamed.err;
    EXPECT_EQ(streamed.out, joined) << "one address book, in the folder's order";

    const CliRun shown = runCli(atPort(server.port(), {"show", "bytes.vcf"}), demoLogin);
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out, everyByte);
}

TEST(CliExport, LeavesSameBytesAloneAndNeverOverwritesOthers) {
    HttpMailServer server(seeded());
    const TempFolder temp;
    const fs::path dir = temp.path() / "out";
    ASSERT_EQ(runCli(atPort(server.port(), {"export", dir.string()}), demoLogin).status, 0);

    const CliRun again = runCli(atPort(server.port(), {"export", dir.string()}), demoLogin);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.err, "");

    std::ofstream(dir / "A02.vcf", std::ios::binary) << "edited by hand";
    fs::remove(dir / "A05.vcf");
    const CliRun clashed = runCli(atPort(server.port(), {"export", dir.string()}), demoLogin);
    EXPECT_EQ(clashed.status, 4);
    EXPECT_EQ(clashed.err, "vqcontacts: \"" + (dir / "A02.vcf").string() +
                               "\" holds other bytes than the contact; not overwritten\n");
    EXPECT_EQ(fileBytes(dir / "A02.vcf"), "edited by hand");
    EXPECT_EQ(fileBytes(dir / "A05.vcf"), fileBytes(server.folder() / "A05.vcf")) << "the missing one came back";
}

// A server that lists the given hrefs and answers every GET with the same card.
TEST(CliExport, HostileHrefsNeverLeaveTheFolder) {
    struct Row {
        const char* why;
        std::string segment;  // as the href holds it, XML-escaped
        std::string stored;   // empty: skipped
    };
    const Row rows[] = {
        {"escapes are decoded", "Jane%20Doe.vcf", "Jane Doe.vcf"},
        {"an escaped slash climbing out starts with a dot: refused", "..%2F..%2Fescaped.vcf", ""},
        {"an escaped slash stays as it is", "x%2F..%2Fescaped.vcf", "x%2F..%2Fescaped.vcf"},
        {"an escaped dot-dot stays as it is", "%2E%2E", "%2E%2E"},
        {"an escaped NUL stays as it is", "a%00b.vcf", "a%00b.vcf"},
        {"an escaped terminal escape stays as it is", "%1B%5B2J.vcf", "%1B%5B2J.vcf"},
        {"a raw dot-dot is skipped", "..", ""},
        {"a raw dot is skipped", ".", ""},
        {"a raw tab is skipped", "tab&#9;name.vcf", ""},
        {"a raw line end is skipped", "line&#10;end.vcf", ""},
        {"a shell's start-up file is refused", ".profile", ""},
        {"a hidden file is refused", ".bash_login", ""},
    };
    std::string listing = "<?xml version=\"1.0\"?>\r\n<D:multistatus xmlns:D=\"DAV:\">";
    for (const Row& row : rows) {
        listing += "<D:response><D:href>/vqhttpmail/2/3/4/Contacts/" + row.segment + "</D:href></D:response>";
    }
    // The card hides in a comment: the one scripted answer serves as the listing and as every card.
    const std::string body = listing + "<!--\r\nBEGIN:VCARD\r\nFN:Same\r\nEND:VCARD\r\n--></D:multistatus>\r\n";
    nettest::LoopbackServer server(
        {true, "HTTP/1.0 207 Multi-Status\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body});
    ASSERT_TRUE(server.listening());
    const TempFolder temp;
    const CliRun run = runCli(atPort(server.port(), {"export", (temp.path() / "dir").string()}), demoLogin);

    EXPECT_EQ(run.status, 4) << "a skipped contact is a failed one";
    std::vector<std::string> stored;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        if (row.stored.empty() && row.segment.starts_with(".") && row.segment.size() > 2) {
            EXPECT_NE(run.err.find("contact \"" + row.segment +
                                   "\" refused: a name starting with \".\" would make a hidden file"),
                      std::string::npos)
                << run.err;
        } else if (row.stored.empty()) {
            EXPECT_NE(run.err.find("skipped: its name is no plain file name"), std::string::npos);
        } else {
            stored.push_back(row.stored);
            EXPECT_EQ(fileBytes(temp.path() / "dir" / row.stored), body);
        }
    }
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(namesIn(temp.path() / "dir"), stored);
    EXPECT_EQ(namesIn(temp.path()), std::vector<std::string>{"dir"}) << "nothing written beside the folder";
    EXPECT_NE(run.err.find("contact \"tab\\x09name.vcf\" skipped"), std::string::npos)
        << "control characters are shown escaped: " << run.err;
    EXPECT_EQ(server.connections(), 1 + stored.size()) << "no GET for a skipped contact";
}
