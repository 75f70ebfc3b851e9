// The three forms of HttpRequest's answer: the body, "Error:" and the status, or nothing.

#include "net/modWININET.h"
#include "tests/net/WireText.h"
#include "tests/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <unistd.h>

using nettest::LoopbackServer;
using nettest::Script;
using nettest::widen;

namespace {

std::u16string inBandGet(const LoopbackServer& server) {
    return modWININET::HttpRequest(u"127.0.0.1", server.port(), u"GET", u"x", u"", u"");
}

// A port on loopback where nothing listens: taken once, then released.
std::uint16_t closedPort() {
    const nettest::LoopbackListener listener = nettest::listenOnLoopback();
    close(listener.fd);
    return listener.port;
}

}  // namespace

TEST(HttpRequestResult, StatusDecidesBetweenBodyAndError) {
    struct Row {
        const char* why;
        std::string reply;
        std::u16string result;
    };
    const Row rows[] = {
        {"200 gives the body", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello", u"hello"},
        {"201 is a success", "HTTP/1.0 201 Created\r\nContent-Length: 4\r\n\r\ndone", u"done"},
        {"207 multistatus is a success", "HTTP/1.1 207 Multi-Status\r\n\r\n<D:multistatus/>", u"<D:multistatus/>"},
        {"200 with an empty body is empty", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", u""},
        {"299 is still a success", "HTTP/1.0 299 Odd\r\n\r\nx", u"x"},
        {"300 is the first failure", "HTTP/1.0 300 Multiple\r\n\r\nbody", u"Error:300"},
        {"301 is not followed", "HTTP/1.0 301 Moved\r\nLocation: /y\r\n\r\nbody", u"Error:301"},
        {"302 is not followed", "HTTP/1.0 302 Found\r\nLocation: http://127.0.0.1:1/\r\n\r\n", u"Error:302"},
        {"401 drops its body", "HTTP/1.0 401 Unauthorized\r\nContent-Length: 6\r\n\r\ndenied", u"Error:401"},
        {"403", "HTTP/1.0 403 Forbidden\r\n\r\nno", u"Error:403"},
        {"404", "HTTP/1.0 404 Not Found\r\n\r\n", u"Error:404"},
        {"500", "HTTP/1.0 500 Internal Server Error\r\n\r\noops", u"Error:500"},
        {"a reason phrase is not needed", "HTTP/1.0 404\r\n\r\n", u"Error:404"},
        {"the body is Windows-1252", "HTTP/1.0 200 OK\r\n\r\ncaf\xE9 \x80\x81", u"caf\u00E9 \u20AC\u0081"},
        {"a charset in the answer is ignored",
         "HTTP/1.0 200 OK\r\nContent-Type: text/plain; charset=utf-8\r\n\r\n\xC3\xA9", u"\u00C3\u00A9"},
        {"NUL bytes in the body are data", std::string("HTTP/1.0 200 OK\r\n\r\na\0b", 22), std::u16string(u"a\0b", 3)},
        {"a garbage status line is no status", "garbage\r\n\r\nhello", u""},
        {"a status that is no number is no status", "HTTP/1.0 abc OK\r\n\r\nhello", u""},
        {"a code of more than three digits is no status", "HTTP/1.0 2000 OK\r\n\r\nhello", u""},
        {"a negative code is no status", "HTTP/1.0 -20 OK\r\n\r\nhello", u""},
        // libcurl reads the run of digits after "HTTP/2" as the code and lets it overflow
        {"a code that overflows to 200 is no status", "HTTP/2 4294967496\r\n\r\nhello", u""},
        {"a version of many digits is no status", "HTTP/22222222222222221.0 200\r\no:50\rnLge\n\x9duh: \n\r\nt", u""},
        {"headers cut off before the blank line are no answer", "HTTP/1.0 401 Unauthorized\r\nX: y", u""},
        {"an answer of nothing is no answer", "", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        LoopbackServer server(Script{true, row.reply});
        EXPECT_EQ(inBandGet(server), row.result);
        EXPECT_EQ(server.connections(), 1u);
    }
}

TEST(HttpRequestResult, ErrorStatusDoesNotWaitForItsBody) {
    // A failure answer whose body never ends must not hold the caller.
    Script script{true, "HTTP/1.0 500 Busy\r\nContent-Length: 1000000\r\n\r\nstart"};
    script.ending = nettest::Ending::Hold;
    ASSERT_GT(modWININET::Limits().idleTimeout, std::chrono::seconds(5));  // the idle limit cannot end it
    LoopbackServer server(script);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(inBandGet(server), u"Error:500");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

TEST(HttpRequestResult, LongBodiesArriveWholeAndInOrder) {
    struct Row {
        const char* why;
        std::size_t length;
        bool announced;
    };
    const Row rows[] = {
        {"one short of a 2048-byte block", 2047, true},           {"exactly one block", 2048, true},
        {"one byte into the second block", 2049, true},           {"many blocks", 100'000, true},
        {"many blocks ended by the close alone", 100'000, false}, {"past the usual receive buffer", 1'000'003, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        std::string head = "HTTP/1.0 200 OK\r\n";
        if (row.announced) {
            head += "Content-Length: " + std::to_string(row.length) + "\r\n";
        }
        Script script{true, head + "\r\n"};
        script.streamedBytes = row.length;
        LoopbackServer server(script);
        const std::u16string body = inBandGet(server);
        ASSERT_EQ(body.size(), row.length);
        std::size_t misplaced = 0;
        for (std::size_t i = 0; i < body.size(); ++i) {
            misplaced += body[i] != char16_t(LoopbackServer::streamedByte(i));
        }
        EXPECT_EQ(misplaced, 0u);
    }
}

TEST(HttpRequestResult, NoServerGivesNothing) {
    EXPECT_EQ(modWININET::HttpRequest(u"127.0.0.1", closedPort(), u"GET", u"x", u"", u""), u"");
}

TEST(HttpRequestResult, EachCallUsesItsOwnConnection) {
    LoopbackServer server(Script{true, "HTTP/1.0 200 OK\r\n\r\nok"});
    for (int call = 0; call < 3; ++call) {
        EXPECT_EQ(inBandGet(server), u"ok");
    }
    EXPECT_EQ(server.connections(), 3u);
}
