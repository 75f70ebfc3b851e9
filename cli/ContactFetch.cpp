#include "cli/ContactFetch.h"

#include "cli/Console.h"
#include "cli/FolderListing.h"
#include "cli/LocalError.h"
#include "codec/Utf8.h"
#include "contacts/OrderedFetch.h"

#include <exception>

std::size_t fetchContacts(const ContactFolder& folder, const std::vector<std::u16string>& files,
                          const std::function<bool(std::size_t, std::optional<std::string>&&)>& deliver) {
    Progress progress(files.size());
    std::size_t failed = 0;
    std::exception_ptr stopped;
    fetchInOrder(
        files.size(), [&](std::size_t i) { return folder.get(files[i]); },
        [&](std::size_t i, modWININET::HttpResult&& answer) {
            progress.show(i + 1);
            std::optional<std::string> bytes;
            if (answer.whole() && answer.status < 300) {
                bytes = std::move(answer.body);
            } else {
                ++failed;
                tell("contact " + quoted(utf8::encode(files[i])) + ": " + failureText(answer));
            }
            try {
                return deliver(i, std::move(bytes));
            } catch (const LocalError&) {
                stopped = std::current_exception();
                return false;
            }
        });
    if (stopped) {
        std::rethrow_exception(stopped);
    }
    return failed;
}
