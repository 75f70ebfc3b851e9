// fetchInOrder's promises: document order, a bounded number in flight, the lone retry of an
// overlapped failure, and a stop that starts nothing more.

#include "contacts/OrderedFetch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

using modWININET::Failure;
using modWININET::HttpResult;
using namespace std::chrono_literals;

namespace {

HttpResult ok(std::size_t index) {
    HttpResult result;
    result.status = 200;
    result.body = std::to_string(index);
    return result;
}

struct Call {
    std::size_t index;
    int attempt;  // 1 for the first fetch of the index
    int others;   // fetches in flight when it began
};

// Counts what runs at once, and keeps each call.
struct Tally {
    std::mutex mutex;
    int now = 0;
    int most = 0;
    std::vector<Call> calls;

    HttpResult run(std::size_t index, const std::function<HttpResult(std::size_t, int)>& answer) {
        int attempt = 0;
        {
            const std::lock_guard lock(mutex);
            attempt =
                1 + int(std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.index == index; }));
            calls.push_back({index, attempt, now++});
            most = std::max(most, now);
        }
        HttpResult result = answer(index, attempt);
        const std::lock_guard lock(mutex);
        --now;
        return result;
    }
};

std::vector<std::string> deliveredBodies(std::size_t count, Tally& tally,
                                         const std::function<HttpResult(std::size_t, int)>& answer) {
    std::vector<std::string> bodies;
    fetchInOrder(
        count, [&](std::size_t i) { return tally.run(i, answer); },
        [&](std::size_t i, HttpResult&& result) {
            EXPECT_EQ(i, bodies.size()) << "delivered out of order";
            bodies.push_back(result.succeeded() ? result.body : "failed:" + std::to_string(result.status));
            return true;
        });
    return bodies;
}

std::vector<std::string> numbers(std::size_t count) {
    std::vector<std::string> all;
    for (std::size_t i = 0; i < count; ++i) {
        all.push_back(std::to_string(i));
    }
    return all;
}

}  // namespace

TEST(FetchInOrder, DeliversInIndexOrderWhateverOrderAnswersComeIn) {
    Tally tally;
    // Early indexes answer last, so every answer but the first waits for the ones before it.
    const auto bodies = deliveredBodies(40, tally, [](std::size_t i, int) {
        std::this_thread::sleep_for(std::chrono::milliseconds((40 - i) % 7));
        return ok(i);
    });
    EXPECT_EQ(bodies, numbers(40));
    EXPECT_EQ(tally.most, int(kFetchWidth)) << "six run at once, never more";
    EXPECT_EQ(tally.calls.size(), 40u) << "each fetched once";
}

TEST(FetchInOrder, RetriesAnOverlappedFailureAloneAndDeliversOnlyTheRetry) {
    struct Row {
        const char* why;
        HttpResult first;
    };
    HttpResult cut;
    cut.failure = Failure::CutOff;
    HttpResult busy;
    busy.status = 503;
    HttpResult missing;
    missing.status = 404;
    const Row rows[] = {{"no whole answer", cut}, {"503 from a busy server", busy}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        Tally tally;
        const auto bodies = deliveredBodies(12, tally, [&](std::size_t i, int attempt) {
            std::this_thread::sleep_for(2ms);
            return i == 3 && attempt == 1 ? row.first : ok(i);
        });
        EXPECT_EQ(bodies, numbers(12));
        ASSERT_EQ(tally.calls.size(), 13u);
        const auto retry = std::find_if(tally.calls.begin(), tally.calls.end(),
                                        [](const Call& call) { return call.index == 3 && call.attempt == 2; });
        ASSERT_NE(retry, tally.calls.end());
        EXPECT_EQ(retry->others, 0) << "the retry runs with nothing else in flight";
    }
    Tally tally;
    const auto bodies = deliveredBodies(12, tally, [&](std::size_t i, int) { return i == 3 ? missing : ok(i); });
    EXPECT_EQ(bodies[3], "failed:404") << "a 404 is an answer: not retried";
    EXPECT_EQ(tally.calls.size(), 12u);
}

TEST(FetchInOrder, AfterASpoiltAnswerOneRunsAtATimeThenTheWidthGrowsBack) {
    HttpResult cut;
    cut.failure = Failure::CutOff;
    Tally tally;
    const auto bodies = deliveredBodies(80, tally, [&](std::size_t i, int attempt) {
        std::this_thread::sleep_for(3ms);
        return i == 3 && attempt == 1 ? cut : ok(i);
    });
    EXPECT_EQ(bodies, numbers(80));
    const auto retry = std::find_if(tally.calls.begin(), tally.calls.end(),
                                    [](const Call& call) { return call.index == 3 && call.attempt == 2; });
    ASSERT_GE(std::distance(retry, tally.calls.end()), 40) << "retried early, with most calls after it";
    for (auto call = retry; call != retry + 5; ++call) {
        EXPECT_EQ(call->others, 0) << "index " << call->index << " ran beside another right after the retry";
    }
    const auto widest =
        std::max_element(retry, tally.calls.end(), [](const Call& a, const Call& b) { return a.others < b.others; });
    EXPECT_EQ(widest->others, int(kFetchWidth) - 1) << "the width grew back to six";
}

TEST(FetchInOrder, AFailureThatRanAloneIsDeliveredAsItIs) {
    HttpResult cut;
    cut.failure = Failure::CutOff;
    Tally tally;
    std::vector<bool> whole;
    fetchInOrder(
        3, [&](std::size_t i) { return tally.run(i, [&](std::size_t, int) { return cut; }); },
        [&](std::size_t, HttpResult&& result) {
            whole.push_back(result.whole());
            return true;
        },
        1);
    EXPECT_EQ(whole, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(tally.calls.size(), 3u) << "one at a time, nothing overlapped, nothing retried";
}

TEST(FetchInOrder, StopsWhenDeliverSaysSoAndTurnsAThrowIntoAFailedAnswer) {
    Tally tally;
    std::size_t delivered = 0;
    fetchInOrder(
        100, [&](std::size_t i) { return tally.run(i, [](std::size_t j, int) { return ok(j); }); },
        [&](std::size_t, HttpResult&&) { return ++delivered < 5; });
    EXPECT_EQ(delivered, 5u);
    EXPECT_LE(tally.calls.size(), 5 + 2 * kFetchWidth) << "only a bounded run-ahead is fetched";

    std::vector<std::string> reasons;
    fetchInOrder(
        3,
        [](std::size_t i) -> HttpResult {
            if (i == 1) {
                throw std::runtime_error("out of memory");
            }
            return ok(i);
        },
        [&](std::size_t, HttpResult&& result) {
            reasons.push_back(result.reason);
            return true;
        });
    EXPECT_EQ(reasons, (std::vector<std::string>{"", "out of memory", ""}));
}

TEST(FetchInOrder, AServerThatWentQuietStopsTheFetchingAfterOneLoneTryAgain) {
    HttpResult quiet;
    quiet.failure = Failure::TimedOut;  // not one byte came
    struct Row {
        const char* why;
        bool quietAgain;  // the lone try again gets nothing either
        FetchEnd end;
        std::size_t delivered;
    };
    const Row rows[] = {
        {"quiet twice: the server stopped, what came before stays", true, FetchEnd::ServerStopped, 10},
        {"quiet once: a hiccup, every index comes", false, FetchEnd::Finished, 40},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        Tally tally;
        std::vector<std::string> bodies;
        std::vector<std::chrono::milliseconds> pauses;
        const FetchEnd end = fetchInOrder(
            40,
            [&](std::size_t i) {
                return tally.run(i, [&](std::size_t j, int attempt) {
                    const bool stopped = j >= 10 && (row.quietAgain || attempt == 1) && j < 20;
                    return stopped ? quiet : ok(j);
                });
            },
            [&](std::size_t, HttpResult&& result) {
                bodies.push_back(result.body);
                return true;
            },
            kFetchWidth, [&](std::chrono::milliseconds pause) { pauses.push_back(pause); });
        EXPECT_EQ(end, row.end);
        ASSERT_EQ(bodies.size(), row.delivered);
        EXPECT_EQ(bodies.back(), std::to_string(row.delivered - 1));
        const auto triesOfTen =
            std::count_if(tally.calls.begin(), tally.calls.end(), [](const Call& call) { return call.index == 10; });
        EXPECT_EQ(triesOfTen, 2) << "a quiet fetch is tried once more, not three times";
        const auto retry = std::find_if(tally.calls.begin(), tally.calls.end(),
                                        [](const Call& call) { return call.index == 10 && call.attempt == 2; });
        ASSERT_NE(retry, tally.calls.end());
        EXPECT_EQ(retry->others, 0) << "alone";
        if (row.end == FetchEnd::ServerStopped) {
            EXPECT_LE(tally.calls.size(), 10 + 2 * kFetchWidth + 1) << "nothing starts once the server went quiet";
        }
    }
}
