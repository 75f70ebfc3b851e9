// The command line's end for each outcome: the status the manual page gives it, and the words on
// standard error for a failed listing and a failed request.

#include "cli/ExitOutcome.h"
#include "tests/support/MadeAnswers.h"
#include "tests/support/SourceTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

using made::answered;
using made::failedWith;
using modWININET::Failure;
using modWININET::HttpResult;

// The manual page's paragraph for an exit status, with its line breaks as blanks.
std::string manualOn(int status) {
    std::ifstream page(sourceDir() / "cli/vqcontacts.1");
    std::stringstream whole;
    whole << page.rdbuf();
    const std::string text = whole.str();
    const std::size_t section = text.find(".SH EXIT STATUS");
    const std::size_t start = text.find(".B " + std::to_string(status) + "\n", section);
    if (section == std::string::npos || start == std::string::npos) {
        return {};
    }
    std::string paragraph = text.substr(start, text.find(".TP", start) - start);
    std::replace(paragraph.begin(), paragraph.end(), '\n', ' ');
    return paragraph;
}

}  // namespace

TEST(ExitOutcome, EachOutcomeEndsWithTheStatusTheManualGivesIt) {
    struct Row {
        Outcome outcome;
        int status;
        const char* manual;  // words of the manual's paragraph for that status
    };
    const Row rows[] = {
        {Outcome::Done, 0, "Everything was done."},
        {Outcome::Unauthorized, 2, "refused the user name or password (HTTP 401 or 403)"},
        {Outcome::Forbidden, 2, "refused the user name or password (HTTP 401 or 403)"},
        {Outcome::SecureConnectionRefused, 3, "its TLS certificate was refused"},
        {Outcome::NoContactFolder, 3, "is not a contact folder"},
        {Outcome::Unreachable, 3, "the server could not be reached"},
        {Outcome::ServerStopped, 4, "server stopped answering before every contact was fetched"},
        {Outcome::SomeFailed, 4, "a request answered an error"},
        {Outcome::MayHaveBeenStored, 4, "may have been stored"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.manual);
        EXPECT_EQ(exitStatusOf(row.outcome), row.status);
        EXPECT_NE(manualOn(row.status).find(row.manual), std::string::npos) << manualOn(row.status);
    }
}

TEST(ExitOutcome, AFailedRequestIsToldWithTheWindowsWordsOrItsOwnReason) {
    const ContactFolder folder(LoginState{u"127.0.0.1", 8080, u"Basic x"});
    const std::string prefix = "vqcontacts: ";
    const std::string noFolder =
        prefix +
        "Server does not seem to support remote contact administration or does not have any contact defined. You "
        "may have also specified an invalid password.\n";
    struct Row {
        const char* why;
        HttpResult answer;
        int requestStatus;
        std::string requestErr;
        int listingStatus;
        std::string listingErr;
    };
    const Row rows[] = {
        {"a contact cut off mid-answer: the server was reached", failedWith(Failure::CutOff, true, 200), 4,
         prefix + "contact \"a.vcf\": the reason\n", 3, noFolder + prefix + "the reason\n"},
        {"not there", answered(404), 4, prefix + "contact \"a.vcf\": the server answered 404\n", 3,
         noFolder + prefix + "the server answered 404\n"},
        {"no server at all", failedWith(Failure::NoConnection, false), 3, prefix + "contact \"a.vcf\": the reason\n", 3,
         noFolder + prefix + "the reason\n"},
        {"a rejected login says only the window's words", answered(401), 2,
         prefix + "Authentication Error: Please check credentials.\n", 2,
         prefix + "Authentication Error: Please check credentials.\n"},
        {"a refused peer too", failedWith(Failure::Certificate, false), 3,
         prefix + "The secure connection to 127.0.0.1 on port 8080 was refused: the reason.\n", 3,
         prefix + "The secure connection to 127.0.0.1 on port 8080 was refused: the reason.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        testing::internal::CaptureStderr();
        EXPECT_EQ(reportRequest(folder, judgeRequest(row.answer), "contact \"a.vcf\""), row.requestStatus);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), row.requestErr);
        testing::internal::CaptureStderr();
        EXPECT_EQ(reportListing(folder, judgeListing(row.answer)), row.listingStatus);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), row.listingErr);
    }
    HttpResult unanswered = failedWith(Failure::TimedOut);
    unanswered.requestSent = true;
    testing::internal::CaptureStderr();
    EXPECT_EQ(reportRequest(folder, judgeRequest("POST", unanswered), "a.vcf, card 1"), 4);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              prefix +
                  "a.vcf, card 1 may have been stored: it went out whole, then the reason; list the folder "
                  "before sending it again\n");
}
