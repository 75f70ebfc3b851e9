// Form_OLEDragDrop through a recorder: which items go up, which messages show, whether it refreshes.

#include "codec/CodePage.h"
#include "contacts/ContactClient.h"
#include "contacts/ItemFile.h"
#include "tests/support/ScreenRecorder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <fstream>

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
    for (const auto& file : files) {
        items.push_back({file, std::nullopt});
    }
    return items;
}

}  // namespace

TEST(FormOLEDragDrop, PostsEachVcardAndRejectsTheRest) {
    TempDir dir;
    const std::string utf16("B\0E\0G\0I\0N\0:\0V\0C\0A\0R\0D\0", 22);
    const auto card = dir.write("a.vcf", "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n");
    const auto note = dir.write("note.txt", "a note that names VCARD in passing");
    const auto lower = dir.write("lower.vcf", "begin:vcard\r\nend:vcard\r\n");
    const auto wide = dir.write("wide.vcf", utf16);
    const auto empty = dir.write("empty.vcf", "");
    std::filesystem::create_directory(dir.path / "folder.vcf");
    struct Row {
        const char* why;
        std::vector<std::filesystem::path> files;
        int posts;
        int rejects;
    };
    const Row rows[] = {
        {"a vCard goes up", {card}, 1, 0},
        {"VCARD anywhere is enough", {note}, 1, 0},
        {"a card in lower-case markers is a card", {lower}, 1, 0},
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
        inBandClient(screen, LoginState{u"127.0.0.1", 1, u"Basic x"}, http.function())
            .Form_OLEDragDrop(itemsOf(row.files));
        std::vector<Message> expected{notice(static_cast<int>(row.files.size()))};
        expected.insert(expected.end(), static_cast<std::size_t>(row.rejects), notVcard);
        // the final listing gets no answer, which shows the fatal message after ours
        ASSERT_GE(screen.messages.size(), expected.size());
        EXPECT_EQ(
            std::vector<Message>(screen.messages.begin(), screen.messages.begin() + static_cast<long>(expected.size())),
            expected);
        int posts = 0;
        for (const Request& r : http.requests) {
            posts += r.verb == u"POST";
        }
        EXPECT_EQ(posts, row.posts);
        EXPECT_EQ(http.requests.back().verb, u"PROPFIND");
        EXPECT_EQ(screen.clears, 1);
    }
}

TEST(FormOLEDragDrop, SplitsEachItemIntoItsCardsOnePostEach) {
    using Bodies = std::vector<std::string>;
    const std::string a = "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n";
    const std::string b = "BEGIN:VCARD\nFN:B\nEND:VCARD\n";
    const std::string c = "begin:vcard\r\nfn:C\r\nEnd:VCard  \r\n";
    const std::string nested = "BEGIN:VCARD\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\nEND:VCARD\r\nEND:VCARD\r\n";
    const std::string inlineAgent =
        "BEGIN:VCARD\r\nitem1.AGENT;X=1:begin:vcard\r\nFN:Agent\r\nEND:VCARD\r\nEND:VCARD\r\n";
    struct Row {
        const char* why;
        std::vector<std::string> items;
        Bodies bodies;
        std::size_t notice;
        int rejects;
    };
    const Row rows[] = {
        {"an export of three cards gives three posts", {a + b + c}, {a, b, c}, 3, 0},
        {"what lies between and around the cards stays home",
         {"junk\r\n" + a + "\r\n\r\n" + b + "trailer"},
         {a, b},
         2,
         0},
        {"a last card without its end goes up after the whole ones",
         {a + "BEGIN:VCARD\r\nFN:Cut\r\n"},
         {a, "BEGIN:VCARD\r\nFN:Cut\r\n"},
         2,
         0},
        {"a cut last card runs from its BEGIN line to the end",
         {a + b + "\r\nBEGIN:VCARD\r\nFN:Cut"},
         {a, b, "BEGIN:VCARD\r\nFN:Cut"},
         3,
         0},
        {"a cut card in lower case goes up too", {a + "begin:vcard\r\nfn:Cut"}, {a, "begin:vcard\r\nfn:Cut"}, 2, 0},
        {"a rest with VCARD but no BEGIN:VCARD stays home", {a + "NOTE:see VCARD\r\n"}, {a}, 1, 0},
        {"a BEGIN inside an unclosed card starts the next card",
         {"BEGIN:VCARD\r\nFN:Cut\r\n" + a + b},
         {"BEGIN:VCARD\r\nFN:Cut\r\n", a, b},
         3,
         0},
        {"cut cards in a row each go up alone",
         {"BEGIN:VCARD\r\nFN:X\r\nbegin:vcard\r\nFN:Y\r\n" + c},
         {"BEGIN:VCARD\r\nFN:X\r\n", "begin:vcard\r\nFN:Y\r\n", c},
         3,
         0},
        {"an AGENT's card on the next line stays inside", {nested}, {nested}, 1, 0},
        {"an inline AGENT:BEGIN:VCARD stays inside", {inlineAgent + b}, {inlineAgent, b}, 2, 0},
        {"a BEGIN after another property inside an AGENT's card cuts the outer one",
         {"BEGIN:VCARD\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\n" + a},
         {"BEGIN:VCARD\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Agent\r\n", a},
         2,
         0},
        {"a property after AGENT: makes the next BEGIN a cut",
         {"BEGIN:VCARD\r\nAGENT:\r\nNOTE:x\r\n" + a},
         {"BEGIN:VCARD\r\nAGENT:\r\nNOTE:x\r\n", a},
         2,
         0},
        {"no card but vcard in lower case: whole", {"note about a vcard"}, {"note about a vcard"}, 1, 0},
        {"the last line needs no line end", {a + "BEGIN:VCARD\r\nEND:VCARD"}, {a, "BEGIN:VCARD\r\nEND:VCARD"}, 2, 0},
        {"a nested card goes up inside its outer card", {nested + a}, {nested, a}, 2, 0},
        {"a byte order mark is outside the card", {"\xEF\xBB\xBF" + a}, {a}, 1, 0},
        {"an indented marker is a folded line, not a card",
         {" BEGIN:VCARD\r\n END:VCARD\r\n"},
         {" BEGIN:VCARD\r\n END:VCARD\r\n"},
         1,
         0},
        {"no complete card but VCARD: whole, as before",
         {"BEGIN:VCARD\r\nFN:Never Ends"},
         {"BEGIN:VCARD\r\nFN:Never Ends"},
         1,
         0},
        {"items in order, a rejection counts one", {a + b, "no card here", c}, {a, b, c}, 4, 1},
        {"undefined Windows-1252 bytes go up exactly",
         {"BEGIN:VCARD\r\nFN:\x81\x8D\xFF\r\nEND:VCARD\r\n"},
         {"BEGIN:VCARD\r\nFN:\x81\x8D\xFF\r\nEND:VCARD\r\n"},
         1,
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        std::vector<DropItem> items;
        for (const std::string& bytes : row.items) {
            items.push_back({{}, bytes});
        }
        ScreenRecorder screen;
        HttpRecorder http;
        inBandClient(screen, LoginState{u"127.0.0.1", 1, u"Basic x"}, http.function()).Form_OLEDragDrop(items);
        Bodies posted;
        for (const Request& r : http.requests) {
            if (r.verb == u"POST") {
                const std::vector<std::uint8_t> bytes = codepage::toWindows1252(r.body);
                posted.emplace_back(bytes.begin(), bytes.end());
            }
        }
        EXPECT_EQ(posted, row.bodies);
        ASSERT_GE(screen.messages.size(), 1u + static_cast<std::size_t>(row.rejects));
        EXPECT_EQ(screen.messages[0], notice(static_cast<int>(row.notice)));
        for (int i = 1; i <= row.rejects; ++i) {
            EXPECT_EQ(screen.messages[static_cast<std::size_t>(i)], notVcard);
        }
    }
}

TEST(FormOLEDragDrop, NoFileListShowsOnlyInvalidDataFormat) {
    ScreenRecorder screen;
    screen.lines = {u"kept"};
    HttpRecorder http;
    inBandClient(screen, LoginState{u"127.0.0.1", 1, u"Basic x"}, http.function()).Form_OLEDragDrop(std::nullopt);
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
    struct Row {
        const char* why;
        std::filesystem::path file;
        std::size_t cap;
        std::optional<std::string> bytes;
    };
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
