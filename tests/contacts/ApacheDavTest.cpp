// The delete and undo rows against Apache httpd's mod_dav: a real WebDAV server, whose ETags and
// 412s are its own.

#include "contacts/DeleteContacts.h"
#include "contacts/FolderListing.h"
#include "contacts/RestoreContacts.h"
#include "tests/support/ApacheDav.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const std::string kAnn = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nEND:VCARD\r\n";
const std::string kBob = "BEGIN:VCARD\nVERSION:3.0\nFN:Bob\nEND:VCARD\n";
const std::string kChanged = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Changed\r\nEND:VCARD\r\n";

// Apache makes the ETag of a file changed within the second weak; an hour old, it is strong.
void writeOld(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
}

}  // namespace

TEST(ApacheDav, DeletesUnderItsETagsAndBringsBackByteForByte) {
    if (!ApacheDav::installed()) {
        GTEST_SKIP() << "apache2 with mod_dav_fs is not installed";
    }
    const ApacheDav apache;
    const ContactFolder folder({u"127.0.0.1", apache.port(), u"Basic ZGVtbzpkZW1v"});
    writeOld(apache.folder() / "ann ]1%.vcf", kAnn);
    writeOld(apache.folder() / "bob.vcf", kBob);

    const FolderListing listing = listFolder(folder);
    ASSERT_EQ(listing.verdict.outcome, Outcome::Done) << "Apache's multistatus is read";
    std::vector<std::string> files = listing.files;
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 2u);
    const std::string ann = files[0];  // as Apache escapes the name in its href
    EXPECT_EQ(files[1], "bob.vcf");

    // A stale ETag: Apache's own 412, and the contact stays.
    const modWININET::HttpResult stale = folder.del("bob.vcf", WriteCondition::ifMatch("\"0-0\""));
    EXPECT_EQ(stale.status, 412);
    EXPECT_EQ(fileBytes(apache.folder() / "bob.vcf"), kBob);

    // Changed on the server after its line was made: not deleted.
    const CardFacts bobListed = cardFacts(folder.get("bob.vcf"));
    ASSERT_TRUE(bobListed.etag.has_value() && !bobListed.etag->starts_with("W/")) << "a strong ETag";
    writeOld(apache.folder() / "bob.vcf", kChanged);
    EXPECT_EQ(deleteContacts(folder, {{"bob.vcf", bobListed}}).at(0).outcome, WriteOutcome::Changed);
    EXPECT_EQ(fileBytes(apache.folder() / "bob.vcf"), kChanged);

    // As listed: deleted under If-Match, then back under its own name by PUT, byte for byte.
    const std::vector<DeleteResult> deleted = deleteContacts(folder, {{ann, cardFacts(folder.get(ann))}});
    ASSERT_EQ(deleted.at(0).outcome, WriteOutcome::Done);
    EXPECT_FALSE(fs::exists(apache.folder() / "ann ]1%.vcf"));
    const std::vector<RestoreResult> restored = restoreContacts(folder, {{ann, deleted[0].bytes}});
    EXPECT_EQ(restored.at(0).outcome, WriteOutcome::Done);
    EXPECT_EQ(restored[0].as, RestoredAs::OwnName);
    EXPECT_EQ(fileBytes(apache.folder() / "ann ]1%.vcf"), kAnn);

    // The name taken meanwhile: Apache's 412 to If-None-Match: *, nothing overwritten; its answer
    // to the POST that follows (a folder takes none) leaves the card for another undo.
    const std::vector<RestoreResult> taken = restoreContacts(folder, {{"bob.vcf", kBob}});
    EXPECT_NE(taken.at(0).outcome, WriteOutcome::Done);
    EXPECT_EQ(fileBytes(apache.folder() / "bob.vcf"), kChanged);
}
