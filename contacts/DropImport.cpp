// The drop import half of ContactClient: every dropped item that holds "VCARD" goes up whole.

#include "contacts/ContactClient.h"

#include "contacts/ContactTexts.h"
#include "contacts/ItemFile.h"

#include "codec/CodePage.h"

#include <exception>
#include <string>

// Bytes read as Windows-1252 and posted as Windows-1252 come back the same, so the server gets the
// file byte for byte. Anything that cannot be read is empty text, which the "VCARD" test refuses.
std::u16string ContactClient::itemText(const DropItem& item) const {
    if (item.payload) {
        return codepage::fromWindows1252(*item.payload);
    }
    try {
        const std::optional<std::string> bytes = readItemFile(item.file);
        return bytes ? codepage::fromWindows1252(*bytes) : std::u16string();
    } catch (const std::exception&) {  // out of memory for a large file: this item only fails
        return {};
    }
}

void ContactClient::Form_OLEDragDrop(const std::optional<std::vector<DropItem>>& items) {
    using namespace contacttext;
    const std::u16string title(dropTitle);
    if (!items) {
        m_screen.showMessage(std::u16string(invalidDrop), MessageStyle::Information, title);
        return;
    }
    const std::string count = std::to_string(items->size());
    m_screen.showMessage(u"Abount to Post " + std::u16string(count.begin(), count.end()) + u" Contacts to Server",
                         MessageStyle::Information, title);
    for (const DropItem& item : *items) {
        const std::u16string text = itemText(item);
        if (text.find(u"VCARD") != std::u16string::npos) {
            PostContact(text);
        } else {
            m_screen.showMessage(std::u16string(notVcard), MessageStyle::Information, title);
        }
    }
    m_screen.clearList();
    ListContacts();
}
