// The one message after a delete or an undo: each kind of failure once, the contact named when one
// failed so, the count when several did.

#include "contacts/WriteReport.h"
#include "tests/support/MadeAnswers.h"

#include <gtest/gtest.h>

namespace {

DeleteResult deleted(WriteOutcome outcome, modWININET::HttpResult answer = made::answered(200)) {
    DeleteResult result;
    result.outcome = outcome;
    result.answer = std::move(answer);
    return result;
}

}  // namespace

TEST(WriteReport, NamesOneCountsSeveralAndGivesARefusalAlone) {
    const LoginState login{u"mail.example.com", 80, u"Basic x"};
    struct Row {
        const char* why;
        std::vector<DeleteResult> results;
        std::u16string message;
    };
    const Row rows[] = {
        {"all done", {deleted(WriteOutcome::Done), deleted(WriteOutcome::Done)}, u""},
        {"one changed: named by its line, marks in it kept",
         {deleted(WriteOutcome::Done), deleted(WriteOutcome::Changed)},
         u"The contact \u201c100% REASON [b.vcf]\u201d changed on the server since it was listed, so it was not "
         u"deleted. Refresh shows it."},
        {"two failed: counted, the first's reason",
         {deleted(WriteOutcome::Failed, made::answered(500)),
          deleted(WriteOutcome::LinkFailed, made::failedWith(modWININET::Failure::CutOff, true))},
         u"2 contacts could not be deleted (the first: the server answered 500). Their lines stay."},
        {"not allowed, then changed",
         {deleted(WriteOutcome::NotAllowed), deleted(WriteOutcome::Changed), deleted(WriteOutcome::Changed)},
         u"This server does not allow deleting contacts.\n\n2 contacts changed on the server since they were listed, "
         u"so they were not deleted. Refresh shows them."},
        {"a refused login says that alone",
         {deleted(WriteOutcome::Changed), deleted(WriteOutcome::Unauthorized, made::answered(401))},
         u"Authentication Error: Please check credentials."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const std::vector<std::u16string> lines{u"a [a.vcf]", u"100% REASON [b.vcf]", u"c [c.vcf]"};
        EXPECT_EQ(deleteReport(login, lines, row.results), row.message);
    }
}
