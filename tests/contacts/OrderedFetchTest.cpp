// fetchInOrder's promises: document order, a bounded number in flight and in bytes, the lone retry
// of an overlapped failure, and a stop that starts nothing more. Fetches wait for each other on a
// condition, never for time.

#include "contacts/FetchWidth.h"
#include "contacts/OrderedFetch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <stdexcept>
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

// Counts what runs at once, and keeps each call. A fetch may wait until others have begun.
struct Tally {
    std::mutex mutex;
    std::condition_variable changed;
    int now = 0;
    int most = 0;
    std::vector<Call> calls;
    std::set<std::size_t> finished;

    HttpResult run(std::size_t index, const std::function<HttpResult(std::size_t, int)>& answer) {
        int attempt = 0;
        {
            const std::lock_guard lock(mutex);
            attempt =
                1 + int(std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.index == index; }));
            calls.push_back({index, attempt, now++});
            most = std::max(most, now);
        }
        changed.notify_all();
        HttpResult result = answer(index, attempt);
        {
            const std::lock_guard lock(mutex);
            --now;
            finished.insert(index);
        }
        changed.notify_all();
        return result;
    }
    // Until `inFlight` fetches have run at once; false when that never came to be.
    bool awaitInFlight(int inFlight) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 10s, [&] { return most >= inFlight; });
    }
    // Until every index from `first` to before `end` has been answered.
    bool awaitFinished(std::size_t first, std::size_t end) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 10s, [&] {
            return std::distance(finished.lower_bound(first), finished.lower_bound(end)) == std::ptrdiff_t(end - first);
        });
    }
};

const Pause noPause = [](std::chrono::milliseconds) {
};

std::vector<std::string> deliveredBodies(std::size_t count, Tally& tally,
                                         const std::function<HttpResult(std::size_t, int)>& answer) {
    std::vector<std::string> bodies;
    fetchInOrder(
        count, [&](std::size_t i, const BodyGate&) { return tally.run(i, answer); },
        [&](std::size_t i, HttpResult&& result) {
            EXPECT_EQ(i, bodies.size()) << "delivered out of order";
            bodies.push_back(result.succeeded() ? result.body : "failed:" + std::to_string(result.status));
            return true;
        },
        noPause);
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
    // The first of every six answers once the five after it have, so they wait to be delivered;
    // those wait until six have run at once.
    const auto bodies = deliveredBodies(40, tally, [&](std::size_t i, int) {
        if (i % kFetchWidth == 0 && i + kFetchWidth <= 40) {
            EXPECT_TRUE(tally.awaitFinished(i + 1, i + kFetchWidth)) << "the five after " << i << " never came";
        } else {
            EXPECT_TRUE(tally.awaitInFlight(int(kFetchWidth))) << "six never ran at once";
        }
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
            EXPECT_TRUE(tally.awaitInFlight(int(kFetchWidth))) << "the failure comes with others in flight";
            return i == 3 && attempt == 1 ? row.first : ok(i);
        });
        EXPECT_EQ(bodies, numbers(12));
        ASSERT_EQ(tally.calls.size(), 13u);
        const auto retry = std::find_if(tally.calls.begin(), tally.calls.end(),
                                        [](const Call& call) { return call.index == 3 && call.attempt == 2; });
        ASSERT_NE(retry, tally.calls.end());
        EXPECT_EQ(retry->others, 0) << "the retry runs with nothing else in flight";
        const auto narrow = retry + std::min<std::ptrdiff_t>(4, std::distance(retry, tally.calls.end()));
        EXPECT_EQ(std::count_if(retry, narrow, [](const Call& call) { return call.others > 0; }), 0)
            << "one at a time after it, until whole answers widen it again";
    }
    Tally tally;
    const auto bodies = deliveredBodies(12, tally, [&](std::size_t i, int) { return i == 3 ? missing : ok(i); });
    EXPECT_EQ(bodies[3], "failed:404") << "a 404 is an answer: not retried";
    EXPECT_EQ(tally.calls.size(), 12u);
}

TEST(FetchWidth, NarrowsToOneAfterASpoiltAnswerAndGrowsBackByOneEachFourWholeAnswers) {
    FetchWidth width(kFetchWidth);
    EXPECT_EQ(width.now(), kFetchWidth) << "a listing starts wide";
    EXPECT_FALSE(width.widened()) << "never past the widest";
    width.narrow();
    EXPECT_EQ(width.now(), 1u);
    std::vector<std::size_t> widths;
    for (int whole = 0; whole < 24; ++whole) {
        width.widened();
        widths.push_back(width.now());
    }
    EXPECT_EQ(widths,
              (std::vector<std::size_t>{1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 6}));
}

TEST(FetchInOrder, StopsWhenDeliverSaysSoAndTurnsAThrowIntoAFailedAnswer) {
    Tally tally;
    std::size_t delivered = 0;
    fetchInOrder(
        100, [&](std::size_t i, const BodyGate&) { return tally.run(i, [](std::size_t j, int) { return ok(j); }); },
        [&](std::size_t, HttpResult&&) { return ++delivered < 5; }, noPause);
    EXPECT_EQ(delivered, 5u);
    EXPECT_LE(tally.calls.size(), 5 + 2 * kFetchWidth) << "only a bounded run-ahead is fetched";

    std::vector<std::string> reasons;
    fetchInOrder(
        3,
        [](std::size_t i, const BodyGate&) -> HttpResult {
            if (i == 1) {
                throw std::runtime_error("out of memory");
            }
            return ok(i);
        },
        [&](std::size_t, HttpResult&& result) {
            reasons.push_back(result.reason);
            return true;
        },
        noPause);
    EXPECT_EQ(reasons, (std::vector<std::string>{"", "out of memory", ""}));
}

TEST(FetchInOrder, AnswersWaitingForAnEarlierOneAreHeldToTheByteBound) {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<bool> secondAsks;  // what index 2's gate answered, in turn
    const std::size_t piece = kHeldBytes / 2 + 1;
    std::vector<std::size_t> sizes;
    fetchInOrder(
        3,
        [&](std::size_t i, const BodyGate& gate) {
            HttpResult answer = ok(i);
            if (i == 0) {
                EXPECT_TRUE(gate(2 * kHeldBytes)) << "the next to be delivered is never held";
                std::unique_lock lock(mutex);
                EXPECT_TRUE(changed.wait_for(lock, 10s, [&] { return !secondAsks.empty(); }));
                return answer;
            }
            if (i == 1) {
                EXPECT_TRUE(gate(piece));
                answer.body.assign(piece, 'x');
                return answer;
            }
            // Index 2 asks until its gate opens: once index 1 is delivered, its bytes wait no more.
            bool open = false;
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            while (!open && std::chrono::steady_clock::now() < deadline) {
                open = gate(piece);
                const std::lock_guard lock(mutex);
                secondAsks.push_back(open);
                changed.notify_all();
            }
            return answer;
        },
        [&](std::size_t, HttpResult&& result) {
            sizes.push_back(result.body.size());
            return true;
        },
        noPause);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{1, piece, 1}));
    ASSERT_GE(secondAsks.size(), 2u);
    EXPECT_FALSE(secondAsks.front()) << "two pieces past the bound wait behind index 0";
    EXPECT_TRUE(secondAsks.back()) << "and go on once the earlier ones were delivered";
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
        const FetchEnding ending = fetchInOrder(
            40,
            [&](std::size_t i, const BodyGate&) {
                return tally.run(i, [&](std::size_t j, int attempt) {
                    const bool stopped = j >= 10 && (row.quietAgain || attempt == 1) && j < 20;
                    return stopped ? quiet : ok(j);
                });
            },
            [&](std::size_t, HttpResult&& result) {
                bodies.push_back(result.body);
                return true;
            },
            [&](std::chrono::milliseconds pause) { pauses.push_back(pause); });
        EXPECT_EQ(ending.end, row.end);
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
            EXPECT_EQ(ending.cause, StopCause::Silent);
            EXPECT_LE(tally.calls.size(), 10 + 2 * kFetchWidth + 1) << "nothing starts once the server went quiet";
        }
    }
}
