// The write rule of export: a file is written whole or not at all, never replaces anything, and
// never lands outside the folder, whatever is already there.

#include "cli/ExportFolder.h"
#include "cli/LocalError.h"
#include "tests/cli/TempFolder.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

class ExportFolderTest : public ::testing::Test {
protected:
    static void put(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

    TempFolder m_temp;
    const fs::path& m_root = m_temp.path();
};

}  // namespace

TEST_F(ExportFolderTest, WritesNewFilesAndLeavesWhatIsThere) {
    const fs::path dir = m_root / "backup" / "2026";
    const ExportFolder folder(dir);
    const fs::path outside = m_root / "outside.vcf";
    ASSERT_EQ(symlink(outside.c_str(), (dir / "link.vcf").c_str()), 0);
    fs::create_directory(dir / "sub.vcf");
    put(dir / "same.vcf", "BEGIN:VCARD\r\nEND:VCARD\r\n");
    put(dir / "other.vcf", "old bytes");
    put(dir / "longer.vcf", "BEGIN:VCARD\r\nEND:VCARD\r\nmore");
    const std::string card("BEGIN:VCARD\r\n\0\xFF\r\nEND:VCARD\r\n", 27);

    struct Row {
        const char* why;
        std::string name;
        std::string bytes;
        StoreOutcome outcome;
        std::string afterwards;
    };
    const Row rows[] = {
        {"a new name gets the bytes, NUL and 0xFF included", "new.vcf", card, StoreOutcome::Written, card},
        {"an empty card is a file too", "empty.vcf", "", StoreOutcome::Written, ""},
        {"the same bytes are left alone", "same.vcf", "BEGIN:VCARD\r\nEND:VCARD\r\n", StoreOutcome::AlreadyThere,
         "BEGIN:VCARD\r\nEND:VCARD\r\n"},
        {"other bytes are not overwritten", "other.vcf", card, StoreOutcome::Clash, "old bytes"},
        {"a longer file that starts alike is other bytes", "longer.vcf", "BEGIN:VCARD\r\nEND:VCARD\r\n",
         StoreOutcome::Clash, "BEGIN:VCARD\r\nEND:VCARD\r\nmore"},
        {"a folder of that name clashes", "sub.vcf", card, StoreOutcome::Clash, ""},
        {"a link of that name is not followed", "link.vcf", card, StoreOutcome::Clash, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(folder.store(row.name, row.bytes).outcome, row.outcome);
        if (fs::is_regular_file(dir / row.name) && !fs::is_symlink(dir / row.name)) {
            EXPECT_EQ(fileBytes(dir / row.name), row.afterwards);
        }
    }
    EXPECT_FALSE(fs::exists(outside)) << "nothing written through the link";
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"empty.vcf", "link.vcf", "longer.vcf", "new.vcf", "other.vcf",
                                                      "same.vcf", "sub.vcf"}))
        << "no temporary file is left behind";
    EXPECT_EQ(namesIn(m_root), std::vector<std::string>{"backup"});
}

TEST_F(ExportFolderTest, AFolderThatCannotBeMadeIsALocalError) {
    put(m_root / "plain-file", "x");
    try {
        const ExportFolder folder(m_root / "plain-file" / "dir");
        FAIL() << "a folder below a file was made";
    } catch (const LocalError& error) {
        EXPECT_EQ(
            std::string(error.what()).rfind("cannot make the folder \"" + (m_root / "plain-file/dir").string(), 0), 0u)
            << error.what();
    }
}

TEST_F(ExportFolderTest, AFailedWriteLeavesNoFile) {
    const fs::path dir = m_root / "out";
    const ExportFolder folder(dir);
    const StoreResult result = folder.store(std::string(300, 'n'), "BEGIN:VCARD\r\nEND:VCARD\r\n");
    EXPECT_EQ(result.outcome, StoreOutcome::Failed);
    EXPECT_EQ(result.error, "File name too long");
    EXPECT_TRUE(namesIn(dir).empty());
}
