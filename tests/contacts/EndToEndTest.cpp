// The contact client with the real HttpRequest against tools/httpmail-server on loopback.

#include "codec/CodePage.h"
#include "contacts/ContactClient.h"
#include "tests/contacts/ScreenRecorder.h"
#include "tests/support/HttpMailServer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

LoginState loginFor(const HttpMailServer& server, const std::u16string& authorization = u"Basic ZGVtbzpkZW1v") {
    return {u"127.0.0.1", server.port(), authorization};
}

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::filesystem::path> uploads(const HttpMailServer& server) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(server.folder())) {
        if (entry.path().filename().string().rfind("upload-", 0) == 0) found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

HttpMailServerOptions seeded() {
    HttpMailServerOptions options;
    options.seedSamples = true;
    return options;
}

}  // namespace

TEST(EndToEnd, ListsTheSamplesInOrderWithOneGetEach) {
    HttpMailServer server(seeded());
    ScreenRecorder screen;
    EXPECT_EQ(ContactClient(screen, loginFor(server)).ListContacts(), ListingResult::Listed);
    ASSERT_EQ(screen.lines.size(), 12u);
    EXPECT_EQ(screen.lines[0], u"Jane (Work) Doe [A01.vcf]");
    EXPECT_EQ(screen.lines[2], u"J\u00fcrgen M\u00fcller [A03.vcf]");
    EXPECT_EQ(screen.lines[4], u" [A05.vcf]");  // bare LF line ends
    EXPECT_EQ(screen.lines[5], u" [A06.vcf]");  // no FN
    EXPECT_EQ(screen.lines[10], u"Ola Berg (Board) (Chair) [A11.vcf]");
    ASSERT_EQ(screen.captions.size(), 13u);
    EXPECT_EQ(screen.captions[0], u"Retreiving Contact from Server 1 of 12");
    EXPECT_EQ(screen.captions[11], u"Retreiving Contact from Server 12 of 12");
    EXPECT_EQ(screen.captions[12], u"Velqor Personal Contacts Manager");
    const auto gets = server.requests("GET");
    ASSERT_EQ(gets.size(), 12u);
    EXPECT_EQ(gets[0], "/vqhttpmail/2/3/4/Contacts/A01.vcf 200");
    EXPECT_EQ(gets[11], "/vqhttpmail/2/3/4/Contacts/A12.vcf 200");
    EXPECT_EQ(server.requests("PROPFIND"), (std::vector<std::string>{"/vqhttpmail/2/3/4/Contacts 207"}));
}

TEST(EndToEnd, FailedListingsShowTheirMessage) {
    struct Row { const char* why; HttpMailServerOptions options; std::u16string auth; bool stop;
                 ListingResult result; std::u16string message; };
    const std::u16string fatal = u"Server does not seem to support remote contact administration or does not have any "
                                 u"contact defined. You may have also specified an invalid password.";
    const Row rows[] = {
        {"wrong password", {}, u"Basic ZGVtbzp3cm9uZw==", false, ListingResult::Rejected,
         u"Authentication Error: Please check credentials."},
        {"403", {.fault = "forbidden"}, u"Basic ZGVtbzpkZW1v", false, ListingResult::Rejected,
         u"Communications Failure: Unable to connect to remote host."},
        {"no contact folder", {.fault = "no-folder"}, u"Basic ZGVtbzpkZW1v", false, ListingResult::ProgramEnded, fatal},
        {"a server error", {.fault = "server-error"}, u"Basic ZGVtbzpkZW1v", false,
         ListingResult::ProgramEnded, fatal},
        {"a plain web server", {.fault = "not-webdav"}, u"Basic ZGVtbzpkZW1v", false, ListingResult::ProgramEnded, fatal},
        {"unreachable port", {}, u"Basic ZGVtbzpkZW1v", true, ListingResult::ProgramEnded, fatal},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServer server(row.options);
        if (row.stop) server.stop();
        ScreenRecorder screen;
        EXPECT_EQ(ContactClient(screen, loginFor(server, row.auth)).ListContacts(), row.result);
        EXPECT_EQ(screen.messages, (std::vector<Message>{{row.message, MessageStyle::Plain, u""}}));
        EXPECT_EQ(screen.ends, row.result == ListingResult::ProgramEnded ? 1 : 0);
        EXPECT_TRUE(screen.lines.empty());
    }
}

TEST(EndToEnd, DoubleClickShowsTheContactOrWhatWentWrong) {
    HttpMailServer server(seeded());
    struct Row { const char* why; std::u16string line; bool stop; std::u16string shown; };
    const std::u16string a12 = codepage::fromWindows1252(bytesOf(server.folder() / "A12.vcf"));
    const Row rows[] = {
        {"a listed contact shows whole", u"Chris Adams [A12.vcf]", false, a12},
        {"a contact the server no longer has", u"x [gone.vcf]", false, u"Error:404"},
        {"a server that went away", u"Chris Adams [A12.vcf]", true, u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        if (row.stop) server.stop();
        ScreenRecorder screen;
        screen.selected = row.line;
        ContactClient(screen, loginFor(server)).List1_DblClick();
        EXPECT_EQ(screen.messages, (std::vector<Message>{{row.shown, MessageStyle::Plain, u""}}));
    }
}

TEST(EndToEnd, DroppedFilesArriveByteForByte) {
    HttpMailServer server;
    const auto dir = server.folder().parent_path() / "drop";
    std::filesystem::create_directory(dir);
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string files[] = {
        "BEGIN:VCARD\r\nFN:Zo\xC3\xAB\r\nEND:VCARD\r\n",  // UTF-8 goes up as its bytes
        "BEGIN:VCARD\nFN:J\xFCrgen\x81\x8D\x8F\x90\x9D\nEND:VCARD\n",
        all + "VCARD" + all,
    };
    std::vector<DropItem> items;
    for (std::size_t i = 0; i < std::size(files); ++i) {
        const auto path = dir / ("c" + std::to_string(i) + ".vcf");
        std::ofstream(path, std::ios::binary) << files[i];
        items.push_back({path, std::nullopt});
    }
    items.push_back({dir, std::nullopt});                              // a folder
    items.push_back({{}, std::string("BEGIN:VCARD\r\nFN:Payload\r\nEND:VCARD\r\n")});  // address-book data
    ScreenRecorder screen;
    ContactClient(screen, loginFor(server)).Form_OLEDragDrop(items);
    const auto stored = uploads(server);
    ASSERT_EQ(stored.size(), 4u);
    for (std::size_t i = 0; i < std::size(files); ++i) EXPECT_EQ(bytesOf(stored[i]), files[i]) << i;
    EXPECT_EQ(bytesOf(stored[3]), *items.back().payload);
    EXPECT_EQ(screen.messages.size(), 2u);  // the notice and the folder's rejection
    EXPECT_EQ(screen.messages[0].prompt, u"Abount to Post 5 Contacts to Server");
    EXPECT_EQ(screen.lines.size(), 4u);
    EXPECT_EQ(screen.clears, 1);
}

TEST(EndToEnd, PostContactFailuresAreSilent) {
    struct Row { const char* why; HttpMailServerOptions options; std::u16string auth; bool stop; };
    const Row rows[] = {
        {"401", {}, u"Basic d3Jvbmc6d3Jvbmc=", false},
        {"500", {.fault = "server-error"}, u"Basic ZGVtbzpkZW1v", false},
        {"server gone", {}, u"Basic ZGVtbzpkZW1v", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServer server(row.options);
        if (row.stop) server.stop();
        ScreenRecorder screen;
        ContactClient(screen, loginFor(server, row.auth)).PostContact(u"BEGIN:VCARD\r\nEND:VCARD\r\n");
        EXPECT_TRUE(screen.messages.empty());
        EXPECT_TRUE(uploads(server).empty());
    }
}
