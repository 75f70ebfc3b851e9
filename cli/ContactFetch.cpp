#include "cli/ContactFetch.h"

#include "cli/Console.h"
#include "cli/ContactFileText.h"
#include "cli/FolderListing.h"
#include "contacts/OrderedFetch.h"

std::size_t fetchContacts(const ContactFolder& folder, const std::vector<std::u16string>& files,
                          const std::function<bool(std::size_t, std::optional<std::string>&&)>& deliver) {
    Progress progress(files.size());
    std::size_t failed = 0;
    fetchInOrder(
        files.size(), [&](std::size_t i) { return folder.get(files[i]); },
        [&](std::size_t i, modWININET::HttpResult&& answer) {
            progress.show(i + 1);
            std::optional<std::string> bytes;
            if (answer.succeeded()) {
                bytes = std::move(answer.body);
            } else {
                ++failed;
                tell("contact " + inQuotes(contactFileBytes(files[i])) + ": " + failureText(answer));
            }
            return deliver(i, std::move(bytes));
        });
    return failed;
}
