// The listing over links and servers that fail as real ones do: resets, 503s, and a server that
// stops answering. No contact is lost or listed twice, and a stop ends with a message, not a hang.

#include "contacts/ContactClient.h"
#include "contacts/ContactTexts.h"
#include "tests/support/HttpMailServer.h"
#include "tests/support/ScopedLimits.h"
#include "tests/support/ScreenRecorder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <numeric>

namespace {

using namespace std::chrono_literals;

// The tries again wait by this: it keeps the pauses and returns at once.
struct Pauses {
    std::mutex mutex;
    std::vector<std::chrono::milliseconds> taken;

    Pause pause() {
        return [this](std::chrono::milliseconds pause) {
            const std::lock_guard lock(mutex);
            taken.push_back(pause);
        };
    }
    std::chrono::milliseconds total() const {
        return std::accumulate(taken.begin(), taken.end(), std::chrono::milliseconds{0});
    }
};

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
        Pauses pauses;
        EXPECT_EQ(ContactClient(screen, loginFor(server), modWININET::exchange, pauses.pause()).ListContacts(),
                  ListingResult::Listed);
        EXPECT_EQ(screen.lines, expected);
        EXPECT_TRUE(screen.messages.empty());
        EXPECT_EQ(screen.captions.back(), contacttext::listedCaption);
    }
}

TEST(LinkFaults, AServerThatStopsEndsTheListingWithItsMessageAndKeepsTheLines) {
    const std::vector<std::u16string> expected = cleanLines();
    const nettest::ScopedLimits quick({.connectTimeout = 5s, .idleTimeout = 300ms});
    HttpMailServer server(seededWith("stall-after=8"));  // the PROPFIND and seven GETs
    ScreenRecorder screen;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ContactClient(screen, loginFor(server)).ListContacts(), ListingResult::Listed);
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

TEST(LinkFaults, EachStopEndsTheListingAtOnceWithItsMessageAndKeepsTheLines) {
    const std::vector<std::u16string> expected = cleanLines();
    // A drip of 100 bytes a second is below a floor of 1 KiB/s, measured over 1 s here.
    const nettest::ScopedLimits quick({.connectTimeout = 5s, .idleTimeout = 5s, .floorTime = 1s});
    struct Row {
        const char* why;
        const char* fault;
        ListingResult result;
        std::u16string said;  // what the message says the server did; empty: the window's refusal
        std::size_t mostLines;
        std::size_t mostGets;              // of the 20 contacts, tries again included
        std::chrono::milliseconds waited;  // the pauses of the tries again
    };
    const Row rows[] = {
        {"the password changed part-way: no more than was in flight follows", "refuse-after=6", ListingResult::Rejected,
         u"", 5, 5 + 6, 0ms},
        {"every GET cut: five contacts, each tried four times", "cut-contact", ListingResult::Listed,
         u" spoilt five answers in a row. ", 4, 5 * 4 + 6, 5 * 1250ms},
        {"503 with Retry-After 10: stop once the waits pass 30 s", "always-503=10", ListingResult::Listed,
         u" stayed busy for more than 30 seconds. ", 1, 4 + 1 + 6, 30s},
        {"a drip: too slow, and too slow again", "drip=0.01", ListingResult::Listed, u" answered too slowly. ", 0,
         6 + 1, 0ms},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        HttpMailServer server(seededWith(row.fault));
        ScreenRecorder screen;
        Pauses pauses;
        EXPECT_EQ(ContactClient(screen, loginFor(server), modWININET::exchange, pauses.pause()).ListContacts(),
                  row.result);
        ASSERT_LE(screen.lines.size(), row.mostLines);
        if (row.said.empty()) {
            EXPECT_TRUE(std::equal(screen.lines.begin(), screen.lines.end(), expected.begin()));
            ASSERT_EQ(screen.messages.size(), 1u);
            EXPECT_EQ(screen.messages[0].prompt, u"Authentication Error: Please check credentials.");
        } else {
            ASSERT_EQ(screen.messages.size(), 1u);
            EXPECT_NE(screen.messages[0].prompt.find(row.said), std::u16string::npos);
        }
        EXPECT_LE(server.requests("GET").size(), row.mostGets);
        EXPECT_EQ(pauses.total(), row.waited);
    }
}

TEST(LinkFaults, APropfindThatNeverAnswersIsStillNoContactFolder) {
    const nettest::ScopedLimits quick({.connectTimeout = 5s, .idleTimeout = 300ms});
    HttpMailServer server(seededWith("stall-after=0"));
    ScreenRecorder screen;
    EXPECT_EQ(ContactClient(screen, loginFor(server)).ListContacts(), ListingResult::ProgramEnded);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].prompt, contacttext::noContactFolder);
    EXPECT_TRUE(screen.lines.empty());
}

TEST(LinkFaults, ADropWhosePostIsStoredAndNeverAnsweredListsAgainAndShowsIt) {
    const nettest::ScopedLimits quick({.connectTimeout = 5s, .idleTimeout = 300ms});
    HttpMailServer server(seededWith("post-unanswered"));
    ScreenRecorder screen;
    const std::vector<DropItem> items{{{}, std::string("BEGIN:VCARD\r\nFN:Maybe Stored\r\nEND:VCARD\r\n")}};
    EXPECT_EQ(ContactClient(screen, loginFor(server)).Form_OLEDragDrop(items), ListingResult::Listed);
    EXPECT_EQ(screen.clears, 1);
    ASSERT_EQ(screen.lines.size(), 21u) << "the twenty samples and the card the server kept";
    EXPECT_EQ(std::count_if(screen.lines.begin(), screen.lines.end(),
                            [](const std::u16string& line) { return line.starts_with(u"Maybe Stored ["); }),
              1);
    EXPECT_EQ(screen.messages.size(), 1u) << "the notice alone";
}
