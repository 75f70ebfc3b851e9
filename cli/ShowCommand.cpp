#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitOutcome.h"
#include "cli/ExitStatus.h"
#include "cli/ListField.h"

int showCommand(const ContactFolder& folder, const std::string& field) {
    const std::string file = fromListField(field);
    const modWININET::HttpResult answer = folder.get(file);
    const Verdict verdict = judgeRequest(answer);
    if (verdict.outcome != Outcome::Done) {
        return reportRequest(folder, verdict, "contact " + inQuotes(file));
    }
    writeData(answer.body);
    return exitDone;
}
