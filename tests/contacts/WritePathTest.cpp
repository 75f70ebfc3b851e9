// How the answer to a write on one contact (a PUT or a DELETE) is judged. The writes themselves
// meet the demo server's switches in DeleteRestoreTest.cpp and Apache in ApacheDavTest.cpp.

#include "contacts/Outcome.h"
#include "tests/support/MadeAnswers.h"

#include <gtest/gtest.h>

using modWININET::Failure;

TEST(WritePath, JudgesEachWriteAnswer) {
    struct Row {
        const char* why;
        modWININET::HttpResult answer;
        WriteOutcome del;
        WriteOutcome put;
    };
    const Row rows[] = {
        {"200", made::answered(200), WriteOutcome::Done, WriteOutcome::Done},
        {"204", made::answered(204), WriteOutcome::Done, WriteOutcome::Done},
        {"a gone contact is deleted, not put", made::answered(404), WriteOutcome::Done, WriteOutcome::Failed},
        {"412", made::answered(412), WriteOutcome::Changed, WriteOutcome::Changed},
        {"405", made::answered(405), WriteOutcome::NotAllowed, WriteOutcome::NotAllowed},
        {"501", made::answered(501), WriteOutcome::NotAllowed, WriteOutcome::NotAllowed},
        {"401", made::answered(401), WriteOutcome::Unauthorized, WriteOutcome::Unauthorized},
        {"403", made::answered(403), WriteOutcome::Forbidden, WriteOutcome::Forbidden},
        {"500", made::answered(500), WriteOutcome::Failed, WriteOutcome::Failed},
        {"a 200 cut off in its body: the status says it was done", made::failedWith(Failure::CutOff, true, 200),
         WriteOutcome::Done, WriteOutcome::Done},
        {"refused", made::failedWith(Failure::NoConnection), WriteOutcome::LinkFailed, WriteOutcome::LinkFailed},
        {"certificate", made::failedWith(Failure::Certificate), WriteOutcome::SecureConnectionRefused,
         WriteOutcome::SecureConnectionRefused},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(judgeWrite(row.answer, WriteVerb::Delete), row.del);
        EXPECT_EQ(judgeWrite(row.answer, WriteVerb::Put), row.put);
    }
}
