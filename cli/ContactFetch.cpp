#include "cli/ContactFetch.h"

#include "cli/Console.h"
#include "cli/ExitOutcome.h"
#include "codec/Utf8.h"
#include "contacts/FolderListing.h"
#include "contacts/RefusalText.h"

Verdict fetchContacts(const ContactFolder& folder, const std::vector<std::string>& files,
                      const std::function<void(std::size_t, std::optional<std::string>&&)>& deliver) {
    Progress progress(files.size());
    Verdict verdict = fetchFolder(folder, files, [&](std::size_t i, modWININET::HttpResult&& answer) {
        progress.show(i + 1);
        std::optional<std::string> bytes;
        if (answer.succeeded()) {
            bytes = std::move(answer.body);
        } else {
            tell("contact " + inQuotes(files[i]) + ": " + failureText(answer));
        }
        deliver(i, std::move(bytes));
    });
    if (verdict.outcome == Outcome::ServerStopped) {
        tell(utf8::encode(serverStoppedAnswering(folder.login(), verdict)) +
             " What was written stays; run the command again for the rest.");
    } else if (isRefusal(verdict.outcome)) {
        reportRequest(folder, verdict, {});
    }
    return verdict;
}
