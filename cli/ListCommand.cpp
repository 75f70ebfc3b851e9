#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ContactFetch.h"
#include "cli/ExitOutcome.h"
#include "cli/ListField.h"
#include "codec/Utf8.h"
#include "contacts/DisplayLine.h"
#include "contacts/FolderListing.h"
#include "contacts/VCardName.h"

namespace {

// The name the window shows before " [file]".
std::u16string windowName(const std::optional<std::string>& vcard) {
    return displayName(vcard ? vcardName(std::string_view(*vcard)) : std::u16string());
}

}  // namespace

int listCommand(const ContactFolder& folder) {
    const FolderListing listing = listFolder(folder);
    if (listing.verdict.outcome != Outcome::Done) {
        return reportListing(folder, listing.verdict);
    }
    const std::vector<std::string>& files = listing.files;
    const Verdict fetched = fetchContacts(folder, files, [&](std::size_t i, std::optional<std::string>&& vcard) {
        writeData(listField(utf8::encode(windowName(vcard))) + '\t' + listField(files[i]) + '\n');
    });
    return exitStatusOf(fetched.outcome);
}
