// Form_OLEDragDrop through a recorder: which items go up, which messages show, whether it refreshes.

#include "contacts/ContactClient.h"
#include "contacts/ItemFile.h"
#include "tests/contacts/ScreenRecorder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

const std::u16string title = u"Velqor Personal Contact Manager";
const Message notVcard{u"Error: Item is not in VCF format", MessageStyle::Information, title};

Message notice(int n) {
    const std::string digits = std::to_string(n);
    return {u"Abount to Post " + std::u16string(digits.begin(), digits.end()) + u" Contacts to Server",
            MessageStyle::Information, title};
}

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::string name = (std::filesystem::temp_directory_path() / "vq-drop-XXXXXX").string();
        path = mkdtemp(name.data());
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::filesystem::path write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return path / name;
    }
};

std::vector<DropItem> itemsOf(const std::vector<std::filesystem::path>& files) {
    std::vector<DropItem> items;
    for (const auto& file : files) items.push_back({file, std::nullopt});
    return items;
}

}  // namespace

TEST(FormOLEDragDrop, PostsEachVcardWholeAndRejectsTheRest) {
    TempDir dir;
    const std::string utf16("B\0E\0G\0I\0N\0:\0V\0C\0A\0R\0D\0", 22);
    const auto card = dir.write("a.vcf", "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n");
    const auto note = dir.write("note.txt", "a note that names VCARD in passing");
    const auto lower = dir.write("lower.vcf", "begin:vcard\r\nend:vcard\r\n");
    const auto wide = dir.write("wide.vcf", utf16);
    const auto empty = dir.write("empty.vcf", "");
    std::filesystem::create_directory(dir.path / "folder.vcf");
    struct Row { const char* why; std::vector<std::filesystem::path> files; int posts; int rejects; };
    const Row rows[] = {
        {"a vCard goes up", {card}, 1, 0},
        {"VCARD anywhere is enough", {note}, 1, 0},
        {"lower case is not VCARD", {lower}, 0, 1},
        {"UTF-16 spreads the letters apart", {wide}, 0, 1},
        {"an empty file is no vCard", {empty}, 0, 1},
        {"a folder is no vCard", {dir.path / "folder.vcf"}, 0, 1},
        {"a vanished path is no vCard", {dir.path / "gone.vcf"}, 0, 1},
        {"a mix goes on past each rejection", {empty, card, dir.path / "folder.vcf", card, wide}, 2, 3},
        {"an empty list still refreshes", {}, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ScreenRecorder screen;
        screen.lines = {u"old line"};
        HttpRecorder http;
        ContactClient(screen, LoginState{u"127.0.0.1", 1, u"Basic x"}, http.function()).Form_OLEDragDrop(itemsOf(row.files));
        std::vector<Message> expected{notice(static_cast<int>(row.files.size()))};
        expected.insert(expected.end(), static_cast<std::size_t>(row.rejects), notVcard);
        // the final listing gets no answer, which shows the fatal message after ours
        ASSERT_GE(screen.messages.size(), expected.size());
        EXPECT_EQ(std::vector<Message>(screen.messages.begin(), screen.messages.begin() + static_cast<long>(expected.size())),
                  expected);
        int posts = 0;
        for (const Request& r : http.requests) posts += r.verb == u"POST";
        EXPECT_EQ(posts, row.posts);
        EXPECT_EQ(http.requests.back().verb, u"PROPFIND");
        EXPECT_EQ(screen.clears, 1);
    }
}

TEST(FormOLEDragDrop, NoFileListShowsOnlyInvalidDataFormat) {
    ScreenRecorder screen;
    screen.lines = {u"kept"};
    HttpRecorder http;
    ContactClient(screen, LoginState{u"127.0.0.1", 1, u"Basic x"}, http.function()).Form_OLEDragDrop(std::nullopt);
    EXPECT_EQ(screen.messages, (std::vector<Message>{{u"Invalid Data Format", MessageStyle::Information, title}}));
    EXPECT_TRUE(http.requests.empty());
    EXPECT_EQ(screen.lines, (std::vector<std::u16string>{u"kept"}));
    EXPECT_EQ(screen.clears, 0);
}

TEST(ReadItemFile, RefusesWhatCannotBeReadWhole) {
    TempDir dir;
    const auto small = dir.write("small", std::string("ab\0c", 4));
    const auto large = dir.write("large", "");
    std::filesystem::resize_file(large, (std::uintmax_t{64} << 20) + 1);  // sparse: costs no disk
    const auto exact = dir.write("exact", std::string(10, 'x'));
    mkfifo((dir.path / "fifo").c_str(), 0600);
    struct Row { const char* why; std::filesystem::path file; std::size_t cap; std::optional<std::string> bytes; };
    const Row rows[] = {
        {"bytes as they are, NUL included", small, maxItemBytes, std::string("ab\0c", 4)},
        {"one byte over 64 MiB is refused unread", large, maxItemBytes, std::nullopt},
        {"exactly the cap is read", exact, 10, std::string(10, 'x')},
        {"one over a small cap is refused", exact, 9, std::nullopt},
        {"a FIFO would block the window", dir.path / "fifo", maxItemBytes, std::nullopt},
        {"a folder", dir.path, maxItemBytes, std::nullopt},
        {"nothing there", dir.path / "none", maxItemBytes, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(readItemFile(row.file, row.cap), row.bytes);
    }
}
