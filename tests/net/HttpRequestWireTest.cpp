// What HttpRequest puts on the wire, byte for byte, as a loopback server receives it.

#include "net/modWININET.h"
#include "tests/net/WireText.h"
#include "tests/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

using nettest::LoopbackServer;
using nettest::Script;
using nettest::widen;
using nettest::withPort;

namespace {

const nettest::Script kOk{true, "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok"};

// The single request a call made, as the server got it.
std::string sentRequest(const std::u16string& verb, const std::u16string& target, const std::u16string& body,
                        const std::u16string& headers) {
    LoopbackServer server(kOk);
    EXPECT_EQ(modWININET::HttpRequest(u"127.0.0.1", server.port(), verb, target, body, headers), u"ok");
    server.stop();
    const auto requests = server.requests();
    return requests.size() == 1 ? requests.front() : "<" + std::to_string(requests.size()) + " requests>";
}

}  // namespace

TEST(HttpRequestWire, SendsExactlyTheRoutinesLinesAroundTheCallers) {
    const std::u16string auth = u"Authorization: Basic ZGVtbzpkZW1v\r\n";
    struct Row {
        const char* why;
        std::u16string verb, target, body, headers;
        std::string wire;
    };
    const Row rows[] = {
        {"a GET carries no body and no Content-Length", u"GET", u"vqhttpmail/2/3/4/Contacts/a.vcf", u"", auth,
         "GET /vqhttpmail/2/3/4/Contacts/a.vcf HTTP/1.0\r\nHost: 127.0.0.1:{port}\r\n"
         "User-Agent: http generic\r\nAuthorization: Basic ZGVtbzpkZW1v\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\n\r\n"},
        {"no caller lines still sends Content-Type", u"GET", u"/", u"", u"",
         "GET / HTTP/1.0\r\nHost: 127.0.0.1:{port}\r\nUser-Agent: http generic\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\n\r\n"},
        {"PROPFIND sends its XML body after Content-Length", u"PROPFIND", u"vqhttpmail/2/3/4/Contacts",
         u"<?xml version=\"1.0\"?><D:propfind xmlns:D=\"DAV:\"/>", auth,
         "PROPFIND /vqhttpmail/2/3/4/Contacts HTTP/1.0\r\nHost: 127.0.0.1:{port}\r\n"
         "User-Agent: http generic\r\nAuthorization: Basic ZGVtbzpkZW1v\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 49\r\n\r\n"
         "<?xml version=\"1.0\"?><D:propfind xmlns:D=\"DAV:\"/>"},
        {"POST of a vCard", u"POST", u"vqhttpmail/2/3/4/Contacts", u"BEGIN:VCARD\r\nFN:Ann\r\nEND:VCARD\r\n", auth,
         "POST /vqhttpmail/2/3/4/Contacts HTTP/1.0\r\nHost: 127.0.0.1:{port}\r\n"
         "User-Agent: http generic\r\nAuthorization: Basic ZGVtbzpkZW1v\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 32\r\n\r\n"
         "BEGIN:VCARD\r\nFN:Ann\r\nEND:VCARD\r\n"},
        {"POST with an empty body announces zero bytes", u"POST", u"x", u"", u"",
         "POST /x HTTP/1.0\r\nHost: 127.0.0.1:{port}\r\nUser-Agent: http generic\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 0\r\n\r\n"},
        {"caller lines keep their order, and a last line without CR LF counts", u"GET", u"x", u"",
         u"X-One: 1\r\nX-Two: 2",
         "GET /x HTTP/1.0\r\nHost: 127.0.0.1:{port}\r\nUser-Agent: http generic\r\nX-One: 1\r\nX-Two: 2\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\n\r\n"},
        {"the routine's Content-Type and User-Agent replace the caller's", u"POST", u"x", u"b",
         u"content-type: text/xml\r\nUser-Agent: other\r\nContent-Length: 99\r\nX-Keep: yes\r\n",
         "POST /x HTTP/1.0\r\nHost: 127.0.0.1:{port}\r\nUser-Agent: http generic\r\nX-Keep: yes\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 1\r\n\r\nb"},
        {"a caller line with an empty value still goes out; blank lines do not", u"GET", u"x", u"",
         u"\r\nX-Empty:\r\n\r\n",
         "GET /x HTTP/1.0\r\nHost: 127.0.0.1:{port}\r\nUser-Agent: http generic\r\nX-Empty:\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\n\r\n"},
        {"a bare LF cannot hide a second line inside one caller line", u"GET", u"x", u"", u"X-A: 1\nX-B: 2\r\n",
         "GET /x HTTP/1.0\r\nHost: 127.0.0.1:{port}\r\nUser-Agent: http generic\r\nX-A: 1\r\nX-B: 2\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\n\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        LoopbackServer server(kOk);
        EXPECT_EQ(modWININET::HttpRequest(u"127.0.0.1", server.port(), row.verb, row.target, row.body, row.headers),
                  u"ok");
        server.stop();
        ASSERT_EQ(server.requests().size(), 1u);
        EXPECT_EQ(server.requests().front(), withPort(row.wire, server.port()));
    }
}

TEST(HttpRequestWire, BodyGoesOutAsItsWindows1252BytesNulIncluded) {
    const std::u16string body{u'a', u'\0', u'\u00E9', u'\u20AC', u'\u0081', u'\u4E2D', u'z'};
    const std::string request = sentRequest(u"POST", u"x", body, u"");
    const std::string bytes{'a', '\0', '\xE9', '\x80', '\x81', '?', 'z'};
    ASSERT_GE(request.size(), bytes.size());
    EXPECT_EQ(request.substr(request.size() - bytes.size()), bytes);
    EXPECT_NE(request.find("Content-Length: 7\r\n"), std::string::npos);
}

TEST(HttpRequestWire, TargetCannotChangeTheRequestLine) {
    struct Row {
        const char* why;
        std::u16string target;
        std::string onLine;
    };
    const Row rows[] = {
        {"the contact path gets its leading slash", u"vqhttpmail/2/3/4/Contacts", "/vqhttpmail/2/3/4/Contacts"},
        {"an empty target is the root", u"", "/"},
        {"a leading slash is not doubled", u"/a", "/a"},
        {"a blank is encoded", u"a b.vcf", "/a%20b.vcf"},
        {"CR LF cannot start a header line", u"a\r\nX-Evil: 1", "/a%0D%0AX-Evil:%201"},
        {"a tab and DEL are encoded", u"a\tb\x7F", "/a%09b%7F"},
        {"a NUL is encoded", std::u16string(u"a\0b", 3), "/a%00b"},
        {"# would cut the target", u"a#b", "/a%23b"},
        {"Latin-1 goes out as its Windows-1252 byte", u"caf\u00E9.vcf", "/caf%E9.vcf"},
        {"the euro sign is byte 0x80", u"\u20AC", "/%80"},
        {"an undefined byte keeps its value", u"\u0081", "/%81"},
        {"a lost character does not open a query", u"\u4E2D.vcf", "/%3F.vcf"},
        {"percent signs stay, already-encoded text is not encoded twice", u"a%20b%", "/a%20b%"},
        {"a real question mark stays a query", u"a?b=1", "/a?b=1"},
        {"dot segments are not rewritten", u"a/../b/./c", "/a/../b/./c"},
        {"a double slash stays", u"//x//y", "//x//y"},
        {"other printable ASCII stays", u"a\\b{}|^`\"<>;@!$&'()*+,=~", "/a\\b{}|^`\"<>;@!$&'()*+,=~"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const std::string request = sentRequest(u"GET", row.target, u"", u"");
        EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET " + row.onLine + " HTTP/1.0");
    }
}

TEST(HttpRequestWire, VerbThatIsNoTokenSendsNothing) {
    struct Row {
        const char* why;
        std::u16string verb;
    };
    const Row rows[] = {
        {"empty", u""},
        {"a blank would add a target", u"GET /other"},
        {"CR LF would add a line", u"GET\r\nX: 1"},
        {"a character outside ASCII", u"G\u00C9T"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        LoopbackServer server(kOk);
        EXPECT_EQ(modWININET::HttpRequest(u"127.0.0.1", server.port(), row.verb, u"x", u"", u""), u"");
        server.stop();
        EXPECT_EQ(server.connections(), 0u);
    }
}

TEST(HttpRequestWire, HonoursTheProxyOfTheEnvironment) {
    LoopbackServer proxy(Script{true, "HTTP/1.0 200 OK\r\n\r\nvia proxy"});
    const std::string proxyUrl = "http://127.0.0.1:" + std::to_string(proxy.port());
    setenv("http_proxy", proxyUrl.c_str(), 1);
    unsetenv("no_proxy");
    // Port 9 has no server: only the proxy can answer.
    const std::u16string result = modWININET::HttpRequest(u"127.0.0.1", 9, u"GET", u"x", u"", u"");
    setenv("no_proxy", "*", 1);
    unsetenv("http_proxy");
    EXPECT_EQ(result, u"via proxy");
    proxy.stop();
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(proxy.requests().front(),
              "GET http://127.0.0.1:9/x HTTP/1.0\r\nHost: 127.0.0.1:9\r\nUser-Agent: http generic\r\n"
              "Content-Type: application/x-www-form-urlencoded\r\n\r\n");
}

TEST(HttpRequestWire, HeadReadsNoBody) {
    // The announced body never comes: reading it would wait for the idle limit.
    LoopbackServer server(Script{true, "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\n", 0, nettest::Ending::Hold});
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(modWININET::HttpRequest(u"127.0.0.1", server.port(), u"HEAD", u"x", u"", u""), u"");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    server.stop();
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests().front().substr(0, 19), "HEAD /x HTTP/1.0\r\nH");
    EXPECT_EQ(server.requests().front().find("Content-Length"), std::string::npos);
}
