// Deletes and their undo against the demo server's switches: what goes, what stays, and that what
// comes back is byte for byte what went.

#include "contacts/DeleteContacts.h"
#include "contacts/RestoreContacts.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const std::string kCard = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nEND:VCARD\r\n";
const std::string kOther = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bob\r\nEND:VCARD\r\n";

enum class Before {
    Nothing,           // the contact is as its line saw it
    ChangedBytes,      // another program rewrote it after the listing
    Removed,           // another program deleted it after the listing
    LineWithoutBytes,  // its GET failed when it was listed
};

int uploads(const HttpMailServer& server) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(server.folder())) {
        count += entry.path().filename().string().starts_with("upload-") ? 1 : 0;
    }
    return count;
}

}  // namespace

TEST(DeleteContacts, GoesOnlyWhileItIsWhatTheLineWasMadeFromAndComesBackByteForByte) {
    struct Row {
        const char* why;
        std::vector<std::string> switches;
        std::string fault;
        Before before;
        WriteOutcome deleted;
        bool fileAfterDelete;
    };
    const Row rows[] = {
        {"its ETag still holds", {}, {}, Before::Nothing, WriteOutcome::Done, false},
        {"changed since the listing: another ETag", {}, {}, Before::ChangedBytes, WriteOutcome::Changed, true},
        {"no ETag, the same bytes", {"--no-etag"}, {}, Before::Nothing, WriteOutcome::Done, false},
        {"no ETag, other bytes", {"--no-etag"}, {}, Before::ChangedBytes, WriteOutcome::Changed, true},
        {"gone already: done, nothing to undo", {}, {}, Before::Removed, WriteOutcome::Done, false},
        {"a line whose bytes never came is not deleted", {}, {}, Before::LineWithoutBytes, WriteOutcome::Changed, true},
        {"a server that refuses DELETE", {"--refuse-delete"}, {}, Before::Nothing, WriteOutcome::NotAllowed, true},
        {"a server that says it deleted but keeps it",
         {"--keep-on-delete"},
         {},
         Before::Nothing,
         WriteOutcome::Done,
         true},
        {"the DELETE's answer cut after it was done: the 412 of the try again is its own",
         {},
         "reset-every=2",
         Before::Nothing,
         WriteOutcome::Done,
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServerOptions options;
        options.switches = row.switches;
        HttpMailServer server(options);
        const std::string file = "a%20%5Db%25.vcf";  // "a ]b%.vcf" on the server's disk
        const fs::path onDisk = server.folder() / "a ]b%.vcf";
        std::ofstream(onDisk, std::ios::binary) << kCard;
        const ContactFolder folder({u"127.0.0.1", server.port(), u"Basic ZGVtbzpkZW1v"});
        CardFacts listed = cardFacts(folder.get(file));
        ASSERT_TRUE(listed.bytesCame);
        if (row.before == Before::ChangedBytes) {
            std::ofstream(onDisk, std::ios::binary) << kOther;
        } else if (row.before == Before::Removed) {
            fs::remove(onDisk);
        } else if (row.before == Before::LineWithoutBytes) {
            listed = {};
        }
        server.setFault(row.fault);
        const std::vector<DeleteResult> results = deleteContacts(folder, {{file, listed}});
        server.setFault({});
        ASSERT_EQ(results.size(), 1u);
        if (!row.fault.empty()) {
            EXPECT_EQ(server.requests("DELETE").size(), 2u) << "the cut DELETE was tried again";
        }
        EXPECT_EQ(results[0].outcome, row.deleted);
        EXPECT_EQ(fs::exists(onDisk), row.fileAfterDelete);
        if (row.deleted != WriteOutcome::Done || row.before == Before::Removed) {
            EXPECT_TRUE(results[0].bytes.empty()) << "nothing to bring back";
            continue;
        }
        EXPECT_EQ(results[0].bytes, kCard);
        const std::vector<RestoreResult> restored = restoreContacts(folder, {{file, results[0].bytes}});
        ASSERT_EQ(restored.size(), 1u);
        EXPECT_EQ(restored[0].outcome, WriteOutcome::Done);
        EXPECT_EQ(restored[0].as, RestoredAs::OwnName) << "a kept contact is found, not posted again";
        EXPECT_EQ(fileBytes(onDisk), kCard);
        EXPECT_EQ(uploads(server), 0);
    }
}

TEST(RestoreContacts, PostsWhereTheNameIsTakenOrPutIsRefused) {
    struct Row {
        const char* why;
        std::vector<std::string> switches;
        bool nameTaken;
    };
    const Row rows[] = {
        {"another contact took the name meanwhile: it is not overwritten", {}, true},
        {"a server that takes no PUT", {"--refuse-put"}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServerOptions options;
        options.switches = row.switches;
        HttpMailServer server(options);
        if (row.nameTaken) {
            std::ofstream(server.folder() / "a.vcf", std::ios::binary) << kOther;
        }
        const ContactFolder folder({u"127.0.0.1", server.port(), u"Basic ZGVtbzpkZW1v"});
        const std::vector<RestoreResult> restored = restoreContacts(folder, {{"a.vcf", kCard}});
        ASSERT_EQ(restored.size(), 1u);
        EXPECT_EQ(restored[0].outcome, WriteOutcome::Done);
        EXPECT_EQ(restored[0].as, RestoredAs::ServerName);
        EXPECT_EQ(uploads(server), 1);
        EXPECT_EQ(fileBytes(server.folder() / "a.vcf"), row.nameTaken ? kOther : "");
    }
}

TEST(DeleteContacts, ARefusedLoginStopsTheBatchAndDeletesNothing) {
    HttpMailServer server;
    for (const char* name : {"a.vcf", "b.vcf", "c.vcf"}) {
        std::ofstream(server.folder() / name, std::ios::binary) << kCard;
    }
    const ContactFolder folder({u"127.0.0.1", server.port(), u"Basic d3Jvbmc6d3Jvbmc="});
    const std::vector<DeleteResult> results = deleteContacts(folder, {{"a.vcf", {}}, {"b.vcf", {}}, {"c.vcf", {}}});
    ASSERT_EQ(results.size(), 3u);
    for (const DeleteResult& result : results) {
        EXPECT_EQ(result.outcome, WriteOutcome::Unauthorized);
    }
    EXPECT_TRUE(server.requests("DELETE").empty());
    EXPECT_TRUE(fs::exists(server.folder() / "c.vcf"));
}
