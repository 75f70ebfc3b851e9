// The contact client with the real HttpRequest against tools/httpmail-server on loopback.

#include "codec/CodePage.h"
#include "contacts/ContactClient.h"
#include "tests/support/Files.h"
#include "tests/support/HttpMailServer.h"
#include "tests/support/ScreenRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

LoginState loginFor(const HttpMailServer& server, const std::u16string& authorization = u"Basic ZGVtbzpkZW1v") {
    return {u"127.0.0.1", server.port(), authorization};
}

std::vector<std::filesystem::path> uploads(const HttpMailServer& server) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(server.folder())) {
        if (entry.path().filename().string().rfind("upload-", 0) == 0) {
            found.push_back(entry.path());
        }
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

TEST(EndToEnd, ListsEverySampleByItsNameSkippingTheFolderItself) {
    HttpMailServer server(seeded());
    ScreenRecorder screen;
    EXPECT_EQ(ContactClient(screen, loginFor(server)).ListContacts(), ListingResult::Listed);
    struct Row {
        const char* why;
        std::u16string line;
    };
    const Row rows[] = {
        {"brackets become parentheses", u"Jane (Work) Doe [A01.vcf]"},
        {"plain", u"John Smith [A02.vcf]"},
        {"Windows-1252 bytes", u"J\u00fcrgen M\u00fcller [A03.vcf]"},
        {"Windows-1252 and brackets", u"Zo\u00eb Lef\u00e8vre (Paris) [A04.vcf]"},
        {"bare LF line ends", u"An Nguyen [A05.vcf]"},
        {"no FN, empty N: the organisation", u"Velqor Support [A06.vcf]"},
        {"Windows-1252 accent", u"Siobh\u00e1n O'Brien [A07.vcf]"},
        {"accent and brackets", u"Jos\u00e9 Garc\u00eda (Home) [A08.vcf]"},
        {"plain", u"Anna Kowalski [A09.vcf]"},
        {"plain", u"Hiro Tanaka [A10.vcf]"},
        {"two bracket pairs", u"Ola Berg (Board) (Chair) [A11.vcf]"},
        {"plain", u"Chris Adams [A12.vcf]"},
        {"UTF-8 vCard 4.0 beyond Windows-1252", u"\u0141ukasz \u017b\u00f3\u0142kiewski [A13.vcf]"},
        {"UTF-8 with a group prefix", u"Ren\u00e9e Fa\u00dfbender [A14.vcf]"},
        {"2.1 quoted-printable with a soft line break", u"Ana\u00efs Fran\u00e7ois-Dupont [A15.vcf]"},
        {"a folded name", u"Maximilian Alexander Freiherr von Hohenberg-Schwarzenfels und Lichtenstein [A16.vcf]"},
        {"an escaped comma", u"Robert Smith, Jr. [A17.vcf]"},
        {"no FN: N, prefix first", u"Dr. Chinedu Emeka Okafor [A18.vcf]"},
        {"an export names its first card", u"Ingrid Svensson [A19.vcf]"},
        {"lower-case markers and names", u"Greta Lindqvist [A20.vcf]"},
    };
    ASSERT_EQ(screen.lines.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].why);
        EXPECT_EQ(screen.lines[i], rows[i].line);
    }
    ASSERT_EQ(screen.captions.size(), 21u);
    EXPECT_EQ(screen.captions[0], u"Retreiving Contact from Server 1 of 20") << "the folder is not counted";
    EXPECT_EQ(screen.captions[20], u"Velqor Personal Contacts Manager");
    // Several GETs run at once, so the server may take them in another order; each comes once.
    auto gets = server.requests("GET");
    std::sort(gets.begin(), gets.end());
    ASSERT_EQ(gets.size(), 20u);
    EXPECT_EQ(gets[0], "/vqhttpmail/2/3/4/Contacts/A01.vcf 200") << "no GET for the folder";
    EXPECT_EQ(gets[19], "/vqhttpmail/2/3/4/Contacts/A20.vcf 200");
    EXPECT_EQ(server.requests("PROPFIND"), (std::vector<std::string>{"/vqhttpmail/2/3/4/Contacts 207"}));
}

TEST(EndToEnd, FailedListingsShowTheirMessage) {
    struct Row {
        const char* why;
        HttpMailServerOptions options;
        std::u16string auth;
        bool stop;
        ListingResult result;
        std::u16string message;
    };
    const std::u16string fatal =
        u"Server does not seem to support remote contact administration or does not have any "
        u"contact defined. You may have also specified an invalid password.";
    const Row rows[] = {
        {"wrong password",
         {},
         u"Basic ZGVtbzp3cm9uZw==",
         false,
         ListingResult::Rejected,
         u"Authentication Error: Please check credentials."},
        {"403",
         {.fault = "forbidden"},
         u"Basic ZGVtbzpkZW1v",
         false,
         ListingResult::Rejected,
         u"Communications Failure: Unable to connect to remote host."},
        {"no contact folder", {.fault = "no-folder"}, u"Basic ZGVtbzpkZW1v", false, ListingResult::ProgramEnded, fatal},
        {"a server error", {.fault = "server-error"}, u"Basic ZGVtbzpkZW1v", false, ListingResult::ProgramEnded, fatal},
        {"a plain web server",
         {.fault = "not-webdav"},
         u"Basic ZGVtbzpkZW1v",
         false,
         ListingResult::ProgramEnded,
         fatal},
        {"unreachable port", {}, u"Basic ZGVtbzpkZW1v", true, ListingResult::ProgramEnded, fatal},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServer server(row.options);
        if (row.stop) {
            server.stop();
        }
        ScreenRecorder screen;
        EXPECT_EQ(ContactClient(screen, loginFor(server, row.auth)).ListContacts(), row.result);
        EXPECT_EQ(screen.messages, (std::vector<Message>{{row.message, MessageStyle::Plain, u""}}));
        EXPECT_TRUE(screen.lines.empty());
    }
}

TEST(EndToEnd, DoubleClickShowsTheContactOrWhatWentWrong) {
    HttpMailServer server(seeded());
    struct Row {
        const char* why;
        std::u16string line;
        bool stop;
        std::u16string shown;
    };
    const std::u16string a03 = codepage::fromWindows1252(fileBytes(server.folder() / "A03.vcf"));
    const Row rows[] = {
        {"a Windows-1252 contact shows whole", u"J\u00fcrgen M\u00fcller [A03.vcf]", false, a03},
        {"a UTF-8 contact shows as UTF-8", u"x [A13.vcf]", false,
         u"BEGIN:VCARD\r\nVERSION:4.0\r\nN:\u017b\u00f3\u0142kiewski;\u0141ukasz;;;\r\n"
         u"FN:\u0141ukasz \u017b\u00f3\u0142kiewski\r\nEMAIL:lukasz@example.pl\r\nEND:VCARD\r\n"},
        {"a contact the server no longer has", u"x [gone.vcf]", false, u"Error:404"},
        {"a server that went away", u"Chris Adams [A12.vcf]", true, u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        if (row.stop) {
            server.stop();
        }
        ScreenRecorder screen;
        screen.selected = row.line;
        ContactClient(screen, loginFor(server)).List1_DblClick();
        EXPECT_EQ(screen.messages, (std::vector<Message>{{row.shown, MessageStyle::Details, u""}}));
    }
}

TEST(EndToEnd, DroppedFilesArriveByteForByte) {
    HttpMailServer server;
    const auto dir = server.folder().parent_path() / "drop";
    std::filesystem::create_directory(dir);
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
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
    items.push_back({dir, std::nullopt});                                              // a folder
    items.push_back({{}, std::string("BEGIN:VCARD\r\nFN:Payload\r\nEND:VCARD\r\n")});  // address-book data
    ScreenRecorder screen;
    ContactClient(screen, loginFor(server)).Form_OLEDragDrop(items);
    const auto stored = uploads(server);
    ASSERT_EQ(stored.size(), 4u);
    for (std::size_t i = 0; i < std::size(files); ++i) {
        EXPECT_EQ(fileBytes(stored[i]), files[i]) << i;
    }
    EXPECT_EQ(fileBytes(stored[3]), *items.back().payload);
    EXPECT_EQ(screen.messages.size(), 2u);  // the notice and the folder's rejection
    EXPECT_EQ(screen.messages[0].prompt, u"Abount to Post 5 Contacts to Server");
    EXPECT_EQ(screen.lines.size(), 4u);
    EXPECT_EQ(screen.clears, 1);
}

TEST(EndToEnd, ListsInFullAndInOrderWhenTheServerTakesOneConnectionAtATime) {
    std::vector<std::u16string> expected;
    {
        HttpMailServer server(seeded());
        ScreenRecorder screen;
        ContactClient(screen, loginFor(server)).ListContacts();
        expected = screen.lines;
    }
    ASSERT_EQ(expected.size(), 20u);
    struct Row {
        const char* why;
        const char* fault;
    };
    const Row rows[] = {
        {"the others are answered 503 while one is served", "one-at-a-time"},
        {"the others are hung up on while one is served", "one-at-a-time-hang-up"},
        {"the first contact answers last", "late-first-contact"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServerOptions options = seeded();
        options.fault = row.fault;
        HttpMailServer server(options);
        ScreenRecorder screen;
        EXPECT_EQ(ContactClient(screen, loginFor(server)).ListContacts(), ListingResult::Listed);
        EXPECT_EQ(screen.lines, expected);
        EXPECT_TRUE(screen.messages.empty());
        std::vector<std::string> served = server.requests("GET");
        std::erase_if(served, [](const std::string& get) { return !get.ends_with(" 200"); });
        EXPECT_EQ(served.size(), 20u) << "each contact is in the end served whole once";
    }
}
