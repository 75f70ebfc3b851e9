#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitOutcome.h"
#include "cli/ExitStatus.h"
#include "cli/ListField.h"
#include "cli/TerminalPrompt.h"
#include "codec/AsciiText.h"
#include "contacts/DeleteContacts.h"

#include <algorithm>

namespace {

// At most this many are named in the question; a thousand names would scroll it away.
constexpr std::size_t kNamedInQuestion = 10;

std::string question(const std::vector<DeleteTarget>& targets) {
    std::string text =
        targets.size() == 1 ? "Delete the contact " : "Delete " + groupedDigits(targets.size()) + " contacts: ";
    for (std::size_t i = 0; i < std::min(targets.size(), kNamedInQuestion); ++i) {
        text += (i == 0 ? "" : ", ") + inQuotes(targets[i].file);
    }
    if (targets.size() > kNamedInQuestion) {
        text += " and " + groupedDigits(targets.size() - kNamedInQuestion) + " more";
    }
    return text + "? [y/N] ";
}

bool confirmed(const std::string& answer) {
    return ascii::equalsNoCase(ascii::trimmed(answer), "y") || ascii::equalsNoCase(ascii::trimmed(answer), "yes");
}

// What went wrong with one contact, for its line on standard error; empty when it went.
std::string failureOf(const DeleteResult& result) {
    if (result.absent) {
        return "there is no such contact";
    }
    switch (result.outcome) {
        case WriteOutcome::Done: return {};
        case WriteOutcome::Changed: return "it changed on the server while it was being deleted; it was not deleted";
        case WriteOutcome::NotAllowed:
            return "the server does not allow deleting contacts (" + std::to_string(result.answer.status) + ")";
        default: return failureText(result.answer) + "; it was not deleted";
    }
}

}  // namespace

int deleteCommand(const ContactFolder& folder, const std::vector<std::string>& fields, bool yes) {
    std::vector<DeleteTarget> targets;
    targets.reserve(fields.size());
    for (const std::string& field : fields) {
        targets.push_back({fromListField(field), std::nullopt});
    }
    if (!yes) {
        const std::optional<std::string> answer = promptLine(question(targets));
        if (!answer) {
            tell("no terminal to ask on, so nothing was deleted; --yes deletes without a question");
            return exitLocalError;
        }
        if (!confirmed(*answer)) {
            tell("nothing was deleted");
            return exitLocalError;
        }
    }
    const std::vector<DeleteResult> results = deleteContacts(folder, targets);
    std::size_t failed = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (isRefusal(results[i].outcome)) {
            // Every further contact was refused alike: told once.
            return reportRequest(folder, judgeRequest(results[i].answer), {});
        }
        if (const std::string failure = failureOf(results[i]); !failure.empty()) {
            tell("contact " + inQuotes(targets[i].file) + ": " + failure);
            ++failed;
        }
    }
    return failed == 0 ? exitDone : exitSomeFailed;
}
