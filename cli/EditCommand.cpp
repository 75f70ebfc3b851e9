#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/EditFile.h"
#include "cli/ExitOutcome.h"
#include "cli/ExitStatus.h"
#include "cli/ListField.h"
#include "codec/Utf8.h"
#include "contacts/ContactSave.h"
#include "contacts/VCardCards.h"

namespace {

int keptBecause(PrivateFile& edited, const std::string& why, int status) {
    edited.keep();
    tell(why + "; the edited text is kept in " + edited.path().string());
    return status;
}

int exitStatusOf(WriteOutcome write) {
    return write == WriteOutcome::Unauthorized || write == WriteOutcome::Forbidden ? exitRejected : exitSomeFailed;
}

}  // namespace

int editCommand(const ContactFolder& folder, const std::string& field) {
    const std::string file = fromListField(field);
    const std::string subject = "contact " + inQuotes(file);
    const modWININET::HttpResult answer = folder.get(file);
    const Verdict verdict = judgeRequest(answer);
    if (verdict.outcome != Outcome::Done) {
        return reportRequest(folder, verdict, subject);
    }
    PrivateFile edited(answer.body);
    const std::string editor = chosenEditor();
    if (const int status = runEditor(editor, edited.path()); status != 0) {
        return keptBecause(
            edited, "the editor \"" + editor + "\" ended with status " + std::to_string(status) + ": nothing was sent",
            exitLocalError);
    }
    const std::optional<std::string> text = edited.read();
    if (!text) {
        tell("the edited file " + edited.path().string() + " is gone: nothing was sent");
        return exitLocalError;
    }
    if (*text == answer.body) {
        tell(subject + " unchanged: nothing was sent");
        return exitDone;
    }
    if (vcardCards(*text).size() != 1) {
        return keptBecause(edited, "the edited text is not one whole vCard any more: nothing was sent", exitLocalError);
    }
    const SaveReport report = saveContact(folder, {file, answer.body, answer.etag}, *text);
    switch (report.step) {
        case SaveStep::Unchanged:
        case SaveStep::Saved:
        case SaveStep::Posted: return exitDone;
        case SaveStep::Changed:
        case SaveStep::OldKept:
        case SaveStep::Failed: break;
    }
    const std::string message = utf8::encode(saveMessage(folder.login(), report));
    return keptBecause(edited, subject + ": " + message,
                       report.step == SaveStep::Failed ? exitStatusOf(report.write) : exitSomeFailed);
}
