// ListContacts, List1_DblClick and the folder's POST against a recording HttpFunction.

#include "codec/CodePage.h"
#include "contacts/ContactClient.h"
#include "tests/support/ScreenRecorder.h"

#include <gtest/gtest.h>
#include <algorithm>

namespace {

const LoginState login{u"127.0.0.1", 8080, u"Basic ZGVtbzpkZW1v"};
const std::u16string authHeader = u"Authorization: Basic ZGVtbzpkZW1v\r\n";
const std::u16string noFolder =
    u"Server does not seem to support remote contact administration or does not have any contact "
    u"defined. You may have also specified an invalid password.";

std::u16string multistatus(const std::u16string& responses) {
    return u"<?xml version=\"1.0\"?><D:multistatus xmlns:D=\"DAV:\">" + responses + u"</D:multistatus>";
}
std::u16string response(const std::u16string& href) {
    return u"<D:response><D:href>" + href + u"</D:href></D:response>";
}

}  // namespace

TEST(ListContacts, SendsOnePropfindWithTheFixedBodyAndHeader) {
    ScreenRecorder screen;
    HttpRecorder http;
    inBandClient(screen, login, http.function()).ListContacts();
    ASSERT_EQ(http.requests.size(), 1u);
    const Request& sent = http.requests[0];
    EXPECT_EQ(sent.verb, u"PROPFIND");
    EXPECT_EQ(sent.target, u"vqhttpmail/2/3/4/Contacts");
    EXPECT_EQ(sent.headers, authHeader);
    EXPECT_EQ(sent.body.size(), 286u);
    EXPECT_EQ(sent.body.substr(0, 23), u"<?xml version=\"1.0\"?>\r\n");
    EXPECT_EQ(sent.body.substr(sent.body.size() - 13), u"</D:propfind>");
    EXPECT_NE(sent.body.find(u"\r\n\t\t<D:getcontentlength/>\r\n\t</D:prop>\r\n"), std::u16string::npos);
}

TEST(ListContacts, ClassifiesTheAnswerInOrder) {
    struct Row {
        const char* why;
        std::u16string answer;
        ListingResult result;
        std::u16string message;
    };
    const Row rows[] = {
        {"401 asks for the login again", u"Error:401", ListingResult::Rejected,
         u"Authentication Error: Please check credentials."},
        {"403 asks for the login again", u"Error:403", ListingResult::Rejected,
         u"Communications Failure: Unable to connect to remote host."},
        {"404 is fatal", u"Error:404", ListingResult::ProgramEnded, noFolder},
        {"500 is fatal", u"Error:500", ListingResult::ProgramEnded, noFolder},
        {"no answer is fatal", u"", ListingResult::ProgramEnded, noFolder},
        {"an answer without D:response is fatal", u"<multistatus/>", ListingResult::ProgramEnded, noFolder},
        {"D:response in lower case is not it", u"<d:response/>", ListingResult::ProgramEnded, noFolder},
        {"Error:401 with more text is no 401", u"Error:4010", ListingResult::ProgramEnded, noFolder},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ScreenRecorder screen;
        HttpRecorder http;
        http.reply = [&](const Request&) {
            return row.answer;
        };
        EXPECT_EQ(inBandClient(screen, login, http.function()).ListContacts(), row.result);
        EXPECT_EQ(screen.messages, (std::vector<Message>{{row.message, MessageStyle::Plain, u""}}));
        EXPECT_TRUE(screen.captions.empty());
        EXPECT_TRUE(screen.lines.empty());
        EXPECT_EQ(http.requests.size(), 1u);
    }
}

TEST(ListContacts, ReadsHrefsByQualifiedNameAndFetchesEachInOrder) {
    struct Row {
        const char* why;
        std::u16string answer;
        std::vector<std::u16string> gets;
    };
    const std::u16string c = u"vqhttpmail/2/3/4/Contacts/";
    const Row rows[] = {
        {"three paths in document order",
         multistatus(response(u"/vqhttpmail/2/3/4/Contacts/a.vcf") + response(u"/x/b.vcf") + response(u"c.vcf")),
         {c + u"a.vcf", c + u"b.vcf", c + u"c.vcf"}},
        {"an absolute URL gives only its last segment",
         multistatus(response(u"http://elsewhere.example:81/other/A12.vcf")),
         {c + u"A12.vcf"}},
        {"an href ending in / names a folder: no GET",
         multistatus(response(u"/vqhttpmail/2/3/4/Contacts/") + response(u"/p/b.vcf") + response(u"/p/sub/")),
         {c + u"b.vcf"}},
        {"the segment is taken unchanged, escapes and all",
         multistatus(response(u"/p/J%20D%5B1%5D.vcf")),
         {c + u"J%20D%5B1%5D.vcf"}},
        {"an empty href is skipped", multistatus(response(u"") + response(u"/p/b.vcf")), {c + u"b.vcf"}},
        {"another prefix selects nothing",
         u"<a:multistatus xmlns:a=\"DAV:\"><a:response><a:href>/p/x.vcf</a:href></a:response></a:multistatus>"
         u"<!-- D:response -->",
         {}},
        {"no prefix selects nothing",
         u"<multistatus xmlns=\"DAV:\"><response><href>/p/x.vcf</href></response></multistatus><!--D:response-->",
         {}},
        {"a broken answer selects nothing, not even what came before the fault",
         u"<D:multistatus><D:response><D:href>/p/x.vcf</D:href></D:response><D:response>",
         {}},
        {"an href outside a response is not selected",
         u"<D:multistatus><D:href>/p/x.vcf</D:href><D:response/></D:multistatus>",
         {}},
        {"an entity is not expanded from a DTD",
         u"<!DOCTYPE D:multistatus [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
         u"<D:multistatus><D:response><D:href>/p/&e;</D:href></D:response></D:multistatus>",
         {c + u"&e;"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ScreenRecorder screen;
        HttpRecorder http;
        http.reply = [&](const Request& r) {
            return r.verb == u"PROPFIND" ? row.answer : u"BEGIN:VCARD\r\nFN:x\r\nEND:VCARD\r\n";
        };
        EXPECT_EQ(inBandClient(screen, login, http.function()).ListContacts(), ListingResult::Listed);
        std::vector<std::u16string> gets;
        for (const Request& r : http.requests) {
            if (r.verb == u"GET") {
                gets.push_back(r.target);
                EXPECT_EQ(r.headers, authHeader);
                EXPECT_TRUE(r.body.empty());
            }
        }
        // The GETs run side by side, so they may go out in any order; the lines may not.
        std::vector<std::u16string> lines;
        for (const std::u16string& get : row.gets) {
            lines.push_back(u"x [" + get.substr(get.rfind(u'/') + 1) + u"]");
        }
        EXPECT_EQ(screen.lines, lines);
        std::sort(gets.begin(), gets.end());
        EXPECT_EQ(gets, row.gets);
        EXPECT_EQ(screen.captions.back(), u"Velqor Personal Contacts Manager");
        EXPECT_TRUE(screen.messages.empty());
        EXPECT_EQ(screen.shows, 1);
    }
}

TEST(ListContacts, BuildsDisplayLinesAndProgressCaptions) {
    struct Row {
        const char* why;
        std::u16string vcard;
        std::u16string line;
    };
    const Row rows[] = {
        {"brackets of the name become parentheses", u"BEGIN:VCARD\r\nFN:Jane [Work] Doe\r\nEND:VCARD\r\n",
         u"Jane (Work) Doe [A12.vcf]"},
        {"lower-case fn is a name", u"begin:vcard\r\nfn:Jane\r\nend:vcard\r\n", u"Jane [A12.vcf]"},
        {"bare LF line ends", u"BEGIN:VCARD\nFN:Jane\nEND:VCARD\n", u"Jane [A12.vcf]"},
        {"a failed GET gives no name", u"Error:404", u" [A12.vcf]"},
        {"FN with parameters", u"BEGIN:VCARD\r\nFN;CHARSET=x:Jane\r\nEND:VCARD\r\n", u"Jane [A12.vcf]"},
        {"UTF-8 bytes as the server sent them", u"BEGIN:VCARD\r\nFN:Zo\u00c3\u00ab\r\nEND:VCARD\r\n",
         u"Zo\u00eb [A12.vcf]"},
        {"brackets from N become parentheses too", u"BEGIN:VCARD\r\nN:Doe;Jane [Work];;;\r\nEND:VCARD\r\n",
         u"Jane (Work) Doe [A12.vcf]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ScreenRecorder screen;
        HttpRecorder http;
        http.reply = [&](const Request& r) {
            return r.verb == u"PROPFIND" ? multistatus(response(u"/p/A12.vcf") + response(u"/p/A12.vcf")) : row.vcard;
        };
        inBandClient(screen, login, http.function()).ListContacts();
        EXPECT_EQ(screen.lines, (std::vector<std::u16string>{row.line, row.line}));
        EXPECT_EQ(screen.captions, (std::vector<std::u16string>{u"Retreiving Contact from Server 1 of 2",
                                                                u"Retreiving Contact from Server 2 of 2",
                                                                u"Velqor Personal Contacts Manager"}));
    }
}

TEST(List1DblClick, FetchesTheFileNameOfTheLineAndShowsTheAnswerAsUtf8ElseUnchanged) {
    struct Row {
        const char* why;
        std::u16string line;
        std::u16string answer;
        std::u16string target;
        std::u16string shown;
    };
    const std::u16string c = u"vqhttpmail/2/3/4/Contacts/";
    const Row rows[] = {
        {"a named contact", u"Jane (Work) Doe [A12.vcf]", u"BEGIN:VCARD\r\nFN:Jane\r\n", c + u"A12.vcf",
         u"BEGIN:VCARD\r\nFN:Jane\r\n"},
        {"a contact without a name", u" [A12.vcf]", u"x", c + u"A12.vcf", u"x"},
        {"an error status shows as its text", u"a [gone.vcf]", u"Error:404", c + u"gone.vcf", u"Error:404"},
        {"an unreachable server shows empty text", u"a [b.vcf]", u"", c + u"b.vcf", u""},
        {"nothing selected asks for the folder with a slash", u"", u"y", c, u"y"},
        {"a ] in the file name cuts it", u"Name [a]b.vcf]", u"z", c + u"a", u"z"},
        {"UTF-8 bytes show as UTF-8", u"a [u.vcf]", u"FN:J\u00c3\u00bcrgen", c + u"u.vcf", u"FN:J\u00fcrgen"},
        {"one byte that is no UTF-8 keeps Windows-1252", u"a [w.vcf]", u"FN:J\u00fcrgen \u00c3\u00bc", c + u"w.vcf",
         u"FN:J\u00fcrgen \u00c3\u00bc"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ScreenRecorder screen;
        screen.selected = row.line;
        HttpRecorder http;
        http.reply = [&](const Request&) {
            return row.answer;
        };
        inBandClient(screen, login, http.function()).List1_DblClick();
        ASSERT_EQ(http.requests.size(), 1u);
        EXPECT_EQ(http.requests[0].verb, u"GET");
        EXPECT_EQ(http.requests[0].target, row.target);
        EXPECT_EQ(http.requests[0].headers, authHeader);
        EXPECT_EQ(screen.messages, (std::vector<Message>{{row.shown, MessageStyle::Details, u""}}));
    }
}

TEST(ContactFolderPost, SendsOnePostOfTheBytesAndNeverTriesAgain) {
    struct Row {
        const char* why;
        std::string data;
        std::u16string answer;
    };
    const Row rows[] = {
        {"a vCard goes up byte for byte", "BEGIN:VCARD\r\nFN:\xE9\x81\r\nEND:VCARD\r\n", u"Created"},
        {"an empty body still posts", "", u"Created"},
        {"a 500 is not tried again", "VCARD", u"Error:500"},
        {"a 503 is not tried again either", "VCARD", u"Error:503"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpRecorder http;
        http.reply = [&](const Request&) {
            return row.answer;
        };
        ContactFolder(login, typedExchange(http.function())).post(row.data);
        ASSERT_EQ(http.requests.size(), 1u);
        EXPECT_EQ(http.requests[0].verb, u"POST");
        EXPECT_EQ(http.requests[0].target, u"vqhttpmail/2/3/4/Contacts");
        EXPECT_EQ(http.requests[0].body, codepage::fromWindows1252(row.data));
        EXPECT_EQ(http.requests[0].headers, authHeader);
    }
}

TEST(ListContacts, ARefusedSecureConnectionAsksForTheLoginAgainWithItsReason) {
    using modWININET::Failure;
    struct Row {
        const char* why;
        Failure failure;
        std::string reason;
        std::optional<std::string> fingerprint;
        std::u16string message;
    };
    const std::u16string start = u"The secure connection to mail.example.org on port 443 was refused: ";
    const Row rows[] = {
        {"a certificate names its fingerprint", Failure::Certificate, "expired on 2025-01-31", "AB:CD:EF",
         start + u"expired on 2025-01-31.\n\nThe server's certificate has the SHA-256 fingerprint\nAB:CD:EF"},
        {"a failed handshake has no certificate to show", Failure::TlsHandshake, "the handshake failed", std::nullopt,
         start + u"the handshake failed."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ScreenRecorder screen;
        int calls = 0;
        const HttpExchange refused = [&](const modWININET::HttpCall&) {
            ++calls;
            modWININET::HttpResult result;
            result.failure = row.failure;
            result.reason = row.reason;
            if (row.fingerprint) {
                result.certificate = modWININET::PeerCertificate{*row.fingerprint, {"mail.example.org"}, "2025-01-31"};
            }
            return result;
        };
        const LoginState secure{u"mail.example.org", 443, u"Basic ZGVtbzpkZW1v"};
        EXPECT_EQ(ContactClient(screen, secure, refused).ListContacts(), ListingResult::Rejected);
        EXPECT_EQ(screen.messages,
                  (std::vector<Message>{{row.message, MessageStyle::Information, u"Velqor Personal Contact Manager"}}));
        EXPECT_TRUE(screen.lines.empty());
        EXPECT_EQ(calls, 1);
    }
}
