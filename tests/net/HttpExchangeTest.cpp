// exchange(): the answer's bytes as they came, and each way of getting no whole answer named.

#include "net/HttpResult.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ScopedLimits.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace std::chrono_literals;
using modWININET::Failure;
using nettest::Ending;
using nettest::LoopbackServer;
using nettest::ScopedLimits;
using nettest::Script;

namespace {

modWININET::HttpResult getFrom(std::int32_t port, std::u16string server = u"127.0.0.1") {
    return modWININET::exchange({std::move(server), port, "GET", u"x", {}, {}, {}});
}

std::string allByteValues() {
    std::string bytes;
    for (int value = 0; value < 256; ++value) {
        bytes += char(value);
    }
    return bytes;
}

}  // namespace

TEST(HttpExchange, KeepsTheBodysBytesAndNamesEachFailure) {
    modWININET::Limits limits;
    limits.connectTimeout = 300ms;
    limits.idleTimeout = 300ms;
    limits.maxBodyBytes = 1000;
    const ScopedLimits scoped(limits);
    struct Row {
        const char* why;
        Script script;
        long status;
        Failure failure;
        std::string body;
    };
    const std::string bytes = allByteValues();
    const Row rows[] = {
        {"every byte value arrives as it was sent",
         Script{true, "HTTP/1.0 200 OK\r\nContent-Length: 256\r\n\r\n" + bytes}, 200, Failure::None, bytes},
        {"a failure status is whole, its body unread", Script{true, "HTTP/1.0 404 Not Found\r\n\r\nmissing"}, 404,
         Failure::None, ""},
        {"a body cut off before its length", Script{true, "HTTP/1.0 200 OK\r\nContent-Length: 90\r\n\r\nhalf"}, 200,
         Failure::CutOff, "half"},
        {"a reset in the body", Script{true, "HTTP/1.0 200 OK\r\n\r\nabc", 0, Ending::Reset}, 200, Failure::CutOff,
         "abc"},
        {"a hang-up with no answer at all", Script{true, ""}, 0, Failure::CutOff, ""},
        {"no HTTP status line", Script{true, "SSH-2.0-OpenSSH_9.2\r\n\r\n"}, 0, Failure::NotHttp, ""},
        {"an announced body over the cap", Script{true, "HTTP/1.0 200 OK\r\nContent-Length: 5000\r\n\r\nx"}, 200,
         Failure::TooBig, ""},
        {"a streamed body over the cap", Script{true, "HTTP/1.0 200 OK\r\n\r\n", 5000}, 200, Failure::TooBig, ""},
        {"a server that never answers", Script{false, ""}, 0, Failure::TimedOut, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        LoopbackServer server(row.script);
        const modWININET::HttpResult result = getFrom(server.port());
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.failure, row.failure);
        if (row.failure != Failure::TooBig) {
            EXPECT_EQ(result.body, row.body);
        }
        EXPECT_EQ(result.reason.empty(), row.failure == Failure::None) << result.reason;
        EXPECT_EQ(result.whole(), row.failure == Failure::None);
    }
}

TEST(HttpExchange, NamesWhatNeverReachedAServer) {
    const nettest::LoopbackListener taken = nettest::listenOnLoopback();
    close(taken.fd);  // nothing listens there now
    struct Row {
        const char* why;
        std::u16string server;
        std::int32_t port;
        Failure failure;
    };
    const Row rows[] = {
        {"nothing listens on the port", u"127.0.0.1", taken.port, Failure::NoConnection},
        {"a blank in the server text", u"127.0.0.1 x", taken.port, Failure::InvalidServer},
        {"a port TCP does not have", u"127.0.0.1", 70000, Failure::InvalidServer},
        {"port 0", u"127.0.0.1", 0, Failure::InvalidServer},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const modWININET::HttpResult result = getFrom(row.port, row.server);
        EXPECT_EQ(result.failure, row.failure);
        EXPECT_EQ(result.status, 0);
        EXPECT_FALSE(result.reason.empty());
    }
}

// What a try again needs to know: a 503's Retry-After, whether any byte came at all, and whether
// the request went out whole (a write that did may have been done).
TEST(HttpExchange, TellsARetryAfterAndSilenceFromAStalledAnswer) {
    modWININET::Limits limits;
    limits.idleTimeout = 300ms;
    limits.floorTime = 1s;  // a drip of 20 bytes a second is below the floor of 1 KiB/s
    const ScopedLimits scoped(limits);
    struct Row {
        const char* why;
        Script script;
        Failure failure;
        bool heardAny;
        std::optional<long> retryAfter;
    };
    const Row rows[] = {
        {"a 503 with seconds", Script{true, "HTTP/1.0 503 Busy\r\nRetry-After: 7\r\n\r\n"}, Failure::None, true, 7},
        {"the name in any case, blanks around", Script{true, "HTTP/1.0 503 Busy\r\nretry-AFTER:  3 \r\n\r\n"},
         Failure::None, true, 3},
        {"an hour is read as it is; the caller caps it", Script{true, "HTTP/1.0 503 Busy\r\nRetry-After: 3600\r\n\r\n"},
         Failure::None, true, 3600},
        {"a date is not seconds",
         Script{true, "HTTP/1.0 503 Busy\r\nRetry-After: Wed, 21 Oct 2015 07:28:00 GMT\r\n\r\n"}, Failure::None, true,
         std::nullopt},
        {"a negative number is not seconds", Script{true, "HTTP/1.0 503 Busy\r\nRetry-After: -5\r\n\r\n"},
         Failure::None, true, std::nullopt},
        {"only a 503's delay counts", Script{true, "HTTP/1.0 200 OK\r\nRetry-After: 7\r\n\r\n"}, Failure::None, true,
         std::nullopt},
        {"a body that stalls heard something",
         Script{true, "HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\nab", 0, Ending::Hold}, Failure::TimedOut, true,
         std::nullopt},
        {"headers that stall heard something", Script{true, "HTTP/1.0 200 OK\r\n", 0, Ending::Hold}, Failure::TimedOut,
         true, std::nullopt},
        {"not one byte before the idle limit", Script{false, ""}, Failure::TimedOut, false, std::nullopt},
        {"a body that drips below the floor", Script{true, "HTTP/1.0 200 OK\r\n\r\n", 100, Ending::Close, 50ms},
         Failure::TooSlow, true, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        LoopbackServer server(row.script);
        ASSERT_TRUE(server.listening());
        const modWININET::HttpResult result = getFrom(server.port());
        EXPECT_EQ(result.failure, row.failure) << result.reason;
        EXPECT_EQ(result.heardAny, row.heardAny);
        EXPECT_EQ(result.retryAfterSeconds, row.retryAfter);
        EXPECT_TRUE(result.connected && result.requestSent) << "each server took the whole request";
    }
    LoopbackServer silent(Script{false, ""});
    const std::string card(100'000, 'x');  // more than one send, so the count of bytes sent tells
    const modWININET::HttpResult posted =
        modWININET::exchange({u"127.0.0.1", silent.port(), "POST", u"x", card, {}, {}});
    EXPECT_EQ(posted.failure, Failure::TimedOut);
    EXPECT_TRUE(posted.requestSent) << "stored, maybe, and never answered";
    const nettest::LoopbackListener taken = nettest::listenOnLoopback();
    close(taken.fd);
    const modWININET::HttpResult refused = getFrom(taken.port);
    EXPECT_FALSE(refused.connected || refused.requestSent);
}
