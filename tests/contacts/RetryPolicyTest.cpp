// When an idempotent request is tried again, after how long, and when the server counts as gone.

#include "contacts/RetryPolicy.h"
#include "tests/support/MadeAnswers.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using made::failedWith;
using modWININET::Failure;
using modWININET::HttpResult;
using namespace std::chrono_literals;

namespace {

HttpResult status(long code, std::optional<long> retryAfter = std::nullopt) {
    HttpResult result;
    result.status = code;
    result.retryAfterSeconds = retryAfter;
    return result;
}

}  // namespace

TEST(RetryPolicy, RetriesWhatTheLinkSpoiltAndNothingElse) {
    struct Row {
        const char* why;
        HttpResult answer;
        ServerReached reached;
        TryVerdict verdict;
    };
    const Row rows[] = {
        {"a success is kept", status(200), ServerReached::No, TryVerdict::Done},
        {"a 404 is the server's word", status(404), ServerReached::Yes, TryVerdict::Done},
        {"a 500 is the server's word", status(500), ServerReached::Yes, TryVerdict::Done},
        {"a 503 asks to come back", status(503), ServerReached::No, TryVerdict::Again},
        {"a reset or cut answer", failedWith(Failure::CutOff, true), ServerReached::No, TryVerdict::Again},
        {"a refused connection after a first success", failedWith(Failure::NoConnection), ServerReached::Yes,
         TryVerdict::Again},
        {"a refused connection before any: no server there", failedWith(Failure::NoConnection), ServerReached::No,
         TryVerdict::Done},
        {"a body that stalled midway", failedWith(Failure::TimedOut, true), ServerReached::Yes, TryVerdict::Again},
        {"not one byte before the idle limit", failedWith(Failure::TimedOut), ServerReached::Yes, TryVerdict::Stalled},
        {"an answer below the floor", failedWith(Failure::TooSlow, true), ServerReached::Yes, TryVerdict::Again},
        {"a refused handshake is the same next time", failedWith(Failure::TlsHandshake), ServerReached::Yes,
         TryVerdict::Done},
        {"a refused certificate is the same next time", failedWith(Failure::Certificate), ServerReached::Yes,
         TryVerdict::Done},
        {"an answer over the cap is the same next time", failedWith(Failure::TooBig, true), ServerReached::Yes,
         TryVerdict::Done},
        {"no HTTP is the same next time", failedWith(Failure::NotHttp, true), ServerReached::Yes, TryVerdict::Done},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(judgeTry(row.answer, row.reached), row.verdict);
    }
}

TEST(RetryPolicy, PausesAtOnceThenAQuarterSecondThenASecondOrAsTheServerAsks) {
    struct Row {
        const char* why;
        std::size_t retry;
        HttpResult answer;
        std::optional<std::chrono::milliseconds> pause;
    };
    const Row rows[] = {
        {"a reset is usually over at once", 0, failedWith(Failure::CutOff), 0ms},
        {"the second retry waits a quarter second", 1, failedWith(Failure::CutOff), 250ms},
        {"the third waits a second", 2, failedWith(Failure::CutOff), 1000ms},
        {"there is no fourth", 3, failedWith(Failure::CutOff), std::nullopt},
        {"a 503 without Retry-After follows the same steps", 1, status(503), 250ms},
        {"Retry-After is honoured", 0, status(503, 2), 2000ms},
        {"Retry-After 0 is at once", 2, status(503, 0), 0ms},
        {"an hour is capped at ten seconds", 0, status(503, 3600), 10000ms},
        {"Retry-After leaves the number of tries alone", 3, status(503, 1), std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(retryPause(row.retry, row.answer), row.pause);
    }
}

TEST(RetryPolicy, TriesUntilAnAnswerOrTheServerStops) {
    struct Row {
        const char* why;
        HttpResult first;
        std::vector<HttpResult> next;  // what each try again gets, in turn
        std::size_t tries;             // how many tries again were made
        TriesEnd end;
        long status;  // of the answer kept
    };
    const HttpResult reset = failedWith(Failure::CutOff, true);
    const HttpResult quiet = failedWith(Failure::TimedOut);
    const Row rows[] = {
        {"a success is no try again", status(200), {}, 0, TriesEnd::Answered, 200},
        {"one reset, then the answer", reset, {status(200)}, 1, TriesEnd::Answered, 200},
        {"three resets, then the answer", reset, {reset, reset, status(200)}, 3, TriesEnd::Answered, 200},
        {"four resets: the last failure is kept", reset, {reset, reset, reset}, 3, TriesEnd::Answered, 0},
        {"a 404 on the way ends the tries", reset, {status(404)}, 1, TriesEnd::Answered, 404},
        {"a stall is tried once more", quiet, {status(200)}, 1, TriesEnd::Answered, 200},
        {"two stalls: the server stopped", quiet, {quiet}, 1, TriesEnd::ServerStopped, 0},
        {"a stalled body, then nothing: stopped",
         failedWith(Failure::TimedOut, true),
         {quiet},
         1,
         TriesEnd::ServerStopped,
         0},
        {"a stall, a reset, a stall: stopped", quiet, {reset, quiet}, 2, TriesEnd::ServerStopped, 0},
        {"refused to the last try: the server went away",
         reset,
         {failedWith(Failure::NoConnection), failedWith(Failure::NoConnection), failedWith(Failure::NoConnection)},
         3,
         TriesEnd::ServerStopped,
         0},
        {"too slow twice: the server drips",
         failedWith(Failure::TooSlow, true),
         {failedWith(Failure::TooSlow, true)},
         1,
         TriesEnd::ServerStopped,
         0},
        {"too slow, then whole", failedWith(Failure::TooSlow, true), {status(200)}, 1, TriesEnd::Answered, 200},
        {"refused, then an answer: a restart",
         reset,
         {failedWith(Failure::NoConnection), status(200)},
         2,
         TriesEnd::Answered,
         200},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        std::size_t made = 0;
        std::vector<std::chrono::milliseconds> pauses;
        FaultRun run;
        const TriedAnswer tried = retried(
            row.first, [&] { return row.next.at(made++); }, ServerReached::Yes,
            [&](std::chrono::milliseconds pause) { pauses.push_back(pause); }, run);
        EXPECT_EQ(made, row.tries);
        EXPECT_EQ(pauses.size(), row.tries) << "a pause before each try again";
        EXPECT_EQ(tried.end, row.end);
        EXPECT_EQ(tried.answer.status, row.status);
    }
}

TEST(RetryPolicy, RunsOfSpoiltOrBusyAnswersAcrossRequestsStopTheServer) {
    const HttpResult cut = failedWith(Failure::CutOff, true);
    struct Row {
        const char* why;
        std::vector<HttpResult> requests;  // each request's answer, to every try
        std::size_t stoppedAt;             // the request that ended in ServerStopped; size: none did
        StopCause cause;
        std::chrono::milliseconds waited;  // all pauses together
    };
    const Row rows[] = {
        {"five cut to the last try", std::vector<HttpResult>(6, cut), 4, StopCause::Spoiling, 5 * 1250ms},
        {"a whole answer breaks the row",
         {cut, cut, cut, cut, status(200), cut, cut, cut, cut},
         9,
         StopCause::Spoiling,
         8 * 1250ms},
        {"503 with Retry-After 10: 30 s of waits, then stop", std::vector<HttpResult>(3, status(503, 10)), 1,
         StopCause::Busy, 30s},
        {"a 404 between ends the row of 503s",
         {status(503, 10), status(404), status(503, 10)},
         3,
         StopCause::Busy,
         60s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        FaultRun run;
        std::chrono::milliseconds waited{0};
        std::size_t stoppedAt = row.requests.size();
        for (std::size_t r = 0; r < row.requests.size() && stoppedAt == row.requests.size(); ++r) {
            const TriedAnswer tried = retried(
                row.requests[r], [&] { return row.requests[r]; }, ServerReached::Yes,
                [&](std::chrono::milliseconds pause) { waited += pause; }, run);
            if (tried.end == TriesEnd::ServerStopped) {
                stoppedAt = r;
                EXPECT_EQ(tried.cause, row.cause);
            }
        }
        EXPECT_EQ(stoppedAt, row.stoppedAt);
        EXPECT_EQ(waited, row.waited);
    }
}
