// How an answer is judged, and what the window makes of each outcome: the two tables a person
// meets when something goes wrong.

#include "contacts/Outcome.h"
#include "contacts/WindowOutcome.h"
#include "tests/support/MadeAnswers.h"
#include "tests/support/ScreenRecorder.h"

#include <gtest/gtest.h>

using made::answered;
using made::failedWith;
using modWININET::Failure;
using modWININET::HttpResult;

TEST(Outcome, ARequestFailsAloneOnceTheServerWasReachedAndAListingNeedsItsResponses) {
    struct Row {
        const char* why;
        HttpResult answer;
        Outcome request;
        Outcome listing;
    };
    const Row rows[] = {
        {"a success with responses", answered(207, "<D:response>"), Outcome::Done, Outcome::Done},
        {"a success without is no folder", answered(200, "<d:response/>"), Outcome::Done, Outcome::NoContactFolder},
        {"401", answered(401), Outcome::Unauthorized, Outcome::Unauthorized},
        {"403", answered(403), Outcome::Forbidden, Outcome::Forbidden},
        {"404 fails that request", answered(404), Outcome::SomeFailed, Outcome::NoContactFolder},
        {"a 503 left after the tries", answered(503), Outcome::SomeFailed, Outcome::NoContactFolder},
        {"a 401 cut off is no refusal", failedWith(Failure::CutOff, true, 401), Outcome::SomeFailed,
         Outcome::NoContactFolder},
        {"cut off mid-answer", failedWith(Failure::CutOff, true, 200), Outcome::SomeFailed, Outcome::NoContactFolder},
        {"reset before a byte: a connection was taken", failedWith(Failure::CutOff, false), Outcome::SomeFailed,
         Outcome::NoContactFolder},
        {"stalled after the header", failedWith(Failure::TimedOut, true, 200), Outcome::SomeFailed,
         Outcome::NoContactFolder},
        {"not one byte in time", failedWith(Failure::TimedOut, false), Outcome::Unreachable, Outcome::Unreachable},
        {"too big", failedWith(Failure::TooBig, true, 200), Outcome::SomeFailed, Outcome::NoContactFolder},
        {"no HTTP", failedWith(Failure::NotHttp, true), Outcome::SomeFailed, Outcome::NoContactFolder},
        {"connection refused", failedWith(Failure::NoConnection, false), Outcome::Unreachable, Outcome::Unreachable},
        {"a server text that cannot be sent", failedWith(Failure::InvalidServer, false), Outcome::Unreachable,
         Outcome::Unreachable},
        {"a refused certificate", failedWith(Failure::Certificate, false), Outcome::SecureConnectionRefused,
         Outcome::SecureConnectionRefused},
        {"a failed handshake", failedWith(Failure::TlsHandshake, false), Outcome::SecureConnectionRefused,
         Outcome::SecureConnectionRefused},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(judgeRequest(row.answer).outcome, row.request);
        const Verdict listing = judgeListing(row.answer);
        EXPECT_EQ(listing.outcome, row.listing);
        EXPECT_EQ(listing.answer.status, row.answer.status);
        EXPECT_EQ(listing.answer.reason, row.answer.reason) << "the message names the reason";
        EXPECT_TRUE(listing.answer.body.empty()) << "a listing's body is not carried on";
    }
}

TEST(Outcome, AWriteThatWentOutWholeAndGotNoAnswerMayHaveBeenStored) {
    const auto sent = [](HttpResult answer, bool whole) {
        answer.connected = true;
        answer.requestSent = whole;
        return answer;
    };
    struct Row {
        const char* why;
        const char* verb;
        HttpResult answer;
        Outcome outcome;
    };
    const Row rows[] = {
        {"stored, never answered", "POST", sent(failedWith(Failure::TimedOut), true), Outcome::MayHaveBeenStored},
        {"cut before the status", "POST", sent(failedWith(Failure::CutOff), true), Outcome::MayHaveBeenStored},
        {"a PUT alike", "PUT", sent(failedWith(Failure::TimedOut), true), Outcome::MayHaveBeenStored},
        {"a DELETE alike", "DELETE", sent(failedWith(Failure::CutOff, true), true), Outcome::MayHaveBeenStored},
        {"a 201 whose body was cut is done", "POST", sent(failedWith(Failure::CutOff, true, 201), true), Outcome::Done},
        {"a 500 whose body was cut failed", "POST", sent(failedWith(Failure::CutOff, true, 500), true),
         Outcome::SomeFailed},
        {"the body never went out whole: not stored", "POST", sent(failedWith(Failure::TimedOut), false),
         Outcome::Unreachable},
        {"no connection: nothing went out", "POST", failedWith(Failure::NoConnection), Outcome::Unreachable},
        {"a GET stores nothing", "GET", sent(failedWith(Failure::TimedOut), true), Outcome::Unreachable},
        {"a PROPFIND neither", "PROPFIND", sent(failedWith(Failure::CutOff), true), Outcome::SomeFailed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(judgeRequest(row.verb, row.answer).outcome, row.outcome);
    }
}

TEST(WindowOutcome, EachOutcomeHasOneMessageAndOneResult) {
    const LoginState login{u"mail.example.com", 8443, u"Basic x"};
    Verdict refused = judgeRequest(failedWith(Failure::Certificate, false));
    refused.answer.reason = "not issued by an authority this computer trusts";
    refused.answer.certificate = modWININET::PeerCertificate{"AB:CD", {}, {}};
    const auto stopped = [](StopCause cause) {
        return Verdict{Outcome::ServerStopped, {}, 3, 10, cause};
    };
    const std::u16string title = u"Velqor Personal Contact Manager";
    const std::u16string noFolder =
        u"Server does not seem to support remote contact administration or does not have any contact "
        u"defined. You may have also specified an invalid password.";
    struct Row {
        const char* why;
        Verdict verdict;
        std::vector<Message> messages;
        ListingResult result;
    };
    const Row rows[] = {
        {"done says nothing", {Outcome::Done, {}}, {}, ListingResult::Listed},
        {"401 asks for the login again",
         {Outcome::Unauthorized, {}},
         {{u"Authentication Error: Please check credentials.", MessageStyle::Plain, u""}},
         ListingResult::Rejected},
        {"403 too",
         {Outcome::Forbidden, {}},
         {{u"Communications Failure: Unable to connect to remote host.", MessageStyle::Plain, u""}},
         ListingResult::Rejected},
        {"a refused peer too, with its reason and fingerprint",
         refused,
         {{u"The secure connection to mail.example.com on port 8443 was refused: not issued by an authority this "
           u"computer trusts.\n\nThe server's certificate has the SHA-256 fingerprint\nAB:CD",
           MessageStyle::Information, title}},
         ListingResult::Rejected},
        {"no folder ends the program",
         {Outcome::NoContactFolder, {}},
         {{noFolder, MessageStyle::Plain, u""}},
         ListingResult::ProgramEnded},
        {"no server alike",
         {Outcome::Unreachable, {}},
         {{noFolder, MessageStyle::Plain, u""}},
         ListingResult::ProgramEnded},
        {"a stopped server keeps the lines and says how many",
         stopped(StopCause::Silent),
         {{u"The server mail.example.com on port 8443 stopped answering. 3 of 10 contacts were listed. Refresh "
           u"tries again.",
           MessageStyle::Information, title}},
         ListingResult::Listed},
        {"a server that drips",
         stopped(StopCause::Slow),
         {{u"The server mail.example.com on port 8443 answered too slowly. 3 of 10 contacts were listed. Refresh "
           u"tries again.",
           MessageStyle::Information, title}},
         ListingResult::Listed},
        {"a server that spoils",
         stopped(StopCause::Spoiling),
         {{u"The server mail.example.com on port 8443 spoilt five answers in a row. 3 of 10 contacts were listed. "
           u"Refresh tries again.",
           MessageStyle::Information, title}},
         ListingResult::Listed},
        {"a server that stays busy",
         stopped(StopCause::Busy),
         {{u"The server mail.example.com on port 8443 stayed busy for more than 30 seconds. 3 of 10 contacts were "
           u"listed. Refresh tries again.",
           MessageStyle::Information, title}},
         ListingResult::Listed},
        {"a write that may have been done: its operation lists again",
         {Outcome::MayHaveBeenStored, {}},
         {},
         ListingResult::Listed},
        {"a failed contact has its line without a name already", {Outcome::SomeFailed, {}}, {}, ListingResult::Listed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ScreenRecorder screen;
        EXPECT_EQ(showOutcome(screen, login, row.verdict), row.result);
        EXPECT_EQ(screen.messages, row.messages);
        EXPECT_TRUE(screen.lines.empty() && screen.clears == 0) << "the list is the listing's to change";
    }
}
