// The listing over links and servers that fail as real ones do: resets, 503s, and a server that
// stops answering. No contact is lost or listed twice, and a stop ends with a message, not a hang.

#include "contacts/ContactClient.h"
#include "contacts/ContactTexts.h"
#include "net/modWININET.h"
#include "tests/support/HttpMailServer.h"
#include "tests/support/ScreenRecorder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;

LoginState loginFor(const HttpMailServer& server) {
    return {u"127.0.0.1", server.port(), u"Basic ZGVtbzpkZW1v"};
}

HttpMailServerOptions seededWith(const std::string& fault) {
    HttpMailServerOptions options;
    options.seedSamples = true;
    options.fault = fault;
    return options;
}

std::vector<std::u16string> cleanLines() {
    HttpMailServer server(seededWith(""));
    ScreenRecorder screen;
    ContactClient(screen, loginFor(server)).ListContacts();
    return screen.lines;
}

}  // namespace

TEST(LinkFaults, EveryContactOnceAndInOrderOverAFlakyLink) {
    const std::vector<std::u16string> expected = cleanLines();
    ASSERT_EQ(expected.size(), 20u);
    struct Row {
        const char* why;
        const char* fault;
    };
    const Row rows[] = {
        {"one connection in 17 reset", "reset-every=17"},
        {"every third reset, so a retry is often reset too", "reset-every=3"},
        {"every second reset: each retry that runs alone is the next connection", "reset-every=2"},
        {"503 with Retry-After 0 on each contact's first GET", "retry-after=0"},
        {"503 without Retry-After on each contact's first GET", "retry-after=-"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServer server(seededWith(row.fault));
        ScreenRecorder screen;
        EXPECT_EQ(ContactClient(screen, loginFor(server)).ListContacts(), ListingResult::Listed);
        EXPECT_EQ(screen.lines, expected);
        EXPECT_TRUE(screen.messages.empty());
        EXPECT_EQ(screen.captions.back(), contacttext::listedCaption);
    }
}

TEST(LinkFaults, AServerThatStopsEndsTheListingWithItsMessageAndKeepsTheLines) {
    const std::vector<std::u16string> expected = cleanLines();
    const modWININET::Transport quick({.connectTimeout = 5s, .idleTimeout = 300ms});
    HttpMailServer server(seededWith("stall-after=8"));  // the PROPFIND and seven GETs
    ScreenRecorder screen;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ContactClient(screen, loginFor(server), quick).ListContacts(), ListingResult::Listed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << "two idle limits and a little, not one per contact";
    ASSERT_LE(screen.lines.size(), 7u);
    EXPECT_TRUE(std::equal(screen.lines.begin(), screen.lines.end(), expected.begin())) << "the lines so far stay";
    const std::u16string count = std::u16string(1, char16_t(u'0' + screen.lines.size()));
    const std::u16string port = [&] {
        const std::string digits = std::to_string(server.port());
        return std::u16string(digits.begin(), digits.end());
    }();
    EXPECT_EQ(screen.messages,
              (std::vector<Message>{{u"The server 127.0.0.1 on port " + port + u" stopped answering. " + count +
                                         u" of 20 contacts were listed. Refresh tries again.",
                                     MessageStyle::Information, u"Velqor Personal Contact Manager"}}));
    EXPECT_EQ(screen.captions.back(), contacttext::listedCaption);
}

TEST(LinkFaults, APropfindThatNeverAnswersIsStillNoContactFolder) {
    const modWININET::Transport quick({.connectTimeout = 5s, .idleTimeout = 300ms});
    HttpMailServer server(seededWith("stall-after=0"));
    ScreenRecorder screen;
    EXPECT_EQ(ContactClient(screen, loginFor(server), quick).ListContacts(), ListingResult::ProgramEnded);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].prompt, contacttext::noContactFolder);
    EXPECT_TRUE(screen.lines.empty());
}
