// Saving an edited contact against the demo server's switches: what each answer does, and that
// nothing changed elsewhere is overwritten.

#include "contacts/ContactSave.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

const std::string kOpened = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nEND:VCARD\r\n";
const std::string kEdited = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anne\r\nEND:VCARD\r\n";
const std::string kElsewhere = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann B.\r\nEND:VCARD\r\n";

std::vector<std::string> uploads(const HttpMailServer& server) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(server.folder())) {
        if (entry.is_regular_file() && entry.path().filename() != "a.vcf") {
            found.push_back(fileBytes(entry.path()));
        }
    }
    return found;
}

}  // namespace

TEST(ContactSave, OverwritesNothingChangedElsewhereAndLosesNothing) {
    struct Row {
        const char* why;
        std::vector<std::string> switches;
        bool changedElsewhere;  // another client wrote the contact after it was opened
        std::string edit;
        SaveStep step;
        std::string fileAfter;  // empty: the contact's file is gone
        std::vector<std::string> uploadsAfter;
        std::vector<std::string> writes;  // the PUT, POST and DELETE requests, in order
    };
    const std::string put = "PUT /vqhttpmail/2/3/4/Contacts/a.vcf";
    const std::string del = "DELETE /vqhttpmail/2/3/4/Contacts/a.vcf";
    const std::string post = "POST /vqhttpmail/2/3/4/Contacts";
    const Row rows[] = {
        {"an unchanged save sends nothing", {}, false, kOpened, SaveStep::Unchanged, kOpened, {}, {}},
        {"PUT with the opened ETag", {}, false, kEdited, SaveStep::Saved, kEdited, {}, {put + " 204"}},
        {"a stale ETag: 412, nothing overwritten",
         {},
         true,
         kEdited,
         SaveStep::Changed,
         kElsewhere,
         {},
         {put + " 412"}},
        {"no ETag: the same bytes again, then PUT",
         {"--no-etag"},
         false,
         kEdited,
         SaveStep::Saved,
         kEdited,
         {},
         {put + " 204"}},
        {"no ETag and other bytes: nothing sent", {"--no-etag"}, true, kEdited, SaveStep::Changed, kElsewhere, {}, {}},
        {"no PUT: POST first, then the old one deleted",
         {"--refuse-put"},
         false,
         kEdited,
         SaveStep::Posted,
         "",
         {kEdited},
         {put + " 405", post + " 201", del + " 200"}},
        {"no PUT and no DELETE: both versions stay",
         {"--refuse-put", "--refuse-delete"},
         false,
         kEdited,
         SaveStep::OldKept,
         kOpened,
         {kEdited},
         {put + " 405", post + " 201", del + " 405"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServerOptions options;
        options.switches = row.switches;
        HttpMailServer server(options);
        std::ofstream(server.folder() / "a.vcf", std::ios::binary) << kOpened;
        const ContactFolder folder({u"127.0.0.1", server.port(), u"Basic ZGVtbzpkZW1v"});
        const modWININET::HttpResult got = folder.get("a.vcf");
        ASSERT_TRUE(got.succeeded());
        if (row.changedElsewhere) {
            std::ofstream(server.folder() / "a.vcf", std::ios::binary | std::ios::trunc) << kElsewhere;
        }
        const SaveReport report = saveContact(folder, {"a.vcf", got.body, got.etag}, row.edit);
        EXPECT_EQ(report.step, row.step);
        EXPECT_EQ(fileBytes(server.folder() / "a.vcf"), row.fileAfter);
        EXPECT_EQ(uploads(server), row.uploadsAfter);
        std::vector<std::string> writes;
        for (const std::string& line : server.requestLog()) {
            if (!line.starts_with("GET") && !line.starts_with("PROPFIND")) {
                writes.push_back(line);
            }
        }
        EXPECT_EQ(writes, row.writes);
        if (row.step == SaveStep::Saved) {
            EXPECT_EQ(report.serverBytes, row.fileAfter) << "the line follows what the server keeps";
        }
        if (row.step == SaveStep::Changed) {
            EXPECT_EQ(report.serverBytes, kElsewhere) << "the server's version, to look at beside the edit";
            EXPECT_EQ(saveMessage({}, report),
                      u"The contact changed on the server since the editor opened it. Nothing was overwritten.");
        }
    }
}
