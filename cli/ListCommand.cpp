#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ContactFetch.h"
#include "cli/ContactFileText.h"
#include "cli/ExitStatus.h"
#include "cli/FolderListing.h"
#include "cli/ListField.h"
#include "codec/Utf8.h"
#include "contacts/DisplayLine.h"
#include "contacts/VCardName.h"

namespace {

// The name the window shows before " [file]".
std::u16string windowName(const std::optional<std::string>& vcard) {
    return displayName(vcard ? vcardName(std::string_view(*vcard)) : std::u16string());
}

}  // namespace

int listCommand(const ContactFolder& folder) {
    std::variant<std::vector<std::u16string>, int> listing = listFolder(folder);
    if (const int* status = std::get_if<int>(&listing)) {
        return *status;
    }
    const std::vector<std::u16string>& files = std::get<std::vector<std::u16string>>(listing);
    const std::size_t failed = fetchContacts(folder, files, [&](std::size_t i, std::optional<std::string>&& vcard) {
        writeData(listField(utf8::encode(windowName(vcard))) + '\t' + listField(contactFileBytes(files[i])) + '\n');
        return true;
    });
    return failed == 0 ? exitDone : exitSomeFailed;
}
