// HttpRequest under faults: cut and reset bodies, oversized bodies, silent servers, bad ports and
// bad server names. Each gives the empty text, never a partial body, and never hangs.

#include "net/modWININET.h"
#include "tests/net/WireText.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ProcessMemory.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace std::chrono_literals;
using nettest::Ending;
using nettest::LoopbackServer;
using nettest::Script;

namespace {

using Clock = std::chrono::steady_clock;

modWININET::Limits shortLimits() {
    modWININET::Limits limits;
    limits.connectTimeout = 300ms;
    limits.idleTimeout = 300ms;
    return limits;
}

// HttpRequest's answer, over a transport with the limits given.
std::u16string getWithin(std::uint16_t port, const modWININET::Limits& limits) {
    return modWININET::inBandText(modWININET::Transport(limits)({u"127.0.0.1", port, "GET", u"x", "", u"", {}}));
}

std::u16string getFrom(const LoopbackServer& server, const std::u16string& host = u"127.0.0.1") {
    return modWININET::HttpRequest(host, server.port(), u"GET", u"x", u"", u"");
}

// A loopback listener whose one-place accept queue is already taken, so that the next connection
// attempt gets no answer at all: the only way to make a connect on loopback wait.
class FullListener {
public:
    FullListener() : m_listener(nettest::listenOnLoopback(nettest::Address::Ipv4, 0, 0)) {
        m_queued = nettest::connectToLoopback(m_listener.port);
    }
    ~FullListener() {
        for (int fd : {m_queued, m_listener.fd}) {
            if (fd >= 0) {
                close(fd);
            }
        }
    }
    FullListener(const FullListener&) = delete;
    FullListener& operator=(const FullListener&) = delete;
    std::uint16_t port() const { return m_listener.port; }
    bool filled() const { return m_listener.fd >= 0 && m_queued >= 0; }

private:
    nettest::LoopbackListener m_listener;
    int m_queued = -1;
};

}  // namespace

TEST(HttpRequestFault, IncompleteBodyGivesNothing) {
    struct Row {
        const char* why;
        std::string head;
        Ending ending;
        std::u16string result;
    };
    const Row rows[] = {
        {"a body cut off before its Content-Length", "Content-Length: 1000\r\n", Ending::Close, u""},
        {"a reset part-way through an announced body", "Content-Length: 1000\r\n", Ending::Reset, u""},
        {"a reset part-way through a body ended by the close", "", Ending::Reset, u""},
        {"a body that stops arriving", "Content-Length: 1000\r\n", Ending::Hold, u""},
        {"without Content-Length the close ends a whole body", "", Ending::Close, std::u16string(500, u'x')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        Script script{true, "HTTP/1.0 200 OK\r\n" + row.head + "\r\n" + std::string(500, 'x')};
        script.ending = row.ending;
        LoopbackServer server(script);
        EXPECT_EQ(getWithin(server.port(), shortLimits()), row.result);
    }
}

TEST(HttpRequestFault, SilentServerIsGivenUp) {
    struct Row {
        const char* why;
        Script script;
    };
    const Row rows[] = {
        {"accepts and never answers", Script{false, ""}},
        {"sends the status line, then nothing", Script{true, "HTTP/1.0 200 OK\r\n", 0, Ending::Hold}},
        {"sends the headers, then nothing", Script{true, "HTTP/1.0 200 OK\r\n\r\n", 0, Ending::Hold}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        LoopbackServer server(row.script);
        const auto started = Clock::now();
        EXPECT_EQ(getWithin(server.port(), shortLimits()), u"");
        EXPECT_LT(Clock::now() - started, 5s);
        EXPECT_EQ(server.requests().size(), 1u);
    }
}

TEST(HttpRequestFault, SlowButSteadyBodyIsNotCutOff) {
    // The idle limit counts silence, not the length of the whole transfer.
    Script script{true, "HTTP/1.0 200 OK\r\nContent-Length: 12\r\n\r\n", 12};
    script.pause = 120ms;
    LoopbackServer server(script);
    EXPECT_EQ(getWithin(server.port(), shortLimits()), u"abcdefghijkl");
}

TEST(HttpRequestFault, ConnectThatGetsNoAnswerIsGivenUp) {
    modWININET::Limits limits = shortLimits();
    limits.idleTimeout = 60s;  // only the connect limit may end this one
    const FullListener listener;
    ASSERT_TRUE(listener.filled());
    const auto started = Clock::now();
    EXPECT_EQ(getWithin(listener.port(), limits), u"");
    EXPECT_LT(Clock::now() - started, 5s);
}

TEST(HttpRequestFault, BodyOverTheCapIsRefusedAndStopped) {
    const std::size_t cap = modWININET::Limits().maxBodyBytes;
    ASSERT_EQ(cap, std::size_t{64} << 20);
    struct Row {
        const char* why;
        bool announced;
        std::size_t sent;
        bool whole;
    };
    const Row rows[] = {
        {"an announced length over the cap", true, cap + 1, false},
        {"an unannounced body running past the cap", false, cap + (std::size_t{32} << 20), false},
        {"exactly the cap arrives whole", false, cap, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const std::string head = row.announced ? "Content-Length: " + std::to_string(row.sent) + "\r\n" : "";
        LoopbackServer server(Script{true, "HTTP/1.0 200 OK\r\n" + head + "\r\n", row.sent});
        const bool measured = !memoryIsInstrumented() && resetPeakMemory();
        const std::size_t length = getFrom(server).size();
        const long long peak = residentMemory().peakKb * 1024ll;
        server.stop();
        EXPECT_EQ(length, row.whole ? row.sent : 0u);
        if (!row.whole) {
            EXPECT_LT(server.bytesSent(), row.sent) << "the transfer went on past the refusal";
        }
        if (measured && peak > 0) {
            // UTF-16 text of the cap plus the buffer it grew from: about three times the cap.
            EXPECT_LT(peak, 3 * static_cast<long long>(cap) + (64ll << 20));
        }
    }
}

TEST(HttpRequestFault, PortOutsideTcpRangeMakesNoConnection) {
    LoopbackServer server(Script{true, "HTTP/1.0 200 OK\r\n\r\nok"});
    const std::int32_t port = server.port();
    struct Row {
        const char* why;
        std::int32_t port;
    };
    const Row rows[] = {
        {"zero", 0},
        {"negative", -1},
        {"one past the range", 65536},
        {"would narrow to the server's port", port + 65536},
        {"negative, would narrow to the server's port", port - 65536},
        {"the largest 32-bit value", 2147483647},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(modWININET::HttpRequest(u"127.0.0.1", row.port, u"GET", u"x", u"", u""), u"");
    }
    server.stop();
    EXPECT_EQ(server.connections(), 0u);
}

TEST(HttpRequestFault, WholePortRangeWorks) {
    const std::uint16_t ports[] = {65535, 40000, 32768};
    std::size_t tried = 0;
    for (const std::uint16_t port : ports) {
        SCOPED_TRACE(port);
        LoopbackServer server(Script{true, "HTTP/1.0 200 OK\r\n\r\nok"}, nettest::Address::Ipv4, port);
        if (!server.listening()) {
            continue;  // taken by someone else on this machine
        }
        ++tried;
        EXPECT_EQ(getFrom(server), u"ok");
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_NE(requests[0].find("\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n"), std::string::npos);
    }
    if (tried == 0) {
        GTEST_SKIP() << "none of the high ports was free";
    }
}

TEST(HttpRequestFault, BadServerTextMakesNoRequest) {
    LoopbackServer server(Script{true, "HTTP/1.0 200 OK\r\n\r\nok"});
    struct Row {
        const char* why;
        std::u16string server;
    };
    const Row rows[] = {
        {"empty", u""},
        {"blanks", u"   "},
        {"a leading blank", u" 127.0.0.1"},
        {"a trailing blank", u"127.0.0.1 "},
        {"a slash", u"/"},
        {"a trailing slash", u"127.0.0.1/"},
        {"a scheme other than HTTP or HTTPS", u"ftp://127.0.0.1"},
        {"user information", u"user@127.0.0.1"},
        {"a port of its own", u"127.0.0.1:80"},
        {"a CR LF", u"127.0.0.1\r\n"},
        {"a tab", u"127.0.0.1\t"},
        {"a NUL", std::u16string(u"127.0.0.1\0", 10)},
        {"a query mark", u"127.0.0.1?"},
        {"a fragment mark", u"127.0.0.1#"},
        {"a percent sign", u"127.0.0.1%20"},
        {"a backslash", u"127.0.0.1\\"},
        {"brackets around IPv4", u"[127.0.0.1]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(modWININET::HttpRequest(row.server, server.port(), u"GET", u"x", u"", u""), u"");
    }
    server.stop();
    EXPECT_EQ(server.connections(), 0u);
}

TEST(HttpRequestFault, BareIpv6LiteralWorks) {
    LoopbackServer server(Script{true, "HTTP/1.0 200 OK\r\n\r\nsix"}, nettest::Address::Ipv6);
    if (!server.listening()) {
        GTEST_SKIP() << "no IPv6 loopback on this machine";
    }
    EXPECT_EQ(getFrom(server, u"::1"), u"six");
    EXPECT_EQ(getFrom(server, u"0:0:0:0:0:0:0:1"), u"six");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[0].find("\r\nHost: [::1]:" + std::to_string(server.port()) + "\r\n"), std::string::npos);
}
