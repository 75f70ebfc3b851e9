// One save against Apache's mod_dav, whose ETags are its own ("size-mtime"), not the demo server's:
// the PUT under the opened ETag replaces the contact, and one under a stale ETag overwrites nothing.
// Skipped where apache2 is not installed.

#include "contacts/ContactSave.h"
#include "tests/support/ApacheDav.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

void writeContact(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

TEST(ApacheSave, PutsUnderItsRealETagsAndOverwritesNothingChanged) {
    if (!ApacheDav::installed()) {
        GTEST_SKIP() << "apache2 with mod_dav_fs is not installed";
    }
    const std::string opened = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann\r\nEND:VCARD\r\n";
    const std::string edited = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anne\r\nEND:VCARD\r\n";
    const std::string elsewhere = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann B.\r\nEND:VCARD\r\n";
    struct Row {
        const char* why;
        bool oldFile;           // written an hour ago: Apache's ETag is strong, else weak ("W/")
        bool changedElsewhere;  // another client wrote it after it was opened
        SaveStep step;
        std::string after;
    };
    const Row rows[] = {
        {"a strong ETag: PUT with If-Match", true, false, SaveStep::Saved, edited},
        {"a strong ETag gone stale: 412", true, true, SaveStep::Changed, elsewhere},
        {"a weak ETag never matches: the bytes are compared instead", false, false, SaveStep::Saved, edited},
        {"a weak ETag and other bytes: nothing sent", false, true, SaveStep::Changed, elsewhere},
    };
    const ApacheDav apache;
    const ContactFolder folder({u"127.0.0.1", apache.port(), u"Basic ZGVtbzpkZW1v"});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        writeContact(apache.folder() / "a.vcf", opened);
        if (row.oldFile) {
            std::filesystem::last_write_time(apache.folder() / "a.vcf",
                                             std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        }
        const modWININET::HttpResult got = folder.get("a.vcf");
        ASSERT_TRUE(got.succeeded()) << got.status << " " << got.reason;
        ASSERT_TRUE(got.etag.has_value());
        EXPECT_EQ(got.etag->starts_with("W/"), !row.oldFile) << *got.etag;
        if (row.changedElsewhere) {
            writeContact(apache.folder() / "a.vcf", elsewhere);  // another size: another ETag
        }
        const SaveReport report = saveContact(folder, {"a.vcf", got.body, got.etag}, edited);
        EXPECT_EQ(report.step, row.step);
        EXPECT_EQ(fileBytes(apache.folder() / "a.vcf"), row.after);
    }
}
