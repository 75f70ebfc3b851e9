// upload through the built vqcontacts: one POST per card, the bytes exactly, as a drop splits.

#include "tests/cli/CliRun.h"
#include "tests/cli/TempFolder.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

// What the server stored from the POSTs, in the order they came (names hold the arrival time).
std::vector<std::string> uploadedBodies(const HttpMailServer& server) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(server.folder())) {
        if (entry.path().filename().string().starts_with("upload-")) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<std::string> bodies;
    for (const fs::path& file : files) {
        bodies.push_back(fileBytes(file));
    }
    return bodies;
}

fs::path write(const TempFolder& temp, const std::string& name, const std::string& bytes) {
    std::ofstream(temp.path() / name, std::ios::binary) << bytes;
    return temp.path() / name;
}

const std::string first = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:First\r\nEND:VCARD\r\n";
const std::string second("begin:vcard\nversion:2.1\nfn:Second \xE9\xFF\0\nend:vcard\n", 48);
const std::string third =
    "BEGIN:VCARD\r\nFN:Third\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Nested\r\nEND:VCARD\r\nEND:VCARD  \r\n";

}  // namespace

TEST(CliUpload, PostsEachCardOfAnAddressBookWithItsExactBytes) {
    HttpMailServer server;
    const TempFolder temp;
    const fs::path book = write(temp, "book.vcf", "junk before\r\n" + first + "\r\n" + second + third + "tail");
    const CliRun run = runCli(atPort(server.port(), {"upload", book.string()}), demoLogin);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    EXPECT_EQ(server.requests("POST"), std::vector<std::string>(3, "/vqhttpmail/2/3/4/Contacts 201"));
    EXPECT_EQ(uploadedBodies(server), (std::vector<std::string>{first, second, third}))
        << "what lies between the cards is sent with none; a nested card stays in its outer one";
}

TEST(CliUpload, SendsAnItemWithoutAWholeCardAsItIsAndRefusesOneWithoutVcard) {
    HttpMailServer server;
    const TempFolder temp;
    const fs::path cut = write(temp, "cut.vcf", "BEGIN:VCARD\r\nFN:Never ended\r\n");
    const fs::path note = write(temp, "note.txt", "just a note");
    const CliRun run = runCli(atPort(server.port(), {"upload", note.string(), cut.string(), "-"}), demoLogin, first);
    EXPECT_EQ(run.status, 4) << "the note counts as failed";
    EXPECT_EQ(run.err, "vqcontacts: \"" + note.string() + "\" is not in VCF format; nothing of it was uploaded\n" +
                           "vqcontacts: \"" + cut.string() + "\", card 1 lacks \"END:VCARD\"; it goes up as it is\n");
    EXPECT_EQ(uploadedBodies(server), (std::vector<std::string>{"BEGIN:VCARD\r\nFN:Never ended\r\n", first}))
        << "the cut card goes whole, then standard input's card";
}

TEST(CliUpload, ABackupWhoseLastCardIsCutLosesNoContactAndSaysWhichWasCut) {
    HttpMailServer server;
    const TempFolder temp;
    const std::string cut = "BEGIN:VCARD\r\nFN:Cut short\r\n";
    const fs::path book = write(temp, "book.vcf", first + cut + third + "\r\n" + cut);
    const CliRun run = runCli(atPort(server.port(), {"upload", book.string()}), demoLogin);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(uploadedBodies(server), (std::vector<std::string>{first, cut, third, cut}))
        << "four cards, four POSTs: a cut card ends where the next one begins, or at the end";
    const std::string named = "vqcontacts: \"" + book.string() + "\", card ";
    EXPECT_EQ(run.err, named + "2 lacks \"END:VCARD\"; it goes up as it is\n" + named +
                           "4 lacks \"END:VCARD\"; it goes up as it is\n");

    HttpMailServerOptions refusing;
    refusing.fault = "server-error";
    HttpMailServer broken(refusing);
    const CliRun refused = runCli(atPort(broken.port(), {"upload", book.string()}), demoLogin);
    EXPECT_EQ(refused.status, 4) << "a refused POST is a failed contact";
}

TEST(CliUpload, AFileThatCannotBeReadStopsBeforeAnythingIsSent) {
    HttpMailServer server;
    const TempFolder temp;
    const fs::path card = write(temp, "card.vcf", first);
    fs::create_directory(temp.path() / "folder.vcf");
    for (const fs::path& bad : {temp.path() / "missing.vcf", temp.path() / "folder.vcf"}) {
        SCOPED_TRACE(bad.string());
        const CliRun run = runCli(atPort(server.port(), {"upload", card.string(), bad.string()}), demoLogin);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "vqcontacts: cannot read \"" + bad.string() +
                               "\" (not a readable file of at most 64 MiB); nothing was uploaded\n");
    }
    EXPECT_TRUE(server.requestLog().empty());
}
