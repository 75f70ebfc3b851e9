#include "cli/ContactFetch.h"

#include "cli/Console.h"
#include "cli/ContactFileText.h"
#include "cli/FolderListing.h"
#include "codec/Utf8.h"
#include "contacts/OrderedFetch.h"
#include "contacts/RefusalText.h"

std::size_t fetchContacts(const ContactFolder& folder, const std::vector<std::u16string>& files,
                          const std::function<bool(std::size_t, std::optional<std::string>&&)>& deliver) {
    Progress progress(files.size());
    std::size_t failed = 0;
    std::size_t delivered = 0;
    const FetchEnd end = fetchInOrder(
        files.size(), [&](std::size_t i) { return folder.getOnce(files[i]); },
        [&](std::size_t i, modWININET::HttpResult&& answer) {
            progress.show(i + 1);
            std::optional<std::string> bytes;
            if (answer.succeeded()) {
                bytes = std::move(answer.body);
            } else {
                ++failed;
                tell("contact " + inQuotes(contactFileBytes(files[i])) + ": " + failureText(answer));
            }
            delivered = i + 1;
            return deliver(i, std::move(bytes));
        });
    if (end == FetchEnd::ServerStopped) {
        tell(utf8::encode(serverStoppedAnswering(folder.login(), delivered, files.size())) +
             " What was written stays; run the command again for the rest.");
        failed += files.size() - delivered;  // each contact not fetched counts as failed
    }
    return failed;
}
