// delete and duplicates through the built vqcontacts against the demo server.

#include "cli/ListField.h"
#include "tests/cli/CliRun.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const std::string kAnn = "BEGIN:VCARD\r\nFN:Ann\r\nEND:VCARD\r\n";
const std::string kBob = "BEGIN:VCARD\r\nFN:Bob\r\nEND:VCARD\r\n";

void seed(const HttpMailServer& server) {
    for (const auto& [name, bytes] : {std::pair{"a.vcf", kAnn},
                                      {"b.vcf", kBob},
                                      {"c ]1%.vcf", "BEGIN:VCARD\nFN:Ann\nEND:VCARD\n"},
                                      {"d.vcf", kBob}}) {
        std::ofstream(server.folder() / name, std::ios::binary) << bytes;
    }
}

}  // namespace

TEST(CliDelete, ExitsZeroOnlyWhenEveryContactWentAndNamesEachThatDidNot) {
    struct Row {
        const char* why;
        std::vector<std::string> switches;
        std::vector<std::string> arguments;
        int status;
        std::string err;
        std::vector<const char*> gone;
    };
    const Row rows[] = {
        {"two named, both go", {}, {"delete", "--yes", "a.vcf", "b.vcf"}, 0, "", {"a.vcf", "b.vcf"}},
        {"no terminal and no --yes: nothing goes",
         {},
         {"delete", "a.vcf"},
         1,
         "vqcontacts: no terminal to ask on, so nothing was deleted; --yes deletes without a question\n",
         {}},
        {"one absent",
         {},
         {"delete", "--yes", "a.vcf", "nobody.vcf"},
         4,
         "vqcontacts: contact \"nobody.vcf\": there is no such contact\n",
         {"a.vcf"}},
        {"a server that refuses DELETE",
         {"--refuse-delete"},
         {"delete", "--yes", "a.vcf"},
         4,
         "vqcontacts: contact \"a.vcf\": the server does not allow deleting contacts (405)\n",
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServerOptions options;
        options.switches = row.switches;
        const HttpMailServer server(options);
        seed(server);
        const CliRun run = runCli(atPort(server.port(), row.arguments), demoLogin);
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.err, row.err);
        for (const char* name : {"a.vcf", "b.vcf", "c ]1%.vcf", "d.vcf"}) {
            const bool gone = std::find(row.gone.begin(), row.gone.end(), std::string_view(name)) != row.gone.end();
            EXPECT_EQ(fs::exists(server.folder() / name), !gone) << name;
        }
    }
}

TEST(CliDelete, DuplicatesNamesEveryLaterCopyAndDeletingThemLeavesOneOfEach) {
    const HttpMailServer server;
    seed(server);
    const CliRun copies = runCli(atPort(server.port(), {"duplicates"}), demoLogin);
    EXPECT_EQ(copies.status, 0) << copies.err;
    EXPECT_EQ(copies.out, listField("c%20%5D1%25.vcf") + "\n" + listField("d.vcf") + "\n");
    std::vector<std::string> arguments{"delete", "--yes"};
    for (const std::string file : {"c%20%5D1%25.vcf", "d.vcf"}) {
        arguments.push_back(file);
    }
    EXPECT_EQ(runCli(atPort(server.port(), arguments), demoLogin).status, 0);
    EXPECT_TRUE(fs::exists(server.folder() / "a.vcf"));
    EXPECT_TRUE(fs::exists(server.folder() / "b.vcf"));
    EXPECT_FALSE(fs::exists(server.folder() / "c ]1%.vcf"));
    EXPECT_FALSE(fs::exists(server.folder() / "d.vcf"));
    EXPECT_EQ(runCli(atPort(server.port(), {"duplicates"}), demoLogin).out, "");
}
