#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ContactFetch.h"
#include "cli/ContactFileText.h"
#include "cli/ExitStatus.h"
#include "cli/FolderListing.h"
#include "cli/ListField.h"
#include "codec/Utf8.h"
#include "contacts/ContactTexts.h"
#include "contacts/VCardName.h"

#include <algorithm>

namespace {

// The name the window shows before " [file]": its brackets turned into parentheses.
std::u16string windowName(const std::optional<std::string>& vcard) {
    std::u16string name = vcard ? vcardName(std::string_view(*vcard)) : std::u16string();
    std::replace(name.begin(), name.end(), contacttext::fileOpen.front(), u'(');
    std::replace(name.begin(), name.end(), contacttext::fileClose.front(), u')');
    return name;
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
